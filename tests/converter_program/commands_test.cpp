// Menu commands on the program's main window: the check marks and settings
// they change, the status bar, the option dialogs read back however they are
// closed, the semi-modeless TomTom dialog and the About box.

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "converter/dates.h"
#include "main_window_fixture.h"
#include "toolkit/core/help.h"

namespace {

// Every item of the four check-mark groups.
const std::vector<int> kMarkedItems{40013, 40014, 40021, 40022, 40025, 40008, 40009,
                                    40015, 40028, 40029, 40030, 40031, 40032};
// Those the toolbar carries too.
const std::vector<int> kToolbarMarks{40013, 40014, 40021, 40022, 40025};

constexpr const char* kLatLongPane = " ASC/Excel output coords: Lat/Long";
constexpr const char* kGarminStart = " Garmin Prefix: W, Alt:-9999, Proximity:    0.0, Symbol:  0";

void expectMarks(const std::vector<int>& checked) {
  for (int id : kMarkedItems) {
    const bool wanted = std::find(checked.begin(), checked.end(), id) != checked.end();
    EXPECT_EQ(MainWindow::menuChecked(id), wanted) << "menu item " << id;
    if (std::find(kToolbarMarks.begin(), kToolbarMarks.end(), id) != kToolbarMarks.end()) {
      EXPECT_EQ(MainWindow::buttonPressed(id), wanted) << "toolbar button " << id;
    }
  }
}

TEST_F(MainWindow, StartsWithTheDefaultMarksAndTheGarminSummary) {
  expectMarks({40013, 40021, 40008, 40032});
  EXPECT_EQ(pane(1), kLatLongPane);
  EXPECT_EQ(pane(2), kGarminStart);
  EXPECT_TRUE(IsWindowEnabled(frame()));
}

struct MarkCase {
  const char* name;
  std::vector<std::int32_t> commands;
  std::vector<int> checked;  // the marks afterwards
  std::function<void()> expectSettings;
  const char* pane1;
};

class CheckMarks : public MainWindow, public ::testing::WithParamInterface<MarkCase> {};

TEST_P(CheckMarks, FollowTheSettingChosenLast) {
  const MarkCase& c = GetParam();
  for (const std::int32_t& command : c.commands) PROCESSMENU(command);
  expectMarks(c.checked);
  c.expectSettings();
  EXPECT_EQ(pane(1), c.pane1);
  EXPECT_EQ(pane(2), kGarminStart);  // none of these touches the option summary
  EXPECT_FALSE(isTrue(STOP_FLAG));
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CheckMarks,
    ::testing::Values(
        MarkCase{"Routes", {40022}, {40013, 40022, 40008, 40032},
                 [] { EXPECT_EQ(CONVERTER_SETTINGS.DATA_TYPE.str(), "Routes"); }, kLatLongPane},
        MarkCase{"TracksThenPoints", {40025, 40021}, {40013, 40021, 40008, 40032},
                 [] { EXPECT_EQ(CONVERTER_SETTINGS.DATA_TYPE.str(), "Points"); }, kLatLongPane},
        MarkCase{"Osgb", {40014}, {40014, 40021, 40008, 40032},
                 [] { EXPECT_TRUE(isTrue(CONVERTER_SETTINGS.OSGB_OUTPUT)); }, " ASC/Excel output coords: OSGB"},
        MarkCase{"OsgbThenLatLong", {40014, 40013}, {40013, 40021, 40008, 40032},
                 [] { EXPECT_FALSE(isTrue(CONVERTER_SETTINGS.OSGB_OUTPUT)); }, kLatLongPane},
        MarkCase{"EveryFifthTrackPoint", {40009}, {40013, 40021, 40009, 40032},
                 [] { EXPECT_EQ(CONVERTER_SETTINGS.TRACK_FILTER, 5); }, kLatLongPane},
        MarkCase{"TenthThenNone", {40015, 40008}, {40013, 40021, 40008, 40032},
                 [] { EXPECT_EQ(CONVERTER_SETTINGS.TRACK_FILTER, 1); }, kLatLongPane},
        MarkCase{"PdopModerate", {40030}, {40013, 40021, 40008, 40030},
                 [] { EXPECT_EQ(CONVERTER_SETTINGS.PDOP_LIMIT, 8.0f); }, kLatLongPane},
        MarkCase{"PdopExcellentThenFair", {40028, 40031}, {40013, 40021, 40008, 40031},
                 [] { EXPECT_EQ(CONVERTER_SETTINGS.PDOP_LIMIT, 20.0f); }, kLatLongPane},
        MarkCase{"PdopGoodThenAll", {40029, 40032}, {40013, 40021, 40008, 40032},
                 [] { EXPECT_EQ(CONVERTER_SETTINGS.PDOP_LIMIT, 9999.0f); }, kLatLongPane},
        // Popup identifiers and unknown ones change nothing.
        MarkCase{"PopupIdentifier", {40018, 40004, 12345}, {40013, 40021, 40008, 40032},
                 [] {
                   EXPECT_EQ(CONVERTER_SETTINGS.DATA_TYPE.str(), "Points");
                   EXPECT_EQ(CONVERTER_SETTINGS.TRACK_FILTER, 1);
                 },
                 kLatLongPane}),
    [](const ::testing::TestParamInfo<MarkCase>& info) { return std::string(info.param.name); });

TEST_F(MainWindow, ExitFromTheToolbarEndsTheLoopAsTheMenuDoes) {
  PROCESSMENU(40010);
  EXPECT_TRUE(isTrue(STOP_FLAG));
}

TEST_F(MainWindow, ClosingTheWindowEndsTheLoop) {
  PostMessageA(frame(), WM_CLOSE, 0, 0);
  EventRecord record;
  ASSERT_EQ(ui::waitEventOfType(kEventClose, record), kEventClose);
  PROCESS_EVENT(kEventClose, record);
  EXPECT_TRUE(isTrue(STOP_FLAG));
}

// --- option dialogs -------------------------------------------------------------

std::string fieldText(HWND dialog, int id) {
  char text[256] = {};
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

// Types into a field as a user does: the field gets the focus, its text is
// selected and replaced key by key.
void typeInto(HWND dialog, int id, std::string_view text) {
  HWND field = GetDlgItem(dialog, id);
  SetFocus(field);
  SendMessageA(field, EM_SETSEL, 0, -1);
  for (char c : text) SendMessageA(field, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(c)), 1);
}

// Clicks a button: the focus moves to it, which ends the edit of the field
// before it, then it is pressed.
void click(HWND dialog, int id) {
  SetFocus(GetDlgItem(dialog, id));
  ui::UiDriver::press(id)(dialog);
}

int listEntry(HWND dialog, int id) { return static_cast<int>(SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0)) + 1; }
void chooseEntry(HWND dialog, int id, int entry) { SendDlgItemMessageA(dialog, id, CB_SETCURSEL, entry - 1, 0); }

