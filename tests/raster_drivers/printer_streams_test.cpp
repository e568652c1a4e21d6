// Each stream is decoded back by a reader of the printer language written
// here (Debian has none) and compared with the page that went in, dot by dot.

#include <map>
#include <random>
#include <string>
#include <vector>

#include "raster_fixture.h"
#include "toolkit/drivers/printer_streams.h"

namespace {

constexpr char kEsc = '\x1B';

std::string esc(const std::string& rest) { return std::string(1, kEsc) + rest; }

// The dots a printer should print, per plane, in printer rows and columns.
struct Dots {
  int width = 0, rows = 0;
  std::vector<std::vector<int>> planes;  // planes[p][row * width + x]
  bool at(int plane, int x, int row) const {
    return x >= 0 && x < width && row >= 0 && row < rows && planes[static_cast<std::size_t>(plane)][static_cast<std::size_t>(row * width + x)] != 0;
  }
  // Colour ribbons: planes 2, 1, 0 print where their plane is set but not all
  // three; the black pass (-1) where all three are.
  bool ribbon(int plane, int x, int row) const {
    const bool all = at(0, x, row) && at(1, x, row) && at(2, x, row);
    return plane < 0 ? all : at(plane, x, row) && !all;
  }
};

class PrinterStreams : public RasterPageTest {
 protected:
  // A page of random dots on the printer of the code given.
  void openPrinterPage(int deviceCode, int width, int rows, int planes, unsigned seed) {
    YYHardcopyDevice(deviceCode);
    yyGrState.RasterWord = planes;
    openPage({.width = width, .rows = rows, .bitsPerPixel = planes == 3 ? 3 : 1});
    std::mt19937 random(seed);
    for (int r = 0; r < rows; ++r) {
      for (int c = 0; c < width; ++c) {
        const std::int32_t value = static_cast<std::int32_t>(random() % (planes == 3 ? 8 : 2));
        YYRasterPixel(random() % 3 == 0 ? 0 : value, c, r);
      }
    }
    hardcopyOption(8) = 1;
  }

  // The page as the printer sees it: the top row first, or turned.
  static Dots expectedDots() {
    const bool turned = hardcopyOption(5) != 0;
    Dots d;
    d.width = turned ? yyRasterPage.rows : yyRasterPage.width;
    d.rows = turned ? yyRasterPage.width : yyRasterPage.rows;
    const int planes = yyRasterPage.planesMinusOne + 1;
    d.planes.assign(static_cast<std::size_t>(planes), std::vector<int>(static_cast<std::size_t>(d.width * d.rows)));
    for (int r = 0; r < d.rows; ++r) {
      for (int x = 0; x < d.width; ++x) {
        const int column = turned ? yyRasterPage.width - 1 - r : x;
        const int row = turned ? yyRasterPage.rows - 1 - x : yyRasterPage.rows - 1 - r;
        const std::int32_t value = pixel(column, row);
        for (int p = 0; p < planes; ++p) d.planes[static_cast<std::size_t>(p)][static_cast<std::size_t>(r * d.width + x)] = (value >> p) & 1;
      }
    }
    return d;
  }

