#pragma once
// Tree-view fields: what dialog creation and the modal copy use of them.

#include <windows.h>

#include <commctrl.h>

// Fills the tree from a menu resource; number 0 does nothing.
void YYTreeFromMenu(HWND tree, int menuNumber, int selectIdentifier);
// Copies the source items from `first` on, with their subtrees, under the
// target parent.
void YYTreeCopy(HWND target, HTREEITEM targetParent, HWND source, HTREEITEM first);
