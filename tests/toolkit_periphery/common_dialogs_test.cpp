// The colour chooser, the page set-up (on the PDF printer of the test run) and
// the folder browser, answered by the UI driver; the locale's measurement.
#include <gtest/gtest.h>
#include <windows.h>

#include <colordlg.h>
#include <dlgs.h>

#include <cstring>
#include <string>
#include <vector>

#include "periphery_fixture.h"
#include "toolkit/dialogs/common_dialogs.h"
#include "toolkit/drivers/printer_device.h"

namespace {

using periphery_test::RootWindow;

std::string itemText(HWND dialog, int id) {
  char text[300] = {};
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

class ColourChooser : public RootWindow {};

TEST_F(ColourChooser, StartsAtTheGivenColourAndReturnsTheChosenOne) {
  ui::UiDriver driver;
  std::string shown;
  bool othersDisabled = false;
  driver.answerNext([&](HWND dialog) {
    shown = itemText(dialog, COLOR_RED) + "," + itemText(dialog, COLOR_GREEN) + "," + itemText(dialog, COLOR_BLUE);
    othersDisabled = !IsWindowEnabled(windowTable.slots[0].frame);
    SetDlgItemTextA(dialog, COLOR_RED, "10");
    SetDlgItemTextA(dialog, COLOR_GREEN, "20");
    SetDlgItemTextA(dialog, COLOR_BLUE, "30");
    ui::UiDriver::press(IDOK)(dialog);
  });
  // Only the low byte of each component counts.
  int red = 200 + 256;
  int green = 100;
  int blue = 50;
  int status = 0;
  int extended = -1;
  YYColourChooser(red, green, blue, status, extended);
  EXPECT_EQ(shown, "200,100,50");
  EXPECT_TRUE(othersDisabled);
  EXPECT_TRUE(IsWindowEnabled(windowTable.slots[0].frame));
  EXPECT_EQ(status, 1);
  EXPECT_EQ(extended, 0);
  EXPECT_EQ(red, 10);
  EXPECT_EQ(green, 20);
  EXPECT_EQ(blue, 30);
}

TEST_F(ColourChooser, CancelKeepsTheColour) {
  ui::UiDriver driver;
  driver.answerNext(ui::UiDriver::press(IDCANCEL));
  int red = 1, green = 2, blue = 3, status = 9, extended = 9;
  YYColourChooser(red, green, blue, status, extended);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(extended, 0);
  EXPECT_EQ(red, 1);
  EXPECT_EQ(green, 2);
  EXPECT_EQ(blue, 3);
}

class PageSetup : public RootWindow {
 protected:
  void SetUp() override {
    RootWindow::SetUp();
    char entry[300] = {};
    GetProfileStringA("windows", "Device", "", entry, sizeof entry);
    ASSERT_NE(entry[0], '\0') << "no default printer: the test run starts CUPS with a PDF queue (scripts/pdf-printer.sh)";
  }
};

TEST_F(PageSetup, AcceptedSetUpIsReturnedAndKeptForThePrinter) {
  ui::UiDriver driver;
  std::string leftShown;
  driver.answerNext([&](HWND dialog) {
    leftShown = itemText(dialog, edt4);
    ui::UiDriver::press(IDOK)(dialog);
  });
  int paperWidth = 0, paperHeight = 0, colours = 0, status = 0;
  int printableWidth = 6000, printableHeight = 9000, left = 1000, top = 1000, orientation = 0, copies = 2;
  YYPageSetup(paperWidth, paperHeight, printableWidth, printableHeight, left, top, orientation, copies,
              kPageUnitsInches, colours, status);
  ASSERT_EQ(status, 1);
  EXPECT_FALSE(leftShown.empty());
  // Letter or A4, portrait, in thousandths of an inch.
  EXPECT_GT(paperWidth, 8000);
  EXPECT_LT(paperWidth, 8600);
  EXPECT_GT(paperHeight, 10900);
  EXPECT_LT(paperHeight, 11800);
  EXPECT_EQ(left, 1000);
  EXPECT_EQ(top, 1000);
  EXPECT_EQ(printableWidth, 6000);
  EXPECT_EQ(printableHeight, 9000);
  EXPECT_EQ(orientation, 0);
  EXPECT_EQ(copies, 2);
  EXPECT_EQ(yyPrinterSettings.pageSetupRemembered, 1);
  EXPECT_EQ(yyChosenPrinter.chosen, 1);
  EXPECT_EQ(yyChosenPrinter.device, "PDF");
  EXPECT_GT(yyPrinterSettings.paperSize, 0);

  // Again in hundredths of a millimetre and landscape: the remembered printer,
  // the paper turned.
  driver.answerNext(ui::UiDriver::press(IDOK));
  int widthMm = 0, heightMm = 0;
  printableWidth = 20000;
  printableHeight = 15000;
  left = 2000;
  top = 2000;
  orientation = 1;
  copies = 1;
  YYPageSetup(widthMm, heightMm, printableWidth, printableHeight, left, top, orientation, copies,
              kPageUnitsMillimetres, colours, status);
  ASSERT_EQ(status, 1);
  EXPECT_EQ(orientation, 1);
  EXPECT_NEAR(widthMm, paperHeight * 2.54, 150);
  EXPECT_NEAR(heightMm, paperWidth * 2.54, 150);
  EXPECT_EQ(left, 2000);
  EXPECT_EQ(printableWidth, 20000);
}

TEST_F(PageSetup, CancelReturnsNothing) {
  ui::UiDriver driver;
  driver.answerNext(ui::UiDriver::press(IDCANCEL));
  int paperWidth = -5, paperHeight = -5, colours = -5, status = 9;
  int printableWidth = 6000, printableHeight = 9000, left = 1000, top = 1000, orientation = 0, copies = 1;
  YYPageSetup(paperWidth, paperHeight, printableWidth, printableHeight, left, top, orientation, copies,
              kPageUnitsInches, colours, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(paperWidth, -5);
  EXPECT_EQ(left, 1000);
}

class FolderBrowser : public RootWindow {
 protected:
  void SetUp() override {
    RootWindow::SetUp();
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    base_ = std::string(temp) + "carrow_browse_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(base_.c_str(), nullptr);
    file_ = base_ + "\\plain.txt";
    HANDLE f = CreateFileA(file_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(f);
  }
  void TearDown() override {
    DeleteFileA(file_.c_str());
    RemoveDirectoryA((base_ + "\\made").c_str());
    RemoveDirectoryA(base_.c_str());
    RootWindow::TearDown();
  }
  // Runs the browser from `start`; the first script types `typed` into the
  // path box and presses OK, the boxes that follow get the `then` scripts.
  int browse(const std::string& start, int flags, const std::string& typed, ui::UiDriver& driver,
             const char* title = nullptr, std::vector<ui::DialogScript> then = {}) {
    std::strncpy(directory_, start.c_str(), kBrowseDirectoryLength);
    driver.answerNext([this, typed](HWND dialog) {
      char text[300] = {};
      GetWindowTextA(dialog, text, sizeof text);
      caption_ = text;
      shownPath_ = itemText(dialog, kBrowsePathField);
      if (!typed.empty()) SetDlgItemTextA(dialog, kBrowsePathField, typed.c_str());
      ui::UiDriver::press(IDOK)(dialog);
    });
    for (ui::DialogScript& script : then) driver.answerNext(std::move(script));
    int status = 0;
    YYDirectoryBrowse(title != nullptr ? 1 : 0, status, flags, directory_, title);
    return status;
  }
  std::string base_;
  std::string file_;
  char directory_[kBrowseDirectoryLength + 1] = {};
  std::string caption_;
  std::string shownPath_;
};

TEST_F(FolderBrowser, ShowsTheCallersFolderAndReturnsIt) {
  ui::UiDriver driver;
  EXPECT_EQ(browse(base_, 0, "", driver), kBrowseChosen);
  EXPECT_EQ(caption_, "Select Directory");
  EXPECT_EQ(shownPath_, base_);
  EXPECT_STREQ(directory_, base_.c_str());
}

TEST_F(FolderBrowser, GivenTitleBecomesTheCaption) {
  ui::UiDriver driver;
  EXPECT_EQ(browse(base_, 0, "", driver, "Where do the tracks go?"), kBrowseChosen);
  EXPECT_EQ(caption_, "Where do the tracks go?");
}

TEST_F(FolderBrowser, MissingFolderCreatedWhenOffered) {
  ui::UiDriver driver;
  const std::string made = base_ + "\\made";
  // Nothing answers a further box: the browser must have closed.
  EXPECT_EQ(browse(base_, kBrowseOfferCreate, made, driver, nullptr, {ui::UiDriver::press(IDYES)}), kBrowseChosen);
  ASSERT_EQ(driver.seen().size(), 2u);
  EXPECT_EQ(driver.seen()[1].title, "Create Directory?");
  EXPECT_EQ(driver.seen()[1].texts.at(0), "The specified directory does not exist.\nDo you wish to create it?");
  const DWORD attributes = GetFileAttributesA(made.c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_STREQ(directory_, made.c_str());
}

TEST_F(FolderBrowser, RefusalsKeepTheDialogOpen) {
  struct Case {
    std::string typed;
    int flags;
    int answer;  // to the refusal box
    const char* title;
    const char* text;
  };
  const Case cases[] = {
      {base_ + "\\missing", 0, IDOK, "Invalid Directory",
       "The specified directory does not exist.\nSpecify a valid directory."},
      {file_, 0, IDOK, "Invalid Directory", "The specified path is not a valid directory name.\nSpecify a valid directory."},
      {base_ + "\\missing", kBrowseOfferCreate, IDNO, "Create Directory?",
       "The specified directory does not exist.\nDo you wish to create it?"},
  };
  for (const Case& c : cases) {
    ui::UiDriver driver;
    // The box is answered; the browser, still open after it, is then cancelled.
    const ui::DialogScript answerThenCancel = [&c](HWND box) {
      HWND browser = GetWindow(box, GW_OWNER);
      ui::UiDriver::press(c.answer)(box);
      PostMessageA(browser, WM_COMMAND, IDCANCEL, 0);
    };
    EXPECT_EQ(browse(base_, c.flags, c.typed, driver, nullptr, {answerThenCancel}), kBrowseCancelled) << c.typed;
    ASSERT_EQ(driver.seen().size(), 2u) << c.typed;
    EXPECT_EQ(driver.seen()[1].title, c.title);
    EXPECT_EQ(driver.seen()[1].texts.at(0), c.text);
    EXPECT_EQ(GetFileAttributesA((base_ + "\\missing").c_str()), INVALID_FILE_ATTRIBUTES);
  }
}

TEST_F(FolderBrowser, NoCheckTakesAMissingFolderAsTyped) {
  ui::UiDriver driver;
  const std::string missing = base_ + "\\not yet";
  EXPECT_EQ(browse(base_, kBrowseNoCheck, missing, driver), kBrowseChosen);
  EXPECT_EQ(driver.seen().size(), 1u);
  EXPECT_STREQ(directory_, missing.c_str());
}

class LocaleMeasure : public RootWindow {};

TEST_F(LocaleMeasure, FollowsTheUsersSetting) {
  char saved[4] = {};
  ASSERT_GT(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IMEASURE, saved, sizeof saved), 0);
  int units = 0;
  ASSERT_TRUE(SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IMEASURE, "0"));
  YYLocaleMeasure(units);
  EXPECT_EQ(units, 2);
  ASSERT_TRUE(SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IMEASURE, "1"));
  YYLocaleMeasure(units);
  EXPECT_EQ(units, 1);
  SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IMEASURE, saved);
}

}  // namespace
