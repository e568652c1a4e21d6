// Put and get of every kind of field, with the errors the routines report.
#include <windows.h>

#include <commctrl.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "dialog_fixture.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/field_access.h"
#include "toolkit/dialogs/field_values.h"
#include "toolkit/dialogs/message_box.h"

namespace {

using namespace dialog_test;

// Keys typed into a field as the keyboard would deliver them.
void typeInto(HWND field, std::string_view text) {
  for (char c : text) SendMessageA(field, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(c)), 1);
}

class Fields : public RootWindow {
 protected:
  void SetUp() override {
    RootWindow::SetUp();
    WDialogLoad(kFieldsDialog);
    ASSERT_EQ(lastError(), 0);
  }
};

TEST_F(RootWindow, EveryFieldRoutineReports1005WithoutACurrentDialog) {
  FixedText<20> text;
  int integer = 0;
  float real = 0.0f;
  const std::array<std::function<void()>, 18> calls = {
      [] { WDialogPutString(1, "x"); },
      [&] { WDialogGetString(1, text); },
      [&] { WDialogGetStringLength(1, integer); },
      [] { WDialogPutInteger(1, 1); },
      [] { WDialogPutReal(1, 1.0f); },
      [] { WDialogPutDouble(1, 1.0); },
      [&] { WDialogGetInteger(1, integer); },
      [&] { WDialogGetReal(1, real); },
      [] { WDialogPutCheckBox(1, 1); },
      [&] { WDialogGetCheckBox(1, integer); },
      [] { WDialogPutRadioButton(1); },
      [&] { WDialogGetRadioButton(1, integer); },
      [] { WDialogPutOption(1, 1); },
      [&] { WDialogGetMenu(1, integer); },
      [] {
        std::array<FixedText<4>, 1> items{FixedText<4>("a")};
        WDialogPutMenu(1, TextArray(items), 1, 1);
      },
      [] { WDialogRangeInteger(1, 0, 1); },
      [] { WDialogFieldState(1, 1); },
      [] { WDialogSetField(1); },
  };
  for (std::size_t i = 0; i < calls.size(); ++i) {
    SCOPED_TRACE(i);
    calls[i]();
    EXPECT_EQ(lastError(), 1005);
  }
}

TEST_F(Fields, NumbersArePutInTheirFormatAndReadBackWithoutRereadingTheText) {
  WDialogPutInteger(1002, 42);
  EXPECT_EQ(lastError(), 0);
  EXPECT_EQ(textOf(item(1002)), "42");
  EXPECT_EQ(fieldRecordOf(item(1002))->value, 42.0);
  int integer = 0;
  WDialogGetInteger(1002, integer);
  EXPECT_EQ(integer, 42);

  // The REALEDIT field's own format, the REALSPIN field's default.
  WDialogPutReal(1003, 1.5f);
  EXPECT_EQ(textOf(item(1003)), "1.50");
  WDialogPutReal(1006, 1.5f);
  EXPECT_EQ(textOf(item(1006)), "1.5000");
  // A format given with the put is used and kept.
  WDialogPutDouble(1004, 2.25, "(F5.1)");
  EXPECT_EQ(textOf(item(1004)), "2.3");
  ASSERT_NE(fieldRecordOf(item(1004))->format, nullptr);
  EXPECT_EQ(*fieldRecordOf(item(1004))->format, "(F5.1)");
  float real = 0.0f;
  WDialogGetReal(1004, real);
  EXPECT_FLOAT_EQ(real, 2.25f);

  // Gets truncate toward zero.
  WDialogPutDouble(1004, 3.9, "(F4.1)");
  WDialogGetInteger(1004, integer);
  EXPECT_EQ(integer, 3);
  WDialogPutDouble(1004, -3.9, "(F4.1)");
  WDialogGetInteger(1004, integer);
  EXPECT_EQ(integer, -3);

  // A string put drops the format [Formats] gave.
  WDialogPutString(1003, "7");
  EXPECT_EQ(fieldRecordOf(item(1003))->format, nullptr);
  EXPECT_EQ(fieldRecordOf(item(1003))->value, 7.0);
  WDialogPutReal(1003, 1.5f);
  EXPECT_EQ(textOf(item(1003)), "1.5000");
  EXPECT_EQ(lastError(), 0);
}

