// Dialogs and the toolkit's windows together, driven by real keys and clicks
// that go through the event loop and the dialog-key handling: a dialog
// combined with a child window, a drawing field's user coordinates, Tab out
// of an invalid number, and child windows opened and closed under dialogs.
#include <windows.h>

#include <cmath>

#include "dialog_fixture.h"
#include "support/beep_counter.h"
#include "toolkit/core/child_windows.h"
#include "toolkit/core/window_select.h"
#include "toolkit/dialogs/controls.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/field_access.h"
#include "toolkit/dialogs/message_box.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/output_targets.h"
#include "toolkit/graphics/screen_gdi.h"

namespace {

using namespace dialog_test;

constexpr std::array<int, 4> kNoToolbars{};

int openChild(int flags, int& dialog, const char* title = "child") {
  int slot = 0;
  YYChildWindowCreate(kCentred, kCentred, 240, 140, slot, flags, 0, kNoToolbars, dialog, 0, title);
  return slot;
}

HWND frameOf(int slot) { return windowTable.slots[static_cast<std::size_t>(slot)].frame; }
HWND clientOf(int slot) { return windowTable.slots[static_cast<std::size_t>(slot)].client; }

void clickCentre(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  ui::clickAt(window, r.right / 2, r.bottom / 2);
}

using WindowsWithDialogs = RootWindow;

TEST_F(WindowsWithDialogs, ADialogCombinedWithAChildWindowIsADialogOfTheManager) {
  int dialogNumber = kCombinedDialog;
  const int slot = openChild(0x27, dialogNumber, "Combined");
  ASSERT_GT(slot, 0);
  EXPECT_EQ(dialogNumber, kCombinedDialog);
  HWND frame = frameOf(slot);
  const WindowRecord* windowRecord = windowRecordOf(frame);
  ASSERT_NE(windowRecord, nullptr);
  EXPECT_EQ(windowRecord->kind, kRecordCombinedDialog);
  HWND dialog = windowRecord->dialog;
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(GetParent(dialog), clientOf(slot));
  // It is in the dialog table, current, and knows its window.
  EXPECT_EQ(dialogTable.count, 1);
  EXPECT_EQ(currentDialog(), dialog);
  const DialogRecord* record = dialogRecordOf(dialog);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->identifier, kCombinedDialog);
  EXPECT_EQ(record->combinedWindow, frame);
  EXPECT_EQ(record->ownerWindow, frame);
  EXPECT_EQ(record->shown, 1);
  EXPECT_TRUE(IsWindowVisible(dialog));
  // Its description was read, and the field routines answer for it.
  WDialogPutString(1801, "Harbour");
  FixedText<10> text;
  WDialogGetString(1801, text);
  EXPECT_EQ(text.view(), "Harbour   ");
  WDialogPutInteger(1802, 101);
  EXPECT_EQ(lastError(), 1009);
  WDialogPutInteger(1802, 42);
  int value = 0;
  WDialogGetInteger(1802, value);
  EXPECT_EQ(value, 42);
  EXPECT_EQ(lastError(), 0);

  // A click on its button is a button event of the dialog.
  ui::bringToForeground(clientOf(slot));
  drainEvents();
  clickCentre(item(1803));
  EventRecord event;
  ASSERT_EQ(ui::waitEventOfType(kEventButton, event), kEventButton);
  EXPECT_EQ(event.win, kCombinedDialog);
  EXPECT_EQ(event.value1, 1803);
  // Boxes shown from it are owned by its window, which stays enabled.
  EXPECT_EQ(activeModelessDialog(), dialog);
  EXPECT_EQ(YYModalBoxOwner(), frame);
  YYDialogsDisable(frame, 1);
  EXPECT_TRUE(IsWindowEnabled(dialog));
  EXPECT_TRUE(IsWindowEnabled(frame));
  EXPECT_FALSE(IsWindowEnabled(rootFrame()));
  YYDialogsEnable(frame, 1);
  EXPECT_TRUE(IsWindowEnabled(rootFrame()));

  // It cannot be hidden, unloaded or resized on its own.
  WDialogHide();
  EXPECT_EQ(lastError(), 1047);
  EXPECT_TRUE(IsWindowVisible(dialog));
  WDialogUnload();
  EXPECT_EQ(lastError(), 1047);
  EXPECT_EQ(dialogTable.count, 1);
  int result = 0;
  YYDialogResize(100, 50, result);
  EXPECT_EQ(result, -1);
  int kind = 0;
  YYDialogParentKind(kind);
  EXPECT_EQ(kind, 4);

