#pragma once
// The periphery tests run with the root window open, as the converter does,
// and close the toolkit after each test.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "support/ui_driver.h"
#include "toolkit/core/error_reporter.h"
#include "toolkit/core/events.h"
#include "toolkit/core/root_window.h"
#include "toolkit/core/window_table.h"
#include "toolkit/dialogs/dialog_table.h"

namespace periphery_test {

// The last toolkit error, cleared.
inline int lastError() { return WErrorStatusQuery(1); }

inline void openRootWindow() {
  RootWindowOptions options;
  options.flags = 0x67;
  options.x = kCentred;
  options.y = kCentred;
  options.width = 512;
  options.height = 256;
  options.title = "Periphery tests";
  WindowOpen2(options);
}

class RootWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    openRootWindow();
    ASSERT_NE(windowTable.slots[0].frame, nullptr);
    lastError();
  }
  void TearDown() override { WShutdown(); }
  ui::Watchdog watchdog_{60000, ::testing::UnitTest::GetInstance()->current_test_info()->name()};
};

}  // namespace periphery_test
