// The message box: button sets, default buttons, icons, answers and the last
// results it leaves; the window-image freeze around modal boxes.
#include <windows.h>

#include <commdlg.h>

#include <array>
#include <string>
#include <vector>

#include "dialog_fixture.h"
#include "toolkit/dialogs/controls.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/message_box.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/screen_gdi.h"

namespace {

using namespace dialog_test;
using MessageBoxes = RootWindow;

// What a box showed: its buttons in order and which one was the default.
struct BoxSeen {
  std::vector<int> buttons;
  int defaultButton = 0;
  std::string title;
  std::string text;
  HICON icon = nullptr;
};

BoxSeen readBox(HWND box) {
  BoxSeen seen;
  seen.title = textOf(box);
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    char name[32] = {};
    GetClassNameA(child, name, sizeof name);
    const LONG style = GetWindowLongA(child, GWL_STYLE);
    if (lstrcmpiA(name, "Button") == 0 && (style & WS_VISIBLE)) {
      seen.buttons.push_back(GetDlgCtrlID(child));
      if ((style & 0xF) == BS_DEFPUSHBUTTON) seen.defaultButton = GetDlgCtrlID(child);
    } else if (lstrcmpiA(name, "Static") == 0 && (style & WS_VISIBLE)) {
      if ((style & SS_TYPEMASK) == SS_ICON) {
        seen.icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
      } else if (GetWindowTextLengthA(child) > 0) {
        seen.text = textOf(child);
      }
    }
  }
  return seen;
}

struct ButtonSet {
  int code;
  std::vector<int> buttons;   // Windows ids in their order
  std::array<int, 3> places;  // the default's place for default button 1, 2, 3
};

const std::vector<ButtonSet>& buttonSets() {
  static const std::vector<ButtonSet> sets = {
      {kButtonsOk, {IDOK}, {1, 1, 1}},
      {kButtonsOkCancel, {IDOK, IDCANCEL}, {1, 2, 2}},
      {kButtonsRetryCancel, {IDRETRY, IDCANCEL}, {1, 2, 2}},
      {kButtonsYesNo, {IDYES, IDNO}, {1, 2, 2}},
      {kButtonsYesNoCancel, {IDYES, IDNO, IDCANCEL}, {1, 2, 3}},
      {kButtonsAbortRetryIgnore, {IDABORT, IDRETRY, IDIGNORE}, {2, 1, 3}},
      {7, {IDOK}, {1, 1, 1}},
  };
  return sets;
}

int answerOf(int id) {
  switch (id) {
    case IDOK:
    case IDYES:
    case IDRETRY:
      return 1;
    case IDNO:
    case IDABORT:
      return 2;
    default:
      return 0;
  }
}

TEST_F(MessageBoxes, EveryButtonSetShowsItsDefaultAndAnswersByTheButtonPressed) {
  ui::UiDriver driver;
  for (const ButtonSet& set : buttonSets()) {
    for (int defaultButton = 1; defaultButton <= 3; ++defaultButton) {
      SCOPED_TRACE("buttons " + std::to_string(set.code) + " default " + std::to_string(defaultButton));
      // Each default presses another button, so every answer comes up.
      const int pressed = set.buttons[static_cast<std::size_t>(defaultButton - 1) % set.buttons.size()];
      BoxSeen seen;
      driver.answerNext([&](HWND box) {
        seen = readBox(box);
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(pressed, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, pressed)));
      });
      WMessageBox(set.code, kIconNone, defaultButton, "Line one\rLine two   ", "Question   ");
      EXPECT_EQ(seen.buttons, set.buttons);
      const int place = set.places[static_cast<std::size_t>(defaultButton - 1)];
      EXPECT_EQ(seen.defaultButton, set.buttons[static_cast<std::size_t>(place - 1)]);
      EXPECT_EQ(seen.title, "Question");
      EXPECT_EQ(seen.text, "Line one\rLine two");
      EXPECT_EQ(WQueryLastResult(kLastAnswer), answerOf(pressed));
    }
  }
  EXPECT_EQ(driver.pending(), 0u);
  EXPECT_EQ(lastError(), 0);
}

