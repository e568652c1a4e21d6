// Reading a BIFF8 workbook stream into the workbook model.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/xlsodbc/workbook.h"

namespace xlsbook {
namespace {

using namespace xlsio;
using xlsbiff::Record;
using xlsbiff::RecordView;
namespace rt = xlsbiff::rt;

constexpr std::uint16_t kBiff8 = 0x0600;
constexpr std::uint16_t kGlobalsType = 0x0005;
constexpr int kLargestRowHint = 32;
// The arena's first block; later blocks grow geometrically.
constexpr std::size_t kArenaFirstBlock = 64 * 1024;

bool isBuiltInDateFormat(std::uint16_t f) {
  return (f >= 14 && f <= 22) || (f >= 27 && f <= 36) || (f >= 45 && f <= 47) || (f >= 50 && f <= 58);
}

// A number format shows a date or time when it has date or time letters
// outside quoted texts, escapes and bracketed parts (colours, conditions).
bool formatShowsDate(std::u16string_view f) {
  bool quoted = false;
  for (std::size_t i = 0; i < f.size(); ++i) {
    const char16_t c = f[i];
    if (quoted) {
      quoted = c != u'"';
      continue;
    }
    if (c == u'"') {
      quoted = true;
    } else if (c == u'\\' || c == u'_' || c == u'*') {
      ++i;
    } else if (c == u'[') {
      // Elapsed-time parts [h], [mm], [ss] are times; colours and conditions are not.
      const std::size_t close = f.find(u']', i);
      if (close == std::u16string_view::npos) break;
      const std::u16string_view inner = f.substr(i + 1, close - i - 1);
      if (!inner.empty() && std::all_of(inner.begin(), inner.end(), [](char16_t x) {
            return x == u'h' || x == u'H' || x == u'm' || x == u'M' || x == u's' || x == u'S';
          }))
        return true;
      i = close;
    } else {
      switch (c) {
        case u'd': case u'D': case u'm': case u'M': case u'y': case u'Y':
        case u'h': case u'H': case u's': case u'S':
          return true;
        default:
          break;
      }
    }
  }
  return false;
}

// The characters as code page 1252 text in the arena.
std::string_view keepCodePageText(std::pmr::memory_resource& arena, std::u16string_view chars) {
  if (!std::all_of(chars.begin(), chars.end(), [](char16_t c) { return c < 0x80; }))
    return keepText(arena, xlsbiff::toCodePage(chars));
  if (chars.empty()) return {};
  auto* bytes = static_cast<char*>(arena.allocate(chars.size(), 1));
  std::transform(chars.begin(), chars.end(), bytes, [](char16_t c) { return static_cast<char>(c); });
  return {bytes, chars.size()};
}

// A copy of the elements in the arena; nullptr for none.
template <typename T>
const T* keepSpan(std::pmr::memory_resource& arena, const T* data, std::size_t count) {
  if (count == 0) return nullptr;
  auto* kept = static_cast<T*>(arena.allocate(count * sizeof(T), alignof(T)));
  std::copy_n(data, count, kept);
  return kept;
}

double decodeRk(std::uint32_t rk) {
  double value;
  if (rk & 0x02) {
    value = static_cast<double>(static_cast<std::int32_t>(rk) >> 2);
  } else {
    const std::uint64_t bits = static_cast<std::uint64_t>(rk & 0xFFFFFFFCu) << 32;
    std::memcpy(&value, &bits, sizeof value);
  }
  return (rk & 0x01) ? value / 100 : value;
}

// The length of the run of cell-table records (and the CONTINUE records that
// carry their data on) from an offset on, in bytes.
std::size_t cellTableRunAt(ByteView stream, std::size_t at) {
  const std::size_t start = at;
  while (at + 4 <= stream.size()) {
    const std::uint16_t type = u16(stream, at);
    const std::size_t next = at + 4 + u16(stream, at + 2);
    if (next > stream.size()) break;
    if (!xlsbiff::isCellTableRecord(type) && !(type == rt::Continue && at > start)) break;
    at = next;
  }
  return at - start;
}

// A run of cell-table records still in the stream: the sheet, its place among
// the sheet's records, and where it lies in the stream.
struct PendingRun {
  std::size_t sheet, record, at, length;
};

// The records of one substream from its BOF to its matching EOF (charts embedded
// in a worksheet bring BOF/EOF pairs of their own).  A worksheet's cell table is
// kept as runs of records, left empty here and listed in `runs` to be filled.
std::vector<Record> substreamAt(ByteView stream, std::size_t offset, bool worksheet, std::size_t sheet,
                                std::vector<PendingRun>& runs) {
  const std::size_t runsBefore = runs.size();
  std::vector<Record> out;
  int depth = 0;
  std::size_t at = offset;
  while (at + 4 <= stream.size()) {
    const std::uint16_t type = u16(stream, at);
    const std::uint16_t length = u16(stream, at + 2);
    if (at + 4 + length > stream.size()) break;
    if (out.empty() && type != rt::Bof) break;
    if (worksheet && depth == 1 && xlsbiff::isCellTableRecord(type)) {
      const std::size_t run = cellTableRunAt(stream, at);
      runs.push_back({sheet, out.size(), at, run});
      out.push_back({xlsbiff::kRecordRun, {}});
      at += run;
      continue;
    }
    Record r{type, Bytes(stream.begin() + static_cast<std::ptrdiff_t>(at + 4),
                         stream.begin() + static_cast<std::ptrdiff_t>(at + 4 + length))};
    at += 4 + length;
    out.push_back(std::move(r));
    if (type == rt::Bof) ++depth;
    if (type == rt::Eof && --depth == 0) return out;
  }
  out.clear();  // cut off before its EOF
  runs.resize(runsBefore);
  return out;
}

// Fills the runs from the stream.  The largest takes over the stream's own
// buffer, filled last: the workbook keeps no copy of its stream, which a save
// writes anew.
void fillRuns(Bytes& stream, const std::vector<PendingRun>& runs, std::vector<std::pair<std::uint32_t, Sheet>>& placed) {
  const auto largest = std::max_element(runs.begin(), runs.end(),
                                        [](const PendingRun& a, const PendingRun& b) { return a.length < b.length; });
  for (auto r = runs.begin(); r != runs.end(); ++r) {
    if (r == largest) continue;
    placed[r->sheet].second.records[r->record].data.assign(stream.begin() + static_cast<std::ptrdiff_t>(r->at),
                                                            stream.begin() + static_cast<std::ptrdiff_t>(r->at + r->length));
  }
  if (largest == runs.end()) return;
  std::memmove(stream.data(), stream.data() + largest->at, largest->length);
  stream.resize(largest->length);
  placed[largest->sheet].second.records[largest->record].data = std::move(stream);
}

class CellReader {
 public:
  CellReader(const Workbook& book, Sheet& sheet) : book_(book), sheet_(sheet), arena_(*book.arena) {}

