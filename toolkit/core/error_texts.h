#pragma once
// The toolkit's table of error texts and the system and zlib texts that go with
// errors 13 and 1044.

#include <windows.h>

#include "toolkit/core/fixed_text.h"

// Text kinds of YYErrorText.
enum ErrorTextKind : int { kTableText = 1, kSystemText = 2, kZlibText = 3 };

// Fills `out` with the text of `number` for the kind, cut to its length and
// blank-filled; a number without a text gives blanks, an unknown kind leaves `out`.
void YYErrorText(int number, TextField out, int kind = kTableText);

// FormatMessageA for a Windows error code into `buffer`; returns its result.
DWORD YYOsErrorText(DWORD code, char* buffer, DWORD size);
