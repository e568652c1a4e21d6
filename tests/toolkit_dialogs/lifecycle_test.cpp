// The dialog table and the show modes: loading, selecting and unloading,
// modeless and semi-modeless dialogs, modal runs on a copy, and tab pages.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "dialog_fixture.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/field_access.h"
#include "toolkit/dialogs/message_box.h"

namespace {

using namespace dialog_test;
using Lifecycle = RootWindow;

void typeInto(HWND field, std::string_view text) {
  SendMessageA(field, EM_SETSEL, 0, -1);
  for (char c : text) SendMessageA(field, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(c)), 1);
}

HWND pageWindow(int identifier) {
  const int slot = YYDialogSlotOf(identifier);
  return slot >= 0 ? dialogTable.windows[static_cast<std::size_t>(slot)] : nullptr;
}

TEST_F(Lifecycle, TheTableKeepsLoadedDialogsPackedInLoadOrder) {
  WDialogLoad(kOptionsDialog);
  HWND first = currentDialog();
  WDialogLoad(kOptionsDialog);
  EXPECT_EQ(dialogTable.count, 1);
  EXPECT_EQ(currentDialog(), first);

  for (int id = 302; id <= 305; ++id) WDialogLoad(kOptionsDialog, id);
  ASSERT_EQ(dialogTable.count, 5);
  EXPECT_EQ(WQueryLastResult(kLastDialogIdentifier), 305);
  const HWND fourth = dialogTable.windows[4];
  const HWND fifth = dialogTable.windows[5];
  WDialogSelect(303);
  EXPECT_EQ(dialogTable.currentSlot, 3);
  EXPECT_EQ(WQueryLastResult(kLastDialogIdentifier), 303);
  WDialogUnload();
  EXPECT_EQ(lastError(), 0);
  EXPECT_EQ(dialogTable.count, 4);
  EXPECT_EQ(dialogTable.windows[3], fourth);
  EXPECT_EQ(dialogTable.windows[4], fifth);
  EXPECT_EQ(dialogTable.windows[5], nullptr);
  EXPECT_EQ(currentDialog(), nullptr);
  EXPECT_EQ(WQueryLastResult(kLastDialogIdentifier), 0);
  EXPECT_EQ(YYDialogSlotOf(305), 4);
  EXPECT_EQ(YYDialogSlotOf(303), -1);

  WDialogSelect(999);
  EXPECT_EQ(lastError(), 1008);
  WDialogLoad(9999);
  EXPECT_EQ(lastError(), 1007);
  EXPECT_EQ(dialogTable.count, 4);
  WDialogUnload();
  EXPECT_EQ(lastError(), 1005);
  WDialogShow();
  EXPECT_EQ(lastError(), 1005);
  WDialogTitle("x");
  EXPECT_EQ(lastError(), 1005);
  WDialogHide();
  EXPECT_EQ(lastError(), 0);
}

TEST_F(Lifecycle, TheHundredAndFirstDialogIsRefused) {
  for (int id = 1; id <= kMaxDialogs; ++id) WDialogLoad(kChildDialog, 5000 + id);
  ASSERT_EQ(dialogTable.count, kMaxDialogs);
  EXPECT_EQ(lastError(), 0);
  WDialogLoad(kChildDialog, 7000);
  EXPECT_EQ(lastError(), 1007);
  EXPECT_EQ(dialogTable.count, kMaxDialogs);
  EXPECT_EQ(YYDialogSlotOf(7000), -1);
  // Loading one that is there still only selects it.
  WDialogLoad(kChildDialog, 5050);
  EXPECT_EQ(lastError(), 0);
  EXPECT_EQ(dialogTable.currentSlot, 50);
}

