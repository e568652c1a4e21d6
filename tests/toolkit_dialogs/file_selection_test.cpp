// The open and save dialogs: folders and names in and out, filters and their
// index, the flags of the converter's Open (138) and Save (35), and the
// current directory afterwards.
#include <windows.h>

#include <commdlg.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "dialog_fixture.h"
#include "toolkit/dialogs/file_selection.h"
#include "toolkit/dialogs/message_box.h"

namespace {

using namespace dialog_test;

constexpr int kFileNameBox = 1148;  // the dialog's file-name combo
constexpr int kFileTypeBox = 1136;  // its filter combo
constexpr int kOpenFlags = 138;
constexpr int kSaveFlags = 35;
constexpr const char* kFilter = "GPX files (*.gpx)|*.gpx|KML files (*.kml)|*.kml|";
// The converter's filters for opening points and saving tracks, blank-padded
// to its 512 characters; the last pattern of the second begins with a blank.
const FixedText<512> kOpenPoints(
    "TomTom Text (*.asc)|*.asc|TomTom Overlays (*.ov2, *.ovr)|*.ov2;*.ovr|Maptech Marks (*.mxf)|*.mxf|"
    "Memory-Map CSV files (*.csv)|*.csv|Garmin GPS Database Waypoints (*.gdb)|*.gdb|MapSource Waypoints (*.txt)|*.txt|"
    "GPS eXchange Waypoints (*.gpx)|*.gpx|Microsoft Maps (*.axe, *.est, *.ptm)|*.axe;*.est;*.ptm|"
    "AutoRoute PushPins (*.csv)|*.csv|Excel Table (*.xls)|*.xls|Pocket Streets PushPins (*.psp)|*.psp|"
    "OziExplorer Waypoints (*.wpt)|*.wpt|Garmin PCX5 Waypoints (*.wpt)|*.wpt|Google Earth Points (*.kml)|*.kml|");
const FixedText<512> kSaveTracks(
    "Maptech Tracks (*.txf)|*.txf|Garmin Tracks (*.trk)|*.trk|GPS eXchange Tracks (*.gpx)|*.gpx|"
    "Excel Table (*.xls)|*.xls|Google Earth Tracks (*.kml)|*.kml|OziExplorer Tracks (*.plt)| *.plt|");

std::string currentDirectory() {
  char path[MAX_PATH] = {};
  GetCurrentDirectoryA(sizeof path, path);
  return path;
}

void writeFile(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  WriteFile(file, "x", 1, nullptr, nullptr);
  CloseHandle(file);
}

// Types a name into the dialog's file-name box.
void typeFileName(HWND dialog, const std::string& name) {
  HWND box = GetDlgItem(dialog, kFileNameBox);
  HWND combo = FindWindowExA(box, nullptr, "ComboBox", nullptr);
  HWND edit = FindWindowExA(combo != nullptr ? combo : box, nullptr, "Edit", nullptr);
  SetWindowTextA(edit != nullptr ? edit : box, name.c_str());
}

void chooseFilter(HWND dialog, int index) {
  HWND types = GetDlgItem(dialog, kFileTypeBox);
  SendMessageA(types, CB_SETCURSEL, static_cast<WPARAM>(index - 1), 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kFileTypeBox, CBN_SELENDOK), reinterpret_cast<LPARAM>(types));
}

void pressOpen(HWND dialog) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

std::string folderOf(HWND dialog) {
  char folder[MAX_PATH] = {};
  SendMessageA(dialog, CDM_GETFOLDERPATH, sizeof folder, reinterpret_cast<LPARAM>(folder));
  return folder;
}

