#pragma once
// BIFF8 records of a workbook stream: splitting a stream into records, writing
// records back, and the record types and string forms the workbook layer uses.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/xlsodbc/byte_io.h"

namespace xlsbiff {

namespace rt {  // record types
constexpr std::uint16_t Formula = 0x0006, Eof = 0x000A, CalcCount = 0x000C, CalcMode = 0x000D,
                        Precision = 0x000E, RefMode = 0x000F, Delta = 0x0010, Iteration = 0x0011,
                        Protect = 0x0012, Password = 0x0013, Header = 0x0014, Footer = 0x0015,
                        WindowProtect = 0x0019, Pane = 0x0041, DateMode = 0x0022, FilePass = 0x002F,
                        Font = 0x0031, Continue = 0x003C, Window1 = 0x003D, Backup = 0x0040,
                        CodePage = 0x0042, DefColWidth = 0x0055, WriteAccess = 0x005C,
                        SaveRecalc = 0x005F, HideObj = 0x008D, BoundSheet = 0x0085, Country = 0x008C,
                        FnGroupCount = 0x009C, Guts = 0x0080, WsBool = 0x0081, GridSet = 0x0082,
                        HCenter = 0x0083, VCenter = 0x0084, PrintHeaders = 0x002A,
                        PrintGridlines = 0x002B, Mms = 0x00C1, MulRk = 0x00BD, MulBlank = 0x00BE,
                        InterfaceHdr = 0x00E1, InterfaceEnd = 0x00E2, Sst = 0x00FC,
                        LabelSst = 0x00FD, ExtSst = 0x00FF, Rstring = 0x00D6, DbCell = 0x00D7,
                        BookBool = 0x00DA, Xf = 0x00E0, UsesElfs = 0x0160, Dsf = 0x0161,
                        Tabid = 0x013D, Prot4Rev = 0x01AF, Prot4RevPass = 0x01BC, RefreshAll = 0x01B7,
                        SupBook = 0x01AE, Dimensions = 0x0200, Blank = 0x0201, Number = 0x0203,
                        Label = 0x0204, BoolErr = 0x0205, String = 0x0207, Row = 0x0208,
                        Index = 0x020B, Array = 0x0221, DefaultRowHeight = 0x0225, Table = 0x0236,
                        Window2 = 0x023E, Rk = 0x027E, Style = 0x0293, Format = 0x041E,
                        SharedFormula = 0x04BC, Bof = 0x0809, Selection = 0x001D, Setup = 0x00A1;
}  // namespace rt

constexpr std::size_t kMaxRecordData = 8224;

// The records of a worksheet's cell table: rows, cells, formulas and their row blocks.
inline bool isCellTableRecord(std::uint16_t type) {
  switch (type) {
    case rt::Row: case rt::Blank: case rt::Number: case rt::Label: case rt::BoolErr:
    case rt::Formula: case rt::String: case rt::Rk: case rt::MulRk: case rt::MulBlank:
    case rt::LabelSst: case rt::Rstring: case rt::DbCell: case rt::SharedFormula:
    case rt::Array: case rt::Table:
      return true;
    default:
      return false;
  }
}

// Not a BIFF record type: a run of whole records (each with its 4-byte header)
// kept in one buffer.  A worksheet's cell table, tens of thousands of small
// records, is held so, read and written without a buffer for each record.
constexpr std::uint16_t kRecordRun = 0xFFFF;

struct Record {
  std::uint16_t type = 0;
  xlsio::Bytes data;  // for a run: the records, headers included
};

// One BIFF record seen where it lies.
struct RecordView {
  std::uint16_t type = 0;
  xlsio::ByteView data;
};

// The BIFF records the list stands for, each record of a run on its own; the
// views point into the list's buffers.
std::vector<RecordView> viewsOf(const std::vector<Record>& records);

// The same records one at a time, without a list of them all: a worksheet's
// cell table is hundreds of thousands of records.  A copy walks on by itself.
class RecordWalk {
 public:
  explicit RecordWalk(const std::vector<Record>& records) : records_(&records) { settle(); }
  bool atEnd() const { return index_ >= records_->size(); }
  RecordView current() const;
  void next();

 private:
  void settle();  // past runs with no whole record left
  const std::vector<Record>* records_;
  std::size_t index_ = 0;
  std::size_t at_ = 0;  // inside a run: where the current record starts
};

// Records of a stream from an offset on; stops at the stream's end or at a
// record that would run past it (a cut-off file).
std::vector<Record> splitRecords(xlsio::ByteView stream, std::size_t from = 0);

void appendRecord(xlsio::Bytes& out, std::uint16_t type, xlsio::ByteView data);
inline void appendRecord(xlsio::Bytes& out, const Record& r) {
  if (r.type == kRecordRun)
    xlsio::putBytes(out, r.data);
  else
    appendRecord(out, r.type, r.data);
}
inline std::size_t recordSize(const Record& r) { return (r.type == kRecordRun ? 0 : 4) + r.data.size(); }

// The characters of a BIFF8 string, as UTF-16, with any formatting runs and
// phonetic data it carried (kept so that rewritten shared strings stay as they were).
struct UnicodeString {
  std::u16string chars;
  xlsio::Bytes runs;      // 4 bytes a run
  xlsio::Bytes phonetic;  // the extended-string block
};

// A reader over a record and its CONTINUE records that knows where each one
// starts, because a string's characters that cross into a CONTINUE record start
// there with a fresh option byte.
class ContinuedReader {
 public:
  explicit ContinuedReader(std::vector<xlsio::ByteView> parts) : parts_(std::move(parts)) {}
  bool atEnd() const;
  bool failed() const { return failed_; }
  std::uint8_t u8();
  std::uint16_t u16();
  std::uint32_t u32();
  void skip(std::size_t n);
  // A string with a 16-bit character count and an option byte (XLUnicodeRichExtendedString).
  UnicodeString readString();
  // The same into a string whose buffers are used again, string after string.
  void readString(UnicodeString& into);

 private:
  bool ensure();
  std::vector<xlsio::ByteView> parts_;
  std::size_t part_ = 0, at_ = 0;
  bool failed_ = false;
};

// A single-record string with a 16-bit (wide) or 8-bit (short) count.
std::u16string readPlainString(xlsio::ByteView data, std::size_t at, bool shortCount,
                               std::size_t* end = nullptr);

// Writers of the two plain string forms.
void putString16(xlsio::Bytes& out, std::u16string_view s);
void putString8(xlsio::Bytes& out, std::u16string_view s);

// Code page 1252 bytes to and from UTF-16; a character the code page lacks
// becomes "?".
std::u16string fromCodePage(std::string_view bytes);
std::string toCodePage(std::u16string_view chars);

}  // namespace xlsbiff
