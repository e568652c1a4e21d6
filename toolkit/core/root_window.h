#pragma once
// The root window: the program's main window, slot 0 of the window table.

#include <windows.h>

#include <array>
#include <optional>
#include <string_view>

#include "toolkit/core/fixed_text.h"

// What WindowOpenRecord takes.
struct WindowSettings {
  int flags = 7;
  int x = -1;  // pixels; negative centres
  int y = -1;
  int width = 0;  // client size in pixels; <= 0 gives 80% of the screen
  int height = 0;
  int menu = 0;  // menu resource number, 0 none
  FixedText<80> title;
};

void WindowOpenRecord(const WindowSettings& settings, std::optional<int> paletteColours = std::nullopt);

struct RootWindowOptions {
  std::optional<int> flags;
  std::optional<int> x;
  std::optional<int> y;
  std::optional<int> width;
  std::optional<int> height;
  std::optional<int> menu;
  std::array<int, 4> toolbars{};  // top, left, right, bottom; 0 none
  std::optional<int> dialog;      // dialog to combine with the window
  std::optional<std::string_view> title;
  std::optional<int> paletteColours;
};
// Opens the root window once; a second call while it is open does nothing.
void WindowOpen2(const RootWindowOptions& options);

void YYRootWindowCreate(int x, int y, int& width, int& height, int flags, int menu, const std::array<int, 4>& toolbars,
                        int paletteColours, int& dialog, const char* title);
void YYRootWindowClose();
// Ends the toolkit: stops hardcopy, frees metafiles, closes every window.
void WShutdown();

// Builds the bars of a new frame and its client window (root and child
// windows alike); moves a centred frame to keep it centred.  False when the
// client cannot be made.
bool YYFrameBarsBuild(int slot, int flags, const std::array<int, 4>& toolbars, bool centredX, bool centredY);
// The logical palette of a 256-colour display for N = 16, 32, 64 or 128
// palette colours (N + 18 entries).
void YYPaletteEntries(int paletteColours, PALETTEENTRY* entries);
// Probes a dialog template for combining with a window: the dialog's window
// size when it is a control-style child dialog without caption or system menu;
// -1 when the template cannot be created, -2 when its style is wrong.
int YYCombinedDialogProbe(int dialogNumber, SIZE& size);
// A window that holds a combined dialog takes the dialog's size and a fixed
// frame; a template that cannot be combined leaves its probe code in `dialog`.
void YYCombinedDialogFit(int& dialog, int& width, int& height, int& flags);
// Loads the combined dialog into the dialog table inside the slot's client
// window, shows it at its top left unless hidden, and hangs a kind-3 record
// naming it on the frame.  The dialog's slot, or -1 when it cannot be created.
int YYCombinedDialogAttach(int slot, int dialogNumber, bool hidden);
// Shows a slot's combined dialog modeless at the top left of its window, or
// again when it has been shown before.
void YYCombinedDialogShow(int slot);
// Hides and unloads a slot's combined dialog and frees its record.
void YYCombinedDialogRelease(int slot);
