#include "toolkit/graphics/image_reading.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "toolkit/core/binary_files.h"
#include "toolkit/core/error_reporter.h"
#include "toolkit/core/os_paths.h"
#include "toolkit/graphics/graphics_inquiry.h"
#include "toolkit/graphics/image_bytes.h"
#include "toolkit/graphics/memory_compression.h"

namespace {

constexpr std::string_view kRoutine = "IGrLoadImageData";
constexpr int kReadWriteError = 2;
constexpr int kFormatNotSupported = 27;
constexpr int kBlockBytes = 40000;
constexpr int kBmpFileHeader = 14;
constexpr int kBmpInfoHeader = 40;
constexpr int kPngHeadBytes = 33;
constexpr int kPcxHeader = 128;
constexpr int kPcxTrailer = 769;
constexpr int kPcxTrailerMark = 12;

using Palette = std::array<std::int32_t, 256>;

constexpr std::int32_t rgb(int red, int green, int blue) { return red | (green << 8) | (blue << 16); }
constexpr std::int32_t kBlack = rgb(0, 0, 0);
constexpr std::int32_t kWhite = rgb(255, 255, 255);

// The open image file: whole reads, and a byte stream read in blocks for the
// run-length coded data.  Closed on every return.
class ImageFile {
 public:
  explicit ImageFile(std::string_view name) { IFileOpen(name, 0, handle_); }
  ~ImageFile() {
    if (handle_ != kNoFile) YYFileClose(handle_);
  }
  ImageFile(const ImageFile&) = delete;
  ImageFile& operator=(const ImageFile&) = delete;

  bool open() const { return handle_ != kNoFile; }

  // True when all count bytes came; an operating-system failure is reported.
  bool read(void* bytes, int count) {
    int got = 0;
    int error = 0;
    YYFileReadBytes(handle_, bytes, count, got, error);
    if (error != 0) {
      errorState.ioDetail = error;
      errorState.ioDetailKind = 2;
      YYErrorReport(kReadWriteError, "IFileReadChar");
      return false;
    }
    return got == count;
  }
  bool seek(std::int64_t offset, int origin) {
    if (offset < -0x7FFFFFFFLL || offset > 0x7FFFFFFFLL) return false;
    int position = static_cast<int>(offset);
    int error = 0;
    YYFileSeekRaw(handle_, position, origin, error);
    block_.clear();
    next_ = 0;
    return error == 0;
  }
  std::int64_t size() {
    int end = 0;
    int error = 0;
    YYFileSeekRaw(handle_, end, 2, error);
    return error == 0 ? end : -1;
  }
  // The next byte of the stream, -1 once a block read yields nothing.
  int nextByte() {
    if (next_ == block_.size()) {
      block_.resize(kBlockBytes);
      int got = 0;
      int error = 0;
      YYFileReadBytes(handle_, block_.data(), kBlockBytes, got, error);
      block_.resize(error == 0 && got > 0 ? static_cast<std::size_t>(got) : 0);
      next_ = 0;
      if (block_.empty()) return -1;
    }
    return block_[next_++];
  }

