#include "toolkit/dialogs/dialog_init.h"

#include <commctrl.h>

#include <array>
#include <string>
#include <vector>

#include "toolkit/core/window_select.h"
#include "toolkit/core/window_table.h"
#include "toolkit/dialogs/controls.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/dialogs/tree_views.h"
#include "toolkit/grid/grid_field.h"

namespace {

HMODULE programModule() { return windowTable.module != nullptr ? windowTable.module : GetModuleHandleA(nullptr); }

// A tab item with the two words of item data that follow its header.
struct TabItemBuffer {
  TCITEMHEADERA header{};
  TabItemData data;
};

LONG normalisedButtonType(LONG type) {
  switch (type) {
    case BS_CHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
      return BS_AUTOCHECKBOX;
    case BS_RADIOBUTTON:
      return BS_AUTORADIOBUTTON;
    default:
      return type;
  }
}

void subclass(HWND control, WNDPROC procedure) {
  SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
}

void prepareButton(HWND control, LONG& style) {
  style = (style & ~0xFL) | normalisedButtonType(style & 0xF);
  if (style & (BS_BITMAP | BS_ICON)) {
    const bool bitmap = (style & BS_BITMAP) != 0;
    const UINT type = bitmap ? IMAGE_BITMAP : IMAGE_ICON;
    const UINT load = bitmap ? LR_LOADMAP3DCOLORS | LR_LOADTRANSPARENT : LR_DEFAULTCOLOR;
    HANDLE image = LoadImageA(programModule(), MAKEINTRESOURCEA(GetDlgCtrlID(control)), type, 0, 0, load);
    HANDLE replaced = reinterpret_cast<HANDLE>(
        SendMessageA(control, BM_SETIMAGE, type, reinterpret_cast<LPARAM>(image)));
    if (replaced != nullptr && replaced != image) {
      if (bitmap) {
        DeleteObject(replaced);
      } else {
        DestroyIcon(static_cast<HICON>(replaced));
      }
    }
    if (image == nullptr) style &= ~static_cast<LONG>(BS_BITMAP | BS_ICON);
  }
  subclass(control, YYButtonProc);
}

void prepareStatic(HWND control, LONG style) {
  const LONG type = style & SS_TYPEMASK;
  if (type == SS_BITMAP || type == SS_ICON) {
    const UINT imageType = type == SS_BITMAP ? IMAGE_BITMAP : IMAGE_ICON;
    if (SendMessageA(control, STM_GETIMAGE, imageType, 0) == 0) {
      HANDLE image = LoadImageA(programModule(), MAKEINTRESOURCEA(GetDlgCtrlID(control)), imageType, 0, 0,
                                LR_DEFAULTCOLOR);
      if (image != nullptr) SendMessageA(control, STM_SETIMAGE, imageType, reinterpret_cast<LPARAM>(image));
    }
  }
  subclass(control, YYStaticProc);
}

void prepareControl(HWND control) {
  const ControlKind kind = controlKindOf(control);
  FieldRecord* record = fieldRecordOf(control);
  if (!isNumericKind(kind) || record == nullptr) record = attachFieldRecord(control, std::make_unique<FieldRecord>());
  LONG style = GetWindowLongA(control, GWL_STYLE);
  switch (kind) {
    case kKindEdit:
      subclass(control, YYTextFieldProc);
      record->maximumLength = (style & ES_MULTILINE) ? 65535 : 32767;
      SendMessageA(control, EM_LIMITTEXT, static_cast<WPARAM>(record->maximumLength), 0);
      break;
    case kKindButton:
      prepareButton(control, style);
      break;
    case kKindStatic:
      prepareStatic(control, style);
      break;
    case kKindTrackbar:
      subclass(control, YYTrackbarProc);
      break;
    case kKindTab:
      SendMessageA(control, TCM_SETITEMEXTRA, sizeof(TabItemData), 0);
      subclass(control, YYTabProc);
      break;
    case kKindTree:
      style |= TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_DISABLEDRAGDROP | TVS_SHOWSELALWAYS;
      subclass(control, YYTreeProc);
      break;
    default:
      break;
  }
  SetWindowLongA(control, GWL_STYLE, style);
  SetWindowLongA(control, GWL_EXSTYLE, GetWindowLongA(control, GWL_EXSTYLE) & ~static_cast<LONG>(WS_EX_NOPARENTNOTIFY));
  record->previousProcedure = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(control, GWLP_WNDPROC));
  subclass(control, YYFieldProc);
}

