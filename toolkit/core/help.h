#pragma once
// Help and browser launching: the help dispatcher chooses the viewer by the
// help file's kind (WinHelp, HTML help through zndvax.dll, the web browser,
// the program associated with PDF documents), and the toolkit's file and
// directory names on request.

#include <windows.h>

#include <optional>
#include <string_view>

#include "toolkit/core/fixed_text.h"

// Kinds of help file, from the name.
enum HelpKind : int {
  kHelpOther = -1,
  kHelpClose = 0,
  kHelpWinHelp = 1,
  kHelpHtmlHelp = 2,
  kHelpWebPage = 3,
  kHelpPdf = 4,
};

// Commands handed to the viewers.
enum HelpCommand : int { kHelpContents = 1, kHelpTopic = 2, kHelpKeyword = 3, kHelpContentsPage = 4 };

// Browser modes: 1 a local file, 3 a web address; 2 and 4 the same with the
// anchor appended whenever the browser accepts anchors.
enum BrowserMode : int { kBrowseFile = 1, kBrowseFileAnchor = 2, kBrowseAddress = 3, kBrowseAddressAnchor = 4 };

// Error numbers of the help dispatcher.
constexpr int kHelpFileMissing = 1;
constexpr int kHelpLaunchFailed = 1030;
constexpr int kHelpUnknownKind = 1031;
constexpr int kHelpLibraryMissing = 1081;

// Limits of what is handed to the viewers: the pop-up file name with its
// "::/popup.txt", and the command lines of the browser and the associated
// program, each with its NUL.
constexpr int kPopupNameLimit = 260;
constexpr int kLaunchCommandLimit = 512;

// What leaves the toolkit for the host goes through these pointers, so that
// tests can put recorders in their place and check what would have started.
using WinHelpCall = BOOL(WINAPI*)(HWND, LPCSTR, UINT, ULONG_PTR);
using WinExecCall = UINT(WINAPI*)(LPCSTR, UINT);
using HtmlHelpCall = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
struct HelpHostCalls {
  WinHelpCall winHelp;
  WinExecCall winExec;
  // Called in place of zndvax.dll's yyHtmlHelp once that export is bound;
  // null calls the export itself.
  HtmlHelpCall htmlHelp;
};
extern HelpHostCalls helpHostCalls;
// The host's own functions back in the pointers.
void YYHelpHostCallsReset();

// Shows help: the topic (absent: -1) of the file, as a pop-up when the option
// is 1; a blank file name closes the help windows.
void WHelpTopicShow(std::string_view helpFile, std::optional<int> topic = std::nullopt,
                    std::optional<int> option = std::nullopt);
// The dispatcher: file or web address, topic number, topic text, option, and
// the flag (1 from WHelpTopicShow).  Failures are reported under "YYHELP".
void YYHELP(std::string_view file, int topic, std::string_view topicText, int option, int flag);

// A relative name after the current directory and a backslash; a name with
// one leading backslash on the current drive; "\\..." and "d:..." unchanged.
void YYFullFileName(std::string_view name, TextField fullName);
void YYWinHelp(int command, int option, int topic, int& error, const char* file, const char* topicText);
void YYHtmlHelpInvoke(int command, int option, int topic, int& error, const char* file, const char* topicText);
void YYHelpClose();
void YYOpenInBrowser(int mode, int topic, int& error, const char* associationFile, const char* anchor,
                     const char* address);
void YYOpenAssociated(int& error, const char* file);
// 2 when the program associated with the file is a Mozilla browser.
void YYBrowserKind(std::string_view file, int& kind);

// Releases zndvax.dll and forgets its binding, so that the next HTML-help
// request loads it again.
void YYHtmlHelpUnbind();
// Whether the export yyHtmlHelp is bound now.
bool YYHtmlHelpBound();

// The toolkit's names by code (1 dump file, 2 hardcopy output, 3 CHARSET,
// 5 CHARDIR, 7 toolkit directory, 8 system directory, 9 stroke font, 10 the
// temporary directory, 11 a new temporary file name); other codes blank.
void WInfoFilename(int code, TextField name);
