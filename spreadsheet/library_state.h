#pragma once
// What the library's routines share: the last error with its context, the error
// level and message display, the ODBC handles of the open workbook, and the
// internal routines every export uses.  One thread, one workbook at a time.

#include <windows.h>

#include <sql.h>
#include <sqlext.h>

#include <array>
#include <cstdint>
#include <string_view>

#include "spreadsheet/celox.h"

namespace celox {

constexpr int kContextLength = 40;
constexpr int kMessageBufferLength = 4096;
constexpr int kFileNameLimit = 1024;
constexpr int kNameLimit = 20480;  // table names, table definitions, statements
constexpr int kConnectionStringLength = 2048;

// The non-zero status a failed memory allocation leaves as the last error.
constexpr std::int32_t kAllocationFailed = ERROR_NOT_ENOUGH_MEMORY;

extern std::int32_t qxLastError;
extern std::array<char, kContextLength> qxErrorContext;
extern std::int16_t qxErrorLevel;
extern bool qxMessageDisplay;

extern SQLHENV qxEnvironment;
extern std::int16_t qxOpenConnections;
extern SQLHDBC qxCurrentConnection;
extern SQLHSTMT qxCurrentStatement;

// Sets the context, blank-padded (cut) to its 40 characters.
void qxSetContext(std::string_view text);

// Judges an ODBC return code by the error level and, with message display on,
// shows what is recorded in a box.
bool qxSQLSucceeded(SQLRETURN code);

// Characters before the first NUL among the first `maximum`, else the length of
// those characters without trailing blanks.
int qxBoundedTextLength(const char* text, int maximum);

// Connection routines.
SQLHDBC qxEXCELConnect(const char* fileName, int maximum);
void qxDisconnect(SQLHDBC connection);
SQLHSTMT qxAllocStmtHandle(SQLHDBC connection);
bool qxFreeStmtHandle(SQLHSTMT statement);

// The built-in empty workbook that create writes.
struct EmptyWorkbookImage {
  const std::uint8_t* bytes;
  std::uint32_t length;
};
EmptyWorkbookImage qxEmptyWorkbook();

}  // namespace celox
