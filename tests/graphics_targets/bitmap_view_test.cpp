// The bitmap-view window under a real window system: scroll bars, wheel, keys
// and dragging move the picture and report event 15.
#include "targets_fixture.h"
#include "toolkit/core/child_windows.h"
#include "toolkit/core/events.h"
#include "toolkit/core/menus_toolbars.h"
#include "toolkit/core/window_select.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/graphics/bitmap_view.h"

namespace {

class BitmapView : public TargetWindow {
 protected:
  void SetUp() override {
    TargetWindow::SetUp();
    int dialog = 0;
    const std::array<int, 4> none{};
    YYChildWindowCreate(20, 20, 200, 150, slot_, 0x27, 0, none, dialog, 0, "view");
    ASSERT_GT(slot_, 0);
    YYWINSEL(slot_, 0);
    YYEventEnableSet(kEventBitmapView, 1);
  }
  void TearDown() override {
    YYEventEnableSet(kEventBitmapView, 0);
    TargetWindow::TearDown();
  }

  HWND frame() const { return windowTable.slots[static_cast<std::size_t>(slot_)].frame; }
  HWND viewer() const { return GetDlgItem(frame(), kViewerControlId); }
  int info(int code) const {
    int value = -1;
    YYBMPVIEWINFO(slot_, code, value);
    return value;
  }

  // Posts the message to the viewer; the wait dispatches it and answers the
  // position that event 15 reports.
  std::pair<int, int> reported(UINT message, WPARAM wParam, LPARAM lParam = 0) {
    PostMessageA(viewer(), message, wParam, lParam);
    EventRecord record;
    EXPECT_EQ(ui::waitEventOfType(kEventBitmapView, record, 3000), kEventBitmapView);
    EXPECT_EQ(record.win, slot_);
    EXPECT_EQ(record.value3, 2);
    return {record.value1, record.value2};
  }

  int slot_ = 0;
};

TEST_F(BitmapView, ScrollWheelAndKeysMoveThePictureAndReportEvent15) {
  int number = 0;
  YYBitmapCreate(number, 600, 500, 0x00FF00);
  int status = 0;
  YYBitmapView(number - 1, 0, 0, kViewPlain, kViewOwnKeys, status);
  ASSERT_EQ(status, 0);
  ASSERT_NE(viewer(), nullptr);
  EXPECT_EQ(info(3), number);
  EXPECT_EQ(info(101), 600);
  EXPECT_EQ(info(102), 500);
  RECT client{};
  GetClientRect(viewer(), &client);
  const int halfHeight = static_cast<int>(client.bottom) / 2;

  EXPECT_EQ(reported(WM_VSCROLL, SB_LINEDOWN), std::make_pair(0, 1));
  EXPECT_EQ(reported(WM_HSCROLL, SB_PAGEDOWN), std::make_pair(static_cast<int>(client.right) / 2, 1));
  EXPECT_EQ(reported(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120))).second, 1 + std::min(120, halfHeight));
  EXPECT_EQ(reported(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(2400))).second,
            std::max(1 + std::min(120, halfHeight) - halfHeight, 0));
  EXPECT_EQ(reported(WM_KEYDOWN, VK_UP).second, std::max(std::max(1 + std::min(120, halfHeight) - halfHeight, 0) - 1, 0));
  reported(WM_KEYDOWN, VK_RIGHT);
  EXPECT_EQ(info(4), static_cast<int>(client.right) / 2 + 1);
  EXPECT_EQ(info(5), GetScrollPos(viewer(), SB_VERT));
  // Thumb positions are taken as they are; the bar clamps the end.
  EXPECT_EQ(reported(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 40)).second, GetScrollPos(viewer(), SB_VERT));

  // A bitmap shown in a view cannot be deleted.
  YYBitmapDelete(number - 1, status);
  EXPECT_EQ(status, 1036);
  EXPECT_NE(yyBitmapSlots[static_cast<std::size_t>(number - 1)].bitmap, nullptr);
}

