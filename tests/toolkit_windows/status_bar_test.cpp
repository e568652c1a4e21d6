// Status panes and window units.
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <string>

#include "root_fixture.h"

namespace {

using StatusBar = ConverterWindow;

std::array<int, 4> paneEdges() {
  std::array<int, 4> edges{};
  SendMessageA(windowTable.slots[0].statusBar, SB_GETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  return edges;
}

std::string paneText(int part) {
  HWND bar = windowTable.slots[0].statusBar;
  const int length = LOWORD(SendMessageA(bar, SB_GETTEXTLENGTHA, static_cast<WPARAM>(part), 0));
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  SendMessageA(bar, SB_GETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

TEST_F(StatusBar, PaneWidthsAreConvertedOneByOneAndSummed) {
  EXPECT_EQ(SendMessageA(windowTable.slots[0].statusBar, SB_GETPARTS, 0, 0), 2);
  EXPECT_EQ(paneEdges()[0], 255);
  EXPECT_EQ(paneEdges()[1], -1);
  const std::array<int, 3> thirds{3000, 3000, 3000};
  WindowStatusPanes(3, thirds);
  EXPECT_EQ(SendMessageA(windowTable.slots[0].statusBar, SB_GETPARTS, 0, 0), 3);
  EXPECT_EQ(paneEdges()[0], 153);
  EXPECT_EQ(paneEdges()[1], 306);
  EXPECT_EQ(paneEdges()[2], 459);
  // Counts outside 1-255 change nothing.
  WindowStatusPanes(0, thirds);
  WindowStatusPanes(256, thirds);
  EXPECT_EQ(SendMessageA(windowTable.slots[0].statusBar, SB_GETPARTS, 0, 0), 3);
}

TEST_F(StatusBar, TextsGoToTheirPanesWithoutTrailingBlanksAndSurviveAStyleChange) {
  WindowStatusText(1, " ASC/Excel output coords: Lat/Long   ");
  WindowStatusText(2, " Garmin Prefix: W");
  WindowStatusText(0, "ignored");
  WindowStatusText(256, "ignored");
  EXPECT_EQ(paneText(0), " ASC/Excel output coords: Lat/Long");
  EXPECT_EQ(paneText(1), " Garmin Prefix: W");
  const std::array<int, 2> widths{5000, -1};
  const std::array<int, 2> styles{2, 0};
  WindowStatusPanes(2, widths, styles);
  EXPECT_EQ(paneText(0), " ASC/Excel output coords: Lat/Long");
  EXPECT_EQ(paneText(1), " Garmin Prefix: W");
  const LRESULT first = SendMessageA(windowTable.slots[0].statusBar, SB_GETTEXTLENGTHA, 0, 0);
  const LRESULT second = SendMessageA(windowTable.slots[0].statusBar, SB_GETTEXTLENGTHA, 1, 0);
  EXPECT_EQ(HIWORD(first) & (SBT_POPOUT | SBT_NOBORDERS), SBT_POPOUT);
  EXPECT_EQ(HIWORD(second) & (SBT_POPOUT | SBT_NOBORDERS), SBT_NOBORDERS);
}

// A pane text longer than 511 characters, put there past the toolkit, used to
// overrun the buffer the panes are re-applied through.
TEST_F(StatusBar, OverlongPaneTextsAreCutWhenThePanesAreReapplied) {
  const std::string overlong(3000, 'x');
  SendMessageA(windowTable.slots[0].statusBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(overlong.c_str()));
  WindowStatusText(2, std::string(700, 'y'));
  EXPECT_EQ(paneText(1), std::string(511, 'y'));
  const std::array<int, 2> widths{5000, -1};
  WindowStatusPanes(2, widths);
  EXPECT_EQ(paneText(0), std::string(511, 'x'));
  EXPECT_EQ(paneText(1), std::string(511, 'y'));
}

TEST_F(StatusBar, WindowUnitsOfA512PixelClientArea) {
  ASSERT_EQ(windowTable.clientWidth, 512);
  struct Case {
    int pixel;
    int units;
  };
  for (const Case c : {Case{0, 9}, Case{255, 4989}, Case{511, 9989}}) {
    int x = 0;
    int y = 0;
    YYPixelsToUnits(c.pixel, 0, x, y);
    EXPECT_EQ(x, c.units) << c.pixel;
  }
  int px = 0;
  int py = 0;
  YYScaleToPixels(9999, 9999, px, py);
  EXPECT_EQ(px, 511);
  EXPECT_EQ(py, 255);
  YYScaleToPixels(5000, 0, px, py);
  EXPECT_EQ(px, 255);
  // A client width of 1 gives unit 0 for every pixel.
  const int saved = windowTable.clientWidth;
  windowTable.clientWidth = 1;
  YYPixelsToUnits(0, 0, px, py);
  EXPECT_EQ(px, 0);
  YYPixelsToUnits(500, 0, px, py);
  EXPECT_EQ(px, 0);
  windowTable.clientWidth = saved;
}

}  // namespace
