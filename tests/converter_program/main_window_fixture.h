#pragma once
// The program's main window opened in this test process as the program opens
// it, with the program's own resources linked into the test, and the
// converter's records back at their start values for each test.

#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "converter/converter_data.h"
#include "converter/log_display.h"
#include "converter/main_window.h"
#include "converter/menu_commands.h"
#include "support/ui_driver.h"
#include "toolkit/core/events.h"
#include "toolkit/core/root_window.h"
#include "toolkit/core/window_table.h"

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    GetCurrentDirectoryA(MAX_PATH, directory_);
    POINT_LIST.NPOINTS = 0;
    POINT_LIST.NREAD = 0;
    CONVERTER_SETTINGS = ConverterSettings{};
    GARMIN_SETTINGS = GarminSettings{};
    MAPTECH_SETTINGS = MaptechSettings{};
    OZIEXPLORER_SETTINGS = OziExplorerSettings{};
    TOMTOM_SETTINGS = TomTomSettings{};
    GPX_SETTINGS = GpxSettings{};
    FILE_NAMES = FileNames{};
    FILTER_INDICES = {};
    LOG_DISPLAY.LOG_COUNT = 0;
    STOP_FLAG = kLogicalFalse;
    OPEN_MAIN_WINDOW();
    ASSERT_NE(frame(), nullptr);
    drain();
  }
  void TearDown() override {
    WShutdown();
    // A successful Open makes the chosen file's folder the current one.
    SetCurrentDirectoryA(directory_);
  }

 public:
  static HWND frame() { return windowTable.slots[0].frame; }
  static HWND toolbar() { return windowTable.slots[0].toolbars[kToolbarTop]; }

  static bool menuChecked(int id) {
    return (GetMenuState(GetMenu(frame()), static_cast<UINT>(id), MF_BYCOMMAND) & MF_CHECKED) != 0;
  }
  static bool buttonPressed(int id) { return SendMessageA(toolbar(), TB_ISBUTTONCHECKED, id, 0) != 0; }

  // The text of status-bar pane 1 or 2.
  static std::string pane(int n) {
    HWND bar = windowTable.slots[0].statusBar;
    const int length = LOWORD(SendMessageA(bar, SB_GETTEXTLENGTHA, static_cast<WPARAM>(n - 1), 0));
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    SendMessageA(bar, SB_GETTEXTA, static_cast<WPARAM>(n - 1), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
  }

  // The lines of the log.
  static std::vector<std::string> log() {
    std::vector<std::string> lines;
    for (int k = 0; k < LOG_DISPLAY.LOG_COUNT; ++k) lines.push_back(LOG_DISPLAY.LOG_LINES[static_cast<std::size_t>(k)].str());
    return lines;
  }

  // Hands what the window produced to the program's event handling.
  static void drain() {
    EventRecord record;
    int type = 0;
    while ((type = ui::waitEvent(record, 150)) != ui::kTimedOut) PROCESS_EVENT(type, record);
  }

 protected:
  ui::Watchdog watchdog_{60000, ::testing::UnitTest::GetInstance()->current_test_info()->name()};

 private:
  char directory_[MAX_PATH] = {};
};
