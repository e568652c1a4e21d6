#include "toolkit/core/status_bar.h"

// Until windows exist there is no status bar to write to.
void WindowStatusText(int pane, std::string_view text) {}
