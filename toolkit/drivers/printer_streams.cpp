// Printer command streams of the raster printer: the command strings of one
// page and the walk over the page that packs dots into bytes, compresses them
// where the printer allows and hands commands and data to a sink.

#include "toolkit/drivers/printer_streams.h"

#include <algorithm>
#include <cmath>

#include "toolkit/core/error_reporter.h"
#include "toolkit/core/number_format.h"
#include "toolkit/drivers/hardcopy_setup.h"
#include "toolkit/drivers/plot_output.h"
#include "toolkit/drivers/raster_internal.h"
#include "toolkit/drivers/rasteriser.h"
#include "toolkit/graphics/graphics_state.h"

YYPrinterCommands yyPrinterCommands;

namespace {

constexpr char kEsc = '\x1B';
constexpr char kFormFeed = '\x0C';
constexpr std::int32_t kMaxLeadingBytes = 39999;
constexpr std::size_t kMaxLineBytes = 40000;
constexpr int kResetAtEnd = 1;    // reset flags (option 19)
constexpr int kResetAtStart = 2;
constexpr int kClassRgb = 1;
constexpr int kClassCmy = 2;

enum class Family { kDotMatrix, kEscP2, kPcl };

Family familyOf(int printerType) {
  if (printerType >= 7) return Family::kPcl;
  if (printerType == 6) return Family::kEscP2;
  return Family::kDotMatrix;
}

std::string esc(std::string_view rest) {
  std::string out(1, kEsc);
  out.append(rest);
  return out;
}
char byteOf(std::int64_t value) { return static_cast<char>(value & 0xFF); }
std::string lowHigh(std::int64_t value) { return {byteOf(value), byteOf(value >> 8)}; }

// A decimal field of at least `width` digits with leading zeros; a value that
// needs more digits is written at its natural width instead of asterisks, so
// that the printer always reads a number.
std::string digitsField(std::int64_t value, int width) {
  const int natural = static_cast<int>(std::to_string(std::max<std::int64_t>(value, 0)).size());
  const int w = std::max(width, natural);
  return formatI(value, w, w);
}

// The count of a PCL row: the (I3) field with its leading blanks removed.
std::string countField(std::int64_t value) {
  std::string text = digitsField(value, 1);
  return text.size() < 3 ? formatI(value, 3).substr(3 - text.size()) : text;
}

// What a page layout takes from the options (a page) or from the dump
// settings (a screen dump).
struct PageSettings {
  std::int32_t res = 0;
  std::int32_t ho = 0, vo = 0;  // offsets in points, across and down the paper
  int flags = 0;                // reset flags
  std::int32_t copies = 1;
  std::int32_t printMode = 0;   // PCL print-mode switch
};

std::int32_t resolution() {
  const YYRasterDevice& d = yyRasterDevice;
  if (d.resolutionCount <= 0) return 0;
  const int index = std::clamp(yyGrState.RasterResolution, 1, d.resolutionCount);
  return d.resolutions[static_cast<std::size_t>(index - 1)];
}

void pclLayout(YYPrinterCommands& c, const PageSettings& p) {
  const auto [res, ho, vo, flags, copies, printMode] = p;
  const YYRasterDevice& d = yyRasterDevice;
  const std::int64_t bytesPerLine = (static_cast<std::int64_t>(c.widthDots) + 7) / 8;
  c.headers[0] = esc("*b") + digitsField(bytesPerLine, 3) + "W";
  c.headers[1] = esc("*b") + digitsField(bytesPerLine, 3) + "V";
  c.headers[2] = c.headers[1];
  std::string& init = c.init;
  if (flags & kResetAtStart) init += esc("E");
  init += esc("&a") + digitsField(std::max(0, 10 * ho), 4) + "h" + digitsField(std::max(0, 10 * vo), 4) + "V";
  init += esc("*t") + digitsField(res, 3) + "R";
  init += esc("*r");
  if (d.deviceCode > 11) init += digitsField(8 * bytesPerLine, 4) + "s";
  if (d.devicePlanes > 1) {
    if (d.deviceClass == kClassCmy) init += "-";
    init += std::to_string(c.planesToSend) + "u";
  }
  init += "1A";
  if ((d.printerType == 9 || d.printerType == 10) && printMode != 0) init += esc("&k3W");
  if (c.compression != 0) init += esc("*b") + std::to_string(c.compression) + "M";
  if (d.printerType == 7 || d.deviceCode == 32) c.trailer += esc("&l") + digitsField(copies, 2) + "X";
  c.trailer += esc("*rB");
  if (flags & kResetAtEnd) c.trailer += esc("E");
}

void escP2Layout(YYPrinterCommands& c, const PageSettings& p) {
  const auto [res, ho, vo, flags, copies, printMode] = p;
  const char u = byteOf(res > 0 ? 3600 / res : 0);
  const std::int64_t hd = raster::truncate(static_cast<double>(res) * ho / 72.0);
  const std::int64_t vd = raster::truncate(static_cast<double>(res) * vo / 72.0);
  c.init = esc("@") + esc("(G") + std::string{1, 0, 1} + esc("(U") + std::string{1, 0, u} + esc("(V") +
           std::string{2, 0} + lowHigh(vd);
  c.headers[0] = esc("\\") + lowHigh(hd) + esc(".") + std::string{0, u, u, 1, 0, 0};
  c.lineAdvance = esc("(v") + std::string{2, 0, 1, 0};
  c.trailer = esc("@");
  if (flags & kResetAtEnd) c.trailer += kFormFeed;
}

void dotMatrixLayout(YYPrinterCommands& c, const PageSettings& p) {
  const auto [res, ho, vo, flags, copies, printMode] = p;
  const YYRasterDevice& d = yyRasterDevice;
  const int type = d.printerType;
  const std::int64_t hd = raster::truncate(static_cast<double>(res) * ho / 72.0);
  const std::int32_t advance = raster::truncate(std::min(255.0, vo * (type == 5 ? 2.5 : 3.0)));
  const std::int64_t columns = c.widthDots + hd;
  if (type == 4) {
    const char m = res == 60 ? 8 : res == 120 ? 9 : res == 180 ? 11 : 12;
    c.headers[0] = esc("[g") + lowHigh(3 * columns + 1) + std::string(1, m);
  } else if (type == 5) {
    const char m = res == 90 ? 38 : res == 120 ? 33 : res == 180 ? 39 : 40;
    c.headers[0] = esc("*") + std::string(1, m) + lowHigh(columns);
  } else if (res == 60 || (type == 3 && res == 80)) {
    c.headers[0] = esc("K") + lowHigh(columns);
  } else if (res == 80) {
    c.headers[0] = esc("*") + std::string(1, 4) + lowHigh(columns);
  } else if (res == 90) {
    c.headers[0] = esc("*") + std::string(1, 6) + lowHigh(columns);
  } else {
    c.headers[0] = esc(res == 240 ? "Z" : "L") + lowHigh(columns);
  }
  const std::int64_t leading = d.pinsPerPass == 24 ? 3 * hd : hd;
  c.leadingBytes = static_cast<std::int32_t>(std::clamp<std::int64_t>(leading, 0, kMaxLeadingBytes));
  c.init = esc("U") + std::string(1, 1);
  if (advance > 0) c.init += esc("J") + std::string(1, byteOf(advance));
  if (c.passes == 1) c.init += esc("3") + std::string(1, byteOf(d.lineSpacingCode));
  c.passSpacings = {esc("3") + std::string(1, 1), esc("3") + std::string(1, byteOf(d.lineSpacingCode - 1))};
  c.trailer = esc("2");
  if (flags & kResetAtEnd) c.trailer += kFormFeed;
}

// --- Fetching dots ---------------------------------------------------------

bool pageBit(std::int64_t row, std::int64_t column, int plane) {
  const YYRasterPage& p = yyRasterPage;
  if (row < 0 || row > p.lastRow || column < 0 || column > p.lastColumn || p.buffer.empty()) return false;
  const std::size_t at = static_cast<std::size_t>(plane) * static_cast<std::size_t>(p.wordsPerPlane) +
                         static_cast<std::size_t>(row) * static_cast<std::size_t>(p.wordsPerRow) +
                         static_cast<std::size_t>(column / 32);
  return at < p.buffer.size() && ((p.buffer[at] >> (column % 32)) & 1u) != 0;
}

// Printer position (x, r) on the page: upright, the page's top row first; turned,
// the picture's top edge down the left side of the paper.
bool uprightBit(std::int32_t x, std::int32_t r, int plane) { return pageBit(yyRasterPage.lastRow - r, x, plane); }
bool turnedBit(std::int32_t x, std::int32_t r, int plane) {
  return pageBit(yyRasterPage.lastRow - x, yyRasterPage.lastColumn - r, plane);
}

// Colour ribbons: a plane's pass prints where that plane is set but not all
// three; the black pass prints where all three are.
template <bool (*Bit)(std::int32_t, std::int32_t, int)>
bool colourPass(std::int32_t x, std::int32_t r) {
  const bool all = Bit(x, r, 0) && Bit(x, r, 1) && Bit(x, r, 2);
  const int plane = yyPrinterCommands.currentPlane;
  return plane < 0 ? all : Bit(x, r, plane) && !all;
}

template <bool (*Bit)(std::int32_t, std::int32_t, int)>
bool currentPlane(std::int32_t x, std::int32_t r) {
  return Bit(x, r, std::max(0, yyPrinterCommands.currentPlane));
}

// --- Packing rows ------------------------------------------------------------

// The dots of a printer row, eight to a byte, the first dot in the high bit.
std::string rowBytes(YYFetchRoutine fetch, std::int32_t row) {
  const std::int32_t width = yyPrinterCommands.widthDots;
  std::string bytes(static_cast<std::size_t>((static_cast<std::int64_t>(width) + 7) / 8), '\0');
  for (std::int32_t x = 0; x < width; ++x) {
    if (fetch(x, row)) bytes[static_cast<std::size_t>(x / 8)] |= static_cast<char>(0x80 >> (x % 8));
  }
  return bytes;
}

void dropTrailingZeros(std::string& bytes, std::size_t keep = 0) {
  std::size_t n = bytes.size();
  while (n > keep && bytes[n - 1] == '\0') --n;
  bytes.resize(n);
}

std::string runLength(std::string_view bytes) {
  std::string out;
  for (std::size_t i = 0; i < bytes.size();) {
    std::size_t j = i;
    while (j < bytes.size() && j - i < 256 && bytes[j] == bytes[i]) ++j;
    out += byteOf(static_cast<std::int64_t>(j - i - 1));
    out += bytes[i];
    i = j;
  }
  return out;
}

bool pclRows(YYFetchRoutine fetch, const PrinterSink& sink) {
  YYPrinterCommands& c = yyPrinterCommands;
  const int planes = std::max(1, c.planesToSend);
  const int spare = c.widthDots % 8;
  for (std::int32_t r = 0; r < c.rows; ++r) {
    for (int p = 0; p < planes; ++p) {
      c.currentPlane = p;
      std::string bytes = rowBytes(fetch, r);
      if (yyRasterDevice.deviceClass == kClassRgb && planes > 1 && spare != 0 && !bytes.empty()) {
        bytes.back() = static_cast<char>(bytes.back() | ((1 << (8 - spare)) - 1));
      }
      const int header = p == planes - 1 ? 0 : std::min(p + 1, 2);
      if (c.compression == 0) {
        dropTrailingZeros(bytes);
        c.headers[static_cast<std::size_t>(header)] =
            esc("*b") + digitsField(static_cast<std::int64_t>(bytes.size()), 3) + (header == 0 ? "W" : "V");
      } else {
        YYPclCompressRow(bytes, header);
      }
      if (!sink(c.headers[static_cast<std::size_t>(header)]) || !sink(bytes)) return false;
    }
  }
  return true;
}

// The colour passes of a ribbon printer: one for mono, else planes 2, 1, 0 and
// the black pass, each after its colour select.
std::vector<int> colourPasses() {
  if (yyPrinterCommands.planesToSend <= 1) return {0};
  return {2, 1, 0, -1};
}

bool escP2Rows(YYFetchRoutine fetch, const PrinterSink& sink) {
  YYPrinterCommands& c = yyPrinterCommands;
  const std::vector<int> passes = colourPasses();
  for (std::int32_t r = 0; r < c.rows; ++r) {
    for (std::size_t i = 0; i < passes.size(); ++i) {
      c.currentPlane = passes[i];
      if (passes.size() > 1 && !sink(c.colourSelects[i])) return false;
      std::string bytes = rowBytes(fetch, r);
      dropTrailingZeros(bytes);
      const std::int64_t dots = 8 * static_cast<std::int64_t>(bytes.size());
      std::string& header = c.headers[0];
      header[6] = static_cast<char>(YYPackRow(bytes));
      header[10] = byteOf(dots);
      header[11] = byteOf(dots >> 8);
      if (!sink(header) || !sink(bytes) || !sink("\r")) return false;
    }
    if (!sink(c.lineAdvance)) return false;
  }
  return true;
}

bool dotMatrixRows(YYFetchRoutine fetch, const PrinterSink& sink) {
  YYPrinterCommands& c = yyPrinterCommands;
  const int pins = std::max(8, yyRasterDevice.pinsPerPass);
  const int bytesPerColumn = pins / 8;
  const std::vector<int> passes = colourPasses();
  const std::int64_t band = static_cast<std::int64_t>(pins) * c.passes;
  for (std::int64_t start = 0; start < c.rows; start += band) {
    for (int p = 0; p < c.passes; ++p) {
      if (c.passes == 2 && !sink(c.passSpacings[static_cast<std::size_t>(p)])) return false;
      for (std::size_t i = 0; i < passes.size(); ++i) {
        c.currentPlane = passes[i];
        if (passes.size() > 1 && !sink(c.colourSelects[i])) return false;
        std::string line(static_cast<std::size_t>(c.leadingBytes), '\0');
        line.reserve(line.size() + static_cast<std::size_t>(c.widthDots) * static_cast<std::size_t>(bytesPerColumn));
        for (std::int32_t x = 0; x < c.widthDots; ++x) {
          for (int j = 0; j < bytesPerColumn; ++j) {
            int byte = 0;
            for (int k = 0; k < 8; ++k) {
              const std::int64_t row = start + p + static_cast<std::int64_t>(8 * j + k) * c.passes;
              if (row <= c.lastRow && fetch(x, static_cast<std::int32_t>(row))) byte |= 0x80 >> k;
            }
            line += static_cast<char>(byte);
          }
        }
        if (line.size() <= kMaxLineBytes) {
          dropTrailingZeros(line);
          if (pins == 24) line.resize((line.size() + 2) / 3 * 3, '\0');
          YYSetColumnCount(static_cast<std::int32_t>(line.size()));
          if (!sink(c.headers[0]) || !sink(line)) return false;
        } else {
          if (!sink(c.headers[0])) return false;
          for (std::size_t at = 0; at < line.size(); at += kMaxLineBytes) {
            if (!sink(std::string_view(line).substr(at, kMaxLineBytes))) return false;
          }
        }
        if (!sink(i + 1 == passes.size() ? "\r\n" : "\r")) return false;
      }
    }
  }
  return true;
}

// A page: the resolution chosen at begin plot and the options.
PageSettings pageLayout(YYPrinterCommands& c, std::int32_t width, std::int32_t height) {
  PageSettings p;
  p.res = resolution();
  p.ho = raster::option(3);
  p.vo = raster::option(4);
  if (raster::option(5) != 0) std::swap(p.ho, p.vo);
  p.flags = raster::option(19);
  p.copies = raster::option(8);
  p.printMode = raster::option(20);
  c.passes = yyRasterDevice.printerType < 5 && p.res > 100 ? 2 : 1;
  c.planesToSend = std::max(1, yyGrState.RasterWord);
  c.compression = raster::option(24);
  c.widthDots = width;
  c.rows = std::max(0, height);
  return p;
}

// A screen dump: the dump settings' page, at the coarsest resolution that
// still holds the viewport's pixels, and never fewer dots than those.
PageSettings dumpLayout(YYPrinterCommands& c) {
  const YYRasterDevice& d = yyRasterDevice;
  const YYDumpSettings& dump = yyDumpSettings;
  const YYGrState& g = yyGrState;
  const bool turned = dump.orientation != 0;
  const std::int64_t required = std::max<std::int64_t>(
      static_cast<std::int64_t>(g.ViewportRows) * 72 / std::max(1, dump.pageHeight),
      static_cast<std::int64_t>(g.ViewportColumns) * 72 / std::max(1, dump.pageWidth)) + 1;
  const int count = std::clamp(d.resolutionCount, 0, static_cast<int>(d.resolutions.size()));
  int index = 1;
  for (int i = count; i >= 1; --i) {
    if (d.resolutions[static_cast<std::size_t>(i - 1)] >= required) {
      index = i;
      break;
    }
  }
  if (dump.resolutionLimit != 0) index = std::max(index, std::min(dump.resolutionLimit, std::max(1, count)));
  PageSettings p;
  p.res = count > 0 ? d.resolutions[static_cast<std::size_t>(index - 1)] : 0;
  const std::int32_t pageAcross = turned ? dump.pageHeight : dump.pageWidth;
  const std::int32_t pageDown = turned ? dump.pageWidth : dump.pageHeight;
  const std::int32_t viewAcross = turned ? g.ViewportRows : g.ViewportColumns;
  const std::int32_t viewDown = turned ? g.ViewportColumns : g.ViewportRows;
  const std::int32_t across = raster::truncate(static_cast<double>(p.res) * pageAcross / 72.0);
  const std::int32_t down = raster::truncate(static_cast<double>(printerPassResolution(p.res)) * pageDown / 72.0);
  c.passes = d.printerType >= 1 && d.printerType <= 4 && down < viewDown ? 2 : 1;
  c.widthDots = std::max(across, viewAcross);
  c.rows = std::max(c.passes * down, viewDown);
  p.ho = turned ? dump.offsetY : dump.offsetX;
  p.vo = turned ? dump.offsetX : dump.offsetY;
  p.copies = dump.copies;
  p.flags = dump.resetFlags;
  p.printMode = dump.compression;
  c.compression = dump.compression;
  const bool fewColours = yyGrAttributes.DeviceColourCount < (1 << std::clamp(d.devicePlanes, 0, 8));
  c.planesToSend = fewColours || dump.mono == 1 ? 1 : std::max(1, d.devicePlanes);
  return p;
}

}  // namespace

