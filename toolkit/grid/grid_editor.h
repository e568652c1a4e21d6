#pragma once
// The grid editor: a toolkit child window turned into an editor of a working
// copy of a grid field, with menus, accelerators, a toolbar and the row and
// column in the status bar.  The grid API reaches its grid as grid 0 while
// the editor's window is the current window.

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "toolkit/core/window_table.h"
#include "toolkit/grid/grid_model.h"

// Flags of YYGridEditorCreate.
enum GridEditorFlag : int {
  kEditorNoToolbar = 0x20,
  kEditorNoNewOpen = 0x100,
  kEditorNoSaveAs = 0x200,
  kEditorNoPrint = 0x400,
  kEditorRowLabels = 0x800,
  kEditorNoFind = 0x1000,
  kEditorNoSave = 0x2000,
  kEditorBackup = 0x20000,
  kEditorNoSaveHtml = 0x40000,
  kEditorIgnoreCellReadOnly = 0x80000,
  kEditorRowCount = 0x100000,
  kEditorNoRows = 0x200000,
};

// Menu and toolbar commands.
enum GridEditorCommand : int {
  kCmdNew = 32101,
  kCmdOpen = 32102,
  kCmdSave = 32103,
  kCmdSaveAs = 32104,
  kCmdPrint = 32105,
  kCmdPrintSelection = 32106,
  kCmdExit = 32107,
  kCmdSaveHtml = 32108,
  kCmdCut = 32122,
  kCmdCopy = 32123,
  kCmdPaste = 32124,
  kCmdDelete = 32125,
  kCmdSelectAll = 32126,
  kCmdSort = 32127,
  kCmdInsertBefore = 32128,
  kCmdInsertAfter = 32129,
  kCmdDeleteRow = 32130,
  kCmdFind = 32141,
  kCmdFindNext = 32142,
  kCmdGotoCell = 32144,
  kCmdGotoRow = 32145,
  kCmdGotoColumn = 32146,
};
constexpr int kEditorToolbarId = 1001;
constexpr int kEditorGridId = 1002;

// Conversion statuses.
enum GridEditorStatus : int {
  kEditorDone = 0,
  kEditorRootWindow = 1,
  kEditorUserMenuModal = 2,
  kEditorMenuNotLoaded = 3,
  kEditorMenuInsideParent = 4,
  kEditorModeChanged = 5,
  kEditorNoMemory = 6,
  kEditorConverted = 8,
  kEditorNoGridField = 11,
  kEditorClientHasChildren = 12,
};
// The toolkit error a caller reports for a status (0: none): 1051 a menu in
// a child inside its parent, 1052 the mode, 1053 any other refusal.
int YYGridEditorStatusError(int status);

constexpr int kEditorFileNameLength = 260;
constexpr int kEditorTextLength = 1024;
constexpr int kEditorFilterLength = 1001;

// One per editor window, in its user data.  It starts with the toolkit's
// window record, whose accelerator pair the toolkit's event loop translates
// (the editor's own table, then the user's).
struct GridEditorRecord {
  WindowRecord header;  // kind 4
  std::array<HWND, 4> windowBars{};
  HWND grid = nullptr;
  HWND toolbar = nullptr;
  HWND tooltips = nullptr;
  HWND statusBar = nullptr;
  HMENU menuBar = nullptr;
  HMENU file = nullptr, edit = nullptr, search = nullptr;
  int mode = 0;
  int rowLabels = 0;
  int rowCount = 0;
  std::string fileName;    // at most 259 characters
  std::string baseTitle;   // at most 1023
  std::string findText;    // at most 1023
  std::string secondText;  // nothing writes it
  std::string filterText;  // at most 1000
  int filterIndex = 1;
  int matchCase = 0;
  int numericColumns = 0;
  int ended = 0;
  int offerNew = 0, readOnly = 0, offerOpen = 0, offerSave = 0, offerSaveAs = 0, offerSaveHtml = 0;
  int offerPrint = 0, offerFind = 0, offerRows = 0;
  int ignoreCellReadOnly = 0;
  int backup = 0;
  std::uint32_t lastCell = 0;
  // Window state of the editor itself.
  int slot = 0;
  HFONT font = nullptr;
  bool ownsFont = false;
  bool dragging = false;
  bool sizePending = false;
  WPARAM pendingSizeKind = 0;

  HACCEL& accelerators() { return header.accelerators[0]; }
  HACCEL& userAccelerators() { return header.accelerators[1]; }
};

// What a modal editor leaves behind when it closes, for later inquiry.
struct GridEditorClosed {
  int unsaved = 0;
  int changed = 0;
  std::string findText;
  std::string secondText;
  std::string fileName;
};
extern GridEditorClosed yyGridEditorClosed;

GridEditorRecord* YYGridEditorOf(HWND window);
// The editor of a window slot, or null.
GridEditorRecord* YYGridEditorOfSlot(int slot);

// Options of a grid named by its identifier; identifier -2 answers codes 6
// and 7 from what the last modal editor left behind.  The status comes back
// in the identifier: -1 when there is no such grid.
void YYGridOption(int& grid, int code, int& value);

// Text `which` (1 find text, 2 second text, 3 file name) of the editor in
// window slot `identifier`, or with -1 of the last modal editor that closed;
// at most `maximum` characters.  The text is left as it is for other values
// or when the window is no grid editor.
void YYGridEditorText(int identifier, int which, std::string& text, int maximum);

void YYGridEditorCreate(int& status, int gridField, int& mode, int menuNumber, int flags, int filterIndex,
                        std::string_view initialFileName, std::string_view filterText);
LRESULT CALLBACK YYGridEditorWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void YYGridEditorModalLoop();
void YYGridEditorTitle(HWND window);
// The window's title: base + " - [" + file + "]", cut to fit 1023 characters.
std::string YYGridEditorTitleText(std::string_view base, std::string_view fileName);
void YYGridEditorFit(GridEditorRecord& record);
// The window size that shows the whole grid.
SIZE YYGridEditorWholeSize(const GridEditorRecord& record);
HWND YYGridEditorCellEdit(const GridRecord& grid);

// A numeric cell's spin: delta 1 / -1 the small step, 5 / -5 the large one;
// clamped to the range (when minimum <= maximum); an integer cell that is not
// clamped is cut to a whole multiple of the step (a step of 0 leaves it).
double YYGridSpinValue(double value, int delta, double smallStep, double largeStep, double minimum, double maximum,
                       bool integer);
