#include "toolkit/dialogs/message_box.h"

#include <commctrl.h>
#include <commdlg.h>

#include <array>
#include <string>

#include "toolkit/core/error_reporter.h"
#include "toolkit/core/fixed_text.h"
#include "toolkit/core/status_bar.h"
#include "toolkit/core/window_select.h"
#include "toolkit/core/window_table.h"
#include "toolkit/dialogs/dialog_init.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/dialog_table.h"

namespace {

std::array<int, 6> lastResults{};  // codes 1-5

struct DialogImage {
  HBITMAP image = nullptr;
  int count = 0;
};
std::array<DialogImage, kMaxDialogs + 1> dialogImages{};  // slots 1-100
bool imagesActive = false;

constexpr std::array<UINT, 6> kButtonSets = {MB_OK, MB_OKCANCEL, MB_RETRYCANCEL, MB_YESNO, MB_YESNOCANCEL,
                                             MB_ABORTRETRYIGNORE};
constexpr std::array<UINT, 5> kIcons = {0, MB_ICONHAND, MB_ICONQUESTION, MB_ICONEXCLAMATION, MB_ICONASTERISK};

// The place (1-3) of the button that gives the wanted result, per button set;
// rows: button sets 0-5, columns: default button 1, 2, 3 (or any other).
constexpr std::array<std::array<int, 3>, 6> kDefaultPlaces = {{
    {1, 1, 1},  // OK
    {1, 2, 2},  // OK, Cancel
    {1, 2, 2},  // Retry, Cancel
    {1, 2, 2},  // Yes, No
    {1, 2, 3},  // Yes, No, Cancel
    {2, 1, 3},  // Abort, Retry, Ignore
}};

int buttonSetOf(int buttons) { return buttons >= 1 && buttons <= 5 ? buttons : 0; }

int windowsDefaultOf(int buttons, int defaultButton) {
  const int column = defaultButton == 1 ? 0 : defaultButton == 2 ? 1 : 2;
  return kDefaultPlaces[static_cast<std::size_t>(buttonSetOf(buttons))][static_cast<std::size_t>(column)];
}

int answerOf(int windowsAnswer) {
  switch (windowsAnswer) {
    case IDOK:
    case IDYES:
    case IDRETRY:
      return kResultYes;
    case IDCANCEL:
    case IDIGNORE:
      return kResultCancel;
    case IDNO:
    case IDABORT:
      return kResultNo;
    default:
      return windowsAnswer;
  }
}

HBITMAP copyClientArea(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  HDC dc = GetDC(window);
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP image = CreateCompatibleBitmap(dc, r.right > 0 ? r.right : 1, r.bottom > 0 ? r.bottom : 1);
  HGDIOBJ previous = SelectObject(memory, image);
  BitBlt(memory, 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY);
  SelectObject(memory, previous);
  DeleteDC(memory);
  ReleaseDC(window, dc);
  return image;
}

void restoreClientArea(HWND window, HBITMAP image) {
  RECT r{};
  GetClientRect(window, &r);
  HDC dc = GetDC(window);
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ previous = SelectObject(memory, image);
  BitBlt(dc, 0, 0, r.right, r.bottom, memory, 0, 0, SRCCOPY);
  SelectObject(memory, previous);
  DeleteDC(memory);
  ReleaseDC(window, dc);
  ValidateRgn(window, nullptr);
}

void freezeWindows(int leaveOut) {
  for (int slot = 0; slot <= kMaxWindowSlot; ++slot) {
    if (slot == leaveOut) continue;
    WindowSlot& s = slotOf(slot);
    if (s.client == nullptr || s.frame == nullptr || !IsWindowVisible(s.frame)) continue;
    if (windowRecordOf(s.frame) != nullptr || isChildStyle(s.frame)) continue;
    if (s.snapshot == nullptr) s.snapshot = copyClientArea(s.client);
    ++s.snapshotUses;
  }
  for (int slot = 1; slot <= dialogTable.count; ++slot) {
    HWND dialog = dialogTable.windows[static_cast<std::size_t>(slot)];
    if (dialog == nullptr || !IsWindowVisible(dialog) || !YYDialogHasGraphics(dialog)) continue;
    DialogImage& d = dialogImages[static_cast<std::size_t>(slot)];
    if (d.image == nullptr) {
      for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        UpdateWindow(child);
      }
      UpdateWindow(dialog);
      d.image = copyClientArea(dialog);
    }
    ++d.count;
  }
}

void thawWindows(int leaveOut) {
  for (int slot = 0; slot <= kMaxWindowSlot; ++slot) {
    if (slot == leaveOut) continue;
    WindowSlot& s = slotOf(slot);
    if (s.snapshot == nullptr) continue;
    if (--s.snapshotUses > 0) {
      imagesActive = true;
      continue;
    }
    s.snapshotUses = 0;
    if (s.client != nullptr) restoreClientArea(s.client, s.snapshot);
    DeleteObject(s.snapshot);
    s.snapshot = nullptr;
  }
  for (int slot = 1; slot <= dialogTable.count; ++slot) {
    HWND dialog = dialogTable.windows[static_cast<std::size_t>(slot)];
    DialogImage& d = dialogImages[static_cast<std::size_t>(slot)];
    if (d.image == nullptr) {
      if (dialog != nullptr) UpdateWindow(dialog);
      continue;
    }
    if (--d.count > 0) {
      imagesActive = true;
      continue;
    }
    d.count = 0;
    if (dialog != nullptr) restoreClientArea(dialog, d.image);
    DeleteObject(d.image);
    d.image = nullptr;
  }
}

bool reportingBoxFailure = false;

}  // namespace

