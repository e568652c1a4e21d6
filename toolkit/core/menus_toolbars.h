#pragma once
// Menus and toolbars from the program's resources, kept in step with each other.
//
// Resources, keyed by number (16-bit little-endian words):
//  - RT_MENU n with RT_RCDATA n (command ids for popup items: id, path of
//    1-based positions, 0; ended by id 0), an accelerator table n and an
//    optional "QVRMENUSTRING" n (id, NUL-ended help text; ended by id 0);
//  - a toolbar: RT_RCDATA n (image width, image height, one command id per
//    button with 0 for a separator, ended by two 0 words) and RT_BITMAP n with
//    one image per non-separator button.

#include <windows.h>

#include <optional>
#include <string_view>

// Creates, replaces or (number 0) removes a toolbar of window 0-20 at position
// 1 top, 2 left, 3 right, 4 bottom.
void WMenuToolbar(int number, std::optional<int> window = std::nullopt, std::optional<int> position = std::nullopt);
// Mode 1 enables (state 1) or greys (0), mode 2 checks or unchecks, the item in
// the menu and the toolbars alike.
void WMenuSetState(int id, int mode, int state);

HMENU YYMenuLoad(int& number);
void YYMenuIdsApply(HMENU menu, int number);
void YYMenuGreyDisabled(HMENU menu);
void YYToolbarCreate(int& number, int slot, int position, int& newWidth, int& newHeight);
void YYWindowMenuSet(int& number, int slot);
void YYPopupMenu(int& number, int x, int y);
void YYMenuItemCheck(int id, int& state);
void YYMenuItemEnable(int id, int& state);
void YYMenuItemStateQuery(int id, int mode, int& state);
void YYMenuItemTextSet(int& id, std::string_view text);
void YYMenuItemHelpSet(int& id, std::string_view text);
void YYMenuItemInsert(int& referenceId, int offset, int newId, std::string_view text);
void YYMenuItemDelete(int& id);
void YYToolbarTipSet(int& id, std::string_view text, int length);
int YYMenuItemFind(HMENU menu, int id, HMENU& containing);
void YYMenuBarRefresh(int id, int slot);
void YYMenuTextsCopy(HMENU popup, HMENU windowMenu);
void YYMenuItemDataFree(HMENU menu, int slot);
void YYWindowBarsOrder(int slot);
int YYWindowHasBars(int slot);

// Loads the accelerator table and the help-text resource of a window's menu.
void YYMenuResourcesLoad(int slot, int number);
// The help text attached to a menu item, or null.
const char* YYMenuItemHelpOf(HMENU menu, UINT id);
// The text of an id in a QVRMENUSTRING resource, or null.
const char* YYMenuStringFind(const BYTE* resource, DWORD size, UINT id);
// The menu slot that the menu routines work on for the current window.
int YYMenuWorkSlot();
