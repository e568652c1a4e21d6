// Writing the workbook model back as a complete BIFF8 workbook stream.  Sheets
// that did not change are copied record for record; a changed sheet gets its new
// rows as row blocks after its existing cell table.  Shared strings are written
// anew: the old ones first, in their order, so that existing cells keep their
// indices, then the strings of the new cells.
#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/xlsodbc/workbook.h"

namespace xlsbook {
namespace {

using namespace xlsio;
using xlsbiff::Record;
namespace rt = xlsbiff::rt;

constexpr std::uint16_t kDefaultCellXf = 15;
constexpr std::size_t kMaxXfCount = 4050;
constexpr std::uint32_t kRowsPerBlock = 32;

std::size_t bytesOf(const std::vector<Record>& records) {
  std::size_t n = 0;
  for (const auto& r : records) n += xlsbiff::recordSize(r);
  return n;
}

// The new texts met so far and their places in the shared-string table: open
// addressing over a compact array of slots, since a table of tens of thousands
// of texts must cost neither an allocation for each nor much memory.  A new
// string's text is the one the plan keeps for it; the few texts that name an
// earlier string are kept here.
class TextIndex {
 public:
  TextIndex(std::size_t texts, const std::vector<std::string_view>& newTexts, std::uint32_t oldCount)
      : newTexts_(newTexts), oldCount_(oldCount) {
    std::size_t size = 16;
    while (size < 2 * texts) size *= 2;
    slots_.assign(size, 0);
  }
  // The place of the text, and whether it was just added: as the next new
  // string, which the caller adds to the plan's new texts or names an earlier
  // string for with placeLastAt.
  std::pair<std::uint32_t, bool> findOrAdd(std::string_view text) {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = std::hash<std::string_view>{}(text) & mask;; i = (i + 1) & mask) {
      std::uint32_t& slot = slots_[i];
      if (slot == 0) {
        const auto place = static_cast<std::uint32_t>(oldCount_ + newTexts_.size());
        slot = place + 1;
        last_ = &slot;
        lastText_ = text;
        return {place, true};
      }
      if (slot & kEarlier) {
        const Earlier& e = earlier_[slot & ~kEarlier];
        if (e.text == text) return {e.place, false};
      } else if (newTexts_[slot - 1 - oldCount_] == text) {
        return {slot - 1, false};
      }
    }
  }
  // The text just added names the earlier string at `place`.
  void placeLastAt(std::uint32_t place) {
    *last_ = kEarlier | static_cast<std::uint32_t>(earlier_.size());
    earlier_.push_back({lastText_, place});
  }

 private:
  static constexpr std::uint32_t kEarlier = 0x80000000u;
  struct Earlier {
    std::string_view text;
    std::uint32_t place;
  };
  // 0 empty; 1 + the place of a new string; kEarlier + a position in earlier_.
  std::vector<std::uint32_t> slots_;
  const std::vector<std::string_view>& newTexts_;
  std::uint32_t oldCount_;
  std::vector<Earlier> earlier_;
  std::uint32_t* last_ = nullptr;
  std::string_view lastText_;
};

// What the new cells need of the globals: their shared strings and the date format.
struct SavePlan {
  // The shared-string table: the workbook's own strings, then the code page
  // 1252 texts of new strings (viewing the cells' own texts, which stay put
  // while the workbook is saved).
  const std::vector<SharedString>* oldStrings = nullptr;
  std::vector<std::string_view> newTexts;
  std::size_t stringCount() const { return oldStrings->size() + newTexts.size(); }
  std::uint32_t uses = 0;
  // The shared-string index of each new text cell, in the order the cells are
  // written, and the next one to take.
  std::vector<std::uint32_t> textCells;
  std::size_t nextTextCell = 0;
  bool needsDateXf = false;
  std::uint16_t cellXf = kDefaultCellXf;
  std::uint16_t dateXf = kDefaultCellXf;
  std::uint16_t dateFormat = 0;
};

bool isAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Code page 1252 bytes as UTF-16, into a buffer used again text after text.
void codePageChars(std::string_view text, std::u16string& into) {
  if (isAscii(text))
    into.assign(text.begin(), text.end());
  else
    into = xlsbiff::fromCodePage(text);
}

// The workbook's earlier shared strings by their characters, the first of equal
// ones kept.  The code page's first half is ASCII both ways, so an ASCII text
// equals an ASCII string byte for byte and no other: those are found by their
// bytes, without converting every new text.
class ExistingStrings {
 public:
  explicit ExistingStrings(const std::vector<SharedString>& strings) {
    std::size_t ascii = 0;
    for (const SharedString& s : strings) ascii += isAsciiChars(s.chars) ? 1 : 0;
    asciiTexts_.reserve(ascii);  // the index views these texts: no reallocation
    for (std::uint32_t i = 0; i < strings.size(); ++i) {
      const std::u16string_view chars = strings[i].chars;
      if (isAsciiChars(chars)) {
        asciiTexts_.emplace_back(chars.begin(), chars.end());
        ascii_.emplace(asciiTexts_.back(), i);
      } else {
        other_.emplace(chars, i);
      }
    }
  }
  std::optional<std::uint32_t> find(std::string_view text) {
    if (isAscii(text)) {
      const auto found = ascii_.find(text);
      return found != ascii_.end() ? std::optional(found->second) : std::nullopt;
    }
    if (other_.empty()) return std::nullopt;
    codePageChars(text, chars_);
    const auto found = other_.find(chars_);
    return found != other_.end() ? std::optional(found->second) : std::nullopt;
  }

