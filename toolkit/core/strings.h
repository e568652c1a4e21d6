#pragma once
// Small operations on blank-padded texts: case, justification, token walking,
// case-blind search, and copying NUL-ended texts from Windows into fields.

#include <optional>
#include <string_view>

#include "toolkit/core/fixed_text.h"

void IStringUpper(TextField text);
void IStringLower(TextField text);
// Left (mode holds L or l), right (R or r), else centred, within the field.
void IStringAlign(TextField text, std::string_view mode);

// The token walker: takes the first token and blanks it in the text.
void IStringNextWord(TextField text, TextField word);
void IStringNextInteger(TextField text, int& value);
void IStringNextReal(TextField text, float& value);
void IStringNextDouble(TextField text, double& value);

// Column of `sub` in `text` regardless of case (last occurrence when back is
// true); 0 when absent.
int IStringFindNoCase(std::string_view text, std::string_view sub,
                      std::optional<bool> back = std::nullopt);

// The first blank-delimited token's columns; 0, 0 when the text is blank.
void YYTokenScan(std::string_view text, int& start, int& end);
int YYFirstNonBlank(std::string_view text);
bool YYHasCharAnyCase(std::string_view text, char c);

// NUL-ended texts from the toolkit's Windows-level code.
int YYStrLen(const char* text);
int YYWordLen(const char* text);
void YYStrToBlankPadded(const char* source, char* destination, int length);

// Logical values of the toolkit's interfaces.
constexpr int kTrue = -1;
constexpr int kFalse = 0;