  static std::string stream() {
    const Dots d = expectedDots();
    YYPclRaster(d.width, d.rows);
    std::string out;
    EXPECT_TRUE(printerPageStream(printerFetchRoutine(), [&out](std::string_view piece) {
      out.append(piece);
      return true;
    }));
    return out;
  }
};

// --- PCL -----------------------------------------------------------------------

struct PclPage {
  std::string init;                             // everything before the first row
  std::vector<std::vector<std::string>> rows;   // the planes of each row, decompressed
  std::vector<std::string> counts;              // the count field of every row header
  std::string trailer;                          // everything after the last row
  bool ok = true;
};

std::string unpackBits(std::string_view in, std::size_t limit = std::string::npos) {
  std::string out;
  for (std::size_t i = 0; i < in.size() && out.size() < limit;) {
    const int n = static_cast<signed char>(in[i++]);
    if (n >= 0) {
      out.append(in.substr(i, static_cast<std::size_t>(n) + 1));
      i += static_cast<std::size_t>(n) + 1;
    } else if (n != -128) {
      out.append(static_cast<std::size_t>(1 - n), i < in.size() ? in[i] : '\0');
      ++i;
    }
  }
  return out;
}

std::string unpackRuns(std::string_view in) {
  std::string out;
  for (std::size_t i = 0; i + 1 < in.size(); i += 2) out.append(static_cast<std::size_t>(static_cast<unsigned char>(in[i])) + 1, in[i + 1]);
  return out;
}

// Reads PCL: two-character escapes and parameterised ones (ESC, group
// character, parameter letter, value fields chained by lower-case letters);
// ESC *b#M sets the compression, ESC *b#V and #W carry a plane of a row.
PclPage readPcl(const std::string& s) {
  PclPage page;
  int mode = 0;
  std::vector<std::string> planes;
  std::size_t i = 0;
  std::size_t firstRow = std::string::npos, afterRows = 0;
  while (i < s.size()) {
    if (s[i] != kEsc || i + 1 >= s.size()) {
      page.ok = false;
      break;
    }
    const std::size_t start = i;
    const char c1 = s[i + 1];
    if (c1 < '!' || c1 > '/') {
      i += 2;
      continue;
    }
    const char c2 = s[i + 2];
    i += 3;
    for (;;) {
      std::size_t v = i;
      while (v < s.size() && (std::isdigit(static_cast<unsigned char>(s[v])) || s[v] == '-' || s[v] == '+' || s[v] == '.')) ++v;
      const std::string field = s.substr(i, v - i);
      if (v >= s.size()) {
        page.ok = false;
        return page;
      }
      const char p = s[v];
      i = v + 1;
      const long value = field.empty() ? 0 : std::stol(field);
      if (c1 == '*' && c2 == 'b' && (p == 'W' || p == 'V')) {
        if (firstRow == std::string::npos) firstRow = start;
        page.counts.push_back(field);
        const std::string_view data(s.data() + i, static_cast<std::size_t>(value));
        i += static_cast<std::size_t>(value);
        planes.push_back(mode == 0 ? std::string(data) : mode == 1 ? unpackRuns(data) : unpackBits(data));
        if (p == 'W') {
          page.rows.push_back(planes);
          planes.clear();
          afterRows = i;
        }
      } else if (c1 == '*' && c2 == 'b' && p == 'M') {
        mode = static_cast<int>(value);
      }
      if (p >= 'A' && p <= 'Z') break;
    }
  }
  const std::size_t rowsStart = firstRow == std::string::npos ? s.size() : firstRow;
  page.init = s.substr(0, rowsStart);
  page.trailer = s.substr(std::max(afterRows, rowsStart));
  return page;
}

// The bytes of a printer row of one plane, first dot in the high bit.
std::string rowBits(const Dots& d, int plane, int row, bool spareOnes) {
  std::string bytes(static_cast<std::size_t>((d.width + 7) / 8), '\0');
  for (int x = 0; x < d.width; ++x) {
    if (d.at(plane, x, row)) bytes[static_cast<std::size_t>(x / 8)] |= static_cast<char>(0x80 >> (x % 8));
  }
  if (spareOnes && d.width % 8 != 0) bytes.back() = static_cast<char>(bytes.back() | ((1 << (8 - d.width % 8)) - 1));
  return bytes;
}

void expectPclRows(const PclPage& page, const Dots& d, int planes, bool spareOnes) {
  ASSERT_TRUE(page.ok);
  ASSERT_EQ(static_cast<int>(page.rows.size()), d.rows);
  for (int r = 0; r < d.rows; ++r) {
    ASSERT_EQ(static_cast<int>(page.rows[static_cast<std::size_t>(r)].size()), planes) << "row " << r;
    for (int p = 0; p < planes; ++p) {
      std::string got = page.rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(p)];
      const std::string want = rowBits(d, p, r, spareOnes);
      got.resize(want.size(), '\0');  // dropped trailing zeros
      EXPECT_EQ(got, want) << "row " << r << " plane " << p;
    }
  }
}