 private:
  static bool isAsciiChars(std::u16string_view s) {
    return std::all_of(s.begin(), s.end(), [](char16_t c) { return c < 0x80; });
  }
  std::vector<std::string> asciiTexts_;
  std::unordered_map<std::string_view, std::uint32_t> ascii_;
  std::unordered_map<std::u16string_view, std::uint32_t> other_;
  std::u16string chars_;
};

// The cells of the rows added to changed sheets, in the order they are written.
template <typename F>
void forEachAddedCell(const Workbook& book, F&& f) {
  for (const auto& sheet : book.sheets) {
    if (!sheet.changed()) continue;
    for (auto it = sheet.rows.lower_bound(sheet.firstAddedRow); it != sheet.rows.end(); ++it)
      for (const Cell& c : it->second) f(c);
  }
}

SavePlan planSave(const Workbook& book) {
  SavePlan plan;
  plan.uses = book.sharedStringUses;
  plan.cellXf = book.xfFormats.size() > kDefaultCellXf ? kDefaultCellXf : 0;
  std::size_t texts = 0;
  forEachAddedCell(book, [&](const Cell& c) { texts += c.kind == CellKind::Text ? 1 : 0; });
  plan.oldStrings = &book.sharedStrings;
  plan.newTexts.reserve(texts);
  plan.textCells.reserve(texts);
  TextIndex index(texts, plan.newTexts, static_cast<std::uint32_t>(book.sharedStrings.size()));
  // Only the workbook's earlier strings are looked up by their characters: a new
  // text already met is found by its own bytes in the index.
  ExistingStrings existing(book.sharedStrings);
  forEachAddedCell(book, [&](const Cell& c) {
    if (c.kind == CellKind::Date) plan.needsDateXf = true;
    if (c.kind != CellKind::Text) return;
    ++plan.uses;
    const std::string_view text = c.text();
    const auto [place, added] = index.findOrAdd(text);
    plan.textCells.push_back(place);
    if (!added) return;
    if (const auto found = existing.find(text)) {
      plan.textCells.back() = *found;
      index.placeLastAt(*found);
      return;
    }
    plan.newTexts.push_back(text);
  });
  return plan;
}

// The shared-string table in an SST record and its CONTINUE records, and the
// EXTSST record that points into it.  A string's header never splits; its
// characters may, the CONTINUE record then starting with a fresh option byte.
std::vector<Record> encodeSharedStrings(const SavePlan& plan, std::size_t streamOffset) {
  std::vector<Record> out;
  Bytes cur;
  std::size_t written = 0;  // bytes of finished records
  put32(cur, plan.uses);
  put32(cur, static_cast<std::uint32_t>(plan.stringCount()));
  const auto room = [&] { return xlsbiff::kMaxRecordData - cur.size(); };
  const auto flush = [&] {
    out.push_back({out.empty() ? rt::Sst : rt::Continue, std::move(cur)});
    written += 4 + out.back().data.size();
    cur.clear();
  };
  const std::uint16_t bucket =
      static_cast<std::uint16_t>(std::max<std::size_t>(8, (plan.stringCount() + 127) / 128));
  Bytes ext;
  put16(ext, bucket);

  std::u16string newChars;
  const std::size_t oldCount = plan.oldStrings->size();
  for (std::size_t i = 0; i < plan.stringCount(); ++i) {
    SharedString s;
    if (i < oldCount) {
      s = (*plan.oldStrings)[i];
    } else {
      codePageChars(plan.newTexts[i - oldCount], newChars);
      s.chars = newChars;
    }
    const bool wide = std::any_of(s.chars.begin(), s.chars.end(), [](char16_t c) { return c >= 0x100; });
    const std::size_t charSize = wide ? 2 : 1;
    const std::size_t header = 3 + (s.runs.empty() ? 0 : 2) + (s.phonetic.empty() ? 0 : 4);
    if (room() < header + (s.chars.empty() ? 0 : charSize)) flush();
    if (i % bucket == 0) {
      put32(ext, static_cast<std::uint32_t>(streamOffset + written + 4 + cur.size()));
      put16(ext, static_cast<std::uint16_t>(4 + cur.size()));
      put16(ext, 0);
    }
    put16(cur, static_cast<std::uint16_t>(s.chars.size()));
    put8(cur, static_cast<std::uint8_t>((wide ? 0x01 : 0) | (s.phonetic.empty() ? 0 : 0x04) |
                                        (s.runs.empty() ? 0 : 0x08)));
    if (!s.runs.empty()) put16(cur, static_cast<std::uint16_t>(s.runs.size() / 4));
    if (!s.phonetic.empty()) put32(cur, static_cast<std::uint32_t>(s.phonetic.size()));
    std::size_t done = 0;
    while (done < s.chars.size()) {
      std::size_t fit = room() / charSize;
      if (fit == 0) {
        flush();
        put8(cur, wide ? 1 : 0);
        continue;
      }
      fit = std::min(fit, s.chars.size() - done);
      if (wide) {
        for (std::size_t k = 0; k < fit; ++k) put16(cur, s.chars[done + k]);
      } else {
        const std::size_t at = cur.size();
        cur.resize(at + fit);
        std::transform(s.chars.begin() + static_cast<std::ptrdiff_t>(done),
                       s.chars.begin() + static_cast<std::ptrdiff_t>(done + fit), cur.begin() + static_cast<std::ptrdiff_t>(at),
                       [](char16_t c) { return static_cast<std::uint8_t>(c); });
      }
      done += fit;
    }
    for (std::size_t k = 0; k < s.runs.size(); k += 4) {
      if (room() < 4) flush();
      cur.insert(cur.end(), s.runs.begin() + static_cast<std::ptrdiff_t>(k),
                 s.runs.begin() + static_cast<std::ptrdiff_t>(std::min(k + 4, s.runs.size())));
    }
    for (std::uint8_t b : s.phonetic) {
      if (room() == 0) flush();
      cur.push_back(b);
    }
  }
  flush();
  out.push_back({rt::ExtSst, std::move(ext)});
  return out;
}

Bytes dateFormatRecord(std::uint16_t index) {
  Bytes d;
  put16(d, index);
  xlsbiff::putString16(d, kDateTimeFormat);
  return d;
}

// Our date cell format: the default cell format with the date-and-time number format.
Bytes dateXfRecord(const Workbook& book, const std::vector<Record>& globals, std::uint16_t format) {
  Bytes d;
  std::size_t seen = 0;
  for (const auto& r : globals) {
    if (r.type != rt::Xf) continue;
    if (seen++ == kDefaultCellXf) d = r.data;
  }
  if (d.size() < 20) d = Bytes{0, 0, 0, 0, 0x01, 0, 0x20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xC0, 0x20};
  set16(d, 2, format);
  d[9] |= 0x04;  // the number format is the cell's own
  (void)book;
  return d;
}

Bytes boundSheetRecord(const Sheet& sheet) {
  Bytes d;
  put32(d, 0);  // stream position, set once the sheets are laid out
  put8(d, sheet.visibility);
  put8(d, sheet.kind);
  xlsbiff::putString8(d, xlsbiff::fromCodePage(sheet.name));
  return d;
}

std::vector<Record> buildGlobals(const Workbook& book, SavePlan& plan, std::size_t newSheetCount) {
  const auto& g = book.globals;
  const auto lastOf = [&](std::uint16_t type) {
    std::ptrdiff_t last = -1;
    for (std::size_t i = 0; i < g.size(); ++i)
      if (g[i].type == type) last = static_cast<std::ptrdiff_t>(i);
    return last;
  };
  const std::ptrdiff_t lastFormat = lastOf(rt::Format), lastXf = lastOf(rt::Xf),
                       lastBoundSheet = lastOf(rt::BoundSheet);
  std::ptrdiff_t firstXf = -1;
  for (std::size_t i = 0; i < g.size() && firstXf < 0; ++i)
    if (g[i].type == rt::Xf) firstXf = static_cast<std::ptrdiff_t>(i);

  const bool addDateXf = plan.needsDateXf && book.dateTimeXf < 0 && lastXf >= 0 &&
                         book.xfFormats.size() < kMaxXfCount;
  if (book.dateTimeXf >= 0) plan.dateXf = static_cast<std::uint16_t>(book.dateTimeXf);
  if (addDateXf) {
    std::uint16_t maxFormat = 163;
    for (const auto& r : g)
      if (r.type == rt::Format) maxFormat = std::max(maxFormat, u16(r.data, 0));
    plan.dateFormat = static_cast<std::uint16_t>(maxFormat + 1);
    plan.dateXf = static_cast<std::uint16_t>(book.xfFormats.size());
  }
  const bool hadSst = lastOf(rt::Sst) >= 0;
  const bool needSst = hadSst || plan.stringCount() > 0;
  const std::uint16_t sheetCount = static_cast<std::uint16_t>(book.sheets.size());

  std::vector<Record> out;
  bool sstWritten = false;
  for (std::size_t i = 0; i < g.size(); ++i) {
    const Record& r = g[i];
    const auto at = static_cast<std::ptrdiff_t>(i);
    if (r.type == rt::Sst || r.type == rt::ExtSst) {
      if (r.type == rt::Sst) {
        while (i + 1 < g.size() && g[i + 1].type == rt::Continue) ++i;
        out.push_back({rt::Sst, {}});  // placeholder: encoded once its position is known
        sstWritten = true;
      }
      continue;
    }
    if (addDateXf && lastFormat < 0 && at == firstXf) out.push_back({rt::Format, dateFormatRecord(plan.dateFormat)});
    if (r.type == rt::Eof && i + 1 == g.size() && needSst && !sstWritten) {
      out.push_back({rt::Sst, {}});
      sstWritten = true;
    }
    Record copy = r;
    if (r.type == rt::SupBook && r.data.size() == 4 && u16(r.data, 2) == 0x0401)
      set16(copy.data, 0, sheetCount);  // the workbook's own sheet count
    if (r.type == rt::Tabid && newSheetCount > 0) {
      std::uint16_t next = 0;
      for (std::size_t k = 0; k + 1 < r.data.size(); k += 2) next = std::max(next, u16(r.data, k));
      for (std::size_t k = 0; k < newSheetCount; ++k) put16(copy.data, ++next);
    }
    out.push_back(std::move(copy));
    if (addDateXf && at == lastFormat) out.push_back({rt::Format, dateFormatRecord(plan.dateFormat)});
    if (addDateXf && at == lastXf) out.push_back({rt::Xf, dateXfRecord(book, g, plan.dateFormat)});
    if (at == lastBoundSheet)
      for (const auto& s : book.sheets)
        if (s.isNew) out.push_back({rt::BoundSheet, boundSheetRecord(s)});
  }
  return out;
}

// Starts a record at the end of a run; endRecord sets its length once its data is there.
std::size_t beginRecord(Bytes& out, std::uint16_t type) {
  const std::size_t start = out.size();
  put16(out, type);
  put16(out, 0);
  return start;
}
void endRecord(Bytes& out, std::size_t start) {
  set16(out, start + 2, static_cast<std::uint16_t>(out.size() - start - 4));
}

void putRowRecord(Bytes& out, std::uint32_t row, const Row& cells) {
  const std::size_t start = beginRecord(out, rt::Row);
  put16(out, static_cast<std::uint16_t>(row));
  put16(out, cells.empty() ? 0 : cells.front().column);
  put16(out, static_cast<std::uint16_t>(cells.empty() ? 0 : cells.back().column + 1));
  put16(out, 0x00FF);
  put16(out, 0);
  put16(out, 0);
  put16(out, 0x0100);
  put16(out, 0x000F);
  endRecord(out, start);
}

std::uint16_t cellRecordType(const Cell& c) {
  switch (c.kind) {
    case CellKind::Text: return rt::LabelSst;
    case CellKind::Boolean:
    case CellKind::Error: return rt::BoolErr;
    default: return rt::Number;
  }
}

void putCellRecord(Bytes& out, std::uint32_t row, const Cell& c, SavePlan& plan) {
  const std::size_t start = beginRecord(out, cellRecordType(c));
  put16(out, static_cast<std::uint16_t>(row));
  put16(out, c.column);
  switch (c.kind) {
    case CellKind::Text:
      put16(out, plan.cellXf);
      put32(out, plan.textCells[plan.nextTextCell++]);
      break;
    case CellKind::Boolean:
    case CellKind::Error:
      put16(out, plan.cellXf);
      put8(out, c.kind == CellKind::Error ? 0x2A : static_cast<std::uint8_t>(c.number != 0));
      put8(out, c.kind == CellKind::Error ? 1 : 0);
      break;
    case CellKind::Date:
      put16(out, plan.dateXf);
      putF64(out, c.number);
      break;
    case CellKind::Number:
    default:
      put16(out, plan.cellXf);
      putF64(out, c.number);
      break;
  }
  endRecord(out, start);
}

// The bytes of a cell's record, header included, as putCellRecord writes it.
std::size_t cellRecordSize(const Cell& c) {
  switch (c.kind) {
    case CellKind::Text: return 4 + 10;
    case CellKind::Boolean:
    case CellKind::Error: return 4 + 8;
    default: return 4 + 14;
  }
}
constexpr std::size_t kRowRecordSize = 4 + 16;

// Calls f(rows) for each row block of the added rows with cells, in order: the
// rows of one block of 32, each as an iterator into the sheet's rows.
template <typename F>
void forEachAddedBlock(const Sheet& sheet, F&& f) {
  auto it = sheet.rows.lower_bound(sheet.firstAddedRow);
  std::vector<decltype(it)> rows;
  while (it != sheet.rows.end()) {
    const std::uint32_t block = it->first / kRowsPerBlock;
    rows.clear();
    while (it != sheet.rows.end() && it->first / kRowsPerBlock == block) {
      if (!it->second.empty()) rows.push_back(it);
      ++it;
    }
    if (!rows.empty()) f(rows);
  }
}

// The row blocks of a sheet's added rows, laid out before they are written
// straight into the saved file: where they go among the sheet's records, their
// bytes, and where in them each DBCELL record starts.
struct AddedBlocks {
  std::size_t at = SIZE_MAX;  // none when SIZE_MAX
  std::size_t size = 0;
  std::vector<std::size_t> dbCells;
};

AddedBlocks layoutAddedBlocks(const Sheet& sheet, std::size_t at) {
  AddedBlocks blocks;
  blocks.at = at;
  forEachAddedBlock(sheet, [&](const auto& rows) {
    std::size_t size = kRowRecordSize * rows.size();
    for (auto r : rows)
      for (const Cell& c : r->second) size += cellRecordSize(c);
    blocks.dbCells.push_back(blocks.size + size);
    blocks.size += size + 4 + 4 + 2 * rows.size();
  });
  return blocks;
}

// Row blocks of the added rows: ROW records, their cells, and a DBCELL that
// points back at them.
void writeAddedBlocks(xlscfb::FileBytes& made, const Sheet& sheet, SavePlan& plan) {
  Bytes db;
  forEachAddedBlock(sheet, [&](const auto& rows) {
    Bytes& out = made.bytes();
    const std::size_t blockStart = out.size();
    for (auto r : rows) putRowRecord(out, r->first, r->second);
    const std::size_t endOfFirstRow = 20;
    std::size_t previousFirstCell = endOfFirstRow;
    db.clear();
    put32(db, 0);
    for (auto r : rows) {
      const std::size_t offset = out.size() - blockStart;  // from the block's first ROW record
      put16(db, static_cast<std::uint16_t>(offset - previousFirstCell));
      previousFirstCell = offset;
      for (const Cell& c : r->second) putCellRecord(out, r->first, c, plan);
    }
    set32(db, 0, static_cast<std::uint32_t>(out.size() - blockStart));
    xlsbiff::appendRecord(out, rt::DbCell, db);
    made.flush();
  });
}

void widenDimensions(Record& dims, const Sheet& sheet) {
  if (dims.data.size() < 14) dims.data.resize(14, 0);
  std::uint32_t rowFirst = u32(dims.data, 0), rowEnd = u32(dims.data, 4);
  std::uint16_t colFirst = u16(dims.data, 8), colEnd = u16(dims.data, 10);
  const bool empty = rowEnd == 0;
  for (auto it = sheet.rows.lower_bound(sheet.firstAddedRow); it != sheet.rows.end(); ++it) {
    if (it->second.empty()) continue;
    const std::uint16_t first = it->second.front().column;
    const auto end = static_cast<std::uint16_t>(it->second.back().column + 1);
    if (empty && rowEnd == 0) {
      rowFirst = it->first;
      colFirst = first;
      colEnd = end;
    }
    rowFirst = std::min(rowFirst, it->first);
    rowEnd = std::max(rowEnd, it->first + 1);
    colFirst = std::min(colFirst, first);
    colEnd = std::max(colEnd, end);
  }
  set32(dims.data, 0, rowFirst);
  set32(dims.data, 4, rowEnd);
  set16(dims.data, 8, colFirst);
  set16(dims.data, 10, colEnd);
}

// A sheet's records as they are saved, with the added row blocks laid out.
struct SheetOut {
  std::vector<Record> records;  // the added blocks' place holds an empty run
  AddedBlocks added;
};

std::size_t bytesOf(const SheetOut& sheet) { return bytesOf(sheet.records) + sheet.added.size; }

SheetOut sheetRecords(const Sheet& sheet) {
  SheetOut out;
  std::vector<Record>& records = out.records;
  records = sheet.isNew ? blankWorksheetRecords(false) : sheet.records;
  if (!sheet.changed()) return out;
  std::ptrdiff_t insertAt = -1, dimensions = -1, window2 = -1;
  int depth = 0;
  for (std::size_t i = 0; i < records.size(); ++i) {
    const auto type = records[i].type;
    if (type == rt::Bof) ++depth;
    if (depth == 1) {
      if (xlsbiff::isCellTableRecord(type) || type == xlsbiff::kRecordRun) insertAt = static_cast<std::ptrdiff_t>(i) + 1;
      if (type == rt::Dimensions) dimensions = static_cast<std::ptrdiff_t>(i);
      if (type == rt::Window2 && window2 < 0) window2 = static_cast<std::ptrdiff_t>(i);
    }
    if (type == rt::Eof) --depth;
  }
  if (insertAt < 0) insertAt = dimensions >= 0 ? dimensions + 1 : window2 >= 0 ? window2 : static_cast<std::ptrdiff_t>(records.size()) - 1;
  if (dimensions >= 0) widenDimensions(records[static_cast<std::size_t>(dimensions)], sheet);
  records.insert(records.begin() + insertAt, Record{xlsbiff::kRecordRun, {}});
  out.added = layoutAddedBlocks(sheet, static_cast<std::size_t>(insertAt));
  return out;
}

// The sheet's records as saved into `out`, the added row blocks written in their place.
void putSheet(xlscfb::FileBytes& made, const Sheet& sheet, const SheetOut& saved, SavePlan& plan) {
  for (std::size_t i = 0; i < saved.records.size(); ++i) {
    if (i == saved.added.at) {
      writeAddedBlocks(made, sheet, plan);
      continue;
    }
    xlsbiff::appendRecord(made.bytes(), saved.records[i]);
    made.flush();
  }
}

// Calls f(type, data length) for each BIFF record the list stands for.
template <typename F>
void forEachRecordIn(const std::vector<Record>& records, F&& f) {
  for (xlsbiff::RecordWalk walk(records); !walk.atEnd(); walk.next()) {
    const xlsbiff::RecordView r = walk.current();
    f(r.type, r.data.size());
  }
}

// The INDEX record holds stream positions of the sheet's DBCELL and DEFCOLWIDTH
// records, which move when the stream is rebuilt.
void fixIndex(SheetOut& saved, std::size_t sheetOffset, const Sheet& sheet) {
  std::vector<Record>& records = saved.records;
  std::ptrdiff_t index = -1;
  int depth = 0;
  std::size_t dbCells = 0;
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (records[i].type == rt::Bof) ++depth;
    if (depth == 1 && records[i].type == rt::Index && index < 0) index = static_cast<std::ptrdiff_t>(i);
    if (records[i].type == rt::Eof) --depth;
  }
  if (index < 0) return;
  depth = 0;
  forEachRecordIn(records, [&](std::uint16_t type, std::size_t) {
    if (type == rt::Bof) ++depth;
    if (depth == 1 && type == rt::DbCell) ++dbCells;
    if (type == rt::Eof) --depth;
  });
  dbCells += saved.added.dbCells.size();
  Record& idx = records[static_cast<std::size_t>(index)];
  Bytes d(16 + 4 * dbCells, 0);
  std::copy_n(idx.data.begin(), std::min<std::size_t>(12, idx.data.size()), d.begin());
  if (sheet.changed() && !sheet.rows.empty()) {
    set32(d, 4, std::min(u32(d, 4) == u32(d, 8) ? sheet.rows.begin()->first : u32(d, 4), sheet.rows.begin()->first));
    set32(d, 8, std::max(u32(d, 8), sheet.rows.rbegin()->first + 1));
  }
  idx.data = std::move(d);
  std::size_t pos = sheetOffset, k = 0;
  depth = 0;
  // The records are walked once the INDEX record has its new size; the added
  // blocks, which lie in the sheet's cell table, count by their layout.
  const auto walk = [&](std::uint16_t type, std::size_t length) {
    if (type == rt::Bof) ++depth;
    if (depth == 1 && type == rt::DbCell) set32(idx.data, 16 + 4 * k++, static_cast<std::uint32_t>(pos));
    if (depth == 1 && type == rt::DefColWidth) set32(idx.data, 12, static_cast<std::uint32_t>(pos));
    if (type == rt::Eof) --depth;
    pos += 4 + length;
  };
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (i == saved.added.at) {
      for (std::size_t at : saved.added.dbCells) set32(idx.data, 16 + 4 * k++, static_cast<std::uint32_t>(pos + at));
      pos += saved.added.size;
    } else if (records[i].type == xlsbiff::kRecordRun) {
      const ByteView run(records[i].data);
      for (std::size_t at = 0; at + 4 <= run.size();) {
        const std::size_t length = std::min<std::size_t>(u16(run, at + 2), run.size() - at - 4);
        walk(u16(run, at), length);
        at += 4 + length;
      }
    } else {
      walk(records[i].type, records[i].data.size());
    }
  }
}

}  // namespace

