#include "toolkit/grid/grid_register.h"

YYGridClasses yyGridClasses;

namespace {
// The grid's own window procedures come with the grid control; until then a
// grid window behaves as a plain window.
LRESULT CALLBACK gridProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

ATOM registerGridClass(const char* name, int extraBytes) {
  WNDCLASSA wc{};
  wc.style = CS_PARENTDC;
  wc.lpfnWndProc = gridProc;
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
  yyGridClasses.gridAtom = registerGridClass("QVRGRID", 4);
  yyGridClasses.clientAtom = registerGridClass("QVRGRIDCLIENT", 0);
  yyGridClasses.cellChangeMessage = RegisterWindowMessageA("GM_CELLCHANGE");
  yyGridClasses.printerSetUp = 0;
}
