#include "toolkit/dialogs/file_selection.h"

#include <commdlg.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "toolkit/core/error_reporter.h"
#include "toolkit/core/file_ops.h"
#include "toolkit/core/strings.h"
#include "toolkit/core/toolkit_settings.h"
#include "toolkit/core/window_table.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/dialogs/message_box.h"

namespace {

constexpr int kFilterLimit = 1000;
constexpr int kDirectoryLength = 256;
constexpr std::string_view kDefaultTitle = "Select File";

// The empty default extension: Windows then appends the chosen filter's.
const char kNoExtension[] = "";

// A filter text of descriptions and patterns, each ended by the separator
// that is its last character, as the NUL-separated, double-NUL-ended list
// Windows reads.
std::string windowsFilter(std::string_view text) {
  if (text.empty()) return {};
  const char separator = text.back();
  std::string list(text);
  std::replace(list.begin(), list.end(), separator, '\0');
  list.push_back('\0');
  return list;
}

// The folder of a chosen file: what the file buffer holds before its name, or
// for a multiple selection the first of its NUL-separated texts.
std::string chosenFolder(const std::vector<char>& buffer, bool multiple) {
  const std::string first(buffer.data());
  if (multiple && first.size() + 1 < buffer.size() && buffer[first.size() + 1] != '\0') return first;
  const std::size_t slash = first.find_last_of("\\/");
  if (slash == std::string::npos) return {};
  // A drive root keeps its backslash.
  if (slash == 2 && first[1] == ':') return first.substr(0, 3);
  return first.substr(0, slash);
}

// The length of the chosen text: up to the first NUL, or for a multiple
// selection up to the pair of NULs that ends the list.
std::size_t chosenLength(const std::vector<char>& buffer, bool multiple) {
  const std::size_t size = buffer.size();
  std::size_t n = 0;
  while (n < size && buffer[n] != '\0') ++n;
  if (!multiple) return n;
  while (n + 1 < size && buffer[n + 1] != '\0') {
    ++n;
    while (n < size && buffer[n] != '\0') ++n;
  }
  return n;
}

}  // namespace

void YYPATHNAMEPART(TextField path, TextField namePart) {
  IStringAlign(path, "L");
  const int l = path.trimmedLength();
  if (l >= 2 && path.column(l - 1) == '.' && path.column(l) == '.') {
    namePart.blank();
    return;
  }
  int separator = 0;
  for (int c = l; c >= 1; --c) {
    if (path.column(c) == '\\' || path.column(c) == ':') {
      separator = c;
      break;
    }
  }
  if (separator == 0) {
    namePart.assign(path.trimmed());
    path.blank();
    return;
  }
  if (separator < l) {
    namePart.assign(path.view().substr(static_cast<std::size_t>(separator), static_cast<std::size_t>(l - separator)));
    path.part(separator + 1, path.length()).blank();
    return;
  }
  namePart.blank();
  bool earlierBackslash = false;
  for (int c = 1; c < separator; ++c) earlierBackslash = earlierBackslash || path.column(c) == '\\';
  if (earlierBackslash) path.column(separator) = text::kBlank;
}

void YYOpenSaveDialog(const OpenSaveRequest& request, int& filterIndex, int& chosen, int& extendedError) {
  std::string filter;
  if (request.resourceNumber == -1) {
    filter = windowsFilter(request.filter);
  } else if (request.resourceNumber != 0) {
    std::array<char, kFilterLimit + 1> text{};
    const int n = LoadStringA(windowTable.module != nullptr ? windowTable.module : GetModuleHandleA(nullptr),
                              static_cast<UINT>(request.resourceNumber), text.data(), static_cast<int>(text.size()));
    filter = windowsFilter(std::string_view(text.data(), static_cast<std::size_t>(std::max(n, 0))));
  }
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  HWND owner = YYModalBoxOwner();
  ofn.hwndOwner = owner;
  if (!filter.empty()) {
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(filterIndex);
  }
  ofn.lpstrFile = request.fileBuffer;
  ofn.nMaxFile = static_cast<DWORD>(request.fileBufferSize);
  ofn.lpstrInitialDir = request.initialDirectory;
  ofn.lpstrTitle = request.title;
  ofn.Flags = OFN_HIDEREADONLY;
  if (request.save) {
    if (request.prompt) ofn.Flags |= OFN_OVERWRITEPROMPT;
  } else if (request.mustExist) {
    ofn.Flags |= OFN_FILEMUSTEXIST;
  } else if (request.prompt) {
    ofn.Flags |= OFN_CREATEPROMPT;
  }
  if (!request.noPathCheck) ofn.Flags |= OFN_PATHMUSTEXIST;
  if (request.multiple) ofn.Flags |= OFN_ALLOWMULTISELECT | OFN_EXPLORER;
  if (request.defaultExtension && toolkitSettings.windowsMajorVersion != 3) ofn.lpstrDefExt = kNoExtension;
  YYModalBoxBegin(owner);
  const BOOL ok = request.save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
  YYModalBoxEnd(owner);
  if (ok) {
    chosen = 1;
    extendedError = 0;
    if (!filter.empty()) filterIndex = static_cast<int>(ofn.nFilterIndex);
  } else {
    chosen = 0;
    extendedError = static_cast<int>(CommDlgExtendedError());
  }
}

