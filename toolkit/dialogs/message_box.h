#pragma once
// The toolkit's message box, the last results of modal interactions, and the
// window-image freeze that every modal box puts around itself.

#include <windows.h>

#include <string_view>

// Button sets (first argument of WMessageBox); any other value is OK alone.
enum MessageBoxButtons : int {
  kButtonsOk = 0,
  kButtonsOkCancel = 1,
  kButtonsRetryCancel = 2,
  kButtonsYesNo = 3,
  kButtonsYesNoCancel = 4,
  kButtonsAbortRetryIgnore = 5,
};
enum MessageBoxIcon : int { kIconNone = 0, kIconStop = 1, kIconQuestion = 2, kIconExclamation = 3, kIconInformation = 4 };
// Results in last result 4: 1 OK/Yes/Retry, 2 No/Abort, 0 Cancel/Ignore (or a
// box that could not be shown), -1 a common-dialog failure.
enum MessageBoxResult : int { kResultCancel = 0, kResultYes = 1, kResultNo = 2, kResultFailed = -1 };

// What WQueryLastResult answers.
enum LastResultCode : int {
  kLastExitButton = 1,
  kLastFocusField = 2,
  kLastDialogIdentifier = 3,
  kLastAnswer = 4,
  kLastModalIdentifier = 5,
  kLastDialogX = 6,
  kLastDialogY = 7,
  kLastDialogWidth = 8,
  kLastDialogHeight = 9,
  kLastParentKind = 10,
};

// Shows a modal box: buttons 0-5, icon 0-4, default button named by the result
// it gives (1, 2, 3 the Cancel or Ignore button); the answer goes to last result 4.
void WMessageBox(int buttons, int icon, int defaultButton, std::string_view text, std::string_view title);
// windowsDefault: 1-3, the place of the default button.
void YYMessageBox(int buttons, int icon, int windowsDefault, int& result, const char* text, const char* title);
int WQueryLastResult(int code);
void YYDialogExitQuery(int code, int& value);
// Stores a last result word (codes 1-5).
void YYLastResultSet(int code, int value);
// Back to 0: start-up and shut-down.
void YYLastResultsReset();

// Mode 1 freezes the images of the visible toolkit windows and of the shown
// dialogs that have drawing fields; any other mode thaws once.  Freezes nest.
void YYModalWindowsEnable(int mode, int leaveOutSlot, int& status);
bool YYDialogHasGraphics(HWND dialog);
// The owner of a modal box: the active dialog when it is visible (or the
// window it is combined with), else the owner window for dialogs.
HWND YYModalBoxOwner();
// Around every modal box: the other dialogs and toolkit windows are disabled,
// then enabled again, and a child owner gets the focus back.
void YYModalBoxBegin(HWND owner);
void YYModalBoxEnd(HWND owner);
// The frozen image of a dialog slot, or null.
HBITMAP frozenDialogImage(int slot);
bool windowImagesActive();