TEST_F(MessageBoxes, IconsAreTheSystemsFour) {
  ui::UiDriver driver;
  const std::array<LPCSTR, 5> icons = {nullptr, IDI_HAND, IDI_QUESTION, IDI_EXCLAMATION, IDI_ASTERISK};
  for (int icon = 0; icon <= 5; ++icon) {
    SCOPED_TRACE(icon);
    BoxSeen seen;
    driver.answerNext([&](HWND box) {
      seen = readBox(box);
      PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    WMessageBox(kButtonsOk, icon, 1, "Text", "Icons");
    const LPCSTR expected = icon >= 1 && icon <= 4 ? icons[static_cast<std::size_t>(icon)] : nullptr;
    if (expected == nullptr) {
      EXPECT_EQ(seen.icon, nullptr);
    } else {
      EXPECT_EQ(seen.icon, LoadIconA(nullptr, expected));
    }
  }
}

TEST_F(MessageBoxes, ABoxSetsOnlyItsAnswerAndTheFocusField) {
  WDialogLoad(kOptionsDialog);
  YYLastResultSet(kLastExitButton, 11);
  YYLastResultSet(kLastFocusField, 22);
  YYLastResultSet(kLastModalIdentifier, 55);
  ui::UiDriver driver;
  driver.answerNext(ui::UiDriver::press(IDNO));
  WMessageBox(kButtonsYesNoCancel, kIconQuestion, 1, "Save?", "Box");
  EXPECT_EQ(WQueryLastResult(kLastAnswer), 2);
  EXPECT_EQ(WQueryLastResult(kLastFocusField), 0);
  EXPECT_EQ(WQueryLastResult(kLastExitButton), 11);
  EXPECT_EQ(WQueryLastResult(kLastDialogIdentifier), kOptionsDialog);
  EXPECT_EQ(WQueryLastResult(kLastModalIdentifier), 55);
  driver.answerNext(ui::UiDriver::press(IDCANCEL));
  WMessageBox(kButtonsYesNoCancel, kIconQuestion, 1, "Save?", "Box");
  EXPECT_EQ(WQueryLastResult(kLastAnswer), 0);
}

// The common-dialog error state still holds the failure of an earlier common
// dialog; a box that shows fine is not made a failure by it.
TEST_F(MessageBoxes, AnEarlierCommonDialogFailureDoesNotFailALaterBox) {
  OPENFILENAMEA broken{};
  char name[8] = {};
  broken.lpstrFile = name;
  broken.nMaxFile = sizeof name;
  EXPECT_FALSE(GetOpenFileNameA(&broken));
  ASSERT_NE(CommDlgExtendedError(), 0u);
  ui::UiDriver driver;
  driver.answerNext(ui::UiDriver::press(IDOK));
  WMessageBox(kButtonsOkCancel, kIconExclamation, 1, "Still fine", "Box");
  EXPECT_EQ(WQueryLastResult(kLastAnswer), 1);
  EXPECT_EQ(lastError(), 0);
}

TEST_F(MessageBoxes, WithASemiModelessDialogOnlyItIsEnabledAfterTheBox) {
  WDialogLoad(kOptionsDialog);
  WDialogShow();
  HWND options = currentDialog();
  WDialogLoad(kTomTomDialog);
  WDialogShow(-1, -1, 0, kShowSemiModeless);
  HWND tomtom = currentDialog();
  ui::UiDriver driver;
  HWND owner = nullptr;
  bool imagesWhileShown = false;
  driver.answerNext([&](HWND box) {
    owner = GetWindow(box, GW_OWNER);
    imagesWhileShown = windowTable.modalSnapshotMode;
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  });
  WMessageBox(kButtonsOk, kIconInformation, 1, "Note", "Box");
  EXPECT_EQ(owner, tomtom);
  EXPECT_TRUE(imagesWhileShown);
  EXPECT_FALSE(windowTable.modalSnapshotMode);
  EXPECT_TRUE(IsWindowEnabled(tomtom));
  EXPECT_FALSE(IsWindowEnabled(options));
  EXPECT_FALSE(IsWindowEnabled(rootFrame()));
  WDialogHide();
  EXPECT_TRUE(IsWindowEnabled(options));
  EXPECT_TRUE(IsWindowEnabled(rootFrame()));
}

TEST_F(MessageBoxes, FreezesNestAndTheLastThawRestoresTheImages) {
  WDialogLoad(kFieldsDialog);
  WDialogShow();
  int field = 1019;
  int width = 0;
  int height = 0;
  HDC windowDc = yyGdiContext.DrawDc;
  HWND windowClient = yyGdiContext.DrawWindow;
  YYFieldBackBufferCreate(field, width, height);
  ReleaseDC(item(1019), yyGdiContext.DrawDc);
  yyGdiContext.DrawDc = windowDc;
  yyGdiContext.DrawWindow = windowClient;
  const int slot = dialogTable.currentSlot;
  int status = -1;
  YYModalWindowsEnable(1, -1, status);
  EXPECT_EQ(status, 0);
  const HBITMAP rootImage = windowTable.slots[0].snapshot;
  const HBITMAP dialogImage = frozenDialogImage(slot);
  ASSERT_NE(rootImage, nullptr);
  ASSERT_NE(dialogImage, nullptr);
  YYModalWindowsEnable(1, -1, status);
  EXPECT_EQ(windowTable.slots[0].snapshot, rootImage);
  EXPECT_EQ(windowTable.slots[0].snapshotUses, 2);
  YYModalWindowsEnable(0, -1, status);
  EXPECT_TRUE(windowTable.modalSnapshotMode);
  EXPECT_EQ(windowTable.slots[0].snapshot, rootImage);
  EXPECT_EQ(frozenDialogImage(slot), dialogImage);
  YYModalWindowsEnable(0, -1, status);
  EXPECT_FALSE(windowTable.modalSnapshotMode);
  EXPECT_EQ(windowTable.slots[0].snapshot, nullptr);
  EXPECT_EQ(frozenDialogImage(slot), nullptr);
  // A window left out is not frozen.
  YYModalWindowsEnable(1, 0, status);
  EXPECT_EQ(windowTable.slots[0].snapshot, nullptr);
  YYModalWindowsEnable(0, 0, status);
}

}  // namespace
