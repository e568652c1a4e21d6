// The root window as the converter opens it: size, position, bars, menu and
// toolbar from resources, and shut-down.
#include <windows.h>
#include <commctrl.h>
#include <winspool.h>

#include <string>

#include "root_fixture.h"
#include "toolkit/core/error_reporter.h"
#include "toolkit/core/window_select.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/dialogs/field_access.h"
#include "toolkit/dialogs/message_box.h"
#include "toolkit/drivers/hardcopy_setup.h"
#include "toolkit/graphics/colours.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/screen_gdi.h"

namespace {

using RootWindow = ConverterWindow;

TEST_F(RootWindow, ConverterWindowIsCentredWithAnExactClientAreaAndItsBars) {
  RECT client{};
  GetClientRect(rootClient(), &client);
  EXPECT_EQ(client.right, 512);
  EXPECT_EQ(client.bottom, 256);
  EXPECT_EQ(YYWindowInfo(1), 512);
  EXPECT_EQ(YYWindowInfo(2), 256);

  RECT frame{};
  GetWindowRect(rootFrame(), &frame);
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_NEAR((frame.left + frame.right) / 2, screenWidth / 2, 1);
  EXPECT_NEAR((frame.top + frame.bottom) / 2, screenHeight / 2, 1);

  char title[128] = {};
  GetWindowTextA(rootFrame(), title, sizeof title);
  EXPECT_STREQ(title, kConverterTitle);
  const LONG style = GetWindowLongA(rootFrame(), GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_TRUE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME) << "fixed size";

  // Toolbar on top, status bar of two panes at the bottom, client between.
  HWND toolbar = windowTable.slots[0].toolbars[kToolbarTop];
  HWND status = windowTable.slots[0].statusBar;
  ASSERT_NE(toolbar, nullptr);
  ASSERT_NE(status, nullptr);
  EXPECT_FALSE(GetWindowLongA(status, GWL_STYLE) & SBARS_SIZEGRIP);
  EXPECT_EQ(GetDlgCtrlID(status), 999);
  EXPECT_EQ(SendMessageA(status, SB_GETPARTS, 0, 0), 2);
  RECT bar{};
  RECT clientOnScreen = client;
  MapWindowPoints(rootClient(), nullptr, reinterpret_cast<POINT*>(&clientOnScreen), 2);
  GetWindowRect(toolbar, &bar);
  EXPECT_EQ(bar.bottom, clientOnScreen.top);
  GetWindowRect(status, &bar);
  EXPECT_EQ(bar.top, clientOnScreen.bottom);
  RECT inner{};
  GetClientRect(rootFrame(), &inner);
  MapWindowPoints(rootFrame(), nullptr, reinterpret_cast<POINT*>(&inner), 2);
  EXPECT_EQ(bar.bottom, inner.bottom);
}

// The graphics defaults ran and asked the Windows printer driver for the
// default printer; a machine without one opens the window all the same.
TEST_F(RootWindow, OpeningSetsTheGraphicsDefaultsWithOrWithoutAPrinter) {
  char name[256] = {};
  DWORD size = sizeof name;
  const bool printer = GetDefaultPrinterA(name, &size) != FALSE;
  EXPECT_EQ(yyDumpSettings.printerPresent, printer ? 1 : 0);
  EXPECT_EQ(yyGrAttributes.ScreenDriverOn, 1);
  EXPECT_EQ(yyGrAttributes.TargetKind, kTargetWindow);
  EXPECT_EQ(yyGrAttributes.DrawMode, 0);
  EXPECT_EQ(yyGdiContext.RopCode, R2_COPYPEN);
  EXPECT_EQ(yyGrAttributes.DeviceMaxY, 255);
  EXPECT_FLOAT_EQ(yyGrState.SurfaceAspect, 2.0f);
  EXPECT_EQ(yyColourTable[0], static_cast<std::int32_t>(RGB(0xFF, 0xFF, 0xFF)));
  EXPECT_EQ(yyColourTable[31], static_cast<std::int32_t>(RGB(0xFF, 0, 0)));
  EXPECT_EQ(yyGrAttributes.ColourNumber, 223);
  EXPECT_EQ(yyGrAttributes.PreviousColourNumber, 0);
}

TEST_F(RootWindow, MenuCarriesThePopupIdsOfItsCommandResource) {
  HMENU menu = GetMenu(rootFrame());
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu, windowTable.slots[0].menu);
  struct IdCase {
    int id;
    const char* text;
  };
  const IdCase cases[] = {{40001, "&File"}, {40018, "&Options"}, {40027, "&NMEA data"},
                          {40012, "&Coordinate format"}, {40017, "&Data type"}, {40004, "Track &filter"},
                          {40006, "&Help"}};
  for (const IdCase& c : cases) {
    HMENU containing = nullptr;
    const int position = YYMenuItemFind(menu, c.id, containing);
    ASSERT_GE(position, 0) << c.id;
    char text[64] = {};
    GetMenuStringA(containing, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, c.text) << c.id;
  }
  // The Options popup's sixth item is NMEA data.
  HMENU options = GetSubMenu(menu, 1);
  EXPECT_EQ(GetMenuItemID(options, 5), 0xFFFFFFFFu);  // a popup answers no command id here
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_ID;
  ASSERT_TRUE(GetMenuItemInfoA(options, 5, TRUE, &info));
  EXPECT_EQ(info.wID, 40027u);
  // An item marked inactive in the template is greyed.
  EXPECT_TRUE(GetMenuState(menu, 40033, MF_BYCOMMAND) & MF_GRAYED);
}

