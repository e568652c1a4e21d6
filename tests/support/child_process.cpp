#include "support/child_process.h"

#include <cstring>
#include <map>
#include <string>

namespace testing_support {
namespace {
std::map<std::string, Scenario>& scenarios() {
  static std::map<std::string, Scenario> all;
  return all;
}
constexpr const char* kFlag = "--child-scenario=";
}  // namespace

ChildScenario::ChildScenario(const char* name, Scenario body) { scenarios()[name] = body; }

bool runScenarioFromCommandLine(int argc, char** argv, int& exitCode) {
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], kFlag, std::strlen(kFlag)) == 0) {
      const auto it = scenarios().find(argv[i] + std::strlen(kFlag));
      if (it == scenarios().end()) {
        exitCode = 98;
        return true;
      }
      it->second();
      exitCode = 0;
      return true;
    }
  }
  return false;
}

int runChildScenario(const std::string& name, const std::function<void(DWORD pid)>& whileRunning,
                     DWORD timeoutMs, const std::string& extraEnvironment) {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string commandLine = std::string("\"") + self + "\" " + kFlag + name;
  // Each extra variable is NAME=VALUE separated by '\n'; they are set for the child only.
  std::map<std::string, std::string> saved;
  std::string rest = extraEnvironment;
  while (!rest.empty()) {
    const std::size_t nl = rest.find('\n');
    const std::string item = rest.substr(0, nl);
    rest = nl == std::string::npos ? "" : rest.substr(nl + 1);
    const std::size_t eq = item.find('=');
    if (eq == std::string::npos) continue;
    const std::string var = item.substr(0, eq);
    char old[4096];
    const DWORD n = GetEnvironmentVariableA(var.c_str(), old, sizeof old);
    saved[var] = n > 0 && n < sizeof old ? std::string(old) : std::string("\x01");
    SetEnvironmentVariableA(var.c_str(), item.substr(eq + 1).c_str());
  }
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  const BOOL started = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                      nullptr, &si, &pi);
  for (const auto& [var, value] : saved) {
    SetEnvironmentVariableA(var.c_str(), value == "\x01" ? nullptr : value.c_str());
  }
  if (!started) return -2;
  DWORD waited = 0;
  while (WaitForSingleObject(pi.hProcess, 50) == WAIT_TIMEOUT) {
    waited += 50;
    if (whileRunning) whileRunning(pi.dwProcessId);
    if (waited >= timeoutMs) {
      TerminateProcess(pi.hProcess, 255);
      WaitForSingleObject(pi.hProcess, 5000);
      CloseHandle(pi.hThread);
      CloseHandle(pi.hProcess);
      return -1;
    }
  }
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return static_cast<int>(code);
}

}  // namespace testing_support
