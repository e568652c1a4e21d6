#pragma once
// Registration of the grid control's window classes and its cell-change message.

#include <windows.h>

struct YYGridClasses {
  ATOM gridAtom = 0;
  ATOM clientAtom = 0;
  UINT cellChangeMessage = 0;  // GM_CELLCHANGE
  int printerSetUp = 0;
};
extern YYGridClasses yyGridClasses;

// Registers QVRGRID, QVRGRIDCLIENT and "GM_CELLCHANGE" once; nothing when the
// grid class is already registered.
void YYGridRegister();
