#include "platform/xlsodbc/biff_records.h"

#include <windows.h>

#include <algorithm>

namespace xlsbiff {

using namespace xlsio;

std::vector<Record> splitRecords(ByteView stream, std::size_t from) {
  std::vector<Record> records;
  std::size_t at = from;
  while (at + 4 <= stream.size()) {
    const std::uint16_t type = xlsio::u16(stream, at);
    const std::uint16_t length = xlsio::u16(stream, at + 2);
    if (at + 4 + length > stream.size()) break;
    if (type == 0 && length == 0) break;  // the zero padding after the last substream
    Record r;
    r.type = type;
    r.data.assign(stream.begin() + static_cast<std::ptrdiff_t>(at + 4),
                  stream.begin() + static_cast<std::ptrdiff_t>(at + 4 + length));
    records.push_back(std::move(r));
    at += 4 + length;
  }
  return records;
}

namespace {
// How many records a run holds.
std::size_t recordsInRun(ByteView run) {
  std::size_t n = 0;
  for (std::size_t at = 0; at + 4 <= run.size(); ++n) at += 4 + xlsio::u16(run, at + 2);
  return n;
}
}  // namespace

std::vector<RecordView> viewsOf(const std::vector<Record>& records) {
  std::size_t count = 0;
  for (const Record& r : records) count += r.type == kRecordRun ? recordsInRun(r.data) : 1;
  std::vector<RecordView> views;
  views.reserve(count);
  for (const Record& r : records) {
    if (r.type != kRecordRun) {
      views.push_back({r.type, r.data});
      continue;
    }
    const ByteView run(r.data);
    for (std::size_t at = 0; at + 4 <= run.size();) {
      const std::size_t length = std::min<std::size_t>(xlsio::u16(run, at + 2), run.size() - at - 4);
      views.push_back({xlsio::u16(run, at), run.subspan(at + 4, length)});
      at += 4 + length;
    }
  }
  return views;
}

namespace {
// The data length of the run's record at `at`, bounded by the run.
std::size_t runRecordLength(ByteView run, std::size_t at) {
  return std::min<std::size_t>(xlsio::u16(run, at + 2), run.size() - at - 4);
}
}  // namespace

RecordView RecordWalk::current() const {
  const Record& r = (*records_)[index_];
  if (r.type != kRecordRun) return {r.type, r.data};
  const ByteView run(r.data);
  return {xlsio::u16(run, at_), run.subspan(at_ + 4, runRecordLength(run, at_))};
}

void RecordWalk::next() {
  const Record& r = (*records_)[index_];
  if (r.type != kRecordRun) {
    ++index_;
  } else {
    at_ += 4 + runRecordLength(r.data, at_);
  }
  settle();
}

void RecordWalk::settle() {
  while (index_ < records_->size() && (*records_)[index_].type == kRecordRun &&
         at_ + 4 > (*records_)[index_].data.size()) {
    ++index_;
    at_ = 0;
  }
  if (index_ < records_->size() && (*records_)[index_].type != kRecordRun) at_ = 0;
}

void appendRecord(Bytes& out, std::uint16_t type, ByteView data) {
  put16(out, type);
  put16(out, static_cast<std::uint16_t>(data.size()));
  putBytes(out, data);
}

bool ContinuedReader::ensure() {
  while (part_ < parts_.size() && at_ >= parts_[part_].size()) {
    ++part_;
    at_ = 0;
  }
  if (part_ >= parts_.size()) failed_ = true;
  return !failed_;
}
bool ContinuedReader::atEnd() const {
  std::size_t p = part_, a = at_;
  while (p < parts_.size() && a >= parts_[p].size()) {
    ++p;
    a = 0;
  }
  return p >= parts_.size();
}
std::uint8_t ContinuedReader::u8() {
  if (!ensure()) return 0;
  return parts_[part_][at_++];
}
std::uint16_t ContinuedReader::u16() {
  const std::uint8_t lo = u8();
  return static_cast<std::uint16_t>(lo | (u8() << 8));
}
std::uint32_t ContinuedReader::u32() {
  const std::uint16_t lo = u16();
  return lo | (static_cast<std::uint32_t>(u16()) << 16);
}
void ContinuedReader::skip(std::size_t n) {
  while (n > 0 && ensure()) {
    const std::size_t step = std::min(n, parts_[part_].size() - at_);
    at_ += step;
    n -= step;
  }
}

UnicodeString ContinuedReader::readString() {
  UnicodeString s;
  readString(s);
  return s;
}

void ContinuedReader::readString(UnicodeString& s) {
  s.chars.clear();
  s.runs.clear();
  s.phonetic.clear();
  const std::uint16_t count = u16();
  std::uint8_t options = u8();
  const std::uint16_t runs = (options & 0x08) ? u16() : 0;
  const std::uint32_t phonetic = (options & 0x04) ? u32() : 0;
  s.chars.reserve(count);
  while (s.chars.size() < count && !failed_) {
    if (!ensure()) break;
    if (at_ == 0 && part_ > 0) {
      options = parts_[part_][at_++];  // fresh option byte after a record boundary
      continue;
    }
    if (options & 0x01) {
      s.chars.push_back(static_cast<char16_t>(u16()));
      continue;
    }
    // Single-byte characters as far as they go in this record, at once.
    const xlsio::ByteView part = parts_[part_];
    const std::size_t n = std::min<std::size_t>(count - s.chars.size(), part.size() - at_);
    s.chars.append(part.begin() + static_cast<std::ptrdiff_t>(at_), part.begin() + static_cast<std::ptrdiff_t>(at_ + n));
    at_ += n;
  }
  for (std::size_t i = 0; i < std::size_t{runs} * 4 && !failed_; ++i) s.runs.push_back(u8());
  // Phonetic blocks are bounded by what is left, so a wild length cannot make us loop long.
  for (std::uint32_t i = 0; i < phonetic && !failed_; ++i) s.phonetic.push_back(u8());
}

std::u16string readPlainString(ByteView data, std::size_t at, bool shortCount, std::size_t* end) {
  const std::size_t count = shortCount ? xlsio::u8(data, at) : xlsio::u16(data, at);
  at += shortCount ? 1 : 2;
  const std::uint8_t options = xlsio::u8(data, at++);
  if (options & 0x08) at += 2;
  if (options & 0x04) at += 4;
  std::u16string s;
  const bool wide = options & 0x01;
  for (std::size_t i = 0; i < count && at + (wide ? 1 : 0) < data.size(); ++i) {
    s.push_back(wide ? static_cast<char16_t>(xlsio::u16(data, at)) : static_cast<char16_t>(data[at]));
    at += wide ? 2 : 1;
  }
  if (end) *end = at;
  return s;
}

namespace {
bool narrow(std::u16string_view s) {
  return std::all_of(s.begin(), s.end(), [](char16_t c) { return c < 0x100; });
}
void putChars(Bytes& out, std::u16string_view s, bool wide) {
  for (char16_t c : s) {
    if (wide)
      put16(out, c);
    else
      put8(out, static_cast<std::uint8_t>(c));
  }
}
}  // namespace

void putString16(Bytes& out, std::u16string_view s) {
  const bool wide = !narrow(s);
  put16(out, static_cast<std::uint16_t>(s.size()));
  put8(out, wide ? 1 : 0);
  putChars(out, s, wide);
}

void putString8(Bytes& out, std::u16string_view s) {
  const bool wide = !narrow(s);
  put8(out, static_cast<std::uint8_t>(s.size()));
  put8(out, wide ? 1 : 0);
  putChars(out, s, wide);
}

std::u16string fromCodePage(std::string_view bytes) {
  if (bytes.empty()) return {};
  // The code page's first half is ASCII: most texts need no conversion call.
  if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
    return std::u16string(bytes.begin(), bytes.end());
  std::u16string out(bytes.size(), u'\0');
  const int n = MultiByteToWideChar(1252, 0, bytes.data(), static_cast<int>(bytes.size()),
                                    reinterpret_cast<wchar_t*>(out.data()), static_cast<int>(out.size()));
  out.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return out;
}

std::string toCodePage(std::u16string_view chars) {
  if (chars.empty()) return {};
  if (std::all_of(chars.begin(), chars.end(), [](char16_t c) { return c < 0x80; }))
    return std::string(chars.begin(), chars.end());
  std::string out(chars.size() * 2, '\0');
  // No best-fit look-alikes: a character the code page lacks becomes "?".
  const int n = WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, reinterpret_cast<const wchar_t*>(chars.data()),
                                    static_cast<int>(chars.size()), out.data(), static_cast<int>(out.size()),
                                    "?", nullptr);
  out.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return out;
}

}  // namespace xlsbiff
