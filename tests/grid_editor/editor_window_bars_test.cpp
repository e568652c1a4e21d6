// What the window routines do for a window that is a grid editor: a toolbar
// added to it takes its place above the grid, and grid field 0 is its grid.
#include "editor_fixture.h"
#include "toolkit/core/menus_toolbars.h"
#include "toolkit/dialogs/field_access.h"

namespace {

using editor_test::Editor;

TEST_F(Editor, AToolbarAddedToTheWindowTakesItsPlaceAboveTheGrid) {
  ASSERT_EQ(convert(), 0);
  RECT before{};
  GetWindowRect(record().grid, &before);
  WMenuToolbar(30101, slot_, 1);
  ASSERT_EQ(WErrorStatusQuery(1), 0);
  HWND bar = slotOf(slot_).toolbars[kToolbarTop];
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(record().windowBars[kToolbarTop], bar);
  RECT barRect{};
  GetWindowRect(bar, &barRect);
  RECT grid{};
  GetWindowRect(record().grid, &grid);
  EXPECT_GE(grid.top, barRect.bottom) << "the grid lies below the window's toolbar";
  EXPECT_GT(grid.top, before.top);
  // Removing it gives the room back and leaves no handle behind.
  WMenuToolbar(0, slot_, 1);
  EXPECT_EQ(record().windowBars[kToolbarTop], nullptr);
  GetWindowRect(record().grid, &grid);
  EXPECT_EQ(grid.top, before.top);
}

TEST_F(Editor, FieldZeroOfTheOptionsIsTheGridOfTheEditorWindow) {
  ASSERT_EQ(convert(), 0);
  HWND grid = record().grid;
  const LONG style = GetWindowLongA(grid, GWL_STYLE);
  ASSERT_TRUE(style & 0x1000);
  ASSERT_TRUE(style & 0x4000);
  struct Case {
    int option;
    int flag;
    LONG bit;
    bool set;
  };
  for (const Case& c : {Case{1, 0, 0x1000, false}, Case{2, 0, 0x4000, false}, Case{1, 1, 0x1000, true}}) {
    SCOPED_TRACE(c.option * 10 + c.flag);
    int field = 0;
    YYFieldOptionSet(field, c.option, c.flag);
    EXPECT_EQ(field, 0);
    EXPECT_EQ((GetWindowLongA(grid, GWL_STYLE) & c.bit) != 0, c.set);
  }
  int field = 0;
  YYFieldOptionSet(field, 3, 1);
  EXPECT_EQ(field, 0);
  EXPECT_EQ(fieldRecordOf(grid)->reportChanges, 1);
  // The root window is no grid editor: field 0 names nothing there.
  YYWINSEL(0, 0);
  field = 0;
  YYFieldOptionSet(field, 1, 1);
  EXPECT_EQ(field, -1);
}

}  // namespace
