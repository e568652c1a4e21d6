#pragma once
// The toolkit's procedures in front of the standard controls of every dialog,
// and the back ends of list, tab, progress and trackbar fields.

#include <windows.h>

void YYControlClassesProbe();
void YYListControlClassesProbe();

LRESULT CALLBACK YYFieldProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK YYButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK YYStaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK YYTextFieldProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK YYTrackbarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK YYTabProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK YYTreeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void YYDefaultButtonPress(HWND control);
// The event type of a mouse message on a drawing target (104 down, 105 up,
// 106 move, 116 double click when enabled), with the capture it needs and the
// button noted in the dialog's record.
struct DialogRecord;
int YYMouseEventType(HWND window, UINT message, DialogRecord* record);
void YYActiveControlStore(HWND dialog, HWND control);
// field 0 is the current dialog itself; -1 back when it cannot be had.
void YYFieldBackBufferCreate(int& field, int& width, int& height);
// which: 1 text, 2 background.  Red 256 restores the system colour, -1 keeps it.
void YYFieldColourStore(HWND control, int which, int red, int green, int blue);
void YYFieldColoursSet(int& field, int textRed, int textGreen, int textBlue, int backRed, int backGreen,
                       int backBlue);
void YYTabQuery(int& field, int& pageId);
void YYProgressSet(int& field, int value, int mode);
void YYProgressRange(int& field, int minimum, int maximum);
void YYTrackbarSet(int& field, int position, int selectionStart, int selectionEnd, int selectionMode);
void YYTrackbarQuery(int& field, int& position, int& selectionStart, int& selectionEnd);
void YYTrackbarRange(int& field, int minimum, int maximum, int ticFrequency);
void YYTrackbarRangeQuery(int& field, int& minimum, int& maximum);
void YYTrackbarSteps(int& field, int lineSize, int pageSize);
void YYListCount(int& field, int& count);
void YYListItemSelected(int& field, int index, int& state);
void YYListItemSelect(int& field, int index, int state);
void YYListRangeSelect(int& field, int first, int last, int state);
