#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "image_files_support.h"
#include "test_pages.h"
#include "toolkit/core/error_reporter.h"
#include "toolkit/drivers/hardcopy_options.h"
#include "toolkit/drivers/plot_output.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/image_bytes.h"
#include "toolkit/graphics/image_reading.h"

namespace {

using namespace image_test;

enum class Format { Bmp, BmpRuns, Pcx, Png };

struct Written {
  std::string path;
  Bytes bytes;
};

// Writes one page in the format through plot unit 2, as the raster image driver does.
Written writeImage(const ImagePage& page, Format format, const std::string& name) {
  Written w{scratchPath(name), {}};
  TEXT = w.path;
  YYPROU(kPlotUnitFile);
  hardcopyOption(26) = format == Format::BmpRuns ? 2 : 1;
  switch (format) {
    case Format::Bmp:
    case Format::BmpRuns: YYWriteBMP(page); break;
    case Format::Pcx: YYWritePCX(page); break;
    case Format::Png: YYWritePNG(page); break;
  }
  YYPROUClose(kPlotUnitFile);
  if (format == Format::BmpRuns) YYBMP2(w.path);
  w.bytes = readAll(w.path);
  return w;
}

std::vector<std::int32_t> readBack(const std::string& path, int width, int height) {
  std::vector<std::int32_t> colours(static_cast<std::size_t>(width * height), -1);
  IGrLoadImageData(path, colours);
  return colours;
}

std::uint32_t le32(const Bytes& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t{b[at + 3]} << 24);
}

class ImageWriting : public ::testing::Test {
 protected:
  void SetUp() override {
    YYErrorStateReset();
    YYPlotOutputStatus = 0;
  }
  void TearDown() override {
    hardcopyOption(26) = 0;
    YYErrorStateReset();
  }
};

// Every depth in every format, at odd and even widths, reads back to the page's colours.
TEST_F(ImageWriting, RoundTripThroughTheReaderKeepsTheColours) {
  const std::array<Format, 4> formats = {Format::Bmp, Format::BmpRuns, Format::Pcx, Format::Png};
  const char* names[] = {"bmp", "rle.bmp", "pcx", "png"};
  for (int depth : {1, 4, 8, 24}) {
    for (int width : {1, 9, 40, 67}) {
      TestPage t = makePage(depth, width, 5);
      auto expected = expectedColours(t);
      for (std::size_t f = 0; f < formats.size(); ++f) {
        const std::string name = "round_" + std::to_string(depth) + "_" + std::to_string(width) + "." + names[f];
        SCOPED_TRACE(name);
        YYErrorStateReset();
        const Written w = writeImage(t.page, formats[f], name);
        EXPECT_EQ(YYPlotOutputStatus, 0);
        auto colours = readBack(w.path, width, 5);
        EXPECT_EQ(errorState.lastError, 0);
        auto want = expected;
        // A 1-bit PCX reads a set bit (ink) as white and a clear bit as black.
        if (formats[f] == Format::Pcx && depth == 1)
          for (std::size_t i = 0; i < want.size(); ++i) want[i] = want[i] == t.palette[1] ? 0xFFFFFF : 0;
        EXPECT_EQ(colours, want);
      }
    }
  }
}

TEST_F(ImageWriting, OneBitPageOfWidth100HasTheRowSizesOfEachFormat) {
  TestPage t = makePage(1, 100, 2);
  const Written bmp = writeImage(t.page, Format::Bmp, "w100.bmp");
  EXPECT_EQ(le32(bmp.bytes, 10), 54u + 8u);
  EXPECT_EQ(bmp.bytes.size(), 54u + 8u + 2u * 16u);
  EXPECT_EQ(le32(bmp.bytes, 2), bmp.bytes.size());
  const Written pcx = writeImage(t.page, Format::Pcx, "w100.pcx");
  EXPECT_EQ(pcx.bytes[66] | (pcx.bytes[67] << 8), 14);
  EXPECT_EQ(pcx.bytes[1], 3);
  EXPECT_EQ(pcx.bytes[65], 1);
  EXPECT_EQ(pcx.bytes[72] | (pcx.bytes[73] << 8), 2);
}

TEST_F(ImageWriting, TrueColourPixelBytesInEachFormat) {
  TestPage t = makePage(24, 1, 1, {rgb(1, 2, 3)});
  const Written bmp = writeImage(t.page, Format::Bmp, "px.bmp");
  EXPECT_EQ((Bytes{bmp.bytes.begin() + 54, bmp.bytes.begin() + 58}), (Bytes{3, 2, 1, 0}));
  const Written pcx = writeImage(t.page, Format::Pcx, "px.pcx");
  // Three plane lines of 2 bytes (1 raised to even), each red / green / blue then 0.
  EXPECT_EQ((Bytes{pcx.bytes.begin() + 128, pcx.bytes.end()}), (Bytes{1, 0, 2, 0, 3, 0}));
  EXPECT_EQ(pcx.bytes[65], 3);
}

