#include "toolkit/core/processes.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/core/error_reporter.h"
#include "toolkit/core/scoped_handle.h"
#include "toolkit/core/strings.h"

namespace {

constexpr int kOperatingSystemError = 13;
constexpr int kProcessTimedOut = 1034;
constexpr int kTextTooSmall = 1023;
constexpr DWORD kPollMilliseconds = 100;

// A failure whose code Windows did not give still counts as a failure.
int failureCode(DWORD code) { return code != 0 ? static_cast<int>(code) : ERROR_GEN_FAILURE; }

// Waits for the process while keeping the caller's windows painted: queued
// messages are taken off; repaints are dispatched, everything else is dropped.
// Repaints come only once nothing else is queued, so looking at the process
// after one loses no input and ends the wait even if a window never validates.
void waitPainting(HANDLE process, int& result, int& osError) {
  for (;;) {
    MSG message;
    if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message != WM_PAINT) continue;
      DispatchMessageA(&message);
      if (WaitForSingleObject(process, 0) != WAIT_OBJECT_0) continue;
      result = kRunEnded;
      return;
    }
    const DWORD outcome = WaitForSingleObject(process, kPollMilliseconds);
    if (outcome == WAIT_TIMEOUT) continue;
    if (outcome == WAIT_FAILED) {
      osError = failureCode(GetLastError());
      result = osError;
      return;
    }
    result = kRunEnded;
    return;
  }
}

void waitLimited(HANDLE process, int timeoutSeconds, int& result, int& osError) {
  const std::int64_t ms = static_cast<std::int64_t>(timeoutSeconds) * 1000;
  const DWORD limit = static_cast<DWORD>(std::min<std::int64_t>(ms, INFINITE - 1));
  const DWORD outcome = WaitForSingleObject(process, limit);
  if (outcome == WAIT_TIMEOUT) {
    result = kRunTimedOut;
  } else if (outcome == WAIT_FAILED) {
    osError = failureCode(GetLastError());
    result = osError;
  } else {
    result = kRunEnded;
  }
}

}  // namespace

void YYOsRunProcess(const char* command, int hidden, int wait, int timeoutSeconds, int& result,
                    int& osError) {
  const WORD show = hidden != 0 ? SW_HIDE : SW_SHOWNORMAL;
  osError = 0;
  if (wait == 0) {
    result = static_cast<int>(WinExec(command, show));
    if (result < 32) osError = result != 0 ? result : ERROR_NOT_ENOUGH_MEMORY;
    return;
  }
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = show;
  PROCESS_INFORMATION info{};
  // CreateProcessA may write into the command line, so it gets a copy.
  std::vector<char> line(command, command + lstrlenA(command) + 1);
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE,
                      CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup, &info)) {
    osError = failureCode(GetLastError());
    result = osError;
    return;
  }
  const KernelHandle process(info.hProcess);
  const KernelHandle thread(info.hThread);
  // A program still running after a time-out keeps running: nothing ends it.
  if (timeoutSeconds < 0) {
    waitPainting(process.get(), result, osError);
  } else {
    waitLimited(process.get(), timeoutSeconds, result, osError);
  }
}

void YYOsWinExec(const char* command, int& result) { result = static_cast<int>(WinExec(command, SW_SHOWNORMAL)); }

void IOsCommand(std::string_view command, std::optional<int> flags, std::optional<int> timeoutSeconds) {
  const std::string line = windowsText(command);
  if (line.empty()) return;
  const int bits = flags.value_or(0);
  int result = 0;
  int osError = 0;
  YYOsRunProcess(line.c_str(), bits & kCommandHidden, bits & kCommandWait, timeoutSeconds.value_or(-1),
                 result, osError);
  if (result == kRunTimedOut && osError == 0) {
    YYErrorReport(kProcessTimedOut, "IOsCommand");
  } else if (osError != 0) {
    errorState.osError = osError;
    YYErrorReport(kOperatingSystemError, "IOsCommand");
  }
}

void YYOsGetEnv(int& count, const char* name, char* buffer, int size) {
  count = static_cast<int>(GetEnvironmentVariableA(name, buffer, static_cast<DWORD>(size)));
}

void YYOsSetEnv(const char* name, const char* value) { SetEnvironmentVariableA(name, value); }

void IOsVariable(std::string_view name, TextField value) {
  value.blank();
  int start = 0, end = 0;
  YYTokenScan(name, start, end);
  if (start == 0) return;
  const std::string variable(name.substr(static_cast<std::size_t>(start - 1),
                                         static_cast<std::size_t>(end - start + 1)));
  std::vector<char> buffer(static_cast<std::size_t>(value.length()) + 1, '\0');
  int count = 0;
  YYOsGetEnv(count, variable.c_str(), buffer.data(), static_cast<int>(buffer.size()));
  if (count >= value.length() + 1) {
    YYErrorReport(kTextTooSmall, "IOsVariable");
    return;
  }
  if (count > 0) value.assign(std::string_view(buffer.data(), static_cast<std::size_t>(count)));
}
