// Opening, creating and closing workbooks: the ODBC environment and connection
// of the one open workbook, and the statements every export allocates.
#include <string>

#include "spreadsheet/library_state.h"
#include "toolkit/core/fixed_text.h"
#include "toolkit/core/scoped_handle.h"

namespace celox {

SQLHENV qxEnvironment = SQL_NULL_HENV;
std::int16_t qxOpenConnections = 0;
SQLHDBC qxCurrentConnection = SQL_NULL_HDBC;
SQLHSTMT qxCurrentStatement = SQL_NULL_HSTMT;

namespace {

std::array<char, kConnectionStringLength> qxConnectionString;

constexpr std::string_view kDriverPart = "Driver={Microsoft Excel Driver (*.xls)};";
constexpr std::string_view kOptionsPart = "FIL=excel 5.0;MaxBufferSize=2048";

// Looks for the NUL one character at a time, never past it.
bool hasNulWithin(const char* text, int maximum) {
  for (int i = 0; i < maximum; ++i)
    if (text[i] == '\0') return true;
  return false;
}

// The low 32 bits of the file's size, or 0 when it cannot be found.
std::uint32_t qxFileSize(const char* fileName) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(fileName, &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  if (!FindClose(search)) return 0;
  return found.nFileSizeLow;
}

// Writes the image; the number of bytes written, -2 (not opened) or -3 (not
// written).  A file that could not be written whole is removed again, so a
// failed create leaves nothing half-made behind.
int qxWriteEmptyWorkbook(const EmptyWorkbookImage& image, const char* fileName) {
  if (!hasNulWithin(fileName, kFileNameLimit))
    return static_cast<int>(image.length);  // the connect step reports the missing NUL
  int result;
  {
    FileHandle file(CreateFileA(fileName, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return -2;
    DWORD written = 0;
    const BOOL ok = WriteFile(file.get(), image.bytes, image.length, &written, nullptr);
    result = ok && written == image.length ? static_cast<int>(written) : -3;
  }
  if (result == -3) DeleteFileA(fileName);
  return result;
}

SQLHENV qxInitForEXCEL() {
  qxSetContext("qxInitForEXCEL");
  while (qxEnvironment == SQL_NULL_HENV) {
    SQLHENV made = SQL_NULL_HENV;
    if (!qxSQLSucceeded(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &made))) {
      qxLastError = qxERRORHandleNotCreated;
      return SQL_NULL_HENV;
    }
    qxEnvironment = made;
  }
  qxLastError = 0;
  return qxEnvironment;
}

void qxFreeSQLEnvironment() {
  qxSetContext("qxFreeSQLEnvironment");
  SQLFreeHandle(SQL_HANDLE_ENV, qxEnvironment);
  qxEnvironment = SQL_NULL_HENV;
}

// A connection that never got going is released whole: disconnected, its handle
// freed and no longer counted, so the next close frees its own handle again.
void qxAbandonConnection(SQLHDBC connection) {
  SQLDisconnect(connection);
  SQLFreeHandle(SQL_HANDLE_DBC, connection);
  --qxOpenConnections;
  qxCurrentConnection = SQL_NULL_HDBC;
}

SQLHDBC failConnect(std::int32_t code) {
  qxSetContext("qxEXCELConnect");
  qxLastError = code;
  return SQL_NULL_HDBC;
}

}  // namespace

SQLHDBC qxEXCELConnect(const char* fileName, int maximum) {
  qxSetContext("qxEXCELConnect");
  // Every workbook starts clean: the error an earlier failed open left for its
  // caller belongs to that open, and must not come up as the first call of
  // this one reports its success.
  qxLastError = 0;
  int n = 0;
  while (n < maximum && fileName[n] != '\0') ++n;
  if (n == maximum || n == 0) return failConnect(qxERRORStringNotTerminated);
  if (qxInitForEXCEL() == SQL_NULL_HENV) return failConnect(qxERRORHandleNotCreated);
  if (!qxSQLSucceeded(SQLSetEnvAttr(qxEnvironment, SQL_ATTR_ODBC_VERSION,
                                    reinterpret_cast<SQLPOINTER>(static_cast<std::intptr_t>(SQL_OV_ODBC2)), 0)))
    return failConnect(qxERRORSQLCallFailed);
  SQLHDBC connection = SQL_NULL_HDBC;
  if (!qxSQLSucceeded(SQLAllocHandle(SQL_HANDLE_DBC, qxEnvironment, &connection))) {
    qxFreeSQLEnvironment();
    return failConnect(qxERRORHandleNotCreated);
  }
  qxCurrentConnection = connection;
  ++qxOpenConnections;

  TextField field(qxConnectionString.data(), kConnectionStringLength);
  const std::string text = "DBQ=" + std::string(fileName, static_cast<std::size_t>(n)) + ";READONLY=FALSE;" +
                           std::string(kDriverPart) + std::string(kOptionsPart);
  field.assign(text);
  if (text.size() < static_cast<std::size_t>(kConnectionStringLength)) qxConnectionString[text.size()] = '\0';

  SQLSMALLINT completedLength = 0;
  if (!qxSQLSucceeded(SQLDriverConnect(connection, nullptr, reinterpret_cast<SQLCHAR*>(qxConnectionString.data()),
                                       SQL_NTS, reinterpret_cast<SQLCHAR*>(qxConnectionString.data()),
                                       kConnectionStringLength, &completedLength, SQL_DRIVER_COMPLETE))) {
    qxAbandonConnection(connection);
    qxFreeSQLEnvironment();
    return failConnect(qxERRORConnectFailed);
  }
  if (!qxSQLSucceeded(SQLSetConnectAttr(connection, SQL_ATTR_AUTOCOMMIT,
                                        reinterpret_cast<SQLPOINTER>(static_cast<std::uintptr_t>(SQL_AUTOCOMMIT_ON)),
                                        0))) {
    qxAbandonConnection(connection);
    qxFreeSQLEnvironment();
    return failConnect(qxERRORSQLCallFailed);
  }
  qxLastError = 0;
  return connection;
}

void qxDisconnect(SQLHDBC connection) {
  if (SQLDisconnect(connection) == SQL_SUCCESS) --qxOpenConnections;
  if (qxOpenConnections == 0) SQLFreeHandle(SQL_HANDLE_DBC, connection);
  qxCurrentConnection = SQL_NULL_HDBC;
}

SQLHSTMT qxAllocStmtHandle(SQLHDBC connection) {
  SQLHSTMT statement = SQL_NULL_HSTMT;
  if (qxSQLSucceeded(SQLAllocHandle(SQL_HANDLE_STMT, connection, &statement))) {
    qxCurrentStatement = statement;
    qxLastError = 0;
    return statement;
  }
  if (qxLastError == 0) qxLastError = qxERRORHandleNotCreated;
  qxCurrentConnection = connection;
  return SQL_NULL_HSTMT;
}

bool qxFreeStmtHandle(SQLHSTMT statement) {
  if (qxSQLSucceeded(SQLFreeHandle(SQL_HANDLE_STMT, statement))) {
    qxCurrentStatement = SQL_NULL_HSTMT;
    return true;
  }
  if (qxLastError == 0) {
    qxSetContext("qxFreeStmtHandle");
    qxLastError = qxERRORSQLCallFailed;
  }
  return false;
}

}  // namespace celox

using namespace celox;

CeloxConnection __stdcall CeloxOpenEXCELFile(const char* fileName) {
  if (!fileName) return nullptr;
  // A name without its NUL is not handed to the file lookup, which would read on past it.
  if (!hasNulWithin(fileName, kFileNameLimit)) return qxEXCELConnect(fileName, kFileNameLimit);
  if (static_cast<std::int32_t>(qxFileSize(fileName)) <= 0) return nullptr;
  return qxEXCELConnect(fileName, kFileNameLimit);
}

CeloxConnection __stdcall CeloxCreateEXCELFile(const char* fileName) {
  if (!fileName) return nullptr;
  if (qxWriteEmptyWorkbook(qxEmptyWorkbook(), fileName) < 0) return nullptr;
  return qxEXCELConnect(fileName, kFileNameLimit);
}

std::int32_t __stdcall CeloxCloseEXCELFile(CeloxConnection connection) {
  qxSetContext("CeloxCloseEXCELFile");
  qxDisconnect(static_cast<SQLHDBC>(connection));
  qxFreeSQLEnvironment();
  qxLastError = 0;
  return 0;
}
