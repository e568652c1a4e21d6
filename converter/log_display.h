#pragma once
// The twelve-line log of the main window and the "Data Error" report of readers.

#include <windows.h>

#include <array>
#include <cstdint>
#include <string_view>

#include "toolkit/core/fixed_text.h"

// The region functions' result code ERROR of <windows.h> would swallow the data
// error report of the same name; nothing of the converter uses that code.
#undef ERROR

struct LogDisplay {
  static constexpr int LOG_MAX = 12;
  std::array<FixedText<128>, LOG_MAX> LOG_LINES;  // line 1 at the top
  std::int32_t LOG_COUNT = 0;                     // lines in use
};
extern LogDisplay LOG_DISPLAY;

// Appends a line to the log and draws it; a full log drops its first line and is
// drawn again.  A line is kept as its first 128 characters.
void SCROLL(std::string_view text);

// Clears the window and draws the lines of the log, line k at y = 800 k.
void REDRAW_LOG();
// Empties the log and clears the window.
void EMPTY_LOG();

// Shows the "Data Error" box: the message, an empty line, the record after
// "In record: " and, by mode, the hint alone (1), after "Correct format is: " (2)
// or after "Reading: " (any other).  Then the action: "quit" sets STOP_FLAG,
// "clear" empties the log, anything else does nothing more.
void ERROR(std::int32_t mode, std::string_view message, std::string_view hint, std::string_view record,
           std::string_view action);
