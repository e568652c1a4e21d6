#include "toolkit/dialogs/dialog_lifecycle.h"

#include <commctrl.h>

#include <cstring>
#include <string>
#include <vector>

#include "toolkit/core/error_reporter.h"
#include "toolkit/core/status_bar.h"
#include "toolkit/core/window_select.h"
#include "toolkit/core/window_table.h"
#include "toolkit/dialogs/controls.h"
#include "toolkit/dialogs/dialog_descriptions.h"
#include "toolkit/dialogs/dialog_init.h"
#include "toolkit/dialogs/dialog_procedure.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/dialogs/field_access.h"
#include "toolkit/dialogs/file_selection.h"
#include "toolkit/dialogs/message_box.h"
#include "toolkit/dialogs/numeric_fields.h"

namespace {

HWND rootFrame() { return slotOf(0).frame; }
HWND rootClient() { return slotOf(0).client; }

HMODULE programModule() { return windowTable.module != nullptr ? windowTable.module : GetModuleHandleA(nullptr); }

// A copy of a dialog template with WS_VISIBLE cleared, so that the dialog is
// created hidden whatever its template says.
std::vector<BYTE> hiddenTemplate(HRSRC resource) {
  HGLOBAL loaded = LoadResource(programModule(), resource);
  const DWORD size = SizeofResource(programModule(), resource);
  const BYTE* bytes = static_cast<const BYTE*>(LockResource(loaded));
  if (bytes == nullptr || size < sizeof(DLGTEMPLATE)) return {};
  std::vector<BYTE> copy(bytes, bytes + size);
  const bool extended = size >= 12 && copy[0] == 1 && copy[1] == 0 && copy[2] == 0xFF && copy[3] == 0xFF;
  const std::size_t styleAt = extended ? 12 : 0;
  DWORD style = 0;
  std::memcpy(&style, copy.data() + styleAt, sizeof style);
  style &= ~static_cast<DWORD>(WS_VISIBLE);
  std::memcpy(copy.data() + styleAt, &style, sizeof style);
  return copy;
}

void removeSlotOf(HWND dialog) {
  const int slot = loadedSlotOf(dialog);
  if (slot < 1) return;
  for (int s = slot; s < dialogTable.count; ++s) {
    dialogTable.windows[static_cast<std::size_t>(s)] = dialogTable.windows[static_cast<std::size_t>(s + 1)];
    dialogTable.records[static_cast<std::size_t>(s)] = std::move(dialogTable.records[static_cast<std::size_t>(s + 1)]);
  }
  dialogTable.windows[static_cast<std::size_t>(dialogTable.count)] = nullptr;
  dialogTable.records[static_cast<std::size_t>(dialogTable.count)].reset();
  --dialogTable.count;
}

bool anyFrameVisible() {
  for (const WindowSlot& s : windowTable.slots) {
    if (s.frame != nullptr && IsWindowVisible(s.frame)) return true;
  }
  return false;
}

template <typename Visit>
void forEachTabControl(HWND dialog, Visit visit) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (controlKindOf(child) == kKindTab) visit(child);
  }
}

// True when another loaded dialog lists this one as a tab page.
bool isTabPageOfAnother(HWND dialog, int identifier) {
  for (int slot = 1; slot <= dialogTable.count; ++slot) {
    HWND other = dialogTable.windows[static_cast<std::size_t>(slot)];
    if (other == dialog) continue;
    bool listed = false;
    forEachTabControl(other, [&](HWND tab) {
      const int n = static_cast<int>(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0));
      for (int i = 0; i < n; ++i) {
        TabItemData data;
        if (tabItemDataGet(tab, i, data) && data.pageId == identifier) listed = true;
      }
    });
    if (listed) return true;
  }
  return false;
}

void giveWindowFocus(HWND window) {
  SetFocus(window);
  YYWindowFocus(window);
}