  void read() {
    int depth = 0;
    for (xlsbiff::RecordWalk walk(sheet_.records); !walk.atEnd(); walk.next()) {
      const RecordView r = walk.current();
      if (r.type == rt::Bof) ++depth;
      if (r.type == rt::Eof) --depth;
      if (depth != 1) continue;  // inside an embedded chart
      readRecord(r, walk);
    }
    if (!sheet_.rows.empty()) noteRow(sheet_.rows.rbegin()->first);
  }

 private:
  void noteRow(std::uint32_t row) { sheet_.nextFreeRow = std::max(sheet_.nextFreeRow, row + 1); }

  void put(std::uint32_t row, std::uint16_t column, Cell cell) {
    cell.column = column;
    noteRow(row);
    // Cells come row by row: the row is looked up again only when it changes.
    if (!lastRow_ || row != lastRowNumber_) {
      lastRow_ = &sheet_.rows[row];
      lastRowNumber_ = row;
    }
    Row& cells = *lastRow_;
    if (cells.capacity() == 0) cells.reserve(std::max<std::size_t>({widths_[row], lastRowSize_, 1}));
    lastRowSize_ = cells.size() + 1;
    auto it = std::lower_bound(cells.begin(), cells.end(), column,
                               [](const Cell& c, std::uint16_t col) { return c.column < col; });
    if (it != cells.end() && it->column == column)
      *it = std::move(cell);
    else
      cells.insert(it, std::move(cell));
  }