  // Closing the window unloads it.
  int closing = slot;
  HWND reference = dialog;
  YYChildWindowClose(closing, reference);
  EXPECT_EQ(reference, nullptr);
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_EQ(dialogTable.count, 0);
  EXPECT_EQ(currentDialog(), nullptr);
  EXPECT_EQ(activeModelessDialog(), nullptr);
}

TEST_F(WindowsWithDialogs, ACombinedDialogIsNotTakenFromItsPlaceWhenLoadedAlready) {
  WDialogLoad(kCombinedDialog);
  HWND loaded = currentDialog();
  int dialogNumber = kCombinedDialog;
  const int slot = openChild(0x27, dialogNumber);
  ASSERT_GT(slot, 0);
  EXPECT_EQ(dialogNumber, -1);
  EXPECT_EQ(windowRecordOf(frameOf(slot)), nullptr);
  EXPECT_EQ(GetParent(loaded), rootClient());
  EXPECT_EQ(dialogTable.count, 1);
}

TEST_F(WindowsWithDialogs, AHiddenWindowShowsItsCombinedDialogWhenItIsShown) {
  int dialogNumber = kCombinedDialog;
  const int slot = openChild(0x27 | kFlagHidden, dialogNumber);
  ASSERT_GT(slot, 0);
  HWND dialog = windowRecordOf(frameOf(slot))->dialog;
  EXPECT_EQ(dialogRecordOf(dialog)->shown, 0);
  EXPECT_FALSE(IsWindowVisible(dialog));
  WDialogLoad(kOptionsDialog);
  YYWINSEL(slot, 0);
  int width = kCentred;
  int height = kCentred;
  YYWindowPlacementSet(kCentred, kCentred, width, height, 1);
  EXPECT_TRUE(IsWindowVisible(frameOf(slot)));
  EXPECT_TRUE(IsWindowVisible(dialog));
  EXPECT_EQ(dialogRecordOf(dialog)->shown, 1);
  EXPECT_EQ(dialogRecordOf(dialog)->ownerWindow, frameOf(slot));
  EXPECT_EQ(dialogTable.currentIdentifier, kOptionsDialog);
  EXPECT_EQ(dialogRecordOf(currentDialog())->identifier, kOptionsDialog);
  YYWINSEL(0, 0);
}

TEST_F(WindowsWithDialogs, ClosingAWindowWithACombinedDialogKeepsTheProgramsCurrentDialog) {
  int dialogNumber = kCombinedDialog;
  const int slot = openChild(0x27, dialogNumber);
  ASSERT_GT(slot, 0);
  WDialogLoad(kOptionsDialog);
  HWND options = currentDialog();
  int closing = slot;
  HWND reference = nullptr;
  YYChildWindowClose(closing, reference);
  EXPECT_EQ(dialogTable.count, 1);
  EXPECT_EQ(currentDialog(), options);
  EXPECT_EQ(dialogTable.currentIdentifier, kOptionsDialog);
}

TEST_F(WindowsWithDialogs, AClickInADrawingFieldGivesTheFieldsUserCoordinates) {
  WDialogLoad(kDrawingDialog);
  WDialogShow(40, 40);
  HWND drawing = currentDialog();
  HWND field = item(1821);
  // The program draws in the field, then in its window again.
  IGrSelect(kTargetField, 1821);
  EXPECT_EQ(yyGdiContext.DrawWindow, field);
  IGrSelect(kTargetWindow, 0);
  // Another dialog is current when the click comes.
  WDialogLoad(kOptionsDialog);
  HWND options = currentDialog();
  ui::bringToForeground(field);
  drainEvents();
  RECT client{};
  GetClientRect(field, &client);
  ASSERT_GT(client.right, 20);
  ui::clickAt(field, 3, 4);
  EventRecord event;
  ASSERT_EQ(ui::waitEventOfType(kEventMouseDown, event), kEventMouseDown);
  EXPECT_EQ(event.win, kDrawingDialog);
  EXPECT_EQ(event.value3, 1);
  EXPECT_EQ(event.value4, 1821);
  EXPECT_EQ(event.x, 3);
  EXPECT_EQ(event.y, 4);
  // The field's own size scales the position into the unit square.
  const double w = client.right;
  const double h = client.bottom;
  EXPECT_NEAR(event.gx, (3 + 0.5) / (w - 0.01), 1e-4);
  EXPECT_NEAR(event.gy, ((h - 1) - 4 + 0.5) / (h - 0.01), 1e-4);
  // The program's current dialog and graphics target are as they were.
  EXPECT_EQ(currentDialog(), options);
  EXPECT_EQ(dialogTable.currentIdentifier, kOptionsDialog);
  EXPECT_EQ(yyGrAttributes.TargetKind, kTargetWindow);
  EXPECT_EQ(lastError(), 0);
  WDialogSelect(kDrawingDialog);
  EXPECT_EQ(currentDialog(), drawing);
}

