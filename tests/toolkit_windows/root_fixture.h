#pragma once
// Opens the root window as the converter does and shuts the toolkit down after.

#include <gtest/gtest.h>
#include <windows.h>

#include <array>

#include "support/ui_driver.h"
#include "toolkit/core/events.h"
#include "toolkit/core/menus_toolbars.h"
#include "toolkit/core/root_window.h"
#include "toolkit/core/status_bar.h"
#include "toolkit/core/window_table.h"

inline constexpr const char* kConverterTitle = "POI/Route/Track conversion utility";

// The converter's window settings (flags 0x67, centred, 512 x 256, menu 30001,
// its title) with its toolbar made together with the window, then two status panes.
inline void openConverterWindow() {
  RootWindowOptions options;
  options.flags = 0x67;
  options.x = kCentred;
  options.y = kCentred;
  options.width = 512;
  options.height = 256;
  options.menu = 30001;
  options.toolbars = {30101, 0, 0, 0};
  options.title = kConverterTitle;
  WindowOpen2(options);
  const std::array<int, 2> widths{5000, -1};
  WindowStatusPanes(2, widths);
}

// The converter's own sequence: the record, then the toolbar added to the open window.
inline void openWithRecordThenToolbar() {
  WindowSettings settings;
  settings.flags = 0x67;
  settings.x = -1;
  settings.y = -1;
  settings.width = 512;
  settings.height = 256;
  settings.menu = 30001;
  settings.title = kConverterTitle;
  WindowOpenRecord(settings);
  WMenuToolbar(30101);
}

inline HWND rootFrame() { return windowTable.slots[0].frame; }
inline HWND rootClient() { return windowTable.slots[0].client; }

// Drains what the window produced while it opened.
inline void drainEvents() {
  EventRecord record;
  while (ui::waitEvent(record, 150) != ui::kTimedOut) {
  }
}

class ConverterWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    openConverterWindow();
    ASSERT_NE(rootFrame(), nullptr);
    ui::bringToForeground(rootClient());
    drainEvents();
  }
  void TearDown() override { WShutdown(); }
  ui::Watchdog watchdog_{60000, ::testing::UnitTest::GetInstance()->current_test_info()->name()};
};
