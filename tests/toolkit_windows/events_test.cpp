// Events from real input: menus, the close box, resizes and exposes with the
// parking rules, keys and mouse buttons.
#include <windows.h>
#include <commctrl.h>

#include "root_fixture.h"
#include "toolkit/core/window_select.h"

namespace {

using Events = ConverterWindow;

TEST_F(Events, MenuChoiceByKeyboardAndByAcceleratorArrivesAsEvent2) {
  ui::UiDriver driver;
  // File > Append: the menu's own loop reads the keys.
  ui::pressKey('F', ui::kAlt);
  ui::pressKey(VK_DOWN);
  ui::pressKey(VK_RETURN);
  EventRecord record;
  ASSERT_EQ(ui::waitEventOfType(kEventMenu, record), kEventMenu);
  EXPECT_EQ(record.win, 0);
  EXPECT_EQ(record.value1, 40016);
  EXPECT_EQ(record.value2, -1);
  EXPECT_EQ(record.x, -1);
  EXPECT_EQ(record.y, -1);

  ui::pressKey('O', ui::kCtrl);
  ASSERT_EQ(ui::waitEventOfType(kEventMenu, record), kEventMenu);
  EXPECT_EQ(record.value1, 40002);

  // A toolbar button sends the same command.
  HWND toolbar = windowTable.slots[0].toolbars[kToolbarTop];
  RECT item{};
  SendMessageA(toolbar, TB_GETITEMRECT, static_cast<WPARAM>(SendMessageA(toolbar, TB_COMMANDTOINDEX, 40003, 0)),
               reinterpret_cast<LPARAM>(&item));
  ui::clickAt(toolbar, (item.left + item.right) / 2, (item.top + item.bottom) / 2);
  ASSERT_EQ(ui::waitEventOfType(kEventMenu, record), kEventMenu);
  EXPECT_EQ(record.value1, 40003);
}

TEST_F(Events, CloseBoxAndAltF4GiveEvent9AndTheWindowStays) {
  // Posted: what the close box does comes through the queue, read by the wait.
  PostMessageA(rootFrame(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EventRecord record;
  ASSERT_EQ(ui::waitEventOfType(kEventClose, record), kEventClose);
  EXPECT_EQ(record.win, 0);
  EXPECT_EQ(record.value1, -1);
  EXPECT_TRUE(IsWindowVisible(rootFrame()));

  ui::pressKey(VK_F4, ui::kAlt);
  ASSERT_EQ(ui::waitEventOfType(kEventClose, record), kEventClose);
  EXPECT_TRUE(IsWindow(rootFrame()));

  // A click on the caption's close box.
  RECT frame{};
  GetWindowRect(rootFrame(), &frame);
  const int captionY = frame.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
  POINT box{-1, -1};
  for (int x = frame.right - 1; x > frame.right - 80 && box.x < 0; --x) {
    if (SendMessageA(rootFrame(), WM_NCHITTEST, 0, MAKELPARAM(x, captionY)) == HTCLOSE) box = POINT{x - 4, captionY};
  }
  ASSERT_GE(box.x, 0) << "no close box found on the caption";
  ScreenToClient(rootFrame(), &box);
  ui::clickAt(rootFrame(), box.x, box.y);
  ASSERT_EQ(ui::waitEventOfType(kEventClose, record), kEventClose);
  EXPECT_TRUE(IsWindowVisible(rootFrame()));
}

TEST_F(Events, AResizeOutsideTheWaitIsParkedAndDeliveredFirstTheLaterOneWinning) {
  RECT frame{};
  GetWindowRect(rootFrame(), &frame);
  const int w = frame.right - frame.left;
  const int h = frame.bottom - frame.top;
  SetWindowPos(rootFrame(), nullptr, 0, 0, w + 40, h + 20, SWP_NOMOVE | SWP_NOZORDER);
  SetWindowPos(rootFrame(), nullptr, 0, 0, w + 60, h + 30, SWP_NOMOVE | SWP_NOZORDER);
  // A message is waiting in the queue: the parked resize still comes first.
  PostMessageA(rootFrame(), WM_COMMAND, 40005, 0);
  EXPECT_EQ(windowTable.slots[0].parked.type, kEventResize);
  EventRecord record;
  ASSERT_EQ(ui::waitEvent(record), kEventResize);
  EXPECT_EQ(record.win, 0);
  EXPECT_EQ(record.value1, 512 + 60);
  EXPECT_EQ(record.value2, 256 + 30);
  EXPECT_EQ(record.value3, 0);
  EXPECT_EQ(record.x, -1);
  EXPECT_EQ(windowTable.slots[0].parked.type, 0);
  // The drawing routines follow the delivered size.
  EXPECT_EQ(YYWindowInfo(1), 512 + 60);
  ASSERT_EQ(ui::waitEventOfType(kEventMenu, record), kEventMenu);
  EXPECT_EQ(record.value1, 40005);
}

TEST_F(Events, AnExposeOutsideTheWaitIsParkedAsTheWholeClientAreaInWindowUnits) {
  RECT part{100, 50, 200, 150};
  InvalidateRect(rootClient(), &part, TRUE);
  UpdateWindow(rootClient());
  ASSERT_EQ(windowTable.slots[0].parked.type, kEventExpose);
  EXPECT_EQ(windowTable.slots[0].parked.x, 100);
  EventRecord record;
  ASSERT_EQ(ui::waitEvent(record), kEventExpose);
  EXPECT_EQ(record.win, 0);
  // The whole area: pixel 0, 0 to 511, 255 in window units is 9, 19 to 9989, 9979.
  EXPECT_EQ(record.x, 9);
  EXPECT_EQ(record.y, 19);
  EXPECT_EQ(record.value1, 9989 - 9);
  EXPECT_EQ(record.value2, 9979 - 19);
  EXPECT_EQ(record.value3, 0);
  EXPECT_EQ(windowTable.slots[0].parked.type, 0);
}

TEST_F(Events, AnExposeAfterAParkedResizeIsNotParked) {
  RECT frame{};
  GetWindowRect(rootFrame(), &frame);
  SetWindowPos(rootFrame(), nullptr, 0, 0, frame.right - frame.left + 10, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER);
  InvalidateRect(rootClient(), nullptr, TRUE);
  UpdateWindow(rootClient());
  EXPECT_EQ(windowTable.slots[0].parked.type, kEventResize);
  EventRecord record;
  ASSERT_EQ(ui::waitEvent(record), kEventResize);
  EXPECT_EQ(record.value1, 522);
}

TEST_F(Events, AnExposeInsideTheWaitIsDeliveredForItsArea) {
  RECT part{256, 128, 512, 256};
  InvalidateRect(rootClient(), &part, TRUE);  // painted by the wait's own dispatch
  EventRecord record;
  ASSERT_EQ(ui::waitEvent(record), kEventExpose);
  int x = 0;
  int y = 0;
  YYPixelsToUnits(256, 128, x, y);
  EXPECT_EQ(record.x, x);
  EXPECT_EQ(record.y, y);
  EXPECT_EQ(windowTable.slots[0].parked.type, 0);
}

struct KeyCase {
  WORD key;
  unsigned modifiers;
  int code;
};

TEST_F(Events, KeysArriveWithTheToolkitsCodes) {
  const KeyCase cases[] = {
      {'A', 0, 'a'},           {'A', ui::kShift, 'A'},       {VK_TAB, 0, 9},
      {VK_TAB, ui::kShift, 274}, {VK_F1, 0, 301},              {VK_F1, ui::kCtrl, 341},
      {VK_F2, ui::kShift, 322}, {VK_LEFT, ui::kCtrl | ui::kShift, 269}, {VK_UP, ui::kShift, 262},
      {VK_HOME, 0, 270},       {VK_DELETE, 0, 273},          {VK_NUMPAD5, 0, 285},
      {VK_CLEAR, 0, 285},      {VK_RETURN, 0, 13},           {VK_ESCAPE, 0, 27},
  };
  for (const KeyCase& c : cases) {
    ui::pressKey(c.key, c.modifiers);
    EventRecord record;
    ASSERT_EQ(ui::waitEventOfType(kEventKey, record), kEventKey) << c.key;
    EXPECT_EQ(record.value1, c.code) << "key " << c.key << " modifiers " << c.modifiers;
    EXPECT_EQ(record.value2, -1);
    EXPECT_EQ(record.value3, 0);
  }
  // Modifiers alone give nothing.
  ui::pressKey(VK_SHIFT);
  ui::pressKey(VK_CONTROL);
  EventRecord record;
  EXPECT_EQ(ui::waitEventOfType(kEventKey, record, 400), ui::kTimedOut);
}

TEST(KeyTranslate, TableOfVirtualKeys) {
  const KeyCase cases[] = {
      {VK_PRIOR, 0, 262},   {VK_NEXT, 0, 263},    {VK_END, 0, 271},      {VK_SELECT, 0, 271},
      {VK_SNAPSHOT, 0, 300}, {VK_INSERT, 0, 272}, {VK_NUMPAD0, 0, 280},  {VK_NUMPAD4, 0, 284},
      {VK_NUMPAD6, 0, 286}, {VK_NUMPAD9, 0, 289}, {VK_MULTIPLY, 0, 294}, {VK_ADD, 0, 292},
      {VK_SEPARATOR, 0, 292}, {VK_SUBTRACT, 0, 290}, {VK_DECIMAL, 0, 291}, {VK_DIVIDE, 0, 293},
      {VK_UP, 0, 258},      {VK_DOWN, 20, 263},   {VK_RIGHT, 40, 268},   {VK_LEFT, 20, 265},
      {VK_F20, 0, 320},     {VK_F20, 20, 340},    {VK_F20, 40, 360},     {VK_TAB, 20, 274},
      {VK_F5 + 0, 0, 305},  {0x41, 40, 0x41},     {VK_APPS, 20, VK_APPS},
  };
  for (const KeyCase& c : cases) {
    EXPECT_EQ(YYKeyTranslate(c.key, static_cast<int>(c.modifiers)), c.code) << c.key << " " << c.modifiers;
  }
}

TEST_F(Events, MouseButtonsArriveInWindowUnitsAndReleasesOnlyWhenEnabled) {
  ui::clickAt(rootClient(), 100, 50);
  EventRecord record;
  ASSERT_EQ(ui::waitEventOfType(kEventMouseDown, record), kEventMouseDown);
  EXPECT_EQ(record.value1, 1);
  EXPECT_EQ(record.value3, 0);
  EXPECT_EQ(record.value4, -1);
  EXPECT_EQ(record.x, static_cast<int>(100.5 * 9999 / 512));
  EXPECT_EQ(record.y, static_cast<int>(50.5 * 9999 / 256));
  // Releases are off by default.
  EXPECT_EQ(ui::waitEventOfType(kEventMouseUp, record, 400), ui::kTimedOut);

  YYEventEnableSet(kEventMouseUp, 1);
  ui::moveMouse(rootClient(), 20, 20);
  ui::mouseButton(3, true);
  ASSERT_EQ(ui::waitEventOfType(kEventMouseDown, record), kEventMouseDown);
  EXPECT_EQ(record.value1, 3);
  EXPECT_EQ(record.value2 & 16, 16) << "right button held";
  // While the button is held the window has the capture: left of it X is negative.
  ui::moveMouse(rootClient(), -30, 20);
  ui::mouseButton(3, false);
  ASSERT_EQ(ui::waitEventOfType(kEventMouseUp, record), kEventMouseUp);
  EXPECT_EQ(record.value1, 3);
  EXPECT_LT(record.x, 0);
}

TEST_F(Events, DoubleClicksArriveAsButtonDownUnlessEnabled) {
  ui::clickAt(rootClient(), 60, 60);
  ui::clickAt(rootClient(), 60, 60);
  EventRecord record;
  ASSERT_EQ(ui::waitEventOfType(kEventMouseDown, record), kEventMouseDown);
  ASSERT_EQ(ui::waitEventOfType(kEventMouseDown, record), kEventMouseDown);
  ui::pumpMessages(600);  // past the double-click time
  YYEventEnableSet(kEventDoubleClick, 1);
  ui::clickAt(rootClient(), 60, 60);
  ui::clickAt(rootClient(), 60, 60);
  ASSERT_EQ(ui::waitEventOfType(kEventMouseDown, record), kEventMouseDown);
  ASSERT_EQ(ui::waitEventOfType(kEventDoubleClick, record), kEventDoubleClick);
  EXPECT_EQ(record.value1, 1);
}

TEST_F(Events, FrameClicksGiveEvent12WhenEnabledButNotOnTheMinimiseBox) {
  YYEventEnableSet(kEventFrameClick, 1);
  PostMessageA(rootFrame(), WM_NCLBUTTONDOWN, HTNOWHERE, 0);
  EventRecord record;
  ASSERT_EQ(ui::waitEventOfType(kEventFrameClick, record), kEventFrameClick);
  EXPECT_EQ(record.value1, 1);
  PostMessageA(rootFrame(), WM_NCRBUTTONDOWN, HTMINBUTTON, 0);
  EXPECT_EQ(ui::waitEventOfType(kEventFrameClick, record, 400), ui::kTimedOut);
}

TEST_F(Events, TimersAndThePushedBackEvent) {
  YYTimerSet(50, 7, 1);
  EventRecord record;
  ASSERT_EQ(ui::waitEventOfType(kEventTimer, record), kEventTimer);
  EXPECT_EQ(record.value1, 7);
  YYTimerSet(0, 7, 1);
  // A frame timer fires once.
  YYTimerSet(50, 8, 0);
  ASSERT_EQ(ui::waitEventOfType(kEventTimer, record), kEventTimer);
  EXPECT_EQ(record.value1, 8);
  EXPECT_EQ(ui::waitEventOfType(kEventTimer, record, 400), ui::kTimedOut);
  // The timed wait returns without an event.
  const DWORD start = GetTickCount();
  YYTimedWait(20);
  EXPECT_GE(GetTickCount() - start, 150u);

  eventState.pushedType = 2;
  eventState.pushed.value1 = 40010;
  EXPECT_EQ(WEventWait(record), 2);
  EXPECT_EQ(record.value1, 40010);
  EXPECT_EQ(eventState.pushedType, 0);
}

}  // namespace