  void putNumber(std::uint32_t row, std::uint16_t column, std::uint16_t xf, double value) {
    Cell c;
    c.kind = book_.isDateXf(xf) ? CellKind::Date : CellKind::Number;
    c.number = value;
    put(row, column, std::move(c));
  }
  void putText(std::uint32_t row, std::uint16_t column, std::u16string_view chars) {
    Cell c;
    c.setText(keepCodePageText(arena_, chars));
    put(row, column, std::move(c));
  }

  // The record the walk stands at.
  void readRecord(const RecordView& r, const xlsbiff::RecordWalk& walk) {
    const ByteView d(r.data);
    const std::uint16_t row = u16(d, 0), col = u16(d, 2), xf = u16(d, 4);
    switch (r.type) {
      case rt::Number:
        if (d.size() >= 14) putNumber(row, col, xf, f64(d, 6));
        break;
      case rt::Rk:
        if (d.size() >= 10) putNumber(row, col, xf, decodeRk(u32(d, 6)));
        break;
      case rt::MulRk:
        for (std::size_t at = 4, c = col; d.size() >= 6 && at + 6 <= d.size() - 2; at += 6, ++c)
          putNumber(row, static_cast<std::uint16_t>(c), u16(d, at), decodeRk(u32(d, at + 2)));
        break;
      case rt::LabelSst:
        if (d.size() >= 10 && u32(d, 6) < book_.sharedStrings.size())
          putText(row, col, book_.sharedStrings[u32(d, 6)].chars);
        break;
      case rt::Label:
      case rt::Rstring:
        if (d.size() >= 9) putText(row, col, xlsbiff::readPlainString(d, 6, false));
        break;
      case rt::BoolErr:
        if (d.size() >= 8) {
          Cell c;
          c.kind = d[7] ? CellKind::Error : CellKind::Boolean;
          c.number = d[6] ? 1 : 0;
          put(row, col, std::move(c));
        }
        break;
      case rt::Formula:
        if (d.size() >= 14) readFormulaResult(r, walk, row, col, xf);
        break;
      case rt::Row:
        // Room for the row's cells at once: a row grown cell by cell costs a
        // reallocation for each doubling, for every row of the sheet.  A ROW
        // record may span far more columns than hold values: only so much is
        // taken on its word.
        widths_[row] = static_cast<std::uint16_t>(std::clamp(int{u16(d, 4)} - int{u16(d, 2)}, 0, kLargestRowHint));
        noteRow(row);
        break;
      case rt::Blank:
      case rt::MulBlank:
        noteRow(row);  // formatted but empty: new rows go below it
        break;
      default:
        break;
    }
  }

