#include "toolkit/dialogs/tree_views.h"

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "toolkit/core/menus_toolbars.h"
#include "toolkit/dialogs/dialog_table.h"

namespace {

// Longest item text the copy reads.
constexpr int kItemTextLimit = 32767;

int uniqueIdentifiers = 1;

struct MenuDestroyer {
  void operator()(HMENU menu) const { DestroyMenu(menu); }
};
using OwnedMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDestroyer>;

HTREEITEM nextItem(HWND tree, HTREEITEM item, UINT relation) {
  return reinterpret_cast<HTREEITEM>(
      SendMessageA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

HTREEITEM insertItem(HWND tree, TVINSERTSTRUCTA& insert) {
  return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

void selectItem(HWND tree, HTREEITEM item) {
  SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

int identifierOf(HWND tree, HTREEITEM item) {
  TVITEMA data{};
  data.mask = TVIF_PARAM | TVIF_HANDLE;
  data.hItem = item;
  SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
  return static_cast<int>(data.lParam);
}

// A branch has children, or says it has.
bool isBranch(HWND tree, HTREEITEM item) {
  if (nextItem(tree, item, TVGN_CHILD) != nullptr) return true;
  TVITEMA data{};
  data.mask = TVIF_CHILDREN | TVIF_HANDLE;
  data.hItem = item;
  SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
  return data.cChildren > 0;
}

// The tree-view field of the current dialog with that id, else null.
HWND treeField(int field) {
  HWND control = currentDialogItem(field);
  return control != nullptr && controlKindOf(control) == kKindTree ? control : nullptr;
}

// The field's tree and the item of the identifier; answers -1 or -2 through
// the field when there is none.
bool findInField(int& field, int identifier, HWND& tree, HTREEITEM& item) {
  tree = treeField(field);
  if (tree == nullptr) {
    field = kTreeNoField;
    return false;
  }
  item = YYTreeFind(tree, identifier);
  if (item == nullptr) {
    field = kTreeNotFound;
    return false;
  }
  return true;
}

std::string menuItemText(HMENU menu, int position) {
  const int length = GetMenuStringA(menu, static_cast<UINT>(position), nullptr, 0, MF_BYPOSITION);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = GetMenuStringA(menu, static_cast<UINT>(position), text.data(), length + 1, MF_BYPOSITION);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

void fillLevel(HWND tree, HTREEITEM parent, HMENU menu, int selectIdentifier) {
  const int count = GetMenuItemCount(menu);
  for (int position = 0; position < count; ++position) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU;
    if (!GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info)) continue;
    std::string text = menuItemText(menu, position);
    const bool branch = info.hSubMenu != nullptr;
    const bool expanded = branch && (info.fState & MFS_CHECKED) != 0;

    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_STATE | TVIF_CHILDREN;
    insert.item.pszText = text.data();
    insert.item.lParam = static_cast<LPARAM>(static_cast<int>(info.wID));
    insert.item.state = expanded ? TVIS_EXPANDED : 0;
    insert.item.stateMask = TVIS_EXPANDED;
    insert.item.cChildren = branch ? 1 : 0;
    HTREEITEM item = insertItem(tree, insert);
    if (item == nullptr) continue;
    if (static_cast<int>(info.wID) == selectIdentifier) selectItem(tree, item);
    if (branch) {
      fillLevel(tree, item, info.hSubMenu, selectIdentifier);
      if (expanded) SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
    }
  }
}

}  // namespace

void YYTreeFromMenu(HWND tree, int menuNumber, int selectIdentifier) {
  if (menuNumber == 0 || tree == nullptr) return;
  int number = menuNumber;
  const OwnedMenu menu{YYMenuLoad(number)};
  if (!menu) return;
  fillLevel(tree, TVI_ROOT, menu.get(), selectIdentifier);
}

void YYTreeCopy(HWND target, HTREEITEM targetParent, HWND source, HTREEITEM first) {
  std::vector<char> text(kItemTextLimit + 1, '\0');
  for (HTREEITEM item = first; item != nullptr; item = nextItem(source, item, TVGN_NEXT)) {
    TVITEMA data{};
    data.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN | TVIF_STATE | TVIF_HANDLE;
    data.hItem = item;
    data.stateMask = TVIS_SELECTED | TVIS_EXPANDED;
    text[0] = '\0';
    data.pszText = text.data();
    data.cchTextMax = static_cast<int>(text.size());
    if (!SendMessageA(source, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data))) continue;
    const bool selected = (data.state & TVIS_SELECTED) != 0;
    const bool expanded = (data.state & TVIS_EXPANDED) != 0;
    HTREEITEM firstChild = nextItem(source, item, TVGN_CHILD);

    TVINSERTSTRUCTA insert{};
    insert.hParent = targetParent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN | TVIF_STATE;
    insert.item.pszText = text.data();
    insert.item.lParam = data.lParam;
    insert.item.cChildren = firstChild != nullptr ? 1 : data.cChildren;
    insert.item.state = expanded ? TVIS_EXPANDED : 0;
    insert.item.stateMask = TVIS_EXPANDED;
    HTREEITEM copy = insertItem(target, insert);
    if (copy == nullptr) continue;
    if (selected) selectItem(target, copy);
    if (firstChild != nullptr) {
      YYTreeCopy(target, copy, source, firstChild);
      if (expanded) SendMessageA(target, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(copy));
    }
  }
}

HTREEITEM YYTreeFind(HWND tree, int identifier) {
  HTREEITEM item = nextItem(tree, nullptr, TVGN_ROOT);
  while (item != nullptr) {
    if (identifierOf(tree, item) == identifier) return item;
    if (HTREEITEM child = nextItem(tree, item, TVGN_CHILD); child != nullptr) {
      item = child;
      continue;
    }
    // No children: the next sibling of this item or of the nearest ancestor that has one.
    while (item != nullptr) {
      if (HTREEITEM sibling = nextItem(tree, item, TVGN_NEXT); sibling != nullptr) {
        item = sibling;
        break;
      }
      item = nextItem(tree, item, TVGN_PARENT);
    }
  }
  return nullptr;
}

void YYTreeInsert(int& field, int reference, int position, int identifier, std::string_view text) {
  HWND tree = treeField(field);
  if (tree == nullptr) {
    field = kTreeNoField;
    return;
  }
  TVINSERTSTRUCTA insert{};
  HTREEITEM referenceItem = nullptr;
  const bool empty = nextItem(tree, nullptr, TVGN_ROOT) == nullptr;
  if (empty) {
    insert.hParent = TVI_ROOT;
    insert.hInsertAfter = TVI_FIRST;
  } else {
    referenceItem = YYTreeFind(tree, reference);
    if (referenceItem == nullptr) {
      field = kTreeNotFound;
      return;
    }
    HTREEITEM parent = nextItem(tree, referenceItem, TVGN_PARENT);
    if (parent == nullptr) parent = TVI_ROOT;
    if (position == kTreeInsertChild) {
      insert.hParent = referenceItem;
      insert.hInsertAfter = TVI_LAST;
    } else if (position == kTreeInsertBefore) {
      HTREEITEM previous = nextItem(tree, referenceItem, TVGN_PREVIOUS);
      insert.hParent = parent;
      insert.hInsertAfter = previous != nullptr ? previous : TVI_FIRST;
    } else {
      insert.hParent = parent;
      insert.hInsertAfter = referenceItem;
    }
  }
  if (uniqueIdentifiers == 1 && YYTreeFind(tree, identifier) != nullptr) {
    field = kTreeRefused;
    return;
  }
  std::string itemText(text);
  insert.item.mask = TVIF_TEXT | TVIF_PARAM;
  insert.item.pszText = itemText.data();
  insert.item.lParam = static_cast<LPARAM>(identifier);
  insertItem(tree, insert);
  if (!empty && position == kTreeInsertChild) {
    // The reference has become a branch: it shows its expand button.
    TVITEMA data{};
    data.mask = TVIF_CHILDREN | TVIF_HANDLE;
    data.hItem = referenceItem;
    data.cChildren = 1;
    SendMessageA(tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&data));
  }
  UpdateWindow(tree);
}

void YYTreeDelete(int& field, int identifier) {
  HWND tree = nullptr;
  HTREEITEM item = nullptr;
  if (!findInField(field, identifier, tree, item)) return;
  SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
  UpdateWindow(tree);
}

void YYTreeRename(int& field, int identifier, const char* text, int size) {
  HWND tree = nullptr;
  HTREEITEM item = nullptr;
  if (!findInField(field, identifier, tree, item)) return;
  std::string itemText;
  for (int i = 0; text != nullptr && i < size && text[i] != '\0'; ++i) itemText.push_back(text[i]);
  TVITEMA data{};
  data.mask = TVIF_TEXT | TVIF_HANDLE;
  data.hItem = item;
  data.pszText = itemText.data();
  SendMessageA(tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&data));
}

