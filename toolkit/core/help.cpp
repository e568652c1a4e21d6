#include "toolkit/core/help.h"

#include <htmlhelp.h>
#include <shellapi.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>

#include "toolkit/core/error_reporter.h"
#include "toolkit/core/error_texts.h"
#include "toolkit/core/file_ops.h"
#include "toolkit/core/number_format.h"
#include "toolkit/core/os_paths.h"
#include "toolkit/core/processes.h"
#include "toolkit/core/registry.h"
#include "toolkit/core/scoped_handle.h"
#include "toolkit/core/startup.h"
#include "toolkit/core/strings.h"
#include "toolkit/core/system_info.h"
#include "toolkit/core/toolkit_settings.h"
#include "toolkit/core/window_table.h"
#include "toolkit/drivers/hardcopy_setup.h"
#include "toolkit/graphics/graphics_state.h"

HelpHostCalls helpHostCalls{&WinHelpA, &WinExec, nullptr};

void YYHelpHostCallsReset() { helpHostCalls = HelpHostCalls{&WinHelpA, &WinExec, nullptr}; }

namespace {

constexpr std::string_view kRoutine = "YYHELP";
constexpr int kNameTooLong = 1023;
constexpr int kWorkingLength = 513;
constexpr std::string_view kWebPrefix = "http://";
constexpr std::string_view kFilePrefix = "file://";
constexpr std::string_view kTemporaryPage = "$$tmp$$.htm";
constexpr std::string_view kTemporaryPageLine = "Temporary Zandrovel file. Please delete.\r\n";
constexpr std::string_view kPopupSuffix = "::/popup.txt";
// Temporary names tried from the tick count upwards before giving up.
constexpr long long kTemporaryNameTries = 100000;

// zndvax.dll is bound on the first HTML-help request and kept for the run.
struct HtmlHelpBinding {
  bool tried = false;
  HMODULE module = nullptr;
  HtmlHelpCall address = nullptr;
};
HtmlHelpBinding htmlHelpBinding;

void bindHtmlHelp() {
  // The root window's shut-down releases the library it holds: the binding
  // went with it.
  if (htmlHelpBinding.module != nullptr && windowTable.helpLibrary != htmlHelpBinding.module) {
    htmlHelpBinding = HtmlHelpBinding{};
  }
  if (htmlHelpBinding.tried) return;
  htmlHelpBinding.tried = true;
  htmlHelpBinding.module = LoadLibraryA("zndvax.dll");
  if (htmlHelpBinding.module == nullptr) return;
  windowTable.helpLibrary = htmlHelpBinding.module;
  htmlHelpBinding.address = reinterpret_cast<HtmlHelpCall>(GetProcAddress(htmlHelpBinding.module, "yyHtmlHelp"));
}

HWND callHtmlHelp(HWND owner, const char* file, UINT command, DWORD_PTR data) {
  const HtmlHelpCall call = helpHostCalls.htmlHelp != nullptr ? helpHostCalls.htmlHelp : htmlHelpBinding.address;
  return call(owner, file, command, data);
}

std::string lowered(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); });
  return out;
}

bool endsWith(std::string_view s, std::string_view end) {
  return s.size() >= end.size() && s.substr(s.size() - end.size()) == end;
}

