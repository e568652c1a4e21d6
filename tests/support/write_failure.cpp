#include "support/write_failure.h"

#include <windows.h>

#include <algorithm>
#include <utility>

#include "toolkit/core/file_replacement.h"

namespace write_failure {
namespace {

std::size_t room = 0;
ReplacementWriteFunction previous = nullptr;

BOOL writeUntilFull(HANDLE file, const void* bytes, DWORD count, DWORD* written) {
  const auto fits = static_cast<DWORD>(std::min<std::size_t>(count, room));
  *written = 0;
  if (fits > 0 && !WriteFile(file, bytes, fits, written, nullptr)) return FALSE;
  room -= *written;
  if (*written == count) return TRUE;
  SetLastError(ERROR_DISK_FULL);
  return FALSE;
}

}  // namespace

DiskFills::DiskFills(std::size_t allowed) {
  room = allowed;
  previous = replacementWrite;
  replacementWrite = writeUntilFull;
}

DiskFills::~DiskFills() { replacementWrite = previous; }

std::vector<std::string> namesIn(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  const std::string separator = !folder.empty() && folder.back() == '\\' ? "" : "\\";
  const HANDLE search = FindFirstFileA((folder + separator + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

std::string earlierFileIn(const std::string& folder, const std::string& name, std::string_view earlier) {
  CreateDirectoryA(folder.c_str(), nullptr);
  for (const std::string& present : namesIn(folder)) {
    const std::string path = folder + "\\" + present;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
  }
  const std::string path = folder + "\\" + name;
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, earlier.data(), static_cast<DWORD>(earlier.size()), &written, nullptr);
  CloseHandle(file);
  return path;
}

TargetRefused::TargetRefused(std::string path, Kind kind) : path_(std::move(path)) {
  if (kind == kReadOnly) {
    SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_READONLY);
  } else {
    const HANDLE lock = CreateFileA(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (lock != INVALID_HANDLE_VALUE) lock_ = lock;
  }
}

TargetRefused::~TargetRefused() {
  if (lock_ != nullptr) CloseHandle(lock_);
  SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
}

std::string smallDisk() {
  char folder[MAX_PATH] = {};
  const DWORD n = GetEnvironmentVariableA("CARROW_SMALL_DISK", folder, MAX_PATH);
  return n == 0 || n >= MAX_PATH ? std::string() : std::string(folder, n);
}

Filler::Filler(std::string path, std::size_t room) : path_(std::move(path)) {
  ULARGE_INTEGER available{};
  const std::string folder = path_.substr(0, path_.find_last_of('\\') + 1);
  if (!GetDiskFreeSpaceExA(folder.c_str(), &available, nullptr, nullptr)) return;
  const HANDLE file = CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  // Written, not just sized, so that the disk really holds the bytes.
  const std::string block(64 * 1024, '\0');
  ULONGLONG left = available.QuadPart > room ? available.QuadPart - room : 0;
  while (left > 0) {
    DWORD written = 0;
    const auto chunk = static_cast<DWORD>(std::min<ULONGLONG>(left, block.size()));
    if (!WriteFile(file, block.data(), chunk, &written, nullptr) || written == 0) break;
    left -= written;
  }
  CloseHandle(file);
}

Filler::~Filler() { DeleteFileA(path_.c_str()); }

}  // namespace write_failure