float printerPassResolution(std::int32_t horizontal) {
  const YYRasterDevice& d = yyRasterDevice;
  if (d.printerType >= 6) return static_cast<float>(horizontal);
  if (d.printerType == 5) return 180.0f;
  return static_cast<float>(d.pinsPerPass) * 216.0f / static_cast<float>(std::max(1, d.lineSpacingCode));
}

void YYPclRaster(std::int32_t width, std::int32_t height) {
  YYPrinterCommands& c = yyPrinterCommands;
  c = YYPrinterCommands{};
  c.colourSelects = {esc("r") + std::string(1, 4), esc("r") + std::string(1, 1), esc("r") + std::string(1, 2),
                     esc("r") + std::string(1, 0)};
  const PageSettings p = width > 0 ? pageLayout(c, width, height) : dumpLayout(c);
  c.lastRow = c.rows - 1;
  switch (familyOf(yyRasterDevice.printerType)) {
    case Family::kPcl: pclLayout(c, p); break;
    case Family::kEscP2: escP2Layout(c, p); break;
    case Family::kDotMatrix: dotMatrixLayout(c, p); break;
  }
}

YYFetchRoutine printerFetchRoutine() {
  const bool turned = raster::option(5) != 0;
  const bool ribbon = familyOf(yyRasterDevice.printerType) != Family::kPcl && yyPrinterCommands.planesToSend > 1;
  if (ribbon) return turned ? colourPass<turnedBit> : colourPass<uprightBit>;
  return turned ? currentPlane<turnedBit> : currentPlane<uprightBit>;
}

