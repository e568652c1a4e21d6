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
