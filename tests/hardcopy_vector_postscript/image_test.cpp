// Images embedded as hexadecimal colour data, and the images the driver
// cannot read or hold.
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "postscript_fixture.h"

namespace postscript_tests {
namespace {

using Images = PostScriptDriver;

// A 24-bit BMP of the colours (red in the low byte), the top row first.
void writeBmp(const std::string& path, int width, int height, const std::vector<std::int32_t>& colours) {
  const int rowBytes = (width * 3 + 3) / 4 * 4;
  const int size = 54 + rowBytes * height;
  std::vector<std::uint8_t> b(static_cast<std::size_t>(size), 0);
  auto put = [&b](int at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) b[static_cast<std::size_t>(at + i)] = static_cast<std::uint8_t>(value >> (8 * i));
  };
  b[0] = 'B';
  b[1] = 'M';
  put(2, static_cast<std::uint32_t>(size), 4);
  put(10, 54, 4);
  put(14, 40, 4);
  put(18, static_cast<std::uint32_t>(width), 4);
  put(22, static_cast<std::uint32_t>(height), 4);
  put(26, 1, 2);
  put(28, 24, 2);
  put(34, static_cast<std::uint32_t>(rowBytes * height), 4);
  for (int row = 0; row < height; ++row) {
    const int fileRow = height - 1 - row;  // bottom row first in the file
    for (int x = 0; x < width; ++x) {
      const std::uint32_t c = static_cast<std::uint32_t>(colours[static_cast<std::size_t>(row * width + x)]);
      const int at = 54 + fileRow * rowBytes + 3 * x;
      b[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(c >> 16);
      b[static_cast<std::size_t>(at + 1)] = static_cast<std::uint8_t>(c >> 8);
      b[static_cast<std::size_t>(at + 2)] = static_cast<std::uint8_t>(c);
    }
  }
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), size);
}

void sendImage(const std::string& file, int width, int height) {
  TEXT = file;
  yyGrState.X2 = width;
  yyGrState.Y2 = height;
  send(kOpImage);
}

TEST_F(Images, PixelsAreWrittenTopRowFirstInLinesOfFortyAndInversionLeavesThem) {
  // 9 x 5 pixels: 45, so one full line of 40 and one of 5.
  std::vector<std::int32_t> colours;
  for (int i = 0; i < 45; ++i) colours.push_back(i == 0 ? 0x0080FF : i == 44 ? 0xFFFFFF : 0x000000);
  writeBmp("picture_9x5.bmp", 9, 5, colours);
  setOption(kOptColourInversion, 1);
  beginPlot();
  YYGrState& s = yyGrState;
  s.ViewportLeftReal = 10.5f;
  s.ViewportBottomReal = 20.0f;
  s.ViewportRightReal = 110.5f;
  s.ViewportTopReal = 70.0f;
  line(1, 1, 2, 1);
  yyGrState.M = 5;
  sendImage("picture_9x5.bmp", 9, 5);
  EXPECT_EQ(yyGrState.M, 0);
  EXPECT_EQ(yyGrState.PageBegun, -1);
  endPlot();
  const Lines expected = {
      "2.00 2.0 m", "4.00 2.0 l", "1.00 1.00 1.0 g", "s",  // the open path is stroked first
      "gsave",
      "/picstr 27 string def",
      "20.00 40.0 translate",
      "200.00 100.0 scale",
      "9 5 8 [9 0 0 -5 0 5]",
      "{currentfile picstr readhexstring pop}",
      "false 3",
      "colorimage",
      "ff8000" + std::string(39 * 6, '0'),
      std::string(4 * 6, '0') + "ffffff",
      "grestore",
      "/#copies 1 def",
      "gsave showpage grestore",
  };
  EXPECT_EQ(drawn(), expected);
}

TEST_F(Images, UnreadableFileGivesItsErrorBackAndWritesNothing) {
  beginPlot();
  errorState.reportingMode = kReportStdout;
  errorState.lastError = 0;
  yyGrState.M = 0;
  sendImage("no_such_picture.bmp", 4, 4);
  EXPECT_NE(yyGrState.M, 0);
  EXPECT_EQ(errorState.lastError, yyGrState.M);
  EXPECT_EQ(errorState.reportingMode, kReportStdout);
  EXPECT_EQ(yyGrState.PageBegun, 0);
  endPlot();
  EXPECT_EQ(drawn(), Lines{});
}

TEST_F(Images, ImagesThatCannotBeHeldWriteNothing) {
  std::vector<std::int32_t> colours(4, 0x00FF00);
  writeBmp("picture_2x2.bmp", 2, 2, colours);
  beginPlot();
  errorState.lastError = 0;
  sendImage("picture_2x2.bmp", 1 << 30, 1 << 30);
  EXPECT_EQ(yyGrState.M, 34);
  EXPECT_EQ(errorState.lastError, 0);
  // Two negative sides make a positive count but no picture.
  sendImage("picture_2x2.bmp", -2, -2);
  EXPECT_NE(yyGrState.M, 0);
  // The same file at its own size is drawn.
  sendImage("picture_2x2.bmp", 2, 2);
  EXPECT_EQ(yyGrState.M, 0);
  endPlot();
  const Lines d = drawn();
  ASSERT_GE(d.size(), 10u);
  EXPECT_EQ(d[0], "gsave");
  EXPECT_EQ(d[8], "00ff0000ff0000ff0000ff00");
  EXPECT_EQ(d[9], "grestore");
}

}  // namespace
}  // namespace postscript_tests
