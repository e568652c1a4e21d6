#pragma once
// A workbook as the ODBC layer sees it: its worksheets with their cells, read
// from a BIFF8 workbook stream, with rows and new worksheets added in memory and
// written back into a complete new workbook stream.  Everything we do not
// understand (formatting, formulas, charts, other streams) is kept as records and
// written back unchanged.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/xlsodbc/biff_records.h"
#include "platform/xlsodbc/compound_file.h"

namespace xlsbook {

enum class CellKind : std::uint8_t { Number, Date, Text, Boolean, Error };

struct Cell {
  std::uint16_t column = 0;
  CellKind kind = CellKind::Number;
  double number = 0;   // Number, Date (serial), Boolean (0 or 1)
  std::string text;    // Text, code page 1252
};

using Row = std::vector<Cell>;  // cells in column order

struct Sheet {
  std::string name;                      // code page 1252
  std::uint8_t kind = 0;                 // the sheet type of its BOUNDSHEET record; 0 worksheet
  std::uint8_t visibility = 0;
  std::vector<xlsbiff::Record> records;  // the substream as read, BOF to EOF
  std::map<std::uint32_t, Row> rows;     // value cells by row
  std::uint32_t nextFreeRow = 0;         // first row below everything the sheet holds
  std::uint32_t firstAddedRow = UINT32_MAX;  // rows from here on were added and are not in `records`
  bool isNew = false;

  bool isWorksheet() const { return kind == 0; }
  bool changed() const { return isNew || firstAddedRow != UINT32_MAX; }
};

struct Workbook {
  xlscfb::CompoundFile file;
  int workbookEntry = -1;
  std::vector<xlsbiff::Record> globals;       // BOF to EOF of the globals substream
  std::vector<xlsbiff::UnicodeString> sharedStrings;
  std::uint32_t sharedStringUses = 0;
  std::vector<std::uint16_t> xfFormats;       // number format of each XF
  std::vector<bool> dateFormats;              // by number format index, for custom formats
  bool date1904 = false;
  int dateTimeXf = -1;                        // our date-and-time cell format, when present
  std::vector<Sheet> sheets;                  // in BOUNDSHEET order

  bool changed() const;
  Sheet* findWorksheet(std::string_view name);  // case-insensitive
  bool isDateXf(std::uint16_t xf) const;
};

// Loads the workbook stream of a compound file; nothing (and `why` filled) for
// files that are not BIFF8 workbooks or are damaged or encrypted.
std::optional<Workbook> load(xlsio::ByteView file, std::string& why);

// The whole compound file with the workbook stream rebuilt from the model.
xlsio::Bytes save(const Workbook& book);

// Adds an empty worksheet whose first row holds the given headings.
void addWorksheet(Workbook& book, const std::string& name, const std::vector<std::string>& headings);

// Puts a row of cells below everything the worksheet holds (cells in column order).
void appendRow(Sheet& sheet, Row cells);

// The records of a new worksheet substream: the layout of a blank sheet, selected
// (the first sheet of a workbook) or not.
std::vector<xlsbiff::Record> blankWorksheetRecords(bool selected);

// The text of our date-and-time cell format.
inline constexpr std::u16string_view kDateTimeFormat = u"yyyy-mm-dd hh:mm:ss";

}  // namespace xlsbook