TEST_F(ImageWriting, PcxRunsAreAtMost63AndHighBytesAreCoded) {
  std::vector<std::int32_t> fives(200, 5);
  TestPage t = makePage(8, 200, 1, fives);
  const Written w = writeImage(t.page, Format::Pcx, "runs.pcx");
  EXPECT_EQ((Bytes{w.bytes.begin() + 128, w.bytes.begin() + 136}), (Bytes{255, 5, 255, 5, 255, 5, 203, 5}));
  EXPECT_EQ(w.bytes.size(), 128u + 8u + 769u);
  EXPECT_EQ(w.bytes[136], 12);

  TestPage single = makePage(8, 2, 1, {200, 7});
  const Written s = writeImage(single.page, Format::Pcx, "single.pcx");
  EXPECT_EQ((Bytes{s.bytes.begin() + 128, s.bytes.begin() + 131}), (Bytes{193, 200, 7}));
}

TEST_F(ImageWriting, RunLengthBmpRowsAndPatchedSizes) {
  struct Case {
    int depth;
    int width;
    std::vector<int> runs;
  };
  const Case cases[] = {{8, 1000, {252, 252, 252, 244}}, {4, 1000, {248, 248, 248, 248, 8}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.depth);
    TestPage t = makePage(c.depth, c.width, 1, std::vector<std::int32_t>(static_cast<std::size_t>(c.width), 3));
    const Written w = writeImage(t.page, Format::BmpRuns, "runs" + std::to_string(c.depth) + ".bmp");
    const std::size_t data = 54 + 4 * (std::size_t{1} << c.depth);
    EXPECT_EQ(le32(w.bytes, 30), c.depth == 8 ? 1u : 2u);
    Bytes want;
    for (int n : c.runs) want.insert(want.end(), {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(c.depth == 8 ? 3 : 0x33)});
    want.insert(want.end(), {0, 0, 0, 1});
    EXPECT_EQ((Bytes{w.bytes.begin() + static_cast<std::ptrdiff_t>(data), w.bytes.end()}), want);
    EXPECT_EQ(le32(w.bytes, 2), w.bytes.size());
    EXPECT_EQ(le32(w.bytes, 34), w.bytes.size() - data);
  }
}

TEST_F(ImageWriting, PngChunksCarryTheirCrcAndEndWithIend) {
  TestPage t = makePage(4, 7, 3);
  const Written w = writeImage(t.page, Format::Png, "chunks.png");
  ASSERT_GT(w.bytes.size(), 8u + 25u + 12u);
  const Bytes iend{0, 0, 0, 0, 'I', 'E', 'N', 'D', 174, 66, 96, 130};
  EXPECT_EQ((Bytes{w.bytes.end() - 12, w.bytes.end()}), iend);
  std::size_t at = 8;
  std::vector<std::string> types;
  while (at + 12 <= w.bytes.size()) {
    const std::uint32_t length = YYGetU32BE(&w.bytes[at]);
    types.emplace_back(w.bytes.begin() + static_cast<std::ptrdiff_t>(at + 4), w.bytes.begin() + static_cast<std::ptrdiff_t>(at + 8));
    EXPECT_EQ(YYCrc32Update(&w.bytes[at + 4], static_cast<int>(length + 4)), YYGetU32BE(&w.bytes[at + 8 + length]))
        << types.back();
    at += 12 + length;
  }
  EXPECT_EQ(at, w.bytes.size());
  EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "PLTE", "IDAT", "IEND"}));
  EXPECT_EQ(w.bytes[24], 4);  // bit depth
  EXPECT_EQ(w.bytes[25], 3);  // palette colour type
  EXPECT_EQ(YYGetU32BE(&w.bytes[33]), 48u);  // 16 palette entries
}

TEST_F(ImageWriting, WritersStopAfterAFailedOpen) {
  TestPage t = makePage(8, 10, 10);
  for (Format f : {Format::Bmp, Format::Pcx, Format::Png}) {
    YYErrorStateReset();
    TEXT = "no_such_folder\\deeper\\image.out";
    YYPROU(kPlotUnitFile);
    EXPECT_EQ(errorState.lastError, 1);
    EXPECT_EQ(YYPlotOutputStatus, -1);
    switch (f) {
      case Format::Pcx: YYWritePCX(t.page); break;
      case Format::Png: YYWritePNG(t.page); break;
      default: YYWriteBMP(t.page); break;
    }
    EXPECT_EQ(YYPlotOutputStatus, -1);
    EXPECT_NE(errorState.lastError, 0);
    YYPROUClose(kPlotUnitFile);
  }
}

}  // namespace