TEST_F(WindowsWithDialogs, TheCursorMovesOverTheDrawingFieldAndAFieldWithoutAContextLeavesTheScreen) {
  WDialogLoad(kDrawingDialog);
  WDialogShow(40, 40);
  HWND field = item(1821);
  IGrSelect(kTargetField, 1821);
  YYCursorMove(5, 6, 3);
  POINT at{};
  GetCursorPos(&at);
  POINT expected{5, 6};
  ClientToScreen(field, &expected);
  EXPECT_EQ(at.x, expected.x);
  EXPECT_EQ(at.y, expected.y);
  YYCursorMove(7, 8, 1);
  GetCursorPos(&at);
  expected = POINT{7, 8};
  ClientToScreen(rootClient(), &expected);
  EXPECT_EQ(at.x, expected.x);
  EXPECT_EQ(at.y, expected.y);

  // A field that cannot be drawn on: the engine draws on the screen, not on
  // the field drawn on before.
  int missing = 1899;
  int width = 0;
  int height = 0;
  YYFieldBackBufferCreate(missing, width, height);
  EXPECT_EQ(missing, -1);
  ASSERT_NE(yyGdiContext.DrawDc, nullptr);
  EXPECT_EQ(WindowFromDC(yyGdiContext.DrawDc), rootClient());
  IGrSelect(kTargetWindow, 0);
  EXPECT_EQ(WindowFromDC(yyGdiContext.DrawDc), rootClient());
}

class TabOut : public RootWindow {
 protected:
  void SetUp() override {
    RootWindow::SetUp();
    WDialogLoad(kBetweenButtonsDialog);
    WDialogPutInteger(1811, 5);
    WDialogShow(-1, -1, 1811);
    ui::bringToForeground(item(1811));
    drainEvents();
  }
};

TEST_F(TabOut, TabAndShiftTabOutOfAnInvalidNumberOntoAButtonBeepAndRefocus) {
  struct Case {
    unsigned modifiers;
    const char* direction;
  };
  for (const Case& c : {Case{0, "Tab onto Cancel"}, Case{ui::kShift, "Shift+Tab onto Back"}}) {
    SCOPED_TRACE(c.direction);
    ui::BeepCounter beeps;
    ASSERT_TRUE(beeps.armed());
    SetFocus(item(1811));
    ui::pressKey('A', ui::kCtrl);
    ui::typeText("12");
    drainEvents();
    ASSERT_EQ(textOf(item(1811)), "12");
    const int before = beeps.count();
    ui::pressKey(VK_TAB, c.modifiers);
    drainEvents();
    EXPECT_EQ(GetFocus(), item(1811));
    EXPECT_TRUE(wholeTextSelected(item(1811)));
    EXPECT_EQ(beeps.count(), before + 1);
    EXPECT_EQ(dialogState.pendingInvalidField, nullptr);
    EXPECT_EQ(textOf(item(1811)), "12");
  }
  // A valid number goes on to the button.
  ui::pressKey('A', ui::kCtrl);
  ui::typeText("7");
  ui::pressKey(VK_TAB);
  drainEvents();
  EXPECT_EQ(GetFocus(), item(IDCANCEL));
  int value = 0;
  WDialogGetInteger(1811, value);
  EXPECT_EQ(value, 7);
}

TEST_F(TabOut, AClickOnCancelStillRestoresTheLastValidNumberWithoutABeep) {
  ui::BeepCounter beeps;
  ui::pressKey('A', ui::kCtrl);
  ui::typeText("12");
  drainEvents();
  clickCentre(item(IDCANCEL));
  EventRecord event;
  ASSERT_EQ(ui::waitEventOfType(kEventButton, event), kEventButton);
  EXPECT_EQ(event.value1, IDCANCEL);
  EXPECT_EQ(textOf(item(1811)), "5");
  EXPECT_EQ(beeps.count(), 0);
}

