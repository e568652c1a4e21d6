#include "toolkit/dialogs/message_box.h"

#include <windows.h>

#include <array>
#include <string>

#include "toolkit/core/fixed_text.h"

namespace {
std::array<int, 6> lastResults{};  // codes 1-5

// The least box the error reporter needs until the dialog manager is built:
// OK (0) or OK and Cancel (1), with an icon, answered as the toolkit codes it.
int showBox(int buttons, int icon, std::string_view text, std::string_view title) {
  UINT style = buttons == 1 ? MB_OKCANCEL : MB_OK;
  constexpr std::array<UINT, 5> kIcons = {0, MB_ICONHAND, MB_ICONQUESTION, MB_ICONEXCLAMATION,
                                          MB_ICONASTERISK};
  if (icon >= 0 && icon < static_cast<int>(kIcons.size())) style |= kIcons[static_cast<std::size_t>(icon)];
  const std::string t = windowsText(text);
  const std::string c = windowsText(title);
  const int answer = MessageBoxA(nullptr, t.c_str(), c.c_str(), style);
  return answer == IDCANCEL ? 0 : answer == IDOK ? 1 : answer;
}
}  // namespace

void WMessageBox(int buttons, int icon, int defaultButton, std::string_view text,
                 std::string_view title) {
  lastResults[4] = showBox(buttons, icon, text, title);
  lastResults[2] = 0;
}

int WQueryLastResult(int code) {
  if (code >= 1 && code <= 5) return lastResults[static_cast<std::size_t>(code)];
  return 0;
}
