// What the dialog procedure and the control procedures make of user input:
// field changes, buttons from keys, tab changes, drawing-field mouse events,
// trackbar keys, disabled tabs and control colours.
#include <windows.h>

#include <commctrl.h>

#include "dialog_fixture.h"
#include "toolkit/dialogs/controls.h"
#include "toolkit/dialogs/dialog_init.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/dialog_procedure.h"
#include "toolkit/dialogs/field_access.h"
#include "toolkit/dialogs/message_box.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/screen_gdi.h"
#include "toolkit/grid/grid_register.h"

namespace {

using namespace dialog_test;

class DialogEvents : public RootWindow {
 protected:
  void SetUp() override {
    RootWindow::SetUp();
    YYEventEnableSet(kEventFieldChanged, 1);
    YYEventEnableSet(kEventTabChanged, 1);
    YYEventEnableSet(kEventMouseUp, 1);
  }
  void show(int dialog) {
    WDialogLoad(dialog);
    WDialogShow();
    ui::bringToForeground(currentDialog());
    drainEvents();
  }
};

void postCommand(int id, int code) {
  PostMessageA(currentDialog(), WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(item(id)));
}

void postClick(HWND control, POINT at) {
  PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
  PostMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}

POINT tabCentre(HWND tab, int index) {
  RECT r{};
  SendMessageA(tab, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

TEST_F(DialogEvents, FieldChangesArePostedOncePerChange) {
  show(kFieldsDialog);
  postCommand(1007, BN_CLICKED);
  EventRecord record;
  ASSERT_EQ(ui::waitEventOfType(kEventFieldChanged, record), kEventFieldChanged);
  EXPECT_EQ(record.win, kFieldsDialog);
  EXPECT_EQ(record.value2, 1007);

  // Focusing a field is a change once; focusing it again is none.
  postCommand(1001, EN_SETFOCUS);
  ASSERT_EQ(ui::waitEventOfType(kEventFieldChanged, record), kEventFieldChanged);
  EXPECT_EQ(record.value1, 1007);
  EXPECT_EQ(record.value2, 1001);
  postCommand(1001, EN_SETFOCUS);
  EXPECT_EQ(ui::waitEventOfType(kEventFieldChanged, record, 300), ui::kTimedOut);

  // Typing reports only when the field asks for it.
  PostMessageA(item(1001), WM_CHAR, 'a', 1);
  EXPECT_EQ(ui::waitEventOfType(kEventFieldChanged, record, 300), ui::kTimedOut);
  int field = 1001;
  YYFieldOptionSet(field, 3, 1);
  ASSERT_EQ(field, 1001);
  PostMessageA(item(1001), WM_CHAR, 'b', 1);
  ASSERT_EQ(ui::waitEventOfType(kEventFieldChanged, record), kEventFieldChanged);
  EXPECT_EQ(record.value2, 1001);
  EXPECT_EQ(textOf(item(1001)), "ab");
  field = 1007;
  YYFieldOptionSet(field, 3, 1);
  EXPECT_EQ(field, -1);
}

// A key as the event loop reads it from the queue while the dialog is the
// active one (whatever else holds the screen's foreground meanwhile).
void postKey(HWND control, WPARAM key) {
  setActiveModelessDialog(dialogOfControl(control));
  PostMessageA(control, WM_KEYDOWN, key, 1);
  PostMessageA(control, WM_KEYUP, key, 0xC0000001);
}

TEST_F(DialogEvents, EnterAndEscapeAreButtonsOneAndTwo) {
  show(kNoOkDialog);
  SetFocus(item(1501));
  postKey(item(1501), VK_RETURN);
  EventRecord record;
  ASSERT_EQ(ui::waitEventOfType(kEventButton, record), kEventButton);
  EXPECT_EQ(record.win, kNoOkDialog);
  EXPECT_EQ(record.value1, IDOK);
  postKey(item(1501), VK_ESCAPE);
  ASSERT_EQ(ui::waitEventOfType(kEventButton, record), kEventButton);
  EXPECT_EQ(record.value1, IDCANCEL);
  WDialogUnload();

  // Enter presses the default button, Cancel here; not while it is disabled.
  show(kCancelDefaultDialog);
  SetFocus(item(1511));
  postKey(item(1511), VK_RETURN);
  ASSERT_EQ(ui::waitEventOfType(kEventButton, record), kEventButton);
  EXPECT_EQ(record.value1, IDCANCEL);
  EXPECT_EQ(record.value2, 1511);
  EnableWindow(item(IDCANCEL), FALSE);
  SetFocus(item(1511));
  postKey(item(1511), VK_RETURN);
  EXPECT_EQ(ui::waitEventOfType(kEventButton, record, 300), ui::kTimedOut);
}

TEST_F(DialogEvents, EnterInATabPageAsksThePageAndPressesTheOuterDialogsButton) {
  show(kTabsDialog);
  HWND holder = currentDialog();
  WDialogSelect(kExtraPage);
  HWND edit = item(1202);
  EventRecord record;
  // With no active dialog to translate the key, the text field's own
  // procedure answers Enter.
  setActiveModelessDialog(nullptr);
  PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 1);
  ASSERT_EQ(ui::waitEventOfType(kEventButton, record), kEventButton);
  EXPECT_EQ(record.win, kTabsDialog);
  EXPECT_EQ(record.value1, IDOK);
  EXPECT_NE(GetParent(edit), holder);
}

TEST_F(DialogEvents, ATabChangeIsPostedUnlessTheFocusedNumberIsInvalid) {
  show(kTabsDialog);
  HWND tab = item(1101);
  postClick(tab, tabCentre(tab, 0));
  EventRecord record;
  ASSERT_EQ(ui::waitEventOfType(kEventTabChanged, record), kEventTabChanged);
  EXPECT_EQ(record.win, kTabsDialog);
  EXPECT_EQ(record.value1, kExtraPage);
  EXPECT_EQ(record.value2, kGeneralPage);
  const int slot = YYDialogSlotOf(kGeneralPage);
  HWND general = dialogTable.windows[static_cast<std::size_t>(slot)];
  EXPECT_TRUE(IsWindowVisible(general));
  EXPECT_FALSE(IsWindowVisible(dialogTable.windows[static_cast<std::size_t>(YYDialogSlotOf(kExtraPage))]));

  // Page 211's field takes 1 to 10.
  HWND number = GetDlgItem(general, 1201);
  SetFocus(number);
  SendMessageA(number, EM_SETSEL, 0, -1);
  SendMessageA(number, WM_CHAR, '1', 1);
  SendMessageA(number, WM_CHAR, '2', 1);
  postClick(tab, tabCentre(tab, 1));
  EXPECT_EQ(ui::waitEventOfType(kEventTabChanged, record, 400), ui::kTimedOut);
  EXPECT_EQ(SendMessageA(tab, TCM_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(GetFocus(), number);
  EXPECT_TRUE(IsWindowVisible(general));

  // A disabled tab cannot be chosen with the mouse.
  SetWindowTextA(number, "3");
  int tabField = 1101;
  int page = kExtraPage;
  WDialogSelect(kTabsDialog);
  YYTabPageEnable(tabField, page, 0);
  ASSERT_EQ(page, kExtraPage);
  postClick(tab, tabCentre(tab, 1));
  EXPECT_EQ(ui::waitEventOfType(kEventTabChanged, record, 300), ui::kTimedOut);
  EXPECT_EQ(SendMessageA(tab, TCM_GETCURSEL, 0, 0), 0);
  // Nor with the arrow keys.
  SetFocus(tab);
  SendMessageA(tab, WM_KEYDOWN, VK_RIGHT, 1);
  EXPECT_EQ(SendMessageA(tab, TCM_GETCURFOCUS, 0, 0), 0);
  int selected = 0;
  YYTabQuery(tabField, selected);
  EXPECT_EQ(selected, kGeneralPage);
}

TEST_F(DialogEvents, ADrawingFieldReportsItsMouseInputOnlyOnceSelected) {
  show(kFieldsDialog);
  HWND picture = item(1019);
  postClick(picture, POINT{3, 4});
  EventRecord record;
  EXPECT_EQ(ui::waitEventOfType(kEventMouseDown, record, 300), ui::kTimedOut);

  int field = 1019;
  int width = 0;
  int height = 0;
  HDC windowDc = yyGdiContext.DrawDc;
  HWND windowClient = yyGdiContext.DrawWindow;
  YYFieldBackBufferCreate(field, width, height);
  ASSERT_EQ(field, 1019);
  RECT client{};
  GetClientRect(picture, &client);
  EXPECT_EQ(width, client.right);
  EXPECT_EQ(height, client.bottom);
  EXPECT_TRUE(YYDialogHasGraphics(currentDialog()));
  postClick(picture, POINT{3, 4});
  ASSERT_EQ(ui::waitEventOfType(kEventMouseDown, record), kEventMouseDown);
  EXPECT_EQ(record.win, kFieldsDialog);
  EXPECT_EQ(record.value1, 1);
  EXPECT_EQ(record.value3, 1);
  EXPECT_EQ(record.value4, 1019);
  EXPECT_EQ(record.x, 3);
  EXPECT_EQ(record.y, 4);
  ASSERT_EQ(ui::waitEventOfType(kEventMouseUp, record), kEventMouseUp);
  EXPECT_EQ(record.value4, 1019);
  ReleaseDC(picture, yyGdiContext.DrawDc);
  yyGdiContext.DrawDc = windowDc;
  yyGdiContext.DrawWindow = windowClient;
}

TEST_F(DialogEvents, TrackbarKeysSelectTheWholeRangeAndClearIt) {
  show(kFieldsDialog);
  HWND bar = item(1015);
  SetFocus(bar);
  // Ctrl held while A is pressed.
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  postKey(bar, 'A');
  EventRecord record;
  const int got = ui::waitEventOfType(kEventFieldChanged, record);
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
  ASSERT_EQ(got, kEventFieldChanged);
  EXPECT_EQ(record.value2, 1015);
  EXPECT_EQ(SendMessageA(bar, TBM_GETSELSTART, 0, 0), 0);
  EXPECT_EQ(SendMessageA(bar, TBM_GETSELEND, 0, 0), 20);
  int field = 1015;
  int position = 0;
  int start = 0;
  int end = 0;
  YYTrackbarQuery(field, position, start, end);
  EXPECT_EQ(start, 0);
  EXPECT_EQ(end, 20);
  postKey(bar, VK_DELETE);
  ASSERT_EQ(ui::waitEventOfType(kEventFieldChanged, record), kEventFieldChanged);
  YYTrackbarNoSelection(-1);
  YYTrackbarQuery(field, position, start, end);
  EXPECT_EQ(start, -1);
  EXPECT_EQ(end, -1);
  YYTrackbarNoSelection(0);
}

TEST_F(DialogEvents, AGridCellChangeInAModalRunOnlyRecordsTheField) {
  WDialogLoad(kDescriptionTarget);
  ui::UiDriver driver;
  int currentField = 0;
  driver.answerNext([&](HWND copy) {
    SendMessageA(copy, yyGridClasses.cellChangeMessage, 1610, (2 << 18) | 3);
    currentField = currentDialogRecord()->currentField;
    PostMessageA(copy, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  });
  WDialogShow(-1, -1, 0, kShowModal);
  EXPECT_EQ(currentField, 1610);
  EventRecord record;
  EXPECT_EQ(ui::waitEventOfType(kEventFieldChanged, record, 300), ui::kTimedOut);
}

TEST_F(DialogEvents, ControlsPaintInTheirColours) {
  WDialogLoad(kFieldsDialog);
  HDC dc = GetDC(currentDialog());
  // 1001: red text on the system's window colour.
  HBRUSH brush = reinterpret_cast<HBRUSH>(
      SendMessageA(currentDialog(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(item(1001))));
  EXPECT_EQ(brush, GetSysColorBrush(COLOR_WINDOW));
  EXPECT_EQ(GetTextColor(dc), RGB(255, 0, 0));
  // 1016: the system's text on blue.
  brush = reinterpret_cast<HBRUSH>(SendMessageA(currentDialog(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                reinterpret_cast<LPARAM>(item(1016))));
  EXPECT_NE(brush, nullptr);
  EXPECT_EQ(GetBkColor(dc), RGB(0, 0, 255));
  EXPECT_EQ(GetTextColor(dc), GetSysColor(COLOR_WINDOWTEXT));
  // A button with a background of its own writes in the button-text colour.
  int field = 1023;
  YYFieldColoursSet(field, -1, 0, 0, 0, 255, 0);
  ASSERT_EQ(field, 1023);
  SendMessageA(currentDialog(), WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(item(1023)));
  EXPECT_EQ(GetTextColor(dc), GetSysColor(COLOR_BTNTEXT));
  EXPECT_EQ(GetBkColor(dc), RGB(0, 255, 0));
  // Default colours are left to the system.
  EXPECT_EQ(YYDialogCtlColor(currentDialog(), WM_CTLCOLOREDIT, dc, item(1002)), nullptr);
  ReleaseDC(currentDialog(), dc);
}

}  // namespace
