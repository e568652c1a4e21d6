#pragma once
// A child window of the root window, ready to become a grid editor of a grid
// field of the data dialog (grid_editor.rc), which stays loaded and current.

#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <array>
#include <fstream>
#include <sstream>
#include <string>

#include "support/ui_driver.h"
#include "toolkit/core/child_windows.h"
#include "toolkit/core/error_reporter.h"
#include "toolkit/core/events.h"
#include "toolkit/core/window_select.h"
#include "toolkit/core/window_table.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/grid/grid_cells.h"
#include "toolkit/grid/grid_editor.h"
#include "toolkit/grid/grid_field.h"
#include "toolkit/grid/grid_rows.h"
#include "toolkit/grid/grid_storage.h"
#include "toolkit/grid/grid_window.h"
#include "toolkit_dialogs/dialog_fixture.h"

namespace editor_test {

constexpr int kDataDialog = 400;
constexpr int kTitledGrid = 410;    // text, integer spin, right-aligned real, check box, menu; 6 rows of 20
constexpr int kReadOnlyGrid = 420;  // two texts, 3 rows, read-only
constexpr int kLabelGrid = 430;     // row labels, one text column, 3 rows
constexpr int kChecksGrid = 440;    // a check box and a menu
constexpr int kPlainGrid = 450;     // three untitled texts, 20 rows
constexpr int kEveryTypeGrid = 460;  // heading, row labels, every column type; 240 rows, wider than its window

constexpr int kFileNameBox = 1148;  // the file selector's name field

// Types a name into the file selector and confirms it.
inline ui::DialogScript chooseFile(std::string name) {
  return [name](HWND dialog) {
    HWND box = GetDlgItem(dialog, kFileNameBox);
    HWND combo = FindWindowExA(box, nullptr, "ComboBox", nullptr);
    HWND edit = FindWindowExA(combo != nullptr ? combo : box, nullptr, "Edit", nullptr);
    SetWindowTextA(edit != nullptr ? edit : box, name.c_str());
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
  };
}

class Editor : public dialog_test::RootWindow {
 protected:
  void SetUp() override {
    RootWindow::SetUp();
    WDialogLoad(kDataDialog);
    ASSERT_NE(dialog_test::currentDialog(), nullptr);
    slot_ = openChild(0x27 | kFlagStatusBar, 0, 520, 420);
    ASSERT_GT(slot_, 0);
    YYWINSEL(slot_, 0);
    eventEnableTable[kEventFieldChanged - 1] = 1;
    dialog_test::drainEvents();
    errorState.lastError = 0;
  }
  void TearDown() override {
    if (slotHasFrame(slot_)) {
      HWND dialog = nullptr;
      YYChildWindowClose(slot_, dialog);
    }
    RootWindow::TearDown();
  }

  static int openChild(int flags, int parent, int width, int height) {
    int slot = 0;
    int dialog = 0;
    const std::array<int, 4> none{};
    YYChildWindowCreate(10, 10, width, height, slot, flags, 0, none, dialog, parent, "Grid editor");
    return slot;
  }

  // Converts the test's window; the status comes back.
  int convert(int flags = 0, int field = kTitledGrid, int mode = kShowModeless, int menu = 0) {
    int status = -1;
    YYWINSEL(slot_, 0);
    YYGridEditorCreate(status, field, mode, menu, flags, -1, "", "");
    mode_ = mode;
    // As a program does: the loop starts the editor clean, and returns at
    // once unless the editor is modal.
    if (mode != kShowModal && YYGridEditorOfSlot(slot_) != nullptr) YYGridEditorModalLoop();
    return status;
  }

  HWND window() const { return slotOf(slot_).frame; }
  GridEditorRecord& record() const { return *YYGridEditorOfSlot(slot_); }
  GridRecord& grid() const { return *gridRecordOf(record().grid); }
  static GridRecord& field(int id) { return *gridRecordOf(dialog_test::item(id)); }

  std::string cell(int column, int row) const {
    std::string text;
    YYGridCellString(grid(), column, row, text, 40);
    return std::string(text::trimmed(text));
  }
  void put(int column, int row, std::string_view text) {
    ASSERT_EQ(YYGridCellStore(grid(), column, row, 0.0, text, ""), kGridDone);
  }
  // A menu or toolbar command, as the person choosing it sends it.
  void command(int id) {
    SendMessageA(window(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    ui::pumpMessages(30);
  }
  // The same, chosen while the program waits for events: the menu event the
  // command posts comes back (kTimedOut when none did).
  int commandThenMenuEvent(int id, EventRecord& event) {
    PostMessageA(window(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    return ui::waitEventOfType(kEventMenu, event, 5000);
  }
  std::string statusPart(int part) const {
    char text[64] = {};
    SendMessageA(record().statusBar, SB_GETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text));
    return text;
  }
  static std::string folder() {
    char path[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof path, path);
    return path;
  }
  static std::string readFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  int slot_ = 0;
  int mode_ = 0;
};

}  // namespace editor_test
