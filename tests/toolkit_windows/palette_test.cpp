// The logical palette of 256-colour displays.
#include <windows.h>

#include <array>
#include <cstdlib>
#include <vector>

#include "root_fixture.h"
#include "toolkit/core/window_text.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/screen_gdi.h"

namespace {

std::vector<COLORREF> entries(int n) {
  std::vector<PALETTEENTRY> raw(static_cast<std::size_t>(n + 18));
  YYPaletteEntries(n, raw.data());
  std::vector<COLORREF> colours;
  for (const PALETTEENTRY& e : raw) colours.push_back(RGB(e.peRed, e.peGreen, e.peBlue));
  return colours;
}

TEST(PaletteEntries, SixteenColoursThenTheWindowColours) {
  const std::vector<COLORREF> p = entries(16);
  ASSERT_EQ(p.size(), 34u);
  EXPECT_EQ(p[0], RGB(0xFF, 0xFF, 0xFF));
  EXPECT_EQ(p[1], RGB(0x00, 0x00, 0xBF));
  EXPECT_EQ(p[7], RGB(0x40, 0x40, 0x40));
  EXPECT_EQ(p[15], RGB(0, 0, 0));
  for (int i = 0; i < 16; ++i) EXPECT_EQ(p[static_cast<std::size_t>(16 + i)], kStandardWindowColours[static_cast<std::size_t>(i)]);
}

TEST(PaletteEntries, RampsOf32Colours) {
  const std::vector<COLORREF> p = entries(32);
  ASSERT_EQ(p.size(), 50u);
  const std::array<COLORREF, 6> first = {RGB(0xFF, 0xFF, 0xFF), RGB(0xDF, 0xDF, 0xDF), RGB(0xDF, 0, 0),
                                         RGB(0xFF, 0, 0),       RGB(0x9F, 0, 0),       RGB(0xBF, 0, 0)};
  for (std::size_t i = 0; i < first.size(); ++i) EXPECT_EQ(p[i], first[i]) << i;
  const std::array<COLORREF, 6> last = {RGB(0x20, 0x20, 0x20), RGB(0, 0, 0),          RGB(0x60, 0x60, 0x60),
                                        RGB(0x40, 0x40, 0x40), RGB(0xBF, 0xBF, 0xBF), RGB(0x9F, 0x9F, 0x9F)};
  for (std::size_t i = 0; i < last.size(); ++i) EXPECT_EQ(p[26 + i], last[i]) << i;
  // Yellow keeps red and green equal, cyan green and blue.
  EXPECT_EQ(p[7], RGB(0xFF, 0xFF, 0));
  EXPECT_EQ(p[15], RGB(0, 0xFF, 0xFF));
  const std::vector<COLORREF> large = entries(128);
  EXPECT_EQ(large.size(), 146u);
  EXPECT_EQ(large[0], RGB(0xFF, 0xFF, 0xFF));
  EXPECT_EQ(large[7], RGB(0xFF - 7 * 8, 0xFF - 7 * 8, 0xFF - 7 * 8));
}

using PaletteDisplay = ConverterWindow;

// On a 256-colour screen the window gets a palette holding the window colours
// after the ramps, and fills come out in the exact window colours.
TEST_F(PaletteDisplay, TheRootWindowRealisesItsPaletteOnlyOn256Colours) {
  HDC screen = GetDC(nullptr);
  const int bits = GetDeviceCaps(screen, BITSPIXEL);
  ReleaseDC(nullptr, screen);
  // The 8-bit run says so, so that a screen of another depth cannot pass it unnoticed.
  char expected[8] = {};
  if (GetEnvironmentVariableA("CARROW_EXPECT_8BIT", expected, sizeof expected) > 0) {
    ASSERT_EQ(bits, 8);
  }
  if (bits != 8) {
    EXPECT_EQ(yyGdiContext.Palette, nullptr);
    EXPECT_NE(windowTable.colourCount, 256);
    return;
  }
  ASSERT_EQ(windowTable.colourCount, 256);
  ASSERT_NE(yyGdiContext.Palette, nullptr);
  EXPECT_EQ(yyGrAttributes.DisplayDepth, 16);
  std::array<PALETTEENTRY, 40> got{};
  EXPECT_EQ(GetPaletteEntries(yyGdiContext.Palette, 0, static_cast<UINT>(got.size()), got.data()), 34u);
  EXPECT_EQ(RGB(got[16 + 9].peRed, got[16 + 9].peGreen, got[16 + 9].peBlue), RGB(0xFF, 0, 0));
  EXPECT_EQ(RGB(got[16 + 3].peRed, got[16 + 3].peGreen, got[16 + 3].peBlue), RGB(0, 0xBF, 0));
  WindowFillArea(0, 0, 50, 50, RGB(0, 0xBF, 0));
  HDC dc = GetDC(rootClient());
  SelectPalette(dc, yyGdiContext.Palette, FALSE);
  RealizePalette(dc);
  // The X server may round a component by one step.
  const COLORREF got25 = GetPixel(dc, 25, 25);
  EXPECT_LE(std::abs(GetGValue(got25) - 0xBF), 2);
  EXPECT_EQ(GetRValue(got25), 0);
  EXPECT_EQ(GetBValue(got25), 0);
  ReleaseDC(rootClient(), dc);
}

}  // namespace
