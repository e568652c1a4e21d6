#include "toolkit/core/error_reporter.h"

#include <windows.h>

#include <cstdio>
#include <string>

#include "toolkit/core/error_texts.h"
#include "toolkit/core/number_format.h"
#include "toolkit/core/startup.h"
#include "toolkit/core/status_bar.h"
#include "toolkit/core/window_select.h"
#include "toolkit/dialogs/message_box.h"

ErrorState errorState;

namespace {

struct DebugLog {
  HFILE handle = HFILE_ERROR;
  bool opened = false;
};
DebugLog debugLog;

constexpr int kMessageLength = 200;

bool isInternalName(std::string_view routine) {
  return routine.size() >= 2 && ((routine[0] == 'Y' && routine[1] == 'Y') ||
                                 (routine[0] == 'y' && routine[1] == 'y'));
}

// Builds "Routine:NAME Error=NNNN:TEXT[: SYSTEM TEXT]" in errorState.message and
// returns the columns L1 (end of the name part) and L2 (the colon).
void buildMessage(int number, std::string_view routine, int& l1, int& l2) {
  TextField msg = errorState.message.field();
  std::string head;
  if (isInternalName(routine)) {
    head = "Internal routine:" + std::string(routine.substr(0, 183));
  } else {
    head = "Routine:" + std::string(routine.substr(0, 192));
  }
  msg.assign(head);
  l1 = msg.trimmedLength();
  msg.part(l1 + 1, kMessageLength).assign(" Error=    :");
  l2 = msg.trimmedLength();
  // A name that fills the message leaves no room for the number; it is not
  // written over the name.
  if (l2 == l1 + 12) msg.part(l2 - 4, 4).assign(formatI(number, 4));
  YYErrorText(number, msg.part(l2 + 1, kMessageLength), kTableText);

  if (number == 13 || number == 1044) {
    const int l = msg.trimmedLength();
    if (l < 198) {
      msg.column(l + 1) = ':';
      YYErrorText(errorState.osError, msg.part(l + 3, kMessageLength),
                  number == 13 ? kSystemText : kZlibText);
    }
  }
}

void showMessage(int mode, int l1, int l2) {
  const std::string_view full = errorState.message.trimmed();
  switch (mode) {
    case kReportStdout:
      std::printf(" %.*s\n", static_cast<int>(full.size()), full.data());
      std::fflush(stdout);
      break;
    case kReportDebugLog:
      YYErrorOutput(full);
      break;
    case kReportStatusBar: {
      const int noted = YYWindowInfo(4);
      YYWINSEL(0, 0);
      WindowStatusText(1, full);
      YYWindowReselect(noted);
      break;
    }
    case kReportMessageBox: {
      const std::string_view m = errorState.message.view();
      const std::string text = std::string(m.substr(0, static_cast<std::size_t>(l1))) + '\r' +
                               std::string(m.substr(static_cast<std::size_t>(l1 + 1),
                                                    static_cast<std::size_t>(l2 - 1 - (l1 + 1)))) +
                               '\r' + std::string(text::trimmed(m.substr(static_cast<std::size_t>(l2))));
      WMessageBox(1, 3, 1, text, "Library Error");
      if (WQueryLastResult(4) == 0) YYAbnormalExit(" ", 0);
      break;
    }
    default:
      break;
  }
}

}  // namespace

void YYErrorReport(int number, std::string_view routine) {
  errorState.lastError = number;
  if (errorState.reportingMode <= kReportSilent) return;
  const int mode = errorState.reportingMode;
  // Failures while the message is shown are recorded, never shown.
  errorState.reportingMode = kReportSilent;
  int l1 = 0;
  int l2 = 0;
  buildMessage(number, text::trimmed(routine), l1, l2);
  showMessage(mode, l1, l2);
  errorState.reportingMode = mode;
  errorState.lastError = number;
}

void YYErrorModeSet(int mode) {
  if (mode >= kReportSilent && mode <= kReportMessageBox) errorState.reportingMode = mode;
}

void YYErrorCodeStore(int number) { errorState.lastError = number; }

int WErrorStatusQuery(int code) {
  int value = 0;
  switch (code) {
    case 1:
      value = errorState.lastError;
      errorState.lastError = 0;
      break;
    case 2:
      value = errorState.ioDetail;
      errorState.ioDetail = 0;
      break;
    case 3:
      value = errorState.osError;
      errorState.osError = 0;
      break;
    case 4:
      value = errorState.reportingMode;
      break;
    case 5:
      value = errorState.ioDetailKind;
      break;
    default:
      break;
  }
  return value;
}

void YYErrorStateReset() {
  errorState.ioDetailKind = 0;
  errorState.reportingMode = kReportSilent;
  errorState.osError = 0;
  errorState.ioDetail = 0;
  errorState.lastError = 0;
  errorState.message.blank();
}

void YYErrorOutput(std::string_view text) {
  const std::string line(text);
  YYDebugLogWrite(line.c_str());
}

void YYDebugLogOpen() {
  if (debugLog.opened) return;
  for (const char* name : {"debug", "debug.txt", "debug.dat"}) {
    debugLog.handle = _lcreat(name, 0);
    if (debugLog.handle != HFILE_ERROR) break;
  }
  debugLog.opened = true;
}

void YYDebugLogWrite(const char* text) {
  YYDebugLogOpen();
  if (debugLog.handle == HFILE_ERROR) return;
  _lwrite(debugLog.handle, text, static_cast<UINT>(std::char_traits<char>::length(text)));
  _lwrite(debugLog.handle, "\r\n", 2);
}

void YYDebugLogLine(const char* text) { YYDebugLogWrite(text); }

void YYDebugLogValue(const char* name, int value) {
  // The line is built in 100 bytes: a longer name is cut so that "=value" still fits.
  char line[100];
  std::snprintf(line, sizeof line, "%.80s=%d", name, value);
  YYDebugLogWrite(line);
}
