#pragma once
// The dialog tests run with the root window open, as the converter does, and
// close the toolkit after each test.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "support/ui_driver.h"
#include "toolkit/core/error_reporter.h"
#include "toolkit/core/events.h"
#include "toolkit/core/root_window.h"
#include "toolkit/core/window_table.h"
#include "toolkit/dialogs/dialog_table.h"

namespace dialog_test {

// Dialog templates of toolkit_dialogs.rc.
constexpr int kFieldsDialog = 200;
constexpr int kTabsDialog = 210;
constexpr int kGeneralPage = 211;
constexpr int kExtraPage = 212;
constexpr int kThirdPage = 213;
constexpr int kOptionsDialog = 220;
constexpr int kOtherOptionsDialog = 221;
constexpr int kTomTomDialog = 230;
constexpr int kChildDialog = 240;
constexpr int kNoOkDialog = 250;
constexpr int kCancelDefaultDialog = 251;
constexpr int kDescriptionTarget = 260;
constexpr int kCombinedDialog = 270;
constexpr int kBetweenButtonsDialog = 271;
constexpr int kDrawingDialog = 272;

inline HWND rootFrame() { return windowTable.slots[0].frame; }
inline HWND rootClient() { return windowTable.slots[0].client; }
inline HWND currentDialog() { return currentDialogWindow(); }
inline HWND item(int id) { return GetDlgItem(currentDialogWindow(), id); }

using ui::textOf;

// The last toolkit error, cleared.
inline int lastError() { return WErrorStatusQuery(1); }

inline void openRootWindow() {
  RootWindowOptions options;
  options.flags = 0x67;
  options.x = kCentred;
  options.y = kCentred;
  options.width = 512;
  options.height = 256;
  options.title = "Dialog tests";
  WindowOpen2(options);
}

// True when the whole text of an edit field is selected.
inline bool wholeTextSelected(HWND field) {
  DWORD start = 1;
  DWORD end = 0;
  SendMessageA(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return start == 0 && end == static_cast<DWORD>(GetWindowTextLengthA(field));
}

inline void drainEvents() {
  EventRecord record;
  while (ui::waitEvent(record, 100) != ui::kTimedOut) {
  }
}

class RootWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    openRootWindow();
    ASSERT_NE(rootFrame(), nullptr);
    ui::bringToForeground(rootClient());
    drainEvents();
    lastError();
  }
  void TearDown() override { WShutdown(); }
  ui::Watchdog watchdog_{60000, ::testing::UnitTest::GetInstance()->current_test_info()->name()};
};

}  // namespace dialog_test
