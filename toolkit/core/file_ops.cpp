#include "toolkit/core/file_ops.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "toolkit/core/directories.h"
#include "toolkit/core/error_reporter.h"
#include "toolkit/core/os_paths.h"
#include "toolkit/core/toolkit_settings.h"

namespace {

constexpr int kOperatingSystemError = 13;
constexpr int kSameSourceAndTarget = 55;
constexpr int kTextTooSmall = 1023;

int lastErrorUnless(BOOL ok) { return ok ? 0 : static_cast<int>(GetLastError()); }

void reportOsError(int code, const char* routine) {
  errorState.osError = code;
  YYErrorReport(kOperatingSystemError, routine);
}

bool hasWildcard(std::string_view name) { return name.find_first_of("?*") != std::string_view::npos; }

bool endsAsDirectory(std::string_view name) {
  return !name.empty() && (name.back() == '\\' || name.back() == ':');
}

// One wildcard walk: `act` gets each plain file's name and answers false to stop.
// Reports 13 under `routine` when the walk cannot start (nothing matches included).
void eachMatchingFile(const std::string& pattern, const char* routine,
                      const std::function<bool(const std::string&)>& act) {
  const int status = YYOsFindWalk(pattern, [&](const FoundEntry& entry) {
    return (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || act(std::string(entry.name));
  });
  if (status != 0) reportOsError(status, routine);
}

// Copies and reports; false when the copy failed.
bool copyOne(const std::string& source, const std::string& target) {
  if (!fitsPathBuffer(source) || !fitsPathBuffer(target)) {
    reportOsError(kPathTooLongCode, "IOsCopyFile");
    return false;
  }
  int error = 0;
  YYOsCopyFile(source.c_str(), target.c_str(), error);
  if (error != 0) reportOsError(error, "IOsCopyFile");
  return error == 0;
}

}  // namespace

void IOsDeleteFile(std::string_view name) {
  const std::string pattern(text::trimmed(name));
  if (pattern.empty()) return;
  const std::string folder(directoryPart(pattern));
  eachMatchingFile(pattern, "IOsDeleteFile", [&](const std::string& entry) {
    const std::string file = folder + entry;
    int error = 0;
    if (!fitsPathBuffer(file)) {
      error = kPathTooLongCode;
    } else {
      YYOsDeleteFile(file.c_str(), error);
    }
    if (error != 0) reportOsError(error, "IOsDeleteFile");
    return true;  // the other matches are still deleted
  });
}

void IOsCopyFile(std::string_view source, std::string_view target) {
  const std::string from(text::trimmed(source));
  if (from.empty()) return;
  const std::string_view folder = directoryPart(from);
  std::string to(text::trimmed(target.substr(0, std::min<std::size_t>(target.size(), kPathLength))));

  if (!hasWildcard(from)) {
    if (to.empty() || endsAsDirectory(to)) to += from.substr(folder.size());
    if (to == from) {
      YYErrorReport(kSameSourceAndTarget, "IOsCopyFile");
      return;
    }
    copyOne(from, to);
    return;
  }
  if (!to.empty() && !endsAsDirectory(to)) to += '\\';
  const std::string sourceFolder(folder);
  eachMatchingFile(from, "IOsCopyFile", [&](const std::string& entry) {
    // The first failure ends the walk: later matches are not copied.
    return copyOne(sourceFolder + entry, to + entry);
  });
}

void IOsDirName(TextField directory) {
  std::vector<char> buffer(static_cast<std::size_t>(directory.length()) + 1, '\0');
  int error = 0, truncated = 0;
  YYOsGetCwd(buffer.data(), static_cast<int>(buffer.size()), error, truncated);
  directory.blank();
  if (truncated != 0) {
    YYErrorReport(kTextTooSmall, "IOsDirName");
  } else if (error != 0) {
    reportOsError(error, "IOsDirName");
  } else {
    directory.assign(buffer.data());
  }
}

bool YYOsFileExists(const char* name) { return GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES; }

void YYOsDeleteFile(const char* file, int& error) { error = lastErrorUnless(DeleteFileA(file)); }

void YYOsMoveFile(const char* oldName, const char* newName, int& error) {
  error = lastErrorUnless(MoveFileA(oldName, newName));
}

void YYOsCopyFile(const char* source, const char* target, int& error) {
  error = lastErrorUnless(CopyFileA(source, target, FALSE));
}

void YYOsSetAttributes(int attributes, int& error, const char* file) {
  error = lastErrorUnless(SetFileAttributesA(file, static_cast<DWORD>(attributes)));
}

void YYOsChDir(const char* directory, int& error) { error = lastErrorUnless(SetCurrentDirectoryA(directory)); }

void YYOsMkDir(const char* directory, int& error) { error = lastErrorUnless(CreateDirectoryA(directory, nullptr)); }

void YYOsRmDir(const char* directory, int& error) { error = lastErrorUnless(RemoveDirectoryA(directory)); }

void YYOsGetCwd(char* buffer, int length, int& error, int& truncated) {
  const DWORD n = GetCurrentDirectoryA(static_cast<DWORD>(length), buffer);
  truncated = n > static_cast<DWORD>(length - 1) ? 1 : 0;
  error = n != 0 ? 0 : static_cast<int>(GetLastError());
}

void YYOsSystemDir(char* buffer, int size, int& error) {
  const UINT n = GetSystemDirectoryA(buffer, static_cast<UINT>(size));
  if (n == 0) {
    error = GetLastError() != 0 ? static_cast<int>(GetLastError()) : ERROR_GEN_FAILURE;
  } else if (n >= static_cast<UINT>(size)) {
    error = ERROR_INSUFFICIENT_BUFFER;  // the answer is the size it needs, not a path
  } else {
    error = 0;
  }
}
