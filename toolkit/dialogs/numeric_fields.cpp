#include "toolkit/dialogs/numeric_fields.h"

#include <commctrl.h>

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "toolkit/core/number_conversion.h"
#include "toolkit/core/toolkit_settings.h"
#include "toolkit/core/window_select.h"
#include "toolkit/core/window_table.h"
#include "toolkit/dialogs/controls.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/dialogs/field_values.h"
#include "toolkit/grid/grid_field.h"

namespace {

enum Precision : int { kInteger, kReal, kDouble };

struct NumericClass {
  const char* name;
  WNDPROC procedure;
  Precision precision;
  bool spin;
};

constexpr std::array<NumericClass, 6> kNumericClasses = {{
    {"INTEGEREDIT", YYIntegerEditProc, kInteger, false},
    {"INTEGERSPIN", YYIntegerSpinProc, kInteger, true},
    {"REALEDIT", YYRealEditProc, kReal, false},
    {"REALSPIN", YYRealSpinProc, kReal, true},
    {"DOUBLEEDIT", YYDoubleEditProc, kDouble, false},
    {"DOUBLESPIN", YYDoubleSpinProc, kDouble, true},
}};
constexpr int kIntegerFieldLength = 11;
constexpr int kReadLimit = 255;

LRESULT passToEdit(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (controlClasses.editProc == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  return CallWindowProcA(controlClasses.editProc, window, message, wParam, lParam);
}

// The decimal character of number fields.
char decimalCharacter() {
  return windowSelectState.localeDecimalSwitch != 0 ? toolkitSettings.localeDecimalSeparator : '.';
}

bool accepted(Precision precision, char c) {
  if ((c >= '0' && c <= '9') || c == '+' || c == '-') return true;
  if (precision == kInteger) return false;
  if (c == 'E' || c == decimalCharacter()) return true;
  return precision == kDouble && c == 'D';
}

bool isControlCharacter(WPARAM c) {
  return c == 1 || c == 3 || c == 8 || c == 9 || c == 13 || c == 22 || c == 24 || c == 26 || c == 27;
}

// The text of a field, at most 255 characters.
std::string fieldText(HWND window) {
  std::array<char, kReadLimit + 1> text{};
  GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
  return text.data();
}

bool isBlankText(std::string_view text) { return text::trimmedLength(text) == 0; }

LRESULT numericCommon(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      auto record = std::make_unique<FieldRecord>();
      record->smallStep = 1.0;
      record->largeStep = 5.0;
      FieldRecord* r = attachFieldRecord(window, std::move(record));
      const LRESULT created = passToEdit(window, message, wParam, lParam);
      if (created == -1) return created;
      std::string text = fieldText(window);
      if (decimalCharacter() != '.') {
        bool changed = false;
        for (char& c : text) {
          if (c == '.') {
            c = decimalCharacter();
            changed = true;
          }
        }
        if (changed) SetWindowTextA(window, text.c_str());
      }
      YYTEXTTOINT(r->value, text);
      r->valuePresent = text.empty() ? 0 : 1;
      SendMessageA(window, EM_SETMODIFY, FALSE, 0);
      return created;
    }
    case WM_SETFOCUS:
      if (FieldRecord* r = fieldRecordOf(window); r != nullptr) {
        if (dialogState.takeNewLastValidText != 0) {
          dialogState.takeNewLastValidText = 0;
          dialogState.lastValidText.fill('\0');
          GetWindowTextA(window, dialogState.lastValidText.data(), kReadLimit + 1);
          dialogState.lastValidValue = r->value;
        }
        r->leftByTab = 0;
      }
      SendMessageA(window, EM_SETMODIFY, FALSE, 0);
      return passToEdit(window, message, wParam, lParam);
    case WM_GETDLGCODE: {
      // A dialog moves the focus on Tab by itself, and the field never sees
      // the key; the dialog asks the field about the key first, and that is
      // where the field learns that Tab is leaving it.
      const auto* key = reinterpret_cast<const MSG*>(lParam);
      if (key != nullptr && key->message == WM_KEYDOWN && key->wParam == VK_TAB) {
        if (FieldRecord* r = fieldRecordOf(window); r != nullptr) r->leftByTab = 1;
      }
      return passToEdit(window, message, wParam, lParam);
    }
    case WM_KEYDOWN:
      if (wParam == VK_TAB) {
        if (FieldRecord* r = fieldRecordOf(window); r != nullptr) r->leftByTab = 1;
      } else if (wParam == VK_RETURN && (GetKeyState(VK_CONTROL) & 0x8000) == 0 &&
                 (GetKeyState(VK_MENU) & 0x8000) == 0) {
        YYDefaultButtonPress(window);
        return 0;
      }
      return passToEdit(window, message, wParam, lParam);
    default:
      return passToEdit(window, message, wParam, lParam);
  }
}

