#pragma once
// Celox: the spreadsheet-access library.  It treats an Excel 97-2003 workbook
// (.xls) as a small database through ODBC: every worksheet is a table named
// after the sheet with a trailing "$", its first row holds the column names.
//
// Calling order: CeloxOpenEXCELFile or CeloxCreateEXCELFile; CeloxSetErrorLevel
// and CeloxSetErrorMessagesDisplay as wanted; catalogue, read and write calls
// with the connection; last CeloxCloseEXCELFile.  Texts passed in are NUL-ended
// code page 1252 bytes.  One thread, one open workbook at a time.
//
// Every function is exported with the stdcall convention under the name
// "_Celox" + a two-letter code + "@" + its argument bytes (_Celoxop@4, ...).
// Link the import library libCelox.dll.a; Celox.dll lies beside the program.

#include <windows.h>

#include <sqltypes.h>

#include <cstdint>

// The connection that open and create return: the ODBC connection handle,
// opaque to callers; 0 means none.
using CeloxConnection = void*;

// One column array that CeloxReadRows fills or CeloxWriteRows takes, 84 bytes.
struct CeloxColumnBinding {
  char columnName[64];         // NUL-ended or blank-padded; brackets around names with blanks
  void* data;                  // the caller's array; element r at data + (r - 1) * element size
  std::int32_t elementCount;   // at least 1
  std::int32_t cType;          // ODBC C type: 1 text, 8 double, 11 timestamp, ...
  std::int32_t elementLength;  // bytes of one text element (texts only)
  std::int32_t reserved;       // never read
};

// One column of a table as CeloxListColumns reports it, 112 bytes.
#pragma pack(push, 2)
struct ColumnInfo {
  char columnName[64];  // followed by a NUL when shorter than 64, the rest blanks
  std::int16_t sqlDataType;
  char typeName[42];    // followed by a NUL when shorter than 42
  std::int32_t columnSize;
};
#pragma pack(pop)

static_assert(sizeof(ColumnInfo) == 112);
static_assert(sizeof(void*) != 4 || sizeof(CeloxColumnBinding) == 84);
static_assert(sizeof(SQL_TIMESTAMP_STRUCT) == 16);

// The library's error codes (its last error, and results and out-values).
constexpr std::int32_t qxERRORStringNotTerminated = 70001;
constexpr std::int32_t qxERRORHandleNotCreated = 70002;
constexpr std::int32_t qxERRORSQLCallFailed = 70003;
constexpr std::int32_t qxERRORConnectFailed = 70004;
constexpr std::int32_t qxERRORInsufficientDimension = 70005;
constexpr std::int32_t qxERRORNameMissing = 70006;
constexpr std::int32_t qxERRORInvalidParameter = 70007;
constexpr std::int32_t qxERRORExecDirectFailed = 70008;
constexpr std::int32_t qxERRORBufferTooSmall = 70009;
constexpr std::int32_t qxERRORNotSupported = 70010;
constexpr std::int32_t qxERRORUnknown = 70200;

// Sizes of the texts the library hands back.
constexpr std::int32_t kCeloxTableNameLength = 20480;  // one element of CeloxGetTableNames' names array
constexpr std::int32_t kCeloxMessageLength = 1024;     // the record CeloxGetErrorMessages writes

extern "C" {

// The asm names are the import library's symbols of the exports "_Celoxop@4" ...
CeloxConnection __stdcall CeloxOpenEXCELFile(const char* fileName) __asm__("__Celoxop@4");
CeloxConnection __stdcall CeloxCreateEXCELFile(const char* fileName) __asm__("__Celoxcr@4");
std::int32_t __stdcall CeloxCloseEXCELFile(CeloxConnection connection) __asm__("__Celoxcl@4");

void __stdcall CeloxGetTableNames(CeloxConnection connection, std::int32_t maxNames, char* names,
                                  std::int32_t* count, std::int32_t* error) __asm__("__Celoxtn@20");
std::int32_t __stdcall CeloxDoesTableNameExist(CeloxConnection connection, const char* tableName)
    __asm__("__Celoxtx@8");
void __stdcall CeloxListColumns(CeloxConnection connection, const char* tableName, std::int32_t maxColumns,
                                ColumnInfo* infos, std::int32_t* count, std::int32_t* error)
    __asm__("__Celoxci@24");
std::int32_t __stdcall CeloxGetRowCount(CeloxConnection connection, const char* sheetName) __asm__("__Celoxrc@8");
std::int32_t __stdcall CeloxCreateTable(CeloxConnection connection, const char* tableDefinition)
    __asm__("__Celoxct@8");

std::int32_t __stdcall CeloxReadRows(CeloxConnection connection, const char* tableName, std::int32_t nColumns,
                                     std::int32_t nRows, const CeloxColumnBinding* bindings, const char* condition,
                                     const char* order) __asm__("__Celoxrr@28");
std::int32_t __stdcall CeloxWriteRows(CeloxConnection connection, const char* tableName, std::int32_t nColumns,
                                      std::int32_t nRows, const CeloxColumnBinding* bindings)
    __asm__("__Celoxwr@20");

std::int32_t __stdcall CeloxSetErrorLevel(std::int32_t level) __asm__("__Celoxel@4");
std::int32_t __stdcall CeloxSetErrorMessagesDisplay(std::int32_t flag) __asm__("__Celoxmd@4");
std::int32_t __stdcall CeloxGetErrorMessages(char* buffer, std::int32_t bufferLength) __asm__("__Celoxem@8");
std::int32_t __stdcall CeloxTextLength(const char* text) __asm__("__Celoxsl@4");
double __stdcall CeloxNumericToDouble(const SQL_NUMERIC_STRUCT* numeric) __asm__("__Celoxnv@4");
void __stdcall CeloxPrintSQLDiagnostics(CeloxConnection connection, void* statement, std::int32_t returnCode)
    __asm__("__Celoxcs@12");

}  // extern "C"
