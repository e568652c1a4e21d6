#pragma once
// A root window of known size as the drawing target, with every bitmap,
// metafile and enhanced-metafile slot empty before and after each test.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "support/graphics_scene.h"
#include "support/ui_driver.h"
#include "toolkit/core/error_reporter.h"
#include "toolkit/core/root_window.h"
#include "toolkit/core/window_table.h"
#include "toolkit/graphics/graphics_defaults.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/image_slots.h"
#include "toolkit/graphics/output_targets.h"
#include "toolkit/graphics/screen_gdi.h"

constexpr std::int32_t kWhite = 0xFFFFFF;

inline void emptyImageSlots() {
  for (int i = 0; i < kImageSlots; ++i) {
    if (yyBitmapSlots[static_cast<std::size_t>(i)].bitmap != nullptr) {
      DeleteObject(yyBitmapSlots[static_cast<std::size_t>(i)].bitmap);
      yyBitmapSlots[static_cast<std::size_t>(i)] = YYBitmapSlot{};
    }
    YYEMFDELETE(i);
  }
  for (auto& slot : yyMetafileSlots) slot = YYMetafileSlot{};
}

class TargetWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    RootWindowOptions options;
    options.flags = 0x27;
    options.x = 10;
    options.y = 10;
    options.width = 400;
    options.height = 300;
    options.title = "targets";
    WindowOpen2(options);
    ASSERT_NE(windowTable.slots[0].frame, nullptr);
    IGrSelect(kTargetWindow, 0);
    emptyImageSlots();
    YYErrorStateReset();
  }
  void TearDown() override {
    IGrSelect(kTargetWindow, 0);
    emptyImageSlots();
    WShutdown();
  }

  // A white bitmap of the size as the current target; its number.
  static int bitmapTarget(int width, int height) {
    int number = 0;
    YYBitmapCreate(number, width, height, kWhite);
    EXPECT_GT(number, 0);
    IGrSelect(kTargetBitmap, number);
    return number;
  }

  // The pixels of bitmap number n as a raster, top row first.
  static RgbRaster bitmapRaster(int number) {
    int width = 0, height = 0;
    YYBitmapSize(number - 1, width, height);
    std::vector<std::int32_t> colours(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    int status = -1;
    YYBitmapGetPixels(number - 1, colours, 0, 0, width - 1, height - 1, status);
    EXPECT_EQ(status, 0);
    RgbRaster raster{width, height, {}};
    for (const std::int32_t c : colours) {
      raster.rgb.push_back(static_cast<std::uint8_t>(c & 0xFF));
      raster.rgb.push_back(static_cast<std::uint8_t>((c >> 8) & 0xFF));
      raster.rgb.push_back(static_cast<std::uint8_t>((c >> 16) & 0xFF));
    }
    return raster;
  }

  static void drawScene() {
    const std::int32_t on = yyGrAttributes.ScreenDriverOn;
    yyGrAttributes.ScreenDriverOn = 1;
    YYGrPrimitive op = kOpClear;
    YYPRIMROUTE(op);
    drawGraphicsScene(YYPRIMROUTE);
    yyGrAttributes.ScreenDriverOn = on;
  }

  static std::string workFile(const std::string& name) {
    std::filesystem::create_directories("work");
    return (std::filesystem::path("work") / name).string();
  }

  ui::Watchdog watchdog_{60000, ::testing::UnitTest::GetInstance()->current_test_info()->name()};
};
