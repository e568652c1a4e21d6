#include "platform/xlsodbc/workbook_file.h"

#include <windows.h>

#include "toolkit/core/file_replacement.h"
#include "toolkit/core/scoped_handle.h"

namespace xlsodbc {
namespace {

std::string systemMessage(DWORD code) {
  char buffer[512] = {};
  const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                 buffer, sizeof buffer, nullptr);
  std::string s(buffer, n);
  while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ')) s.pop_back();
  return s.empty() ? "system error " + std::to_string(code) : s;
}

// The largest workbook we read: far beyond what 60000 rows take.
constexpr DWORD kMaxWorkbookBytes = 512u * 1024 * 1024;

}  // namespace

std::optional<xlsbook::Workbook> loadWorkbookFile(const std::string& path, std::string& why) {
  FileHandle f(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f) {
    why = "The workbook " + path + " could not be opened: " + systemMessage(GetLastError());
    return std::nullopt;
  }
  DWORD high = 0;
  const DWORD size = GetFileSize(f.get(), &high);
  if (high != 0 || size > kMaxWorkbookBytes) {
    why = "The workbook " + path + " is too large.";
    return std::nullopt;
  }
  xlsio::Bytes bytes(size);
  DWORD got = 0;
  if (size > 0 && (!ReadFile(f.get(), bytes.data(), size, &got, nullptr) || got != size)) {
    why = "The workbook " + path + " could not be read: " + systemMessage(GetLastError());
    return std::nullopt;
  }
  return xlsbook::load(std::move(bytes), why);
}

bool saveWorkbookFile(const std::string& path, const xlsbook::Workbook& book, std::string& why) {
  // The program's own file replacement: it refuses a read-only workbook, or one
  // another program holds, before anything is written.
  FileReplacement file;
  if (!file.begin(path)) {
    why = "The workbook " + path + " cannot be replaced: " + systemMessage(file.error());
    return false;
  }
  const auto writePiece = [&](xlsio::ByteView piece) { return file.write(piece.data(), piece.size()); };
  if (!xlsbook::save(book, writePiece) || !file.commit()) {
    why = "The workbook " + path + " could not be written: " + systemMessage(file.error());
    return false;
  }
  return true;
}

}  // namespace xlsodbc