// A valid field that loses the focus takes its text as its value and shows
// it in its canonical form.
void rewriteOnFocusLoss(HWND window, Precision precision) {
  FieldRecord* r = fieldRecordOf(window);
  if (r == nullptr || window == dialogState.pendingInvalidField || window == dialogState.tabChangeInvalidField) return;
  if (precision != kInteger && SendMessageA(window, EM_GETMODIFY, 0, 0) == 0) return;
  const std::string text = fieldText(window);
  if (isBlankText(text)) {
    r->value = 0.0;
  } else {
    double value = 0.0;
    int ok = 0;
    YYTEXTTOINTOK(value, ok, text);
    if (ok == 0) return;
    r->value = value;
    r->valuePresent = 1;
    std::array<char, kReadLimit + 1> canonical{};
    TextField field(canonical.data(), kReadLimit);
    field.assign(text);
    const std::string_view format = r->format != nullptr && !text::isBlank(*r->format)
                                        ? std::string_view(*r->format)
                                        : kDefaultRealFormat;
    if (precision == kInteger) {
      YYREFMTINT(field);
    } else if (precision == kReal) {
      YYREFMTREAL(field, format);
    } else {
      YYREFMTDBL(field, format);
    }
    const std::string rewritten(fieldTextOf(field.view()));
    if (rewritten != text) SetWindowTextA(window, rewritten.c_str());
  }
  SendMessageA(window, EM_SETMODIFY, FALSE, 0);
}

LRESULT numericEditProc(const NumericClass& cls, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      const LRESULT created = numericCommon(window, message, wParam, lParam);
      if (created != -1 && cls.precision == kInteger) {
        if (FieldRecord* r = fieldRecordOf(window); r != nullptr) r->maximumLength = kIntegerFieldLength;
        SendMessageA(window, EM_LIMITTEXT, kIntegerFieldLength, 0);
      }
      return created;
    }
    case WM_SETFOCUS:
    case WM_KEYDOWN:
    case WM_GETDLGCODE:
      return numericCommon(window, message, wParam, lParam);
    case WM_CHAR: {
      if (wParam == 1) {
        SendMessageA(window, EM_SETSEL, 0, -1);
        SendMessageA(window, EM_SCROLLCARET, 0, 0);
        return 0;
      }
      if (isControlCharacter(wParam)) return passToEdit(window, message, wParam, lParam);
      char c = static_cast<char>(wParam);
      if (c == 'e' || c == 'd') c = static_cast<char>(c - 32);
      if (!accepted(cls.precision, c)) {
        YYBeepIfEnabled();
        return 0;
      }
      return passToEdit(window, message, static_cast<WPARAM>(static_cast<unsigned char>(c)), lParam);
    }
    case WM_KILLFOCUS: {
      const bool refused = YYFieldValidate(window, reinterpret_cast<HWND>(wParam), 0) == 1;
      if (refused) return 0;
      const LRESULT answer = passToEdit(window, message, wParam, lParam);
      rewriteOnFocusLoss(window, cls.precision);
      return answer;
    }
    case WM_NCDESTROY: {
      // A field destroyed outside a dialog's clean-up still gives its record back.
      const LRESULT answer = passToEdit(window, message, wParam, lParam);
      releaseFieldRecord(window);
      return answer;
    }
    default:
      return passToEdit(window, message, wParam, lParam);
  }
}

