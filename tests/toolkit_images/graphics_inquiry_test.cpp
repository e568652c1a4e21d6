#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "image_files_support.h"
#include "toolkit/core/error_reporter.h"
#include "toolkit/graphics/graphics_inquiry.h"
#include "toolkit/graphics/image_bytes.h"

namespace {

using namespace image_test;
using Info = std::array<std::int32_t, 6>;

Bytes text(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes le16(int v) { return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)}; }
Bytes le32(std::int64_t v) {
  return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v >> 16),
          static_cast<std::uint8_t>(v >> 24)};
}
// Bytes with the given pieces placed at their offsets, zeros between.
Bytes placed(std::size_t size, std::initializer_list<std::pair<std::size_t, Bytes>> pieces) {
  Bytes b(size, 0);
  for (const auto& [at, piece] : pieces) std::copy(piece.begin(), piece.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
  return b;
}

Info inquire(const Bytes& content, int entries = 6) {
  const std::string path = scratchPath("inquiry.dat");
  writeAll(path, content);
  Info info;
  info.fill(-77);
  YYGrFileInfo(path, info, entries);
  return info;
}

struct InquiryCase {
  const char* what;
  Bytes content;
  Info want;
};

TEST(GraphicsInquiry, TypesAndFactsOfEachKind) {
  const std::string esc(1, '\x1b');
  const InquiryCase cases[] = {
      {"three bytes", text("IN;"), {-1, -77, -77, -77, -77, -77}},
      {"unrecognised text", text("    \r\n\r\n"), {0, -1, -1, -1, -1, -1}},
      {"HP-GL after blanks, model 7",
       text("   IN;SP1;\r\nSC-13,7;\r\nIP0,0,1015,2031;\r\nSC-3;\r\nPA0,0;\r\nSC-3;\r\n"),
       {4, 72, 144, 8, 7, 2}},
      {"HP-GL without a model", text("IN;SP1;PA10,10;\r\n"), {4, -1, -1, -1, -1, 1}},
      {"HP-GL/2", text(esc + "%0BIN;\r\nCO\"13 2\";\r\nIP0,0,2031,1015;\r\n"), {5, 144, 72, 256, 2, 1}},
      {"EPS with its box on line 2", text("%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 595 842\n"),
       {10, 595, 842, 1, -1, -1}},
      {"PostScript with its box on line 3", text("%!PS-Adobe-3.0\n%%Title: x\n%%BoundingBox: 0 0 595 842\n"),
       {10, -1, -1, 0, -1, -1}},
      {"DXF", text("0\nSECTION\n2\nHEADER\n9\n$EXTMIN\n10\n0.0\n20\n0.0\n9\n$EXTMAX\n10\n2.5\n20\n1.5\n"),
       {14, 180, 108, -1, -1, -1}},
      {"SVG", text("<?xml version=\"1.0\"?>\n<!DOCTYPE svg PUBLIC \"x\">\n<SVG Width=\"200pt\" height=\"150.7\">\n"),
       {16, 200, 150, -1, -1, -1}},
      {"PCX", placed(128, {{0, {10, 5, 1, 8}}, {4, le16(2)}, {6, le16(3)}, {8, le16(11)}, {10, le16(7)}, {65, {3}}}),
       {2, 10, 5, 16777216, 5, -1}},
      {"BMP", placed(54, {{0, text("BM")}, {14, le32(40)}, {18, le32(25)}, {22, le32(-3)}, {28, le16(4)}, {30, le32(2)}}),
       {1, 25, -3, 16, 1, -1}},
      {"BMP with an OS/2 core header", placed(26, {{0, text("BM")}, {14, le32(12)}}), {0, -1, -1, -1, -1, -1}},
      {"placeable metafile",
       placed(40, {{0, le32(0x9AC6CDD7)}, {6, le16(0)}, {8, le16(0)}, {10, le16(1439)}, {12, le16(719)}, {14, le16(1440)}}),
       {3, 72, 36, 1, -1, -1}},
      {"enhanced metafile", placed(88, {{24, le32(0)}, {28, le32(0)}, {32, le32(2539)}, {36, le32(5079)}, {40, text(" EMF")}}),
       {3, 72, 144, 2, -1, -1}},
      {"plain metafile", placed(18, {{0, {1, 0, 9, 0, 0, 3}}}), {3, -1, -1, 0, -1, -1}},
      {"PCL colour at 300", text(esc + "E" + esc + "*t300R" + esc + "*r-3U" + esc + "*s-3u1A"), {11, -1, -1, 8, 300, -1}},
      {"ESC/P reset", Bytes{27, 64, 27, '(', 'U', 1, 0, 10, 27, 'r', 4}, {12, -1, -1, 8, 360, -1}},
      {"ESC/P unidirectional", Bytes{27, 'U', 1, 0}, {13, -1, -1, 0, -1, -1}},
      {"Draw", placed(40, {{0, text("Draw")}, {32, le32(6400)}, {36, le32(12800)}}), {8, 10, 20, -1, -1, -1}},
      {"Tektronix", text(esc + "[?38h"), {9, -1, -1, -1, -1, -1}},
      {"Lotus PIC", placed(16, {{0, {1, 0, 0, 0, 1, 0, 8, 0, 68}}, {13, {12}}}), {7, 3201, 2312, -1, -1, -1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(inquire(c.content), c.want);
  }
}

TEST(GraphicsInquiry, PngFactsFromTheFixtures) {
  const struct {
    const char* name;
    Info want;
  } cases[] = {
      {"png_p8.png", {15, 3, 2, 256, 0, -1}},
      {"png_p1.png", {15, 10, 2, 2, 0, -1}},
      {"png_rgba.png", {15, 3, 2, 16777216, 0, -1}},
      {"png_grey.png", {15, 1, 1, -1, 0, -1}},
      {"png_interlaced.png", {15, 1, 1, 16777216, 1, -1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Info info;
    info.fill(-77);
    YYGrFileInfo(fixturePath(c.name), info, 6);
    EXPECT_EQ(info, c.want);
  }
}

TEST(GraphicsInquiry, OnlyTheEntriesAskedForAreStored) {
  Info info = inquire(text("%!PS\n%%BoundingBox: 1 2 3 4\n"), 2);
  EXPECT_EQ(info, (Info{10, 3, -77, -77, -77, -77}));
  info.fill(-77);
  YYGrFileInfo(scratchPath("never_written.dat"), info, 6);
  EXPECT_EQ(info, (Info{-1, -77, -77, -77, -77, -77}));
}

TEST(GraphicsInquiry, PageCountOfPlots) {
  const struct {
    const char* content;
    std::int32_t pages;
  } cases[] = {
      {"IN;\r\nSC-3;\r\nPA1,1;\r\n SC -3;\r\n", 2},
      {"IN;PA0,0;\r\n", 1},
      {"IN;\r\nCO \"3\";\r\nCO:\"3\";\r\nCO\"4\";\r\n", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.content);
    const std::string path = scratchPath("pages.plt");
    writeAll(path, text(c.content));
    std::int32_t pages = -5;
    YYCNTHPG(path, pages);
    EXPECT_EQ(pages, c.pages);
  }
  YYErrorStateReset();
  std::int32_t pages = -5;
  YYCNTHPG(scratchPath("never_written.plt"), pages);
  EXPECT_EQ(errorState.lastError, 1);
  EXPECT_EQ(pages, -5);
  YYErrorStateReset();
}

TEST(ImageBytes, IntegersCrcAndChunkTypes) {
  const std::uint8_t bytes[] = {0x12, 0x34, 0x56, 0x78};
  std::uint32_t value = 0;
  YYGetIntLE(bytes, 2, value);
  EXPECT_EQ(value, 0x3412u);
  YYGetIntLE(bytes, 4, value);
  EXPECT_EQ(value, 0x78563412u);
  YYGetIntBE(bytes, value);
  EXPECT_EQ(value, 0x12345678u);
  std::uint8_t out[4] = {};
  YYPutU32BEF(0xAE426082u, out);
  EXPECT_EQ(Bytes(out, out + 4), (Bytes{0xAE, 0x42, 0x60, 0x82}));
  const std::uint8_t iend[] = {'I', 'E', 'N', 'D'};
  EXPECT_EQ(YYChunkIs(iend, "IEND"), 1);
  EXPECT_EQ(YYChunkIs(iend, "IDAT"), 0);
  // The check values of the published CRC-32.
  EXPECT_EQ(YYCrc32Update(iend, 4), 0xAE426082u);
  const std::string digits = "123456789";
  std::uint32_t crc = 0;
  YYCrc32F(9, crc, reinterpret_cast<const std::uint8_t*>(digits.data()));
  EXPECT_EQ(crc, 0xCBF43926u);
}

TEST(ImageBytes, PngFiltersAreReversed) {
  // Two rows of two 1-byte pixels; each filter applied by hand to rows {10, 20}, {30, 5}.
  const struct {
    int filter;
    Bytes second;  // the filtered second row
  } cases[] = {
      {0, {30, 5}},
      {1, {30, static_cast<std::uint8_t>(5 - 30)}},
      {2, {20, static_cast<std::uint8_t>(5 - 20)}},
      {3, {static_cast<std::uint8_t>(30 - 5), static_cast<std::uint8_t>(5 - (30 + 20) / 2)}},
      // Paeth: first pixel predicts from above (10); second from a=30, b=20, c=10: p=40, nearest a.
      {4, {20, static_cast<std::uint8_t>(5 - 30)}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.filter);
    Bytes data{0, 10, 20, static_cast<std::uint8_t>(c.filter), c.second[0], c.second[1]};
    YYPngUnfilter(data.data(), 3, 2, 1);
    EXPECT_EQ(data, (Bytes{0, 10, 20, static_cast<std::uint8_t>(c.filter), 30, 5}));
  }
}

}  // namespace