// Runs a menu command whose modal dialog the script answers; the script sees
// the dialog's fields as the command filled them.
std::vector<ui::SeenDialog> runDialog(std::int32_t command, ui::DialogScript script) {
  ui::UiDriver driver;
  driver.answerNext(std::move(script));
  PROCESSMENU(command);
  EXPECT_EQ(driver.pending(), 0u);
  return driver.seen();
}

TEST_F(MainWindow, GarminOptionsShowTheSettingsAndTakeTheChangedFields) {
  GARMIN_SETTINGS.SYMBOL = 3;
  std::string prefix, altitude, proximity, date, time;
  int symbol = 0;
  UINT replace = 9;
  const auto seen = runDialog(kCmdGarmin, [&](HWND d) {
    prefix = fieldText(d, 1010);
    replace = IsDlgButtonChecked(d, 1009);
    altitude = fieldText(d, 1014);
    proximity = fieldText(d, 1005);
    symbol = listEntry(d, 1004);
    date = fieldText(d, 1012);
    time = fieldText(d, 1013);
    typeInto(d, 1010, "ABCD");
    CheckDlgButton(d, 1009, BST_CHECKED);
    typeInto(d, 1014, "120");
    typeInto(d, 1005, "25.5");
    chooseEntry(d, 1004, 17);  // the blank entry at the end
    click(d, IDOK);
  });
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].title, "Garmin Waypoint output options");
  EXPECT_EQ(prefix, "W");
  EXPECT_EQ(replace, 0u);
  EXPECT_EQ(altitude, "-9999");
  EXPECT_EQ(proximity, "0.0");
  EXPECT_EQ(symbol, 4);
  // The dialog shows the date and time that points without their own now get.
  FixedText<9> shown;
  TODD_MMM_YY(DEFAULT_DATE, shown);
  EXPECT_EQ(date, shown.str());
  EXPECT_EQ(time, DEFAULT_TIME.str());

  EXPECT_EQ(GARMIN_SETTINGS.NAME_PREFIX.str(), "ABCD");
  EXPECT_EQ(GARMIN_SETTINGS.REPLACE_NAME, 1);
  EXPECT_EQ(GARMIN_SETTINGS.ALTITUDE, 120);
  EXPECT_FLOAT_EQ(GARMIN_SETTINGS.PROXIMITY, 25.5f);
  EXPECT_EQ(GARMIN_SETTINGS.SYMBOL, 16);
  EXPECT_EQ(pane(2), " Garmin Prefix: ABCD, Alt:  120, Proximity:   25.5, Symbol: 16");
}