HWND YYModalBoxOwner() {
  HWND active = activeModelessDialog();
  HWND owner = windowTable.ownerWindow;
  if (active != nullptr && IsWindowVisible(active)) {
    const DialogRecord* record = dialogRecordOf(active);
    owner = record != nullptr && record->combinedWindow != nullptr ? record->combinedWindow : active;
  }
  return owner != nullptr && IsWindow(owner) ? owner : nullptr;
}

void YYModalBoxBegin(HWND owner) { YYDialogsDisable(owner, 1); }

void YYModalBoxEnd(HWND owner) {
  YYDialogsEnable(dialogTable.semiModalDialog != nullptr ? dialogTable.semiModalDialog : owner, 1);
  if (owner != nullptr && isChildStyle(owner)) {
    SetFocus(owner);
    YYWindowFocus(owner);
  }
}

void YYMessageBox(int buttons, int icon, int windowsDefault, int& result, const char* text, const char* title) {
  UINT style = kButtonSets[static_cast<std::size_t>(buttonSetOf(buttons))];
  if (icon >= 1 && icon <= 4) style |= kIcons[static_cast<std::size_t>(icon)];
  if (windowsDefault == 2) style |= MB_DEFBUTTON2;
  if (windowsDefault == 3) style |= MB_DEFBUTTON3;
  HWND owner = YYModalBoxOwner();
  YYModalBoxBegin(owner);
  const int answer = MessageBoxA(owner, text, title, style);
  YYModalBoxEnd(owner);
  // The common-dialog error state keeps the failure of any earlier common
  // dialog, so it only explains a box that Windows itself failed to show.
  if (answer == 0 && CommDlgExtendedError() != 0) {
    result = kResultFailed;
    return;
  }
  result = answerOf(answer);
}

void WMessageBox(int buttons, int icon, int defaultButton, std::string_view text, std::string_view title) {
  const int windowsDefault = windowsDefaultOf(buttons, defaultButton);
  int status = 0;
  YYModalWindowsEnable(1, -1, status);
  const std::string boxText = windowsText(text);
  const std::string boxTitle = windowsText(title);
  int result = 0;
  YYMessageBox(buttons, icon, windowsDefault, result, boxText.c_str(), boxTitle.c_str());
  YYModalWindowsEnable(0, -1, status);
  lastResults[kLastAnswer] = result;
  lastResults[kLastFocusField] = 0;
  // The report may itself be a box (reporting mode 4); one that fails too is
  // not reported again.
  if (result == kResultFailed && !reportingBoxFailure) {
    reportingBoxFailure = true;
    YYErrorReport(1004, "WMessageBox");
    reportingBoxFailure = false;
  }
}

int WQueryLastResult(int code) {
  if (code >= 1 && code <= 5) {
    if (code == kLastDialogIdentifier) return dialogTable.currentIdentifier;
    return lastResults[static_cast<std::size_t>(code)];
  }
  if (code >= kLastDialogX && code <= kLastDialogHeight) {
    int a = 0;
    int b = 0;
    int inside = 0;
    int container = 0;
    YYWindowRect(code <= kLastDialogY ? 2 : 3, a, b, inside, container);
    if (inside == 1) {
      const int noted = YYWindowInfo(4);
      YYWINSEL(container, windowSelectState.heldOption);
      YYPixelsToUnits(a, b, a, b);
      YYWINSEL(noted, windowSelectState.heldOption);
    }
    return code == kLastDialogX || code == kLastDialogWidth ? a : b;
  }
  if (code == kLastParentKind) {
    int kind = 0;
    YYDialogParentKind(kind);
    return kind;
  }
  return 0;
}

void YYDialogExitQuery(int code, int& value) {
  const DialogRecord* record = currentDialogRecord();
  switch (code) {
    case 1:
      value = record != nullptr ? record->currentField : 0;
      break;
    case 2:
      value = record != nullptr ? record->previousField : 0;
      break;
    case 3:
      value = dialogTable.lastModalIdentifier;
      break;
    default:
      value = 0;
      break;
  }
}

void YYLastResultSet(int code, int value) {
  if (code == kLastDialogIdentifier) {
    dialogTable.currentIdentifier = value;
  } else if (code >= 1 && code <= 5) {
    lastResults[static_cast<std::size_t>(code)] = value;
  }
}

void YYLastResultsReset() {
  lastResults.fill(0);
  dialogTable.currentIdentifier = 0;
}

void YYModalWindowsEnable(int mode, int leaveOutSlot, int& status) {
  if (mode == 1) {
    imagesActive = true;
    freezeWindows(leaveOutSlot);
  } else {
    imagesActive = false;
    thawWindows(leaveOutSlot);
  }
  windowTable.modalSnapshotMode = imagesActive;
  status = 0;
}

bool YYDialogHasGraphics(HWND dialog) {
  const DialogRecord* record = dialogRecordOf(dialog);
  if (record == nullptr) return false;
  if (record->graphicsFlag != 0) return true;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (const FieldRecord* field = fieldRecordOf(child); field != nullptr && field->graphicsFlag != 0) return true;
    if (controlKindOf(child) == kKindTab) {
      const int selected = static_cast<int>(SendMessageA(child, TCM_GETCURSEL, 0, 0));
      HWND page = selected >= 0 ? tabPageWindow(child, selected) : nullptr;
      if (page != nullptr && page != dialog && YYDialogHasGraphics(page)) return true;
    }
  }
  return false;
}

HBITMAP frozenDialogImage(int slot) {
  return slot >= 1 && slot <= kMaxDialogs ? dialogImages[static_cast<std::size_t>(slot)].image : nullptr;
}

bool windowImagesActive() { return imagesActive; }