TEST_F(Lifecycle, ModelessDialogsAreCentredWhereAskedAndHiddenAgain) {
  WDialogLoad(kOptionsDialog);
  WDialogShow(-1, 100);
  EXPECT_EQ(lastError(), 0);
  HWND dialog = currentDialog();
  EXPECT_TRUE(IsWindowVisible(dialog));
  EXPECT_EQ(dialogRecordOf(dialog)->shown, 1);
  EXPECT_EQ(dialogRecordOf(dialog)->showMode, kShowModeless);
  RECT r{};
  GetWindowRect(dialog, &r);
  EXPECT_EQ(r.top, 100);
  EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2);
  EXPECT_EQ(WQueryLastResult(kLastDialogY), 100);
  EXPECT_EQ(WQueryLastResult(kLastDialogWidth), r.right - r.left);
  EXPECT_EQ(WQueryLastResult(kLastParentKind), 1);

  // Showing it again only raises it: the position is not taken.
  WDialogShow(10, 10, 0, kShowSemiModeless);
  GetWindowRect(dialog, &r);
  EXPECT_EQ(r.top, 100);
  EXPECT_EQ(dialogRecordOf(dialog)->showMode, kShowModeless);
  EXPECT_TRUE(IsWindowEnabled(rootFrame()));

  WDialogHide();
  EXPECT_FALSE(IsWindowVisible(dialog));
  EXPECT_EQ(dialogRecordOf(dialog)->shown, 0);
  EXPECT_EQ(dialogTable.count, 1);

  // The focus field gets the focus and its text selected.
  WDialogPutString(1305, "Pick me");
  WDialogShow(-1, -1, 1305);
  EXPECT_EQ(GetFocus(), item(1305));
  EXPECT_EQ(dialogRecordOf(dialog)->previousField, 1305);
  WDialogTitle("Renamed options");
  EXPECT_EQ(textOf(dialog), "Renamed options");
  WDialogTitle(std::nullopt, 12345);
  EXPECT_EQ(lastError(), 1015);
}

TEST_F(Lifecycle, SemiModelessDialogsDisableTheRestAndPostTheirButtons) {
  YYEventEnableSet(kEventFieldChanged, 0);
  WDialogLoad(kTomTomDialog);
  WDialogShow(-1, -1, 0, kShowSemiModeless);
  EXPECT_EQ(lastError(), 0);
  HWND tomtom = currentDialog();
  EXPECT_FALSE(IsWindowEnabled(rootFrame()));
  EXPECT_TRUE(IsWindowEnabled(tomtom));
  EXPECT_EQ(dialogTable.semiModalCount, 1);

  // Its buttons arrive as events 3 with the dialog's identifier.
  for (int button : {IDOK, IDCANCEL, 9}) {
    SCOPED_TRACE(button);
    PostMessageA(tomtom, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(tomtom, button)));
    EventRecord record;
    ASSERT_EQ(ui::waitEventOfType(kEventButton, record), kEventButton);
    EXPECT_EQ(record.win, kTomTomDialog);
    EXPECT_EQ(record.value1, button);
  }
  // F1 is the help button: the system turns the key into WM_KEYF1 and
  // that into WM_HELP for the dialog.
  constexpr UINT kKeyF1 = 0x004D;
  SetFocus(GetDlgItem(tomtom, 1401));
  PostMessageA(GetDlgItem(tomtom, 1401), kKeyF1, 0, 0);
  EventRecord record;
  ASSERT_EQ(ui::waitEventOfType(kEventButton, record), kEventButton);
  EXPECT_EQ(record.value1, 9);

  // A modeless request meanwhile is shown semi-modeless, with 1014.
  WDialogLoad(kOptionsDialog);
  WDialogShow();
  EXPECT_EQ(lastError(), 1014);
  EXPECT_EQ(dialogRecordOf(currentDialog())->showMode, kShowSemiModeless);
  EXPECT_EQ(dialogTable.semiModalCount, 2);
  WDialogHide();
  EXPECT_FALSE(IsWindowEnabled(rootFrame()));
  WDialogSelect(kTomTomDialog);
  WDialogHide();
  EXPECT_EQ(dialogTable.semiModalCount, 0);
  EXPECT_TRUE(IsWindowEnabled(rootFrame()));
  WDialogUnload();
  EXPECT_EQ(lastError(), 0);
}

TEST_F(Lifecycle, AChildStyleDialogIsAlwaysShownModeless) {
  WDialogLoad(kChildDialog);
  WDialogShow(0, 0, 0, kShowModal);
  EXPECT_EQ(lastError(), 1014);
  HWND child = currentDialog();
  EXPECT_TRUE(IsWindowVisible(child));
  EXPECT_EQ(GetParent(child), rootClient());
  EXPECT_EQ(activeModelessDialog(), child);
  EXPECT_FALSE(windowTable.modalSnapshotMode);
  EXPECT_EQ(windowTable.slots[0].snapshot, nullptr);
  EXPECT_EQ(WQueryLastResult(kLastParentKind), 2);
  // A child dialog's position is in window units of its parent.
  const int x = WQueryLastResult(kLastDialogX);
  EXPECT_GE(x, 0);
  EXPECT_LE(x, 9999);
}

