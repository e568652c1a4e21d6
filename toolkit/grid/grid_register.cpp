#include "toolkit/grid/grid_register.h"

#include "toolkit/grid/grid_client.h"
#include "toolkit/grid/grid_printing.h"
#include "toolkit/grid/grid_window.h"

YYGridClasses yyGridClasses;

namespace {

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
  yyGridClasses.gridAtom = registerGridClass("QVRGRID", YYGridWndProc, sizeof(LONG_PTR));
  yyGridClasses.clientAtom = registerGridClass("QVRGRIDCLIENT", YYGridClientWndProc, 0);
  yyGridClasses.cellChangeMessage = RegisterWindowMessageA("GM_CELLCHANGE");
  yyGridClasses.printerSetUp = 0;
  yyGridPrintInitialised = 0;
  YYGridWindowHooksInstall();
}
