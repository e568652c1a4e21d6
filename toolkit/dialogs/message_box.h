#pragma once
// The toolkit's message box and the last results of modal interactions.

#include <string_view>

// Shows a modal box: buttons 0-5, icon 0-4, default button 1-3; the answer goes
// to last result 4 (1 OK/Yes/Retry, 0 Cancel/Ignore, 2 No/Abort).
void WMessageBox(int buttons, int icon, int defaultButton, std::string_view text,
                 std::string_view title);
int WQueryLastResult(int code);
