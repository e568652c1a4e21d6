// Text and fills land where window units say, in the window colours (checked by pixels).
#include <windows.h>

#include <cstdlib>
#include <string>

#include "root_fixture.h"
#include "toolkit/core/window_text.h"

namespace {

class WindowText : public ConverterWindow {
 protected:
  void SetUp() override {
    ConverterWindow::SetUp();
    dc_ = GetDC(rootClient());
    WindowFillArea();
  }
  void TearDown() override {
    ReleaseDC(rootClient(), dc_);
    ConverterWindow::TearDown();
  }
  COLORREF pixel(int x, int y) const { return GetPixel(dc_, x, y) & 0xFFFFFF; }
  // Pixels of the colour inside the rectangle (inclusive).  A 256-colour
  // screen shows the nearest colour the X server could give the palette entry.
  int count(COLORREF colour, int x1, int y1, int x2, int y2) const {
    int n = 0;
    for (int y = y1; y <= y2; ++y) {
      for (int x = x1; x <= x2; ++x) n += close(pixel(x, y), colour) ? 1 : 0;
    }
    return n;
  }
  static bool close(COLORREF a, COLORREF b) {
    const int tolerance = windowTable.colourCount == 256 ? 0x28 : 2;
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
  }
  HDC dc_ = nullptr;
};

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

TEST_F(WindowText, FillWithoutArgumentsPaintsTheWholeClientAreaInTheBackground) {
  WindowFillArea(std::nullopt, std::nullopt, std::nullopt, std::nullopt, RGB(0, 0, 255));
  WindowFillArea();
  EXPECT_EQ(count(kWhite, 0, 0, 511, 255), 512 * 256);
}

TEST_F(WindowText, FillCoversItsCornersInclusive) {
  WindowFillArea(10, 20, 30, 40, RGB(255, 0, 0));
  const COLORREF red = pixel(10, 20);
  EXPECT_TRUE(close(red, RGB(255, 0, 0)));
  EXPECT_EQ(pixel(30, 40), red);
  EXPECT_EQ(count(red, 10, 20, 30, 40), 21 * 21);
  EXPECT_EQ(pixel(31, 40), kWhite);
  EXPECT_EQ(pixel(30, 41), kWhite);
  EXPECT_EQ(pixel(9, 20), kWhite);
  EXPECT_EQ(pixel(10, 19), kWhite);
  // Colour -1 is the background colour.
  WindowTextColours(0, 13);
  WindowFillArea(0, 0, 5, 5, -1);
  EXPECT_TRUE(close(pixel(3, 3), RGB(0, 0, 255)));
}

TEST_F(WindowText, TextSitsOnItsBaselineAtTheWindowUnitPosition) {
  int px = 0;
  int py = 0;
  YYScaleToPixels(2000, 5000, px, py);
  ASSERT_EQ(px, 102);
  ASSERT_EQ(py, 127);
  const std::string text = "HHHH";
  WindowTextAt(2000, 5000, text);
  int width = 0;
  YYTextExtent(width, text.c_str(), static_cast<int>(text.size()) + 1);
  ASSERT_GT(width, 0);
  TEXTMETRICA tm{};
  HGDIOBJ previous = SelectObject(dc_, GetStockObject(SYSTEM_FONT));
  GetTextMetricsA(dc_, &tm);
  SelectObject(dc_, previous);
  // Ink lies above the baseline, within the text's width, and nowhere else.
  const int ink = count(kBlack, px, py - tm.tmAscent, px + width - 1, py - 1);
  EXPECT_GT(ink, 20);
  EXPECT_EQ(count(kBlack, 0, 0, 511, 255), ink + count(kBlack, px, py, px + width - 1, py + tm.tmDescent));
  EXPECT_EQ(count(kBlack, px, py + 1, px + width - 1, py + tm.tmDescent), 0) << "capitals have no descent";
  // The end position is where the text stopped, in window units.
  int endX = 0;
  int endY = 0;
  YYPixelsToUnits(px + width, py, endX, endY);
  EXPECT_EQ(textAttributes.endX, endX);
  EXPECT_EQ(textAttributes.endY, endY);
}

TEST_F(WindowText, ColoursUnderlineAndTheLastRow) {
  WindowTextColours(1, 10);  // BF0000 on yellow, drawn opaque
  WindowTextUnderline(1);
  int px = 0;
  int py = 0;
  YYScaleToPixels(1000, 4000, px, py);
  const std::string text = "Mm";
  WindowTextAt(1000, 4000, text);
  int width = 0;
  YYTextExtent(width, text.c_str(), 3);
  EXPECT_GT(count(RGB(0xBF, 0, 0), px, py - 12, px + width - 1, py), 5);
  EXPECT_GT(count(RGB(0xFF, 0xFF, 0), px, py - 12, px + width - 1, py), 5);
  // The underline runs 2 pixels below the baseline over exactly the text.
  EXPECT_EQ(count(RGB(0xBF, 0, 0), px, py + 2, px + width - 1, py + 2), width);
  EXPECT_FALSE(close(pixel(px + width + 1, py + 2), RGB(0xBF, 0, 0)));
  EXPECT_FALSE(close(pixel(px - 1, py + 2), RGB(0xBF, 0, 0)));
  WindowTextUnderline(0);

  // Background 16 is kept as the system window colour; other values are ignored.
  WindowTextColours(16, 16);
  EXPECT_EQ(textAttributes.textColour, 16);
  EXPECT_EQ(textAttributes.backgroundColour, 17);
  WindowTextColours(17, 18);
  EXPECT_EQ(textAttributes.textColour, 16);
  EXPECT_EQ(textAttributes.backgroundColour, 17);

  // At (0, 9999) the baseline is the last pixel row: the text stands on it.
  WindowTextColours(0, 15);
  WindowFillArea();
  WindowTextAt(0, 9999, "HH");
  EXPECT_GT(count(kBlack, 0, 230, 40, 254), 5);
}

TEST_F(WindowText, FontFamiliesAreMadeOnlyWhenSomethingChanged) {
  textAttributes.family = 3;  // Arial
  WindowTextAt(100, 3000, "x");
  HFONT first = textAttributes.font;
  ASSERT_NE(first, nullptr);
  WindowTextAt(100, 6000, "y");
  EXPECT_EQ(textAttributes.font, first);
  textAttributes.bold = 1;
  WindowTextAt(100, 6000, "z");
  EXPECT_NE(textAttributes.font, nullptr);
  LOGFONTA font{};
  GetObjectA(textAttributes.font, sizeof font, &font);
  EXPECT_EQ(font.lfWeight, FW_BOLD);
  EXPECT_STREQ(font.lfFaceName, "Arial");
}

}  // namespace
