#include "toolkit/graphics/image_writing.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "toolkit/core/binary_files.h"
#include "toolkit/core/error_reporter.h"
#include "toolkit/drivers/hardcopy_options.h"
#include "toolkit/drivers/plot_output.h"
#include "toolkit/graphics/colours.h"
#include "toolkit/graphics/image_bytes.h"
#include "toolkit/graphics/memory_compression.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kImageFormatOption = 26;
constexpr int kRunLengthBmp = 2;
constexpr int kBmpHeaderBytes = 54;
constexpr int kPcxHeaderBytes = 128;
constexpr int kPcxRunMax = 63;
constexpr int kPcxPendingMax = 39998;
constexpr std::array<std::uint8_t, 8> kPngSignature = {137, 'P', 'N', 'G', 13, 10, 26, 10};

bool writeFailed() { return YYPlotOutputStatus == -1; }

void writeUnit(const Bytes& bytes) {
  YYPROUWriteBytes(kPlotUnitFile,
                   std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void putLE(Bytes& bytes, std::size_t at, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::int32_t paletteSize(std::int32_t depth) { return depth >= 24 ? 0 : 1 << depth; }

// ---- pixels of the page ------------------------------------------------------

const std::uint32_t* rowStart(const ImagePage& page, int row) {
  return page.words.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(page.wordsPerRow);
}

int planeBit(const ImagePage& page, int row, int plane, int x) {
  const std::uint32_t* words = rowStart(page, row) + static_cast<std::size_t>(plane) * static_cast<std::size_t>(page.wordsPerPlane);
  return static_cast<int>((words[x / 32] >> (x % 32)) & 1u);
}

// The palette index (depths 1-8) or the RGB colour (depth 24) of a pixel.
std::uint32_t pixel(const ImagePage& page, int row, int x) {
  const std::uint32_t* words = rowStart(page, row);
  switch (page.depth) {
    case 1: return static_cast<std::uint32_t>(planeBit(page, row, 0, x));
    case 4:
      return static_cast<std::uint32_t>(planeBit(page, row, 2, x) + 2 * planeBit(page, row, 1, x) +
                                        4 * planeBit(page, row, 0, x) + 8 * planeBit(page, row, 3, x));
    case 8: return (words[x / 4] >> (8 * (x % 4))) & 0xFFu;
    default: return words[x] & 0xFFFFFFu;
  }
}

// Indexed pixels packed most significant first, bits bits each, in count bytes.
Bytes packedRow(const ImagePage& page, int row, int bits, std::size_t count) {
  Bytes bytes(count, 0);
  for (int x = 0; x < page.width; ++x) {
    const std::size_t bit = static_cast<std::size_t>(x) * static_cast<std::size_t>(bits);
    bytes[bit / 8] = static_cast<std::uint8_t>(bytes[bit / 8] | (pixel(page, row, x) << (8 - bits - bit % 8)));
  }
  return bytes;
}

struct Rgb {
  int red, green, blue;
};
Rgb split(std::int32_t colour) {
  Rgb c{};
  YYRGBSPLIT(colour, c.red, c.green, c.blue);
  return c;
}

// ---- BMP ---------------------------------------------------------------------

// The row's bytes as the BMP holds them, before padding: 4-bit rows hold whole
// groups of eight pixels.
Bytes bmpRow(const ImagePage& page, int row) {
  const auto w = static_cast<std::size_t>(page.width);
  switch (page.depth) {
    case 1: return packedRow(page, row, 1, (w + 7) / 8);
    case 4: return packedRow(page, row, 4, (w + 7) / 8 * 4);
    case 8: return packedRow(page, row, 8, w);
    default: {
      Bytes bytes(3 * w);
      for (std::size_t x = 0; x < w; ++x) {
        const Rgb c = split(static_cast<std::int32_t>(pixel(page, row, static_cast<int>(x))));
        bytes[3 * x] = static_cast<std::uint8_t>(c.blue);
        bytes[3 * x + 1] = static_cast<std::uint8_t>(c.green);
        bytes[3 * x + 2] = static_cast<std::uint8_t>(c.red);
      }
      return bytes;
    }
  }
}

// One row, run-length coded in groups of four bytes, ended by 0, 0.
Bytes bmpRunRow(const Bytes& row, int depth) {
  const int perGroup = depth == 8 ? 4 : 8;
  const int growLimit = depth == 8 ? 251 : 247;
  Bytes code;
  std::size_t runAt = 0;
  bool running = false;
  for (std::size_t g = 0; g < row.size(); g += 4) {
    std::array<std::uint8_t, 4> group{};
    for (std::size_t i = 0; i < 4 && g + i < row.size(); ++i) group[i] = row[g + i];
    const bool level = group[0] == group[1] && group[1] == group[2] && group[2] == group[3];
    if (level && running && code[runAt + 1] == group[0] && code[runAt] < growLimit) {
      code[runAt] = static_cast<std::uint8_t>(code[runAt] + perGroup);
    } else if (level) {
      runAt = code.size();
      code.push_back(static_cast<std::uint8_t>(perGroup));
      code.push_back(group[0]);
      running = true;
    } else {
      code.insert(code.end(), {0, static_cast<std::uint8_t>(perGroup)});
      code.insert(code.end(), group.begin(), group.end());
      running = false;
    }
  }
  if (code.size() % 2 != 0) code.push_back(0);
  code.insert(code.end(), {0, 0});
  return code;
}

Bytes bmpHeader(const ImagePage& page, bool runs) {
  Bytes head(kBmpHeaderBytes, 0);
  const std::int32_t paletteBytes = 4 * paletteSize(page.depth);
  const std::int64_t rowBytes = (static_cast<std::int64_t>(bmpRow(page, 0).size()) + 3) / 4 * 4;
  head[0] = 'B';
  head[1] = 'M';
  putLE(head, 2, static_cast<std::uint32_t>(kBmpHeaderBytes + paletteBytes + rowBytes * page.height), 4);
  putLE(head, 10, static_cast<std::uint32_t>(kBmpHeaderBytes + paletteBytes), 4);
  putLE(head, 14, 40, 4);
  putLE(head, 18, static_cast<std::uint32_t>(page.width), 4);
  putLE(head, 22, static_cast<std::uint32_t>(page.height), 4);
  putLE(head, 26, 1, 2);
  putLE(head, 28, static_cast<std::uint32_t>(page.depth), 2);
  if (runs) putLE(head, 30, page.depth == 8 ? 1u : 2u, 4);
  return head;
}

}  // namespace

std::int32_t imagePaletteColour(const ImagePage& page, int i) {
  if (i >= 0 && static_cast<std::size_t>(i) < page.palette.size()) return page.palette[static_cast<std::size_t>(i)];
  std::int32_t colour = 0;
  switch (page.depth) {
    case 1: return i == 0 ? 0xFFFFFF : 0;
    case 4: YYColourLookup16(i, colour); return colour;
    default: YYColourRGB(i, colour); return colour;
  }
}

void YYWriteBMP(const ImagePage& page) {
  const bool runs = hardcopyOption(kImageFormatOption) == kRunLengthBmp && (page.depth == 4 || page.depth == 8);
  writeUnit(bmpHeader(page, runs));
  if (writeFailed()) return;
  const std::int32_t entries = paletteSize(page.depth);
  if (entries > 0) {
    Bytes palette(static_cast<std::size_t>(4 * entries), 0);
    for (int i = 0; i < entries; ++i) {
      const Rgb c = split(imagePaletteColour(page, i));
      palette[4 * static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(c.blue);
      palette[4 * static_cast<std::size_t>(i) + 1] = static_cast<std::uint8_t>(c.green);
      palette[4 * static_cast<std::size_t>(i) + 2] = static_cast<std::uint8_t>(c.red);
    }
    writeUnit(palette);
    if (writeFailed()) return;
  }
  for (int row = 0; row < page.height; ++row) {
    Bytes bytes = bmpRow(page, row);
    if (runs) {
      bytes = bmpRunRow(bytes, page.depth);
    } else {
      bytes.resize((bytes.size() + 3) / 4 * 4, 0);
    }
    writeUnit(bytes);
    if (writeFailed()) return;
  }
  if (runs) writeUnit(Bytes{0, 1});
}

void YYBMP2(std::string_view fileName) {
  int handle = kNoFile;
  IFileOpen(fileName, 2, handle);
  if (handle == kNoFile) return;
  int size = 0;
  IFileSeek(handle, size, 2);
  std::array<char, 2> depthBytes{};
  int offset = 28;
  int got = 0;
  IFileSeek(handle, offset, 0);
  int error = 0;
  YYFileReadChars(handle, depthBytes.data(), 2, got, error);
  const int depth = got == 2 ? static_cast<std::uint8_t>(depthBytes[0]) : 8;
  const auto patch = [&](int at, std::int64_t value) {
    std::array<char, 4> bytes{};
    for (int i = 0; i < 4; ++i) bytes[static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    int where = at;
    IFileSeek(handle, where, 0);
    int written = 0;
    IFileWriteChar(handle, std::string_view(bytes.data(), 4), 4, written);
    if (written != 4) YYErrorReport(2, "YYBMP2");
  };
  patch(2, size);
  patch(34, std::int64_t{size} - kBmpHeaderBytes - 4 * paletteSize(depth));
  YYFileClose(handle);
}

// ---- PCX ---------------------------------------------------------------------

namespace {

int pcxLineLength(const ImagePage& page) {
  const int l = (page.depth == 1 || page.depth == 4) ? (page.width + 7) / 8 : page.width;
  return l % 2 == 0 ? l : l + 1;
}

// Byte j of a plane line: whole pixels beyond the width count as 0.
std::uint8_t pcxLineByte(const ImagePage& page, int row, int plane, int j) {
  if (page.depth == 1 || page.depth == 4) {
    int byte = 0;
    for (int k = 0; k < 8; ++k) {
      const int x = 8 * j + k;
      if (x < page.width && planeBit(page, row, page.depth == 1 ? 0 : plane, x) != 0) byte |= 128 >> k;
    }
    return static_cast<std::uint8_t>(byte);
  }
  if (j >= page.width) return 0;
  const std::uint32_t p = pixel(page, row, j);
  return static_cast<std::uint8_t>(page.depth == 8 ? p : (p >> (8 * plane)) & 0xFFu);
}

}  // namespace

void YYPcxEncodeRow(const ImagePage& page, std::int32_t row, std::int32_t plane, std::int32_t lastByte) {
  Bytes pending;
  const auto flush = [&] {
    writeUnit(pending);
    pending.clear();
  };
  const auto closeRun = [&](std::uint8_t value, int count) {
    if (count > 1 || value >= 192) pending.push_back(static_cast<std::uint8_t>(192 + count));
    pending.push_back(value);
    if (static_cast<int>(pending.size()) > kPcxPendingMax) flush();
  };
  int count = 0;
  std::uint8_t value = 0;
  for (int j = 0; j <= lastByte; ++j) {
    const std::uint8_t b = pcxLineByte(page, row, plane, j);
    if (count > 0 && (b != value || count == kPcxRunMax)) {
      closeRun(value, count);
      count = 0;
    }
    value = b;
    ++count;
  }
  if (count > 0) closeRun(value, count);
  if (!pending.empty()) flush();
}

void YYWritePCX(const ImagePage& page) {
  Bytes head(kPcxHeaderBytes, 0);
  const int lineLength = pcxLineLength(page);
  const int planes = page.depth == 24 ? 3 : (page.depth == 4 ? 4 : 1);
  head[0] = 10;
  head[1] = page.depth == 1 ? 3 : 5;
  head[2] = 1;
  head[3] = page.depth == 1 || page.depth == 4 ? 1 : 8;
  putLE(head, 8, static_cast<std::uint32_t>(page.width - 1), 2);
  putLE(head, 10, static_cast<std::uint32_t>(page.height - 1), 2);
  putLE(head, 12, 75, 2);
  putLE(head, 14, 75, 2);
  if (page.depth == 4) {
    for (int i = 0; i < 16; ++i) {
      const Rgb c = split(imagePaletteColour(page, i));
      head[16 + 3 * static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(c.red);
      head[17 + 3 * static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(c.green);
      head[18 + 3 * static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(c.blue);
    }
  }
  head[65] = static_cast<std::uint8_t>(planes);
  putLE(head, 66, static_cast<std::uint32_t>(lineLength), 2);
  putLE(head, 70, static_cast<std::uint32_t>(lineLength), 2);
  putLE(head, 72, static_cast<std::uint32_t>(page.height), 2);
  writeUnit(head);
  if (writeFailed()) return;
  // Colour-index bits 0-3 of a 4-bit page lie in page planes 2, 1, 0, 3.
  constexpr std::array<int, 4> kPlaneOrder4 = {2, 1, 0, 3};
  for (int row = page.height - 1; row >= 0; --row) {
    for (int p = 0; p < planes; ++p) {
      YYPcxEncodeRow(page, row, page.depth == 4 ? kPlaneOrder4[static_cast<std::size_t>(p)] : p, lineLength - 1);
      if (writeFailed()) return;
    }
  }
  if (page.depth == 8) {
    Bytes trailer(769, 0);
    trailer[0] = 12;
    for (int i = 0; i < 256; ++i) {
      const Rgb c = split(imagePaletteColour(page, i));
      trailer[1 + 3 * static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(c.red);
      trailer[2 + 3 * static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(c.green);
      trailer[3 + 3 * static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(c.blue);
    }
    writeUnit(trailer);
  }
}

// ---- PNG ---------------------------------------------------------------------

namespace {

// Length, type, data and CRC of one chunk.
Bytes pngChunk(std::string_view type, const Bytes& data) {
  Bytes chunk(8 + data.size() + 4);
  YYPutU32BE(static_cast<std::uint32_t>(data.size()), chunk.data());
  std::copy(type.begin(), type.end(), chunk.begin() + 4);
  std::copy(data.begin(), data.end(), chunk.begin() + 8);
  YYPutU32BE(YYCrc32Update(chunk.data() + 4, static_cast<int>(4 + data.size())), chunk.data() + 8 + data.size());
  return chunk;
}

Bytes pngRow(const ImagePage& page, int row) {
  const auto w = static_cast<std::size_t>(page.width);
  switch (page.depth) {
    case 1: return packedRow(page, row, 1, (w + 7) / 8);
    case 4: return packedRow(page, row, 4, (w + 1) / 2);
    case 8: return packedRow(page, row, 8, w);
    default: {
      Bytes bytes(3 * w);
      for (std::size_t x = 0; x < w; ++x) {
        const Rgb c = split(static_cast<std::int32_t>(pixel(page, row, static_cast<int>(x))));
        bytes[3 * x] = static_cast<std::uint8_t>(c.red);
        bytes[3 * x + 1] = static_cast<std::uint8_t>(c.green);
        bytes[3 * x + 2] = static_cast<std::uint8_t>(c.blue);
      }
      return bytes;
    }
  }
}

// One whole write on the unit's own handle; a short one stops the writer.
bool writeHandle(int handle, const Bytes& bytes) {
  int written = 0;
  IFileWriteChar(handle, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                 static_cast<int>(bytes.size()), written);
  if (written != static_cast<int>(bytes.size())) {
    YYPlotOutputStatus = -1;
    return false;
  }
  return true;
}

}  // namespace

void YYWritePNG(const ImagePage& page) {
  std::int32_t handle = kNoFile;
  YYPROUHandle(kPlotUnitFile, handle);
  Bytes header(kPngSignature.begin(), kPngSignature.end());
  Bytes ihdr(13, 0);
  YYPutU32BE(static_cast<std::uint32_t>(page.width), ihdr.data());
  YYPutU32BE(static_cast<std::uint32_t>(page.height), ihdr.data() + 4);
  ihdr[8] = static_cast<std::uint8_t>(std::min(page.depth, 8));
  ihdr[9] = page.depth == 24 ? 2 : 3;
  const Bytes ihdrChunk = pngChunk("IHDR", ihdr);
  header.insert(header.end(), ihdrChunk.begin(), ihdrChunk.end());
  if (!writeHandle(handle, header)) return;
  if (page.depth < 24) {
    Bytes palette;
    for (int i = 0; i < paletteSize(page.depth); ++i) {
      const Rgb c = split(imagePaletteColour(page, i));
      palette.insert(palette.end(), {static_cast<std::uint8_t>(c.red), static_cast<std::uint8_t>(c.green),
                                     static_cast<std::uint8_t>(c.blue)});
    }
    if (!writeHandle(handle, pngChunk("PLTE", palette))) return;
  }
  Bytes raw;
  for (int row = page.height - 1; row >= 0; --row) {
    raw.push_back(0);
    const Bytes bytes = pngRow(page, row);
    raw.insert(raw.end(), bytes.begin(), bytes.end());
  }
  const int rawSize = static_cast<int>(raw.size());
  Bytes compressed(raw.size() + raw.size() / 1000 + 22);
  int compressedSize = static_cast<int>(compressed.size());
  WCompress(raw.data(), compressed.data(), rawSize, compressedSize);
  if (compressedSize == 0) {
    YYPlotOutputStatus = -1;
    return;
  }
  compressed.resize(static_cast<std::size_t>(compressedSize));
  if (!writeHandle(handle, pngChunk("IDAT", compressed))) return;
  writeHandle(handle, pngChunk("IEND", {}));
}