TEST_F(Fields, TypedTextIsReadBeforeTheFieldIsLeft) {
  WDialogPutReal(1003, 1.0f);
  SetFocus(item(1003));
  SendMessageA(item(1003), EM_SETSEL, 0, -1);
  typeInto(item(1003), "2.75");
  EXPECT_EQ(textOf(item(1003)), "2.75");
  float real = 0.0f;
  WDialogGetReal(1003, real);
  EXPECT_FLOAT_EQ(real, 2.75f);
  EXPECT_EQ(fieldRecordOf(item(1003))->value, 1.0);
}

TEST_F(Fields, OutOfRangePutsAreRefusedAndBlankFieldsHaveNoValue) {
  WDialogPutInteger(1002, 50);
  WDialogPutInteger(1002, 101);
  EXPECT_EQ(lastError(), 1009);
  EXPECT_EQ(textOf(item(1002)), "50");

  // Only a maximum: the minimum is the lowest integer but one.
  WDialogRangeInteger(1002, std::nullopt, 5);
  WDialogPutInteger(1002, -2147483647);
  EXPECT_EQ(lastError(), 0);
  WDialogPutInteger(1002, 6);
  EXPECT_EQ(lastError(), 1009);
  // No bounds: no range.
  WDialogRangeInteger(1002);
  WDialogPutInteger(1002, 1000000);
  EXPECT_EQ(lastError(), 0);
  EXPECT_FALSE(fieldRecordOf(item(1002))->hasRange());

  WDialogPutString(1002, "   ");
  int integer = 0;
  WDialogGetInteger(1002, integer);
  EXPECT_EQ(lastError(), 1010);
  EXPECT_EQ(integer, -999);
  float real = 0.0f;
  WDialogGetReal(1002, real);
  EXPECT_EQ(lastError(), 1010);
  EXPECT_EQ(real, -999.0f);

  WDialogPutInteger(9999, 1);
  EXPECT_EQ(lastError(), 1006);
  WDialogGetInteger(9999, integer);
  EXPECT_EQ(lastError(), 1006);
  WDialogRangeInteger(9999, 1, 2);
  EXPECT_EQ(lastError(), 1006);
}

TEST_F(Fields, TextsAreCutToTheCallersLengthAndLeadingBlanksKept) {
  WDialogPutString(1001, "  Hello  ");
  EXPECT_EQ(textOf(item(1001)), "  Hello");
  FixedText<5> cut;
  WDialogGetString(1001, cut);
  EXPECT_EQ(cut.view(), "  Hel");
  FixedText<12> whole;
  WDialogGetString(1001, whole);
  EXPECT_EQ(whole.view(), "  Hello     ");
  int length = 0;
  WDialogGetStringLength(1001, length);
  EXPECT_EQ(length, 7);
  // Any control takes a text.
  WDialogPutString(1, "Accept");
  EXPECT_EQ(textOf(item(1)), "Accept");

  FixedText<6> missing("xxxxxx");
  WDialogGetString(9999, missing);
  EXPECT_EQ(lastError(), 1006);
  EXPECT_TRUE(missing.isBlank());
  EXPECT_EQ(lastError(), 0);
}

