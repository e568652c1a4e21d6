#pragma once
// Child windows (slots 1-20) and the window operations on the current slot.

#include <windows.h>

#include <array>
#include <string_view>

// Result slot 1-20, or -1 no free slot or creation failed, -2 parent not
// visible, -3 parent holds a combined dialog, -4 parent carries another
// record, -5 no parent window.  `dialog` comes back -1 (template not creatable)
// or -2 (wrong style) when it cannot be combined.
void YYChildWindowCreate(int x, int y, int width, int height, int& slot, int flags, int menu,
                         const std::array<int, 4>& toolbars, int& dialog, int parentSlot, std::string_view title);
void YYChildWindowClose(int& slot, HWND& dialog);
int YYFreeWindowSlot();
void YYWindowMciClose(int slot);
// A device reported that it finished: it leaves the device table and is closed.
void YYWindowMciNotify(UINT device);
void YYWindowIsChild(int& flag);
// Moves, sizes and shows the current window; -999999 keeps a value; state 0
// minimised, 1 normal, 2 maximised, 3 hidden, -1 unchanged.
void YYWindowPlacementSet(int x, int y, int& width, int& height, int state);
void YYWindowTitleIcon(int& icon, int mode, std::string_view title);
void YYWindowToFront();
void YYWindowScroll(int dx, int dy, int colour);
// Makes the slot the current window and its client the drawing target;
// slot -1 when refused.
void YYWindowSelectTarget(int& width, int& height, int& slot);