TEST_F(MainWindow, MaptechOptionsClosedWithEscapeStillTakeTheFields) {
  int symbol = 0;
  std::string prefix;
  runDialog(kCmdMaptech, [&](HWND d) {
    symbol = listEntry(d, 1008);
    prefix = fieldText(d, 1003);
    chooseEntry(d, 1008, 3);  // Fuel
    typeInto(d, 1003, "MARKERS-OF-THE-COAST");
    click(d, IDCANCEL);
  });
  EXPECT_EQ(symbol, 8);
  EXPECT_EQ(prefix, "WPT");
  EXPECT_EQ(MAPTECH_SETTINGS.SYMBOL, 3);
  EXPECT_EQ(MAPTECH_SETTINGS.NAME_PREFIX.str(), "MARKERS-OF");  // cut to the setting's ten characters
  EXPECT_EQ(pane(2), " Maptech Waypoint symbol: 145, Short name prefix: MARKERS-OF");
}

TEST_F(MainWindow, MaptechSummaryOfTheStartSettings) {
  runDialog(kCmdMaptech, ui::UiDriver::press(IDOK));
  EXPECT_EQ(pane(2), " Maptech Waypoint symbol:  23, Short name prefix: WPT");
}

TEST_F(MainWindow, OziExplorerOptionsRoundTrip) {
  std::string altitude, date;
  int symbol = 0;
  runDialog(kCmdOziExplorer, [&](HWND d) {
    altitude = fieldText(d, 1018);
    date = fieldText(d, 1021);
    symbol = listEntry(d, 1022);
    typeInto(d, 1018, "300");
    typeInto(d, 1019, "12.5");
    chooseEntry(d, 1022, 5);
    click(d, IDOK);
  });
  EXPECT_EQ(altitude, "-777");
  EXPECT_EQ(date, DEFAULT_DATE.str());
  EXPECT_EQ(symbol, 1);
  EXPECT_EQ(OZIEXPLORER_SETTINGS.ALTITUDE, 300);
  EXPECT_FLOAT_EQ(OZIEXPLORER_SETTINGS.PROXIMITY, 12.5f);
  EXPECT_EQ(OZIEXPLORER_SETTINGS.SYMBOL, 4);
  EXPECT_EQ(pane(2), " OziExplorer Altitude (ft):  300, Proximity (ft):   12.5, Symbol:  4");
}

