#pragma once
// The window procedures of the toolkit's frame and client windows.

#include <windows.h>

LRESULT CALLBACK YYFrameWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK YYClientWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The slot whose menu serves this window's slot: the first top-level frame up
// from it, when that has a menu, else 0.
int YYMenuSlotOf(int slot);
// Lays the frame's bars and client window out within its client rectangle.
void YYFrameLayout(int slot);
