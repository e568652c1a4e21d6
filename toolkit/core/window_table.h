#pragma once
// The toolkit's table of windows: slot 0 the root window, slots 1-20 child
// windows, with everything the window, menu, status-bar, event and text
// routines keep about them, and the window colour table.

#include <windows.h>

#include <array>
#include <vector>

#include "toolkit/core/fixed_text.h"

constexpr int kMaxWindowSlot = 20;
constexpr int kWindowSlots = kMaxWindowSlot + 1;
constexpr int kPlacementUnsaved = -999;
constexpr int kCentred = -999999;  // position value that centres a window
constexpr int kStatusBarId = 999;

// Root and child window flag bits.
enum WindowFlag : int {
  kFlagSystemMenu = 0x1,
  kFlagMinimiseBox = 0x2,
  kFlagMaximiseBox = 0x4,
  kFlagMaximised = 0x8,
  kFlagInsideParent = 0x10,
  kFlagStatusBar = 0x20,
  kFlagFixedSize = 0x40,
  kFlagHidden = 0x80,
  kFlagOwned = 0x100,
  kFlagTopmost = 0x200,
  kFlagToolWindow = 0x10000,
};

// Toolbar positions, in the order the bars are created and laid out.
enum ToolbarPosition : int { kToolbarTop = 0, kToolbarLeft = 1, kToolbarRight = 2, kToolbarBottom = 3 };

// One expose or resize event kept for a window until the next wait delivers it.
struct ParkedEvent {
  int type = 0;  // 0 none, 7 expose, 8 resize
  int value1 = 0, value2 = 0, value3 = 0, value4 = 0;
  int x = 0, y = 0;
  int time = 0;
};

struct ToolbarTip {
  int commandId = 0;
  FixedText<80> text;
};

struct WindowSlot {
  HWND frame = nullptr;
  HWND client = nullptr;
  HWND statusBar = nullptr;
  HMENU menu = nullptr;
  HACCEL accelerators = nullptr;
  const BYTE* menuHelp = nullptr;  // the menu's QVRMENUSTRING resource
  DWORD menuHelpSize = 0;
  int itemHelpCount = 0;  // menu items that carry a help text as item data
  std::array<HWND, 4> toolbars{};
  std::vector<ToolbarTip> tips;  // capacity = size; an entry with id 0 is free
  HBITMAP snapshot = nullptr;
  int snapshotUses = 0;
  ParkedEvent parked;
  UINT mciDevice = 0;
  RECT savedNormal{kPlacementUnsaved, 0, 0, 0};
  HWND previousOwner = nullptr;
};

struct WindowTable {
  std::array<WindowSlot, kWindowSlots> slots;
  int currentSlot = 0;
  // The window the drawing and text routines work on, and its client size.
  int currentIndex = 0;
  int clientWidth = 0;
  int clientHeight = 0;
  int lastResizeWidth = 0;
  int lastResizeHeight = 0;
  HWND ownerWindow = nullptr;  // owner of dialogs: the last focused toolkit frame
  HINSTANCE module = nullptr;
  HDC drawDc = nullptr;  // the current client window's device context
  HPEN toolkitPen = nullptr;
  HBRUSH toolkitBrush = nullptr;
  HGDIOBJ savedPen = nullptr;  // the drawing context's own pen and brush
  HGDIOBJ savedBrush = nullptr;
  HRGN clipRegion = nullptr;
  HBITMAP patternBitmap = nullptr;  // the 8 x 8 pattern of the drawing context
  bool rootOpen = false;
  int rootFlags = -1;
  POINT rootPosition{};
  ATOM frameAtom = 0;
  ATOM clientAtom = 0;
  ATOM childAtom = 0;
  int richEditKind = 0;
  UINT findReplaceMessage = 0;
  HMODULE msimg32 = nullptr;
  HMODULE mapi32 = nullptr;
  HMODULE helpLibrary = nullptr;
  FARPROC mapiSendMail = nullptr;
  HPALETTE palette = nullptr;
  std::vector<BYTE> paletteBlock;  // the LOGPALETTE the palette was made from
  int paletteColours = 16;
  HCURSOR cursor = nullptr;  // set by YYCursorSet, shown over client areas
  bool combinedDialog = false;
  bool hidden = false;
  // Set by the dialog manager while a modal dialog or box is up: windows
  // repaint from their snapshots and post no expose events.
  bool modalSnapshotMode = false;
  HWND activeModelessDialog = nullptr;
  // Whose accelerators serve the active modeless dialog: its owner window's
  // slot (a dialog combined with a window), else the root's when its
  // description asks for them.
  int activeModelessOwnerSlot = -1;
  bool activeModelessUsesRootKeys = false;
  int popupHelpSlot = -1;  // a running popup menu's help resource ...
  const BYTE* popupMenuHelp = nullptr;  // ... the second help source
  DWORD popupMenuHelpSize = 0;
  // Screen metrics, measured when the root window opens.
  int screenWidth = 0;
  int screenHeight = 0;
  int colourCount = 0;
};
extern WindowTable windowTable;

// Window colours 0-15, then the system window-text (16) and window (17) colours.
constexpr int kWindowColours = 18;
extern std::array<COLORREF, kWindowColours> windowColours;
// The 16 standard colours that root-window creation copies into the table.
extern const std::array<COLORREF, 16> kStandardWindowColours;

// The record a toolkit frame may carry as its window data; its first word is
// its kind.  Kinds 2 and 3 name their dialog in word 5.
enum WindowRecordKind : int {
  kRecordNone = 0,
  kRecordBitmapView = 1,
  kRecordChildDialog = 2,
  kRecordCombinedDialog = 3,
  kRecordGridEditor = 4,
};
struct WindowRecord {
  int kind = kRecordNone;
  int word2 = 0, word3 = 0, word4 = 0;
  HWND dialog = nullptr;
  int word6 = 0;
  // Bitmap views and grid editors: an embedded dialog and two accelerator tables.
  HWND embeddedDialog = nullptr;
  std::array<HACCEL, 2> accelerators{};
};
WindowRecord* windowRecordOf(HWND frame);
int windowRecordKindOf(HWND frame);

bool isValidSlot(int slot);
bool slotHasFrame(int slot);
WindowSlot& slotOf(int slot);

// Measures the screen: size, colour count (2 ** (planes x bits), bits capped at 24).
void YYScreenMeasure(int& width, int& height, int& colourCount);
// True on a display of 256 colours, where the toolkit works through its palette.
bool isPaletteDisplay();
// A window colour as drawn: through the nearest palette colour on a 256-colour display.
COLORREF displayColour(HDC dc, COLORREF colour);
