// A whole session in the grid editor, as a person works: a field of every
// column type and a few hundred labelled rows, filled by the program, opened
// from a scrolled position, then moved through with the mouse and the keys,
// typed into, sorted both ways, searched, copied and pasted by blocks, given
// and robbed of rows at its top, middle and end, resized, saved as CSV and
// HTML and printed on the PDF printer.  After every step each cell on view,
// each row label and the status bar must show what the test's own copy of the
// data says.  check_session_files.py reads the files afterwards.
#include <algorithm>
#include <cstdint>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "editor_fixture.h"
#include "toolkit/core/number_format.h"
#include "toolkit/drivers/hardcopy_setup.h"

namespace {

using namespace editor_test;

constexpr int kRows = 220;  // in use, of 240 allocated
constexpr int kColumns = 6;
const char* const kKinds[] = {"Town", "Village", "Lake", "Mountain", "Island"};

// One row as the test keeps it.
struct Row {
  std::string label;
  std::string place;
  std::optional<int> count;
  std::optional<float> latitude;   // a real column with its own format (F9.4)
  std::optional<double> altitude;  // a double column without a format
  bool seen = false;
  int kind = 0;
};

std::string trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

// What a cell of the column shows for the row.
std::string shown(const Row& row, int column) {
  switch (column) {
    case 0:
      return row.place;
    case 1:
      return row.count ? std::to_string(*row.count) : "";
    case 2:
      return row.latitude ? trimmed(formatF(*row.latitude, 9, 4)) : "";
    case 3:
      return row.altitude ? trimmed(formatG(*row.altitude, 15, 5, 2)) : "";
    case 4:
      return row.seen ? "Yes" : "No";
    default:
      return kKinds[row.kind];
  }
}

std::string labelOf(HWND header) {
  char text[64] = {};
  HDITEMA item{};
  item.mask = HDI_TEXT;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(header, HDM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  return text;
}

// What a cell window shows, in the terms of shown().
std::string windowShows(HWND cell, int column) {
  if (column == 4) return SendMessageA(cell, BM_GETCHECK, 0, 0) == BST_CHECKED ? "Yes" : "No";
  if (column == 5) {
    const LRESULT index = SendMessageA(cell, CB_GETCURSEL, 0, 0);
    if (index < 0) return "(none)";
    char text[64] = {};
    SendMessageA(cell, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return text;
  }
  return trimmed(ui::textOf(cell));
}

// The screen as it shows a window: dark pixels in a part of it are text drawn
// there, or text a repaint that never came left there.
class ScreenShot {
 public:
  explicit ScreenShot(HWND window) {
    GetWindowRect(window, &area_);
    const int width = area_.right - area_.left;
    const int height = area_.bottom - area_.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, area_.left, area_.top, SRCCOPY);
    if (bits != nullptr) {
      const auto* first = static_cast<const std::uint32_t*>(bits);
      pixels_.assign(first, first + static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
  }
  // The window lies wholly inside the shot.
  bool shows(HWND window) const {
    RECT box{};
    GetWindowRect(window, &box);
    return box.left >= area_.left && box.right <= area_.right && box.top >= area_.top && box.bottom <= area_.bottom;
  }
  // Dark pixels inside the client area of a window within the shot.
  int inkOf(HWND window) const {
    RECT box{};
    GetClientRect(window, &box);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&box), 2);
    const int width = area_.right - area_.left;
    int ink = 0;
    for (int y = std::max(box.top, area_.top); y < std::min(box.bottom, area_.bottom); ++y) {
      for (int x = std::max(box.left, area_.left); x < std::min(box.right, area_.right); ++x) {
        const std::uint32_t p = pixels_[static_cast<std::size_t>((y - area_.top) * width + (x - area_.left))];
        if (((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF) < 3 * 96) ++ink;
      }
    }
    return ink;
  }

 private:
  RECT area_{};
  std::vector<std::uint32_t> pixels_;
};

class Session : public Editor {
 protected:
  // The field filled and scrolled to the right, shown as a program shows it,
  // and the editor made from it.
  void SetUp() override {
    Editor::SetUp();
    fillField();
    GridRecord& source = field(kEveryTypeGrid);
    ShowWindow(dialog_test::currentDialog(), SW_SHOWNA);
    ASSERT_GT(source.lastFirstColumn, 0);
    SendMessageA(source.window, WM_HSCROLL, SB_LINERIGHT, 0);
    SendMessageA(source.window, WM_HSCROLL, SB_LINERIGHT, 0);
    ASSERT_EQ(source.firstColumn, 2);
    ShowWindow(dialog_test::currentDialog(), SW_HIDE);
    ASSERT_EQ(convert(kEditorRowLabels | kEditorRowCount, kEveryTypeGrid), kEditorDone);
    ui::bringToForeground(window());
    settle();
  }
  void TearDown() override {
    for (const std::string& name : files_) DeleteFileA(name.c_str());
    Editor::TearDown();
  }

  // The field filled by the program through the grid routines, rows of
  // every kind: blanks, ties of counts, checked and not.
  void fillField() {
    WGridRows(kEveryTypeGrid, kRows);
    const char* titles[] = {"Place", "Count", "Latitude", "Altitude", "Seen", "Kind"};
    for (int c = 0; c < kColumns; ++c) YYGridSetColumnTitle(field(kEveryTypeGrid), c + 1, titles[c]);
    rows_.assign(kRows, Row{});
    for (int r = 0; r < kRows; ++r) {
      Row& row = rows_[static_cast<std::size_t>(r)];
      row.label = "Row " + std::to_string(r + 1);
      row.place = "Place " + std::to_string((r * 73) % kRows);
      if (r % 11 != 5) row.count = (r * 37) % 50;  // many equal counts, some blank
      if (r % 13 != 7) row.latitude = 50.0f + static_cast<float>(r) / 64.0f;
      if (r % 17 != 3) row.altitude = r * 2.5 + 0.25;
      row.seen = r % 3 == 0;
      row.kind = r % 5;
      WGridLabelRow(kEveryTypeGrid, r + 1, row.label);
      ASSERT_EQ(YYGridCellStore(field(kEveryTypeGrid), 0, r, 0.0, row.place, ""), kGridDone);
      if (row.count) WGridPutCellInteger(kEveryTypeGrid, 2, r + 1, *row.count);
      if (row.latitude) WGridPutCellReal(kEveryTypeGrid, 3, r + 1, *row.latitude);
      if (row.altitude) WGridPutCellDouble(kEveryTypeGrid, 4, r + 1, *row.altitude);
      WGridPutCellCheckBox(kEveryTypeGrid, 5, r + 1, row.seen ? 1 : 0);
      WGridPutCellOption(kEveryTypeGrid, 6, r + 1, row.kind + 1);
    }
    ASSERT_EQ(dialog_test::lastError(), 0);
  }

  // Every cell window of a row on view, every row label and the status bar
  // against the test's rows; the current cell holds the focus.
  void expectScreen(const std::string& step) {
    SCOPED_TRACE(step);
    const GridRecord& g = grid();
    ASSERT_EQ(g.rows, static_cast<int>(rows_.size()));
    EXPECT_EQ(g.currentColumn, column_);
    EXPECT_EQ(g.currentRow, row_);
    EXPECT_GE(row_, g.firstRow);
    EXPECT_LT(row_, g.firstRow + std::max(g.visibleRows, 1));
    int mismatches = 0;
    const ScreenShot shot(g.client);
    for (int j = 0; j < g.cellRows; ++j) {
      const int r = g.firstRow + j;
      for (int c = 0; c < kColumns; ++c) {
        HWND cell = g.cells[static_cast<std::size_t>(c * g.cellRows + j)];
        if (r >= g.rows) {
          EXPECT_FALSE(IsWindowVisible(cell)) << "row " << r << " is past the last row";
          continue;
        }
        const std::string wanted = shown(rows_[static_cast<std::size_t>(r)], c);
        const std::string seen = windowShows(cell, c);
        if (seen != wanted && ++mismatches <= 8) {
          ADD_FAILURE() << "row " << r << ", column " << c << " shows \"" << seen << "\", not \"" << wanted << "\"";
        }
        EXPECT_TRUE(IsWindowVisible(cell)) << "row " << r << ", column " << c;
        // What the text cells on view hold is on the screen too (the focused
        // cell has a caret).
        if (c == 0 && cell != GetFocus() && seen == wanted && shot.shows(cell) &&
            (shot.inkOf(cell) > 0) != !wanted.empty()) {
          ADD_FAILURE() << "row " << r << " is drawn " << (wanted.empty() ? "with text" : "empty") << " on the screen";
        }
      }
      if (r < g.rows && static_cast<std::size_t>(j) < g.labelControls.size()) {
        EXPECT_EQ(labelOf(g.labelControls[static_cast<std::size_t>(j)]), rows_[static_cast<std::size_t>(r)].label)
            << "label of row " << r;
      }
    }
    EXPECT_EQ(mismatches, 0);
    // No box came up that the step did not ask for.
    for (std::size_t i = boxesAnswered_; i < boxes_.seen().size(); ++i) {
      ADD_FAILURE() << "a box came up: " << boxes_.seen()[i].title << ": "
                    << (boxes_.seen()[i].texts.empty() ? "" : boxes_.seen()[i].texts[0]);
    }
    boxesAnswered_ = boxes_.seen().size();
    EXPECT_EQ(statusPart(1), "\t\t" + std::to_string(row_ + 1));
    EXPECT_EQ(statusPart(3), "\t\t" + std::to_string(column_ + 1));
    EXPECT_EQ(GetFocus(), YYGridCellWindow(g, column_, row_));
  }

  // Where the current cell should be now.
  void at(int column, int row) {
    column_ = column;
    row_ = row;
  }

  // Lets the program's event loop run (it translates the editor's keys).
  static void settle() {
    EventRecord event;
    while (ui::waitEvent(event, 150) != ui::kTimedOut) {
    }
  }
  static void key(WORD virtualKey, unsigned modifiers = 0) {
    ui::pressKey(virtualKey, modifiers);
    settle();
  }
  void click(int column, int row) {
    HWND cell = YYGridCellWindow(grid(), column, row);
    ASSERT_NE(cell, nullptr) << column << ", " << row;
    RECT box{};
    GetClientRect(cell, &box);
    RECT area{};
    GetWindowRect(grid().client, &area);
    POINT inside{std::min<int>(6, box.right / 2), box.bottom / 2};
    ClientToScreen(cell, &inside);
    ASSERT_TRUE(PtInRect(&area, inside)) << "column " << column << " is not on view to be clicked";
    ui::clickAt(cell, std::min<int>(6, box.right / 2), box.bottom / 2);
    settle();
  }
  void shiftClick(int column, int row) {
    keybd_event(VK_SHIFT, 0, 0, 0);
    ui::pumpMessages(20);
    click(column, row);
    keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
    settle();
  }
  // Replaces the text of the current edit cell as typing does.
  static void type(std::string_view text) {
    ui::pressKey('A', ui::kCtrl);
    ui::typeText(text);
    settle();
  }

  // A box or dialog the step brings up, answered by the script.
  void answer(ui::DialogScript script) { boxes_.answerNext(std::move(script)); }
  // The title of the box that came up last, which the step expected.
  std::string answered() {
    if (boxes_.seen().size() <= boxesAnswered_) return "(none)";
    boxesAnswered_ = boxes_.seen().size();
    return boxes_.seen().back().title;
  }

  // The sort dialog answered: the column and the order chosen.
  void sortBy(int column, bool descending) {
    answer([column, descending](HWND dialog) {
      SendDlgItemMessageA(dialog, 1002, CB_SETCURSEL, static_cast<WPARAM>(column), 0);
      CheckRadioButton(dialog, 1004, 1005, descending ? 1005 : 1004);
      ui::UiDriver::press(1)(dialog);
    });
    command(kCmdSort);
    settle();
    EXPECT_EQ(answered(), "Sort");
    // The test's own order: equal counts keep their order, blanks go last.
    std::stable_sort(rows_.begin(), rows_.end(), [descending](const Row& a, const Row& b) {
      if (!a.count || !b.count) return a.count.has_value() && !b.count.has_value();
      return descending ? *a.count > *b.count : *a.count < *b.count;
    });
  }

  std::string scratch(const std::string& name) {
    const std::string path = folder() + "\\" + name;
    DeleteFileA(path.c_str());
    files_.push_back(path);
    return path;
  }

  // The rows as the checker of the files expects them, one a line, cells
  // separated by tabs, the label first.
  void writeExpected(const std::string& name) const {
    std::ofstream out(name, std::ios::binary);
    for (const Row& row : rows_) {
      out << row.label;
      for (int c = 0; c < kColumns; ++c) out << '\t' << shown(row, c);
      out << '\n';
    }
  }

  // Every box and dialog of the session: those a step asks for are
  // answered, any other is recorded (and cancelled) and fails the step.
  ui::UiDriver boxes_;
  std::size_t boxesAnswered_ = 0;
  std::vector<Row> rows_;
  std::vector<std::string> files_;
  int column_ = 0;
  int row_ = 0;
};

// Opened from a scrolled field, the columns under their headings; then the
// mouse on every column, the keys, typing into every kind of cell and a
// menu cell's list.
TEST_F(Session, MovingTypingAndChoosing) {
  expectScreen("opened");
  {
    // The columns stand under their headings.
    const GridRecord& g = grid();
    for (int c = g.firstColumn; c <= g.lastColumn; ++c) {
      RECT heading{};
      SendMessageA(g.heading, HDM_GETITEMRECT, static_cast<WPARAM>(c + 1), reinterpret_cast<LPARAM>(&heading));
      HWND window = YYGridCellWindow(g, c, 0);
      RECT cell{};
      GetWindowRect(window, &cell);
      if (const FieldRecord* spin = fieldRecordOf(window); spin != nullptr && spin->arrowControl != nullptr) {
        RECT buddy{};
        GetWindowRect(spin->arrowControl, &buddy);
        cell.right = buddy.right;
      }
      MapWindowPoints(nullptr, g.window, reinterpret_cast<POINT*>(&cell), 2);
      EXPECT_NEAR(cell.left, heading.left, 1) << "column " << c;
      EXPECT_NEAR(cell.right, heading.right, 2) << "column " << c;
    }
  }

  // The mouse on a cell of every column, then the keys.
  for (int c = 0; c < kColumns; ++c) {
    click(c, 2);
    if (c == 4) rows_[2].seen = !rows_[2].seen;  // a click checks a check box
    if (c == 5) key(VK_ESCAPE);  // and drops a menu's list, which Esc closes
    at(c, 2);
    expectScreen("a click on column " + std::to_string(c));
  }
  struct Move {
    WORD key;
    unsigned modifiers;
    int column, row;
    const char* what;
  };
  const Move moves[] = {
      {VK_HOME, ui::kCtrl, 0, 2, "Ctrl+Home"},         {VK_TAB, 0, 1, 2, "Tab"},
      {VK_TAB, 0, 2, 2, "Tab"},                         {VK_TAB, ui::kShift, 1, 2, "Shift+Tab"},
      {VK_DOWN, 0, 1, 3, "Down"},                       {VK_UP, 0, 1, 2, "Up"},
      {VK_END, ui::kCtrl, 5, 2, "Ctrl+End"},            {VK_NEXT, ui::kCtrl, 5, kRows - 1, "Ctrl+PageDown"},
      {VK_HOME, ui::kCtrl, 0, kRows - 1, "Ctrl+Home"},  {VK_PRIOR, ui::kCtrl, 0, 0, "Ctrl+PageUp"},
      {VK_TAB, 0, 1, 0, "Tab"},                         {VK_TAB, 0, 2, 0, "Tab onto a real"},
      {VK_TAB, 0, 3, 0, "Tab onto a double"},           {VK_TAB, ui::kShift, 2, 0, "Shift+Tab"},
      {VK_UP, 0, 2, 0, "Up at the top"},                {VK_DOWN, 0, 2, 1, "Down from a real"},
      {VK_HOME, ui::kCtrl, 0, 1, "Ctrl+Home from a real"},
  };
  for (const Move& m : moves) {
    key(m.key, m.modifiers);
    at(m.column, m.row);
    expectScreen(m.what);
  }
  // Page Down scrolls a page; the current cell keeps to the view.
  key(VK_NEXT);
  at(0, grid().firstRow);
  expectScreen("Page Down");
  ASSERT_GT(grid().firstRow, 0);

  // Typing into every kind of cell.
  const int typed = grid().firstRow + 1;
  click(0, typed);
  type("Zanzibar");
  key(VK_TAB);
  type("4321");
  key(VK_TAB);
  type("12.5");
  key(VK_TAB);
  type("7.25");
  key(VK_TAB);
  key(VK_SPACE);  // the check box
  Row& row = rows_[static_cast<std::size_t>(typed)];
  row.place = "Zanzibar";
  row.count = 4321;
  row.latitude = 12.5f;
  row.altitude = 7.25;
  row.seen = !row.seen;
  at(4, typed);
  expectScreen("typed");

  // The menu cell: its list drops with a scroll bar for the items it cannot
  // show; Esc closes the list and nothing else; Down and Enter choose.
  {
    click(5, typed);
    at(5, typed);
    HWND menu = YYGridCellWindow(grid(), 5, typed);
    ASSERT_NE(SendMessageA(menu, CB_GETDROPPEDSTATE, 0, 0), 0);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(menu, &info));
    RECT shown{};
    GetClientRect(info.hwndList, &shown);
    ASSERT_EQ(SendMessageA(info.hwndList, LB_GETCOUNT, 0, 0), 5);
    EXPECT_LT(shown.bottom, 5 * SendMessageA(info.hwndList, LB_GETITEMHEIGHT, 0, 0)) << "the list shows every item";
    EXPECT_NE(GetWindowLongA(info.hwndList, GWL_STYLE) & WS_VSCROLL, 0) << "the dropped list has no scroll bar";
    key(VK_ESCAPE);
    EXPECT_EQ(SendMessageA(menu, CB_GETDROPPEDSTATE, 0, 0), 0);
    EXPECT_TRUE(IsWindow(window()));
    expectScreen("Esc in a dropped list");
    click(5, typed);
    key(VK_DOWN);
    key(VK_RETURN);
    row.kind = (row.kind + 1) % 5;
    expectScreen("a menu item chosen");
  }

}

// Sorted both ways, searched, and a block copied and pasted.
TEST_F(Session, SortingFindingCopyingAndPasting) {
  click(0, 1);
  at(0, 1);
  // Sorting on the counts one way, then the other.
  sortBy(1, false);
  expectScreen("sorted ascending");
  sortBy(1, true);
  expectScreen("sorted descending");

  // Find: the next place whose name holds the text, case ignored.
  {
    key(VK_PRIOR, ui::kCtrl);
    at(0, 0);
    const std::string wanted = "place 1";
    int hit = -1;
    for (int r = 1; r < static_cast<int>(rows_.size()) && hit < 0; ++r) {
      std::string place = rows_[static_cast<std::size_t>(r)].place;
      std::transform(place.begin(), place.end(), place.begin(), [](char c) { return static_cast<char>(std::tolower(c)); });
      if (place.find(wanted) != std::string::npos) hit = r;
    }
    ASSERT_GT(hit, 0);
    answer(ui::UiDriver::typeThenPress(1002, wanted, 1));
    key('F', ui::kCtrl);
    EXPECT_EQ(answered(), "Find");
    at(0, hit);
    expectScreen("found");
  }

  // A block of three rows and three columns copied and pasted lower down.
  {
    const int from = grid().firstRow;
    click(0, from);
    shiftClick(2, from + 2);
    at(0, from);
    key('C', ui::kCtrl);
    std::string expected;
    for (int r = from; r <= from + 2; ++r) {
      for (int c = 0; c <= 2; ++c) expected += shown(rows_[static_cast<std::size_t>(r)], c) + (c < 2 ? "\t" : "");
      if (r < from + 2) expected += "\r\n";
    }
    std::string copied;
    if (OpenClipboard(nullptr) != 0) {
      if (HANDLE data = GetClipboardData(CF_TEXT); data != nullptr) {
        copied = static_cast<const char*>(GlobalLock(data));
        GlobalUnlock(data);
      }
      CloseClipboard();
    }
    // Cells give their texts as they show them: compare without the blanks around.
    std::string plain;
    std::string field;
    for (const char c : copied) {
      if (c == '\t' || c == '\r' || c == '\n') {
        plain += trimmed(field) + c;
        field.clear();
      } else {
        field += c;
      }
    }
    plain += trimmed(field);
    EXPECT_EQ(plain, expected);
    const int to = from + 6;
    click(0, to);
    key('V', ui::kCtrl);
    for (int k = 0; k < 3; ++k) {
      Row& target = rows_[static_cast<std::size_t>(to + k)];
      const Row& source = rows_[static_cast<std::size_t>(from + k)];
      target.place = source.place;
      target.count = source.count;
      if (source.latitude) target.latitude = std::stof(shown(source, 2));
      else target.latitude.reset();
    }
    at(0, to);
    expectScreen("pasted");
  }

}

// Rows inserted and deleted at the top, in the middle and at the end, with
// the labels going with their rows; the window made smaller and larger.
TEST_F(Session, RowsInsertedDeletedAndResized) {
  click(0, 1);
  auto insertAt = [this](int r) { rows_.insert(rows_.begin() + r, Row{}); };
  auto deleteAt = [this](int r) { rows_.erase(rows_.begin() + r); };
  key(VK_PRIOR, ui::kCtrl);
  key(VK_HOME, ui::kCtrl);
  key('I', ui::kCtrl);
  insertAt(0);
  at(0, 0);
  expectScreen("a row inserted at the top");
  key('E', ui::kCtrl);
  deleteAt(0);
  expectScreen("the top row deleted");
  key('E', ui::kCtrl);
  deleteAt(0);
  expectScreen("the next top row deleted");
  key(VK_DOWN);
  key(VK_DOWN);
  at(0, 2);
  expectScreen("two rows down after deleting");

  WGridSetCell(0, 1, 101);
  settle();
  at(0, 100);
  key('I', ui::kCtrl);
  insertAt(100);
  expectScreen("a row inserted in the middle");
  key('I', ui::kCtrl | ui::kShift);
  insertAt(101);
  expectScreen("a row inserted after it");
  key('E', ui::kCtrl);
  deleteAt(100);
  expectScreen("a middle row deleted");
  key(VK_DOWN);
  at(0, 101);
  expectScreen("down after the middle");

  key(VK_NEXT, ui::kCtrl);
  at(0, static_cast<int>(rows_.size()) - 1);
  key('I', ui::kCtrl | ui::kShift);
  rows_.push_back(Row{});
  expectScreen("a row added at the end");
  key(VK_NEXT, ui::kCtrl);
  at(0, static_cast<int>(rows_.size()) - 1);
  expectScreen("on the added row");
  key('E', ui::kCtrl);
  deleteAt(static_cast<int>(rows_.size()) - 1);
  at(0, static_cast<int>(rows_.size()) - 1);
  expectScreen("the last row deleted");
  key(VK_UP);
  at(0, static_cast<int>(rows_.size()) - 2);
  expectScreen("up from the end");

  // The window made smaller and larger again: the current cell stays.
  {
    // The current cell low in the view: the last row fully shown.
    key(VK_PRIOR, ui::kCtrl);
    const int low = grid().visibleRows;
    WGridSetCell(0, 1, low + 1);
    settle();
    at(0, low);
    const int rowAt = low - grid().firstRow;
    ASSERT_GT(rowAt, 3);
    RECT box{};
    GetWindowRect(window(), &box);
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    SetWindowPos(window(), nullptr, 0, 0, width - 40, height - (rowAt - 1) * (grid().rowHeight - 1),
                 SWP_NOMOVE | SWP_NOZORDER);
    settle();
    expectScreen("smaller");
    SetWindowPos(window(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    settle();
    expectScreen("larger again");
  }

}

// An edit, then saved as CSV and as HTML and printed on the PDF printer;
// check_session_files.py reads the files.
TEST_F(Session, SavedAndPrinted) {
  click(0, 3);
  type("Saved \"here\", a,b");
  key(VK_TAB);
  rows_[3].place = "Saved \"here\", a,b";
  at(1, 3);
  expectScreen("typed");
  // Saved as CSV and as HTML.
  const std::string stem = "grid-session-" + std::to_string(GetCurrentProcessId()) + "-" +
                           std::to_string(GetTickCount());
  // In a short folder, not the build folder: the PDF printer names its file
  // after the document (the file's whole path) and cuts that name short, which
  // under a long clone would leave the stem out of it.  check_session_files.py
  // removes the files.
  const std::string csv = "Z:\\tmp\\" + stem + ".csv";
  const std::string html = "Z:\\tmp\\" + stem + ".htm";
  answer(chooseFile(csv));
  key('S', ui::kCtrl);
  answered();
  EXPECT_EQ(record().fileName, csv);
  answer([](HWND dialog) {
    CheckRadioButton(dialog, 1008, 1009, 1009);  // check boxes as Y and N
    ui::UiDriver::press(1)(dialog);
  });
  command(kCmdSaveHtml);
  EXPECT_EQ(answered(), "Save As HTML");
  expectScreen("saved");
  writeExpected("session_expected.txt");
  std::ofstream("session_files.txt") << csv << '\n' << html << '\n';

  // Printed on the PDF printer under the file's name.
  ASSERT_EQ(yyDumpSettings.printerPresent, 1) << "no printer: is the CUPS PDF printer the default?";
  answer(ui::UiDriver::press(1));
  dialog_test::drainEvents();
  EventRecord event;
  ASSERT_EQ(commandThenMenuEvent(kCmdPrint, event), kEventMenu);
  EXPECT_EQ(event.value1, kCmdPrint);
  EXPECT_EQ(answered(), "Print");
  std::ofstream("session_printed_title.txt") << stem << '\n';
  settle();
  expectScreen("printed");
}

}  // namespace
