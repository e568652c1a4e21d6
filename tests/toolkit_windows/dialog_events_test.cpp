// Dialog events through the lookup the dialog manager fills: buttons, field
// changes, and the field change held back behind an event not yet returned.
#include <windows.h>

#include "root_fixture.h"

namespace {

HWND fakeDialog = nullptr;
int lastNotification = 5;

bool lookup(HWND window, DialogEventSource& source) {
  if (window != fakeDialog) return false;
  source.identifier = 105;
  source.previousFocus = 1024;
  source.previousField = 1023;
  source.currentField = 1024;
  source.lastNotification = &lastNotification;
  source.pageBefore = 1;
  source.pageNow = 2;
  return true;
}

constexpr UINT kMenuThenFieldChange = WM_APP;
constexpr UINT kFieldChange = WM_APP + 1;
constexpr UINT kButton = WM_APP + 2;
constexpr UINT kTab = WM_APP + 3;

LRESULT CALLBACK fakeDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kMenuThenFieldChange:
      YYEventPost(kEventMenu, 0, 40002, 0, rootFrame());
      YYEventPost(kEventFieldChanged, 0, 0, 77, window);
      return 0;
    case kFieldChange:
      YYEventPost(kEventFieldChanged, 0, 0, lParam, window);
      return 0;
    case kButton:
      YYEventPost(kEventButton, 0, MAKEWPARAM(1, BN_CLICKED), 0, window);
      return 0;
    case kTab:
      YYEventPost(kEventTabChanged, 0, 0, 0, window);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

class DialogEvents : public ConverterWindow {
 protected:
  void SetUp() override {
    ConverterWindow::SetUp();
    WNDCLASSA wc{};
    wc.lpfnWndProc = fakeDialogProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "CarrowFakeDialog";
    RegisterClassA(&wc);
    fakeDialog = CreateWindowExA(0, "CarrowFakeDialog", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 wc.hInstance, nullptr);
    dialogEventLookup = lookup;
    lastNotification = 5;
    YYEventEnableSet(kEventFieldChanged, 1);
    YYEventEnableSet(kEventTabChanged, 1);
  }
  void TearDown() override {
    dialogEventLookup = nullptr;
    DestroyWindow(fakeDialog);
    ConverterWindow::TearDown();
  }
};

TEST_F(DialogEvents, AFieldChangeBehindAnEventNotYetReturnedIsHeldForTheNextWait) {
  PostMessageA(fakeDialog, kMenuThenFieldChange, 0, 0);
  EventRecord record;
  ASSERT_EQ(ui::waitEvent(record), kEventMenu);
  EXPECT_EQ(record.value1, 40002);
  ASSERT_EQ(ui::waitEvent(record), kEventFieldChanged);
  EXPECT_EQ(record.win, 105);
  EXPECT_EQ(record.value1, 1023);
  EXPECT_EQ(record.value2, 1024);
  EXPECT_EQ(record.value3, 0);
  EXPECT_EQ(record.x, 5);
  EXPECT_EQ(record.y, 77);
  EXPECT_EQ(lastNotification, 77);
}

TEST_F(DialogEvents, ButtonsFieldChangesAndTabsCarryTheDialogsValues) {
  PostMessageA(fakeDialog, kFieldChange, 0, 88);
  EventRecord record;
  ASSERT_EQ(ui::waitEvent(record), kEventFieldChanged);
  EXPECT_EQ(record.win, 105);
  EXPECT_EQ(record.x, 5) << "the previous notification value";
  EXPECT_EQ(record.y, 88);
  PostMessageA(fakeDialog, kButton, 0, 0);
  ASSERT_EQ(ui::waitEvent(record), kEventButton);
  EXPECT_EQ(record.win, 105);
  EXPECT_EQ(record.value1, 1);
  EXPECT_EQ(record.value2, 1024);
  EXPECT_EQ(record.value3, -1);
  PostMessageA(fakeDialog, kTab, 0, 0);
  ASSERT_EQ(ui::waitEvent(record), kEventTabChanged);
  EXPECT_EQ(record.value1, 1);
  EXPECT_EQ(record.value2, 2);
  // Without the dialog manager's lookup a dialog window makes no event.
  dialogEventLookup = nullptr;
  PostMessageA(fakeDialog, kButton, 0, 0);
  EXPECT_EQ(ui::waitEvent(record, 400), ui::kTimedOut);
}

}  // namespace
