#pragma once
// The procedure of every toolkit dialog and modal copy: notifications become
// toolkit events, OK is refused while the focused number is invalid, a modal
// run ends and copies its state back, spin fields step, controls are coloured.

#include <windows.h>

INT_PTR CALLBACK YYDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// The brush for a coloured control, or 0 for default colouring.
HBRUSH YYDialogCtlColor(HWND dialog, UINT message, HDC dc, HWND control);
// The spin step of an arrow click with delta; returns false when the buddy is
// not a spin field.
bool YYSpinStep(HWND buddy, int& delta);
