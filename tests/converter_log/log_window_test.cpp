// The converter's log and data-error box in a real window.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "converter/converter_data.h"
#include "converter/log_display.h"
#include "support/ui_driver.h"
#include "toolkit/core/root_window.h"
#include "toolkit/core/window_table.h"

namespace {

class LogWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    RootWindowOptions options;
    options.flags = 0x67;
    options.width = 512;
    options.height = 256;
    options.title = "POI/Route/Track conversion utility";
    WindowOpen2(options);
    ASSERT_NE(windowTable.slots[0].client, nullptr);
    ui::pumpMessages(200);
    EMPTY_LOG();
  }
  void TearDown() override { WShutdown(); }

  // Dark pixels in a band of client rows: where a log line was drawn.
  static int darkPixels(int top, int bottom) {
    HWND client = windowTable.slots[0].client;
    HDC dc = GetDC(client);
    int n = 0;
    for (int y = top; y <= bottom; ++y) {
      for (int x = 0; x < 200; ++x) {
        const COLORREF c = GetPixel(dc, x, y);
        if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 200) ++n;
      }
    }
    ReleaseDC(client, dc);
    return n;
  }
  // Line k stands at y = 800 k window units of the 256-pixel client area.
  static int lineY(int k) { return 800 * k * 255 / 9999; }

  ui::Watchdog watchdog_{60000, "log window test"};
};

TEST_F(LogWindow, KeepsTheLastTwelveLinesAndDrawsThemInTheWindow) {
  EXPECT_EQ(darkPixels(0, 255), 0);
  for (int i = 1; i <= 14; ++i) SCROLL("Line " + std::to_string(i) + " points read");
  ASSERT_EQ(LOG_DISPLAY.LOG_COUNT, 12);
  EXPECT_EQ(LOG_DISPLAY.LOG_LINES[0], std::string_view("Line 3 points read"));
  EXPECT_EQ(LOG_DISPLAY.LOG_LINES[11], std::string_view("Line 14 points read"));
  EXPECT_GT(darkPixels(lineY(1) - 12, lineY(1) + 12), 0);
  EXPECT_GT(darkPixels(lineY(12) - 12, 255), 0);

  EMPTY_LOG();
  EXPECT_EQ(LOG_DISPLAY.LOG_COUNT, 0);
  EXPECT_EQ(darkPixels(0, 255), 0);
}

TEST_F(LogWindow, RedrawShowsExactlyTheLinesOfTheLog) {
  SCROLL("Input from C:\\data\\walk.gpx");
  // Another window's drawing is wiped; the redraw puts the one line back.
  HWND client = windowTable.slots[0].client;
  HDC dc = GetDC(client);
  RECT all{0, 0, 512, 256};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  ReleaseDC(client, dc);
  REDRAW_LOG();
  EXPECT_GT(darkPixels(lineY(1) - 12, lineY(1) + 12), 0);
  EXPECT_EQ(darkPixels(lineY(2) + 1, 255), 0);
}

TEST_F(LogWindow, DataErrorBoxShowsItsTextsAndClearsTheLogWhenAsked) {
  SCROLL("a line that the error clears");
  ui::UiDriver driver;
  driver.answerNext(ui::UiDriver::press(IDOK));
  STOP_FLAG = kLogicalFalse;
  ERROR(2, "Bad latitude", "lat,long,name", "abc,def,x", "clear");
  ASSERT_EQ(driver.seen().size(), 1u);
  EXPECT_EQ(driver.seen()[0].title, "Data Error");
  std::string all;
  for (const auto& t : driver.seen()[0].texts) all += t + "|";
  EXPECT_NE(all.find("Bad latitude"), std::string::npos) << all;
  EXPECT_NE(all.find("In record: abc,def,x"), std::string::npos) << all;
  EXPECT_NE(all.find("Correct format is: lat,long,name"), std::string::npos) << all;
  EXPECT_EQ(LOG_DISPLAY.LOG_COUNT, 0);
  EXPECT_FALSE(isTrue(STOP_FLAG));

  driver.answerNext(ui::UiDriver::press(IDOK));
  ERROR(3, "Bad record", "waypoint", "xyz", "quit");
  EXPECT_EQ(driver.seen().size(), 2u);
  EXPECT_TRUE(isTrue(STOP_FLAG));
  STOP_FLAG = kLogicalFalse;
}

}  // namespace
