// Dialog descriptions: what a loaded dialog gets from its description
// resource, and the reader's rules case by case on a dialog without one.
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "dialog_fixture.h"
#include "toolkit/dialogs/dialog_descriptions.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/message_box.h"

namespace {

using namespace dialog_test;
using Descriptions = RootWindow;

std::string listItem(HWND list, int index) {
  char text[2048] = {};
  SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
  return text;
}

std::string tabLabel(HWND tab, int index) {
  char text[256] = {};
  TCITEMA tabItem{};
  tabItem.mask = TCIF_TEXT;
  tabItem.pszText = text;
  tabItem.cchTextMax = sizeof text;
  SendMessageA(tab, TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&tabItem));
  return text;
}

const FieldRecord& recordOf(int id) {
  static const FieldRecord none;
  const FieldRecord* record = fieldRecordOf(item(id));
  EXPECT_NE(record, nullptr) << "control " << id;
  return record != nullptr ? *record : none;
}

LOGFONTA fontOf(HWND control) {
  LOGFONTA font{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font;
}

TEST_F(Descriptions, ALoadedDialogGetsEverySectionOfItsDescription) {
  WDialogLoad(kFieldsDialog);
  ASSERT_EQ(lastError(), 0);
  ASSERT_NE(currentDialog(), nullptr);
  EXPECT_FALSE(IsWindowVisible(currentDialog()));
  EXPECT_EQ(WQueryLastResult(kLastDialogIdentifier), kFieldsDialog);

  // [Menus]: items and the initial selection; 0 selects nothing.
  EXPECT_EQ(SendMessageA(item(1011), CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(SendMessageA(item(1011), CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(textOf(item(1011)), "Beta");
  EXPECT_EQ(SendMessageA(item(1012), CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageA(item(1012), CB_GETCURSEL, 0, 0), CB_ERR);
  EXPECT_EQ(SendMessageA(item(1013), LB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(listItem(item(1013), 2), "Blue");
  EXPECT_EQ(SendMessageA(item(1013), LB_GETCURSEL, 0, 0), 0);

  // [Ranges]: field records, the progress bar and the trackbar with the
  // position their template text gives.
  EXPECT_EQ(recordOf(1002).minimum, 0.0);
  EXPECT_EQ(recordOf(1002).maximum, 100.0);
  EXPECT_EQ(recordOf(1003).minimum, -5.5);
  EXPECT_EQ(recordOf(1003).maximum, 5.5);
  EXPECT_FALSE(recordOf(1004).hasRange());
  PBRANGE range{};
  SendMessageA(item(1014), PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
  EXPECT_EQ(range.iLow, 10);
  EXPECT_EQ(range.iHigh, 50);
  EXPECT_EQ(SendMessageA(item(1014), PBM_GETPOS, 0, 0), 30);
  HWND bar = item(1015);
  EXPECT_EQ(SendMessageA(bar, TBM_GETRANGEMIN, 0, 0), 0);
  EXPECT_EQ(SendMessageA(bar, TBM_GETRANGEMAX, 0, 0), 20);
  EXPECT_EQ(SendMessageA(bar, TBM_GETPOS, 0, 0), 5);

  // [Trackbars]: tic frequency 5 over 0-20, line and page sizes, selection 2-8.
  EXPECT_EQ(SendMessageA(bar, TBM_GETNUMTICS, 0, 0), 5);
  EXPECT_EQ(SendMessageA(bar, TBM_GETLINESIZE, 0, 0), 1);
  EXPECT_EQ(SendMessageA(bar, TBM_GETPAGESIZE, 0, 0), 4);
  EXPECT_EQ(SendMessageA(bar, TBM_GETSELSTART, 0, 0), 2);
  EXPECT_EQ(SendMessageA(bar, TBM_GETSELEND, 0, 0), 8);

  // [Checks] on a three-state box that initialisation made a two-state one.
  EXPECT_EQ(IsDlgButtonChecked(currentDialog(), 1007), BST_CHECKED);
  EXPECT_EQ(GetWindowLongA(item(1007), GWL_STYLE) & 0xF, BS_AUTOCHECKBOX);
  EXPECT_EQ(GetWindowLongA(item(1009), GWL_STYLE) & 0xF, BS_AUTORADIOBUTTON);

  // [Colours]: red text with the system background; unchanged text with a
  // blue background.
  EXPECT_EQ(recordOf(1001).textColour, 255);
  EXPECT_EQ(recordOf(1001).backgroundColour, -1);
  EXPECT_EQ(recordOf(1016).textColour, -1);
  EXPECT_EQ(recordOf(1016).backgroundColour, 255 * 65536);

  // [Lengths]: edit and combo limits and the records; integer fields hold 11.
  EXPECT_EQ(SendMessageA(item(1001), EM_GETLIMITTEXT, 0, 0), 30);
  EXPECT_EQ(recordOf(1001).maximumLength, 30);
  EXPECT_EQ(recordOf(1012).maximumLength, 12);
  EXPECT_EQ(SendMessageA(item(1002), EM_GETLIMITTEXT, 0, 0), 11);

  // [Formats]: the rest of the line, its trailing blank included.
  ASSERT_NE(recordOf(1003).format, nullptr);
  EXPECT_EQ(*recordOf(1003).format, "(F8.2) ");
  ASSERT_NE(recordOf(1006).format, nullptr);
  EXPECT_EQ(*recordOf(1006).format, "(F6.1) ");

  // [Fonts]: 12 points of Courier New, bold, italic.
  const LOGFONTA font = fontOf(item(1016));
  EXPECT_STREQ(font.lfFaceName, "Courier New");
  EXPECT_EQ(font.lfWeight, 700);
  EXPECT_EQ(font.lfItalic, 1);
  HDC screen = CreateCompatibleDC(nullptr);
  EXPECT_EQ(font.lfHeight, -MulDiv(12, GetDeviceCaps(screen, LOGPIXELSY), 72));
  DeleteDC(screen);

  // [Dialog].
  ASSERT_NE(dialogRecordOf(currentDialog()), nullptr);
  EXPECT_EQ(dialogRecordOf(currentDialog())->dialogOption, 1);
  EXPECT_EQ(lastError(), 0);
}

struct DescriptionCase {
  const char* name;
  std::string text;
  int mode;
  std::function<void()> check;
};

std::string lines(const std::vector<std::string>& all) {
  std::string text;
  for (const std::string& line : all) text += line + "\n";
  return text;
}

std::vector<DescriptionCase> descriptionCases() {
  std::vector<std::string> seventeen = {"[Menus] ", " 1601 17 1 "};
  for (int i = 1; i <= 16; ++i) seventeen.push_back("Item " + std::to_string(i) + " ");
  seventeen.push_back("      ");
  const std::string longItem = std::string(1020, 'a') + std::string(10, ' ') + std::string(470, 'b');
  return {
      {"a count of 17 with a last line of blanks gives 17 items, the last empty", lines(seventeen), 0,
       [] {
         EXPECT_EQ(SendMessageA(item(1601), LB_GETCOUNT, 0, 0), 17);
         EXPECT_EQ(listItem(item(1601), 15), "Item 16");
         EXPECT_EQ(listItem(item(1601), 16), "");
         EXPECT_EQ(SendMessageA(item(1601), LB_GETCURSEL, 0, 0), 0);
       }},
      {"initial 0 selects nothing", lines({"[Menus] ", " 1602 2 0 ", "A ", "B "}), 0,
       [] { EXPECT_EQ(SendMessageA(item(1602), CB_GETCURSEL, 0, 0), CB_ERR); }},
      {"a grid template selects the first item whatever the initial", lines({"[Menus] ", " 1602 2 0 ", "A ", "B "}),
       kGridTemplateMode, [] { EXPECT_EQ(SendMessageA(item(1602), CB_GETCURSEL, 0, 0), 0); }},
      {"an item line of 1500 characters keeps its first 1024 less trailing blanks",
       lines({"[Menus] ", " 1601 1 1 ", longItem}), 0,
       [] { EXPECT_EQ(listItem(item(1601), 0), std::string(1020, 'a')); }},
      {"red 256 resets the text colour, red -1 keeps the background",
       lines({"[Colours] ", " 1605 10 20 30 40 50 60 ", " 1605 256 0 0 -1 0 0 "}), 0,
       [] {
         EXPECT_EQ(recordOf(1605).textColour, -1);
         EXPECT_EQ(recordOf(1605).backgroundColour, 40 + 256 * 50 + 65536 * 60);
       }},
      {"colour components keep their low 8 bits", lines({"[Colours] ", " 1605 257 258 259 -1 0 0 "}), 0,
       [] { EXPECT_EQ(recordOf(1605).textColour, 1 + 256 * 2 + 65536 * 3); }},
      {"tabs select the page named as initial", lines({"[Tabs] ", " 1603 2 213 ", " 211 Five ", " 213 Seven "}), 0,
       [] {
         HWND tab = item(1603);
         EXPECT_EQ(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0), 2);
         EXPECT_EQ(SendMessageA(tab, TCM_GETCURSEL, 0, 0), 1);
         EXPECT_EQ(tabLabel(tab, 0), "Five");
         EXPECT_EQ(tabLabel(tab, 1), "Seven");
         EXPECT_GE(YYDialogSlotOf(kGeneralPage), 1);
         EXPECT_GE(YYDialogSlotOf(kThirdPage), 1);
         EXPECT_EQ(dialogRecordOf(currentDialog())->identifier, kDescriptionTarget);
       }},
      {"tabs without the initial page select the first", lines({"[Tabs] ", " 1603 2 213 ", " 211 A ", " 212 B "}), 0,
       [] { EXPECT_EQ(SendMessageA(item(1603), TCM_GETCURSEL, 0, 0), 0); }},
      {"the second of two lengths wins", lines({"[Lengths] ", " 1605 10 ", " 1605 20 "}), 0,
       [] {
         EXPECT_EQ(SendMessageA(item(1605), EM_GETLIMITTEXT, 0, 0), 20);
         EXPECT_EQ(recordOf(1605).maximumLength, 20);
       }},
      {"a [Dialog] line of 1 sets the option", lines({"[Dialog] ", " 1 "}), 0,
       [] { EXPECT_EQ(dialogRecordOf(currentDialog())->dialogOption, 1); }},
      {"a [Dialog] line of 0 clears it", lines({"[Dialog] ", " 1 ", "[Dialog] ", " 0 "}), 0,
       [] { EXPECT_EQ(dialogRecordOf(currentDialog())->dialogOption, 0); }},
      {"range words read exponents and end at the line end", lines({"[Ranges] ", " 1609 -0.34028E+039 1.5E2"}), 0,
       [] {
         EXPECT_DOUBLE_EQ(recordOf(1609).minimum, -0.34028E+39);
         EXPECT_DOUBLE_EQ(recordOf(1609).maximum, 150.0);
       }},
      {"a range for no control is ignored", lines({"[Ranges] ", " 9999 1 2 ", " 1609 3 4 "}), 0,
       [] { EXPECT_EQ(recordOf(1609).maximum, 4.0); }},
      {"a trackbar takes its range and its position from its text", lines({"[Ranges] ", " 1604 0 10 "}), 0,
       [] {
         EXPECT_EQ(SendMessageA(item(1604), TBM_GETRANGEMAX, 0, 0), 10);
         EXPECT_EQ(SendMessageA(item(1604), TBM_GETPOS, 0, 0), 7);
       }},
      {"headers are matched with their case", lines({"[menus] ", " 1601 1 1 ", "X "}), 0,
       [] { EXPECT_EQ(SendMessageA(item(1601), LB_GETCOUNT, 0, 0), 0); }},
      {"a tab does not separate words", lines({"[Lengths] ", " 1605\t7 25 "}), 0,
       [] { EXPECT_EQ(SendMessageA(item(1605), EM_GETLIMITTEXT, 0, 0), 25); }},
      {"a carriage return is an ordinary character", lines({"[Menus] ", " 1601 1 1 ", "Name\r "}), 0,
       [] { EXPECT_EQ(listItem(item(1601), 0), "Name\r"); }},
      {"a format keeps its trailing blanks; an empty one sets nothing",
       lines({"[Formats] ", " 1609 (F6.2)   ", " 1605 "}), 0,
       [] {
         ASSERT_NE(recordOf(1609).format, nullptr);
         EXPECT_EQ(*recordOf(1609).format, "(F6.2)   ");
         EXPECT_EQ(recordOf(1605).format, nullptr);
       }},
      {"a trackbar selection, then one whose ends meet clears it",
       lines({"[Trackbars] ", " 1604 2 3 6 1 5 "}), 0,
       [] {
         EXPECT_EQ(SendMessageA(item(1604), TBM_GETSELSTART, 0, 0), 1);
         EXPECT_EQ(SendMessageA(item(1604), TBM_GETSELEND, 0, 0), 5);
         YYDialogDescriptionApply(currentDialog(), lines({"[Trackbars] ", " 1604 2 3 6 4 4 "}), 0);
         EXPECT_EQ(SendMessageA(item(1604), TBM_GETSELSTART, 0, 0), SendMessageA(item(1604), TBM_GETSELEND, 0, 0));
         EXPECT_EQ(SendMessageA(item(1604), TBM_GETPAGESIZE, 0, 0), 6);
       }},
      {"a check state", lines({"[Checks] ", " 1608 1 "}), 0,
       [] { EXPECT_EQ(IsDlgButtonChecked(currentDialog(), 1608), BST_CHECKED); }},
      {"the reader goes on behind a grid line", lines({"[Grids] ", " 1610 4 10 300 ", "[Lengths] ", " 1605 9 "}), 0,
       [] { EXPECT_EQ(SendMessageA(item(1605), EM_GETLIMITTEXT, 0, 0), 9); }},
      {"a font line without a comma makes no font", lines({"[Fonts] ", " 1607 14 Arial 700 0 "}), 0,
       [] { EXPECT_STRNE(fontOf(item(1607)).lfFaceName, "Arial"); }},
      {"a font with a face name of several words", lines({"[Fonts] ", " 1607 10 Times New Roman, 400 0 "}), 0,
       [] {
         EXPECT_STREQ(fontOf(item(1607)).lfFaceName, "Times New Roman");
         EXPECT_EQ(fontOf(item(1607)).lfItalic, 0);
       }},
  };
}

TEST_F(Descriptions, TheReaderAppliesEachSectionByItsRules) {
  for (const DescriptionCase& c : descriptionCases()) {
    SCOPED_TRACE(c.name);
    WDialogLoad(kDescriptionTarget);
    ASSERT_NE(currentDialog(), nullptr);
    YYDialogDescriptionApply(currentDialog(), c.text, c.mode);
    c.check();
    WDialogUnload();
    EXPECT_EQ(dialogTable.count, 0);
    EXPECT_EQ(lastError(), 0);
  }
}

// Broken descriptions: nothing is read or written outside the text, and what
// can be applied is.
TEST_F(Descriptions, MalformedLinesAreReadWithinTheText) {
  const std::vector<std::string> broken = {
      "[Menus] \n 1601 5 1 \nOnly one",
      "[Menus] \n 1601 99",
      "[Tabs] \n 1603 3 0 \n 211\n",
      "[Tabs] \n 1603 4 0 \n",
      "[Checks] \n1608\n",
      "[Fonts] \n 1605 10 Arial",
      "[Fonts] \n 1605 10 Arial,",
      "[Ranges] \n 1609 5",
      "[Ranges] \n 1609",
      "[Grids] \n 1610 3",
      "[Colours] \n 1605 1 2",
      "[Trackbars] \n 1604",
      "[Formats] \n 1609",
      "[Dialog]",
      "[Lengths] \n\n\n   \n",
      std::string("[Menus] \n 1601 2 1 \nA\0B \n", 22),
      "",
  };
  for (const std::string& text : broken) {
    SCOPED_TRACE(text);
    WDialogLoad(kDescriptionTarget);
    ASSERT_NE(currentDialog(), nullptr);
    YYDialogDescriptionApply(currentDialog(), text, 0);
    WDialogUnload();
  }
  // The text ends where the caller says, even when more follows in memory.
  const std::string memory = "[Lengths] \n 1605 33 \n";
  WDialogLoad(kDescriptionTarget);
  YYDialogDescriptionApply(currentDialog(), std::string_view(memory.data(), memory.size() - 3), 0);
  EXPECT_EQ(SendMessageA(item(1605), EM_GETLIMITTEXT, 0, 0), 3);
  // An embedded NUL ends the text.
  YYDialogDescriptionApply(currentDialog(), std::string_view("[Lengths] \n 1605 4\0 5 \n", 23), 0);
  EXPECT_EQ(SendMessageA(item(1605), EM_GETLIMITTEXT, 0, 0), 4);
  WDialogUnload();
}

}  // namespace
