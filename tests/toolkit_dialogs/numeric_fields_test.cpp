// Numeric fields: the characters they take, the validation that keeps the
// focus in an invalid field, the re-write on leaving, and spin steps.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "dialog_fixture.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/field_access.h"
#include "toolkit/dialogs/numeric_fields.h"

namespace {

using namespace dialog_test;

void typeInto(HWND field, std::string_view text) {
  for (char c : text) SendMessageA(field, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(c)), 1);
}

void replaceText(HWND field, std::string_view text) {
  SendMessageA(field, EM_SETSEL, 0, -1);
  typeInto(field, text);
}

// A click on the upper (up) or lower (down) half of a spin field's arrows;
// posted, it is handled inside the next event wait.
void clickArrow(int field, bool up, bool posted = false) {
  HWND arrows = fieldRecordOf(item(field))->arrowControl;
  RECT r{};
  GetClientRect(arrows, &r);
  const LPARAM at = MAKELPARAM(r.right / 2, up ? r.bottom / 4 : r.bottom * 3 / 4);
  if (posted) {
    PostMessageA(arrows, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(arrows, WM_LBUTTONUP, 0, at);
    return;
  }
  SendMessageA(arrows, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(arrows, WM_LBUTTONUP, 0, at);
}

class NumericFields : public RootWindow {
 protected:
  void SetUp() override {
    RootWindow::SetUp();
    WDialogLoad(kFieldsDialog);
    WDialogShow();
    ui::pumpMessages(30);
    drainEvents();
  }
};

TEST_F(NumericFields, EachClassTakesOnlyTheCharactersOfItsNumbers) {
  struct Case {
    int field;
    const char* typed;
    const char* shown;
  };
  for (const Case& c : {Case{1002, "1a2+-.e", "12+-"}, Case{1003, "1.5e3d", "1.5E3"}, Case{1004, "2.5d1e", "2.5D1E"}}) {
    SCOPED_TRACE(c.typed);
    SetWindowTextA(item(c.field), "");
    typeInto(item(c.field), c.typed);
    EXPECT_EQ(textOf(item(c.field)), c.shown);
  }
  EXPECT_EQ(SendMessageA(item(1002), EM_GETLIMITTEXT, 0, 0), 11);
  SetWindowTextA(item(1002), "");
  typeInto(item(1002), "123456789012345");
  EXPECT_EQ(textOf(item(1002)), "12345678901");
  // Ctrl+A selects the whole text.
  SendMessageA(item(1002), EM_SETSEL, 2, 2);
  SendMessageA(item(1002), WM_CHAR, 1, 1);
  EXPECT_TRUE(wholeTextSelected(item(1002)));
}

TEST_F(NumericFields, AnInvalidFieldKeepsTheFocusWithItsTextSelected) {
  WDialogPutInteger(1002, 50);
  SetFocus(item(1002));
  replaceText(item(1002), "120");
  SendMessageA(item(1002), WM_KEYDOWN, VK_TAB, 1);  // left by Tab
  SetFocus(item(1003));
  EXPECT_EQ(GetFocus(), item(1002));
  EXPECT_TRUE(wholeTextSelected(item(1002)));
  EXPECT_EQ(textOf(item(1002)), "120");

  // Not a number at all, and (with a value and a range) empty.
  for (const char* text : {"1-2", ""}) {
    SCOPED_TRACE(text);
    SetWindowTextA(item(1002), text);
    SetFocus(item(1001));
    EXPECT_EQ(GetFocus(), item(1002));
  }
  // A valid number lets it go, in its canonical form.
  replaceText(item(1002), "+12");
  SetFocus(item(1001));
  EXPECT_EQ(GetFocus(), item(1001));
  EXPECT_EQ(textOf(item(1002)), "12");
  EXPECT_EQ(fieldRecordOf(item(1002))->value, 12.0);

  // A field that never had a value may be left empty.
  EXPECT_EQ(fieldRecordOf(item(1003))->valuePresent, 0);
  SetFocus(item(1003));
  SetFocus(item(1001));
  EXPECT_EQ(GetFocus(), item(1001));
  // A real field re-writes its typed text in its own format.
  SetFocus(item(1003));
  typeInto(item(1003), "1.5");
  SetFocus(item(1001));
  EXPECT_EQ(textOf(item(1003)), "1.50");
  EXPECT_EQ(fieldRecordOf(item(1003))->value, 1.5);
}

TEST_F(NumericFields, OkRefusesAnInvalidFieldWhileOtherButtonsRestoreItsLastValidText) {
  WDialogPutInteger(1002, 50);
  SetFocus(item(1002));
  replaceText(item(1002), "500");

  // Going to OK is refused at once: the focus comes back.
  SetFocus(item(IDOK));
  EXPECT_EQ(GetFocus(), item(1002));
  // OK pressed with the keyboard: refused, nothing posted.
  SendMessageA(currentDialog(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_EQ(GetFocus(), item(1002));
  EXPECT_TRUE(wholeTextSelected(item(1002)));
  EventRecord record;
  EXPECT_EQ(ui::waitEventOfType(kEventButton, record, 300), ui::kTimedOut);

  // Going to Cancel leaves the field pending; Cancel's click restores it.
  SetFocus(item(IDCANCEL));
  EXPECT_EQ(GetFocus(), item(IDCANCEL));
  EXPECT_EQ(dialogState.pendingInvalidField, item(1002));
  // Events come from messages that the event loop dispatches.
  PostMessageA(currentDialog(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
               reinterpret_cast<LPARAM>(item(IDCANCEL)));
  ASSERT_EQ(ui::waitEventOfType(kEventButton, record), kEventButton);
  EXPECT_EQ(record.win, kFieldsDialog);
  EXPECT_EQ(record.value1, IDCANCEL);
  EXPECT_EQ(dialogState.pendingInvalidField, nullptr);
  EXPECT_EQ(textOf(item(1002)), "50");
  EXPECT_EQ(fieldRecordOf(item(1002))->value, 50.0);
}

TEST_F(NumericFields, SpinStepsRoundToTheStepUnlessClamped) {
  YYEventEnableSet(kEventFieldChanged, 1);
  int field = 1005;
  YYIntegerSpinSteps(field, 2, 0);
  ASSERT_EQ(field, 1005);
  EXPECT_EQ(fieldRecordOf(item(1005))->largeStep, 2.0);
  WDialogRangeInteger(1005, 0, 9);
  EXPECT_EQ(textOf(item(1005)), "3");
  clickArrow(1005, true);
  EXPECT_EQ(textOf(item(1005)), "4");
  WDialogPutInteger(1005, 8);
  clickArrow(1005, true);
  EXPECT_EQ(textOf(item(1005)), "9");
  // Typed text is read before the step; the arrows report the spin field
  // as changed.
  replaceText(item(1005), "7");
  clickArrow(1005, false, true);
  EventRecord record;
  ASSERT_EQ(ui::waitEventOfType(kEventFieldChanged, record), kEventFieldChanged);
  EXPECT_EQ(record.value1, 1005);
  EXPECT_EQ(record.value2, 1005);
  EXPECT_EQ(textOf(item(1005)), "4");
  EXPECT_EQ(fieldRecordOf(item(1005))->value, 4.0);
  int value = 0;
  WDialogGetInteger(1005, value);
  EXPECT_EQ(value, 4);

  // Without a range nothing is clamped; a real field writes its format.
  WDialogPutReal(1006, 0.5f);
  clickArrow(1006, false);
  EXPECT_EQ(textOf(item(1006)), "-0.50000");
  EXPECT_EQ(fieldRecordOf(item(1006))->value, -0.5);

  // A step of 0 has nothing to round to, and steps nothing.
  field = 1005;
  YYIntegerSpinSteps(field, 0, 0);
  WDialogPutInteger(1005, 3);
  clickArrow(1005, true);
  EXPECT_EQ(textOf(item(1005)), "3");

  field = 1002;
  YYIntegerSpinSteps(field, 1, 1);
  EXPECT_EQ(field, -1);
}

}  // namespace