TEST_F(RootWindow, ToolbarButtonsTakeImagesInOrderSkippingSeparators) {
  HWND toolbar = windowTable.slots[0].toolbars[kToolbarTop];
  ASSERT_NE(toolbar, nullptr);
  EXPECT_EQ(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0), 18);
  struct ImageCase {
    int id;
    int image;
  };
  for (const ImageCase c : {ImageCase{40002, 0}, ImageCase{40003, 2}, ImageCase{40019, 3}, ImageCase{40026, 7},
                            ImageCase{40013, 8}, ImageCase{40010, 13}}) {
    const LRESULT index = SendMessageA(toolbar, TB_COMMANDTOINDEX, static_cast<WPARAM>(c.id), 0);
    TBBUTTON button{};
    ASSERT_TRUE(SendMessageA(toolbar, TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button)));
    EXPECT_EQ(button.iBitmap, c.image) << c.id;
  }
  // Buttons are asked for at 22 x 22; Wine's toolbar keeps its buttons at
  // least the image width + 7 wide.
  const LRESULT size = SendMessageA(toolbar, TB_GETBUTTONSIZE, 0, 0);
  EXPECT_GE(LOWORD(size), 22);
  EXPECT_LE(LOWORD(size), 23);
  EXPECT_EQ(HIWORD(size), 22);
  RECT barRect{};
  GetWindowRect(toolbar, &barRect);
  EXPECT_EQ(barRect.bottom - barRect.top, 28);
  // The image of button 40019 (the fourth image) is on screen: its red component is 16 x 3 + 8.
  RECT item{};
  const LRESULT index = SendMessageA(toolbar, TB_COMMANDTOINDEX, 40019, 0);
  SendMessageA(toolbar, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  ui::pumpMessages(50);
  HDC dc = GetDC(toolbar);
  const COLORREF centre = GetPixel(dc, (item.left + item.right) / 2, (item.top + item.bottom) / 2);
  ReleaseDC(toolbar, dc);
  if (windowTable.colourCount > 256) {
    EXPECT_EQ(GetRValue(centre), 16 * 3 + 8);
  }
}

TEST(RootWindowLifecycle, AToolbarAddedToTheOpenWindowTakesItsRoomFromTheClientArea) {
  ui::Watchdog watchdog(60000, "toolbar after open");
  openWithRecordThenToolbar();
  RECT client{};
  GetClientRect(rootClient(), &client);
  EXPECT_EQ(client.right, 512);
  EXPECT_EQ(client.bottom, 256 - 28);
  // The drawing routines follow the new size.
  EXPECT_EQ(YYWindowInfo(2), 256 - 28);
  WShutdown();
}

TEST_F(RootWindow, ASecondOpenChangesNothing) {
  HWND frame = rootFrame();
  RootWindowOptions options;
  options.width = 300;
  options.height = 200;
  options.title = "Other";
  WindowOpen2(options);
  EXPECT_EQ(rootFrame(), frame);
  RECT client{};
  GetClientRect(rootClient(), &client);
  EXPECT_EQ(client.right, 512);
  EXPECT_EQ(YYWindowInfo(3), 0x67);
}

struct ThreadWindows {
  int count = 0;
};
BOOL CALLBACK countWindow(HWND, LPARAM data) {
  ++reinterpret_cast<ThreadWindows*>(data)->count;
  return TRUE;
}

TEST(RootWindowLifecycle, ShutdownLeavesNoWindowAndAllowsANewOpen) {
  ui::Watchdog watchdog(60000, "shutdown test");
  ThreadWindows before;
  EnumThreadWindows(GetCurrentThreadId(), countWindow, reinterpret_cast<LPARAM>(&before));
  openConverterWindow();
  HWND frame = rootFrame();
  HWND client = rootClient();
  ASSERT_TRUE(IsWindow(frame));
  WShutdown();
  EXPECT_FALSE(IsWindow(frame));
  EXPECT_FALSE(IsWindow(client));
  ThreadWindows after;
  EnumThreadWindows(GetCurrentThreadId(), countWindow, reinterpret_cast<LPARAM>(&after));
  EXPECT_EQ(after.count, before.count);
  for (const WindowSlot& s : windowTable.slots) {
    EXPECT_EQ(s.frame, nullptr);
    EXPECT_EQ(s.client, nullptr);
  }
  EXPECT_EQ(yyGdiContext.DrawDc, nullptr);
  EXPECT_EQ(windowTable.rootFlags, -1);
  EXPECT_FALSE(windowTable.rootOpen);
  // A new open works after the shut-down.
  openConverterWindow();
  EXPECT_TRUE(IsWindow(rootFrame()));
  WShutdown();
}