std::vector<std::string> filterNames(HWND dialog) {
  HWND types = GetDlgItem(dialog, kFileTypeBox);
  std::vector<std::string> names;
  const int n = static_cast<int>(SendMessageA(types, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    std::string text(static_cast<std::size_t>(SendMessageA(types, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0)) + 1, '\0');
    SendMessageA(types, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(lstrlenA(text.c_str())));
    names.push_back(text);
  }
  return names;
}

class FileSelection : public RootWindow {
 protected:
  void SetUp() override {
    RootWindow::SetUp();
    startDirectory_ = currentDirectory();
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    base_ = std::string(temp) + "carrow_select_" + std::to_string(GetCurrentProcessId());
    folder_ = base_ + "\\tracks";
    other_ = base_ + "\\other";
    CreateDirectoryA(base_.c_str(), nullptr);
    CreateDirectoryA(folder_.c_str(), nullptr);
    CreateDirectoryA(other_.c_str(), nullptr);
    for (const char* name : {"a.gpx", "b.gpx", "notes.kml"}) writeFile(folder_ + "\\" + name);
    writeFile(other_ + "\\c.kml");
  }
  void TearDown() override {
    SetCurrentDirectoryA(startDirectory_.c_str());
    for (const std::string& dir : {folder_, other_}) {
      WIN32_FIND_DATAA found{};
      HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
      if (search != INVALID_HANDLE_VALUE) {
        do {
          if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA((dir + "\\" + found.cFileName).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
      }
      RemoveDirectoryA(dir.c_str());
    }
    RemoveDirectoryA(base_.c_str());
    RootWindow::TearDown();
  }
  std::string startDirectory_;
  std::string base_;
  std::string folder_;
  std::string other_;
};

TEST_F(FileSelection, OpenChoosesAFileByTheFilterAndKeepsItsFolderCurrent) {
  ui::UiDriver driver;
  std::string startFolder;
  std::string startName;
  std::vector<std::string> filters;
  int startType = -1;
  driver.answerNext([&](HWND dialog) {
    startFolder = folderOf(dialog);
    startName = textOf(GetDlgItem(dialog, kFileNameBox));
    filters = filterNames(dialog);
    startType = static_cast<int>(SendMessageA(GetDlgItem(dialog, kFileTypeBox), CB_GETCURSEL, 0, 0));
    chooseFilter(dialog, 14);
    typeFileName(dialog, other_ + "\\c.kml");
    pressOpen(dialog);
  });
  FixedText<256> name(folder_ + "\\a.gpx");
  int index = 7;
  WFileSelect(kOpenPoints, kOpenFlags, name, "Open File", &index);
  ASSERT_EQ(driver.seen().size(), 1u);
  EXPECT_EQ(driver.seen()[0].title, "Open File");
  EXPECT_EQ(startFolder, folder_);
  EXPECT_EQ(startName, "a.gpx");
  ASSERT_EQ(filters.size(), 14u);
  EXPECT_EQ(filters[0], "TomTom Text (*.asc)");
  EXPECT_EQ(filters[13], "Google Earth Points (*.kml)");
  EXPECT_EQ(startType, 6);
  EXPECT_EQ(WQueryLastResult(kLastAnswer), 1);
  EXPECT_EQ(WQueryLastResult(kLastFocusField), 0);
  EXPECT_EQ(name.trimmed(), other_ + "\\c.kml");
  EXPECT_EQ(index, 14);
  EXPECT_EQ(currentDirectory(), other_);
  EXPECT_EQ(lastError(), 0);
  EXPECT_FALSE(windowTable.modalSnapshotMode);
  EXPECT_TRUE(IsWindowEnabled(rootFrame()));
}

TEST_F(FileSelection, ACancelledOpenChangesNothing) {
  ui::UiDriver driver;
  driver.answerNext([](HWND dialog) {
    chooseFilter(dialog, 2);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  });
  FixedText<256> name(folder_ + "\\a.gpx");
  int index = 1;
  WFileSelect(kFilter, kOpenFlags, name, std::nullopt, &index);
  ASSERT_EQ(driver.seen().size(), 1u);
  EXPECT_EQ(driver.seen()[0].title, "Select File");
  EXPECT_EQ(WQueryLastResult(kLastAnswer), 0);
  EXPECT_EQ(name.trimmed(), folder_ + "\\a.gpx");
  EXPECT_EQ(index, 1);
  EXPECT_EQ(currentDirectory(), startDirectory_);
  EXPECT_EQ(lastError(), 0);
}

TEST_F(FileSelection, SaveAppendsTheFiltersExtensionAsksBeforeOverwritingAndKeepsTheDirectory) {
  SetCurrentDirectoryA(base_.c_str());
  ui::UiDriver driver;
  std::string startFolder;
  driver.answerNext([&](HWND dialog) {
    startFolder = folderOf(dialog);
    typeFileName(dialog, other_ + "\\track");
    pressOpen(dialog);
  });
  // A name without a folder starts in the current directory.
  FixedText<256> name("out");
  int index = 3;
  WFileSelect(kSaveTracks, kSaveFlags, name, "Save File", &index);
  EXPECT_EQ(startFolder, base_);
  EXPECT_EQ(WQueryLastResult(kLastAnswer), 1);
  EXPECT_EQ(name.trimmed(), other_ + "\\track.gpx");
  EXPECT_EQ(index, 3);
  EXPECT_EQ(currentDirectory(), base_);
  // The pattern that begins with a blank still gives its extension.
  driver.answerNext([&](HWND dialog) {
    chooseFilter(dialog, 6);
    typeFileName(dialog, other_ + "\\log");
    pressOpen(dialog);
  });
  WFileSelect(kSaveTracks, kSaveFlags, name, "Save File", &index);
  EXPECT_EQ(name.trimmed(), other_ + "\\log.plt");
  EXPECT_EQ(index, 6);

  // An existing file: the overwrite question comes first.
  ui::SeenDialog question;
  driver.answerNext([&](HWND dialog) {
    typeFileName(dialog, folder_ + "\\a.gpx");
    pressOpen(dialog);
  });
  driver.answerNext([&](HWND box) {
    question = ui::readDialog(box);
    ui::UiDriver::press(IDYES)(box);
  });
  WFileSelect(kFilter, kSaveFlags, name, "Save as", &index);
  EXPECT_EQ(WQueryLastResult(kLastAnswer), 1);
  EXPECT_EQ(name.trimmed(), folder_ + "\\a.gpx");
  EXPECT_FALSE(question.texts.empty());
  EXPECT_EQ(currentDirectory(), base_);
  EXPECT_EQ(driver.pending(), 0u);
}

// Opening a name that does not exist: with 130 the must-exist check refuses
// it, with 2 alone the user is asked whether to create it.
TEST_F(FileSelection, MustExistWinsOverTheCreateQuestion) {
  ui::UiDriver driver;
  struct Run {
    int flags;
    bool created;
  };
  for (const Run run : {Run{130, false}, Run{2, true}}) {
    SCOPED_TRACE(run.flags);
    ui::SeenDialog box;
    driver.answerNext([&](HWND dialog) {
      typeFileName(dialog, folder_ + "\\missing.gpx");
      pressOpen(dialog);
    });
    driver.answerNext([&, run](HWND shown) {
      box = ui::readDialog(shown);
      HWND fileDialog = GetWindow(shown, GW_OWNER);
      if (run.created) {
        ui::UiDriver::press(IDYES)(shown);
      } else {
        ui::UiDriver::press(IDOK)(shown);
        PostMessageA(fileDialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
      }
    });
    FixedText<256> name("x.gpx");
    WFileSelect(kFilter, run.flags, name);
    const bool hasYes = std::find(box.texts.begin(), box.texts.end(), "&Yes") != box.texts.end() ||
                        std::find(box.texts.begin(), box.texts.end(), "Yes") != box.texts.end();
    EXPECT_EQ(hasYes, run.created);
    EXPECT_EQ(WQueryLastResult(kLastAnswer), run.created ? 1 : 0);
    EXPECT_EQ(name.trimmed(), run.created ? folder_ + "\\missing.gpx" : std::string("x.gpx"));
  }
  EXPECT_EQ(driver.pending(), 0u);
}

// The caller's field holds the chosen name exactly: one that fills it is
// taken, one that does not fit fails the dialog with error 1004.
TEST_F(FileSelection, TheChosenNameMayFillTheCallersFieldButNotPassIt) {
  const std::string chosen = folder_ + "\\b.gpx";
  ui::UiDriver driver;
  auto choose = [&](HWND dialog) {
    typeFileName(dialog, chosen);
    pressOpen(dialog);
  };
  std::vector<char> exact(chosen.size(), ' ');
  TextField exactField(exact.data(), static_cast<int>(exact.size()));
  driver.answerNext(choose);
  WFileSelect(kFilter, kOpenFlags, exactField);
  EXPECT_EQ(WQueryLastResult(kLastAnswer), 1);
  EXPECT_EQ(std::string(exact.begin(), exact.end()), chosen);
  EXPECT_EQ(lastError(), 0);

  FixedText<12> tooShort("keep");
  driver.answerNext(choose);
  driver.answerNext([](HWND box) { PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); });
  WFileSelect(kFilter, kOpenFlags, tooShort);
  EXPECT_EQ(WQueryLastResult(kLastAnswer), 0);
  EXPECT_EQ(tooShort.trimmed(), "keep");
  EXPECT_EQ(lastError(), 1004);
}

TEST_F(FileSelection, AMultipleSelectionReturnsTheFolderAndEachName) {
  ui::UiDriver driver;
  driver.answerNext([&](HWND dialog) {
    typeFileName(dialog, "\"a.gpx\" \"b.gpx\"");
    pressOpen(dialog);
  });
  FixedText<256> name(folder_ + "\\");
  WFileSelect(kFilter, kOpenFlags | kSelectMultiple, name);
  EXPECT_EQ(WQueryLastResult(kLastAnswer), 1);
  const std::string expected = folder_ + '\0' + "a.gpx" + '\0' + "b.gpx";
  EXPECT_EQ(std::string(name.view().substr(0, expected.size())), expected);
  EXPECT_TRUE(text::isBlank(name.view().substr(expected.size())));
  EXPECT_EQ(currentDirectory(), folder_);
}

TEST_F(FileSelection, FiltersTakeTheirLastCharacterAsSeparatorWithinAThousandCharacters) {
  ui::UiDriver driver;
  std::vector<std::string> shown;
  auto read = [&](HWND dialog) {
    shown = filterNames(dialog);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  };
  FixedText<256> name("x");
  driver.answerNext(read);
  WFileSelect("GPX files;*.gpx;All files;*.*;   ", kOpenFlags, name);
  EXPECT_EQ(shown, (std::vector<std::string>{"GPX files", "All files"}));

  // Cut to 1000 characters, which end with the first pair: the second is gone.
  const std::string first = "L" + std::string(994, 'x') + "|*.x|";
  ASSERT_EQ(first.size(), 1000u);
  const std::string filter = first + "Later files|" + std::string(190, 'y') + "|";
  driver.answerNext(read);
  WFileSelect(filter, kOpenFlags, name);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], "L" + std::string(994, 'x'));
}

TEST(PathNamePart, SplitsAPathIntoItsFolderAndName) {
  struct Case {
    const char* path;
    const char* folder;
    const char* name;
  };
  const std::array<Case, 8> cases = {{
      {"C:\\data\\file.gpx", "C:\\data\\", "file.gpx"},
      {"file.gpx", "", "file.gpx"},
      {"C:\\data\\", "C:\\data", ""},
      {"C:\\", "C:\\", ""},
      {"C:file.gpx", "C:", "file.gpx"},
      {"C:\\data\\..", "C:\\data\\..", ""},
      {"   C:\\x\\y.txt", "C:\\x\\", "y.txt"},
      {"", "", ""},
  }};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    FixedText<40> path(c.path);
    FixedText<20> name("junk");
    YYPATHNAMEPART(path, name);
    EXPECT_EQ(path.trimmed(), c.folder);
    EXPECT_EQ(name.trimmed(), c.name);
  }
}

}  // namespace