std::vector<Record> blankWorksheetRecords(bool selected) {
  const auto rec = [](std::uint16_t type, std::initializer_list<std::uint16_t> words) {
    Bytes d;
    for (auto w : words) put16(d, w);
    return Record{type, std::move(d)};
  };
  std::vector<Record> r;
  r.push_back(rec(rt::Bof, {0x0600, 0x0010, 3410, 1996, 0x40C1, 0x0000, 0x0106, 0x0000}));
  r.push_back(rec(rt::Index, {0, 0, 0, 0, 0, 0, 0, 0}));
  r.push_back(rec(rt::CalcMode, {1}));
  r.push_back(rec(rt::CalcCount, {100}));
  r.push_back(rec(rt::RefMode, {1}));
  r.push_back(rec(rt::Iteration, {0}));
  {
    Bytes d;
    putF64(d, 0.001);
    r.push_back({rt::Delta, std::move(d)});
  }
  r.push_back(rec(rt::SaveRecalc, {1}));
  r.push_back(rec(rt::PrintHeaders, {0}));
  r.push_back(rec(rt::PrintGridlines, {0}));
  r.push_back(rec(rt::GridSet, {1}));
  r.push_back(rec(rt::Guts, {0, 0, 0, 0}));
  r.push_back(rec(rt::DefaultRowHeight, {0, 255}));
  r.push_back(rec(rt::WsBool, {0x04C1}));
  r.push_back({rt::Header, {}});
  r.push_back({rt::Footer, {}});
  r.push_back(rec(rt::HCenter, {0}));
  r.push_back(rec(rt::VCenter, {0}));
  {
    // Paper size, scale 100, first page 1, fit 1 x 1, printer settings not given,
    // resolutions, margins of half an inch, one copy.
    Bytes d;
    for (std::uint16_t w : {0, 100, 1, 1, 1, 0x0004, 0, 0}) put16(d, w);
    putF64(d, 0.5);
    putF64(d, 0.5);
    put16(d, 1);
    r.push_back({rt::Setup, std::move(d)});
  }
  r.push_back(rec(rt::DefColWidth, {10}));
  r.push_back(rec(rt::Dimensions, {0, 0, 0, 0, 0, 0, 0}));
  r.push_back(rec(rt::Window2, {static_cast<std::uint16_t>(selected ? 0x06B6 : 0x00B6), 0, 0, 0x40, 0, 0, 0, 0, 0}));
  {
    Bytes d;
    put8(d, 3);
    for (std::uint16_t w : {0, 0, 0, 1, 0, 0}) put16(d, w);
    put8(d, 0);
    put8(d, 0);
    r.push_back({rt::Selection, std::move(d)});
  }
  r.push_back({rt::Eof, {}});
  return r;
}

