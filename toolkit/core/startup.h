#pragma once
// Toolkit start-up, the command line and the abnormal exit.

#include <string_view>

#include "toolkit/core/fixed_text.h"

// Prepares the toolkit once per process, before the first window opens: screen,
// toolkit directory, start values, environment variables, the ini file,
// temporary file names, the command line and the hardcopy defaults.  The ini
// file named here (blank: none) is read in place of the one found by search.
// Later calls do nothing.
void WStartup(std::string_view iniFile = {});

// Item n (0 or more) of the command line into the text, blank when there is no
// such item; item 0 is the program's own path.
void IOsCmdLineItem(int n, TextField text);
// Copies item n when it exists and returns n; otherwise leaves the text and
// returns the number of the last item (with n = -1: the number of arguments).
int YYCmdLineCache(int n, TextField text);

// The screen: width and height in pixels, colour count, colour-depth code and
// device kind (always 3); also records pixels per inch and the Windows version.
void YYScreenMetrics(int& width, int& height, int& colourCount, int& depthCode, int& deviceKind);
// The toolkit directory from ZANDRO, ZOVE or the current drive; also the
// locale's decimal separator (switch off) and LFNGEN.
void YYToolkitDir();
// The first free "qvr$$NN.plt" and "qvr$$NN.dmp" in the temporary directory.
void YYTempFileNames();

// Shows the abnormal-exit box unless the message is blank, then ends the process
// with the code.  The toolkit is not shut down.
[[noreturn]] void YYAbnormalExit(std::string_view message, int code);