void makeArrowControl(const NumericClass& cls, HWND window) {
  FieldRecord* r = fieldRecordOf(window);
  if (r == nullptr) return;
  DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | UDS_ALIGNRIGHT | UDS_ARROWKEYS;
  if (cls.precision != kInteger) style |= UDS_NOTHOUSANDS;
  if (GetWindowLongA(window, GWL_STYLE) & ES_READONLY) style |= WS_DISABLED;
  HWND arrows = CreateWindowExA(0, UPDOWN_CLASSA, " ", style, 0, 0, 1, 1, GetParent(window),
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(-1)),
                                reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE)), nullptr);
  if (arrows == nullptr) return;
  r->arrowControl = arrows;
  SendMessageA(arrows, UDM_SETBUDDY, reinterpret_cast<WPARAM>(window), 0);
  SendMessageA(arrows, UDM_SETRANGE, 0, MAKELPARAM(100, -100));
  std::array<UDACCEL, 2> steps{{{0, 1}, {2, 5}}};
  SendMessageA(arrows, UDM_SETACCEL, steps.size(), reinterpret_cast<LPARAM>(steps.data()));
  const std::string text = fieldText(window);
  if (cls.precision == kInteger) {
    SendMessageA(arrows, UDM_SETPOS, 0, MAKELPARAM(static_cast<WORD>(YYParseInt(text.c_str()) & 0xFFFF), 0));
  }
  SetWindowTextA(window, text.c_str());
  SendMessageA(window, EM_SETMODIFY, FALSE, 0);
  if (controlClasses.arrowProc == nullptr) {
    controlClasses.arrowProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(arrows, GWLP_WNDPROC));
  }
  SetWindowLongPtrA(arrows, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(YYSpinArrowProc));
}

LRESULT numericSpinProc(const NumericClass& cls, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT answer = numericEditProc(cls, window, message, wParam, lParam);
  if (message == WM_CREATE && answer != -1) makeArrowControl(cls, window);
  return answer;
}

const NumericClass& classOf(int index) { return kNumericClasses[static_cast<std::size_t>(index)]; }

bool isRootWindow(HWND window) {
  return window != nullptr && (window == slotOf(0).frame || window == slotOf(0).client);
}

template <ControlKind Kind, typename Step>
void setSpinSteps(int& field, Step smallStep, Step largeStep) {
  HWND control = currentDialogItem(field);
  FieldRecord* r = fieldRecordOf(control);
  if (controlKindOf(control) != Kind || r == nullptr) {
    field = -1;
    return;
  }
  r->smallStep = static_cast<double>(smallStep);
  r->largeStep = static_cast<double>(largeStep);
}

}  // namespace

LRESULT CALLBACK YYIntegerEditProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return numericEditProc(classOf(0), w, m, wp, lp); }
LRESULT CALLBACK YYIntegerSpinProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return numericSpinProc(classOf(1), w, m, wp, lp); }
LRESULT CALLBACK YYRealEditProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return numericEditProc(classOf(2), w, m, wp, lp); }
LRESULT CALLBACK YYRealSpinProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return numericSpinProc(classOf(3), w, m, wp, lp); }
LRESULT CALLBACK YYDoubleEditProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return numericEditProc(classOf(4), w, m, wp, lp); }
LRESULT CALLBACK YYDoubleSpinProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return numericSpinProc(classOf(5), w, m, wp, lp); }

LRESULT CALLBACK YYSpinArrowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_LBUTTONDOWN) {
    if (HWND buddy = reinterpret_cast<HWND>(SendMessageA(window, UDM_GETBUDDY, 0, 0)); buddy != nullptr) {
      SetFocus(buddy);
    }
  }
  if (controlClasses.arrowProc == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  return CallWindowProcA(controlClasses.arrowProc, window, message, wParam, lParam);
}

void YYNumericFieldClasses() {
  HMODULE module = windowTable.module != nullptr ? windowTable.module : GetModuleHandleA(nullptr);
  WNDCLASSA existing{};
  if (GetClassInfoA(module, kNumericClasses[0].name, &existing)) {
    if (controlClasses.numericAtoms[0] == 0) {
      for (std::size_t i = 0; i < kNumericClasses.size(); ++i) {
        controlClasses.numericAtoms[i] = static_cast<ATOM>(GetClassInfoA(module, kNumericClasses[i].name, &existing));
      }
    }
    return;
  }
  HWND probe = CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 0, 0, slotOf(0).frame, nullptr, module, nullptr);
  if (probe == nullptr) probe = CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, module, nullptr);
  if (probe == nullptr) return;
  controlClasses.editProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(probe, GWLP_WNDPROC));
  controlClasses.editAtom = static_cast<ATOM>(GetClassLongPtrA(probe, GCW_ATOM));
  WNDCLASSA base{};
  base.style = static_cast<UINT>(GetClassLongPtrA(probe, GCL_STYLE)) & ~static_cast<UINT>(CS_GLOBALCLASS);
  base.cbWndExtra = static_cast<int>(GetClassLongPtrA(probe, GCL_CBWNDEXTRA));
  base.hIcon = reinterpret_cast<HICON>(GetClassLongPtrA(probe, GCLP_HICON));
  base.hCursor = reinterpret_cast<HCURSOR>(GetClassLongPtrA(probe, GCLP_HCURSOR));
  base.hbrBackground = reinterpret_cast<HBRUSH>(GetClassLongPtrA(probe, GCLP_HBRBACKGROUND));
  DestroyWindow(probe);
  base.hInstance = module;
  for (std::size_t i = 0; i < kNumericClasses.size(); ++i) {
    WNDCLASSA wc = base;
    wc.lpfnWndProc = kNumericClasses[i].procedure;
    wc.lpszClassName = kNumericClasses[i].name;
    controlClasses.numericAtoms[i] = RegisterClassA(&wc);
  }
}

