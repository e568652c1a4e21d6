#include "platform/xlsodbc/compound_file.h"

#include <algorithm>
#include <cstring>

namespace xlscfb {
namespace {

using namespace xlsio;

constexpr std::array<std::uint8_t, 8> kSignature = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr std::size_t kHeaderDifatCount = 109;
constexpr std::uint32_t kMaxRegularSector = 0xFFFFFFFA;

class SectorReader {
 public:
  SectorReader(ByteView file, unsigned shift) : file_(file), size_(1u << shift) {
    // Only whole sectors count: a file cut short inside a sector is damaged there.
    count_ = file.size() > size_ ? static_cast<std::uint32_t>((file.size() - size_) / size_) : 0;
  }
  std::uint32_t count() const { return count_; }
  std::uint32_t size() const { return size_; }
  // Appends a sector's bytes.
  void appendSector(Bytes& out, std::uint32_t id) const {
    const std::size_t start = (static_cast<std::size_t>(id) + 1) * size_;
    const std::size_t n = start < file_.size() ? std::min<std::size_t>(size_, file_.size() - start) : 0;
    out.insert(out.end(), file_.begin() + static_cast<std::ptrdiff_t>(start),
               file_.begin() + static_cast<std::ptrdiff_t>(start + n));
    out.resize(out.size() + (size_ - n), 0);
  }
  // A sector's bytes.
  Bytes sector(std::uint32_t id) const {
    Bytes out(size_, 0);
    const std::size_t start = (static_cast<std::size_t>(id) + 1) * size_;
    if (start < file_.size()) {
      const std::size_t n = std::min<std::size_t>(size_, file_.size() - start);
      std::copy_n(file_.begin() + static_cast<std::ptrdiff_t>(start), n, out.begin());
    }
    return out;
  }

