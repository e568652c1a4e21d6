// Tree-view fields: a tree filled from a menu by its dialog description, the
// back ends on it, and the modal copy that copies trees item by item.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "periphery_fixture.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/message_box.h"
#include "toolkit/dialogs/tree_views.h"

namespace {

using periphery_test::RootWindow;

constexpr int kTreeDialog = 300;
constexpr int kTree = 1001;

HTREEITEM next(HWND tree, HTREEITEM item, UINT relation) {
  return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

// The tree as text: identifiers in order, children in parentheses, "+" after
// an expanded branch, "*" after the selected item, ":text" when asked.
std::string describe(HWND tree, HTREEITEM first, bool withText = false) {
  std::string out;
  for (HTREEITEM item = first; item != nullptr; item = next(tree, item, TVGN_NEXT)) {
    char text[64] = {};
    TVITEMA data{};
    data.mask = TVIF_PARAM | TVIF_STATE | TVIF_TEXT | TVIF_HANDLE;
    data.hItem = item;
    data.stateMask = TVIS_EXPANDED | TVIS_SELECTED;
    data.pszText = text;
    data.cchTextMax = sizeof text;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
    if (!out.empty()) out += ",";
    out += std::to_string(static_cast<int>(data.lParam));
    if (withText) out += std::string(":") + text;
    if (data.state & TVIS_SELECTED) out += "*";
    if (HTREEITEM child = next(tree, item, TVGN_CHILD); child != nullptr) {
      if (data.state & TVIS_EXPANDED) out += "+";
      out += "(" + describe(tree, child, withText) + ")";
    }
  }
  return out;
}

std::string describe(HWND tree, bool withText = false) {
  return describe(tree, next(tree, nullptr, TVGN_ROOT), withText);
}

class TreeViews : public RootWindow {
 protected:
  void SetUp() override {
    RootWindow::SetUp();
    WDialogLoad(kTreeDialog);
    tree_ = GetDlgItem(currentDialogWindow(), kTree);
    ASSERT_NE(tree_, nullptr);
    YYTreeUniqueIds(1);
  }
  void TearDown() override {
    YYTreeUniqueIds(1);
    RootWindow::TearDown();
  }
  // A back end on the tree field; returns what it answered through the field.
  template <typename Operation>
  int on(Operation operation) {
    int field = kTree;
    operation(field);
    return field;
  }
  HWND tree_ = nullptr;
};

TEST_F(TreeViews, DescriptionFillsTheTreeFromTheMenu) {
  // The checked popup is an expanded branch holding 101 and 102; 103 is a root
  // leaf; 102 was named to be selected.
  EXPECT_EQ(describe(tree_, true), "100:Branch+(101:Leaf one,102:Leaf two*),103:Leaf three");
}

TEST_F(TreeViews, MenuNumberZeroOrMissingMenuLeavesTheTreeAlone) {
  YYTreeFromMenu(tree_, 0, 0);
  YYTreeFromMenu(tree_, 399, 0);  // no such menu
  EXPECT_EQ(describe(tree_), "100+(101,102*),103");
}

TEST_F(TreeViews, InsertPositions) {
  struct Case {
    int reference, position, identifier;
    const char* expected;
  };
  const Case cases[] = {
      {101, kTreeInsertBefore, 200, "100+(200,101,102*),103"},      // before the first child: first in the branch
      {102, kTreeInsertBefore, 201, "100+(200,101,201,102*),103"},  // just before the reference
      {101, 2, 202, "100+(200,101,202,201,102*),103"},              // any other position: just after
      {100, 2, 203, "100+(200,101,202,201,102*),203,103"},
      {100, kTreeInsertChild, 204, "100+(200,101,202,201,102*,204),203,103"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(on([&](int& f) { YYTreeInsert(f, c.reference, c.position, c.identifier, "new"); }), kTree);
    EXPECT_EQ(describe(tree_), c.expected) << "identifier " << c.identifier;
  }
}

TEST_F(TreeViews, ChildOfALeafMakesABranch) {
  int state = 0;
  EXPECT_EQ(on([&](int& f) { YYTreeBranchState(f, 103, state); }), kTreeRefused);
  EXPECT_EQ(on([&](int& f) { YYTreeInsert(f, 103, kTreeInsertChild, 300, "child"); }), kTree);
  EXPECT_EQ(describe(tree_), "100+(101,102*),103(300)");
  EXPECT_EQ(on([&](int& f) { YYTreeBranchState(f, 103, state); }), kTree);
  EXPECT_EQ(state, 1);
  EXPECT_EQ(on([&](int& f) { YYTreeExpand(f, 103, 0); }), kTree);
  EXPECT_EQ(on([&](int& f) { YYTreeBranchState(f, 103, state); }), kTree);
  EXPECT_EQ(state, 2);
}

TEST_F(TreeViews, DuplicateIdentifiersRefusedWhileUnique) {
  EXPECT_EQ(on([&](int& f) { YYTreeInsert(f, 103, 2, 102, "again"); }), kTreeRefused);
  EXPECT_EQ(describe(tree_), "100+(101,102*),103");
  YYTreeUniqueIds(0);
  EXPECT_EQ(on([&](int& f) { YYTreeInsert(f, 103, 2, 102, "again"); }), kTree);
  EXPECT_EQ(describe(tree_), "100+(101,102*),103,102");
  // Depth first: the one inside the branch comes before the later root item.
  HTREEITEM found = YYTreeFind(tree_, 102);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(next(tree_, found, TVGN_PARENT), YYTreeFind(tree_, 100));
}

TEST_F(TreeViews, ExpandAndCollapse) {
  int state = 0;
  EXPECT_EQ(on([&](int& f) { YYTreeExpand(f, 101, 1); }), kTreeRefused);  // a leaf
  EXPECT_EQ(describe(tree_), "100+(101,102*),103");
  EXPECT_EQ(on([&](int& f) { YYTreeExpand(f, 100, 1); }), kTree);
  EXPECT_EQ(on([&](int& f) { YYTreeBranchState(f, 100, state); }), kTree);
  EXPECT_EQ(state, 1);
  EXPECT_EQ(on([&](int& f) { YYTreeExpand(f, 100, 2); }), kTree);
  EXPECT_EQ(on([&](int& f) { YYTreeBranchState(f, 100, state); }), kTree);
  EXPECT_EQ(state, 2);
}

TEST_F(TreeViews, InsertIntoAnEmptyTreeIgnoresTheReference) {
  SendMessageA(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  EXPECT_EQ(on([&](int& f) { YYTreeInsert(f, 999, kTreeInsertChild, 1, "first"); }), kTree);
  EXPECT_EQ(describe(tree_, true), "1:first");
}

TEST_F(TreeViews, SelectRenameQueryAndDelete) {
  int identifier = 0;
  char text[8] = {};
  EXPECT_EQ(on([&](int& f) { YYTreeSelectionQuery(f, identifier, 1, text, sizeof text); }), kTree);
  EXPECT_EQ(identifier, 102);
  EXPECT_STREQ(text, "Leaf tw");  // cut to the buffer, NUL-ended

  EXPECT_EQ(on([&](int& f) { YYTreeRename(f, 103, "Renamed and more", 7); }), kTree);
  EXPECT_EQ(on([&](int& f) { YYTreeSelect(f, 103); }), kTree);
  EXPECT_EQ(on([&](int& f) { YYTreeSelectionQuery(f, identifier, 1, text, sizeof text); }), kTree);
  EXPECT_EQ(identifier, 103);
  EXPECT_STREQ(text, "Renamed");

  EXPECT_EQ(on([&](int& f) { YYTreeDelete(f, 100); }), kTree);  // with its subtree
  EXPECT_EQ(describe(tree_), "103*");
  EXPECT_EQ(YYTreeFind(tree_, 101), nullptr);
  EXPECT_EQ(on([&](int& f) { YYTreeDelete(f, 103); }), kTree);
  EXPECT_EQ(on([&](int& f) { YYTreeSelectionQuery(f, identifier, 0, nullptr, 0); }), kTreeNotFound);
}

TEST_F(TreeViews, RefusalsChangeNothing) {
  int state = 0;
  int identifier = 0;
  EXPECT_EQ(on([&](int& f) { YYTreeInsert(f, 555, 2, 7, "x"); }), kTreeNotFound);
  EXPECT_EQ(on([&](int& f) { YYTreeDelete(f, 555); }), kTreeNotFound);
  EXPECT_EQ(on([&](int& f) { YYTreeSelect(f, 555); }), kTreeNotFound);
  EXPECT_EQ(on([&](int& f) { YYTreeRename(f, 555, "x", 1); }), kTreeNotFound);
  EXPECT_EQ(on([&](int& f) { YYTreeExpand(f, 555, 1); }), kTreeNotFound);
  EXPECT_EQ(on([&](int& f) { YYTreeBranchState(f, 555, state); }), kTreeNotFound);
  EXPECT_EQ(describe(tree_), "100+(101,102*),103");
  // The OK button and an id that is no field at all are not tree views.
  for (int field : {static_cast<int>(IDOK), 4242}) {
    int f = field;
    YYTreeInsert(f, 101, 2, 7, "x");
    EXPECT_EQ(f, kTreeNoField);
    f = field;
    YYTreeSelectionQuery(f, identifier, 0, nullptr, 0);
    EXPECT_EQ(f, kTreeNoField);
  }
}

TEST_F(TreeViews, ModalCopyCarriesTheTreeBothWays) {
  ui::UiDriver driver;
  std::string seenInCopy;
  driver.answerNext([&](HWND copy) {
    HWND copiedTree = GetDlgItem(copy, kTree);
    seenInCopy = describe(copiedTree, true);
    // The user collapses the branch and selects the root leaf, then OK.
    SendMessageA(copiedTree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(YYTreeFind(copiedTree, 100)));
    SendMessageA(copiedTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(YYTreeFind(copiedTree, 103)));
    ui::UiDriver::press(IDOK)(copy);
  });
  WDialogShow(-1, -1, 0, kShowModal);
  EXPECT_EQ(seenInCopy, "100:Branch+(101:Leaf one,102:Leaf two*),103:Leaf three");
  EXPECT_EQ(describe(tree_), "100(101,102),103*");
}

TEST_F(TreeViews, CopyUnderAParent) {
  // A second tree receives the whole tree under an item of its own.
  HWND other = CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD, 0, 0, 100, 100, currentDialogWindow(), nullptr,
                               nullptr, nullptr);
  ASSERT_NE(other, nullptr);
  char top[] = "top";
  TVINSERTSTRUCTA insert{};
  insert.hParent = TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM;
  insert.item.pszText = top;
  insert.item.lParam = 9;
  auto parent = reinterpret_cast<HTREEITEM>(SendMessageA(other, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
  YYTreeCopy(other, parent, tree_, next(tree_, nullptr, TVGN_ROOT));
  // Selecting the copy of 102 makes it visible: its new parent opens too.
  EXPECT_EQ(describe(other, true), "9:top+(100:Branch+(101:Leaf one,102:Leaf two*),103:Leaf three)");
  DestroyWindow(other);
}

}  // namespace