// Raises, shows and activates a child-style dialog and makes it the active one.
void activateChildDialog(HWND dialog) {
  SetWindowPos(dialog, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  SendMessageA(dialog, WM_ACTIVATE, WA_ACTIVE, 0);
  setActiveModelessDialog(dialog);
  giveWindowFocus(dialog);
}

int focusedControlId(HWND dialog) {
  HWND focus = GetFocus();
  if (focus == nullptr || focus == dialog || !IsChild(dialog, focus)) return 0;
  // A spin field's arrows or a combo box's edit part count as their field.
  while (GetParent(focus) != dialog && GetParent(focus) != nullptr) focus = GetParent(focus);
  return GetDlgCtrlID(focus);
}

void runModal(HWND dialog, DialogRecord& record, HWND owner) {
  const HWND savedOwner = windowTable.ownerWindow;
  const HWND savedActive = activeModelessDialog();
  YYDialogsDisable(owner, 1);
  dialogState.quiet = 1;
  const INT_PTR ran = DialogBoxParamA(programModule(), MAKEINTRESOURCEA(record.identifier & 0xFFFF), owner,
                                      YYDialogProc, 0);
  dialogState.quiet = 0;
  if (ran == -1 || dialogTable.windows[kModalCopySlot] == nullptr) {
    // No copy could run (no template of that number, or it could not be
    // made): the run counts as closed without a button.
    record.currentField = 0;
    record.previousField = 0;
    dialogTable.lastModalIdentifier = record.identifier;
  }
  dialogTable.windows[kModalCopySlot] = nullptr;
  YYDialogsEnable(dialogTable.semiModalDialog != nullptr ? dialogTable.semiModalDialog : owner, 1);
  windowTable.ownerWindow = savedOwner;
  setActiveModelessDialog(savedActive);
  if (isChildStyle(owner)) {
    giveWindowFocus(owner);
    if (loadedSlotOf(owner) >= 1) setActiveModelessDialog(owner);
  }
}

}  // namespace

void YYDialogCreate(int& templateNumber, int identifier, int ownerSlot) {
  YYDialogHooksInstall();
  if (const int existing = YYDialogSlotOf(identifier); existing >= 0) {
    dialogTable.currentSlot = existing;
    return;
  }
  if (dialogTable.count >= kMaxDialogs) {
    templateNumber = -1;
    return;
  }
  HRSRC resource = FindResourceA(programModule(), MAKEINTRESOURCEA(templateNumber), reinterpret_cast<LPCSTR>(RT_DIALOG));
  if (resource == nullptr) {
    templateNumber = -2;
    return;
  }
  const std::vector<BYTE> dialogTemplate = hiddenTemplate(resource);
  const int slot = dialogTable.count + 1;
  auto record = std::make_unique<DialogRecord>();
  record->identifier = identifier;
  dialogState.showFocusField = 0;
  dialogState.showX = 0;
  dialogState.showY = 0;
  dialogState.quiet = 1;
  const HWND rememberedActive = activeModelessDialog();
  HWND parent = isValidSlot(ownerSlot) ? slotOf(ownerSlot).client : nullptr;
  HWND dialog = nullptr;
  if (!dialogTemplate.empty()) {
    dialog = CreateDialogIndirectParamA(programModule(), reinterpret_cast<LPCDLGTEMPLATEA>(dialogTemplate.data()),
                                        parent, YYDialogProc, reinterpret_cast<LPARAM>(record.get()));
  }
  dialogState.quiet = 0;
  if (dialog == nullptr) {
    templateNumber = -1;
    return;
  }
  dialogTable.count = slot;
  dialogTable.windows[static_cast<std::size_t>(slot)] = dialog;
  dialogTable.records[static_cast<std::size_t>(slot)] = std::move(record);
  dialogTable.currentSlot = slot;
  YYDialogDescriptionLoad(dialog, templateNumber, slot);
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (FieldRecord* field = fieldRecordOf(child); field != nullptr) field->fieldState = fieldStateFromStyles(child);
    if (isSpinKind(controlKindOf(child))) {
      if (const FieldRecord* field = fieldRecordOf(child); field != nullptr && field->arrowControl != nullptr &&
                                                           GetWindow(child, GW_HWNDNEXT) == field->arrowControl) {
        child = field->arrowControl;
      }
    }
  }
  setActiveModelessDialog(rememberedActive);
}

