#pragma once
// The compound file (structured storage) that holds a workbook: reading every
// directory entry with its stream, and writing the same tree back with new
// stream contents.  Entries keep their 128 raw bytes (names, class ids, times,
// tree links), so what we do not touch is written back as it was.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/xlsodbc/byte_io.h"

namespace xlscfb {

constexpr std::uint32_t kFreeSector = 0xFFFFFFFF;
constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kFatSector = 0xFFFFFFFD;
constexpr std::uint32_t kDifatSector = 0xFFFFFFFC;
constexpr std::uint32_t kNoStream = 0xFFFFFFFF;
constexpr std::uint32_t kMiniStreamCutoff = 4096;

enum class EntryType : std::uint8_t { Unused = 0, Storage = 1, Stream = 2, Root = 5 };

struct Entry {
  std::array<std::uint8_t, 128> raw{};
  xlsio::Bytes data;  // the stream's contents (streams only)

  EntryType type() const { return static_cast<EntryType>(raw[66]); }
  std::u16string name() const;
  std::uint32_t leftSibling() const;
  std::uint32_t rightSibling() const;
  std::uint32_t child() const;
};

struct CompoundFile {
  std::vector<Entry> entries;  // entry 0 is the root
};

// Reads a whole compound file; nothing (and `why` filled) when it is not one or
// is damaged: bad signature, sectors outside the file, chains that loop or end
// early.
std::optional<CompoundFile> read(xlsio::ByteView file, std::string& why);
// The same from bytes it may take over: the largest stream that lies in one
// run of sectors keeps the file's buffer, its bytes moved to the front, rather
// than a copy of its own.
std::optional<CompoundFile> read(xlsio::Bytes&& file, std::string& why);

// Index of the stream of that name among the root's children (names compare
// case-insensitively, as the format says), or -1.
int findRootStream(const CompoundFile& file, std::u16string_view name);

// Lays the tree out anew in 512-byte sectors and returns the file's bytes.
xlsio::Bytes write(const CompoundFile& file);

// The bytes of a file as they are made: kept whole, or, with a drain, handed on
// piece by piece, so that a large file is never held in memory whole.  Writers
// append to bytes() and call flush() where nothing written before is changed
// any more.
class FileBytes {
 public:
  using Drain = std::function<bool(xlsio::ByteView)>;
  FileBytes() = default;
  explicit FileBytes(Drain drain) : drain_(std::move(drain)) {}

  xlsio::Bytes& bytes() { return pending_; }
  // Whether the bytes are handed on in pieces rather than kept whole.
  bool inPieces() const { return static_cast<bool>(drain_); }
  // Bytes made so far, handed on or not.
  std::size_t size() const { return drained_ + pending_.size(); }
  // Hands on what is pending once it is a piece's worth.
  void flush() {
    if (drain_ && pending_.size() >= kPiece) drainPending();
  }
  // Hands on the rest; false when any piece could not be taken.
  bool finish() {
    if (drain_) drainPending();
    return ok_;
  }
  // The whole file, when there is no drain.
  xlsio::Bytes take() { return std::move(pending_); }

 private:
  static constexpr std::size_t kPiece = 1 << 20;
  void drainPending() {
    // After a failure the rest is dropped unread: memory stays bounded.
    if (ok_) ok_ = drain_(pending_);
    drained_ += pending_.size();
    pending_.clear();
  }
  Drain drain_;
  xlsio::Bytes pending_;
  std::size_t drained_ = 0;
  bool ok_ = true;
};

// A stream written in place of an entry's data: `size` bytes that `put` appends
// to the file's bytes where the stream goes, so that a large stream is made
// once, in its place, and not first on its own and then copied.
struct StreamInPlace {
  int entry = -1;
  std::size_t size = 0;
  std::function<void(FileBytes&)> put;
};
xlsio::Bytes write(const CompoundFile& file, const StreamInPlace& replaced);
// The same into `out`, which may hand the bytes on as they are made.
void write(const CompoundFile& file, const StreamInPlace& replaced, FileBytes& out);

// A directory entry of the given name and type with no siblings and no child.
Entry makeEntry(std::u16string_view name, EntryType type);

}  // namespace xlscfb
