#pragma once
// The toolkit's ini file: lines of "keyword = value" that set toolkit settings.

#include <string_view>

// Applies one line of the ini file to the toolkit settings.  Returns true when
// the line asks for the toolkit version (a keyword beginning "VER").
bool YYIniLineApply(std::string_view line);
// Reads the ini file line by line; versionAsked tells whether a line asked for
// the version.  Returns false, reading nothing, when the file cannot be opened.
bool YYIniFileRead(const char* path, bool& versionAsked);