// The user works on a copy; a number out of range keeps it open, a valid one
// is copied back and the way it closed is the last result.
TEST_F(Lifecycle, AModalRunRefusesAnInvalidNumberAndCopiesTheValidOneBack) {
  WDialogLoad(kOptionsDialog);
  WDialogPutInteger(1301, 100);
  WDialogPutReal(1302, 2.5f);
  WDialogPutCheckBox(1304, 1);
  WDialogPutOption(1303, 3);
  HWND loaded = currentDialog();
  ui::UiDriver driver;
  struct Seen {
    bool copyInSlot0 = false;
    std::string altitude, proximity, symbol;
    int checked = 0;
    double minimum = 0.0;
    bool formatShared = false;
    bool refused = false;
    bool focusBack = false;
  } seen;
  driver.answerNext([&](HWND copy) {
    seen.copyInSlot0 = YYDialogSlotOf(kOptionsDialog) == 0 && dialogTable.windows[0] == copy;
    seen.altitude = textOf(GetDlgItem(copy, 1301));
    seen.proximity = textOf(GetDlgItem(copy, 1302));
    seen.symbol = textOf(GetDlgItem(copy, 1303));
    seen.checked = static_cast<int>(IsDlgButtonChecked(copy, 1304));
    seen.minimum = fieldRecordOf(GetDlgItem(copy, 1301))->minimum;
    seen.formatShared = fieldRecordOf(GetDlgItem(copy, 1302))->format == fieldRecordOf(GetDlgItem(loaded, 1302))->format;
    HWND altitude = GetDlgItem(copy, 1301);
    SetFocus(altitude);
    typeInto(altitude, "99999");
    SendMessageA(copy, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(copy, IDOK)));
    seen.refused = dialogTable.windows[0] == copy;
    seen.focusBack = GetFocus() == altitude;
    typeInto(altitude, "1234");
    PostMessageA(copy, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(copy, IDOK)));
  });
  WDialogShow(-1, -1, 0, kShowModal);
  EXPECT_EQ(lastError(), 0);
  ASSERT_EQ(driver.seen().size(), 1u);
  EXPECT_EQ(driver.seen()[0].title, "Options");
  EXPECT_TRUE(seen.copyInSlot0);
  EXPECT_EQ(seen.altitude, "100");
  EXPECT_EQ(seen.proximity, "2.5");
  EXPECT_EQ(seen.symbol, "House");
  EXPECT_EQ(seen.checked, 1);
  EXPECT_EQ(seen.minimum, -1000.0);
  EXPECT_TRUE(seen.formatShared);
  EXPECT_TRUE(seen.refused);
  EXPECT_TRUE(seen.focusBack);

  EXPECT_EQ(WQueryLastResult(kLastExitButton), IDOK);
  EXPECT_EQ(WQueryLastResult(kLastFocusField), 1301);
  EXPECT_EQ(WQueryLastResult(kLastModalIdentifier), kOptionsDialog);
  EXPECT_EQ(dialogTable.windows[0], nullptr);
  EXPECT_EQ(YYDialogSlotOf(kOptionsDialog), 1);
  EXPECT_FALSE(IsWindowVisible(loaded));
  EXPECT_FALSE(windowTable.modalSnapshotMode);
  EXPECT_TRUE(IsWindowEnabled(rootFrame()));
  int altitude = 0;
  WDialogGetInteger(1301, altitude);
  EXPECT_EQ(altitude, 1234);
  float proximity = 0.0f;
  WDialogGetReal(1302, proximity);
  EXPECT_EQ(proximity, 2.5f);

  // Cancel, and the close box, end a run with button 2.
  driver.answerNext(ui::UiDriver::press(IDCANCEL));
  WDialogShow(-1, -1, 0, kShowModal);
  EXPECT_EQ(WQueryLastResult(kLastExitButton), IDCANCEL);
  driver.answerNext([](HWND copy) { PostMessageA(copy, WM_SYSCOMMAND, SC_CLOSE, 0); });
  WDialogShow(-1, -1, 0, kShowModal);
  EXPECT_EQ(WQueryLastResult(kLastExitButton), IDCANCEL);
  EXPECT_EQ(driver.pending(), 0u);
}