TEST_F(Fields, CheckBoxesAndRadioGroups) {
  int state = -1;
  WDialogGetCheckBox(1007, state);
  EXPECT_EQ(state, 1);
  WDialogPutCheckBox(1007, 0);
  WDialogGetCheckBox(1007, state);
  EXPECT_EQ(state, 0);
  WDialogPutCheckBox(1001, 1);
  EXPECT_EQ(lastError(), 1006);

  WDialogPutRadioButton(1009);
  EXPECT_EQ(IsDlgButtonChecked(currentDialog(), 1008), BST_UNCHECKED);
  EXPECT_EQ(IsDlgButtonChecked(currentDialog(), 1009), BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(currentDialog(), 1010), BST_UNCHECKED);
  int position = 0;
  WDialogGetRadioButton(1010, position);
  EXPECT_EQ(position, 2);
  WDialogPutRadioButton(1008);
  WDialogGetRadioButton(1009, position);
  EXPECT_EQ(position, 1);

  // A group that follows a label without WS_GROUP opens with the label: the
  // window of another class where the walk back stops is its first member,
  // and counts in the positions.
  int id = 1022;
  int first = 0;
  int last = 0;
  YYRadioGroupBounds(id, first, last);
  EXPECT_EQ(first, 1025);
  EXPECT_EQ(last, 1022);
  id = 1021;
  YYRadioGroupBounds(id, first, last);
  EXPECT_EQ(first, 1025);
  EXPECT_EQ(last, 1022);
  WDialogPutRadioButton(1022);
  WDialogGetRadioButton(1021, position);
  EXPECT_EQ(position, 3);
  EXPECT_EQ(IsDlgButtonChecked(currentDialog(), 1008), BST_CHECKED);  // the other group is untouched
  WDialogPutRadioButton(1021);
  WDialogGetRadioButton(1022, position);
  EXPECT_EQ(position, 2);
  EXPECT_EQ(IsDlgButtonChecked(currentDialog(), 1022), BST_UNCHECKED);
  EXPECT_EQ(lastError(), 0);
  // A group that opens with WS_GROUP starts at that button.
  id = 1010;
  YYRadioGroupBounds(id, first, last);
  EXPECT_EQ(first, 1008);
  EXPECT_EQ(last, 1010);

  // A group without a checked button has no value.
  int clear = 1009;
  YYFieldClear(clear);
  EXPECT_EQ(IsDlgButtonChecked(currentDialog(), 1008), BST_UNCHECKED);
  WDialogGetRadioButton(1010, position);
  EXPECT_EQ(lastError(), 1010);
  EXPECT_EQ(position, -999);
  WDialogPutRadioButton(1007);
  EXPECT_EQ(lastError(), 1006);
}

TEST_F(Fields, MenusOfListsAndCombos) {
  FixedText<10> text;
  int option = 0;
  WDialogGetMenu(1011, option, text);
  EXPECT_EQ(option, 2);
  EXPECT_EQ(text.view(), "Beta      ");
  WDialogPutOption(1011, 3);
  WDialogGetMenu(1011, option, text);
  EXPECT_EQ(option, 3);
  EXPECT_EQ(text.trimmed(), "Gamma");
  WDialogPutOption(1011, 9);
  EXPECT_EQ(lastError(), 1011);
  // Option 0 clears the selection, and Windows calls that a failure.
  WDialogPutOption(1011, 0);
  EXPECT_EQ(lastError(), 1011);
  EXPECT_EQ(SendMessageA(item(1011), CB_GETCURSEL, 0, 0), CB_ERR);
  WDialogGetMenu(1011, option);
  EXPECT_EQ(lastError(), 1010);
  EXPECT_EQ(option, -999);

  // An editable combo: a text that matches no item is option 0, no error.
  SetWindowTextA(item(1012), "Nothing");
  WDialogGetMenu(1012, option, text);
  EXPECT_EQ(lastError(), 0);
  EXPECT_EQ(option, 0);
  EXPECT_EQ(text.trimmed(), "Nothing");
  SetWindowTextA(item(1012), "Second");
  WDialogGetMenu(1012, option);
  EXPECT_EQ(option, 2);

  WDialogGetMenu(1013, option, text);
  EXPECT_EQ(option, 1);
  EXPECT_EQ(text.trimmed(), "Red");

  std::array<FixedText<8>, 3> items{FixedText<8>("One  "), FixedText<8>("Two"), FixedText<8>("Three")};
  WDialogPutMenu(1013, TextArray(items), 3, 2);
  EXPECT_EQ(lastError(), 0);
  EXPECT_EQ(SendMessageA(item(1013), LB_GETCOUNT, 0, 0), 3);
  WDialogGetMenu(1013, option, text);
  EXPECT_EQ(option, 2);
  EXPECT_EQ(text.trimmed(), "Two");
  // Count 0 and option 0 empties the list and reports the refused selection.
  WDialogPutMenu(1013, TextArray(items), 0, 0);
  EXPECT_EQ(lastError(), 1011);
  EXPECT_EQ(SendMessageA(item(1013), LB_GETCOUNT, 0, 0), 0);

  // An editable combo takes a text of its own with option 0, or selects the
  // item that equals it.
  WDialogPutMenu(1012, TextArray(items), 3, 0, "Typed   ");
  EXPECT_EQ(lastError(), 0);
  EXPECT_EQ(textOf(item(1012)), "Typed");
  EXPECT_EQ(SendMessageA(item(1012), CB_GETCURSEL, 0, 0), CB_ERR);
  WDialogPutMenu(1012, TextArray(items), 3, 0, "Three");
  EXPECT_EQ(SendMessageA(item(1012), CB_GETCURSEL, 0, 0), 2);

  // Multiple-selection lists and other controls are no menus.
  WDialogGetMenu(1018, option);
  EXPECT_EQ(lastError(), 1006);
  WDialogPutOption(1018, 1);
  EXPECT_EQ(lastError(), 1006);
  WDialogPutMenu(1001, TextArray(items), 3, 1);
  EXPECT_EQ(lastError(), 1006);
}