void YYDialogLoad(int& templateNumber, int identifier) { YYDialogCreate(templateNumber, identifier, 0); }

void YYDialogSelect(int& identifier) {
  const int slot = YYDialogSlotOf(identifier);
  if (slot < 0) {
    identifier = -1;
    return;
  }
  dialogTable.currentSlot = slot;
}

void WDialogLoad(int templateNumber, std::optional<int> identifier) {
  const int id = identifier.value_or(templateNumber);
  int number = templateNumber;
  YYDialogLoad(number, id);
  if (number < 0) {
    YYErrorReport(1007, "WDialogLoad");
    return;
  }
  dialogTable.currentIdentifier = id;
}

void WDialogSelect(int identifier) {
  int id = identifier;
  YYDialogSelect(id);
  if (id < 0) {
    YYErrorReport(1008, "WDialogSelect");
    return;
  }
  dialogTable.currentIdentifier = identifier;
}

void YYDialogCentre(HWND dialog) {
  if (dialogState.showX != -1 && dialogState.showY != -1) return;
  RECT r{};
  GetWindowRect(dialog, &r);
  int w = GetSystemMetrics(SM_CXSCREEN);
  int h = GetSystemMetrics(SM_CYSCREEN);
  if (isChildStyle(dialog)) {
    RECT client{};
    GetClientRect(rootClient(), &client);
    w = client.right;
    h = client.bottom;
  }
  if (dialogState.showX == -1) dialogState.showX = (w - (r.right - r.left)) / 2;
  if (dialogState.showY == -1) dialogState.showY = (h - (r.bottom - r.top)) / 2;
}

void YYTabPagesAttach(HWND dialog) {
  forEachTabControl(dialog, [dialog](HWND tab) {
    const int n = static_cast<int>(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0));
    const int selected = static_cast<int>(SendMessageA(tab, TCM_GETCURSEL, 0, 0));
    RECT area{};
    GetWindowRect(tab, &area);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&area), 2);
    SendMessageA(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    for (int i = 0; i < n; ++i) {
      HWND page = tabPageWindow(tab, i);
      if (page == nullptr || page == dialog) continue;
      LONG style = GetWindowLongA(page, GWL_STYLE);
      style &= ~static_cast<LONG>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME);
      style |= WS_CHILD | DS_CONTROL;
      SetWindowLongA(page, GWL_STYLE, style);
      SetParent(page, dialog);
      const bool show = i == selected && (GetWindowLongA(tab, GWL_STYLE) & WS_VISIBLE) != 0;
      SetWindowPos(page, tab, area.left, area.top, 0, 0,
                   SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
      EnableWindow(page, TRUE);
      YYTabPagesAttach(page);
    }
  });
}

