#pragma once
// The dialog manager's records: the table of loaded dialogs, the record hung
// on each dialog window and on each of its controls, the words the dialog
// routines hand to each other, and how a control's kind is recognised.

#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

constexpr int kMaxDialogs = 100;
constexpr int kModalCopySlot = 0;

// How WDialogShow shows a dialog.
enum DialogShowMode : int { kShowModal = 1, kShowModeless = 2, kShowSemiModeless = 3 };

// One per loaded dialog, hung on its window's user-data word; a modal copy
// carries the record of the dialog it copies.
struct DialogRecord {
  int identifier = 0;
  int shown = 0;
  int currentField = 0;   // the button that ended a modal run, else the field changed last
  int previousField = 0;  // what currentField held before its latest change
  int currentPage = 0;
  int previousPage = 0;
  int showMode = 0;
  HWND ownerWindow = nullptr;         // takes the focus back after a hide or a modal run
  HWND reactivationWindow = nullptr;  // the semi-modal dialog when one is shown, else the owner
  int lastNotification = 0;
  int graphicsField = 0;  // drawing field of the latest mouse or paint event; 0 the dialog
  int graphicsFlag = 0;   // the dialog itself is a drawing target
  int mouseButton = 0;
  int dialogOption = 0;  // its description asks for the root window's accelerators
  HWND combinedWindow = nullptr;
  HWND activeControl = nullptr;
};

// One per control of a dialog (and of a modal copy), hung on the control's
// user-data word.  Numbers are kept as doubles whatever the field's kind.
struct FieldRecord {
  double value = 0.0;
  double minimum = 1000.0;  // a range is in force only while minimum <= maximum
  double maximum = -1000.0;
  double smallStep = 0.0;
  double largeStep = 0.0;
  int valuePresent = 0;
  HWND arrowControl = nullptr;
  WNDPROC previousProcedure = nullptr;
  int graphicsFlag = 0;
  int textColour = -1;  // RGB, -1 = the system's
  int backgroundColour = -1;
  int leftByTab = 0;
  int maximumLength = 0;
  int fieldState = 1;
  std::vector<int> tabStops;
  // The run-time format of a real or double field; a modal copy shares the
  // loaded dialog's.
  std::shared_ptr<const std::string> format;
  int reportChanges = 0;

  bool hasRange() const { return minimum <= maximum; }
  bool outOfRange(double v) const { return hasRange() && (v < minimum || v > maximum); }
};

struct DialogTable {
  std::array<HWND, kMaxDialogs + 1> windows{};  // 1..count loaded; 0 the modal copy
  std::array<std::unique_ptr<DialogRecord>, kMaxDialogs + 1> records;  // owned per loaded slot
  int count = 0;
  int currentSlot = 0;
  int currentIdentifier = 0;
  int semiModalCount = 0;
  HWND semiModalDialog = nullptr;
  int lastModalIdentifier = 0;
};
extern DialogTable dialogTable;

// The words the dialog routines hand to each other.
struct DialogManagerState {
  int quiet = 0;  // set while the manager itself creates or copies a dialog
  int showFocusField = 0;
  int showX = 0;  // pixels; -1 centres on that axis
  int showY = 0;
  HWND pendingInvalidField = nullptr;
  HWND tabChangeInvalidField = nullptr;
  int savedTabIndex = 0;
  std::array<char, 256> lastValidText{};
  double lastValidValue = 0.0;
  int takeNewLastValidText = 0;
  HBRUSH controlColourBrush = nullptr;
  int trackbarAnchor = 0;
  int validationRunning = 0;
  int refocusOnButtonFocusLoss = 1;
  int trackbarNoSelection = 0;
};
extern DialogManagerState dialogState;

// Control kinds, told apart by window-class atom.
enum ControlKind : int {
  kKindOther = 0,
  kKindStatic,
  kKindEdit,
  kKindIntegerEdit,
  kKindIntegerSpin,
  kKindRealEdit,
  kKindRealSpin,
  kKindDoubleEdit,
  kKindDoubleSpin,
  kKindButton,
  kKindCombo,
  kKindList,
  kKindTab,
  kKindProgress,
  kKindTrackbar,
  kKindTree,
  kKindArrows,
  kKindHeader,
  kKindGrid,
  kKindPage,
};

// What the class probes learn once, when the root window opens.
struct ControlClasses {
  ATOM staticAtom = 0, editAtom = 0, buttonAtom = 0, comboAtom = 0, listAtom = 0, tabAtom = 0;
  ATOM progressAtom = 0, trackbarAtom = 0, treeAtom = 0, arrowsAtom = 0, headerAtom = 0;
  std::array<ATOM, 6> numericAtoms{};  // INTEGEREDIT, INTEGERSPIN, REALEDIT, REALSPIN, DOUBLEEDIT, DOUBLESPIN
  WNDPROC buttonProc = nullptr, staticProc = nullptr, trackbarProc = nullptr, treeProc = nullptr;
  WNDPROC tabProc = nullptr, editProc = nullptr;
  WNDPROC arrowProc = nullptr;  // the system's procedure of the first arrow control made
};
extern ControlClasses controlClasses;

ControlKind controlKindOf(HWND control);
bool isNumericKind(ControlKind kind);
bool isSpinKind(ControlKind kind);
bool isEditLike(ControlKind kind);
inline bool isNumericField(HWND control) { return isNumericKind(controlKindOf(control)); }
// A BUTTON whose type is BS_PUSHBUTTON or BS_DEFPUSHBUTTON.
bool isPushButton(HWND control);
bool isChildStyle(HWND window);

DialogRecord* dialogRecordOf(HWND dialog);
FieldRecord* fieldRecordOf(HWND control);
// Hangs a new record on the control; the control's window data owns it until
// releaseFieldRecord.
FieldRecord* attachFieldRecord(HWND control, std::unique_ptr<FieldRecord> record);
void releaseFieldRecord(HWND control);

// The slot whose record carries the identifier: slot 0 (a running modal copy)
// first, then the loaded slots; -1 when none.
int YYDialogSlotOf(int identifier);
// The window of the current slot; null when there is no current dialog.
HWND currentDialogWindow();
DialogRecord* currentDialogRecord();
// A control of the current dialog by id; null when none.
HWND currentDialogItem(int field);
// The slot 1..count holding the window, else -1.
int loadedSlotOf(HWND dialog);
// True for the running modal copy and every window inside it.
bool YYInModalDialog(HWND window);
// The dialog a control belongs to: its nearest ancestor of the dialog class.
HWND dialogOfControl(HWND control);
// The record a message writes: inside a modal run the loaded dialog's (which
// the copy shares), otherwise the receiving dialog's own.
DialogRecord* recordForMessage(HWND dialog);

// The dialog activated last, kept in the window table for the event loop.
HWND activeModelessDialog();
void setActiveModelessDialog(HWND dialog);

// Records a change of field: previous := current, current := field.
void recordFieldChange(DialogRecord& record, int field);

// Lets the window core reach the dialog table (events, focus, parent kinds).
void YYDialogHooksInstall();

// The text of a window, at most `limit` characters.
std::string windowTextOf(HWND window, int limit = 65535);