TEST_F(Fields, StatesEnableHideAndMakeReadOnly) {
  WDialogShow();
  WDialogFieldState(1011, kFieldReadOnly);
  EXPECT_FALSE(IsWindowEnabled(item(1011)));
  EXPECT_EQ(fieldRecordOf(item(1011))->fieldState, kFieldReadOnly);
  WDialogFieldState(1001, kFieldReadOnly);
  EXPECT_TRUE(IsWindowEnabled(item(1001)));
  EXPECT_NE(GetWindowLongA(item(1001), GWL_STYLE) & ES_READONLY, 0);
  int id = 1001;
  int state = -1;
  YYFieldStateQuery(id, state);
  EXPECT_EQ(state, kFieldReadOnly);

  HWND arrows = fieldRecordOf(item(1005))->arrowControl;
  ASSERT_NE(arrows, nullptr);
  WDialogFieldState(1005, kFieldReadOnly);
  EXPECT_TRUE(IsWindowEnabled(item(1005)));
  EXPECT_FALSE(IsWindowEnabled(arrows));
  WDialogFieldState(1005, kFieldHidden);
  EXPECT_FALSE(IsWindowVisible(item(1005)));
  EXPECT_FALSE(IsWindowVisible(arrows));
  WDialogFieldState(1005, kFieldEnabled);
  EXPECT_TRUE(IsWindowVisible(arrows));
  EXPECT_TRUE(IsWindowEnabled(arrows));
  EXPECT_EQ(GetWindowLongA(item(1005), GWL_STYLE) & ES_READONLY, 0);
  WDialogFieldState(1013, kFieldDisabled);
  EXPECT_FALSE(IsWindowEnabled(item(1013)));
  EXPECT_TRUE(IsWindowVisible(item(1013)));
  WDialogFieldState(9999, kFieldEnabled);
  EXPECT_EQ(lastError(), 1006);
}

TEST_F(Fields, SetFieldFocusesOnlyAShownDialog) {
  WDialogPutString(1001, "Hello");
  HWND before = GetFocus();
  WDialogSetField(1001);
  EXPECT_EQ(lastError(), 0);
  EXPECT_EQ(GetFocus(), before);
  WDialogShow();
  WDialogSetField(1001, 3);
  EXPECT_EQ(GetFocus(), item(1001));
  DWORD start = 0;
  DWORD end = 0;
  SendMessageA(item(1001), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 2u);
  EXPECT_EQ(end, 2u);
  EXPECT_EQ(dialogRecordOf(currentDialog())->currentField, 1001);
  WDialogSetField(1002);
  EXPECT_EQ(GetFocus(), item(1002));
  WDialogSetField(9999);
  EXPECT_EQ(lastError(), 1006);
}

