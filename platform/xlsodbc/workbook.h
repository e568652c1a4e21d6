#pragma once
// A workbook as the ODBC layer sees it: its worksheets with their cells, read
// from a BIFF8 workbook stream, with rows and new worksheets added in memory and
// written back into a complete new workbook stream.  Everything we do not
// understand (formatting, formulas, charts, other streams) is kept as records and
// written back unchanged.
//
// A workbook's cells, rows and texts lie in one arena of its own, which is given
// back whole when the workbook goes: tens of thousands of rows cost no
// allocation, and no release, of their own.

#include <cstdint>
#include <map>
#include <memory>
#include <memory_resource>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/xlsodbc/biff_records.h"
#include "platform/xlsodbc/compound_file.h"

namespace xlsbook {

enum class CellKind : std::uint8_t { Number, Date, Text, Boolean, Error };

// A cell in 16 bytes: a sheet holds hundreds of thousands of them.
struct Cell {
  std::uint16_t column = 0;
  CellKind kind = CellKind::Number;

  // Text cells: the text, code page 1252.  A cell of a sheet views its text in
  // the workbook's arena; a cell handed to appendRow may view any text, which is
  // copied there.  Setting a text makes the cell a text cell.
  std::string_view text() const {
    return kind == CellKind::Text ? std::string_view(textData_, textLength_) : std::string_view();
  }
  void setText(std::string_view text) {
    kind = CellKind::Text;
    textLength_ = static_cast<std::uint32_t>(text.size());
    textData_ = text.data();
  }

 private:
  std::uint32_t textLength_ = 0;

 public:
  union {
    double number = 0;  // Number, Date (serial), Boolean (0 or 1)
    const char* textData_;
  };
};
static_assert(sizeof(void*) != 8 || sizeof(Cell) == 16);

using Row = std::pmr::vector<Cell>;  // cells in column order
using RowMap = std::pmr::map<std::uint32_t, Row>;

struct Sheet {
  // Rows and texts are kept in the arena of the sheet's workbook.
  explicit Sheet(std::pmr::memory_resource* arena) : rows(arena) {}

  std::string name;                      // code page 1252
  std::uint8_t kind = 0;                 // the sheet type of its BOUNDSHEET record; 0 worksheet
  std::uint8_t visibility = 0;
  std::vector<xlsbiff::Record> records;  // the substream as read, BOF to EOF
  RowMap rows;                           // value cells by row
  std::uint32_t nextFreeRow = 0;         // first row below everything the sheet holds
  std::uint32_t firstAddedRow = UINT32_MAX;  // rows from here on were added and are not in `records`
  bool isNew = false;

  bool isWorksheet() const { return kind == 0; }
  bool changed() const { return isNew || firstAddedRow != UINT32_MAX; }
};

// A shared string as read, its parts in the workbook's arena.
struct SharedString {
  std::u16string_view chars;
  xlsio::ByteView runs;      // 4 bytes a run
  xlsio::ByteView phonetic;  // the extended-string block
};

struct Workbook {
  Workbook();
  // Moving keeps the arena where it is, so the texts and rows stay valid; a
  // workbook is replaced by destroying it first (optional::reset, emplace).
  Workbook(Workbook&&) noexcept = default;
  Workbook& operator=(Workbook&&) = delete;

  // First, so that it goes last: everything below lies in it.
  std::unique_ptr<std::pmr::monotonic_buffer_resource> arena;
  xlscfb::CompoundFile file;  // the workbook stream's own bytes are not kept: a save writes it anew
  int workbookEntry = -1;
  std::vector<xlsbiff::Record> globals;       // BOF to EOF of the globals substream
  std::vector<SharedString> sharedStrings;
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
// The same from bytes it may take over, which saves copying the largest parts.
std::optional<Workbook> load(xlsio::Bytes&& file, std::string& why);

// The whole compound file with the workbook stream rebuilt from the model.
xlsio::Bytes save(const Workbook& book);
// The same handed to `drain` piece by piece as it is made; false when the drain
// refused a piece.
bool save(const Workbook& book, const xlscfb::FileBytes::Drain& drain);

// Adds an empty worksheet whose first row holds the given headings.
void addWorksheet(Workbook& book, const std::string& name, const std::vector<std::string>& headings);

// Puts a row of cells below everything the worksheet holds (cells in column
// order); their texts are copied into the workbook.
void appendRow(Sheet& sheet, Row cells);

// A copy of the text in the arena.
std::string_view keepText(std::pmr::memory_resource& arena, std::string_view text);

// The records of a new worksheet substream: the layout of a blank sheet, selected
// (the first sheet of a workbook) or not.
std::vector<xlsbiff::Record> blankWorksheetRecords(bool selected);

// The text of our date-and-time cell format.
inline constexpr std::u16string_view kDateTimeFormat = u"yyyy-mm-dd hh:mm:ss";

}  // namespace xlsbook
