#pragma once
// Status bars and window units: the toolkit's 0-9999 coordinates of the current
// window's client area, in which pane widths and text positions are given.

#include <array>
#include <span>
#include <string_view>

constexpr int kMaxStatusPanes = 255;
// Pane texts hold at most this many characters.
constexpr int kStatusTextLength = 511;

struct StatusPanes {
  std::array<int, kMaxStatusPanes + 1> edges{};  // 1-255, pixels; -1 = to the end of the bar
  std::array<std::array<int, kMaxStatusPanes + 1>, 21> styles{};  // per window slot; platform flags
};
extern StatusPanes statusPanes;

// Sets the panes of the current window's status bar: widths in window units
// (-1 = to the end), styles 0 no border, 1 sunken (default), 2 raised.
void WindowStatusPanes(int count, std::span<const int> widths, std::span<const int> styles = {});
// Shows a text in pane 1-255 of the current window's status bar.
void WindowStatusText(int pane, std::string_view text);
void YYStatusPaneSet(int pane, int rightEdge, int style);
void YYStatusPanesApply(int count);
void YYStatusTextSet(int pane, const char* text);
// Clears the pane styles of one window slot.
void YYStatusStylesClear(int slot);

// Window units of the current window to pixels and back.
void YYScaleToPixels(int x, int y, int& px, int& py);
void YYPixelsToUnits(int px, int py, int& x, int& y);
