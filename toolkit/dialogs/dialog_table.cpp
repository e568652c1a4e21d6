#include "toolkit/dialogs/dialog_table.h"

#include "toolkit/core/events.h"
#include "toolkit/core/window_select.h"
#include "toolkit/core/window_table.h"
#include "toolkit/grid/grid_register.h"

DialogTable dialogTable;
DialogManagerState dialogState;
ControlClasses controlClasses;

namespace {

constexpr ATOM kDialogClassAtom = 32770;  // "#32770"

bool isDialogClass(HWND window) {
  return window != nullptr && static_cast<ATOM>(GetClassLongPtrA(window, GCW_ATOM)) == kDialogClassAtom;
}

// What an event of a dialog takes from its record.
bool lookupDialogEvent(HWND dialog, DialogEventSource& source) {
  DialogRecord* record = dialogRecordOf(dialog);
  if (record == nullptr) return false;
  source.identifier = record->identifier;
  source.previousFocus = record->previousField;
  source.previousField = record->previousField;
  source.currentField = record->currentField;
  source.lastNotification = &record->lastNotification;
  source.pageBefore = record->previousPage;
  source.pageNow = record->currentPage;
  source.mouseButton = record->mouseButton;
  source.graphicsField = record->graphicsField;
  return true;
}

HWND viewCurrentDialog() { return currentDialogWindow(); }
int viewLoadedCount() { return dialogTable.count; }
HWND viewLoadedDialog(int index) {
  return index >= 1 && index <= dialogTable.count ? dialogTable.windows[static_cast<std::size_t>(index)] : nullptr;
}

}  // namespace

ControlKind controlKindOf(HWND control) {
  if (control == nullptr) return kKindOther;
  const ATOM atom = static_cast<ATOM>(GetClassLongPtrA(control, GCW_ATOM));
  if (atom == 0) return kKindOther;
  const ControlClasses& c = controlClasses;
  for (std::size_t i = 0; i < c.numericAtoms.size(); ++i) {
    if (atom == c.numericAtoms[i]) return static_cast<ControlKind>(kKindIntegerEdit + static_cast<int>(i));
  }
  if (atom == c.staticAtom) return kKindStatic;
  if (atom == c.editAtom) return kKindEdit;
  if (atom == c.buttonAtom) return kKindButton;
  if (atom == c.comboAtom) return kKindCombo;
  if (atom == c.listAtom) return kKindList;
  if (atom == c.tabAtom) return kKindTab;
  if (atom == c.progressAtom) return kKindProgress;
  if (atom == c.trackbarAtom) return kKindTrackbar;
  if (atom == c.treeAtom) return kKindTree;
  if (atom == c.arrowsAtom) return kKindArrows;
  if (atom == c.headerAtom) return kKindHeader;
  if (yyGridClasses.gridAtom != 0 && atom == yyGridClasses.gridAtom) return kKindGrid;
  if (atom == kDialogClassAtom) return kKindPage;
  return kKindOther;
}

bool isNumericKind(ControlKind kind) { return kind >= kKindIntegerEdit && kind <= kKindDoubleSpin; }
bool isSpinKind(ControlKind kind) {
  return kind == kKindIntegerSpin || kind == kKindRealSpin || kind == kKindDoubleSpin;
}
bool isEditLike(ControlKind kind) { return kind == kKindEdit || isNumericKind(kind); }

