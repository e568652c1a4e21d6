// The library's last error, its texts and message boxes, and its small utility
// exports.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "spreadsheet/library_state.h"
#include "toolkit/core/fixed_text.h"

namespace celox {

std::int32_t qxLastError = 0;
std::array<char, kContextLength> qxErrorContext{};
std::int16_t qxErrorLevel = 0;
bool qxMessageDisplay = false;

namespace {

constexpr int kRecordLength = 1024;
constexpr int kDiagnosticBufferLength = 512;
constexpr int kSqlErrorFailureLength = 85;
constexpr char kLineEnd[] = "\r\n";

std::array<char, kMessageBufferLength> qxMessageBuffer;

struct ErrorText {
  std::int32_t code;
  std::string_view text;
};
constexpr ErrorText kErrorTexts[] = {
    {qxERRORStringNotTerminated, "String not zero-terminated."},
    {qxERRORHandleNotCreated, "Handle could not be created."},
    {qxERRORSQLCallFailed, "Calling a SQL function failed."},
    {qxERRORConnectFailed, "Could not connect to datasource."},
    {qxERRORInsufficientDimension, "Array dimension or size is insufficient."},
    {qxERRORNameMissing, "A name has not been specified."},
    {qxERRORInvalidParameter, "A parameter is invalid or is missing."},
    {qxERRORExecDirectFailed, "Calling a direct SQL execution function failed."},
    {qxERRORBufferTooSmall, "An internal buffer is too small."},
    {qxERRORNotSupported, "A type or a function is not supported."},
    {qxERRORUnknown, "An error is unknown or not being \"named\"."},
};
constexpr std::string_view kUnknownLibraryError = "Unknown error (in qxForEXCEL?).";
constexpr std::string_view kUnknownOtherError =
    "Unknown error (probably a compiler runtime error or an Windows system error).";

struct CodeName {
  int code;
  std::string_view name;
};
constexpr CodeName kReturnCodeNames[] = {
    {-2, "SQL_INVALID_HANDLE"}, {-1, "SQL_ERROR"}, {0, "SQL_SUCCESS"}, {1, "SQL_SUCCESS_WITH_INFO"},
    {2, "SQL_STILL_EXECUTING"}, {5, "SQL_ROW or PARAM_ERROR"}, {6, "SQL_ROW or PARAM_SUCCESS_WITH_INFO"},
    {7, "SQL_PARAM_UNUSED"}, {99, "SQL_NEED_DATA"}, {100, "SQL_NO_DATA"},
};

std::string_view errorText(std::int32_t code) {
  for (const auto& e : kErrorTexts)
    if (e.code == code) return e.text;
  if (code >= 70011 && code <= 70199) return kUnknownLibraryError;
  return kUnknownOtherError;
}

// The context as the texts show it: at least one character.
std::string_view contextText() {
  const int n = qxBoundedTextLength(qxErrorContext.data(), kContextLength);
  return {qxErrorContext.data(), static_cast<std::size_t>(n < 1 ? 1 : n)};
}

// One record of up to 1024 characters: the text, its NUL, blanks to the end;
// cut at the caller's buffer length.
void writeRecord(char* buffer, int bufferLength, const std::string& text) {
  const auto n = static_cast<std::size_t>(std::max(std::min(bufferLength, kRecordLength), 0));
  const std::size_t kept = std::min(text.size(), n);
  std::memcpy(buffer, text.data(), kept);
  if (kept < n) {
    buffer[kept] = '\0';
    std::memset(buffer + kept + 1, ' ', n - kept - 1);
  }
}

// Up to the NUL within `limit`, no longer than `reported`, at least one character.
std::string diagnosticPart(const char* s, int limit, int reported, bool atLeastOne) {
  int n = 0;
  while (n < limit && s[n] != '\0') ++n;
  if (reported >= 0 && n > reported) n = reported;
  if (n == 0 && atLeastOne) return std::string(1, s[0] == '\0' ? ' ' : s[0]);
  return std::string(s, static_cast<std::size_t>(n));
}

void qxReturnCodeName(int code, std::array<char, kContextLength>& field) {
  std::string_view name = "unknown";
  for (const auto& c : kReturnCodeNames)
    if (c.code == code) name = c.name;
  TextField(field.data(), kContextLength).assign(name);
}

std::int32_t qxAppendErrorText(char* buffer, int bufferLength, std::string_view message) {
  const std::string_view context = contextText();
  const int needed = static_cast<int>(context.size() + message.size()) + 50;
  if (bufferLength < needed) return needed;
  std::string text = "Error when calling  " + std::string(context) + kLineEnd + "Error code: " +
                     std::to_string(qxLastError) + " (" + std::string(text::trimmed(message)) + ")";
  writeRecord(buffer, bufferLength, text);
  return 0;
}

std::int32_t odbcDiagnosticText(char* buffer, int bufferLength) {
  std::array<char, kDiagnosticBufferLength> state{};
  std::array<char, kDiagnosticBufferLength> message{};
  SQLINTEGER native = 0;
  SQLSMALLINT messageLength = 0;
  const SQLRETURN rc = SQLError(qxEnvironment, qxCurrentConnection, qxCurrentStatement,
                                reinterpret_cast<SQLCHAR*>(state.data()), &native,
                                reinterpret_cast<SQLCHAR*>(message.data()), kDiagnosticBufferLength - 1,
                                &messageLength);
  if (rc != SQL_SUCCESS) {
    if (bufferLength < kSqlErrorFailureLength) return kSqlErrorFailureLength;
    writeRecord(buffer, bufferLength,
                std::string("Error in  CeloxGetErrorMessages  when calling  SQLError(...).") + kLineEnd +
                    "Error code: " + std::to_string(rc));
    return -1;
  }
  std::string stateText = diagnosticPart(state.data(), kDiagnosticBufferLength, -1, false);
  if (stateText.empty()) stateText = " ";
  const std::string messageText = diagnosticPart(message.data(), kDiagnosticBufferLength, messageLength, true);
  const std::string_view context = contextText();
  const int needed = static_cast<int>(context.size() + stateText.size() + messageText.size()) + 181;
  if (bufferLength < needed) return needed;
  std::array<char, kContextLength> name;
  qxReturnCodeName(qxLastError, name);
  const std::string text = "Error when calling  " + std::string(context) + kLineEnd + "Error code: " +
                           std::to_string(qxLastError) + " (" + std::string(text::trimmed({name.data(), name.size()})) +
                           ")" + kLineEnd + "SQL State: " + stateText + kLineEnd + "SQL ErrorMessage: " +
                           messageText + kLineEnd + "Native error (specific to the data source): " +
                           std::to_string(native);
  writeRecord(buffer, bufferLength, text);
  return 0;
}

}  // namespace

void qxSetContext(std::string_view text) { TextField(qxErrorContext.data(), kContextLength).assign(text); }

int qxBoundedTextLength(const char* text, int maximum) {
  if (!text) return 0;
  for (int i = 0; i < maximum; ++i)
    if (text[i] == '\0') return i;
  return text::trimmedLength({text, static_cast<std::size_t>(maximum)});
}

bool qxSQLSucceeded(SQLRETURN code) {
  const bool succeeded = code == SQL_SUCCESS || (qxErrorLevel == 1 && code == SQL_SUCCESS_WITH_INFO);
  // A clean success with no error waiting has no message to show: the empty
  // record would only be written to be found empty, once for every row.
  if (!qxMessageDisplay || (code == SQL_SUCCESS && qxLastError == 0)) return succeeded;
  if (qxLastError == 0) qxLastError = code;
  const std::int32_t result = CeloxGetErrorMessages(qxMessageBuffer.data(), kMessageBufferLength);
  if (result != 0) {
    const std::string text = "CeloxGetErrorMessages(...) failed. Returned value: " + std::to_string(result);
    std::memcpy(qxMessageBuffer.data(), text.c_str(), text.size() + 1);
  } else if (qxMessageBuffer[0] == '\0') {
    return succeeded;
  }
  MessageBoxA(nullptr, qxMessageBuffer.data(), "Celox Error", MB_ICONSTOP | MB_OK);
  return succeeded;
}

}  // namespace celox

