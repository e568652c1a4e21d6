#pragma once
// What kind of graphics file a name refers to, from its first 128 bytes, and a
// few facts about it: width, height, a colour count and one format-dependent
// value.  The image routines use the type codes as file kinds.

#include <cstdint>
#include <span>
#include <string_view>

enum GraphicsFileType : std::int32_t {
  kFileMissing = -1,
  kFileUnknown = 0,
  kFileBmp = 1,
  kFilePcx = 2,
  kFileWindowsMetafile = 3,
  kFileHpgl = 4,
  kFileHpgl2 = 5,
  kFileCgm = 6,
  kFileLotusPic = 7,
  kFileDraw = 8,
  kFileTektronix = 9,
  kFilePostScript = 10,
  kFilePcl = 11,
  kFileEscpReset = 12,
  kFileEscpUnidirectional = 13,
  kFileDxf = 14,
  kFilePng = 15,
  kFileSvg = 16,
};

// The inquiry's array: entry 1 type, 2 width, 3 height, 4 colour count, 5 a
// format-dependent value, 6 pages.  info[0] is entry 1.
constexpr int kFileInfoEntries = 6;
constexpr int kFileInfoHeadBytes = 128;

// Fills the first `entries` entries (at least 1, at most 6 and the array's size).
void YYGrFileInfo(std::string_view fileName, std::span<std::int32_t> info, int entries);

// The type and facts of a file's first bytes (up to 128), as the inquiry finds
// them before any text scan; facts[0..4] are entries 2 to 6.
std::int32_t graphicsFileTypeOfHead(std::span<const std::uint8_t> head);

// Counts the pages of an HP-GL or HP-GL/2 plot: at least 1 when it could be read.
void YYCNTHPG(std::string_view fileName, std::int32_t& pages);

// Scans a binary CGM file: the number of pictures (END PICTURE elements, at
// least 1) and the aspect (width / height) of its MAXIMUM VDC EXTENT, else of
// its last VDC EXTENT, else 1.  A zero height gives 1.  The first nameLength
// characters of fileName name the file.  Errors 1 (open) and 2 (a read cut
// short, the file ending without END METAFILE) are reported under "YYINFOCGM";
// after an open failure the results are left alone.
void YYINFOCGM(std::string_view fileName, int nameLength, std::int32_t& pictures, float& aspect);

// Counts the pictures of a Lotus PIC graph file (at least 1).  A header shorter
// than 17 bytes reports error 2 and leaves the count as given (0 becomes 1).
void YYCNTPIC(std::string_view fileName, int nameLength, std::int32_t& pictures);

// The integer at a 1-based byte position of a CGM parameter list: a signed
// 16-bit value for precision 16, else the 32-bit value there; big-endian.
// Bytes beyond the list count as 0.
std::int32_t YYCgmGetInt(std::span<const std::uint8_t> parameters, int position, int precision);
// The IEEE single-precision value of the four bytes at the position.
float YYCgmGetReal(std::span<const std::uint8_t> parameters, int position);
