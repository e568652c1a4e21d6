#pragma once
// Window selection, queries and small services: which window the drawing and
// text routines work on, questions about it, focus, cursor and beeps.

#include <windows.h>

// Selects window 0-20 as the current window; error 1003 for one that does not exist.
void YYWINSEL(int index, int option);
// YYWINSEL with the stored option word.
void YYWindowReselect(int index);
// Window queries by code: 1, 2 client size; 3 flags; 4 current window index;
// 5, 6 frame position; 7, 8 client origin on the screen; 9 state; 10 record
// kind; 11, 12 normal client size.
int YYWindowInfo(int code);

// Window state codes.
enum WindowStateCode : int { kStateMinimised = 0, kStateNormal = 1, kStateMaximised = 2, kStateHidden = 3 };

// The difference between placement (workspace) and screen coordinates of a
// top-level window, measured on a temporary window.
POINT YYPlacementCorrection();
void YYWindowRect(int mode, int& a, int& b, int& inside, int& container);
void YYClientOrigin(int& x, int& y);
void YYWindowState(int& state);
void YYWindowNormalClientSize(int& width, int& height);
void YYSystemColour(int which, COLORREF& rgb);
void YYMouseButtons(int& count);
void YYDialogParentKind(int& kind);
void YYWindowRecordKind(int& kind);
// The slot 0-20 whose frame or client is the window, else the slot whose frame
// shows it as its dialog, else -1.
int YYWindowSlotOf(HWND window);
void YYWindowFocus(HWND window);
void YYCursorSet(int shape);
void YYCursorMove(int x, int y, int target);
void YYBeep();
void YYBeepIfEnabled();
void YYBeepEnable(int flag);
// Gives a drawing context back the pen and brush it had before the toolkit's
// were selected into it, and forgets them (a null context only forgets them).
void YYDrawDcRestoreObjects(HDC dc);
void YYDrawDcRelease();
void YYLocaleDecimalSwitch(char flag);
INT_PTR CALLBACK YYNullDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

struct WindowSelectState {
  int localeDecimalSwitch = 0;
  int heldOption = 0;  // the option of the last selection, for reselecting
};
extern WindowSelectState windowSelectState;

// What YYDialogParentKind and YYWindowFocus need of the dialog manager: the
// current dialog's window and the loaded dialogs.  Until the dialog manager
// fills them there are none.
struct DialogView {
  HWND (*currentDialog)() = nullptr;
  int (*loadedCount)() = nullptr;
  HWND (*loadedDialog)(int index) = nullptr;
};
extern DialogView dialogView;
