#pragma once
// Small queries and switches: numbered facts about the machine, the program
// associated with a file, beeps by word, the locale's decimal separator and
// whether gradient fills can be left to the system.

#include <windows.h>

#include <string_view>

#include "toolkit/core/fixed_text.h"

// The answer to question `code` (see the table in system_info.cpp); codes that
// are not in the table answer 0.  Never reports.
int YYSYSINFO(int code);
// Full path of the program Windows associates with the file; blank on failure
// (error 1 for a missing file, 1023 when the path does not fit).
void IOsAssociation(std::string_view fileName, TextField program);
// "ON" switches beeps on, "OFF" off (first three characters, any case); any
// other word sounds one beep.
void YYBeepOnOff(std::string_view word);
// The first character of the user locale's decimal separator; also kept in the
// toolkit settings as a character code.
void YYLocaleDecimal(char& separator);
// 2 when GradientFill is available, else 1.
void YYGradientAvailable(int& value);

// msimg32's GradientFill, bound when the root window is created; null until then
// or when the system lacks it.
using GradientFillFunction = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);
extern GradientFillFunction yyGradientFill;
