// The test-side UI driver: scripted answers inside modal loops, recorded
// texts, and the watchdog.
#include <windows.h>

#include <string>

#include "root_fixture.h"
#include "support/child_process.h"
#include "toolkit/core/window_select.h"

namespace {

INT_PTR CALLBACK nameDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    char text[64] = {};
    GetDlgItemTextA(dialog, 1003, text, sizeof text);
    *reinterpret_cast<std::string*>(GetWindowLongPtrA(dialog, DWLP_USER)) = text;
    EndDialog(dialog, LOWORD(wParam));
    return TRUE;
  }
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    return TRUE;
  }
  return FALSE;
}

TEST(UiDriver, AnswersMessageBoxesAndDialogsInsideTheirOwnLoopsAndRecordsThem) {
  ui::Watchdog watchdog(60000, "UI driver test");
  ui::UiDriver driver;
  driver.answerNext(ui::UiDriver::press(IDNO));
  EXPECT_EQ(MessageBoxA(nullptr, "Overwrite the file?", "File exists", MB_YESNO), IDNO);
  driver.answerNext(ui::UiDriver::typeThenPress(1003, "Ben Nevis", IDOK));
  std::string typed;
  EXPECT_EQ(DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(102), nullptr, nameDialogProc,
                            reinterpret_cast<LPARAM>(&typed)),
            IDOK);
  EXPECT_EQ(typed, "Ben Nevis");
  // A box nobody scripted is cancelled and recorded as unanswered.
  EXPECT_EQ(MessageBoxA(nullptr, "Unexpected", "Surprise", MB_OKCANCEL), IDCANCEL);
  ASSERT_EQ(driver.seen().size(), 3u);
  EXPECT_EQ(driver.seen()[0].title, "File exists");
  ASSERT_FALSE(driver.seen()[0].texts.empty());
  EXPECT_EQ(driver.seen()[0].texts[0], "Overwrite the file?");
  EXPECT_TRUE(driver.seen()[0].answered);
  EXPECT_EQ(driver.seen()[1].title, "Captioned");
  EXPECT_EQ(driver.seen()[1].texts[0], "Name:");
  EXPECT_EQ(driver.seen()[2].title, "Surprise");
  EXPECT_FALSE(driver.seen()[2].answered);
  EXPECT_EQ(driver.pending(), 0u);
}

using UiDriverWindow = ConverterWindow;

TEST_F(UiDriverWindow, AMenuAnsweredByKeysIsCountedAndItsChoiceArrives) {
  ui::UiDriver driver;
  ui::pressKey('O', ui::kAlt);
  ui::pressKey(VK_RETURN);  // the first item of Options
  EventRecord record;
  ASSERT_EQ(ui::waitEventOfType(kEventMenu, record), kEventMenu);
  EXPECT_EQ(record.value1, 40019);
  EXPECT_GE(driver.menusOpened(), 1);
}

testing_support::ChildScenario hangsInTheEventLoop("hangs-in-event-wait", [] {
  openConverterWindow();
  ui::Watchdog watchdog(1500, "a wait for an event that never comes");
  EventRecord record;
  for (;;) WEventWait(record);
});

TEST(UiDriver, TheWatchdogEndsAProgramThatHangsInTheEventWait) {
  const DWORD start = GetTickCount();
  EXPECT_EQ(testing_support::runChildScenario("hangs-in-event-wait", {}, 30000), 3);
  EXPECT_LT(GetTickCount() - start, 20000u);
}

}  // namespace