void addWorksheet(Workbook& book, const std::string& name, const std::vector<std::string>& headings) {
  Sheet s(book.arena.get());
  s.name = name;
  s.isNew = true;
  s.firstAddedRow = 0;
  Row header(book.arena.get());
  for (std::size_t i = 0; i < headings.size(); ++i) {
    Cell c;
    c.column = static_cast<std::uint16_t>(i);
    c.setText(keepText(*book.arena, headings[i]));
    header.push_back(c);
  }
  s.rows.emplace(0, std::move(header));
  s.nextFreeRow = 1;
  book.sheets.push_back(std::move(s));
}

void appendRow(Sheet& sheet, Row cells) {
  const std::uint32_t row = sheet.nextFreeRow++;
  sheet.firstAddedRow = std::min(sheet.firstAddedRow, row);
  if (cells.empty()) return;
  std::pmr::memory_resource& arena = *sheet.rows.get_allocator().resource();
  for (Cell& c : cells)
    if (c.kind == CellKind::Text) c.setText(keepText(arena, c.text()));
  sheet.rows.emplace(row, std::move(cells));
}

namespace {

void saveInto(const Workbook& book, xlscfb::FileBytes& made) {
  SavePlan plan = planSave(book);
  std::size_t newSheets = 0;
  for (const auto& s : book.sheets) newSheets += s.isNew ? 1 : 0;
  std::vector<Record> globals = buildGlobals(book, plan, newSheets);

  // Encode the shared strings where the placeholder stands.
  std::size_t pos = 0;
  for (std::size_t i = 0; i < globals.size(); ++i) {
    if (globals[i].type == rt::Sst && globals[i].data.empty()) {
      auto sst = encodeSharedStrings(plan, pos);
      globals.erase(globals.begin() + static_cast<std::ptrdiff_t>(i));
      globals.insert(globals.begin() + static_cast<std::ptrdiff_t>(i), sst.begin(), sst.end());
      break;
    }
    pos += xlsbiff::recordSize(globals[i]);
  }

  std::vector<SheetOut> sheets;
  for (const auto& s : book.sheets) sheets.push_back(sheetRecords(s));
  std::size_t offset = bytesOf(globals);
  std::size_t k = 0;
  for (std::size_t i = 0; i < book.sheets.size(); ++i) {
    fixIndex(sheets[i], offset, book.sheets[i]);
    // The i-th BOUNDSHEET record belongs to the i-th sheet.
    for (; k < globals.size(); ++k)
      if (globals[k].type == rt::BoundSheet) {
        set32(globals[k].data, 0, static_cast<std::uint32_t>(offset));
        ++k;
        break;
      }
    offset += bytesOf(sheets[i]);
  }

  // Spreadsheet programs expect the workbook in ordinary sectors, never the mini stream.
  const std::size_t streamSize = std::max<std::size_t>(offset, xlscfb::kMiniStreamCutoff);
  const auto putStream = [&](xlscfb::FileBytes& out) {
    const std::size_t start = out.size();
    for (const auto& r : globals) xlsbiff::appendRecord(out.bytes(), r);
    out.flush();
    for (std::size_t i = 0; i < sheets.size(); ++i) putSheet(out, book.sheets[i], sheets[i], plan);
    out.bytes().resize(out.bytes().size() + (start + streamSize - out.size()), 0);
  };
  xlscfb::write(book.file, {book.workbookEntry, streamSize, putStream}, made);
}

}  // namespace

Bytes save(const Workbook& book) {
  xlscfb::FileBytes made;
  saveInto(book, made);
  return made.take();
}

bool save(const Workbook& book, const xlscfb::FileBytes::Drain& drain) {
  xlscfb::FileBytes made(drain);
  saveInto(book, made);
  return made.finish();
}

}  // namespace xlsbook