 private:
  ByteView file_;
  std::uint32_t size_;
  std::uint32_t count_ = 0;
};

// Follows a chain through an allocation table; nothing when it leaves the table,
// loops, or is longer than the table.
std::optional<std::vector<std::uint32_t>> followChain(const std::vector<std::uint32_t>& table,
                                                      std::uint32_t start) {
  std::vector<std::uint32_t> chain;
  if (start == kEndOfChain) return chain;
  std::vector<bool> seen(table.size(), false);
  std::uint32_t id = start;
  while (id != kEndOfChain) {
    if (id >= table.size() || seen[id]) return std::nullopt;
    seen[id] = true;
    chain.push_back(id);
    id = table[id];
  }
  return chain;
}

std::optional<Bytes> readChain(const SectorReader& sectors, const std::vector<std::uint32_t>& fat,
                               std::uint32_t start) {
  auto chain = followChain(fat, start);
  if (!chain) return std::nullopt;
  Bytes out;
  out.reserve(chain->size() * sectors.size());
  for (std::uint32_t id : *chain) {
    if (id >= sectors.count()) return std::nullopt;
    sectors.appendSector(out, id);
  }
  return out;
}

// Where a stream's bytes lie in the file when its chain is one run of sectors
// inside the file; nothing otherwise.
std::optional<std::size_t> contiguousStart(const SectorReader& sectors, const std::vector<std::uint32_t>& fat,
                                           std::uint32_t start, std::uint32_t size) {
  auto chain = followChain(fat, start);
  if (!chain || chain->empty() || static_cast<std::size_t>(chain->size()) * sectors.size() < size) return std::nullopt;
  for (std::size_t k = 0; k < chain->size(); ++k)
    if ((*chain)[k] != (*chain)[0] + k || (*chain)[k] >= sectors.count()) return std::nullopt;
  return (static_cast<std::size_t>((*chain)[0]) + 1) * sectors.size();
}

std::u16string upper(std::u16string_view s) {
  std::u16string u(s);
  for (auto& c : u)
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
  return u;
}

}  // namespace

std::u16string Entry::name() const {
  const std::uint16_t bytes = std::min<std::uint16_t>(u16(raw, 64), 64);
  std::u16string s;
  for (std::size_t i = 0; i + 1 < bytes; i += 2) {
    const char16_t c = static_cast<char16_t>(u16(raw, i));
    if (c == 0) break;
    s.push_back(c);
  }
  return s;
}
std::uint32_t Entry::leftSibling() const { return u32(raw, 68); }
std::uint32_t Entry::rightSibling() const { return u32(raw, 72); }
std::uint32_t Entry::child() const { return u32(raw, 76); }

namespace {

std::optional<CompoundFile> readFrom(ByteView file, std::string& why, Bytes* owned) {
  if (file.size() < 512 || !std::equal(kSignature.begin(), kSignature.end(), file.begin())) {
    why = "The file is not an Excel 97-2003 workbook.";
    return std::nullopt;
  }
  why = "The workbook file is damaged.";
  const unsigned shift = u16(file, 0x1E);
  if ((shift != 9 && shift != 12) || u16(file, 0x20) != 6) return std::nullopt;
  const SectorReader sectors(file, shift);
  const std::uint32_t perSector = sectors.size() / 4;

  // The FAT's own sectors: 109 in the header, the rest in the DIFAT chain.
  std::vector<std::uint32_t> fatSectors;
  const std::uint32_t fatCount = u32(file, 0x2C);
  if (fatCount > sectors.count()) return std::nullopt;
  for (std::size_t i = 0; i < kHeaderDifatCount && fatSectors.size() < fatCount; ++i)
    fatSectors.push_back(u32(file, 0x4C + 4 * i));
  std::uint32_t difat = u32(file, 0x44);
  for (std::uint32_t steps = 0; fatSectors.size() < fatCount; ++steps) {
    if (difat >= sectors.count() || steps > sectors.count()) return std::nullopt;
    const Bytes s = sectors.sector(difat);
    for (std::uint32_t i = 0; i + 1 < perSector && fatSectors.size() < fatCount; ++i)
      fatSectors.push_back(u32(s, 4 * i));
    difat = u32(s, 4 * (perSector - 1));
  }
  std::vector<std::uint32_t> fat;
  fat.reserve(fatSectors.size() * perSector);
  for (std::uint32_t id : fatSectors) {
    if (id >= sectors.count()) return std::nullopt;
    const Bytes s = sectors.sector(id);
    for (std::uint32_t i = 0; i < perSector; ++i) fat.push_back(u32(s, 4 * i));
  }
  // Entries past the file's last sector cannot be reached by a sound chain.
  if (fat.size() > sectors.count()) fat.resize(sectors.count());

  const auto directory = readChain(sectors, fat, u32(file, 0x30));
  if (!directory || directory->size() < 128) return std::nullopt;
  CompoundFile cf;
  for (std::size_t at = 0; at + 128 <= directory->size(); at += 128) {
    Entry e;
    std::copy_n(directory->begin() + static_cast<std::ptrdiff_t>(at), 128, e.raw.begin());
    cf.entries.push_back(std::move(e));
  }
  if (cf.entries[0].type() != EntryType::Root) return std::nullopt;

  const std::uint32_t cutoff = u32(file, 0x38);
  std::vector<std::uint32_t> miniFat;
  Bytes miniStream;
  if (const std::uint32_t first = u32(file, 0x3C); first != kEndOfChain && u32(file, 0x40) != 0) {
    auto bytes = readChain(sectors, fat, first);
    if (!bytes) return std::nullopt;
    for (std::size_t i = 0; i + 4 <= bytes->size(); i += 4) miniFat.push_back(u32(*bytes, i));
  }
  {
    const Entry& root = cf.entries[0];
    const std::uint32_t rootSize = u32(root.raw, 0x78);
    if (rootSize > 0) {
      auto bytes = readChain(sectors, fat, u32(root.raw, 0x74));
      if (!bytes || bytes->size() < rootSize) return std::nullopt;
      miniStream = std::move(*bytes);
      miniStream.resize(rootSize);
    }
  }
  if (miniFat.size() > miniStream.size() / 64) miniFat.resize(miniStream.size() / 64);

  // The stream that takes over the owned buffer: its entry, where it lies, its size.
  struct Taken {
    std::size_t entry = 0, at = 0, size = 0;
  };
  std::optional<Taken> taken;

  for (std::size_t i = 1; i < cf.entries.size(); ++i) {
    Entry& e = cf.entries[i];
    if (e.type() != EntryType::Stream) continue;
    const std::uint32_t size = u32(e.raw, 0x78);
    const std::uint32_t start = u32(e.raw, 0x74);
    if (size == 0) continue;
    if (size < cutoff) {
      auto chain = followChain(miniFat, start);
      if (!chain || chain->size() * 64 < size) return std::nullopt;
      for (std::uint32_t id : *chain) {
        const auto from = miniStream.begin() + static_cast<std::ptrdiff_t>(id) * 64;
        e.data.insert(e.data.end(), from, from + 64);
      }
    } else {
      if (owned) {
        if (const auto at = contiguousStart(sectors, fat, start, size); at && (!taken || size > taken->size)) {
          // The stream kept for the buffer until now is copied after all.
          if (taken) cf.entries[taken->entry].data.assign(file.begin() + static_cast<std::ptrdiff_t>(taken->at),
                                                          file.begin() + static_cast<std::ptrdiff_t>(taken->at + taken->size));
          taken = Taken{i, *at, size};
          continue;
        }
      }
      auto bytes = readChain(sectors, fat, start);
      if (!bytes || bytes->size() < size) return std::nullopt;
      e.data = std::move(*bytes);
    }
    e.data.resize(size);
  }
  if (taken) {
    // The last use of `file`, which views the buffer.
    Bytes& buffer = *owned;
    std::memmove(buffer.data(), buffer.data() + taken->at, taken->size);
    buffer.resize(taken->size);
    cf.entries[taken->entry].data = std::move(buffer);
  }
  return cf;
}

}  // namespace

std::optional<CompoundFile> read(ByteView file, std::string& why) { return readFrom(file, why, nullptr); }

std::optional<CompoundFile> read(Bytes&& file, std::string& why) {
  const ByteView view(file);
  return readFrom(view, why, &file);
}

int findRootStream(const CompoundFile& file, std::u16string_view name) {
  // Walk the root's child tree; a damaged tree is walked with a step limit.
  const std::u16string wanted = upper(name);
  std::vector<std::uint32_t> stack{file.entries.empty() ? kNoStream : file.entries[0].child()};
  std::size_t steps = 0;
  while (!stack.empty() && steps++ <= file.entries.size()) {
    const std::uint32_t id = stack.back();
    stack.pop_back();
    if (id >= file.entries.size()) continue;
    const Entry& e = file.entries[id];
    if (e.type() == EntryType::Stream && upper(e.name()) == wanted) return static_cast<int>(id);
    stack.push_back(e.leftSibling());
    stack.push_back(e.rightSibling());
  }
  return -1;
}

Entry makeEntry(std::u16string_view name, EntryType type) {
  Entry e;
  const std::size_t n = std::min<std::size_t>(name.size(), 31);
  for (std::size_t i = 0; i < n; ++i) {
    e.raw[2 * i] = static_cast<std::uint8_t>(name[i]);
    e.raw[2 * i + 1] = static_cast<std::uint8_t>(name[i] >> 8);
  }
  e.raw[64] = static_cast<std::uint8_t>((n + 1) * 2);
  e.raw[66] = static_cast<std::uint8_t>(type);
  e.raw[67] = 1;  // black
  for (std::size_t at : {68u, 72u, 76u})
    for (std::size_t k = 0; k < 4; ++k) e.raw[at + k] = 0xFF;
  return e;
}

Bytes write(const CompoundFile& file) { return write(file, StreamInPlace{}); }

Bytes write(const CompoundFile& file, const StreamInPlace& replaced) {
  FileBytes out;
  write(file, replaced, out);
  return out.take();
}

void write(const CompoundFile& file, const StreamInPlace& replaced, FileBytes& made) {
  constexpr std::uint32_t kSector = 512;
  const auto sizeOf = [&](std::size_t i) {
    return static_cast<int>(i) == replaced.entry ? replaced.size : file.entries[i].data.size();
  };
  constexpr std::uint32_t kPerSector = kSector / 4;
  const auto sectorsFor = [](std::size_t bytes, std::size_t unit) {
    return static_cast<std::uint32_t>((bytes + unit - 1) / unit);
  };

  // Small streams go into the mini stream, 64 bytes a mini sector.
  Bytes miniStream;
  std::vector<std::uint32_t> miniFat;
  std::vector<std::uint32_t> start(file.entries.size(), kEndOfChain);
  std::vector<std::size_t> regular;
  for (std::size_t i = 1; i < file.entries.size(); ++i) {
    const Entry& e = file.entries[i];
    if (e.type() != EntryType::Stream || sizeOf(i) == 0) continue;
    if (sizeOf(i) >= kMiniStreamCutoff) {
      regular.push_back(i);
      continue;
    }
    const std::uint32_t first = static_cast<std::uint32_t>(miniFat.size());
    const std::uint32_t n = sectorsFor(e.data.size(), 64);
    for (std::uint32_t k = 0; k < n; ++k) miniFat.push_back(k + 1 < n ? first + k + 1 : kEndOfChain);
    start[i] = first;
    miniStream.insert(miniStream.end(), e.data.begin(), e.data.end());
    miniStream.resize(static_cast<std::size_t>(miniFat.size()) * 64, 0);
  }

  // Sector plan: regular streams, mini stream, mini FAT, directory, then FAT and DIFAT.
  std::uint32_t next = 0;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> runs;  // first sector, count
  auto plan = [&](std::size_t bytes) {
    const std::uint32_t n = sectorsFor(bytes, kSector);
    runs.emplace_back(next, n);
    next += n;
    return n == 0 ? kEndOfChain : runs.back().first;
  };
  std::vector<std::uint32_t> regularStart;
  for (std::size_t i : regular) regularStart.push_back(plan(sizeOf(i)));
  const std::uint32_t miniStreamStart = plan(miniStream.size());
  const std::uint32_t miniFatStart = plan(miniFat.size() * 4);
  const std::uint32_t miniFatSectors = sectorsFor(miniFat.size() * 4, kSector);
  const std::uint32_t directoryStart = plan(file.entries.size() * 128);
  const std::uint32_t dataSectors = next;

  std::uint32_t fatSectors = 1, difatSectors = 0;
  for (;;) {
    const std::uint32_t total = dataSectors + fatSectors + difatSectors;
    const std::uint32_t needFat = sectorsFor(total, kPerSector);
    const std::uint32_t needDifat =
        needFat > kHeaderDifatCount ? sectorsFor(needFat - kHeaderDifatCount, kPerSector - 1) : 0;
    if (needFat == fatSectors && needDifat == difatSectors) break;
    fatSectors = std::max(fatSectors, needFat);
    difatSectors = std::max(difatSectors, needDifat);
  }
  const std::uint32_t fatStart = dataSectors;
  const std::uint32_t difatStart = fatStart + fatSectors;
  const std::uint32_t totalSectors = difatStart + difatSectors;

  std::vector<std::uint32_t> fat(static_cast<std::size_t>(fatSectors) * kPerSector, kFreeSector);
  for (auto [first, n] : runs)
    for (std::uint32_t k = 0; k < n; ++k) fat[first + k] = k + 1 < n ? first + k + 1 : kEndOfChain;
  for (std::uint32_t k = 0; k < fatSectors; ++k) fat[fatStart + k] = kFatSector;
  for (std::uint32_t k = 0; k < difatSectors; ++k) fat[difatStart + k] = kDifatSector;

  // Directory with new starts and sizes; everything else of an entry stays.
  Bytes directory;
  for (std::size_t i = 0; i < file.entries.size(); ++i) {
    Bytes raw(file.entries[i].raw.begin(), file.entries[i].raw.end());
    const Entry& e = file.entries[i];
    if (i == 0) {
      set32(raw, 0x74, miniStream.empty() ? kEndOfChain : miniStreamStart);
      set32(raw, 0x78, static_cast<std::uint32_t>(miniStream.size()));
    } else if (e.type() == EntryType::Stream) {
      std::uint32_t s = start[i];
      const auto it = std::find(regular.begin(), regular.end(), i);
      if (it != regular.end()) s = regularStart[static_cast<std::size_t>(it - regular.begin())];
      set32(raw, 0x74, sizeOf(i) == 0 ? kEndOfChain : s);
      set32(raw, 0x78, static_cast<std::uint32_t>(sizeOf(i)));
    } else {
      set32(raw, 0x74, 0);
      set32(raw, 0x78, 0);
    }
    set32(raw, 0x7C, 0);
    directory.insert(directory.end(), raw.begin(), raw.end());
  }
  while (directory.size() % kSector) {
    // Unused entries: empty name, no siblings, no child.
    Bytes unused(128, 0);
    for (std::size_t at : {68u, 72u, 76u}) set32(unused, at, kNoStream);
    directory.insert(directory.end(), unused.begin(), unused.end());
  }

  Bytes& out = made.bytes();
  // Room for the whole file, or for a piece and the record that ends it.
  const std::size_t fileSize = (static_cast<std::size_t>(totalSectors) + 1) * kSector;
  out.reserve(made.inPieces() ? std::min<std::size_t>(fileSize, 2 << 20) : fileSize);
  putBytes(out, kSignature);
  out.resize(24, 0);
  put16(out, 0x3E);    // minor version
  put16(out, 3);       // major version: 512-byte sectors
  put16(out, 0xFFFE);  // byte order
  put16(out, 9);
  put16(out, 6);
  out.resize(0x2C, 0);
  put32(out, fatSectors);
  put32(out, directoryStart);
  put32(out, 0);  // transaction signature
  put32(out, kMiniStreamCutoff);
  put32(out, miniFat.empty() ? kEndOfChain : miniFatStart);
  put32(out, miniFatSectors);
  put32(out, difatSectors ? difatStart : kEndOfChain);
  put32(out, difatSectors);
  for (std::uint32_t k = 0; k < kHeaderDifatCount; ++k) put32(out, k < fatSectors ? fatStart + k : kFreeSector);

  const auto pad = [&] {
    out.resize(out.size() + (kSector - made.size() % kSector) % kSector, 0);
    made.flush();
  };
  auto putPadded = [&](ByteView b) {
    putBytes(out, b);
    pad();
  };
  for (std::size_t i : regular) {
    if (static_cast<int>(i) == replaced.entry) {
      replaced.put(made);
      pad();
    } else {
      putPadded(file.entries[i].data);
    }
  }
  putPadded(miniStream);
  Bytes miniFatBytes;
  for (std::uint32_t v : miniFat) put32(miniFatBytes, v);
  while (miniFatBytes.size() % kSector) put32(miniFatBytes, kFreeSector);
  putBytes(out, miniFatBytes);
  putBytes(out, directory);
  for (std::uint32_t v : fat) put32(out, v);
  for (std::uint32_t d = 0; d < difatSectors; ++d) {
    for (std::uint32_t k = 0; k + 1 < kPerSector; ++k) {
      const std::uint32_t index = kHeaderDifatCount + d * (kPerSector - 1) + k;
      put32(out, index < fatSectors ? fatStart + index : kFreeSector);
    }
    put32(out, d + 1 < difatSectors ? difatStart + d + 1 : kEndOfChain);
  }
  made.flush();
}

}  // namespace xlscfb