TEST_F(Lifecycle, AModalRunOnAnotherTemplateCopiesOnlyWhatMatches) {
  ui::UiDriver driver;
  // Template 221 loaded as 220: the run shows template 220.
  WDialogLoad(kOtherOptionsDialog, kOptionsDialog);
  WDialogPutString(1301, "text");
  std::string shownAltitude = "unset";
  driver.answerNext([&](HWND copy) {
    shownAltitude = textOf(GetDlgItem(copy, 1301));
    PostMessageA(copy, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  });
  WDialogShow(-1, -1, 0, kShowModal);
  ASSERT_EQ(driver.seen().size(), 1u);
  EXPECT_EQ(driver.seen()[0].title, "Other options");
  EXPECT_EQ(shownAltitude, "");
  EXPECT_EQ(WQueryLastResult(kLastExitButton), IDOK);
  EXPECT_EQ(textOf(item(1301)), "text");

  // No template carries the identifier: the run closes without a button.
  WDialogLoad(kOtherOptionsDialog, 999);
  WDialogShow(-1, -1, 0, kShowModal);
  EXPECT_EQ(driver.seen().size(), 1u);
  EXPECT_EQ(WQueryLastResult(kLastExitButton), 0);
  EXPECT_EQ(WQueryLastResult(kLastModalIdentifier), 999);
  EXPECT_EQ(dialogTable.windows[0], nullptr);
  EXPECT_TRUE(IsWindowEnabled(rootFrame()));
  EXPECT_FALSE(windowTable.modalSnapshotMode);
}

TEST_F(Lifecycle, TabPagesAreLoadedWithTheirHolderAndAttachedWhenItShows) {
  WDialogLoad(kTabsDialog);
  HWND holder = currentDialog();
  HWND general = pageWindow(kGeneralPage);
  HWND extra = pageWindow(kExtraPage);
  ASSERT_NE(general, nullptr);
  ASSERT_NE(extra, nullptr);
  EXPECT_EQ(dialogTable.currentSlot, 1);
  EXPECT_EQ(SendMessageA(item(1101), TCM_GETCURSEL, 0, 0), 1);

  WDialogShow();
  EXPECT_EQ(GetParent(general), holder);
  EXPECT_TRUE(IsWindowVisible(extra));
  EXPECT_FALSE(IsWindowVisible(general));
  // A page cannot be hidden or unloaded on its own.
  WDialogSelect(kExtraPage);
  WDialogHide();
  EXPECT_EQ(lastError(), 1069);
  WDialogUnload();
  EXPECT_EQ(lastError(), 1069);
  EXPECT_TRUE(IsWindowVisible(extra));
  // A caption-less page renames its tab.
  WDialogTitle("Renamed");
  char label[32] = {};
  TCITEMA tabItem{};
  tabItem.mask = TCIF_TEXT;
  tabItem.pszText = label;
  tabItem.cchTextMax = sizeof label;
  SendMessageA(GetDlgItem(holder, 1101), TCM_GETITEMA, 1, reinterpret_cast<LPARAM>(&tabItem));
  EXPECT_STREQ(label, "Renamed");

  // Unloading with flag 1 keeps the pages; with 0 they go too.
  WDialogSelect(kTabsDialog);
  WDialogUnload(1);
  EXPECT_EQ(dialogTable.count, 2);
  EXPECT_EQ(pageWindow(kGeneralPage), general);
  EXPECT_EQ(GetParent(general), rootClient());
  EXPECT_FALSE(IsWindowVisible(extra));
  WDialogLoad(kTabsDialog);
  EXPECT_EQ(dialogTable.count, 3);
  WDialogUnload();
  EXPECT_EQ(dialogTable.count, 0);
}

TEST_F(Lifecycle, AModalRunAttachesThePagesToTheCopy) {
  WDialogLoad(kTabsDialog);
  HWND general = pageWindow(kGeneralPage);
  ui::UiDriver driver;
  bool attached = false;
  driver.answerNext([&](HWND copy) {
    attached = GetParent(general) == copy;
    PostMessageA(copy, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  });
  WDialogShow(-1, -1, 0, kShowModal);
  EXPECT_TRUE(attached);
  EXPECT_EQ(GetParent(general), rootClient());
  EXPECT_FALSE(IsWindowVisible(general));
  EXPECT_EQ(WQueryLastResult(kLastExitButton), IDOK);
}

}  // namespace
