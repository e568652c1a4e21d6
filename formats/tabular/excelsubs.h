#pragma once
// Excel workbooks through the spreadsheet library Celox: one worksheet per data
// type ("Points", "Routes", "Tracks") with twelve named columns, one row per
// point.  The layout is shared by the reader and the writer.

#include <array>
#include <cstdint>
#include <string_view>

#include "spreadsheet/celox.h"
#include "toolkit/core/fixed_text.h"

// One column of the worksheet.
struct WorksheetColumn {
  std::string_view boundName;   // as bound and in SQL: bracketed when it holds a blank
  std::string_view heading;     // as the heading row shows it
  std::string_view tableType;   // in the CREATE TABLE text
  std::int32_t cType;           // ODBC C type of the column array
  std::int32_t elementLength;   // bytes of one element
};

constexpr std::int32_t kCharacterType = 1;
constexpr std::int32_t kDoubleType = 8;
constexpr std::int32_t kTimestampType = 11;

inline constexpr std::array<WorksheetColumn, 12> WORKSHEET_COLUMNS{{
    {"[OS Grid Reference]", "OS Grid Reference", "TEXT", kCharacterType, 17},
    {"Latitude", "Latitude", "NUMBER", kDoubleType, 8},
    {"Longitude", "Longitude", "NUMBER", kDoubleType, 8},
    {"Name", "Name", "TEXT", kCharacterType, 129},
    {"Information", "Information", "TEXT", kCharacterType, 129},
    {"[Name 2]", "Name 2", "TEXT", kCharacterType, 129},
    {"[Date and Time]", "Date and Time", "DATETIME", kTimestampType, 16},
    {"Altitude", "Altitude", "NUMBER", kDoubleType, 8},
    {"Proximity", "Proximity", "NUMBER", kDoubleType, 8},
    {"[Symbol name]", "Symbol name", "TEXT", kCharacterType, 21},
    {"[Route or Track name]", "Route or Track name", "TEXT", kCharacterType, 65},
    {"[Colour name]", "Colour name", "TEXT", kCharacterType, 7},
}};

// Reads the data type's worksheet of INPUT_FILE and appends a point per usable row.
void READ_XLS();
// Writes POINT_LIST as the data type's worksheet of a new workbook OUTPUT_FILE.
void WRITE_XLS();

// How many of the workbook's worksheet tables have a name that occurs, in any
// letter case, within the wanted name.
std::int32_t NSHEETSFOUND(CeloxConnection connection, std::string_view wanted);
// How many of the sheet's columns have a name that, followed by "|", occurs in
// any letter case within the wanted list.
std::int32_t NCOLUMNSFOUND(CeloxConnection connection, std::string_view sheet, std::string_view wanted);

// A date dd/mm/yyyy and a time hh:mm:ss, read in their fixed columns, to a
// timestamp; blank columns read as 0.
void TOTS(std::string_view date, std::string_view time, SQL_TIMESTAMP_STRUCT& stamp);
// A timestamp to a date and a time; an empty cell (all zeros) gives blanks.
void FROMTS(const SQL_TIMESTAMP_STRUCT& stamp, TextField date, TextField time);