bool isPushButton(HWND control) {
  if (controlKindOf(control) != kKindButton) return false;
  const LONG type = GetWindowLongA(control, GWL_STYLE) & 0xF;
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

bool isChildStyle(HWND window) { return window != nullptr && (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) != 0; }

DialogRecord* dialogRecordOf(HWND dialog) {
  if (dialog == nullptr || !isDialogClass(dialog)) return nullptr;
  return reinterpret_cast<DialogRecord*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
}

FieldRecord* fieldRecordOf(HWND control) {
  if (control == nullptr || isDialogClass(control)) return nullptr;
  return reinterpret_cast<FieldRecord*>(GetWindowLongPtrA(control, GWLP_USERDATA));
}

FieldRecord* attachFieldRecord(HWND control, std::unique_ptr<FieldRecord> record) {
  FieldRecord* raw = record.release();
  SetWindowLongPtrA(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(raw));
  return raw;
}

void releaseFieldRecord(HWND control) {
  std::unique_ptr<FieldRecord> owned(fieldRecordOf(control));
  SetWindowLongPtrA(control, GWLP_USERDATA, 0);
}

int YYDialogSlotOf(int identifier) {
  auto carries = [identifier](int slot) {
    const DialogRecord* record = dialogRecordOf(dialogTable.windows[static_cast<std::size_t>(slot)]);
    return record != nullptr && record->identifier == identifier;
  };
  if (carries(kModalCopySlot)) return kModalCopySlot;
  for (int slot = 1; slot <= dialogTable.count; ++slot) {
    if (carries(slot)) return slot;
  }
  return -1;
}

HWND currentDialogWindow() {
  const int slot = dialogTable.currentSlot;
  if (slot < 0 || slot > kMaxDialogs) return nullptr;
  if (slot == kModalCopySlot) return dialogTable.windows[0];
  return slot <= dialogTable.count ? dialogTable.windows[static_cast<std::size_t>(slot)] : nullptr;
}

DialogRecord* currentDialogRecord() { return dialogRecordOf(currentDialogWindow()); }

HWND currentDialogItem(int field) {
  HWND dialog = currentDialogWindow();
  return dialog != nullptr ? GetDlgItem(dialog, field) : nullptr;
}

int loadedSlotOf(HWND dialog) {
  if (dialog == nullptr) return -1;
  for (int slot = 1; slot <= dialogTable.count; ++slot) {
    if (dialogTable.windows[static_cast<std::size_t>(slot)] == dialog) return slot;
  }
  return -1;
}

bool YYInModalDialog(HWND window) {
  HWND copy = dialogTable.windows[kModalCopySlot];
  if (copy == nullptr || window == nullptr) return false;
  for (int guard = 0; guard < 64 && window != nullptr; ++guard) {
    if (window == copy) return true;
    if (!isChildStyle(window)) return false;
    window = GetParent(window);
  }
  return false;
}

HWND dialogOfControl(HWND control) {
  for (HWND w = control != nullptr ? GetParent(control) : nullptr; w != nullptr; w = GetParent(w)) {
    if (isDialogClass(w)) return w;
  }
  return nullptr;
}

DialogRecord* recordForMessage(HWND dialog) {
  if (YYInModalDialog(dialog)) {
    if (DialogRecord* loaded = currentDialogRecord(); loaded != nullptr) return loaded;
  }
  return dialogRecordOf(dialog);
}

HWND activeModelessDialog() { return windowTable.activeModelessDialog; }

void setActiveModelessDialog(HWND dialog) {
  windowTable.activeModelessDialog = dialog;
  windowTable.activeModelessOwnerSlot = -1;
  windowTable.activeModelessUsesRootKeys = false;
  if (const DialogRecord* record = dialogRecordOf(dialog); record != nullptr) {
    if (record->combinedWindow != nullptr) windowTable.activeModelessOwnerSlot = YYWindowSlotOf(record->combinedWindow);
    windowTable.activeModelessUsesRootKeys = record->dialogOption != 0;
  }
}

void recordFieldChange(DialogRecord& record, int field) {
  record.previousField = record.currentField;
  record.currentField = field;
}

void YYDialogHooksInstall() {
  dialogEventLookup = lookupDialogEvent;
  dialogView.currentDialog = viewCurrentDialog;
  dialogView.loadedCount = viewLoadedCount;
  dialogView.loadedDialog = viewLoadedDialog;
}

std::string windowTextOf(HWND window, int limit) {
  if (window == nullptr) return {};
  int length = GetWindowTextLengthA(window);
  if (length > limit) length = limit;
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int got = GetWindowTextA(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(got < 0 ? 0 : got));
  return text;
}