TEST_F(BitmapView, DraggingStopsAtTheTopLeft) {
  int number = 0;
  YYBitmapCreate(number, 600, 500, kWhite);
  int status = 0;
  YYBitmapView(number - 1, 30, 20, kViewPlain, kViewDrag, status);
  ASSERT_EQ(status, 0);
  EXPECT_EQ(info(4), 30);
  EXPECT_EQ(info(5), 20);
  SendMessageA(viewer(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  SendMessageA(viewer(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 15));
  EXPECT_EQ(info(4), 20);
  EXPECT_EQ(info(5), 15);
  SendMessageA(viewer(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(120, 115));
  EXPECT_EQ(info(4), 0);
  EXPECT_EQ(info(5), 0);
  SendMessageA(viewer(), WM_LBUTTONUP, 0, MAKELPARAM(120, 115));
  SendMessageA(viewer(), WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
  EXPECT_EQ(info(4), 0);
}

TEST_F(BitmapView, SmallBitmapShrinksTheFrameAndLargeOneKeepsIt) {
  RECT before{};
  GetWindowRect(frame(), &before);
  int small = 0;
  YYBitmapCreate(small, 60, 40, kWhite);
  int status = 0;
  YYBitmapView(small - 1, 0, 0, kViewPlain, 0, status);
  ASSERT_EQ(status, 0);
  RECT shrunk{};
  GetWindowRect(frame(), &shrunk);
  EXPECT_LT(shrunk.right - shrunk.left, before.right - before.left);
  RECT client{};
  GetClientRect(viewer(), &client);
  EXPECT_GE(client.right, 60);
  // The window is a view already: the next bitmap replaces the first.
  int large = 0;
  YYBitmapCreate(large, 900, 700, kWhite);
  YYBitmapView(large - 1, 0, 0, kViewPlain, 0, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(info(3), large);
  RECT kept{};
  GetWindowRect(frame(), &kept);
  EXPECT_EQ(kept.right - kept.left, shrunk.right - shrunk.left);
}

TEST_F(BitmapView, RefusalsAndAnswersForOtherWindows) {
  int status = 0;
  YYBitmapView(0, 0, 0, kViewPlain, 0, status);
  EXPECT_EQ(status, 2);  // empty slot
  status = 0;
  YYBitmapView(25, 0, 0, kViewPlain, 0, status);
  EXPECT_EQ(status, 2);
  int number = 0;
  YYBitmapCreate(number, 10, 10, kWhite);
  YYWINSEL(0, 0);
  status = 0;
  YYBitmapView(number - 1, 0, 0, kViewPlain, 0, status);
  EXPECT_EQ(status, 1);  // the root window
  for (const int code : {3, 4, 5, 101, 102, 103, 7}) {
    int value = -1;
    YYBMPVIEWINFO(slot_, code, value);
    EXPECT_EQ(value, 0) << code;
    YYBMPVIEWINFO(0, code, value);
    EXPECT_EQ(value, 0) << code;
    YYBMPVIEWINFO(99, code, value);
    EXPECT_EQ(value, 0) << code;
  }
}

// The modal view runs its own loop; a timer closes it from inside.
HWND modalFrame = nullptr;
void CALLBACK closeModal(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  PostMessageA(modalFrame, WM_CLOSE, 0, 0);
}

// A new 50 x 50 bitmap (its number in `number`) shown in a modal view of the
// window `frame`, which `closer` closes from inside the view's loop after
// `after` milliseconds; the view's status.
int runModalView(HWND frame, int& number, TIMERPROC closer, UINT after) {
  YYBitmapCreate(number, 50, 50, kWhite);
  modalFrame = frame;
  SetTimer(nullptr, 0, after, closer);
  int status = 0;
  YYBitmapView(number - 1, 0, 0, kViewModal, 0, status);
  return status;
}

TEST_F(BitmapView, ModalViewReturnsWhenClosed) {
  int number = 0;
  int status = runModalView(frame(), number, closeModal, 300);
  EXPECT_EQ(status, 0);
  EXPECT_FALSE(IsWindow(modalFrame));
  EXPECT_EQ(windowTable.slots[static_cast<std::size_t>(slot_)].frame, nullptr);
  // The bitmap is free again.
  YYBitmapDelete(number - 1, status);
  EXPECT_EQ(status, 0);
}

// The system's timer message 0x0118 with 0xFFF6 reaches no window from the
// modal loop, as from the toolkit's own loop.
int droppedTimerMessages = 0;
HWND timerWitness = nullptr;
LRESULT CALLBACK countTimerMessages(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == 0x0118 && LOWORD(wParam) == 0xFFF6) ++droppedTimerMessages;
  return DefWindowProcA(window, message, wParam, lParam);
}
void CALLBACK postTimerMessageThenClose(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  PostMessageA(timerWitness, 0x0118, 0xFFF6, 0);
  PostMessageA(modalFrame, WM_CLOSE, 0, 0);
}

TEST_F(BitmapView, TheModalLoopDropsTheSystemsTimerMessage) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = countTimerMessages;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "CarrowTimerWitness";
  RegisterClassA(&wc);
  timerWitness = CreateWindowA("CarrowTimerWitness", "", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(timerWitness, nullptr);
  droppedTimerMessages = 0;
  int number = 0;
  runModalView(frame(), number, postTimerMessageThenClose, 200);
  EXPECT_FALSE(IsWindow(modalFrame));
  EXPECT_EQ(droppedTimerMessages, 0);
  DestroyWindow(timerWitness);
}

// The view's window came from a dialog: that dialog, not the root window, is
// active again when the modal view closes; and the menu's item texts are
// freed when the modal view takes the menu away.
TEST_F(BitmapView, AClosedModalViewActivatesTheRecordedDialogAndFreesMenuTexts) {
  WindowSlot& s = windowTable.slots[static_cast<std::size_t>(slot_)];
  HMENU bar = CreateMenu();
  AppendMenuA(bar, MF_STRING, 4711, "Item");
  s.menu = bar;
  SetMenu(frame(), bar);
  int item = 4711;
  YYMenuItemHelpSet(item, "What the item does");
  ASSERT_EQ(item, 4711);
  ASSERT_EQ(s.itemHelpCount, 1);
  HWND dialog = CreateWindowExA(0, "STATIC", "recorded dialog", WS_POPUP | WS_VISIBLE | WS_CAPTION, 300, 300, 120,
                                60, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(dialog, nullptr);
  s.previousOwner = dialog;
  int number = 0;
  EXPECT_EQ(runModalView(frame(), number, closeModal, 300), 0);
  EXPECT_EQ(s.itemHelpCount, 0);  // the texts went with the menu
  EXPECT_EQ(GetActiveWindow(), dialog);
  DestroyWindow(dialog);
}

// A modeless view keeps the other windows disabled and counts as one more
// semi-modeless window until it is gone.
TEST_F(BitmapView, ModelessViewCountsWhileItIsOpen) {
  int number = 0;
  YYBitmapCreate(number, 50, 50, kWhite);
  const int before = dialogTable.semiModalCount;
  int status = 0;
  YYBitmapView(number - 1, 0, 0, kViewModeless, 0, status);
  ASSERT_EQ(status, 0);
  EXPECT_EQ(dialogTable.semiModalCount, before + 1);
  DestroyWindow(frame());
  EXPECT_EQ(dialogTable.semiModalCount, before);
  YYBitmapDelete(number - 1, status);
  EXPECT_EQ(status, 0);
}

}  // namespace
