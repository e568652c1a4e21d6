// Menu items and toolbar buttons kept in step, toolbar tips and toolbar errors.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "root_fixture.h"
#include "toolkit/core/error_reporter.h"
#include "toolkit/core/window_select.h"

namespace {

using Menus = ConverterWindow;

HWND topToolbar() { return windowTable.slots[0].toolbars[kToolbarTop]; }

// The status bar's text in simple mode (menu help).
std::string simpleText(HWND bar) {
  char text[128] = {};
  SendMessageA(bar, SB_GETTEXTA, 255, reinterpret_cast<LPARAM>(text));
  if (text[0] == '\0') SendMessageA(bar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
  return text;
}

TEST_F(Menus, SetStateGreysAndChecksMenuItemsAndToolbarButtonsAlike) {
  HMENU menu = GetMenu(rootFrame());
  YYErrorStateReset();
  WMenuSetState(40003, 1, 0);
  EXPECT_TRUE(GetMenuState(menu, 40003, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_FALSE(SendMessageA(topToolbar(), TB_ISBUTTONENABLED, 40003, 0));
  WMenuSetState(40003, 1, 1);
  EXPECT_FALSE(GetMenuState(menu, 40003, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_TRUE(SendMessageA(topToolbar(), TB_ISBUTTONENABLED, 40003, 0));

  WMenuSetState(40013, 2, 1);
  WMenuSetState(40014, 2, 0);
  EXPECT_TRUE(GetMenuState(menu, 40013, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_TRUE(SendMessageA(topToolbar(), TB_ISBUTTONCHECKED, 40013, 0));
  EXPECT_FALSE(SendMessageA(topToolbar(), TB_ISBUTTONCHECKED, 40014, 0));
  int state = 0;
  YYMenuItemStateQuery(40013, 2, state);
  EXPECT_EQ(state, 1);
  EXPECT_EQ(WErrorStatusQuery(1), 0);

  // An id only on the toolbar is not an error; an id in neither is.
  WMenuSetState(40026, 1, 0);
  EXPECT_EQ(WErrorStatusQuery(1), 0);
  EXPECT_FALSE(SendMessageA(topToolbar(), TB_ISBUTTONENABLED, 40026, 0));
  YYMenuItemStateQuery(40026, 1, state);
  EXPECT_EQ(state, 0);
  WMenuSetState(49999, 2, 1);
  EXPECT_EQ(WErrorStatusQuery(1), 1001);
  YYMenuItemStateQuery(49999, 1, state);
  EXPECT_EQ(state, -1);
  // Modes and states out of range do nothing.
  WMenuSetState(40003, 3, 0);
  WMenuSetState(40003, 1, 2);
  EXPECT_TRUE(SendMessageA(topToolbar(), TB_ISBUTTONENABLED, 40003, 0));
  EXPECT_EQ(WErrorStatusQuery(1), 0);
}

std::string tipFor(int id) {
  HWND tips = reinterpret_cast<HWND>(SendMessageA(topToolbar(), TB_GETTOOLTIPS, 0, 0));
  NMTTDISPINFOA info{};
  info.hdr.hwndFrom = tips;
  info.hdr.idFrom = static_cast<UINT_PTR>(id);
  info.hdr.code = TTN_NEEDTEXTA;
  SendMessageA(rootFrame(), WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&info));
  return info.lpszText != nullptr ? std::string(info.lpszText) : std::string();
}

TEST_F(Menus, ToolbarTipsComeFromTheTipTableElseTheStringTable) {
  EXPECT_EQ(tipFor(40002), "Open");
  EXPECT_EQ(tipFor(40013), "Use Lat/Long coords for ASC and Excel output");
  EXPECT_EQ(tipFor(40016), "");
  int id = 40002;
  YYToolbarTipSet(id, "Open a file", 11);
  EXPECT_EQ(id, 40002);
  EXPECT_EQ(tipFor(40002), "Open a file");
  id = 49999;
  YYToolbarTipSet(id, "nowhere", 7);
  EXPECT_EQ(id, -1);
  id = 40002;
  YYToolbarTipSet(id, " ", 1);  // frees the entry
  EXPECT_EQ(tipFor(40002), "Open");
  YYToolbarTipSet(id, "Open a file", 11);
  // Removing the last toolbar frees the table; a new toolbar's tips come from the strings again.
  WMenuToolbar(0);
  EXPECT_EQ(topToolbar(), nullptr);
  EXPECT_TRUE(windowTable.slots[0].tips.empty());
  WMenuToolbar(30101);
  ASSERT_NE(topToolbar(), nullptr);
  EXPECT_EQ(tipFor(40002), "Open");
}

TEST_F(Menus, ToolbarsAtEachPositionAndTheirErrors) {
  YYErrorStateReset();
  WMenuToolbar(30102, 0, 2);
  HWND left = windowTable.slots[0].toolbars[kToolbarLeft];
  ASSERT_NE(left, nullptr);
  RECT r{};
  GetWindowRect(left, &r);
  EXPECT_EQ(r.right - r.left, 25);
  RECT client{};
  GetClientRect(rootClient(), &client);
  EXPECT_EQ(client.right, 512 - 25);
  EXPECT_EQ(YYWindowInfo(1), 512 - 25);
  WMenuToolbar(30102, 0, 4);
  HWND bottom = windowTable.slots[0].toolbars[kToolbarBottom];
  ASSERT_NE(bottom, nullptr);
  GetWindowRect(bottom, &r);
  EXPECT_EQ(r.bottom - r.top, 28);
  GetClientRect(rootClient(), &client);
  EXPECT_EQ(client.bottom, 256 - 28);
  // The client sits between the bars, the status bar stays at the bottom.
  RECT status{};
  GetWindowRect(windowTable.slots[0].statusBar, &status);
  EXPECT_EQ(r.bottom, status.top);
  EXPECT_EQ(WErrorStatusQuery(1), 0);

  WMenuToolbar(9999);
  EXPECT_EQ(WErrorStatusQuery(1), 1002);
  WMenuToolbar(30101, 5);
  EXPECT_EQ(WErrorStatusQuery(1), 1003);
  WMenuToolbar(30101, 21);
  EXPECT_EQ(WErrorStatusQuery(1), 1003);
}

TEST_F(Menus, MenuHelpGoesToTheStatusBarOnlyFromAHelpSource) {
  HWND bar = windowTable.slots[0].statusBar;
  WindowStatusText(1, "settings");
  // No help source: selecting items leaves the status bar as it was.
  SendMessageA(rootFrame(), WM_MENUSELECT, MAKEWPARAM(40002, 0), reinterpret_cast<LPARAM>(GetMenu(rootFrame())));
  EXPECT_FALSE(SendMessageA(bar, SB_ISSIMPLE, 0, 0));
  char text[64] = {};
  SendMessageA(bar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "settings");
  // A help text attached to an item is shown in simple mode while the menu is open.
  int id = 40002;
  YYMenuItemHelpSet(id, "Opens a file");
  EXPECT_EQ(windowTable.slots[0].itemHelpCount, 1);
  SendMessageA(rootFrame(), WM_ENTERMENULOOP, FALSE, 0);
  EXPECT_TRUE(SendMessageA(bar, SB_ISSIMPLE, 0, 0));
  SendMessageA(rootFrame(), WM_MENUSELECT, MAKEWPARAM(40002, 0), reinterpret_cast<LPARAM>(GetMenu(rootFrame())));
  EXPECT_EQ(simpleText(bar), "Opens a file");
  SendMessageA(rootFrame(), WM_MENUSELECT, MAKEWPARAM(SC_CLOSE, MF_SYSMENU), 0);
  EXPECT_EQ(simpleText(bar), "Closes the window");
  SendMessageA(rootFrame(), WM_EXITMENULOOP, FALSE, 0);
  EXPECT_FALSE(SendMessageA(bar, SB_ISSIMPLE, 0, 0));
  YYMenuItemHelpSet(id, " ");
  EXPECT_EQ(windowTable.slots[0].itemHelpCount, 0);
}

TEST_F(Menus, ItemsAreEditedAtRunTime) {
  HMENU menu = GetMenu(rootFrame());
  int id = 40016;
  YYMenuItemTextSet(id, "&Add file   ");
  char text[32] = {};
  GetMenuStringA(menu, 40016, text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ(text, "&Add file");
  id = 40016;
  YYMenuItemInsert(id, 1, 40040, "Inserted");
  HMENU containing = nullptr;
  const int reference = YYMenuItemFind(menu, 40016, containing);
  // Offset 1 puts the new item where the reference was.
  EXPECT_EQ(YYMenuItemFind(menu, 40040, containing), reference - 1);
  id = 40040;
  YYMenuItemDelete(id);
  EXPECT_EQ(id, 40040);
  EXPECT_LT(YYMenuItemFind(menu, 40040, containing), 0);
  YYMenuItemDelete(id);
  EXPECT_EQ(id, -1);
}

}  // namespace