 private:
  int handle_ = kNoFile;
  std::vector<std::uint8_t> block_;
  std::size_t next_ = 0;
};

std::uint32_t le(const std::uint8_t* bytes, int size) {
  std::uint32_t value = 0;
  YYGetIntLE(bytes, size, value);
  return value;
}

void report(int number) { YYErrorReport(number, kRoutine); }

// The colour array seen as rows, top row 0; writes outside it are dropped.
class Picture {
 public:
  Picture(std::span<std::int32_t> colours, int width, int height)
      : colours_(colours), width_(width), height_(height) {}
  int width() const { return width_; }
  int height() const { return height_; }
  void set(int x, int row, std::int32_t colour) {
    if (x < 0 || x >= width_ || row < 0 || row >= height_) return;
    colours_[static_cast<std::size_t>(row) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)] =
        colour;
  }
  std::int32_t& at(int x, int row) {
    return colours_[static_cast<std::size_t>(row) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
  }
  void fill(std::int32_t colour) { std::fill(colours_.begin(), colours_.begin() + count(), colour); }
  std::ptrdiff_t count() const { return static_cast<std::ptrdiff_t>(width_) * height_; }

 private:
  std::span<std::int32_t> colours_;
  int width_, height_;
};

// ---- BMP ------------------------------------------------------------------

std::int32_t bmpPixel(const std::uint8_t* row, int x, int bits, bool masked565, const Palette& palette) {
  switch (bits) {
    case 1: return palette[static_cast<std::size_t>((row[x / 8] >> (7 - x % 8)) & 1)];
    case 4: return palette[static_cast<std::size_t>((row[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0xF)];
    case 8: return palette[row[x]];
    case 16: {
      const std::uint32_t word = le(row + 2 * x, 2);
      if (masked565) return rgb(static_cast<int>((word >> 11) & 0x1F) * 8, static_cast<int>((word >> 5) & 0x3F) * 4,
                                static_cast<int>(word & 0x1F) * 8);
      return rgb(static_cast<int>((word >> 10) & 0x1F) * 8, static_cast<int>((word >> 5) & 0x1F) * 8,
                 static_cast<int>(word & 0x1F) * 8);
    }
    case 24: return rgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
    default: return rgb(row[4 * x + 2], row[4 * x + 1], row[4 * x]);
  }
}

void readBmpRows(ImageFile& file, Picture& picture, int bits, bool masked565, const Palette& palette) {
  const std::int64_t rowBytes = (static_cast<std::int64_t>(picture.width()) * bits + 31) / 32 * 4;
  std::vector<std::uint8_t> row(static_cast<std::size_t>(rowBytes));
  for (int r = picture.height() - 1; r >= 0; --r) {
    if (!file.read(row.data(), static_cast<int>(rowBytes))) return;
    for (int x = 0; x < picture.width(); ++x) picture.set(x, r, bmpPixel(row.data(), x, bits, masked565, palette));
  }
}

// Run-length coded rows, 4 or 8 bits a pixel, from the bottom row up.
void readBmpRuns(ImageFile& file, Picture& picture, int bits, const Palette& palette) {
  int x = 0;
  int row = picture.height() - 1;
  auto put = [&](int index) {
    if (x < picture.width()) picture.set(x, row, palette[static_cast<std::size_t>(index)]);
    ++x;
  };
  while (row >= 0) {
    const int count = file.nextByte();
    const int value = file.nextByte();
    if (count < 0 || value < 0) return;
    if (count > 0) {
      for (int i = 0; i < count; ++i) put(bits == 4 ? (i % 2 == 0 ? value >> 4 : value & 0xF) : value);
    } else if (value == 0) {
      --row;
      x = 0;
    } else if (value == 1) {
      return;
    } else if (value == 2) {
      const int dx = file.nextByte();
      const int dy = file.nextByte();
      if (dx < 0 || dy < 0) return;
      x += dx;
      row -= dy;
    } else {
      const int bytes = bits == 4 ? (value + 1) / 2 : value;
      for (int i = 0, done = 0; i < bytes; ++i) {
        const int b = file.nextByte();
        if (b < 0) return;
        if (bits == 4) {
          if (done++ < value) put(b >> 4);
          if (done++ < value) put(b & 0xF);
        } else {
          put(b);
        }
      }
      if (bytes % 2 != 0 && file.nextByte() < 0) return;
    }
  }
}

void readBmp(ImageFile& file, Picture& picture) {
  std::array<std::uint8_t, kBmpFileHeader + kBmpInfoHeader> head{};
  if (!file.read(head.data(), static_cast<int>(head.size()))) return;
  const int bits = static_cast<int>(le(&head[28], 2));
  const std::uint32_t compression = le(&head[30], 4);
  const std::uint32_t dataOffset = le(&head[10], 4);
  const std::uint32_t headerSize = le(&head[14], 4);
  const bool runs = compression == 1 || compression == 2;
  if (compression > 3 || (runs && bits != 4 && bits != 8)) {
    report(kFormatNotSupported);
    return;
  }
  Palette palette{};
  if (bits <= 8) {
    // The palette follows the info header, whatever its size.
    const std::int64_t paletteStart = kBmpFileHeader + static_cast<std::int64_t>(headerSize);
    const std::int64_t entries = std::clamp<std::int64_t>((std::int64_t{dataOffset} - paletteStart) / 4, 0, 256);
    std::array<std::uint8_t, 1024> bytes{};
    if (!file.seek(paletteStart, 0) || !file.read(bytes.data(), static_cast<int>(entries * 4))) return;
    for (std::size_t i = 0; i < static_cast<std::size_t>(entries); ++i)
      palette[i] = rgb(bytes[4 * i + 2], bytes[4 * i + 1], bytes[4 * i]);
  }
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return;
  if (!file.seek(dataOffset, 0)) return;
  if (runs) {
    readBmpRuns(file, picture, bits, palette);
  } else {
    readBmpRows(file, picture, bits, compression == 3, palette);
  }
}

// ---- PNG ------------------------------------------------------------------

struct PngLayout {
  int colourType = 0;
  int depth = 0;
  int bitsPerPixel = 0;
  int filterBytesPerPixel = 1;
  std::int64_t rowLength = 0;
};

bool pngLayoutOf(const std::uint8_t* head, PngLayout& layout, int width) {
  layout.depth = head[24];
  layout.colourType = head[25];
  if (head[27] != 0 || head[28] != 0) return false;
  if (layout.colourType == 3) {
    if (layout.depth != 1 && layout.depth != 2 && layout.depth != 4 && layout.depth != 8) return false;
    layout.bitsPerPixel = layout.depth;
    layout.filterBytesPerPixel = 1;
  } else if (layout.colourType == 2 || layout.colourType == 6) {
    if (layout.depth != 8 && layout.depth != 16) return false;
    const int samples = layout.colourType == 2 ? 3 : 4;
    layout.bitsPerPixel = samples * layout.depth;
    layout.filterBytesPerPixel = samples * layout.depth / 8;
  } else {
    return false;
  }
  layout.rowLength = 1 + (static_cast<std::int64_t>(width) * layout.bitsPerPixel + 7) / 8;
  return true;
}

void storePngRows(const std::vector<std::uint8_t>& raw, const PngLayout& layout, const Palette& palette,
                  Picture& picture) {
  const int sampleBytes = layout.depth / 8;
  const int pixelBytes = layout.filterBytesPerPixel;
  for (int r = 0; r < picture.height(); ++r) {
    const std::uint8_t* row = raw.data() + static_cast<std::size_t>(r) * static_cast<std::size_t>(layout.rowLength) + 1;
    for (int x = 0; x < picture.width(); ++x) {
      if (layout.colourType == 3) {
        const int d = layout.depth;
        const std::int64_t bit = static_cast<std::int64_t>(x) * d;
        const int index = (row[bit / 8] >> (8 - d - static_cast<int>(bit % 8))) & ((1 << d) - 1);
        picture.set(x, r, palette[static_cast<std::size_t>(index)]);
      } else {
        const std::uint8_t* p = row + static_cast<std::size_t>(x) * static_cast<std::size_t>(pixelBytes);
        picture.set(x, r, rgb(p[0], p[sampleBytes], p[2 * sampleBytes]));
      }
    }
  }
}

void readPng(ImageFile& file, Picture& picture) {
  std::array<std::uint8_t, kPngHeadBytes> head{};
  if (!file.read(head.data(), kPngHeadBytes)) return;
  PngLayout layout;
  if (!pngLayoutOf(head.data(), layout, picture.width())) {
    report(kFormatNotSupported);
    return;
  }
  const std::int64_t rawSize = layout.rowLength * picture.height();
  const std::int64_t room = rawSize + rawSize / 1000 + 22;
  if (room > 0x7FFFFFFFLL) {
    report(kFormatNotSupported);
    return;
  }
  std::vector<std::uint8_t> compressed;
  compressed.reserve(static_cast<std::size_t>(std::min<std::int64_t>(room, 1 << 20)));
  Palette palette{};
  for (;;) {
    std::array<std::uint8_t, 8> chunk{};
    if (!file.read(chunk.data(), 8)) return;
    const std::uint32_t length = YYGetU32BE(chunk.data());
    if (length > 0x7FFFFFFFu) return;
    const std::uint8_t* type = chunk.data() + 4;
    if (YYChunkIs(type, "IDAT") != 0) {
      if (static_cast<std::int64_t>(compressed.size()) + length > room) {
        report(kReadWriteError);
        return;
      }
      const std::size_t at = compressed.size();
      compressed.resize(at + length);
      if (!file.read(compressed.data() + at, static_cast<int>(length)) || !file.seek(4, 1)) return;
    } else if (YYChunkIs(type, "PLTE") != 0) {
      std::array<std::uint8_t, 768> bytes{};
      const int take = static_cast<int>(std::min<std::uint32_t>(length, 768));
      if (!file.read(bytes.data(), take) || !file.seek(std::int64_t{length} - take + 4, 1)) return;
      for (std::size_t i = 0; i < static_cast<std::size_t>(take / 3); ++i)
        palette[i] = rgb(bytes[3 * i], bytes[3 * i + 1], bytes[3 * i + 2]);
    } else if (YYChunkIs(type, "IEND") != 0) {
      std::vector<std::uint8_t> raw(static_cast<std::size_t>(rawSize));
      int produced = static_cast<int>(rawSize);
      const int sourceLength = static_cast<int>(compressed.size());
      WUnCompress(compressed.data(), raw.data(), sourceLength, produced);
      if (produced == 0 && rawSize > 0) return;
      YYPngUnfilter(raw.data(), static_cast<int>(layout.rowLength), picture.height(), layout.filterBytesPerPixel);
      storePngRows(raw, layout, palette, picture);
      return;
    } else if (!file.seek(std::int64_t{length} + 4, 1)) {
      return;
    }
  }
}

// ---- PCX ------------------------------------------------------------------

// Decodes run-length coded plane lines from offset 128; a run may go on into
// the next line.
class PcxLines {
 public:
  explicit PcxLines(ImageFile& file) : file_(file) {}
  // False once the data ends.
  bool line(std::vector<std::uint8_t>& bytes) {
    for (auto& b : bytes) {
      if (repeat_ == 0) {
        const int c = file_.nextByte();
        if (c < 0) return false;
        if ((c & 0xC0) == 0xC0) {
          repeat_ = c & 0x3F;
          const int v = file_.nextByte();
          if (v < 0) return false;
          value_ = static_cast<std::uint8_t>(v);
          if (repeat_ == 0) continue;
        } else {
          repeat_ = 1;
          value_ = static_cast<std::uint8_t>(c);
        }
      }
      b = value_;
      --repeat_;
    }
    return true;
  }

 private:
  ImageFile& file_;
  int repeat_ = 0;
  std::uint8_t value_ = 0;
};

bool bitAt(const std::vector<std::uint8_t>& line, int x) {
  return static_cast<std::size_t>(x / 8) < line.size() && ((line[static_cast<std::size_t>(x / 8)] >> (7 - x % 8)) & 1) != 0;
}

std::uint8_t byteAt(const std::vector<std::uint8_t>& line, int x) {
  return static_cast<std::size_t>(x) < line.size() ? line[static_cast<std::size_t>(x)] : 0;
}

void readPcx(ImageFile& file, Picture& picture) {
  std::array<std::uint8_t, kPcxHeader> head{};
  if (!file.read(head.data(), kPcxHeader)) return;
  const int bits = head[3];
  const int planes = head[65];
  const auto lineLength = static_cast<std::size_t>(le(&head[66], 2));
  Palette palette{};
  if (bits == 8 && planes == 1) {
    std::array<std::uint8_t, kPcxTrailer> trailer{};
    const std::int64_t size = file.size();
    if (size < kPcxHeader + kPcxTrailer || !file.seek(size - kPcxTrailer, 0) ||
        !file.read(trailer.data(), kPcxTrailer) || trailer[0] != kPcxTrailerMark) {
      report(kReadWriteError);
      return;
    }
    for (std::size_t i = 0; i < 256; ++i) palette[i] = rgb(trailer[1 + 3 * i], trailer[2 + 3 * i], trailer[3 + 3 * i]);
  } else if (bits == 1 && planes == 4) {
    for (std::size_t i = 0; i < 16; ++i) palette[i] = rgb(head[16 + 3 * i], head[17 + 3 * i], head[18 + 3 * i]);
  } else if (!(bits == 1 && planes == 1) && !(bits == 8 && planes == 3)) {
    return;
  }
  if (!file.seek(kPcxHeader, 0)) return;
  PcxLines lines(file);
  std::vector<std::vector<std::uint8_t>> plane(static_cast<std::size_t>(planes), std::vector<std::uint8_t>(lineLength));
  const bool indexed4 = bits == 1 && planes == 4;
  if (bits == 1 && planes == 1) picture.fill(kBlack);
  if (indexed4) picture.fill(0);
  for (int r = 0; r < picture.height(); ++r) {
    for (auto& line : plane) {
      if (!lines.line(line)) {
        r = picture.height();
        break;
      }
    }
    if (r == picture.height()) break;
    for (int x = 0; x < picture.width(); ++x) {
      if (bits == 1 && planes == 1) {
        if (bitAt(plane[0], x)) picture.set(x, r, kWhite);
      } else if (indexed4) {
        int index = 0;
        for (int p = 0; p < 4; ++p) index |= bitAt(plane[static_cast<std::size_t>(p)], x) ? 1 << p : 0;
        picture.set(x, r, index);
      } else if (planes == 1) {
        picture.set(x, r, palette[byteAt(plane[0], x)]);
      } else {
        picture.set(x, r, rgb(byteAt(plane[0], x), byteAt(plane[1], x), byteAt(plane[2], x)));
      }
    }
  }
  if (indexed4) {
    for (int r = 0; r < picture.height(); ++r)
      for (int x = 0; x < picture.width(); ++x) picture.at(x, r) = palette[static_cast<std::size_t>(picture.at(x, r) & 0xF)];
  }
}

}  // namespace

void IGrLoadImageData(std::string_view fileName, std::span<std::int32_t> colours) {
  std::array<std::int32_t, 5> info{};
  YYGrFileInfo(fileName, info, 5);
  const std::int32_t type = info[0];
  if (type != kFileBmp && type != kFilePcx && type != kFilePng) {
    report(kFormatNotSupported);
    return;
  }
  const std::int32_t width = info[1];
  const std::int32_t height = info[2];
  // The array holds what the caller sized it for; a file that claims more, or a
  // size that is not positive (a top-down BMP), would be written past it.
  if (width <= 0 || height <= 0 ||
      static_cast<std::int64_t>(width) * height > static_cast<std::int64_t>(colours.size())) {
    report(kFormatNotSupported);
    return;
  }
  ImageFile file(fileName);
  if (!file.open()) return;
  Picture picture(colours, width, height);
  switch (type) {
    case kFileBmp: readBmp(file, picture); break;
    case kFilePng: readPng(file, picture); break;
    default: readPcx(file, picture); break;
  }
}

bool YYImageColoursTake(std::vector<std::int32_t>& colours, std::int64_t width, std::int64_t height) {
  colours.clear();
  const std::int64_t count = width > 0 && height > 0 ? width * height : 0;
  if (width > 0 && height > 0 && (count / width != height || count > static_cast<std::int64_t>(colours.max_size()))) {
    return false;
  }
  try {
    colours.assign(static_cast<std::size_t>(count), 0);
  } catch (const std::bad_alloc&) {
    colours.clear();
    return false;
  } catch (const std::length_error&) {
    colours.clear();
    return false;
  }
  return true;
}
