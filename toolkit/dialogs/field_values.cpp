#include "toolkit/dialogs/field_values.h"

#include <cmath>
#include <limits>

#include "toolkit/core/error_reporter.h"
#include "toolkit/core/number_conversion.h"
#include "toolkit/core/strings.h"

namespace {

// Reading a field's text is silent: the last error and the reporting mode are
// put back as they were, and whether the read failed is told to the caller.
class SilentRead {
 public:
  SilentRead() : savedError_(errorState.lastError), savedMode_(errorState.reportingMode) {
    errorState.lastError = 0;
    errorState.reportingMode = kReportSilent;
  }
  ~SilentRead() {
    errorState.lastError = savedError_;
    errorState.reportingMode = savedMode_;
  }
  SilentRead(const SilentRead&) = delete;
  SilentRead& operator=(const SilentRead&) = delete;
  bool failed() const { return errorState.lastError != 0; }

 private:
  int savedError_;
  int savedMode_;
};

// Left-justifies the written field and ends it with a NUL after its last
// non-blank character when there is room.
void finishOutput(TextField text) {
  IStringAlign(text, "L");
  const int last = text.trimmedLength();
  if (last < text.length()) text.column(last + 1) = '\0';
}

int truncatedToInt(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return std::numeric_limits<int>::max();
  if (v <= -2147483648.0) return std::numeric_limits<int>::min();
  return static_cast<int>(v);
}

}  // namespace

std::string_view fieldTextOf(std::string_view text) {
  const std::size_t nul = text.find('\0');
  if (nul != std::string_view::npos) return text.substr(0, nul);
  return text::trimmed(text);
}

void YYNumberToString(double value, TextField text, std::string_view format) {
  IDoubleToString(value, text, format);
  finishOutput(text);
}

void YYINTTOTEXT(int value, TextField text) {
  IntegerToString(value, text, kIntegerFieldFormat);
  finishOutput(text);
}

void YYREALTOTEXT(float value, TextField text, std::string_view format) {
  IRealToString(value, text, format);
  finishOutput(text);
}

void YYTEXTTOINT(double& value, std::string_view text) {
  SilentRead read;
  YYStringToDouble(fieldTextOf(text), value);
}

void YYTEXTTOINTOK(double& value, int& ok, std::string_view text) {
  SilentRead read;
  YYStringToDouble(fieldTextOf(text), value);
  ok = read.failed() ? 0 : 1;
}

void YYTEXTTOREAL(float& value, std::string_view text) {
  SilentRead read;
  IStringToReal(fieldTextOf(text), value);
}

void YYTEXTTOREALOK(int& value, std::string_view text) {
  SilentRead read;
  float real = 0.0f;
  IStringToReal(fieldTextOf(text), real);
  if (!read.failed()) value = truncatedToInt(real);
}

void YYREFMTINT(TextField text) {
  double value = 0.0;
  {
    SilentRead read;
    YYStringToDouble(fieldTextOf(text.view()), value);
    if (read.failed()) return;
  }
  YYINTTOTEXT(truncatedToInt(value), text);
}

void YYREFMTREAL(TextField text, std::string_view format) {
  float value = 0.0f;
  {
    SilentRead read;
    IStringToReal(fieldTextOf(text.view()), value);
    if (read.failed()) return;
  }
  YYREALTOTEXT(value, text, format);
}

void YYREFMTDBL(TextField text, std::string_view format) {
  double value = 0.0;
  {
    SilentRead read;
    YYStringToDouble(fieldTextOf(text.view()), value);
    if (read.failed()) return;
  }
  YYNumberToString(value, text, format);
}