TEST_F(MainWindow, GpxOptionsRoundTrip) {
  UINT upper = 9, unique = 9, ten = 9;
  runDialog(kCmdGpx, [&](HWND d) {
    upper = IsDlgButtonChecked(d, 1027);
    unique = IsDlgButtonChecked(d, 1028);
    ten = IsDlgButtonChecked(d, 1029);
    CheckDlgButton(d, 1027, BST_UNCHECKED);
    CheckRadioButton(d, 1029, 1030, 1030);
    typeInto(d, 1031, "7.5");
    click(d, IDOK);
  });
  EXPECT_EQ(upper, 1u);
  EXPECT_EQ(unique, 1u);
  EXPECT_EQ(ten, 1u);
  EXPECT_EQ(GPX_SETTINGS.UPPER_CASE, 0);
  EXPECT_EQ(GPX_SETTINGS.UNIQUE_NAMES, 1);
  EXPECT_EQ(GPX_SETTINGS.NAME_LENGTH, 2);
  EXPECT_FLOAT_EQ(GPX_SETTINGS.PROXIMITY, 7.5f);
  EXPECT_EQ(pane(2), " GPX names: Case: Unchanged, Make unique: Yes, Length: 128 max.");
}

TEST_F(MainWindow, GpxSummaryOfTheStartSettings) {
  runDialog(kCmdGpx, ui::UiDriver::press(IDOK));
  EXPECT_EQ(pane(2), " GPX names: Case: Upper, Make unique: Yes, Length: 10 max.");
}

TEST_F(MainWindow, AboutBoxNamesTheVersionAndNoPerson) {
  std::string about;
  const auto seen = runDialog(kCmdHelpAbout, [&](HWND d) {
    about = fieldText(d, 1001);
    click(d, IDOK);
  });
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].title, "About");
  const std::string lead =
      "Carrowmapper\rVersion 3.21 17/10/2007\r-\rPOI, Route and Track conversion utility.\r-\rWritten by ";
  EXPECT_EQ(about.rfind(lead, 0), 0u) << about;
  EXPECT_NE(about.find("\r-\rST2GPX Written by "), std::string::npos) << about;
  EXPECT_EQ(pane(2), kGarminStart);
}

// --- the semi-modeless TomTom dialog ----------------------------------------------

HWND tomtomDialog() { return FindWindowA("#32770", "TomTom output options"); }

// Presses a button of the TomTom dialog and hands its event to the event loop.
void pressTomTom(int button) {
  HWND dialog = tomtomDialog();
  ASSERT_NE(dialog, nullptr);
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
  EventRecord record;
  ASSERT_EQ(ui::waitEventOfType(kEventButton, record), kEventButton);
  EXPECT_EQ(record.win, 105);
  EXPECT_EQ(record.value1, button);
  PROCESS_EVENT(kEventButton, record);
}

TEST_F(MainWindow, TomTomOptionsAreReadBackByTheEventLoopOnOk) {
  PROCESSMENU(kCmdTomTom);  // returns while the dialog is shown
  HWND dialog = tomtomDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(IsWindowVisible(dialog));
  EXPECT_FALSE(IsWindowEnabled(frame()));  // the other windows wait for it
  EXPECT_EQ(pane(2), "Description => TomTom Name, Blank name prefix: POI");
  EXPECT_EQ(listEntry(dialog, 1023), 1);
  EXPECT_EQ(fieldText(dialog, 1024), "POI");
  EXPECT_EQ(listEntry(dialog, 1025), 1);

  chooseEntry(dialog, 1023, 3);
  SetDlgItemTextA(dialog, 1024, "Unnamed");
  chooseEntry(dialog, 1025, 4);
  pressTomTom(9);  // Help leaves the dialog open
  EXPECT_NE(tomtomDialog(), nullptr);
  pressTomTom(IDOK);

  EXPECT_EQ(tomtomDialog(), nullptr);
  EXPECT_TRUE(IsWindowEnabled(frame()));
  EXPECT_EQ(TOMTOM_SETTINGS.NAME_SOURCE, 3);
  EXPECT_EQ(TOMTOM_SETTINGS.BLANK_NAME_PREFIX.str(), "Unnamed");
  EXPECT_EQ(TOMTOM_SETTINGS.NAME_TRUNCATION, 4);
  // The summary shows the settings of the moment the dialog opened.
  EXPECT_EQ(pane(2), "Description => TomTom Name, Blank name prefix: POI");
  PROCESSMENU(kCmdTomTom);
  EXPECT_EQ(pane(2), "Comment => TomTom Name, Blank name prefix: Unnamed");
  pressTomTom(IDCANCEL);
}

