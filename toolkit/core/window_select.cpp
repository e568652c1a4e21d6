#include "toolkit/core/window_select.h"

#include <windows.h>

#include "toolkit/core/error_reporter.h"
#include "toolkit/core/strings.h"
#include "toolkit/core/toolkit_settings.h"

// Until the window table exists no window has a frame: every selection is refused.
void YYWINSEL(int index, int option) { YYErrorReport(1003, "YYWINSEL"); }
void YYWindowReselect(int index) { YYWINSEL(index, 0); }
int YYWindowInfo(int code) { return 0; }

void YYBeep() { YYBeepIfEnabled(); }
void YYBeepIfEnabled() {
  if (toolkitSettings.beepsAllowed != 0) MessageBeep(0);
}
void YYBeepEnable(int flag) { toolkitSettings.beepsAllowed = flag != 0 ? kTrue : kFalse; }