  // A formula's last calculated value: a number, or a marker for a text (in the
  // STRING record that follows), a truth value, an error or an empty text.
  void readFormulaResult(const RecordView& formula, const xlsbiff::RecordWalk& walk, std::uint16_t row,
                         std::uint16_t col, std::uint16_t xf) {
    const ByteView d(formula.data);
    if (u16(d, 12) != 0xFFFF) {
      putNumber(row, col, xf, f64(d, 6));
      return;
    }
    switch (d[6]) {
      case 0: {
        // The text follows in a STRING record, possibly after shared-formula records.
        xlsbiff::RecordWalk ahead = walk;
        ahead.next();
        for (int k = 1; !ahead.atEnd() && k <= 3; ++k, ahead.next()) {
          const RecordView string = ahead.current();
          if (string.type != rt::String) continue;
          std::vector<ByteView> parts{string.data};
          xlsbiff::RecordWalk more = ahead;
          for (more.next(); !more.atEnd() && more.current().type == rt::Continue; more.next())
            parts.push_back(more.current().data);
          xlsbiff::ContinuedReader reader(parts);
          putText(row, col, reader.readString().chars);
          return;
        }
        break;
      }
      case 1: {
        Cell c;
        c.kind = CellKind::Boolean;
        c.number = d[8] ? 1 : 0;
        put(row, col, std::move(c));
        break;
      }
      case 2: {
        Cell c;
        c.kind = CellKind::Error;
        put(row, col, std::move(c));
        break;
      }
      default:
        noteRow(row);  // an empty text: nothing to read
        break;
    }
  }