std::vector<HWND> controlsOf(HWND dialog) {
  std::vector<HWND> controls;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (controlKindOf(child) != kKindPage) controls.push_back(child);
  }
  return controls;
}

// The image of a picture or image button is shared between a dialog and its
// modal copy; an image the copy made for itself goes when it is replaced.
void shareImage(HWND target, HWND source, UINT getMessage, UINT setMessage, UINT type, bool intoCopy) {
  HANDLE image = reinterpret_cast<HANDLE>(SendMessageA(source, getMessage, type, 0));
  if (image == nullptr) return;
  HANDLE replaced = reinterpret_cast<HANDLE>(SendMessageA(target, setMessage, type, reinterpret_cast<LPARAM>(image)));
  if (!intoCopy || replaced == nullptr || replaced == image) return;
  if (type == IMAGE_BITMAP) {
    DeleteObject(replaced);
  } else if (type == IMAGE_ICON) {
    DestroyIcon(static_cast<HICON>(replaced));
  } else if (type == IMAGE_ENHMETAFILE) {
    DeleteEnhMetaFile(static_cast<HENHMETAFILE>(replaced));
  }
}

std::string itemText(HWND control, UINT lengthMessage, UINT textMessage, int index) {
  const LRESULT length = SendMessageA(control, lengthMessage, static_cast<WPARAM>(index), 0);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(std::min<LRESULT>(length, 65535)) + 1, '\0');
  if (length > 65535) return {};
  SendMessageA(control, textMessage, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(lstrlenA(text.c_str())));
  return text;
}