bool printerPageStream(YYFetchRoutine fetch, const PrinterSink& sink) {
  if (yyRasterDevice.resolutionCount <= 0) {
    YYErrorReport(5, "YYDUMP");
    return false;
  }
  const YYPrinterCommands& c = yyPrinterCommands;
  if (!c.init.empty() && !sink(c.init)) return false;
  bool written = true;
  switch (familyOf(yyRasterDevice.printerType)) {
    case Family::kPcl: written = pclRows(fetch, sink); break;
    case Family::kEscP2: written = escP2Rows(fetch, sink); break;
    case Family::kDotMatrix: written = dotMatrixRows(fetch, sink); break;
  }
  return written && sink(c.trailer);
}

bool YYDUMP(const std::int32_t& unit, YYFetchRoutine fetch) {
  return printerPageStream(fetch, [&unit](std::string_view piece) {
    if (!piece.empty()) YYPROUWriteBytes(unit, piece);
    return YYPlotOutputStatus != -1;
  });
}

std::string packBits(std::string_view bytes) {
  std::string out;
  std::size_t i = 0;
  while (i < bytes.size()) {
    std::size_t j = i;
    while (j < bytes.size() && bytes[j] == bytes[i]) ++j;
    const std::size_t run = j - i;
    if (run >= 2) {
      // A run of 129 goes as 127 + 2, so that no single byte is left over.
      const std::size_t take = run == 129 ? 127 : std::min<std::size_t>(run, 128);
      out += byteOf(1 - static_cast<std::int64_t>(take));
      out += bytes[i];
      i += take;
      continue;
    }
    const std::size_t start = i;
    while (i < bytes.size() && i - start < 128 && !(i + 1 < bytes.size() && bytes[i] == bytes[i + 1])) ++i;
    out += byteOf(static_cast<std::int64_t>(i - start) - 1);
    out.append(bytes.substr(start, i - start));
  }
  return out;
}

void YYPclCompressRow(std::string& bytes, int header) {
  YYPrinterCommands& c = yyPrinterCommands;
  bytes = c.compression == 1 ? runLength(bytes) : packBits(bytes);
  c.headers[static_cast<std::size_t>(std::clamp(header, 0, 2))] =
      esc("*b") + countField(static_cast<std::int64_t>(bytes.size())) + (header == 0 ? "W" : "V");
}

int YYPackRow(std::string& bytes) {
  std::string packed = packBits(bytes);
  if (packed.size() >= bytes.size()) return 0;
  bytes = std::move(packed);
  return 1;
}

void YYSetColumnCount(std::int32_t bytes) {
  const YYRasterDevice& d = yyRasterDevice;
  std::int64_t n = bytes;
  if (d.printerType == 4) n = static_cast<std::int64_t>(bytes) + 1;
  else if (d.pinsPerPass == 24) n = (static_cast<std::int64_t>(bytes) + 2) / 3;
  std::string& header = yyPrinterCommands.headers[0];
  const std::size_t at = header.size() == 4 ? 2 : 3;
  if (header.size() < at + 2) return;
  header[at] = byteOf(n);
  header[at + 1] = byteOf(n >> 8);
}
