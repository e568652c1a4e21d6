#pragma once
// Printer command streams made from the page bitmap: PCL raster rows, ESC/P2
// raster lines and ESC/P bit-image bands for 8- and 24-pin printers.  The
// command strings of a page are built once; the dump walks the page and hands
// each piece of the stream to a byte sink.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// The command strings and page values of one printed page.
struct YYPrinterCommands {
  std::array<std::string, 4> colourSelects;  // ESC r 4, 1, 2, 0: planes 2, 1, 0 and the black pass
  std::array<std::string, 2> passSpacings;   // ESC 3 1 and ESC 3 (line spacing - 1)
  std::string lineAdvance;                   // ESC/P2 only
  std::array<std::string, 3> headers;        // 0: last (or only) plane; 1, 2: earlier PCL planes
  std::string trailer;
  std::string init;
  std::int32_t widthDots = 0;
  std::int32_t rows = 0;
  std::int32_t lastRow = -1;
  std::int32_t planesToSend = 1;
  std::int32_t compression = 0;  // 0 none, 1 run-length, 2 packed
  std::int32_t passes = 1;       // 2 for interleaved dot-matrix printing
  std::int32_t leadingBytes = 0;
  std::int32_t currentPlane = 0;  // -1: the black pass
};
extern YYPrinterCommands yyPrinterCommands;

// Builds the command strings for a page of width dots across and height rows
// down, for the printer of the raster device record and the options.  A width
// of 0 or less lays out a screen dump of the viewport on the dump settings'
// page instead.
void YYPclRaster(std::int32_t width, std::int32_t height);

// Dots per inch down the paper of one pass at a horizontal resolution: the
// printer's own from type 6 on, else the pins' spacing.
float printerPassResolution(std::int32_t horizontal);

// Whether the dot at printer position (x, row) prints, in the current plane.
using YYFetchRoutine = bool (*)(std::int32_t x, std::int32_t row);
// Takes one piece of the stream; false when it could not be written.
using PrinterSink = std::function<bool(std::string_view)>;

// Writes the page through the sink: init, rows or bands, trailer.  Stops at the
// first piece the sink refuses, without the trailer.  False when the printer
// has no resolutions (nothing written) or the sink refused.
bool printerPageStream(YYFetchRoutine fetch, const PrinterSink& sink);

// Writes the page on a plot output unit; a failed write ends the page at once,
// without the trailer.  False when nothing or not all of it was written.
bool YYDUMP(const std::int32_t& unit, YYFetchRoutine fetch);

// The fetch routine of the printer type, the planes and the orientation.
YYFetchRoutine printerFetchRoutine();

// PCL: compresses the bytes in place by the page's method and puts the count
// into header k, shortened to its digits.
void YYPclCompressRow(std::string& bytes, int header);
// ESC/P2: packs the bytes when that is shorter; answers the compression byte.
int YYPackRow(std::string& bytes);
// Dot-matrix: the column count of a line of b data bytes into header 0.
void YYSetColumnCount(std::int32_t bytes);

// The packed coding shared by PCL method 2 and ESC/P2: repeat groups (1 - n, byte)
// of 2-128 equal bytes and literal groups (n - 1, n bytes) of up to 128.
std::string packBits(std::string_view bytes);