using namespace celox;

std::int32_t __stdcall CeloxSetErrorLevel(std::int32_t level) {
  if (level == 0 || level == 1) qxErrorLevel = static_cast<std::int16_t>(level);
  return level;
}

std::int32_t __stdcall CeloxSetErrorMessagesDisplay(std::int32_t flag) {
  if (flag == 0 || flag == 1) qxMessageDisplay = flag == 1;
  return flag;
}

std::int32_t __stdcall CeloxGetErrorMessages(char* buffer, std::int32_t bufferLength) {
  std::int32_t result = 0;
  if (qxLastError == 0) {
    if (buffer && bufferLength > 0) writeRecord(buffer, bufferLength, {});
  } else if (!buffer) {
    result = -1;
  } else if (qxLastError == SQL_SUCCESS_WITH_INFO || qxLastError == SQL_ERROR) {
    result = odbcDiagnosticText(buffer, bufferLength);
  } else {
    result = qxAppendErrorText(buffer, bufferLength, errorText(qxLastError));
  }
  qxLastError = 0;
  return result;
}

std::int32_t __stdcall CeloxTextLength(const char* text) { return qxBoundedTextLength(text, 65536); }

double __stdcall CeloxNumericToDouble(const SQL_NUMERIC_STRUCT* numeric) {
  if (!numeric) return 0;
  double value = 0, weight = 1;
  for (int i = 0; i < SQL_MAX_NUMERIC_LEN; ++i, weight *= 256) value += numeric->val[i] * weight;
  if (numeric->scale > 0) value /= std::pow(10.0, numeric->scale);
  if (numeric->sign == 0) value = -value;
  return value;
}

void __stdcall CeloxPrintSQLDiagnostics(CeloxConnection connection, void* statement, std::int32_t returnCode) {
  const auto code = static_cast<SQLSMALLINT>(returnCode & 0xFFFF);
  if (code == SQL_SUCCESS) return;
  if (code != SQL_SUCCESS_WITH_INFO && code != SQL_ERROR) {
    std::printf("Unknown error code returned: %s\n", std::to_string(code).c_str());
    std::fflush(stdout);
    return;
  }
  std::array<char, 512> state{};
  std::array<char, 512> message{};
  SQLINTEGER native = 0;
  SQLSMALLINT length = 0;
  SQLError(qxEnvironment, static_cast<SQLHDBC>(connection), static_cast<SQLHSTMT>(statement),
           reinterpret_cast<SQLCHAR*>(state.data()), &native, reinterpret_cast<SQLCHAR*>(message.data()), 511,
           &length);
  std::printf("SQLState: %s\n", diagnosticPart(state.data(), 512, -1, false).c_str());
  std::printf("SQLErrorMessage: %s\n", diagnosticPart(message.data(), 512, length, false).c_str());
  std::printf("Native error (specific to the data source): %ld\n", static_cast<long>(native));
  if (code == SQL_ERROR) std::printf("Error code returned: %d\n", code);
  std::fflush(stdout);
}
