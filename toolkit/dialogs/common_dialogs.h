#pragma once
// The colour chooser, the page set-up, the folder browser with a typed-path
// box, and the locale's measurement system, behind plain integers and
// NUL-ended texts.  Each Windows dialog runs with the toolkit's other windows
// and dialogs disabled, as a message box does.

#include <windows.h>

// Red, green and blue 0-255 in and out (the low byte of each is used);
// status 1 when a colour was chosen, else 0 with the extended error.
void YYColourChooser(int& red, int& green, int& blue, int& status, int& extendedError);

// Units below 2: thousandths of an inch; 2 or more: hundredths of a millimetre.
constexpr int kPageUnitsInches = 1;
constexpr int kPageUnitsMillimetres = 2;
// Paper size out; printable size and left and top margins in and out;
// orientation 0 portrait, 1 landscape, in and out; copies in and out; the
// printer's colour count out; status 1 when the user accepted the dialog.
void YYPageSetup(int& paperWidth, int& paperHeight, int& printableWidth, int& printableHeight, int& leftMargin,
                 int& topMargin, int& orientation, int& copies, int units, int& colourCount, int& status);

// Folder browser flags, status and the id of its typed-path box.
constexpr int kBrowseNoCheck = 4;
constexpr int kBrowseOfferCreate = 64;
constexpr int kBrowseChosen = 1;
constexpr int kBrowseCancelled = 2;
constexpr int kBrowsePathField = 0x3F00;
constexpr int kBrowseDirectoryLength = 260;
// titleMode 1 shows the given title, otherwise "Select Directory".  The
// directory buffer holds kBrowseDirectoryLength characters and a NUL: the
// starting folder in, the chosen one out.
void YYDirectoryBrowse(int titleMode, int& status, int flags, char* directory, const char* title);
// The browse dialog's procedure in front of the shell's own: it checks a
// typed path when OK is pressed.
LRESULT CALLBACK YYDirectoryBrowseProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// 1 when the user's locale measures in U.S. units, else 2.
void YYLocaleMeasure(int& units);