void YYTabPagesDetach(HWND dialog) {
  std::vector<HWND> pages;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (controlKindOf(child) == kKindPage) pages.push_back(child);
  }
  for (HWND page : pages) {
    SetParent(page, rootClient());
    SetWindowPos(page, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void YYDialogsDisable(HWND leaveOut, int alsoWindows) {
  for (int slot = 1; slot <= dialogTable.count; ++slot) {
    HWND dialog = dialogTable.windows[static_cast<std::size_t>(slot)];
    if (dialog == nullptr || dialog == leaveOut || !IsWindowVisible(dialog)) continue;
    HWND parent = GetParent(dialog);
    if (parent != nullptr && parent != rootFrame() && parent != rootClient()) continue;
    const DialogRecord* record = dialogRecordOf(dialog);
    if (leaveOut != nullptr && record != nullptr && record->combinedWindow == leaveOut) continue;
    EnableWindow(dialog, FALSE);
  }
  if (alsoWindows == 0) return;
  for (const WindowSlot& s : windowTable.slots) {
    if (s.frame != nullptr && s.frame != leaveOut && IsWindowVisible(s.frame)) EnableWindow(s.frame, FALSE);
  }
}

void YYDialogsEnable(HWND window, int alsoWindows) {
  if (dialogTable.semiModalCount > 0) {
    if (window != nullptr) EnableWindow(window, TRUE);
    return;
  }
  for (int slot = 1; slot <= dialogTable.count; ++slot) {
    HWND dialog = dialogTable.windows[static_cast<std::size_t>(slot)];
    if (dialog == nullptr || !IsWindowVisible(dialog)) continue;
    HWND parent = GetParent(dialog);
    if (parent != nullptr && parent != rootFrame() && parent != rootClient()) continue;
    EnableWindow(dialog, TRUE);
  }
  if (alsoWindows == 0) return;
  for (const WindowSlot& s : windowTable.slots) {
    if (s.frame != nullptr && IsWindowVisible(s.frame)) EnableWindow(s.frame, TRUE);
  }
}

void YYDialogShow(int x, int y, int convertedX, int convertedY, int& mode, int focusField, int keepWhenParentHidden) {
  HWND dialog = currentDialogWindow();
  DialogRecord* record = dialogRecordOf(dialog);
  if (dialog == nullptr || record == nullptr) {
    mode = -1;
    return;
  }
  int result = 0;
  const bool childStyle = isChildStyle(dialog);
  if (record->shown == 1) {
    ShowWindow(dialog, SW_RESTORE);
    SetWindowPos(dialog, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASE);
    if (childStyle) activateChildDialog(dialog);
    mode = 0;
    return;
  }
  // A dialog combined with a window is part of that window: it never becomes
  // semi-modeless itself.
  if (mode == kShowModeless && dialogTable.semiModalCount > 0 && keepWhenParentHidden != 1) {
    mode = kShowSemiModeless;
    result = -1;
  }
  if (childStyle && mode != kShowModeless) {
    if (mode == kShowModal) {
      int status = 0;
      YYModalWindowsEnable(0, -1, status);
    }
    mode = kShowModeless;
    result = -1;
  }
  if (mode != kShowModal && mode != kShowSemiModeless) mode = kShowModeless;

  dialogState.showFocusField = focusField;
  dialogState.showX = childStyle ? convertedX : x;
  dialogState.showY = childStyle ? convertedY : y;

  HWND owner = YYModalBoxOwner();
  record->ownerWindow = owner;
  record->reactivationWindow = dialogTable.semiModalDialog != nullptr ? dialogTable.semiModalDialog : owner;
  record->showMode = mode;

  if (mode == kShowModal) {
    runModal(dialog, *record, owner);
    mode = result;
    return;
  }
  if (childStyle && keepWhenParentHidden != 1) {
    if (windowTable.hidden) {
      mode = -2;
      return;
    }
    if (windowTable.combinedDialog) {
      mode = -3;
      return;
    }
  }
  if (mode == kShowSemiModeless) {
    ++dialogTable.semiModalCount;
    dialogTable.semiModalDialog = dialog;
    YYDialogsDisable(nullptr, 0);
    for (const WindowSlot& s : windowTable.slots) {
      if (s.frame != nullptr) EnableWindow(s.frame, FALSE);
    }
  }
  YYTabPagesAttach(dialog);
  YYDialogCentre(dialog);
  SetWindowPos(dialog, nullptr, dialogState.showX, dialogState.showY, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
  if (childStyle) activateChildDialog(dialog);
  ShowWindow(dialog, SW_RESTORE);
  // A focus field that names no control leaves the focus where it is.
  HWND focus = focusField != 0 ? GetDlgItem(dialog, focusField) : dialog;
  if (focus != nullptr) SetFocus(focus);
  if (focus != nullptr && focus != dialog) YYFieldSelectText(focus);
  UpdateWindow(dialog);
  record->previousField = focusedControlId(dialog);
  record->shown = 1;
  mode = result;
}

void WDialogShow(std::optional<int> x, std::optional<int> y, std::optional<int> focusField, std::optional<int> mode) {
  if (currentDialogWindow() == nullptr) {
    YYErrorReport(1005, "WDialogShow");
    return;
  }
  const int px = x.value_or(-1);
  const int py = y.value_or(-1);
  const int requested = mode.value_or(kShowModeless);
  const int noted = YYWindowInfo(4);
  if (noted != 0) YYWINSEL(0, windowSelectState.heldOption);
  int cx = -1;
  int cy = -1;
  if (px != -1 || py != -1) {
    int sx = 0;
    int sy = 0;
    YYScaleToPixels(px, py, sx, sy);
    if (px != -1) cx = sx;
    if (py != -1) cy = sy;
  }
  if (requested == kShowModal) {
    int status = 0;
    YYModalWindowsEnable(1, -1, status);
    if (status != 0) YYErrorReport(status, "WDialogShow");
  }
  int result = requested;
  YYDialogShow(px, py, cx, cy, result, focusField.value_or(0), 0);
  if (requested == kShowModal && result != -1) {
    int status = 0;
    YYModalWindowsEnable(0, -1, status);
    int value = 0;
    YYDialogExitQuery(1, value);
    YYLastResultSet(kLastExitButton, value);
    YYDialogExitQuery(2, value);
    YYLastResultSet(kLastFocusField, value);
    YYDialogExitQuery(3, value);
    YYLastResultSet(kLastModalIdentifier, value);
  }
  if (noted != 0) YYWindowReselect(noted);
  if (result == -1) YYErrorReport(1014, "WDialogShow");
  if (result == -2) YYErrorReport(1016, "WDialogShow");
  if (result == -3) YYErrorReport(1046, "WDialogShow");
}

void YYDialogShowAtClient(int focusField, int mode) {
  int x = 0;
  int y = 0;
  YYClientOriginToScreen(x, y);
  WDialogShow(x, y, focusField, mode);
}

void YYDialogHide(int& slot) {
  const int which = slot == 0 ? dialogTable.currentSlot : slot;
  HWND dialog = which >= 0 && which <= kMaxDialogs ? dialogTable.windows[static_cast<std::size_t>(which)] : nullptr;
  DialogRecord* record = dialogRecordOf(dialog);
  if (record == nullptr) {
    slot = 0;
    return;
  }
  if (slot == 0 && record->combinedWindow != nullptr) {
    slot = -1;
    return;
  }
  if (isChildStyle(dialog) && isTabPageOfAnother(dialog, record->identifier)) {
    slot = -2;
    return;
  }
  const bool wasActive = activeModelessDialog() == dialog;
  if (record->shown == 1 && record->showMode == kShowSemiModeless) {
    --dialogTable.semiModalCount;
    YYDialogsEnable(wasActive ? record->reactivationWindow : nullptr, 1);
  }
  for (int s = 1; s <= dialogTable.count; ++s) {
    DialogRecord* other = dialogRecordOf(dialogTable.windows[static_cast<std::size_t>(s)]);
    if (other == nullptr || other == record) continue;
    if (other->ownerWindow == dialog) other->ownerWindow = record->ownerWindow;
    if (other->reactivationWindow == dialog) other->reactivationWindow = record->reactivationWindow;
  }
  for (WindowSlot& s : windowTable.slots) {
    if (s.previousOwner == dialog) s.previousOwner = record->ownerWindow;
  }
  if (wasActive) setActiveModelessDialog(nullptr);
  SetWindowPos(dialog, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  record->shown = 0;
  if (dialogTable.semiModalDialog == dialog) {
    dialogTable.semiModalDialog = dialogTable.semiModalCount > 0 ? record->reactivationWindow : nullptr;
  }
  if (wasActive && record->ownerWindow != nullptr && IsWindow(record->ownerWindow)) {
    SetFocus(record->ownerWindow);
    SendMessageA(record->ownerWindow, WM_NCACTIVATE, TRUE, 0);
    if (loadedSlotOf(record->ownerWindow) >= 1) setActiveModelessDialog(record->ownerWindow);
  }
  slot = 0;
}

void WDialogHide() {
  if (currentDialogWindow() == nullptr) return;
  int result = 0;
  YYDialogHide(result);
  if (result == -1) YYErrorReport(1047, "WDialogHide");
  if (result == -2) YYErrorReport(1069, "WDialogHide");
}

void YYDialogDestroy(HWND dialog, int tabPagesFlag, int slot) {
  if (dialog == nullptr) return;
  if (tabPagesFlag == 0) {
    std::vector<HWND> pages;
    forEachTabControl(dialog, [&](HWND tab) {
      const int n = static_cast<int>(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0));
      for (int i = 0; i < n; ++i) {
        if (HWND page = tabPageWindow(tab, i); page != nullptr && page != dialog) pages.push_back(page);
      }
    });
    for (HWND page : pages) {
      if (!IsWindow(page) || loadedSlotOf(page) < 1) continue;
      YYTabPagesDetach(page);
      YYDialogDestroy(page, 0, loadedSlotOf(page));
    }
  }
  if (activeModelessDialog() == dialog) setActiveModelessDialog(nullptr);
  if (dialogTable.semiModalDialog == dialog) dialogTable.semiModalDialog = nullptr;
  DestroyWindow(dialog);
  removeSlotOf(dialog);
}

void YYDialogUnload(int tabPagesFlag, int slot) {
  const int which = slot == 0 ? dialogTable.currentSlot : slot;
  HWND dialog = which >= 1 && which <= dialogTable.count ? dialogTable.windows[static_cast<std::size_t>(which)] : nullptr;
  if (dialog == nullptr) return;
  YYTabPagesDetach(dialog);
  YYDialogDestroy(dialog, tabPagesFlag, which);
  dialogTable.currentSlot = 0;
  if (dialogTable.count == 0 && !anyFrameVisible()) windowTable.ownerWindow = rootFrame();
}

void WDialogUnload(std::optional<int> tabPagesFlag) {
  if (currentDialogWindow() == nullptr || dialogTable.currentSlot == kModalCopySlot) {
    YYErrorReport(1005, "WDialogUnload");
    return;
  }
  int result = 0;
  YYDialogHide(result);
  if (result == -1) {
    YYErrorReport(1047, "WDialogUnload");
    return;
  }
  if (result == -2) {
    YYErrorReport(1069, "WDialogUnload");
    return;
  }
  YYDialogUnload(tabPagesFlag.value_or(0), 0);
  dialogTable.currentIdentifier = 0;
}

void YYDialogCaption(int& iconId, int titleFlag, std::string_view title) {
  HWND dialog = currentDialogWindow();
  const DialogRecord* record = dialogRecordOf(dialog);
  if (record == nullptr) return;
  const LONG style = GetWindowLongA(dialog, GWL_STYLE);
  const bool captionBit = (style & (WS_BORDER | WS_DLGFRAME)) != 0;
  if (titleFlag != 0) {
    const std::string text(text::trimmed(title));
    if (captionBit) {
      SetWindowTextA(dialog, text.c_str());
    } else if (isChildStyle(dialog)) {
      for (int slot = 1; slot <= dialogTable.count; ++slot) {
        HWND other = dialogTable.windows[static_cast<std::size_t>(slot)];
        if (other == dialog) continue;
        forEachTabControl(other, [&](HWND tab) {
          const int n = static_cast<int>(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0));
          for (int i = 0; i < n; ++i) {
            TabItemData data;
            if (!tabItemDataGet(tab, i, data) || data.pageId != record->identifier) continue;
            TCITEMA item{};
            item.mask = TCIF_TEXT;
            item.pszText = const_cast<char*>(text.c_str());
            SendMessageA(tab, TCM_SETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
            RECT area{};
            GetClientRect(tab, &area);
            SendMessageA(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
            ValidateRect(tab, &area);
            InvalidateRect(tab, nullptr, FALSE);
          }
        });
      }
    }
  }
  if (!captionBit || iconId == -1) return;
  HICON big = nullptr;
  HICON small = nullptr;
  LPCSTR name = iconId == 0 ? "icon1" : MAKEINTRESOURCEA(iconId);
  // Shared icons: the system keeps them for the run, so the ones they replace
  // need no releasing.
  big = static_cast<HICON>(LoadImageA(programModule(), name, IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
  small = static_cast<HICON>(LoadImageA(programModule(), name, IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                        GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  if (big == nullptr) {
    iconId = -2;
    return;
  }
  SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small != nullptr ? small : big));
}

void WDialogTitle(std::optional<std::string_view> title, std::optional<int> iconId) {
  if (currentDialogWindow() == nullptr) {
    YYErrorReport(1005, "WDialogTitle");
    return;
  }
  int icon = iconId.value_or(-1);
  YYDialogCaption(icon, title.has_value() ? 1 : 0, title.value_or(std::string_view{}));
  if (icon == -2) YYErrorReport(1015, "WDialogTitle");
}

void YYDialogResize(int width, int height, int& result) {
  HWND dialog = currentDialogWindow();
  const DialogRecord* record = dialogRecordOf(dialog);
  result = 0;
  if (record == nullptr) return;
  if (record->combinedWindow != nullptr) {
    result = -1;
    return;
  }
  RECT units{0, 0, width, height};
  MapDialogRect(dialog, &units);
  RECT present{};
  GetClientRect(dialog, &present);
  RECT wanted{0, 0, width > 0 ? units.right : present.right, height > 0 ? units.bottom : present.bottom};
  HWND focus = GetFocus();
  bool focusHidden = false;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    const ControlKind kind = controlKindOf(child);
    if (kind == kKindPage || kind == kKindArrows) continue;
    if (YYFieldVisibility(child, present) == 1 && YYFieldVisibility(child, wanted) != 1) {
      ShowWindow(child, SW_HIDE);
      if (const FieldRecord* field = fieldRecordOf(child); field != nullptr && field->arrowControl != nullptr) {
        ShowWindow(field->arrowControl, SW_HIDE);
      }
      if (focus == child) focusHidden = true;
    }
  }
  if (focusHidden) SendMessageA(dialog, WM_NEXTDLGCTL, 0, FALSE);
  RECT frame = wanted;
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongA(dialog, GWL_EXSTYLE)));
  SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  GetClientRect(dialog, &wanted);
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    const ControlKind kind = controlKindOf(child);
    if (kind == kKindPage || kind == kKindArrows) continue;
    FieldRecord* field = fieldRecordOf(child);
    if (field == nullptr || YYFieldVisibility(child, wanted) != 1 || IsWindowVisible(child)) continue;
    int id = GetDlgCtrlID(child);
    YYFieldStateSet(id, field->fieldState, 0);
  }
}

void YYTrackbarNoSelection(int value) { dialogState.trackbarNoSelection = value; }

void YYDialogManagerOpen() {
  YYControlClassesProbe();
  YYListControlClassesProbe();
  dialogState.takeNewLastValidText = 1;
  YYDialogHooksInstall();
}

void YYDialogManagerClose() {
  while (dialogTable.count > 0) {
    HWND dialog = dialogTable.windows[static_cast<std::size_t>(dialogTable.count)];
    YYTabPagesDetach(dialog);
    YYDialogDestroy(dialog, 1, dialogTable.count);
  }
  dialogTable.windows[kModalCopySlot] = nullptr;
  dialogTable.currentSlot = 0;
  dialogTable.currentIdentifier = 0;
  dialogTable.semiModalCount = 0;
  dialogTable.semiModalDialog = nullptr;
  setActiveModelessDialog(nullptr);
  windowTable.ownerWindow = nullptr;
  if (dialogState.controlColourBrush != nullptr) DeleteObject(dialogState.controlColourBrush);
  dialogState.controlColourBrush = nullptr;
  dialogState.pendingInvalidField = nullptr;
  dialogState.tabChangeInvalidField = nullptr;
}
