#include "toolkit/core/window_select.h"

#include "toolkit/core/error_reporter.h"

// Until the window table exists no window has a frame: every selection is refused.
void YYWINSEL(int index, int option) { YYErrorReport(1003, "YYWINSEL"); }
void YYWindowReselect(int index) { YYWINSEL(index, 0); }
int YYWindowInfo(int code) { return 0; }
