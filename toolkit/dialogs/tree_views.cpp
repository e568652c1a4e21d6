// Least bodies: tree-view fields are filled and copied by the tree-view work
// that is still to come; until then a tree stays as its template made it.
#include "toolkit/dialogs/tree_views.h"

void YYTreeFromMenu(HWND, int, int) {}

void YYTreeCopy(HWND, HTREEITEM, HWND, HTREEITEM) {}
