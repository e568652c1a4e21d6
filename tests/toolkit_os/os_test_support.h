#pragma once
// Fixtures shared by the operating-system service tests: a scratch directory
// that is made fresh and removed again, small file helpers, and reports that a
// child process writes as "key=value" lines.

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace os_test {

inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void writeFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
}

inline bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

inline std::string currentDirectory() {
  char buffer[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, buffer);
  return buffer;
}

inline std::string temporaryFolder() {
  char buffer[MAX_PATH] = {};
  const DWORD n = GetTempPathA(MAX_PATH, buffer);
  std::string folder = n > 0 && n < MAX_PATH ? std::string(buffer, n) : currentDirectory();
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  return folder;
}

// Where a scratch directory lies: under the working directory, in the build
// folder wherever the clone lies, or in the system's temporary folder, whose
// name is short and the same wherever the clone lies (for tests whose command
// lines or paths must fit a fixed length).
enum class ScratchPlace { kWorkingDirectory, kTemporaryFolder };

// A directory of the test's own, empty at the start and removed at the end.
// Paths are Windows paths without a closing backslash.
class ScratchDir {
 public:
  explicit ScratchDir(const std::string& name, ScratchPlace place = ScratchPlace::kWorkingDirectory)
      : path_(place == ScratchPlace::kWorkingDirectory
                  ? currentDirectory() + "\\scratch_" + name
                  : temporaryFolder() + "\\scratch_" + name + "_" + std::to_string(GetCurrentProcessId())) {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
    std::filesystem::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }
  std::string file(const std::string& name, const std::string& content = "x") const {
    const std::string p = *this / name;
    writeFile(p, content);
    return p;
  }
  std::string dir(const std::string& name) const {
    const std::string p = *this / name;
    std::filesystem::create_directories(p);
    return p;
  }

 private:
  std::string path_;
};

using Report = std::map<std::string, std::string>;

inline void writeReport(const std::string& path, const Report& report) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  for (const auto& [key, value] : report) out << key << '=' << value << '\n';
}

inline Report readReport(const std::string& path) {
  Report report;
  std::istringstream in(readFile(path));
  std::string line;
  while (std::getline(in, line)) {
    const std::size_t eq = line.find('=');
    if (eq != std::string::npos) report[line.substr(0, eq)] = line.substr(eq + 1);
  }
  return report;
}

inline std::string environment(const char* name) {
  char buffer[4096] = {};
  const DWORD n = GetEnvironmentVariableA(name, buffer, sizeof buffer);
  return n > 0 && n < sizeof buffer ? std::string(buffer) : std::string();
}

}  // namespace os_test