int YYFieldValidate(HWND field, HWND gettingFocus, int strict) {
  if (dialogState.validationRunning != 0 || yyGridValidationSuspended != 0) return 0;
  if (!isNumericField(field) || isRootWindow(gettingFocus)) return 0;
  FieldRecord* r = fieldRecordOf(field);
  if (r == nullptr) return 0;
  dialogState.tabChangeInvalidField = nullptr;
  bool pendingSet = false;
  if (gettingFocus != field) {
    dialogState.pendingInvalidField = nullptr;
    if (r->leftByTab == 0 && isPushButton(gettingFocus) && GetDlgCtrlID(gettingFocus) != IDOK) {
      dialogState.pendingInvalidField = field;
      pendingSet = true;
    } else if (controlKindOf(gettingFocus) == kKindTab) {
      dialogState.tabChangeInvalidField = field;
    }
  }
  const std::string text = fieldText(field);
  bool invalid = false;
  if (isBlankText(text)) {
    invalid = r->valuePresent != 0 && r->hasRange();
  } else {
    double value = 0.0;
    int ok = 0;
    YYTEXTTOINTOK(value, ok, text);
    invalid = ok != 0 ? r->outOfRange(value) : (gettingFocus != field || strict != 0);
  }
  if (invalid) {
    if (pendingSet) return 0;
    dialogState.validationRunning = 1;
    YYFieldRefocus(gettingFocus, field, r->leftByTab);
    dialogState.validationRunning = 0;
    return 1;
  }
  if (gettingFocus != field) {
    dialogState.pendingInvalidField = nullptr;
    dialogState.tabChangeInvalidField = nullptr;
    dialogState.takeNewLastValidText = 1;
  }
  return 0;
}

void YYFieldRefocus(HWND gotFocus, HWND invalidField, int leftByTab) {
  if (gotFocus != invalidField) YYBeepIfEnabled();
  SetFocus(invalidField);
  SendMessageA(invalidField, EM_SETSEL, 0, -1);
  if (!isPushButton(gotFocus)) return;
  HWND dialog = GetParent(gotFocus);
  const LRESULT defaultId = SendMessageA(dialog, DM_GETDEFID, 0, 0);
  const int id = HIWORD(defaultId) == DC_HASDEFID ? LOWORD(defaultId) : IDOK;
  if (GetDlgCtrlID(gotFocus) == id) return;
  SendMessageA(gotFocus, BM_SETSTYLE, leftByTab != 0 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
  if (HWND defaultButton = GetDlgItem(dialog, id); defaultButton != nullptr) {
    SendMessageA(defaultButton, BM_SETSTYLE, leftByTab != 0 ? BS_PUSHBUTTON : BS_DEFPUSHBUTTON, TRUE);
  }
}

void YYFieldRangeStore(int& field, double minimum, double maximum, HWND dialog) {
  FieldRecord* r = fieldRecordOf(dialog != nullptr ? GetDlgItem(dialog, field) : nullptr);
  if (r == nullptr) {
    field = -1;
    return;
  }
  r->minimum = minimum;
  r->maximum = maximum;
}

void YYIntegerSpinSteps(int& field, int smallStep, int largeStep) {
  setSpinSteps<kKindIntegerSpin>(field, smallStep, largeStep == 0 ? smallStep : largeStep);
}

void YYRealSpinSteps(int& field, float smallStep, float largeStep) {
  setSpinSteps<kKindRealSpin>(field, smallStep, largeStep);
}

void YYDoubleSpinSteps(int& field, double smallStep, double largeStep) {
  setSpinSteps<kKindDoubleSpin>(field, smallStep, largeStep);
}