TEST(RootWindowLifecycle, DefaultsHiddenAndCombinedDialogs) {
  ui::Watchdog watchdog(60000, "root window options test");
  YYErrorStateReset();
  // Width and height 0: 80% of the screen; no status bar: sizing border and no bars.
  RootWindowOptions options;
  options.flags = 0x87;  // system menu, boxes, hidden
  options.width = 0;
  options.height = 0;
  WindowOpen2(options);
  RECT client{};
  GetClientRect(rootClient(), &client);
  EXPECT_EQ(client.right, GetSystemMetrics(SM_CXSCREEN) * 80 / 100);
  EXPECT_EQ(client.bottom, GetSystemMetrics(SM_CYSCREEN) * 80 / 100);
  EXPECT_FALSE(IsWindowVisible(rootFrame()));
  EXPECT_NE(GetFocus(), rootClient());
  EXPECT_EQ(YYWindowInfo(9), kStateHidden);
  WShutdown();

  // A dialog with a caption is refused with 1045 and the window still opens.
  RootWindowOptions captioned;
  captioned.flags = 0x21;
  captioned.width = 200;
  captioned.height = 100;
  captioned.dialog = 102;
  WindowOpen2(captioned);
  EXPECT_EQ(WErrorStatusQuery(1), 1045);
  EXPECT_TRUE(IsWindowVisible(rootFrame()));
  EXPECT_EQ(YYWindowInfo(10), kRecordNone);
  WShutdown();

  // A template that does not exist: 1007.
  captioned.dialog = 199;
  WindowOpen2(captioned);
  EXPECT_EQ(WErrorStatusQuery(1), 1007);
  WShutdown();

  // A control-style dialog fills the client area of a fixed-size window.
  RootWindowOptions combined;
  combined.flags = 0x27;
  combined.dialog = 101;
  WindowOpen2(combined);
  EXPECT_EQ(WErrorStatusQuery(1), 0);
  const WindowRecord* record = windowRecordOf(rootFrame());
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->kind, kRecordCombinedDialog);
  ASSERT_NE(record->dialog, nullptr);
  RECT dialogRect{};
  GetWindowRect(record->dialog, &dialogRect);
  GetClientRect(rootClient(), &client);
  EXPECT_EQ(client.right, dialogRect.right - dialogRect.left);
  EXPECT_EQ(client.bottom, dialogRect.bottom - dialogRect.top);
  EXPECT_FALSE(GetWindowLongA(rootFrame(), GWL_STYLE) & WS_THICKFRAME);
  EXPECT_FALSE(GetWindowLongA(rootFrame(), GWL_STYLE) & WS_MAXIMIZEBOX);
  HWND dialog = record->dialog;
  // The dialog manager holds it, current, and it knows its window.
  EXPECT_EQ(dialogTable.count, 1);
  EXPECT_EQ(currentDialogWindow(), dialog);
  EXPECT_EQ(WQueryLastResult(kLastDialogIdentifier), 101);
  ASSERT_NE(dialogRecordOf(dialog), nullptr);
  EXPECT_EQ(dialogRecordOf(dialog)->combinedWindow, rootFrame());
  EXPECT_EQ(dialogRecordOf(dialog)->ownerWindow, rootFrame());
  WDialogPutString(1005, "Typed");
  EXPECT_EQ(ui::textOf(GetDlgItem(dialog, 1005)), "Typed");
  EXPECT_EQ(WErrorStatusQuery(1), 0);
  // A click on its button is its button event; boxes are owned by the window.
  ui::bringToForeground(GetDlgItem(dialog, 1005));
  drainEvents();
  RECT button{};
  GetClientRect(GetDlgItem(dialog, 1004), &button);
  ui::clickAt(GetDlgItem(dialog, 1004), button.right / 2, button.bottom / 2);
  EventRecord event;
  ASSERT_EQ(ui::waitEventOfType(kEventButton, event), kEventButton);
  EXPECT_EQ(event.win, 101);
  EXPECT_EQ(event.value1, 1004);
  EXPECT_EQ(YYModalBoxOwner(), rootFrame());
  WShutdown();
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_EQ(dialogTable.count, 0);
}

}  // namespace
