// Window menus with help resources, popup menus answered by keys, caption
// focus of child windows, maximise and restore, and repainting from snapshots.
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <map>
#include <string>

#include "root_fixture.h"
#include "toolkit/core/child_windows.h"
#include "toolkit/core/window_select.h"

namespace {

using MoreWindows = ConverterWindow;

TEST_F(MoreWindows, AReplacedMenuBringsItsHelpResourceToTheStatusBar) {
  int number = 30002;
  YYWindowMenuSet(number, 0);
  ASSERT_EQ(number, 30002);
  HMENU menu = GetMenu(rootFrame());
  EXPECT_EQ(menu, windowTable.slots[0].menu);
  EXPECT_NE(windowTable.slots[0].menuHelp, nullptr);
  HWND bar = windowTable.slots[0].statusBar;
  SendMessageA(rootFrame(), WM_ENTERMENULOOP, FALSE, 0);
  SendMessageA(rootFrame(), WM_MENUSELECT, MAKEWPARAM(40051, 0), reinterpret_cast<LPARAM>(menu));
  char text[64] = {};
  SendMessageA(bar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "Counts the points");
  SendMessageA(rootFrame(), WM_MENUSELECT, MAKEWPARAM(49999, 0), reinterpret_cast<LPARAM>(menu));
  SendMessageA(bar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "");
  SendMessageA(rootFrame(), WM_EXITMENULOOP, FALSE, 0);
  // A menu resource that does not exist leaves the menu as it was.
  number = 39999;
  YYWindowMenuSet(number, 0);
  EXPECT_EQ(number, -1);
  EXPECT_EQ(GetMenu(rootFrame()), menu);
  // Number 0 removes it.
  number = 0;
  YYWindowMenuSet(number, 0);
  EXPECT_EQ(GetMenu(rootFrame()), nullptr);
  EXPECT_EQ(windowTable.slots[0].menu, nullptr);
  EXPECT_EQ(windowTable.slots[0].menuHelp, nullptr);
}

TEST_F(MoreWindows, APopupMenuChoiceArrivesAsAMenuEvent) {
  ui::UiDriver driver;
  // Keys for the popup's own loop: the popup lists the menu's top items, so
  // Tools, into it, its second item.
  driver.answerNextMenu([] {
    ui::pressKey(VK_DOWN);
    ui::pressKey(VK_RIGHT);
    ui::pressKey(VK_DOWN);
    ui::pressKey(VK_RETURN);
  });
  int number = 30002;
  YYPopupMenu(number, 100, 50);
  EXPECT_EQ(number, 30002);
  EXPECT_EQ(windowTable.popupMenuHelp, nullptr);
  EventRecord record;
  ASSERT_EQ(ui::waitEventOfType(kEventMenu, record), kEventMenu);
  EXPECT_EQ(record.value1, 40051);
  EXPECT_GE(driver.menusOpened(), 1);
  EXPECT_EQ(driver.pending(), 0u);
}

std::map<HWND, BOOL> lastActivation;
WNDPROC frameProc = nullptr;
LRESULT CALLBACK recordActivation(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCACTIVATE) lastActivation[window] = static_cast<BOOL>(wParam);
  return CallWindowProcA(frameProc, window, message, wParam, lParam);
}

int openChild(int flags, int parent = 0) {
  int slot = 0;
  int dialog = 0;
  const std::array<int, 4> none{};
  YYChildWindowCreate(kCentred, kCentred, 200, 120, slot, flags, 0, none, dialog, parent, "child");
  return slot;
}

TEST_F(MoreWindows, FocusShowsOneChildCaptionActiveAndNoneWithoutAWindow) {
  const int first = openChild(0x27);
  const int second = openChild(0x27);
  ASSERT_GT(first, 0);
  ASSERT_GT(second, 0);
  HWND a = windowTable.slots[static_cast<std::size_t>(first)].frame;
  HWND b = windowTable.slots[static_cast<std::size_t>(second)].frame;
  frameProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(a, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(recordActivation)));
  SetWindowLongPtrA(b, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(recordActivation));
  lastActivation.clear();
  YYWindowFocus(a);
  EXPECT_EQ(lastActivation[a], TRUE);
  EXPECT_EQ(lastActivation[b], FALSE);
  YYWindowFocus(nullptr);
  EXPECT_EQ(lastActivation[a], FALSE);
  EXPECT_EQ(lastActivation[b], FALSE);
  SetWindowLongPtrA(a, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(frameProc));
  SetWindowLongPtrA(b, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(frameProc));
}

TEST_F(MoreWindows, MaximisingAndRestoringAnInnerWindowTwiceKeepsTheFirstPlacement) {
  const int container = openChild(0x27);
  ASSERT_GT(container, 0);
  int slot = 0;
  int dialog = 0;
  const std::array<int, 4> none{};
  YYChildWindowCreate(5, 6, 80, 40, slot, 0x27 | kFlagInsideParent, 0, none, dialog, container, "inner");
  ASSERT_GT(slot, 0);
  HWND frame = windowTable.slots[static_cast<std::size_t>(slot)].frame;
  RECT first{};
  GetWindowRect(frame, &first);
  for (int round = 0; round < 2; ++round) {
    ShowWindow(frame, SW_MAXIMIZE);
    EXPECT_TRUE(IsZoomed(frame));
    ShowWindow(frame, SW_RESTORE);
    RECT now{};
    GetWindowRect(frame, &now);
    EXPECT_EQ(now.left, first.left) << round;
    EXPECT_EQ(now.top, first.top) << round;
    EXPECT_EQ(now.right - now.left, first.right - first.left) << round;
  }
  EXPECT_EQ(windowTable.slots[static_cast<std::size_t>(slot)].savedNormal.left, kPlacementUnsaved);
}

TEST_F(MoreWindows, WhileAModalDialogIsUpWindowsRepaintFromTheirSnapshotsWithoutEvents) {
  // The dialog manager keeps a picture of the window: a green one here.
  HDC dc = GetDC(rootClient());
  HBITMAP snapshot = CreateCompatibleBitmap(dc, 512, 256);
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ previous = SelectObject(memory, snapshot);
  HBRUSH green = CreateSolidBrush(RGB(0, 0xFF, 0));
  RECT all{0, 0, 512, 256};
  FillRect(memory, &all, green);
  DeleteObject(green);
  SelectObject(memory, previous);
  DeleteDC(memory);
  windowTable.slots[0].snapshot = snapshot;
  windowTable.modalSnapshotMode = true;
  InvalidateRect(rootClient(), nullptr, TRUE);
  UpdateWindow(rootClient());
  EXPECT_EQ(GetPixel(dc, 200, 100) & 0xFFFFFF, RGB(0, 0xFF, 0));
  EXPECT_EQ(windowTable.slots[0].parked.type, 0);
  EventRecord record;
  EXPECT_EQ(ui::waitEventOfType(kEventExpose, record, 400), ui::kTimedOut);
  windowTable.modalSnapshotMode = false;
  windowTable.slots[0].snapshot = nullptr;
  DeleteObject(snapshot);
  ReleaseDC(rootClient(), dc);
}

}  // namespace
