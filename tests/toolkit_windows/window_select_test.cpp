// Selecting windows, queries about them, and child windows.
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <vector>

#include "root_fixture.h"
#include "toolkit/core/child_windows.h"
#include "toolkit/core/error_reporter.h"
#include "toolkit/core/window_select.h"
#include "toolkit/core/window_text.h"

namespace {

using WindowSelect = ConverterWindow;

constexpr std::array<int, 4> kNoToolbars{};

int openChild(int flags, int parent = 0, int width = 200, int height = 100, int x = kCentred, int y = kCentred) {
  int slot = 0;
  int dialog = 0;
  YYChildWindowCreate(x, y, width, height, slot, flags, 0, kNoToolbars, dialog, parent, "child");
  return slot;
}

TEST_F(WindowSelect, SelectingAMissingWindowReports1003AndKeepsTheCurrentOne) {
  YYErrorStateReset();
  YYWINSEL(21, 0);
  EXPECT_EQ(WErrorStatusQuery(1), 1003);
  YYWINSEL(5, 0);
  EXPECT_EQ(WErrorStatusQuery(1), 1003);
  EXPECT_EQ(YYWindowInfo(4), 0);
  EXPECT_EQ(YYWindowInfo(1), 512);
  YYWINSEL(0, 0);
  EXPECT_EQ(WErrorStatusQuery(1), 0);
  EXPECT_EQ(YYWindowInfo(4), 0);
}

TEST_F(WindowSelect, QueriesAnswerForTheCurrentWindow) {
  EXPECT_EQ(YYWindowInfo(3), 0x67);
  EXPECT_EQ(YYWindowInfo(9), kStateNormal);
  EXPECT_EQ(YYWindowInfo(10), kRecordNone);
  POINT origin{};
  ClientToScreen(rootClient(), &origin);
  EXPECT_EQ(YYWindowInfo(7), origin.x);
  EXPECT_EQ(YYWindowInfo(8), origin.y);
  RECT frame{};
  GetWindowRect(rootFrame(), &frame);
  EXPECT_EQ(YYWindowInfo(5), frame.left);
  EXPECT_EQ(YYWindowInfo(6), frame.top);
  EXPECT_EQ(YYWindowInfo(11), 512);
  EXPECT_EQ(YYWindowInfo(12), 256);
  EXPECT_EQ(YYWindowSlotOf(rootFrame()), 0);
  EXPECT_EQ(YYWindowSlotOf(rootClient()), 0);
  EXPECT_EQ(YYWindowSlotOf(windowTable.slots[0].statusBar), -1);
  EXPECT_EQ(YYWindowSlotOf(nullptr), -1);

  ShowWindow(rootFrame(), SW_MINIMIZE);
  EXPECT_EQ(YYWindowInfo(9), kStateMinimised);
  ShowWindow(rootFrame(), SW_HIDE);
  EXPECT_EQ(YYWindowInfo(9), kStateHidden);
  ShowWindow(rootFrame(), SW_SHOWNORMAL);
  EXPECT_EQ(YYWindowInfo(9), kStateNormal);
}

TEST_F(WindowSelect, ChildWindowsTakeSlotsUpToTwentyAndTextGoesToTheSelectedOne) {
  std::vector<int> slots;
  for (int i = 0; i < kMaxWindowSlot; ++i) slots.push_back(openChild(0x21 | kFlagHidden, 0, 200 + i, 50));
  for (int i = 0; i < kMaxWindowSlot; ++i) EXPECT_EQ(slots[static_cast<std::size_t>(i)], i + 1);
  EXPECT_EQ(openChild(0x21), -1) << "the 21st window";
  YYWINSEL(3, 0);
  EXPECT_EQ(YYWindowInfo(4), 3);
  EXPECT_EQ(YYWindowInfo(1), 202);
  EXPECT_EQ(YYWindowInfo(9), kStateHidden);
  YYWINSEL(0, 0);
  EXPECT_EQ(YYWindowInfo(1), 512);
  for (int slot = kMaxWindowSlot; slot >= 1; --slot) {
    int closing = slot;
    HWND dialog = nullptr;
    YYChildWindowClose(closing, dialog);
    EXPECT_EQ(closing, slot);
  }
  int missing = 4;
  HWND dialog = nullptr;
  YYChildWindowClose(missing, dialog);
  EXPECT_EQ(missing, -1);
}

TEST_F(WindowSelect, WindowsInsideOthersAreRefusedInHiddenParentsAndCloseWithTheirContainer) {
  const int hiddenParent = openChild(0x21 | kFlagHidden);
  ASSERT_GT(hiddenParent, 0);
  EXPECT_EQ(openChild(0x21 | kFlagInsideParent, hiddenParent), -2);
  EXPECT_EQ(openChild(0x21 | kFlagInsideParent, 17), -5);
  const int container = openChild(0x27, 0, 300, 200);
  ASSERT_GT(container, 0);
  const int inner = openChild(0x27 | kFlagInsideParent, container, 100, 60, 10, 20);
  ASSERT_GT(inner, 0);
  HWND innerFrame = windowTable.slots[static_cast<std::size_t>(inner)].frame;
  EXPECT_EQ(GetParent(innerFrame), windowTable.slots[static_cast<std::size_t>(container)].client);
  // Its position is given in window units of the container.
  YYWINSEL(inner, 0);
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  int slot = container;
  YYWindowSelectTarget(width, height, slot);
  YYWINSEL(container, 0);
  YYPixelsToUnits(10, 20, x, y);
  YYWINSEL(inner, 0);
  EXPECT_EQ(YYWindowInfo(5), x);
  EXPECT_EQ(YYWindowInfo(6), y);
  EXPECT_EQ(YYWindowInfo(4), inner) << "the inner window is selected again";
  int isChild = 0;
  YYWindowIsChild(isChild);
  EXPECT_EQ(isChild, 1);
  // Closing the container takes the inner window with it.
  int closing = container;
  HWND dialog = nullptr;
  YYWINSEL(0, 0);
  YYChildWindowClose(closing, dialog);
  EXPECT_FALSE(IsWindow(innerFrame));
  EXPECT_EQ(windowTable.slots[static_cast<std::size_t>(inner)].frame, nullptr);
  EXPECT_EQ(YYFreeWindowSlot(), container < inner ? container : inner);
}

TEST_F(WindowSelect, AMaximisedInnerWindowStaysMaximisedUnderStateMinusOne) {
  const int container = openChild(0x27, 0, 300, 200);
  const int inner = openChild(0x27 | kFlagInsideParent, container, 100, 60, 10, 20);
  ASSERT_GT(inner, 0);
  HWND frame = windowTable.slots[static_cast<std::size_t>(inner)].frame;
  ShowWindow(frame, SW_MAXIMIZE);
  ASSERT_TRUE(IsZoomed(frame));
  YYWINSEL(inner, 0);
  int width = 120;
  int height = 70;
  YYWindowPlacementSet(kCentred, kCentred, width, height, -1);
  EXPECT_TRUE(IsZoomed(frame));
  EXPECT_EQ(YYWindowInfo(9), kStateMaximised);
  // Restoring brings back the normal placement.
  ShowWindow(frame, SW_RESTORE);
  EXPECT_FALSE(IsZoomed(frame));
  YYWINSEL(0, 0);
}

TEST_F(WindowSelect, ErrorsInStatusBarModeGoToTheRootPaneAndTheSelectionComesBack) {
  const int child = openChild(0x21 | kFlagStatusBar);
  ASSERT_GT(child, 0);
  YYWINSEL(child, 0);
  YYErrorModeSet(kReportStatusBar);
  YYErrorReport(1003, "YYWINSEL");
  YYErrorModeSet(kReportSilent);
  EXPECT_EQ(YYWindowInfo(4), child);
  char text[128] = {};
  SendMessageA(windowTable.slots[0].statusBar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "Internal routine:YYWINSEL Error=1003:Invalid window handle");
  YYWINSEL(0, 0);
}

}  // namespace