TEST_F(WindowsWithDialogs, AChildWindowClosedUnderItsDialogsHandsThemToItsPreviousOwner) {
  int none = 0;
  const int slot = openChild(0x27, none, "Working window");
  ASSERT_GT(slot, 0);
  HWND frame = frameOf(slot);
  EXPECT_EQ(windowTable.slots[static_cast<std::size_t>(slot)].previousOwner, rootFrame());
  // A click in the window makes it the owner of the dialogs shown next.
  ui::bringToForeground(clientOf(slot));
  clickCentre(clientOf(slot));
  drainEvents();
  ASSERT_EQ(windowTable.ownerWindow, frame);
  WDialogLoad(kOptionsDialog);
  WDialogShow(10, 10);
  HWND options = currentDialog();
  const DialogRecord* record = dialogRecordOf(options);
  ASSERT_EQ(record->ownerWindow, frame);
  EXPECT_EQ(record->reactivationWindow, frame);

  // The user closes the window with Alt+F4; the program closes it.
  ui::bringToForeground(clientOf(slot));
  ui::pressKey(VK_F4, ui::kAlt);
  EventRecord event;
  ASSERT_EQ(ui::waitEventOfType(kEventClose, event), kEventClose);
  ASSERT_EQ(event.win, slot);
  int closing = slot;
  HWND reference = nullptr;
  YYChildWindowClose(closing, reference);
  EXPECT_EQ(record->ownerWindow, rootFrame());
  EXPECT_EQ(record->reactivationWindow, rootFrame());
  EXPECT_NE(windowTable.ownerWindow, frame);

  // Escape in the dialog: the program hides it, and the focus goes home.
  ui::bringToForeground(item(1305));
  ui::pressKey(VK_ESCAPE);
  ASSERT_EQ(ui::waitEventOfType(kEventButton, event), kEventButton);
  EXPECT_EQ(event.value1, IDCANCEL);
  WDialogHide();
  EXPECT_EQ(lastError(), 0);
  EXPECT_FALSE(IsWindowVisible(options));
  EXPECT_EQ(GetFocus(), rootClient());
}

TEST_F(WindowsWithDialogs, AChildWindowOpenedUnderASemiModelessDialogIsDisabled) {
  WDialogLoad(kTomTomDialog);
  WDialogShow(10, 10, 0, kShowSemiModeless);
  HWND tomtom = currentDialog();
  int none = 0;
  const int slot = openChild(0x27, none, "Opened meanwhile");
  ASSERT_GT(slot, 0);
  HWND frame = frameOf(slot);
  EXPECT_FALSE(IsWindowEnabled(frame));
  // It takes no clicks while the dialog is up.
  clickCentre(clientOf(slot));
  EventRecord event;
  EXPECT_EQ(ui::waitEventOfType(kEventMouseDown, event, 400), ui::kTimedOut);
  // Escape in the dialog; the program hides it, and the window comes alive.
  ui::bringToForeground(item(1401));
  ui::pressKey(VK_ESCAPE);
  ASSERT_EQ(ui::waitEventOfType(kEventButton, event), kEventButton);
  EXPECT_EQ(event.win, kTomTomDialog);
  WDialogSelect(kTomTomDialog);
  WDialogHide();
  EXPECT_FALSE(IsWindowVisible(tomtom));
  EXPECT_TRUE(IsWindowEnabled(frame));
  ui::bringToForeground(clientOf(slot));
  clickCentre(clientOf(slot));
  ASSERT_EQ(ui::waitEventOfType(kEventMouseDown, event), kEventMouseDown);
  EXPECT_EQ(event.win, slot);
}

TEST_F(WindowsWithDialogs, AFocusFieldThatNamesNoControlLeavesTheFocusWhereItIs) {
  WDialogLoad(kOptionsDialog);
  HWND options = currentDialog();
  WDialogShow(-1, -1, 1305);
  HWND focused = GetFocus();
  ASSERT_EQ(focused, item(1305));
  WDialogHide();
  SetFocus(item(1305));
  WDialogShow(-1, -1, 4242);
  EXPECT_EQ(GetFocus(), item(1305));
  EXPECT_NE(GetFocus(), options);
  EXPECT_EQ(dialogRecordOf(options)->previousField, 1305);
}

}  // namespace
