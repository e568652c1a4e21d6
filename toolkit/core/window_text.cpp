#include "toolkit/core/window_text.h"

// Until the window table and its drawing exist there is no window to write into.
void WindowTextAt(int x, int y, std::string_view text) {}

void WindowFillArea(std::optional<int> x1, std::optional<int> y1, std::optional<int> x2, std::optional<int> y2,
                    std::optional<int> colour) {}
