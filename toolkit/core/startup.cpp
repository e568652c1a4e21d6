#include "toolkit/core/startup.h"

#include <windows.h>

#include <string>

#include "toolkit/core/fixed_text.h"
#include "toolkit/core/number_format.h"

void YYAbnormalExit(std::string_view message, int code) {
  if (!text::isBlank(message)) {
    std::string codeText = formatI(code, 4);
    codeText.erase(0, codeText.find_first_not_of(' '));
    std::string line = "Abnormal exit (code " + codeText + ") : " + std::string(text::trimmed(message));
    if (line.size() > 259) line.resize(259);
    MessageBoxA(nullptr, line.c_str(), "Zandrovel", MB_TASKMODAL | MB_ICONHAND | MB_OK);
  }
  ExitProcess(static_cast<UINT>(code));
}
