#pragma once
// The open and save dialogs, behind the toolkit's blank-padded texts, and the
// screen position of a dialog's client area.

#include <windows.h>

#include <optional>
#include <string_view>

#include "toolkit/core/fixed_text.h"

// Bits of the flags argument of WFileSelect.
enum FileSelectFlags : int {
  kSelectSave = 1,
  kSelectPrompt = 2,          // saving: ask before overwriting; opening: before creating
  kSelectNoPathCheck = 4,
  kSelectKeepDirectory = 8,   // a chosen file's folder stays the current directory
  kSelectMultiple = 16,       // open dialog only
  kSelectDefaultExtension = 32,
  kSelectMustExist = 128,     // open dialog only; wins over the prompt
};

// filter: descriptions and patterns, each followed by the separator that the
// text's last character names ("GPX files|*.gpx|").  fileName: in, the
// starting folder and name; out, the chosen file.  filterIndex counts from 1.
// Whether a file was chosen is last result 4.
void WFileSelect(std::string_view filter, int flags, TextField fileName,
                 std::optional<std::string_view> title = std::nullopt, int* filterIndex = nullptr);
// resourceNumber: -1 the filter is the text, 0 none, else a string resource.
void YYWSFILE(int resourceNumber, std::string_view filterText, int flags, TextField fileName, std::string_view title,
              int& filterIndex, int freeze);

struct OpenSaveRequest {
  int resourceNumber = -1;
  std::string_view filter;  // without the NUL
  bool save = false;
  bool prompt = false;
  bool noPathCheck = false;
  bool multiple = false;
  bool defaultExtension = false;
  bool mustExist = false;
  const char* title = "";
  char* fileBuffer = nullptr;
  int fileBufferSize = 0;
  const char* initialDirectory = "";
};
// Runs the Windows dialog; filterIndex in and out; chosen 1 or 0; the
// extended error of a failed dialog (0 for a cancel).
void YYOpenSaveDialog(const OpenSaveRequest& request, int& filterIndex, int& chosen, int& extendedError);
// Splits a path in place into its folder (kept in the path) and its name.
void YYPATHNAMEPART(TextField path, TextField namePart);
void YYClientOriginToScreen(int& x, int& y);
