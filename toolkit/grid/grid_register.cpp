#include "toolkit/grid/grid_register.h"

#include "toolkit/grid/grid_field.h"

YYGridClasses yyGridClasses;

namespace {
// The grid window's cells, scrolling and keys are not built yet: the window
// owns its record and otherwise behaves as a plain window.
LRESULT CALLBACK gridProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCDESTROY) YYGridRecordRelease(window);
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK clientProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

ATOM registerGridClass(const char* name, WNDPROC procedure, int extraBytes) {
  WNDCLASSA wc{};
  wc.style = CS_PARENTDC;
  wc.lpfnWndProc = procedure;
  wc.cbWndExtra = extraBytes;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = name;
  return RegisterClassA(&wc);
}
}  // namespace

void YYGridRegister() {
  WNDCLASSA existing{};
  if (GetClassInfoA(GetModuleHandleA(nullptr), "QVRGRID", &existing)) return;
  yyGridClasses.gridAtom = registerGridClass("QVRGRID", gridProc, sizeof(LONG_PTR));
  yyGridClasses.clientAtom = registerGridClass("QVRGRIDCLIENT", clientProc, 0);
  yyGridClasses.cellChangeMessage = RegisterWindowMessageA("GM_CELLCHANGE");
  yyGridClasses.printerSetUp = 0;
}
