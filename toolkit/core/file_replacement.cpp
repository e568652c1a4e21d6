#include "toolkit/core/file_replacement.h"

#include <algorithm>

#include "toolkit/core/fixed_text.h"

namespace {

BOOL writeToFile(HANDLE file, const void* bytes, DWORD count, DWORD* written) {
  return WriteFile(file, bytes, count, written, nullptr);
}

// Writes larger than this are split, so that a count never overflows a DWORD.
constexpr std::size_t kLargestWrite = 1u << 30;
// Temporary names tried before giving up on a folder full of them.
constexpr int kTemporaryNameTries = 1000;

// The folder part of a path with its final separator, or "" for a bare name.
std::string folderOf(const std::string& path) {
  const std::size_t end = path.find_last_of("\\/:");
  return end == std::string::npos ? std::string() : path.substr(0, end + 1);
}

// Why the target cannot be replaced, or 0.  An existing target must be a file
// that this program could write and that no other program holds open.
DWORD targetRefusal(const std::string& target) {
  const DWORD attributes = GetFileAttributesA(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return 0;
  if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) return ERROR_ACCESS_DENIED;
  constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  const FileHandle probe(
      CreateFileA(target.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return probe ? 0 : GetLastError();
}

// The n-th temporary name beside a target: its own name behind "~n~", or a
// short one where that would pass the longest path Windows takes, so that a
// file deep in the folder tree can still be replaced.
std::string temporaryName(const std::string& folder, const std::string& base, int n) {
  const std::string mark = "~" + std::to_string(n) + "~";
  std::string name = folder + mark + base;
  if (name.size() >= MAX_PATH) name = folder + mark + ".tmp";
  return name;
}

// A new empty file beside the target, open for writing, under a name no file
// has; 0 or why there is none.
DWORD createBeside(const std::string& target, FileHandle& file, std::string& name) {
  const std::string folder = folderOf(target);
  const std::string base = target.substr(folder.size());
  for (int n = 1; n <= kTemporaryNameTries; ++n) {
    const std::string candidate = temporaryName(folder, base, n);
    file.reset(CreateFileA(candidate.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) {
      name = candidate;
      return 0;
    }
    const DWORD code = GetLastError();
    if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) return code;
  }
  return ERROR_FILE_EXISTS;
}

}  // namespace

ReplacementWriteFunction replacementWrite = writeToFile;

void FileReplacement::fail(DWORD code) {
  if (error_ == 0) error_ = code != 0 ? code : ERROR_WRITE_FAULT;
}

bool FileReplacement::begin(std::string_view target, Writer writer) {
  abandon();
  error_ = 0;
  target_ = windowsText(target);
  if (target_.empty()) {
    fail(ERROR_INVALID_NAME);
    return false;
  }
  DWORD refusal = targetRefusal(target_);
  if (refusal == 0) refusal = createBeside(target_, file_, temporary_);
  if (refusal != 0) {
    fail(refusal);
    return false;
  }
  // Another program creates the file itself: the name is only reserved.
  if (writer == Writer::kOther) {
    file_.reset();
    DeleteFileA(temporary_.c_str());
  }
  return true;
}

bool FileReplacement::write(const void* bytes, std::size_t count) {
  if (!file_ || error_ != 0) return false;
  const auto* next = static_cast<const char*>(bytes);
  while (count > 0) {
    DWORD written = 0;
    const auto chunk = static_cast<DWORD>(std::min(count, kLargestWrite));
    if (!replacementWrite(file_.get(), next, chunk, &written) || written == 0) {
      fail(GetLastError());
      return false;
    }
    next += written;
    count -= std::min<std::size_t>(written, count);
  }
  return true;
}

bool FileReplacement::commit() {
  if (!active()) return false;
  if (file_) {
    if (!FlushFileBuffers(file_.get())) fail(GetLastError());
    if (!CloseHandle(file_.release())) fail(GetLastError());
  }
  constexpr DWORD kReplace = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
  if (error_ == 0 && !MoveFileExA(temporary_.c_str(), target_.c_str(), kReplace)) fail(GetLastError());
  if (error_ != 0) {
    abandon();
    return false;
  }
  temporary_.clear();
  return true;
}

void FileReplacement::abandon() {
  file_.reset();
  if (!temporary_.empty()) DeleteFileA(temporary_.c_str());
  temporary_.clear();
}

bool FileSetAside::begin(std::string_view path) {
  restore();
  path_ = windowsText(path);
  if (GetFileAttributesA(path_.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
  FileHandle reserved;
  std::string aside;
  if (targetRefusal(path_) != 0 || createBeside(path_, reserved, aside) != 0) return false;
  reserved.reset();
  if (!MoveFileExA(path_.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    DeleteFileA(aside.c_str());
    return false;
  }
  aside_ = aside;
  return true;
}

void FileSetAside::release() {
  if (!aside_.empty()) DeleteFileA(aside_.c_str());
  aside_.clear();
}

void FileSetAside::restore() {
  if (aside_.empty()) return;
  MoveFileExA(aside_.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING);
  aside_.clear();
}
