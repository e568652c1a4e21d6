#pragma once
// Starting other programs and reading the environment.

#include <optional>
#include <string_view>

#include "toolkit/core/fixed_text.h"

// Flags of IOsCommand: bit 0 hidden window, bit 1 wait until the program ends.
constexpr int kCommandHidden = 1;
constexpr int kCommandWait = 2;

// Runs the command line (trailing blanks dropped; a blank command does nothing).
// Without the wait flag the program is started and the call returns at once.
// With it the call returns when the program ends; with no time-out (absent or
// negative) repaint messages are handled meanwhile and all others dropped.
// Reports 13 (with the Windows code in the OS error word) for a program that
// cannot be started or waited for, and 1034 when the time-out expires.
void IOsCommand(std::string_view command, std::optional<int> flags = std::nullopt,
                std::optional<int> timeoutSeconds = std::nullopt);

// Result word in the convention of WinExec: 32 or more success, -1 time-out
// expired.  osError is 0 when the program was started (and, waiting, ended or
// outlived its time-out) and the Windows code of the failure otherwise, so that
// failure never hides behind a code of 32 or more.
constexpr int kRunTimedOut = -1;
constexpr int kRunEnded = 32;
void YYOsRunProcess(const char* command, int hidden, int wait, int timeoutSeconds, int& result,
                    int& osError);
// WinExec with the window shown; result as WinExec gives it.
void YYOsWinExec(const char* command, int& result);

// The variable named by the first word of `name`; blank when unset or empty.
// A value longer than the text reports 1023 and leaves the text blank.
void IOsVariable(std::string_view name, TextField value);
// GetEnvironmentVariableA: count is its result.
void YYOsGetEnv(int& count, const char* name, char* buffer, int size);
void YYOsSetEnv(const char* name, const char* value);
