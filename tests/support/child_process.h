#pragma once
// Scenarios that must run in a process of their own (start-up runs once per
// process; some paths end the process).  The test program starts a copy of itself
// with --child-scenario=NAME; its main runs the scenario instead of the tests.

#include <windows.h>

#include <functional>
#include <string>

namespace testing_support {

using Scenario = void (*)();

// Registers a scenario under a name; use at namespace scope through a static object.
struct ChildScenario {
  ChildScenario(const char* name, Scenario body);
};

// Runs the scenario in a child process and returns its exit code.  `whileRunning`
// is called every 50 ms with the child's process id until it ends; the child is
// killed (and -1 returned) after `timeoutMs`.
int runChildScenario(const std::string& name, const std::function<void(DWORD pid)>& whileRunning = {},
                     DWORD timeoutMs = 60000, const std::string& extraEnvironment = {});

// Called by main: runs the scenario named on the command line, if any.
bool runScenarioFromCommandLine(int argc, char** argv, int& exitCode);

}  // namespace testing_support