TEST_F(PrinterStreams, PclPageOfTheDefaultsIsSentTurnedWithResetsAtBothEnds) {
  openPrinterPage(10, 20, 12, 1, 1);
  hardcopyOption(3) = 100;
  hardcopyOption(4) = 70;
  hardcopyOption(5) = 1;
  hardcopyOption(19) = 3;
  yyGrState.RasterResolution = 1;
  const PclPage page = readPcl(stream());
  EXPECT_EQ(page.init, esc("E") + esc("&a0700h1000V") + esc("*t300R") + esc("*r1A"));
  EXPECT_EQ(page.trailer, esc("&l01X") + esc("*rB") + esc("E"));
  expectPclRows(page, expectedDots(), 1, false);
  for (const std::string& count : page.counts) EXPECT_EQ(count.size(), 3u);
}

TEST_F(PrinterStreams, PclCompressionModesAndColourPlanesDecodeToThePage) {
  struct Case {
    const char* what;
    int deviceCode;
    int planes;
    int compression;
    int resetFlags;
    std::string init;
    std::string trailer;
  };
  const Case cases[] = {
      {"mono, run-length", 14, 1, 1, 0, esc("&a0000h0000V") + esc("*t150R") + esc("*r0032s1A") + esc("*b1M"),
       esc("*rB")},
      {"mono, packed", 14, 1, 2, 1, esc("&a0000h0000V") + esc("*t150R") + esc("*r0032s1A") + esc("*b2M"),
       esc("*rB") + esc("E")},
      {"RGB planes", 21, 3, 2, 2, esc("E") + esc("&a0000h0000V") + esc("*t150R") + esc("*r0032s3u1A") + esc("*b2M"),
       esc("*rB")},
      {"CMY planes, no compression", 31, 3, 0, 0, esc("&a0000h0000V") + esc("*t150R") + esc("*r0032s-3u1A"),
       esc("*rB")},
      {"CMY planes with copies", 32, 3, 1, 0, esc("&a0000h0000V") + esc("*t150R") + esc("*r0032s-3u1A") + esc("*b1M"),
       esc("&l01X") + esc("*rB")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    openPrinterPage(c.deviceCode, 30, 9, c.planes, 7);
    hardcopyOption(24) = c.compression;
    hardcopyOption(19) = c.resetFlags;
    yyGrState.RasterResolution = 2;
    const PclPage page = readPcl(stream());
    EXPECT_EQ(page.init, c.init);
    EXPECT_EQ(page.trailer, c.trailer);
    expectPclRows(page, expectedDots(), c.planes, yyRasterDevice.deviceClass == 1);
    YYRasterPageFree();
  }
}

TEST_F(PrinterStreams, PclRowCountsFitTheirData) {
  // A blank row goes as a count of 000 without compression; rows over 999
  // bytes get a count of their own width, still a number.
  openPrinterPage(10, 8200, 2, 1, 3);
  send(kOpClear);
  YYRasterRun(1, 0, 0, 8199);
  yyGrState.RasterResolution = 1;
  const PclPage page = readPcl(stream());
  ASSERT_EQ(page.counts.size(), 2u);
  EXPECT_EQ(page.counts[0], "000");
  EXPECT_EQ(page.counts[1], "1025");
  expectPclRows(page, expectedDots(), 1, false);
}

TEST_F(PrinterStreams, PackedRowsSplitLongRunsAndLiterals) {
  const std::string runs = std::string(129, 'a') + std::string(1, 'b') + "cdcd" + std::string(300, 'e');
  const std::string packed = packBits(runs);
  EXPECT_EQ(unpackBits(packed), runs);
  const std::string longRunStart = {static_cast<char>(-126), 'a', static_cast<char>(-1), 'a'};
  EXPECT_EQ(packed.substr(0, 4), longRunStart);
  std::string literal;
  for (int i = 0; i < 300; ++i) literal += static_cast<char>(i * 7);
  EXPECT_EQ(unpackBits(packBits(literal)), literal);
  EXPECT_EQ(static_cast<unsigned char>(packBits(literal)[0]), 127u);
  std::string shortRow = "xyz";
  EXPECT_EQ(YYPackRow(shortRow), 0);
  EXPECT_EQ(shortRow, "xyz");
}

// --- ESC/P2 ----------------------------------------------------------------------

struct EscP2Page {
  std::string init, trailer;
  std::map<int, std::map<int, std::string>> rows;  // row -> colour select -> bytes
  bool ok = true;
};

EscP2Page readEscP2(const std::string& s) {
  EscP2Page page;
  int row = 0, colour = -1;
  std::size_t i = 0;
  bool rowsBegun = false;
  while (i < s.size()) {
    const char b = s[i];
    if (b == '\r' || b == '\x0C') {
      if (rowsBegun && b == '\x0C') page.trailer += b;
      ++i;
      continue;
    }
    if (b != kEsc || i + 1 >= s.size()) {
      page.ok = false;
      break;
    }
    const char c = s[i + 1];
    const std::size_t start = i;
    if (c == '(') {
      const std::size_t n = static_cast<unsigned char>(s[i + 3]) | (static_cast<unsigned char>(s[i + 4]) << 8);
      if (s[i + 2] == 'v') ++row;
      i += 5 + n;
    } else if (c == '\\') {
      rowsBegun = true;
      i += 4;
    } else if (c == '.') {
      const int compression = s[i + 2];
      const std::size_t dots = static_cast<unsigned char>(s[i + 6]) | (static_cast<unsigned char>(s[i + 7]) << 8);
      const std::size_t bytes = (dots + 7) / 8;
      i += 8;
      std::string data;
      if (compression == 0) {
        data = s.substr(i, bytes);
        i += bytes;
      } else {
        std::size_t j = i;
        while (data.size() < bytes) {
          const int n = static_cast<signed char>(s[j]);
          data += unpackBits(s.substr(j, n >= 0 ? static_cast<std::size_t>(n) + 2 : 2));
          j += n >= 0 ? static_cast<std::size_t>(n) + 2 : 2;
        }
        i = j;
      }
      page.rows[row][colour] = data;
    } else if (c == 'r') {
      colour = s[i + 2];
      i += 3;
    } else if (c == '@') {
      i += 2;
    } else {
      page.ok = false;
      break;
    }
    if (!rowsBegun) page.init += s.substr(start, i - start);
    else if (c == '@') page.trailer += s.substr(start, i - start);
  }
  return page;
}

TEST_F(PrinterStreams, EscP2LinesDecodeToThePage) {
  openPrinterPage(36, 21, 5, 1, 11);
  hardcopyOption(3) = 36;
  hardcopyOption(4) = 72;
  hardcopyOption(19) = 1;
  yyGrState.RasterResolution = 2;  // 360 dpi
  const EscP2Page page = readEscP2(stream());
  ASSERT_TRUE(page.ok);
  const std::string init = esc("@") + esc("(G") + std::string{1, 0, 1} + esc("(U") + std::string{1, 0, 10} +
                           esc("(V") + std::string{2, 0, 0x68, 0x01};
  EXPECT_EQ(page.init, init);
  EXPECT_EQ(page.trailer, esc("@") + "\x0C");
  const Dots d = expectedDots();
  for (int r = 0; r < d.rows; ++r) {
    std::string got = page.rows.at(r).at(-1);
    const std::string want = rowBits(d, 0, r, false);
    got.resize(want.size(), '\0');
    EXPECT_EQ(got, want) << "row " << r;
  }
}

TEST_F(PrinterStreams, EscP2ColourPassesFollowTheRibbonRule) {
  openPrinterPage(37, 17, 4, 3, 5);
  hardcopyOption(5) = 1;
  yyGrState.RasterResolution = 1;
  const EscP2Page page = readEscP2(stream());
  ASSERT_TRUE(page.ok);
  const Dots d = expectedDots();
  const std::pair<int, int> passes[] = {{4, 2}, {1, 1}, {2, 0}, {0, -1}};
  for (int r = 0; r < d.rows; ++r) {
    for (const auto& [select, plane] : passes) {
      std::string got = page.rows.at(r).at(select);
      got.resize(static_cast<std::size_t>((d.width + 7) / 8), '\0');
      for (int x = 0; x < d.width; ++x) {
        const bool printed = (got[static_cast<std::size_t>(x / 8)] & (0x80 >> (x % 8))) != 0;
        EXPECT_EQ(printed, d.ribbon(plane, x, r)) << x << "," << r << " " << plane;
      }
    }
  }
}

// --- ESC/P bit images ----------------------------------------------------------

struct DotMatrixPage {
  std::string init;
  std::vector<std::map<int, std::string>> lines;  // per pass line: colour select -> column bytes
  std::vector<int> spacing;                       // the ESC 3 value in force for each line
  std::vector<int> headerCounts;
  bool ok = true;
};

DotMatrixPage readEscP(const std::string& s, int printerType) {
  DotMatrixPage page;
  int colour = -1, spacing = -1;
  std::map<int, std::string> line;
  bool begun = false;
  for (std::size_t i = 0; i < s.size();) {
    const char b = s[i];
    if (b == '\r') {
      ++i;
      continue;
    }
    if (b == '\n') {
      page.lines.push_back(line);
      page.spacing.push_back(spacing);
      line.clear();
      ++i;
      continue;
    }
    if (b == '\x0C') {
      ++i;
      continue;
    }
    if (b != kEsc) {
      page.ok = false;
      break;
    }
    const char c = s[i + 1];
    const std::size_t start = i;
    std::size_t bytes = 0, header = 0;
    int count = 0;
    if (c == 'K' || c == 'L' || c == 'Z') {
      count = static_cast<unsigned char>(s[i + 2]) | (static_cast<unsigned char>(s[i + 3]) << 8);
      header = 4;
      bytes = static_cast<std::size_t>(count);
    } else if (c == '*') {
      const int m = s[i + 2];
      count = static_cast<unsigned char>(s[i + 3]) | (static_cast<unsigned char>(s[i + 4]) << 8);
      header = 5;
      bytes = static_cast<std::size_t>(count) * (m >= 32 ? 3 : 1);
    } else if (c == '[') {
      count = static_cast<unsigned char>(s[i + 3]) | (static_cast<unsigned char>(s[i + 4]) << 8);
      header = 6;
      bytes = static_cast<std::size_t>(count) - 1;
    } else if (c == '3') {
      spacing = static_cast<unsigned char>(s[i + 2]);
      i += 3;
    } else if (c == 'r') {
      colour = s[i + 2];
      i += 3;
    } else if (c == 'U' || c == 'J') {
      i += 3;
    } else if (c == '2') {
      i += 2;
    } else {
      page.ok = false;
      break;
    }
    if (header > 0) {
      begun = true;
      page.headerCounts.push_back(count);
      line[colour] = s.substr(i + header, bytes);
      i += header + bytes;
    }
    if (!begun) page.init += s.substr(start, i - start);
  }
  (void)printerType;
  return page;
}

// Rebuilds printer rows from the lines: line L is pass L mod passes of band
// L div passes; byte j of a column holds rows band start + pass + (8j + k) x passes.
Dots rebuild(const DotMatrixPage& page, int select, int width, int rows, int pins, int passes, int leading) {
  Dots d;
  d.width = width;
  d.rows = rows;
  d.planes.assign(1, std::vector<int>(static_cast<std::size_t>(width * rows)));
  const int perColumn = pins / 8;
  for (std::size_t l = 0; l < page.lines.size(); ++l) {
    const auto found = page.lines[l].find(select);
    if (found == page.lines[l].end()) continue;
    const std::string& data = found->second;
    const int band = static_cast<int>(l) / passes, pass = static_cast<int>(l) % passes;
    for (std::size_t at = static_cast<std::size_t>(leading); at < data.size(); ++at) {
      const int x = static_cast<int>(at - static_cast<std::size_t>(leading)) / perColumn;
      const int j = static_cast<int>(at - static_cast<std::size_t>(leading)) % perColumn;
      for (int k = 0; k < 8; ++k) {
        const int row = band * pins * passes + pass + (8 * j + k) * passes;
        if ((data[at] & (0x80 >> k)) && row < rows && x < width) d.planes[0][static_cast<std::size_t>(row * width + x)] = 1;
      }
    }
  }
  return d;
}

TEST_F(PrinterStreams, DotMatrixBandsDecodeToThePage) {
  struct Case {
    const char* what;
    int deviceCode;
    int resolutionIndex;
    int offsetPoints;
    int pins, passes, leading;
    std::string header;  // header of a line before its count
  };
  const Case cases[] = {
      {"8 pins, 240 dpi, two passes", 2, 1, 0, 8, 2, 0, esc("Z")},
      {"8 pins, 60 dpi, one pass, offset", 2, 3, 12, 8, 1, 10, esc("K")},
      {"24 pins, 180 dpi, ESC *", 17, 2, 0, 24, 1, 0, esc("*") + std::string(1, 39)},
      {"24 pins, 360 dpi, ESC [g, two passes, offset", 19, 1, 2, 24, 2, 30, esc("[g")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    openPrinterPage(c.deviceCode, 23, 53, 1, 13);
    yyGrState.RasterResolution = c.resolutionIndex;
    hardcopyOption(3) = c.offsetPoints;
    const std::string s = stream();
    const DotMatrixPage page = readEscP(s, yyRasterDevice.printerType);
    ASSERT_TRUE(page.ok);
    EXPECT_EQ(page.init.substr(0, 3), esc("U") + std::string(1, 1));
    EXPECT_NE(s.find(c.header), std::string::npos);
    const Dots d = expectedDots();
    const Dots got = rebuild(page, -1, d.width, d.rows, c.pins, c.passes, c.leading);
    EXPECT_EQ(got.planes[0], d.planes[0]);
    const int bands = (d.rows + c.pins * c.passes - 1) / (c.pins * c.passes);
    EXPECT_EQ(static_cast<int>(page.lines.size()), bands * c.passes);
    if (c.passes == 2) {
      for (std::size_t l = 0; l < page.spacing.size(); ++l) EXPECT_EQ(page.spacing[l], l % 2 == 0 ? 1 : yyRasterDevice.lineSpacingCode - 1);
    } else {
      EXPECT_EQ(page.init.back(), static_cast<char>(yyRasterDevice.lineSpacingCode));
    }
    YYRasterPageFree();
  }
}

TEST_F(PrinterStreams, DotMatrixLinesDropTrailingWhiteAndCountWholeColumns) {
  openPrinterPage(17, 40, 24, 1, 17);
  send(kOpClear);
  YYRasterPixel(1, 4, 23);  // the top row, column 4
  yyGrState.RasterResolution = 2;
  const DotMatrixPage page = readEscP(stream(), 5);
  ASSERT_TRUE(page.ok);
  ASSERT_EQ(page.lines.size(), 1u);
  EXPECT_EQ(page.lines[0].at(-1).size(), 15u);  // five columns of three bytes
  ASSERT_EQ(page.headerCounts.size(), 1u);
  EXPECT_EQ(page.headerCounts[0], 5);
}

TEST_F(PrinterStreams, DotMatrixColourRibbonsPassEachPlaneAndBlack) {
  openPrinterPage(23, 19, 20, 3, 19);
  yyGrState.RasterResolution = 3;  // 90 dpi: one pass
  const DotMatrixPage page = readEscP(stream(), 2);
  ASSERT_TRUE(page.ok);
  const Dots d = expectedDots();
  const std::pair<int, int> passes[] = {{4, 2}, {1, 1}, {2, 0}, {0, -1}};
  for (const auto& [select, plane] : passes) {
    SCOPED_TRACE(plane);
    const Dots got = rebuild(page, select, d.width, d.rows, 8, 1, 0);
    for (int r = 0; r < d.rows; ++r) {
      for (int x = 0; x < d.width; ++x) EXPECT_EQ(got.at(0, x, r), d.ribbon(plane, x, r)) << x << "," << r;
    }
  }
}

// --- Screen dumps ----------------------------------------------------------------

TEST_F(PrinterStreams, ScreenDumpsTakeTheCoarsestResolutionThatHoldsTheViewport) {
  struct Case {
    const char* what;
    int deviceCode;
    int orientation;
    int columns, rows;  // of the viewport
    int limit, mono, displayColours;
    int widthDots, rowsSent, passes, planes;
    std::string command;  // the resolution as the stream states it
  };
  const Case cases[] = {
      {"laser, 75 dpi holds 640 x 480", 10, 0, 640, 480, 0, 0, 256, 787, 562, 1, 1, esc("*t075R")},
      {"laser, too large for every resolution, limited to the second", 10, 0, 6000, 4000, 2, 0, 256, 6000, 4000, 1,
       1, esc("*t150R")},
      {"dot matrix, turned", 2, 1, 640, 480, 0, 0, 256, 900, 788, 1, 1, esc("L")},
      {"dot matrix, two passes for the rows", 2, 0, 640, 1000, 0, 0, 256, 2520, 1126, 2, 1, esc("Z")},
      {"colour laser, colour display", 21, 0, 640, 480, 0, 0, 256, 787, 562, 1, 3, esc("*r0792s3u1A")},
      {"colour laser, mono dump", 21, 0, 640, 480, 0, 1, 256, 787, 562, 1, 1, esc("*r0792s1u1A")},
      {"colour laser, four-colour display", 21, 0, 640, 480, 0, 0, 4, 787, 562, 1, 1, esc("*r0792s1u1A")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    YYHardcopyDevice(c.deviceCode);
    yyDumpSettings = YYDumpSettings{};
    yyDumpSettings.pageWidth = 756;
    yyDumpSettings.pageHeight = 540;
    yyDumpSettings.orientation = c.orientation;
    yyDumpSettings.resolutionLimit = c.limit;
    yyDumpSettings.mono = c.mono;
    yyDumpSettings.copies = 1;
    yyGrState.ViewportColumns = c.columns;
    yyGrState.ViewportRows = c.rows;
    yyGrAttributes.DeviceColourCount = c.displayColours;
    YYPclRaster(0, 0);
    const YYPrinterCommands& commands = yyPrinterCommands;
    EXPECT_EQ(commands.widthDots, c.widthDots);
    EXPECT_EQ(commands.rows, c.rowsSent);
    EXPECT_EQ(commands.passes, c.passes);
    EXPECT_EQ(commands.planesToSend, c.planes);
    EXPECT_NE((commands.init + commands.headers[0]).find(c.command), std::string::npos);
  }
}

TEST_F(PrinterStreams, APrinterWithoutResolutionsWritesNothing) {
  openPrinterPage(10, 8, 2, 1, 1);
  yyRasterDevice.resolutionCount = 0;
  YYPclRaster(8, 2);
  std::string out;
  EXPECT_FALSE(printerPageStream(printerFetchRoutine(), [&out](std::string_view p) {
    out.append(p);
    return true;
  }));
  EXPECT_EQ(errorState.lastError, 5);
  EXPECT_TRUE(out.empty());
}

TEST_F(PrinterStreams, ARefusedWriteEndsThePageWithoutTheTrailer) {
  openPrinterPage(10, 16, 6, 1, 2);
  yyGrState.RasterResolution = 1;
  YYPclRaster(16, 6);
  int pieces = 0;
  std::string out;
  EXPECT_FALSE(printerPageStream(printerFetchRoutine(), [&](std::string_view p) {
    if (++pieces > 4) return false;
    out.append(p);
    return true;
  }));
  EXPECT_EQ(out.find(esc("*rB")), std::string::npos);
}

}  // namespace
