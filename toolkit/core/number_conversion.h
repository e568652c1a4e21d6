#pragma once
// Conversions between numbers and blank-padded texts, with precise error reports.

#include <string_view>

#include "toolkit/core/fixed_text.h"

// Readers take the first blank-delimited token and leave 0 when they report.
void IStringToInteger(std::string_view text, int& value);
void IStringToReal(std::string_view text, float& value);
void YYStringToDouble(std::string_view text, double& value);

// Writers: the value with a one-descriptor format such as "(I4)", "(F8.2)" or
// "(G15.5E2)"; ten asterisks and error 18 when it does not fit or the format is bad.
void IntegerToString(int value, TextField out, std::string_view format);
void IRealToString(float value, TextField out, std::string_view format);
void IDoubleToString(double value, TextField out, std::string_view format);

// A plain decimal integer: optional "-", digits up to the first non-digit; 0 when
// there are none.  Values beyond the 32-bit range are clamped to it.
int YYParseInt(const char* text);