bool isFile(const std::string& name) {
  const DWORD attributes = GetFileAttributesA(name.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool isAbsolute(std::string_view name) {
  return (!name.empty() && name[0] == '\\') || (name.size() >= 2 && name[1] == ':');
}

// The program's folder: command-line item 0 up to and including its last backslash.
std::string programFolder() {
  FixedText<kPathLength> program;
  IOsCmdLineItem(0, program);
  const std::string path = program.str();
  const std::size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The help file as given, else the same name in the program's folder; empty
// when neither exists.
std::string resolvedHelpFile(std::string_view name) {
  FixedText<kWorkingLength> full;
  YYFullFileName(name, full);
  if (isFile(full.str())) return full.str();
  const std::string folder = programFolder();
  if (folder.empty()) return {};
  std::string inFolder(name);
  if (isAbsolute(name)) inFolder = inFolder.substr(inFolder.find_last_of("\\:") + 1);
  inFolder = folder + inFolder;
  return isFile(inFolder) ? inFolder : std::string();
}

HelpKind helpKindOf(std::string_view lower, std::string_view significant, bool& webAddress) {
  webAddress = false;
  if (lower.empty()) return kHelpClose;
  if (endsWith(lower, ".hlp")) return kHelpWinHelp;
  if (endsWith(lower, ".chm")) return kHelpHtmlHelp;
  if (lowered(significant.substr(0, kWebPrefix.size())) == kWebPrefix) {
    webAddress = true;
    return kHelpWebPage;
  }
  if (endsWith(lower, ".htm") || endsWith(lower, ".html")) return kHelpWebPage;
  if (endsWith(lower, ".pdf")) return kHelpPdf;
  return kHelpOther;
}

// One argument of a command line, quoted so that blanks in it do not split
// it; a text holding a quote cannot be passed that way.
bool appendQuoted(std::string& commandLine, std::string_view argument) {
  if (argument.find('"') != std::string_view::npos) return false;
  commandLine += '"';
  commandLine += argument;
  commandLine += '"';
  return true;
}

// FindExecutableA for the file: the program path, or the error (1 when the
// file does not exist, 1030 for any other failure).
std::string associatedProgram(const char* file, int& error) {
  std::array<char, MAX_PATH + 1> program{};
  const auto result = reinterpret_cast<INT_PTR>(FindExecutableA(file, nullptr, program.data()));
  if (result == SE_ERR_FNF) {
    error = kHelpFileMissing;
    return {};
  }
  if (result <= 31) {
    error = kHelpLaunchFailed;
    return {};
  }
  error = 0;
  return program.data();
}

void launch(const std::string& commandLine, int& error) {
  if (static_cast<int>(commandLine.size()) + 1 > kLaunchCommandLimit) {
    error = kHelpLaunchFailed;
    return;
  }
  const UINT result = helpHostCalls.winExec(commandLine.c_str(), SW_SHOWNORMAL);
  error = result <= 32 ? kHelpLaunchFailed : 0;
}

// True when the start of `name` equals `prefix`, regardless of case.
bool beginsNoCase(std::string_view name, std::string_view prefix) {
  if (name.size() < prefix.size()) return false;
  return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, name.data(), static_cast<int>(prefix.size()),
                        prefix.data(), static_cast<int>(prefix.size())) == CSTR_EQUAL;
}

bool internetExplorerVersionKnown() {
  FixedText<64> version;
  int type = 0;
  IOsRegistryGet("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Internet Explorer", version.field(), "Version", &type);
  return type == REG_SZ || type == REG_EXPAND_SZ;
}

bool browserAcceptsAnchors(const std::string& program) {
  const std::size_t slash = program.find_last_of('\\');
  const std::string_view name =
      slash == std::string::npos ? std::string_view(program) : std::string_view(program).substr(slash + 1);
  return beginsNoCase(name, "net") || beginsNoCase(name, "mozilla") ||
         (beginsNoCase(name, "iexplore") && internetExplorerVersionKnown());
}

// Writes the one-line page whose association names the web browser.
bool writeTemporaryPage(const std::string& path) {
  const KernelHandle file{CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr)};
  if (file.get() == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(file.get(), kTemporaryPageLine.data(), static_cast<DWORD>(kTemporaryPageLine.size()),
                            &written, nullptr);
  return ok && written == kTemporaryPageLine.size();
}

std::string temporaryDirectory() {
  FixedText<kPathLength> directory;
  IOsVariable("TEMP", directory);
  if (directory.isBlank()) IOsVariable("TMP", directory);
  std::string folder = directory.isBlank() ? std::string("c:") : directory.str();
  if (folder.back() != '\\') folder += '\\';
  return folder;
}

std::string newTemporaryName() {
  const std::string folder = temporaryDirectory();
  const long long start = std::llabs(static_cast<long long>(YYSYSINFO(15)));
  std::string name;
  for (long long n = start; n < start + kTemporaryNameTries; ++n) {
    name = folder + "xx" + formatI(n, 10, 10) + ".tmp";
    if (!YYOsFileExists(name.c_str())) return name;
  }
  return name;
}

}  // namespace

void YYHtmlHelpUnbind() {
  if (htmlHelpBinding.module != nullptr) {
    if (windowTable.helpLibrary == htmlHelpBinding.module) {
      FreeLibrary(htmlHelpBinding.module);
      windowTable.helpLibrary = nullptr;
    }
  }
  htmlHelpBinding = HtmlHelpBinding{};
}

bool YYHtmlHelpBound() {
  bindHtmlHelp();
  return htmlHelpBinding.address != nullptr;
}

void WHelpTopicShow(std::string_view helpFile, std::optional<int> topic, std::optional<int> option) {
  const int number = topic.value_or(-1);
  const std::string topicText = text::withoutLeadingBlanks(formatI(number, 11));
  YYHELP(helpFile, number, topicText, option.value_or(0), 1);
}

void YYHELP(std::string_view file, int topic, std::string_view topicText, int option, int flag) {
  const std::string_view significant = significantText(file);
  const std::string lower = lowered(significant);
  bool webAddress = false;
  const HelpKind kind = helpKindOf(lower, significant, webAddress);
  const std::string text(text::trimmed(topicText));
  int error = 0;

  std::string resolved;
  if (kind >= kHelpWinHelp && !webAddress) {
    std::string_view name = significant;
    if (kind == kHelpWebPage && lower.starts_with(kFilePrefix)) name.remove_prefix(kFilePrefix.size());
    resolved = resolvedHelpFile(name);
    if (resolved.empty()) {
      YYErrorReport(kHelpFileMissing, kRoutine);
      return;
    }
  }

  switch (kind) {
    case kHelpClose:
      YYHelpClose();
      break;
    case kHelpWinHelp: {
      int command = kHelpKeyword;
      if (topic != -1) {
        command = kHelpTopic;
      } else if (flag == 1) {
        const std::string contents = resolved.substr(0, resolved.size() - 3) + "cnt";
        command = isFile(contents) ? kHelpContents : kHelpContentsPage;
      }
      YYWinHelp(command, option, topic, error, resolved.c_str(), text.c_str());
      break;
    }
    case kHelpHtmlHelp: {
      const int command = topic != -1 ? kHelpTopic : flag == 1 ? kHelpContents : kHelpKeyword;
      YYHtmlHelpInvoke(command, option, topic, error, resolved.c_str(), text.c_str());
      break;
    }
    case kHelpWebPage:
      if (webAddress) {
        const std::string page = temporaryDirectory() + std::string(kTemporaryPage);
        if (!writeTemporaryPage(page)) {
          error = kHelpLaunchFailed;
          break;
        }
        const std::string address(significant);
        YYOpenInBrowser(flag + 2, topic, error, page.c_str(), text.c_str(), address.c_str());
        int deleteError = 0;
        YYOsDeleteFile(page.c_str(), deleteError);
      } else {
        int browser = 0;
        YYBrowserKind(resolved, browser);
        if (browser == 2) std::replace(resolved.begin(), resolved.end(), '\\', '/');
        YYOpenInBrowser(flag, topic, error, resolved.c_str(), text.c_str(), "");
      }
      break;
    case kHelpPdf:
      YYOpenAssociated(error, resolved.c_str());
      break;
    default:
      error = kHelpUnknownKind;
      break;
  }
  if (error != 0) YYErrorReport(error, kRoutine);
}

void YYFullFileName(std::string_view name, TextField fullName) {
  const std::string_view given = significantText(name);
  if (given.empty()) {
    fullName.blank();
    return;
  }
  if (given.starts_with("\\\\") || (given.size() >= 2 && given[1] == ':')) {
    fullName.assign(given);
    return;
  }
  std::array<char, kPathLength> current{};
  int error = 0;
  int truncated = 0;
  YYOsGetCwd(current.data(), static_cast<int>(current.size()), error, truncated);
  const std::string directory(current.data());
  if (given.front() == '\\') {
    fullName.assign(directory.substr(0, 2) + std::string(given));
  } else {
    fullName.assign(directory + "\\" + std::string(given));
  }
}

void YYWinHelp(int command, int option, int topic, int& error, const char* file, const char* topicText) {
  UINT windowsCommand = HELP_CONTENTS;
  ULONG_PTR data = 0;
  switch (command) {
    case kHelpContents:
      windowsCommand = HELP_FINDER;
      break;
    case kHelpTopic:
      windowsCommand = option == 1 ? HELP_CONTEXTPOPUP : HELP_CONTEXT;
      data = static_cast<ULONG_PTR>(static_cast<unsigned>(topic));
      break;
    case kHelpKeyword:
      windowsCommand = HELP_KEY;
      data = reinterpret_cast<ULONG_PTR>(topicText);
      break;
    default:
      break;
  }
  error = helpHostCalls.winHelp(slotOf(0).frame, file, windowsCommand, data) ? 0 : kHelpLaunchFailed;
}

void YYHtmlHelpInvoke(int command, int option, int topic, int& error, const char* file, const char* topicText) {
  bindHtmlHelp();
  if (htmlHelpBinding.address == nullptr) {
    error = kHelpLibraryMissing;
    return;
  }
  HWND result = nullptr;
  if (command == kHelpContents) {
    result = callHtmlHelp(nullptr, file, HH_DISPLAY_TOPIC, 0);
  } else if (command == kHelpTopic && option == 1) {
    const std::string popupFile = std::string(file) + std::string(kPopupSuffix);
    if (static_cast<int>(popupFile.size()) + 1 > kPopupNameLimit) {
      error = kHelpLaunchFailed;
      return;
    }
    HH_POPUP popup{};
    popup.cbStruct = sizeof popup;
    popup.hinst = nullptr;
    popup.idString = static_cast<UINT>(topic);
    popup.pszText = nullptr;
    GetCursorPos(&popup.pt);
    popup.pt.y += 16;
    popup.clrForeground = static_cast<COLORREF>(-1);
    popup.clrBackground = static_cast<COLORREF>(-1);
    popup.rcMargins = RECT{-1, -1, -1, -1};
    popup.pszFont = nullptr;
    result = callHtmlHelp(nullptr, popupFile.c_str(), HH_DISPLAY_TEXT_POPUP, reinterpret_cast<DWORD_PTR>(&popup));
  } else if (command == kHelpTopic) {
    callHtmlHelp(nullptr, file, HH_DISPLAY_TOC, 0);
    result = callHtmlHelp(nullptr, file, HH_HELP_CONTEXT, static_cast<DWORD_PTR>(static_cast<unsigned>(topic)));
  } else {
    HH_AKLINK link{};
    link.cbStruct = sizeof link;
    link.fReserved = FALSE;
    link.pszKeywords = topicText;
    link.pszUrl = nullptr;
    link.pszMsgText = nullptr;
    link.pszMsgTitle = nullptr;
    link.pszWindow = nullptr;
    link.fIndexOnFail = TRUE;
    result = callHtmlHelp(nullptr, file, HH_KEYWORD_LOOKUP, reinterpret_cast<DWORD_PTR>(&link));
  }
  error = result == nullptr ? kHelpLaunchFailed : 0;
}

void YYHelpClose() {
  helpHostCalls.winHelp(slotOf(0).frame, "", HELP_QUIT, 0);
  if (htmlHelpBinding.address != nullptr && windowTable.helpLibrary == htmlHelpBinding.module) {
    callHtmlHelp(nullptr, nullptr, HH_CLOSE_ALL, 0);
  }
}

void YYOpenInBrowser(int mode, int topic, int& error, const char* associationFile, const char* anchor,
                     const char* address) {
  const std::string program = associatedProgram(associationFile, error);
  if (error != 0) return;
  int effective = mode;
  if ((mode == kBrowseFileAnchor || mode == kBrowseAddressAnchor) && !browserAcceptsAnchors(program)) {
    effective = mode - 1;
  }
  std::string target =
      mode == kBrowseAddress || mode == kBrowseAddressAnchor ? std::string(address)
                                                             : std::string(kFilePrefix) + associationFile;
  const bool withAnchor = effective == kBrowseFileAnchor || effective == kBrowseAddressAnchor ||
                          ((effective == kBrowseFile || effective == kBrowseAddress) && topic > 0);
  if (withAnchor) target += std::string("#") + anchor;
  std::string commandLine;
  if (!appendQuoted(commandLine, program)) {
    error = kHelpLaunchFailed;
    return;
  }
  commandLine += ' ';
  if (!appendQuoted(commandLine, target)) {
    error = kHelpLaunchFailed;
    return;
  }
  launch(commandLine, error);
}

void YYOpenAssociated(int& error, const char* file) {
  const std::string program = associatedProgram(file, error);
  if (error != 0) return;
  std::string commandLine;
  if (!appendQuoted(commandLine, program)) {
    error = kHelpLaunchFailed;
    return;
  }
  commandLine += ' ';
  if (!appendQuoted(commandLine, file)) {
    error = kHelpLaunchFailed;
    return;
  }
  launch(commandLine, error);
}

void YYBrowserKind(std::string_view file, int& kind) {
  const int lastError = errorState.lastError;
  const int mode = errorState.reportingMode;
  YYErrorModeSet(kReportSilent);
  FixedText<kPathLength> program;
  IOsAssociation(file, program);
  YYErrorModeSet(mode);
  errorState.lastError = lastError;
  const std::string path = program.str();
  const std::size_t slash = path.find_last_of('\\');
  FixedText<kPathLength> name(slash == std::string::npos ? std::string_view(path)
                                                         : std::string_view(path).substr(slash + 1));
  IStringUpper(name);
  kind = name.view().starts_with("MOZILLA") ? 2 : 1;
}

void WInfoFilename(int code, TextField name) {
  std::string value;
  switch (code) {
    case 1:
      value = yyDumpSettings.fileName.str();
      break;
    case 2:
      value = yyHardcopyOutputName.str();
      break;
    case 3:
      value = toolkitSettings.CHARSET.str();
      break;
    case 5:
      value = toolkitSettings.CHARDIR.str();
      break;
    case 7:
      value = toolkitSettings.toolkitDirectory.str();
      break;
    case 8:
      value = toolkitSettings.systemDirectory.str();
      break;
    case 9:
      value = yyGrState.StrokeFontFlags != 0 ? yyGrState.StrokeFontName.str() : std::string("H");
      break;
    case 10:
      value = temporaryDirectory();
      break;
    case 11:
      value = newTemporaryName();
      break;
    default:
      break;
  }
  name.assign(value);
  if (static_cast<int>(value.size()) > name.length()) YYErrorReport(kNameTooLong, "WInfoFilename");
}
