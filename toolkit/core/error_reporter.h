#pragma once
// The toolkit's one way of reporting failures: an error number and the routine's
// own name, recorded in ErrorState and shown according to the reporting mode.

#include <string_view>

#include "toolkit/core/fixed_text.h"

enum ReportingMode : int {
  kReportSilent = 0,
  kReportStdout = 1,
  kReportDebugLog = 2,
  kReportStatusBar = 3,
  kReportMessageBox = 4,
};

struct ErrorState {
  int ioDetailKind = 0;   // 1 formatted file, 2 binary or plot file, 0 none
  int reportingMode = kReportSilent;
  int osError = 0;        // Windows code before error 13; zlib status for 1044
  int ioDetail = 0;
  int lastError = 0;
  FixedText<200> message;
};
extern ErrorState errorState;

void YYErrorReport(int number, std::string_view routine);
void YYErrorModeSet(int mode);
void YYErrorCodeStore(int number);
// Codes: 1 last error (cleared), 2 I/O detail (cleared), 3 OS error (cleared),
// 4 reporting mode, 5 I/O detail kind.
int WErrorStatusQuery(int code);

// The toolkit's own debug log ("debug", else "debug.txt", else "debug.dat").
void YYErrorOutput(std::string_view text);
void YYDebugLogOpen();
void YYDebugLogWrite(const char* text);
void YYDebugLogLine(const char* text);
void YYDebugLogValue(const char* name, int value);

// Puts every error word back to its start value (start-up, and tests).
void YYErrorStateReset();
