// The built-in empty workbook that CeloxCreateEXCELFile writes: a compound file
// of 22 sectors holding a BIFF8 workbook with three empty worksheets and the two
// summary property sets.  Built once, on first use, at fixed sector positions.
#include <string>
#include <vector>

#include "platform/xlsodbc/biff_records.h"
#include "platform/xlsodbc/workbook.h"
#include "spreadsheet/library_state.h"

namespace celox {
namespace {

using namespace xlsio;
namespace rt = xlsbiff::rt;

constexpr std::uint32_t kSectorSize = 512;
constexpr std::uint32_t kSectorCount = 22;
constexpr std::uint32_t kImageLength = kSectorSize * (kSectorCount + 1);
constexpr std::uint32_t kWorkbookLength = 4096;
constexpr std::uint32_t kFree = 0xFFFFFFFF, kEnd = 0xFFFFFFFE, kFatMark = 0xFFFFFFFD;
constexpr std::uint16_t kBuild = 3410, kBuildYear = 1996;
constexpr std::uint32_t kNoEntry = 0xFFFFFFFF;

// 1 January 2000, 00:00 UTC, as a FILETIME: a neutral time stamp.
constexpr std::uint64_t kTimeStamp = 125911584000000000ull;

constexpr const char* kSheetNames[] = {"Tabelle1", "Tabelle2", "Tabelle3"};
constexpr std::uint8_t kExcelClassId[16] = {0x20, 0x08, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                            0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
constexpr std::uint8_t kSummaryFormat[16] = {0xE0, 0x85, 0x9F, 0xF2, 0xF9, 0x4F, 0x68, 0x10,
                                             0xAB, 0x91, 0x08, 0x00, 0x2B, 0x27, 0xB3, 0xD9};
constexpr std::uint8_t kDocumentFormat[16] = {0x02, 0xD5, 0xCD, 0xD5, 0x9C, 0x2E, 0x1B, 0x10,
                                              0x93, 0x97, 0x08, 0x00, 0x2B, 0x2C, 0xF9, 0xAE};
constexpr std::uint8_t kUserDefinedFormat[16] = {0x05, 0xD5, 0xCD, 0xD5, 0x9C, 0x2E, 0x1B, 0x10,
                                                 0x93, 0x97, 0x08, 0x00, 0x2B, 0x2C, 0xF9, 0xAE};

Bytes words(std::initializer_list<std::uint16_t> list) {
  Bytes d;
  for (auto w : list) put16(d, w);
  return d;
}

// The default cell formats of a new workbook: 15 style formats, the default
// cell format 15, and the formats of the built-in number styles.
Bytes xfRecord(std::uint16_t font, std::uint16_t format, bool style, std::uint8_t usedAttributes) {
  Bytes d;
  put16(d, font);
  put16(d, format);
  put16(d, style ? 0xFFF5 : 0x0001);
  put8(d, 0x20);
  put8(d, 0);
  put8(d, 0);
  put8(d, usedAttributes);
  for (int i = 0; i < 8; ++i) put8(d, 0);
  put16(d, 0x20C0);
  return d;
}

std::vector<xlsbiff::Record> globalsRecords() {
  std::vector<xlsbiff::Record> g;
  const auto add = [&](std::uint16_t type, Bytes data) { g.push_back({type, std::move(data)}); };
  add(rt::Bof, words({0x0600, 0x0005, kBuild, kBuildYear, 0x40C1, 0x0000, 0x0106, 0x0000}));
  add(rt::InterfaceHdr, words({1200}));
  add(rt::Mms, words({0}));
  add(rt::InterfaceEnd, {});
  {
    Bytes d;
    xlsbiff::putString16(d, u"Carrowmapper");
    d.resize(112, ' ');
    add(rt::WriteAccess, std::move(d));
  }
  add(rt::CodePage, words({1200}));
  add(rt::Dsf, words({0}));
  add(rt::Tabid, words({1, 2, 3}));
  add(rt::FnGroupCount, words({14}));
  add(rt::WindowProtect, words({0}));
  add(rt::Protect, words({0}));
  add(rt::Password, words({0}));
  add(rt::Prot4Rev, words({0}));
  add(rt::Prot4RevPass, words({0}));
  add(rt::Window1, words({360, 120, 10410, 7335, 0x38, 0, 0, 1, 600}));
  add(rt::Backup, words({0}));
  add(rt::HideObj, words({0}));
  add(rt::DateMode, words({0}));
  add(rt::Precision, words({1}));
  add(rt::RefreshAll, words({0}));
  add(rt::BookBool, words({0}));
  for (int i = 0; i < 4; ++i) {
    Bytes d = words({200, 0, 0x7FFF, 400, 0});
    put8(d, 0);  // underline
    put8(d, 0);  // family
    put8(d, 0);  // character set
    put8(d, 0);
    xlsbiff::putString8(d, u"Arial");
    add(rt::Font, std::move(d));
  }
  const std::pair<std::uint16_t, std::u16string_view> formats[] = {
      {5, u"\"$\"#,##0_);\\(\"$\"#,##0\\)"},
      {6, u"\"$\"#,##0_);[Red]\\(\"$\"#,##0\\)"},
      {7, u"\"$\"#,##0.00_);\\(\"$\"#,##0.00\\)"},
      {8, u"\"$\"#,##0.00_);[Red]\\(\"$\"#,##0.00\\)"},
      {42, u"_(\"$\"* #,##0_);_(\"$\"* \\(#,##0\\);_(\"$\"* \"-\"_);_(@_)"},
      {41, u"_(* #,##0_);_(* \\(#,##0\\);_(* \"-\"_);_(@_)"},
      {44, u"_(\"$\"* #,##0.00_);_(\"$\"* \\(#,##0.00\\);_(\"$\"* \"-\"??_);_(@_)"},
      {43, u"_(* #,##0.00_);_(* \\(#,##0.00\\);_(* \"-\"??_);_(@_)"},
  };
  for (const auto& [index, text] : formats) {
    Bytes d;
    put16(d, index);
    xlsbiff::putString16(d, text);
    add(rt::Format, std::move(d));
  }
  add(rt::Xf, xfRecord(0, 0, true, 0x00));
  for (std::uint16_t font : {1, 1, 2, 2}) add(rt::Xf, xfRecord(font, 0, true, 0xF4));
  for (int i = 5; i < 15; ++i) add(rt::Xf, xfRecord(0, 0, true, 0xF4));
  add(rt::Xf, xfRecord(0, 0, false, 0x00));
  for (std::uint16_t format : {43, 41, 44, 42, 9}) add(rt::Xf, xfRecord(1, format, true, 0xF8));
  // Normal, Comma, Comma [0], Currency, Currency [0], Percent.
  for (auto [xf, style] : {std::pair{0, 0}, {16, 3}, {17, 6}, {18, 4}, {19, 7}, {20, 5}})
    add(rt::Style, words({static_cast<std::uint16_t>(0x8000 | xf), static_cast<std::uint16_t>(0xFF00 | style)}));
  add(rt::UsesElfs, words({1}));
  for (const char* name : kSheetNames) {
    Bytes d;
    put32(d, 0);
    put8(d, 0);
    put8(d, 0);
    xlsbiff::putString8(d, xlsbiff::fromCodePage(name));
    add(rt::BoundSheet, std::move(d));
  }
  add(rt::Country, words({49, 1}));
  add(rt::Sst, words({0, 0, 0, 0}));
  {
    Bytes d = words({8});
    d.resize(1018, 0);
    add(rt::ExtSst, std::move(d));
  }
  add(rt::Eof, {});
  return g;
}

Bytes workbookStream() {
  auto globals = globalsRecords();
  std::vector<std::vector<xlsbiff::Record>> sheets;
  for (std::size_t i = 0; i < 3; ++i) sheets.push_back(xlsbook::blankWorksheetRecords(i == 0));
  std::size_t offset = 0;
  for (const auto& r : globals) offset += xlsbiff::recordSize(r);
  std::size_t sheet = 0;
  for (auto& r : globals) {
    if (r.type != rt::BoundSheet) continue;
    set32(r.data, 0, static_cast<std::uint32_t>(offset));
    // The INDEX record points at the sheet's DEFCOLWIDTH record.
    std::size_t pos = offset;
    for (const auto& s : sheets[sheet]) {
      if (s.type == rt::DefColWidth)
        for (auto& idx : sheets[sheet])
          if (idx.type == rt::Index) set32(idx.data, 12, static_cast<std::uint32_t>(pos));
      pos += xlsbiff::recordSize(s);
    }
    offset = pos;
    ++sheet;
  }
  Bytes stream;
  for (const auto& r : globals) xlsbiff::appendRecord(stream, r);
  for (const auto& s : sheets)
    for (const auto& r : s) xlsbiff::appendRecord(stream, r);
  stream.resize(kWorkbookLength, 0);
  return stream;
}

// Property-set helpers: every value is padded to a multiple of 4 bytes.
void pad4(Bytes& b) {
  while (b.size() % 4) b.push_back(0);
}
void putLpstr(Bytes& b, std::string_view s) {
  put32(b, static_cast<std::uint32_t>(s.size() + 1));
  putText(b, s);
  put8(b, 0);
  pad4(b);
}

struct Property {
  std::uint32_t id;
  Bytes value;  // type word and value
};
Property i2(std::uint32_t id, std::uint16_t v) {
  Bytes b;
  put32(b, 2);
  put16(b, v);
  pad4(b);
  return {id, b};
}
Property i4(std::uint32_t id, std::uint32_t v) {
  Bytes b;
  put32(b, 3);
  put32(b, v);
  return {id, b};
}
Property boolean(std::uint32_t id) {
  Bytes b;
  put32(b, 11);
  put16(b, 0);
  pad4(b);
  return {id, b};
}
Property lpstr(std::uint32_t id, std::string_view s) {
  Bytes b;
  put32(b, 30);
  putLpstr(b, s);
  return {id, b};
}

Bytes section(const std::vector<Property>& properties) {
  Bytes b;
  const std::uint32_t headerSize = 8 + 8 * static_cast<std::uint32_t>(properties.size());
  std::uint32_t offset = headerSize;
  Bytes values;
  put32(b, 0);
  put32(b, static_cast<std::uint32_t>(properties.size()));
  for (const auto& p : properties) {
    put32(b, p.id);
    put32(b, offset);
    offset += static_cast<std::uint32_t>(p.value.size());
    putBytes(values, p.value);
  }
  putBytes(b, values);
  set32(b, 0, static_cast<std::uint32_t>(b.size()));
  return b;
}

Bytes propertySetStream(const std::vector<std::pair<const std::uint8_t*, Bytes>>& sections) {
  Bytes b;
  put16(b, 0xFFFE);
  put16(b, 0);
  put32(b, 0x00020005);  // written on Windows
  b.resize(b.size() + 16, 0);
  put32(b, static_cast<std::uint32_t>(sections.size()));
  std::uint32_t offset = 28 + 20 * static_cast<std::uint32_t>(sections.size());
  for (const auto& [format, body] : sections) {
    putBytes(b, ByteView(format, 16));
    put32(b, offset);
    offset += static_cast<std::uint32_t>(body.size());
  }
  for (const auto& s : sections) putBytes(b, s.second);
  return b;
}

Bytes summaryInformation() {
  Bytes created;
  put32(created, 64);  // FILETIME
  put32(created, static_cast<std::uint32_t>(kTimeStamp));
  put32(created, static_cast<std::uint32_t>(kTimeStamp >> 32));
  return propertySetStream({{kSummaryFormat, section({i2(1, 1252), lpstr(8, "Celox"),
                                                      lpstr(18, "Celox spreadsheet-access library 1.0"),
                                                      {12, created}, i4(19, 0)})}});
}

Bytes documentSummaryInformation() {
  Bytes parts;
  put32(parts, 0x101E);  // vector of texts
  put32(parts, 3);
  for (const char* name : kSheetNames) putLpstr(parts, name);
  Bytes headings;
  put32(headings, 0x100C);  // vector of variants
  put32(headings, 2);
  put32(headings, 30);
  putLpstr(headings, "Tabellen");
  put32(headings, 3);
  put32(headings, 3);
  return propertySetStream(
      {{kDocumentFormat, section({i2(1, 1252), lpstr(15, "Carrowmapper developers"), boolean(11), boolean(16),
                                  boolean(19), boolean(22), i4(23, (8u << 16) | kBuild), {13, parts},
                                  {12, headings}})},
       {kUserDefinedFormat, section({i2(1, 1252)})}});
}

Bytes directoryEntry(std::u16string_view name, std::uint8_t type, std::uint32_t left, std::uint32_t right,
                     std::uint32_t child, std::uint32_t start, std::uint32_t size, bool root) {
  Bytes e;
  for (char16_t c : name) put16(e, c);
  e.resize(64, 0);
  put16(e, static_cast<std::uint16_t>((name.size() + 1) * 2));
  put8(e, type);
  put8(e, 1);  // black
  put32(e, left);
  put32(e, right);
  put32(e, child);
  if (root)
    putBytes(e, kExcelClassId);
  else
    e.resize(e.size() + 16, 0);
  put32(e, 0);  // state bits
  e.resize(e.size() + 8, 0);  // created
  if (root) {
    put32(e, static_cast<std::uint32_t>(kTimeStamp));
    put32(e, static_cast<std::uint32_t>(kTimeStamp >> 32));
  } else {
    e.resize(e.size() + 8, 0);
  }
  put32(e, start);
  put32(e, size);
  put32(e, 0);
  return e;
}

Bytes buildImage() {
  const Bytes workbook = workbookStream();
  const Bytes summary = summaryInformation();
  const Bytes document = documentSummaryInformation();
  Bytes mini = summary;
  mini.resize(192, 0);
  putBytes(mini, document);
  mini.resize(576, 0);

  Bytes image(kImageLength, 0);
  const auto sectorAt = [&](std::uint32_t id) { return kSectorSize * (id + 1); };
  const auto write = [&](std::size_t at, ByteView bytes) { std::copy(bytes.begin(), bytes.end(), image.begin() + static_cast<std::ptrdiff_t>(at)); };

  Bytes header;
  putBytes(header, ByteView(reinterpret_cast<const std::uint8_t*>("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"), 8));
  header.resize(24, 0);
  for (std::uint16_t w : {0x3E, 3, 0xFFFE, 9, 6}) put16(header, w);
  header.resize(0x2C, 0);
  for (std::uint32_t v : {1u, 2u, 0u, 4096u, 4u, 1u, kEnd, 0u}) put32(header, v);
  put32(header, 3);
  while (header.size() < kSectorSize) put32(header, kFree);
  write(0, header);

  std::vector<std::uint32_t> fat(kSectorSize / 4, kFree);
  fat[0] = kEnd;      // second part of the mini stream
  fat[2] = kEnd;      // directory
  fat[3] = kFatMark;  // the FAT itself
  fat[4] = kEnd;      // mini FAT
  fat[5] = 0;         // mini stream: sector 5, then sector 0
  for (std::uint32_t s = 14; s < 21; ++s) fat[s] = s + 1;
  fat[21] = kEnd;
  Bytes fatBytes;
  for (auto v : fat) put32(fatBytes, v);
  write(sectorAt(3), fatBytes);

  std::vector<std::uint32_t> miniFat(kSectorSize / 4, kFree);
  for (std::uint32_t m : {0u, 1u, 3u, 4u, 5u, 6u, 7u}) miniFat[m] = m + 1;
  miniFat[2] = kEnd;
  miniFat[8] = kEnd;
  Bytes miniFatBytes;
  for (auto v : miniFat) put32(miniFatBytes, v);
  write(sectorAt(4), miniFatBytes);

  write(sectorAt(5), ByteView(mini).first(512));
  write(sectorAt(0), ByteView(mini).subspan(512));

  Bytes directory;
  putBytes(directory, directoryEntry(u"Root Entry", 5, kNoEntry, kNoEntry, 2, 5, 576, true));
  putBytes(directory, directoryEntry(u"Workbook", 2, kNoEntry, kNoEntry, kNoEntry, 14, kWorkbookLength, false));
  putBytes(directory, directoryEntry(u"\x05SummaryInformation", 2, 1, 3, kNoEntry, 0,
                                     static_cast<std::uint32_t>(summary.size()), false));
  putBytes(directory, directoryEntry(u"\x05" u"DocumentSummaryInformation", 2, kNoEntry, kNoEntry, kNoEntry, 3,
                                     static_cast<std::uint32_t>(document.size()), false));
  write(sectorAt(2), directory);

  write(sectorAt(14), workbook);
  return image;
}

}  // namespace

EmptyWorkbookImage qxEmptyWorkbook() {
  static const Bytes image = buildImage();
  return {image.data(), static_cast<std::uint32_t>(image.size())};
}

}  // namespace celox
