#pragma once
// Conversions between the numbers of dialog fields and the texts their
// controls hold.  Texts handed over by a control end at their first NUL;
// texts made here are left-justified and end with a NUL when there is room.
// Reading a field's text never reports and never disturbs the last error.

#include <string_view>

#include "toolkit/core/fixed_text.h"

// The integer format of fields, and the format of real and double fields that
// have none of their own.
inline constexpr std::string_view kIntegerFieldFormat = "(I11)";
inline constexpr std::string_view kDefaultRealFormat = "(G15.5E2)";

// The characters before the first NUL; without one, the text less its
// trailing blanks.
std::string_view fieldTextOf(std::string_view text);

void YYNumberToString(double value, TextField text, std::string_view format);
void YYINTTOTEXT(int value, TextField text);
void YYREALTOTEXT(float value, TextField text, std::string_view format);

void YYTEXTTOINT(double& value, std::string_view text);
// As YYTEXTTOINT; ok is 1 when the text read as a number, else 0.
void YYTEXTTOINTOK(double& value, int& ok, std::string_view text);
void YYTEXTTOREAL(float& value, std::string_view text);
// Reads a 32-bit real and keeps its truncation toward zero.
void YYTEXTTOREALOK(int& value, std::string_view text);

// Re-write a field's text in its canonical form; a text that does not read as
// a number is left as it is.
void YYREFMTINT(TextField text);
void YYREFMTREAL(TextField text, std::string_view format);
void YYREFMTDBL(TextField text, std::string_view format);
