#pragma once
// Building the NUL-ended paths that the toolkit hands to Windows.  Every path
// buffer holds kPathLength characters, its closing NUL included, so a path of
// kPathLength characters or more is refused, never cut into another name.

#include <windows.h>

#include <string>
#include <string_view>

#include "toolkit/core/toolkit_settings.h"

// The Windows code the toolkit reports for a path too long for its buffer.
constexpr int kPathTooLongCode = ERROR_FILENAME_EXCED_RANGE;

inline bool fitsPathBuffer(std::string_view path) {
  return path.size() <= static_cast<std::size_t>(kPathLength - 1);
}

// The text from its first column that is neither blank nor NUL to its last
// non-blank column; empty when there is none.
std::string_view significantText(std::string_view text);

// Everything up to and including the last "\" or ":"; empty when there is none.
std::string_view directoryPart(std::string_view name);