TEST_F(MainWindow, TomTomOptionsClosedWithEscapeKeepTheSettings) {
  PROCESSMENU(kCmdTomTom);
  HWND dialog = tomtomDialog();
  ASSERT_NE(dialog, nullptr);
  chooseEntry(dialog, 1023, 2);
  SetDlgItemTextA(dialog, 1024, "Other");
  pressTomTom(IDCANCEL);
  EXPECT_EQ(tomtomDialog(), nullptr);
  EXPECT_TRUE(IsWindowEnabled(frame()));
  EXPECT_EQ(TOMTOM_SETTINGS.NAME_SOURCE, 1);
  EXPECT_EQ(TOMTOM_SETTINGS.BLANK_NAME_PREFIX.str(), "POI");
}

TEST_F(MainWindow, SummariesOfSettingsThatNameNoEntryStayWithinTheirTables) {
  TOMTOM_SETTINGS.NAME_SOURCE = 0;
  SHOW_OPTIONS_SUMMARY(OptionFamily::kTomTom);
  EXPECT_EQ(pane(2), "? => TomTom Name, Blank name prefix: POI");
  MAPTECH_SETTINGS.SYMBOL = 12;
  SHOW_OPTIONS_SUMMARY(OptionFamily::kMaptech);
  EXPECT_EQ(pane(2), " Maptech Waypoint symbol:   ?, Short name prefix: WPT");
}

}  // namespace

namespace {

struct HelpCall {
  std::string file;
  UINT command;
  ULONG_PTR data;
};
std::vector<HelpCall> helpCalls;

BOOL WINAPI recordWinHelp(HWND, LPCSTR file, UINT command, ULONG_PTR data) {
  helpCalls.push_back({file != nullptr ? file : "", command, data});
  return TRUE;
}

// The help file the program names, beside the test; its contents do not matter
// because the help viewer itself is replaced by a recorder.
class HelpReached : public MainWindow {
 protected:
  void SetUp() override {
    MainWindow::SetUp();
    helpCalls.clear();
    helpHostCalls.winHelp = recordWinHelp;
    std::FILE* f = std::fopen("Carrowmapper.hlp", "wb");
    if (f != nullptr) std::fclose(f);
  }
  void TearDown() override {
    YYHelpHostCallsReset();
    DeleteFileA("Carrowmapper.hlp");
    MainWindow::TearDown();
  }
};

TEST_F(HelpReached, TheHelpMenuShowsTheHelpFilesContents) {
  PROCESSMENU(40011);
  ASSERT_EQ(helpCalls.size(), 1u);
  EXPECT_NE(helpCalls[0].file.find("Carrowmapper.hlp"), std::string::npos) << helpCalls[0].file;
  EXPECT_EQ(helpCalls[0].command, static_cast<UINT>(HELP_CONTENTS));
}

TEST_F(HelpReached, TheTomTomHelpButtonShowsTopic3800AndOkClosesTheHelp) {
  PROCESSMENU(kCmdTomTom);
  ASSERT_NE(tomtomDialog(), nullptr);
  pressTomTom(9);
  ASSERT_EQ(helpCalls.size(), 1u);
  EXPECT_EQ(helpCalls[0].command, static_cast<UINT>(HELP_CONTEXT));
  EXPECT_EQ(helpCalls[0].data, 3800u);
  pressTomTom(IDOK);
  ASSERT_EQ(helpCalls.size(), 2u);
  EXPECT_EQ(helpCalls[1].command, static_cast<UINT>(HELP_QUIT));
}

}  // namespace
