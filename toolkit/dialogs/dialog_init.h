#pragma once
// What happens when a dialog window initialises: every control gets its
// record and the toolkit's procedures; a modal copy is filled from its loaded
// dialog.  With it the small control routines the dialog routines share.

#include <windows.h>

#include <span>

struct DialogRecord;

// record: that of a newly created dialog, or null for a modal copy.  Returns
// the value for WM_INITDIALOG.
INT_PTR YYDialogInit(HWND dialog, DialogRecord* record);
// Copies captions, controls, values and records from one dialog to another
// made from the same template; stops at the first pair of controls of
// different kinds.
void YYDialogStateCopy(HWND target, HWND source);
void YYBitmapFaceBackground(HBITMAP bitmap);
void YYPageFocusFirst(HWND fallback, HWND page, int setFocus);
// field: -1 when there is no such control; caret -1 selects all.
void YYFieldFocus(int& field, int caret);
void YYFieldSelectText(HWND control);
void YYTabSelect(int& tabField, int& pageId);
void YYTabPageEnable(int& tabField, int& pageId, int flag);
void YYFieldTabStops(int& field, std::span<const int> stops, int count);

// The two words each tab item carries: its page dialog and whether it is disabled.
struct TabItemData {
  int pageId = 0;
  int disabled = 0;
};
bool tabItemDataGet(HWND tab, int index, TabItemData& data);
bool tabItemDataSet(HWND tab, int index, const TabItemData& data);
// The page dialog of a tab item when it is loaded, else null.
HWND tabPageWindow(HWND tab, int index);