TEST_F(Fields, FieldTypesFollowClassAndStyle) {
  const std::array<std::pair<int, int>, 17> expected = {{{1016, kFieldLabel},
                                                        {1019, kFieldPicture},
                                                        {1017, kFieldGroupBox},
                                                        {1001, kFieldText},
                                                        {1002, kFieldInteger},
                                                        {1005, kFieldInteger},
                                                        {1003, kFieldReal},
                                                        {1006, kFieldReal},
                                                        {1004, kFieldDouble},
                                                        {1024, kFieldDouble},
                                                        {1, kFieldPushButton},
                                                        {1007, kFieldCheckBox},
                                                        {1008, kFieldRadioButton},
                                                        {1011, kFieldCombo},
                                                        {1013, kFieldList},
                                                        {1014, kFieldProgress},
                                                        {1015, kFieldTrackbar}}};
  for (const auto& [field, type] : expected) {
    SCOPED_TRACE(field);
    int id = field;
    int got = -1;
    YYFieldTypeQuery(id, got);
    EXPECT_EQ(got, type);
  }
  WDialogLoad(kDescriptionTarget);
  for (const auto& [field, type] : std::array<std::pair<int, int>, 2>{{{1603, kFieldTab}, {1610, kFieldGrid}}}) {
    int id = field;
    int got = -1;
    YYFieldTypeQuery(id, got);
    EXPECT_EQ(got, type);
  }
}

TEST_F(Fields, InitialisationGivesEveryControlARecordAndPlainButtonStyles) {
  for (HWND control = GetWindow(currentDialog(), GW_CHILD); control != nullptr;
       control = GetWindow(control, GW_HWNDNEXT)) {
    SCOPED_TRACE(GetDlgCtrlID(control));
    ASSERT_NE(fieldRecordOf(control), nullptr);
    EXPECT_EQ(GetWindowLongA(control, GWL_EXSTYLE) & WS_EX_NOPARENTNOTIFY, 0);
  }
  const FieldRecord& fresh = *fieldRecordOf(item(1001));
  EXPECT_FALSE(fresh.hasRange());
  EXPECT_EQ(fresh.smallStep, 0.0);
  EXPECT_EQ(fieldRecordOf(item(1005))->smallStep, 1.0);
  EXPECT_EQ(fieldRecordOf(item(1005))->largeStep, 5.0);
  // A bitmap button whose id names no bitmap shows its caption.
  WDialogLoad(kDescriptionTarget);
  EXPECT_EQ(GetWindowLongA(item(1611), GWL_STYLE) & (BS_BITMAP | BS_ICON), 0);
  EXPECT_EQ(textOf(item(1611)), "Caption");
}

TEST_F(Fields, ClearingEmptiesEachKindOfField) {
  WDialogPutInteger(1002, 5);
  const std::array<int, 6> fields = {1002, 1011, 1013, 1007, 1014, 1015};
  for (int field : fields) {
    int id = field;
    YYFieldClear(id);
    EXPECT_EQ(id, field);
  }
  EXPECT_EQ(textOf(item(1002)), "");
  EXPECT_EQ(fieldRecordOf(item(1002))->valuePresent, 0);
  EXPECT_EQ(SendMessageA(item(1011), CB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(SendMessageA(item(1013), LB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(IsDlgButtonChecked(currentDialog(), 1007), BST_UNCHECKED);
  // The progress bar keeps its range and goes back to its minimum.
  PBRANGE range{};
  SendMessageA(item(1014), PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
  EXPECT_EQ(range.iLow, 10);
  EXPECT_EQ(range.iHigh, 50);
  EXPECT_EQ(SendMessageA(item(1014), PBM_GETPOS, 0, 0), 10);
  EXPECT_EQ(SendMessageA(item(1015), TBM_GETSELSTART, 0, 0), SendMessageA(item(1015), TBM_GETSELEND, 0, 0));
}

}  // namespace
