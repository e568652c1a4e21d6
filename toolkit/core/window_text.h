#pragma once
// Text output in the current window's client area, at positions in window units
// (0-9999 across the client area).

#include <optional>
#include <string_view>

// Writes the text at (x, y) of the current window; the whole text is drawn.
void WindowTextAt(int x, int y, std::string_view text);

// Fills a rectangle of the client area (pixels; absent corners give the whole
// area) with a colour (RGB; absent or -1 gives the background colour).
void WindowFillArea(std::optional<int> x1 = std::nullopt, std::optional<int> y1 = std::nullopt,
                    std::optional<int> x2 = std::nullopt, std::optional<int> y2 = std::nullopt,
                    std::optional<int> colour = std::nullopt);