void copyCombo(HWND target, HWND source, const FieldRecord& record) {
  SendMessageA(target, CB_RESETCONTENT, 0, 0);
  const int n = static_cast<int>(SendMessageA(source, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    const std::string text = itemText(source, CB_GETLBTEXTLEN, CB_GETLBTEXT, i);
    SendMessageA(target, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  SendMessageA(target, CB_SETCURSEL, static_cast<WPARAM>(SendMessageA(source, CB_GETCURSEL, 0, 0)), 0);
  SendMessageA(target, CB_LIMITTEXT, static_cast<WPARAM>(record.maximumLength), 0);
}

void copyList(HWND target, HWND source, const FieldRecord& record) {
  if (!record.tabStops.empty()) {
    SendMessageA(target, LB_SETTABSTOPS, record.tabStops.size(), reinterpret_cast<LPARAM>(record.tabStops.data()));
  }
  SendMessageA(target, LB_RESETCONTENT, 0, 0);
  const int n = static_cast<int>(SendMessageA(source, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    const std::string text = itemText(source, LB_GETTEXTLEN, LB_GETTEXT, i);
    SendMessageA(target, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  const LONG style = GetWindowLongA(source, GWL_STYLE);
  if (style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) {
    for (int i = 0; i < n; ++i) {
      const BOOL selected = SendMessageA(source, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0;
      SendMessageA(target, LB_SETSEL, selected, i);
    }
  } else {
    SendMessageA(target, LB_SETCURSEL, static_cast<WPARAM>(SendMessageA(source, LB_GETCURSEL, 0, 0)), 0);
  }
}

void copyTabs(HWND target, HWND source) {
  SendMessageA(target, TCM_DELETEALLITEMS, 0, 0);
  const int n = static_cast<int>(SendMessageA(source, TCM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    std::array<char, 1025> text{};
    TabItemBuffer item;
    item.header.mask = TCIF_TEXT | TCIF_PARAM;
    item.header.pszText = text.data();
    item.header.cchTextMax = static_cast<int>(text.size());
    if (!SendMessageA(source, TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item))) continue;
    TabItemBuffer copy = item;
    copy.header.mask = TCIF_TEXT | TCIF_PARAM;
    copy.header.pszText = text.data();
    SendMessageA(target, TCM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&copy));
  }
  SendMessageA(target, TCM_SETCURSEL, static_cast<WPARAM>(SendMessageA(source, TCM_GETCURSEL, 0, 0)), 0);
}

void copyTrackbar(HWND target, HWND source) {
  const LRESULT minimum = SendMessageA(source, TBM_GETRANGEMIN, 0, 0);
  const LRESULT maximum = SendMessageA(source, TBM_GETRANGEMAX, 0, 0);
  SendMessageA(target, TBM_SETRANGEMIN, FALSE, minimum);
  SendMessageA(target, TBM_SETRANGEMAX, FALSE, maximum);
  if (GetWindowLongA(source, GWL_STYLE) & TBS_ENABLESELRANGE) {
    SendMessageA(target, TBM_SETSELSTART, FALSE, SendMessageA(source, TBM_GETSELSTART, 0, 0));
    SendMessageA(target, TBM_SETSELEND, FALSE, SendMessageA(source, TBM_GETSELEND, 0, 0));
  }
  SendMessageA(target, TBM_SETLINESIZE, 0, SendMessageA(source, TBM_GETLINESIZE, 0, 0));
  SendMessageA(target, TBM_SETPAGESIZE, 0, SendMessageA(source, TBM_GETPAGESIZE, 0, 0));
  const LRESULT tics = SendMessageA(source, TBM_GETNUMTICS, 0, 0);
  if (tics > 1) SendMessageA(target, TBM_SETTICFREQ, static_cast<WPARAM>((maximum - minimum) / (tics - 1)), 0);
  SendMessageA(target, TBM_SETPOS, TRUE, SendMessageA(source, TBM_GETPOS, 0, 0));
}

void copyEditLike(HWND target, HWND source, const FieldRecord& record) {
  SendMessageA(target, EM_LIMITTEXT, static_cast<WPARAM>(record.maximumLength), 0);
  if (!record.tabStops.empty()) {
    SendMessageA(target, EM_SETTABSTOPS, record.tabStops.size(), reinterpret_cast<LPARAM>(record.tabStops.data()));
  }
  SendMessageA(target, EM_SETREADONLY, (GetWindowLongA(source, GWL_STYLE) & ES_READONLY) ? TRUE : FALSE, 0);
}

void copyRecord(FieldRecord& to, const FieldRecord& from) {
  to.value = from.value;
  to.minimum = from.minimum;
  to.maximum = from.maximum;
  to.smallStep = from.smallStep;
  to.largeStep = from.largeStep;
  to.valuePresent = from.valuePresent;
  to.textColour = from.textColour;
  to.backgroundColour = from.backgroundColour;
  to.leftByTab = from.leftByTab;
  to.maximumLength = from.maximumLength;
  to.format = from.format;
}

void copyControl(HWND target, HWND source, ControlKind kind, bool intoCopy) {
  FieldRecord* to = fieldRecordOf(target);
  const FieldRecord* from = fieldRecordOf(source);
  if (to != nullptr && from != nullptr) copyRecord(*to, *from);
  const FieldRecord none;
  const FieldRecord& record = from != nullptr ? *from : none;
  const LONG style = GetWindowLongA(source, GWL_STYLE);
  switch (kind) {
    case kKindButton:
      SendMessageA(target, BM_SETCHECK, SendMessageA(source, BM_GETCHECK, 0, 0), 0);
      if (style & BS_BITMAP) shareImage(target, source, BM_GETIMAGE, BM_SETIMAGE, IMAGE_BITMAP, intoCopy);
      if (style & BS_ICON) shareImage(target, source, BM_GETIMAGE, BM_SETIMAGE, IMAGE_ICON, intoCopy);
      break;
    case kKindStatic: {
      const LONG type = style & SS_TYPEMASK;
      if (type == SS_BITMAP) shareImage(target, source, STM_GETIMAGE, STM_SETIMAGE, IMAGE_BITMAP, intoCopy);
      if (type == SS_ICON) shareImage(target, source, STM_GETIMAGE, STM_SETIMAGE, IMAGE_ICON, intoCopy);
      if (type == SS_ENHMETAFILE) shareImage(target, source, STM_GETIMAGE, STM_SETIMAGE, IMAGE_ENHMETAFILE, intoCopy);
      break;
    }
    case kKindCombo:
      copyCombo(target, source, record);
      break;
    case kKindList:
      copyList(target, source, record);
      break;
    case kKindTab:
      copyTabs(target, source);
      break;
    case kKindProgress: {
      PBRANGE range{};
      SendMessageA(source, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
      SendMessageA(target, PBM_SETRANGE32, static_cast<WPARAM>(range.iLow), range.iHigh);
      SendMessageA(target, PBM_SETPOS, static_cast<WPARAM>(SendMessageA(source, PBM_GETPOS, 0, 0)), 0);
      break;
    }
    case kKindGrid:
      YYGridClone(target, source, 1);
      break;
    case kKindTrackbar:
      copyTrackbar(target, source);
      break;
    case kKindTree:
      SendMessageA(target, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
      YYTreeCopy(target, TVI_ROOT, source,
                 reinterpret_cast<HTREEITEM>(SendMessageA(source, TVM_GETNEXTITEM, TVGN_ROOT, 0)));
      break;
    default:
      if (isEditLike(kind)) copyEditLike(target, source, record);
      break;
  }
  const std::string text = windowTextOf(source);
  SetWindowTextA(target, text.c_str());
  if (isEditLike(kind)) SendMessageA(target, EM_SETMODIFY, SendMessageA(source, EM_GETMODIFY, 0, 0), 0);
  EnableWindow(target, IsWindowEnabled(source));
  if (HFONT font = reinterpret_cast<HFONT>(SendMessageA(source, WM_GETFONT, 0, 0)); font != nullptr) {
    SendMessageA(target, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  if (to != nullptr && to->arrowControl != nullptr && from != nullptr && from->arrowControl != nullptr) {
    int low = 0;
    int high = 0;
    SendMessageA(from->arrowControl, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
    SendMessageA(to->arrowControl, UDM_SETRANGE32, static_cast<WPARAM>(low), high);
    std::array<UDACCEL, 2> steps{};
    const LRESULT n = SendMessageA(from->arrowControl, UDM_GETACCEL, steps.size(), reinterpret_cast<LPARAM>(steps.data()));
    if (n > 0) {
      SendMessageA(to->arrowControl, UDM_SETACCEL, static_cast<WPARAM>(std::min<LRESULT>(n, 2)),
                   reinterpret_cast<LPARAM>(steps.data()));
    }
  }
}

}  // namespace

bool tabItemDataGet(HWND tab, int index, TabItemData& data) {
  TabItemBuffer item;
  item.header.mask = TCIF_PARAM;
  if (!SendMessageA(tab, TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item))) return false;
  data = item.data;
  return true;
}

bool tabItemDataSet(HWND tab, int index, const TabItemData& data) {
  TabItemBuffer item;
  item.header.mask = TCIF_PARAM;
  item.data = data;
  return SendMessageA(tab, TCM_SETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) != 0;
}

HWND tabPageWindow(HWND tab, int index) {
  TabItemData data;
  if (!tabItemDataGet(tab, index, data)) return nullptr;
  for (int slot = 1; slot <= dialogTable.count; ++slot) {
    HWND page = dialogTable.windows[static_cast<std::size_t>(slot)];
    const DialogRecord* record = dialogRecordOf(page);
    if (record != nullptr && record->identifier == data.pageId) return page;
  }
  return nullptr;
}

INT_PTR YYDialogInit(HWND dialog, DialogRecord* record) {
  for (HWND child : controlsOf(dialog)) prepareControl(child);
  const bool modalCopy = record == nullptr;
  if (!modalCopy) {
    SetWindowLongPtrA(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(record));
    HWND root = slotOf(0).frame;
    if (root != nullptr) {
      SendMessageA(dialog, WM_SETICON, ICON_BIG, static_cast<LPARAM>(GetClassLongPtrA(root, GCLP_HICON)));
    }
  } else {
    HWND loaded = currentDialogWindow();
    dialogTable.windows[kModalCopySlot] = dialog;
    SetWindowLongPtrA(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(dialogRecordOf(loaded)));
    if (loaded != nullptr) YYDialogStateCopy(dialog, loaded);
    YYTabPagesAttach(dialog);
    YYDialogCentre(dialog);
    SetWindowPos(dialog, nullptr, dialogState.showX, dialogState.showY, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
  }
  SetWindowLongA(dialog, GWL_EXSTYLE, GetWindowLongA(dialog, GWL_EXSTYLE) | WS_EX_APPWINDOW);
  if (dialogState.showFocusField != 0) {
    if (HWND focus = GetDlgItem(dialog, dialogState.showFocusField); focus != nullptr) {
      SetFocus(focus);
      YYFieldSelectText(focus);
      dialogState.quiet = 0;
      return 0;
    }
  }
  dialogState.quiet = 0;
  return modalCopy ? 1 : 0;
}

void YYDialogStateCopy(HWND target, HWND source) {
  if (target == nullptr || source == nullptr) return;
  const bool intoCopy = target == dialogTable.windows[kModalCopySlot];
  const std::string caption = windowTextOf(source);
  SetWindowTextA(target, caption.c_str());
  if (LRESULT icon = SendMessageA(source, WM_GETICON, ICON_BIG, 0); icon != 0) {
    SendMessageA(target, WM_SETICON, ICON_BIG, icon);
  }
  RECT size{};
  GetWindowRect(source, &size);
  SetWindowPos(target, nullptr, 0, 0, size.right - size.left, size.bottom - size.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  const std::vector<HWND> targets = controlsOf(target);
  const std::vector<HWND> sources = controlsOf(source);
  const std::size_t pairs = std::min(targets.size(), sources.size());
  for (std::size_t i = 0; i < pairs; ++i) {
    HWND t = targets[i];
    HWND s = sources[i];
    const ControlKind kind = controlKindOf(s);
    // Dialogs made from different templates copy only as far as they agree.
    if (controlKindOf(t) != kind) break;
    SetWindowLongA(t, GWL_STYLE, GetWindowLongA(s, GWL_STYLE));
    if (kind == kKindArrows) continue;
    copyControl(t, s, kind, intoCopy);
  }
}

void YYBitmapFaceBackground(HBITMAP bitmap) {
  BITMAP info{};
  if (bitmap == nullptr || GetObjectA(bitmap, sizeof info, &info) == 0) return;
  const int w = info.bmWidth;
  const int h = info.bmHeight;
  HDC screen = GetDC(nullptr);
  HDC image = CreateCompatibleDC(screen);
  HDC face = CreateCompatibleDC(screen);
  HDC mask = CreateCompatibleDC(screen);
  HBITMAP faceBitmap = CreateCompatibleBitmap(screen, w, h);
  HBITMAP maskBitmap = CreateBitmap(w, h, 1, 1, nullptr);
  HGDIOBJ oldImage = SelectObject(image, bitmap);
  HGDIOBJ oldFace = SelectObject(face, faceBitmap);
  HGDIOBJ oldMask = SelectObject(mask, maskBitmap);
  // The mask is white where the image has its top-left colour.
  SetBkColor(image, GetPixel(image, 0, 0));
  BitBlt(mask, 0, 0, w, h, image, 0, 0, SRCCOPY);
  // Mask bits become the destination's background colour where set, its text
  // colour where clear: the image goes black under the mask ...
  SetBkColor(image, RGB(0, 0, 0));
  SetTextColor(image, RGB(255, 255, 255));
  BitBlt(image, 0, 0, w, h, mask, 0, 0, SRCAND);
  // ... the face colour stays only under it ...
  HBRUSH brush = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
  RECT all{0, 0, w, h};
  FillRect(face, &all, brush);
  DeleteObject(brush);
  SetBkColor(face, RGB(255, 255, 255));
  SetTextColor(face, RGB(0, 0, 0));
  BitBlt(face, 0, 0, w, h, mask, 0, 0, SRCAND);
  // ... and the two are joined.
  BitBlt(image, 0, 0, w, h, face, 0, 0, SRCPAINT);
  SelectObject(mask, oldMask);
  SelectObject(face, oldFace);
  SelectObject(image, oldImage);
  DeleteObject(maskBitmap);
  DeleteObject(faceBitmap);
  DeleteDC(mask);
  DeleteDC(face);
  DeleteDC(image);
  ReleaseDC(nullptr, screen);
}

void YYFieldSelectText(HWND control) {
  const ControlKind kind = controlKindOf(control);
  if (isEditLike(kind)) {
    if (GetWindowLongA(control, GWL_STYLE) & ES_MULTILINE) {
      SendMessageA(control, EM_SETSEL, static_cast<WPARAM>(-1), 0);
    } else {
      SendMessageA(control, EM_SETSEL, 0, -1);
    }
    SendMessageA(control, EM_SCROLLCARET, 0, 0);
  } else if (kind == kKindCombo) {
    SendMessageA(control, CB_SETEDITSEL, 0, MAKELPARAM(0xFFFF, 0));
  }
}

void YYPageFocusFirst(HWND fallback, HWND page, int setFocus) {
  HWND chosen = fallback;
  for (HWND child = GetWindow(page, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    const LONG style = GetWindowLongA(child, GWL_STYLE);
    if ((style & WS_TABSTOP) && (style & WS_VISIBLE) && !(style & WS_DISABLED)) {
      chosen = child;
      break;
    }
  }
  if (setFocus == 0 || chosen == nullptr) return;
  SetFocus(chosen);
  YYFieldSelectText(chosen);
}

void YYFieldFocus(int& field, int caret) {
  HWND dialog = currentDialogWindow();
  HWND control = currentDialogItem(field);
  if (control == nullptr) {
    field = -1;
    return;
  }
  if (!IsWindowVisible(dialog)) return;
  SetFocus(control);
  const ControlKind kind = controlKindOf(control);
  if (caret != -1 && isEditLike(kind)) {
    SendMessageA(control, EM_SETSEL, static_cast<WPARAM>(caret), caret);
    SendMessageA(control, EM_SCROLLCARET, 0, 0);
  } else if (caret != -1 && kind == kKindCombo) {
    SendMessageA(control, CB_SETEDITSEL, 0, MAKELPARAM(caret, caret));
  } else {
    YYFieldSelectText(control);
  }
  if (DialogRecord* record = dialogRecordOf(dialog); record != nullptr) record->currentField = field;
  YYActiveControlStore(dialog, control);
  if (isChildStyle(dialog) && GetParent(dialog) == slotOf(0).client) {
    SetWindowPos(dialog, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SendMessageA(dialog, WM_ACTIVATE, WA_ACTIVE, 0);
    setActiveModelessDialog(dialog);
    YYWindowFocus(dialog);
  }
}

void YYTabSelect(int& tabField, int& pageId) {
  HWND tab = currentDialogItem(tabField);
  if (controlKindOf(tab) != kKindTab) {
    tabField = -1;
    return;
  }
  const int n = static_cast<int>(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0));
  int found = -1;
  for (int i = 0; i < n && found < 0; ++i) {
    TabItemData data;
    if (tabItemDataGet(tab, i, data) && data.pageId == pageId && data.disabled == 0) found = i;
  }
  if (found < 0) {
    pageId = -1;
    return;
  }
  const int before = static_cast<int>(SendMessageA(tab, TCM_GETCURSEL, 0, 0));
  SendMessageA(tab, TCM_SETCURSEL, static_cast<WPARAM>(found), 0);
  if (before == found || !IsWindowVisible(tab)) return;
  if (HWND old = before >= 0 ? tabPageWindow(tab, before) : nullptr; old != nullptr) ShowWindow(old, SW_HIDE);
  if (HWND page = tabPageWindow(tab, found); page != nullptr) {
    SetWindowPos(page, tab, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    const DialogRecord* record = currentDialogRecord();
    YYPageFocusFirst(nullptr, page, record != nullptr && record->shown ? 1 : 0);
  }
  InvalidateRect(tab, nullptr, TRUE);
}

void YYTabPageEnable(int& tabField, int& pageId, int flag) {
  HWND tab = currentDialogItem(tabField);
  if (controlKindOf(tab) != kKindTab) {
    tabField = -1;
    return;
  }
  const int n = static_cast<int>(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0));
  bool matched = false;
  for (int i = 0; i < n; ++i) {
    TabItemData data;
    if (!tabItemDataGet(tab, i, data) || data.pageId != pageId) continue;
    matched = true;
    const int disabled = flag == 0 ? 1 : 0;
    if (data.disabled == disabled) continue;
    data.disabled = disabled;
    tabItemDataSet(tab, i, data);
    if (IsWindowVisible(tab)) {
      RECT r{};
      SendMessageA(tab, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
      InvalidateRect(tab, &r, TRUE);
    }
  }
  if (!matched) pageId = -1;
}

void YYFieldTabStops(int& field, std::span<const int> stops, int count) {
  HWND control = currentDialogItem(field);
  const ControlKind kind = controlKindOf(control);
  const bool multiLineText = kind == kKindEdit && (GetWindowLongA(control, GWL_STYLE) & ES_MULTILINE);
  FieldRecord* record = fieldRecordOf(control);
  if ((!multiLineText && kind != kKindList) || record == nullptr) {
    field = -1;
    return;
  }
  const std::size_t n = static_cast<std::size_t>(std::clamp<int>(count, 0, static_cast<int>(stops.size())));
  record->tabStops.assign(stops.begin(), stops.begin() + static_cast<std::ptrdiff_t>(n));
  const UINT message = multiLineText ? EM_SETTABSTOPS : LB_SETTABSTOPS;
  SendMessageA(control, message, n, reinterpret_cast<LPARAM>(record->tabStops.data()));
  RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}
