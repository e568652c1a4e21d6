#pragma once
// File-name and output-text helpers shared by the main program, Open and Save and
// the format modules.  Paths use the backslash as their only folder separator.
// Results are written into the caller's text, cut to it or padded with blanks.

#include <string_view>

#include "toolkit/core/fixed_text.h"

// The path shortened for a log line: leading folders give way to "...\" until it
// fits `width` (the result may be one character longer).
void FIT(std::string_view path, int width, TextField result);

// The path cut after its last backslash (its folder); blank without one.
void ROOT(TextField path);

namespace carrowmapper {
// The file name of the path without folder and extension: walk.2007 of
// D:\Maps\walk.2007.gpx; blank when the path holds no ".".  It lives in the
// module's namespace because the C library's FILE type owns the global name.
void FILE(std::string_view path, TextField name);
}  // namespace carrowmapper

// Splits the path at its last ".": base = before it, extension = after it (cut to
// the extension's length, A-Z lowered).  Without a "." the base is blank and the
// extension is the start of the path.
void EXTN(std::string_view path, TextField base, TextField extension);

// Raises the small letters of the trimmed text in place: a-z and the accented
// small letters of code page 1252 (224-254 except the division sign 247).
void UCASE(TextField text);

// The value in F10.5, moved to the left of the result; ten asterisks when it does
// not fit.
void LJUST(float value, TextField result);

// The value written with the format (one edit descriptor such as "(F10.5)"), its
// first "." made a ",", moved to the left: the decimal comma of some outputs.
void CNUM(float value, TextField text, std::string_view format);

// The text wrapped as "<![CDATA[" + trimmed text + "]]>" when it holds "<", "&",
// ":" or "]]>", else the text itself.  The wrapper always closes: the inner text is cut
// to make room for "]]>", and a "]]>" inside the text is split across two sections.
void CDATA(std::string_view text, TextField result);
