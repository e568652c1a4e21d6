#pragma once
// Tree-view fields: trees filled from menu resources, copied item by item for
// the modal copy, and the back ends that find, insert, delete, rename, select,
// expand and query items by their 32-bit item identifiers.
//
// The field operations work on a field of the current dialog, named by its id
// in `field`; they answer through it: -1 no tree-view field of that id, -2 the
// identifier (or a selection) was not found, -3 the item is not a branch or the
// new identifier exists already.  They change nothing when they answer so.

#include <windows.h>

#include <commctrl.h>

#include <string_view>

// The answers through the field argument.
constexpr int kTreeNoField = -1;
constexpr int kTreeNotFound = -2;
constexpr int kTreeRefused = -3;

// Insert positions: before the reference, as its last child; any other value
// puts the new item after it.
constexpr int kTreeInsertBefore = 1;
constexpr int kTreeInsertChild = 3;

// Fills the tree from a menu resource; number 0 does nothing.
void YYTreeFromMenu(HWND tree, int menuNumber, int selectIdentifier);
// Copies the source items from `first` on, with their subtrees, under the
// target parent.
void YYTreeCopy(HWND target, HTREEITEM targetParent, HWND source, HTREEITEM first);
// The first item, depth first, whose identifier matches; null when none.
HTREEITEM YYTreeFind(HWND tree, int identifier);

void YYTreeInsert(int& field, int reference, int position, int identifier, std::string_view text);
void YYTreeDelete(int& field, int identifier);
// The text is at most `size` bytes, up to its first NUL.
void YYTreeRename(int& field, int identifier, const char* text, int size);
void YYTreeSelect(int& field, int identifier);
// The identifier of the selected item, and with wantText its text into the
// buffer of `size` bytes, NUL-ended.
void YYTreeSelectionQuery(int& field, int& identifier, int wantText, char* buffer, int size);
// 2 expanded, 1 collapsed.
void YYTreeBranchState(int& field, int identifier, int& state);
// Mode 1 collapses, any other mode expands.
void YYTreeExpand(int& field, int identifier, int mode);
// 1 refuses an insert whose identifier exists already; 0 accepts it.
void YYTreeUniqueIds(int flag);
