#pragma once
// The root window's status bar and window units.

#include <string_view>

// Shows a text in pane 1-255 of the current window's status bar.
void WindowStatusText(int pane, std::string_view text);