  const Workbook& book_;
  Sheet& sheet_;
  std::pmr::memory_resource& arena_;
  std::vector<std::uint16_t> widths_ = std::vector<std::uint16_t>(65536, 0);  // cells a ROW record announces
  std::size_t lastRowSize_ = 0;
  Row* lastRow_ = nullptr;  // map nodes stay where they are
  std::uint32_t lastRowNumber_ = 0;
};

void readSharedStrings(Workbook& book, std::size_t sstIndex) {
  std::vector<ByteView> parts{book.globals[sstIndex].data};
  for (std::size_t k = sstIndex + 1; k < book.globals.size() && book.globals[k].type == rt::Continue; ++k)
    parts.push_back(book.globals[k].data);
  xlsbiff::ContinuedReader reader(parts);
  book.sharedStringUses = reader.u32();
  const std::uint32_t unique = reader.u32();
  // Room for the strings at once, though never more than the records can hold
  // (three bytes the least string), whatever a damaged count says.
  std::size_t bytes = 0;
  for (const ByteView part : parts) bytes += part.size();
  book.sharedStrings.reserve(std::min<std::size_t>(unique, bytes / 3));
  // Each string is read into the same buffers and kept in the arena.
  std::pmr::memory_resource& arena = *book.arena;
  xlsbiff::UnicodeString s;
  for (std::uint32_t n = 0; n < unique && !reader.atEnd(); ++n) {
    reader.readString(s);
    if (reader.failed()) break;
    book.sharedStrings.push_back({{keepSpan(arena, s.chars.data(), s.chars.size()), s.chars.size()},
                                  {keepSpan(arena, s.runs.data(), s.runs.size()), s.runs.size()},
                                  {keepSpan(arena, s.phonetic.data(), s.phonetic.size()), s.phonetic.size()}});
  }
}

}  // namespace

Workbook::Workbook() : arena(std::make_unique<std::pmr::monotonic_buffer_resource>(kArenaFirstBlock)) {}

std::string_view keepText(std::pmr::memory_resource& arena, std::string_view text) {
  return {keepSpan(arena, text.data(), text.size()), text.size()};
}

bool Workbook::changed() const {
  return std::any_of(sheets.begin(), sheets.end(), [](const Sheet& s) { return s.changed(); });
}

Sheet* Workbook::findWorksheet(std::string_view name) {
  const auto lower = [](std::string_view s) {
    std::string out(s);
    for (auto& c : out)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return out;
  };
  const std::string wanted = lower(name);
  for (auto& s : sheets)
    if (s.isWorksheet() && lower(s.name) == wanted) return &s;
  return nullptr;
}

bool Workbook::isDateXf(std::uint16_t xf) const {
  if (xf >= xfFormats.size()) return false;
  const std::uint16_t f = xfFormats[xf];
  if (isBuiltInDateFormat(f)) return true;
  return f < dateFormats.size() && dateFormats[f];
}

namespace {

std::optional<Workbook> loadCompound(std::optional<xlscfb::CompoundFile> cf, std::string& why) {
  if (!cf) return std::nullopt;
  Workbook book;
  book.file = std::move(*cf);
  book.workbookEntry = xlscfb::findRootStream(book.file, u"Workbook");
  if (book.workbookEntry < 0) {
    why = xlscfb::findRootStream(book.file, u"Book") >= 0
              ? "The workbook is in an Excel 5.0/95 format; only Excel 97-2003 workbooks can be read."
              : "The file is not an Excel 97-2003 workbook.";
    return std::nullopt;
  }
  const ByteView stream(book.file.entries[static_cast<std::size_t>(book.workbookEntry)].data);
  std::vector<PendingRun> runs;
  book.globals = substreamAt(stream, 0, false, 0, runs);
  why = "The workbook file is damaged.";
  if (book.globals.empty()) return std::nullopt;
  const ByteView bof(book.globals[0].data);
  if (u16(bof, 0) != kBiff8 || u16(bof, 2) != kGlobalsType) {
    why = "The workbook is in an older Excel format; only Excel 97-2003 workbooks can be read.";
    return std::nullopt;
  }

  std::vector<std::pair<std::uint32_t, Sheet>> placed;
  for (std::size_t i = 0; i < book.globals.size(); ++i) {
    const Record& r = book.globals[i];
    const ByteView d(r.data);
    switch (r.type) {
      case rt::FilePass:
        why = "The workbook is protected by a password and cannot be read.";
        return std::nullopt;
      case rt::DateMode:
        book.date1904 = u16(d, 0) == 1;
        break;
      case rt::Xf:
        book.xfFormats.push_back(u16(d, 2));
        break;
      case rt::Format: {
        const std::uint16_t index = u16(d, 0);
        const std::u16string text = xlsbiff::readPlainString(d, 2, false);
        if (book.dateFormats.size() <= index) book.dateFormats.resize(index + 1u, false);
        book.dateFormats[index] = formatShowsDate(text);
        if (text == kDateTimeFormat) book.dateTimeXf = -2 - index;  // resolved below
        break;
      }
      case rt::Sst:
        readSharedStrings(book, i);
        break;
      case rt::BoundSheet: {
        Sheet s(book.arena.get());
        s.visibility = static_cast<std::uint8_t>(u8(d, 4) & 0x03);
        s.kind = u8(d, 5);
        s.name = xlsbiff::toCodePage(xlsbiff::readPlainString(d, 6, true));
        placed.emplace_back(u32(d, 0), std::move(s));
        break;
      }
      default:
        break;
    }
  }
  // Our date-and-time format, when an earlier save added it, is used again.
  if (book.dateTimeXf <= -2) {
    const int format = -2 - book.dateTimeXf;
    book.dateTimeXf = -1;
    for (std::size_t x = 0; x < book.xfFormats.size(); ++x)
      if (book.xfFormats[x] == format) book.dateTimeXf = static_cast<int>(x);
  }

  for (std::size_t i = 0; i < placed.size(); ++i) {
    Sheet& sheet = placed[i].second;
    sheet.records = substreamAt(stream, placed[i].first, sheet.isWorksheet(), i, runs);
    if (sheet.records.empty()) return std::nullopt;
  }
  fillRuns(book.file.entries[static_cast<std::size_t>(book.workbookEntry)].data, runs, placed);
  for (auto& [offset, sheet] : placed) {
    if (sheet.isWorksheet()) CellReader(book, sheet).read();
    book.sheets.push_back(std::move(sheet));
  }
  return book;
}

}  // namespace

std::optional<Workbook> load(ByteView file, std::string& why) { return loadCompound(xlscfb::read(file, why), why); }

std::optional<Workbook> load(Bytes&& file, std::string& why) {
  return loadCompound(xlscfb::read(std::move(file), why), why);
}

}  // namespace xlsbook