void YYWSFILE(int resourceNumber, std::string_view filterText, int flags, TextField fileName, std::string_view title,
              int& filterIndex, int freeze) {
  int status = 0;
  if (freeze != 0) YYModalWindowsEnable(1, -1, status);
  OpenSaveRequest request;
  request.resourceNumber = resourceNumber;
  request.filter = filterText;
  request.save = (flags & kSelectSave) != 0;
  request.prompt = (flags & kSelectPrompt) != 0;
  request.noPathCheck = (flags & kSelectNoPathCheck) != 0;
  request.multiple = !request.save && (flags & kSelectMultiple) != 0;
  request.defaultExtension = (flags & kSelectDefaultExtension) != 0;
  request.mustExist = (flags & kSelectMustExist) != 0;

  FixedText<kDirectoryLength> directory(fileName.view());
  std::vector<char> namePart(static_cast<std::size_t>(fileName.length()), text::kBlank);
  YYPATHNAMEPART(directory, TextField(namePart.data(), fileName.length()));
  // The caller's whole field may be chosen, so the buffer has room for it and its NUL.
  std::vector<char> fileBuffer(static_cast<std::size_t>(fileName.length()) + 1, '\0');
  const std::string_view name = text::trimmed(std::string_view(namePart.data(), namePart.size()));
  std::copy(name.begin(), name.end(), fileBuffer.begin());

  std::array<char, kPathLength> savedDirectory{};
  int error = 0;
  int truncated = 0;
  YYOsGetCwd(savedDirectory.data(), static_cast<int>(savedDirectory.size()), error, truncated);

  std::string initialDirectory(directory.trimmed());
  if (initialDirectory.empty()) initialDirectory = savedDirectory.data();
  std::string shownTitle(text::trimmed(title));
  if (shownTitle.empty()) shownTitle = kDefaultTitle;

  request.title = shownTitle.c_str();
  request.fileBuffer = fileBuffer.data();
  request.fileBufferSize = static_cast<int>(fileBuffer.size());
  request.initialDirectory = initialDirectory.c_str();
  int chosen = 0;
  int extendedError = 0;
  YYOpenSaveDialog(request, filterIndex, chosen, extendedError);
  YYLastResultSet(kLastAnswer, chosen);

  if (chosen != 0) {
    const std::size_t n = std::min(chosenLength(fileBuffer, request.multiple), static_cast<std::size_t>(fileName.length()));
    fileName.assign(std::string_view(fileBuffer.data(), n));
  } else if (extendedError > 0) {
    YYErrorReport(1004, "YYWSFILE");
  }
  if (chosen != 0 && (flags & kSelectKeepDirectory) != 0) {
    // Windows need not leave the chosen file's folder current; it is made so.
    const std::string folder = chosenFolder(fileBuffer, request.multiple);
    if (!folder.empty()) YYOsChDir(folder.c_str(), error);
  } else if (savedDirectory[0] != '\0') {
    YYOsChDir(savedDirectory.data(), error);
  }
  if (freeze != 0) YYModalWindowsEnable(0, -1, status);
  YYLastResultSet(kLastFocusField, 0);
}

void WFileSelect(std::string_view filter, int flags, TextField fileName, std::optional<std::string_view> title,
                 int* filterIndex) {
  FixedText<kPathLength> shownTitle;
  if (title.has_value()) shownTitle = *title;
  int index = filterIndex != nullptr ? *filterIndex : 1;
  const std::string_view trimmedFilter = text::trimmed(filter);
  const std::string filterText(trimmedFilter.substr(0, std::min<std::size_t>(trimmedFilter.size(), kFilterLimit)));
  YYWSFILE(-1, filterText, flags, fileName, shownTitle.view(), index, 1);
  if (filterIndex != nullptr) *filterIndex = index;
}

void YYClientOriginToScreen(int& x, int& y) {
  HWND window = activeModelessDialog();
  if (window == nullptr) window = windowTable.ownerWindow;
  POINT origin{};
  if (window != nullptr) ClientToScreen(window, &origin);
  x = origin.x;
  y = origin.y;
}