void YYTreeSelect(int& field, int identifier) {
  HWND tree = nullptr;
  HTREEITEM item = nullptr;
  if (!findInField(field, identifier, tree, item)) return;
  selectItem(tree, item);
  UpdateWindow(tree);
}

void YYTreeSelectionQuery(int& field, int& identifier, int wantText, char* buffer, int size) {
  HWND tree = treeField(field);
  if (tree == nullptr) {
    field = kTreeNoField;
    return;
  }
  HTREEITEM selected = nextItem(tree, nullptr, TVGN_CARET);
  if (selected == nullptr) {
    field = kTreeNotFound;
    return;
  }
  TVITEMA data{};
  data.mask = TVIF_PARAM | TVIF_HANDLE;
  data.hItem = selected;
  const bool text = wantText != 0 && buffer != nullptr && size > 0;
  if (text) {
    buffer[0] = '\0';
    data.mask |= TVIF_TEXT;
    data.pszText = buffer;
    data.cchTextMax = size;
  }
  SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
  if (text) buffer[size - 1] = '\0';
  identifier = static_cast<int>(data.lParam);
}

void YYTreeBranchState(int& field, int identifier, int& state) {
  HWND tree = nullptr;
  HTREEITEM item = nullptr;
  if (!findInField(field, identifier, tree, item)) return;
  if (!isBranch(tree, item)) {
    field = kTreeRefused;
    return;
  }
  const auto itemState = static_cast<UINT>(
      SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED));
  state = (itemState & TVIS_EXPANDED) != 0 ? 2 : 1;
}

void YYTreeExpand(int& field, int identifier, int mode) {
  HWND tree = nullptr;
  HTREEITEM item = nullptr;
  if (!findInField(field, identifier, tree, item)) return;
  if (!isBranch(tree, item)) {
    field = kTreeRefused;
    return;
  }
  SendMessageA(tree, TVM_EXPAND, mode == 1 ? TVE_COLLAPSE : TVE_EXPAND, reinterpret_cast<LPARAM>(item));
}

void YYTreeUniqueIds(int flag) { uniqueIdentifiers = flag; }
