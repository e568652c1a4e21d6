// Bitmap capture to the clipboard or a BMP, PCX or PNG file.
#include "toolkit/graphics/bitmap_capture.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

#include "toolkit/core/scoped_handle.h"
#include "toolkit/graphics/image_bytes.h"
#include "toolkit/graphics/screen_gdi.h"

namespace {

constexpr int kFileHeaderBytes = 14;
constexpr int kPcxHeaderBytes = 128;
constexpr int kPcxRunLimit = 63;
constexpr std::array<std::uint8_t, 8> kPngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

bool writeAll(HANDLE file, const void* data, std::size_t size) {
  DWORD written = 0;
  return WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
}

void putLE16(std::uint8_t* at, int value) {
  at[0] = static_cast<std::uint8_t>(value & 0xFF);
  at[1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}
void putLE32(std::uint8_t* at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF);
}

void appendPcxRun(std::vector<std::uint8_t>& out, std::uint8_t value, int count) {
  if (count == 1 && value < 192) {
    out.push_back(value);
  } else {
    out.push_back(static_cast<std::uint8_t>(192 + count));
    out.push_back(value);
  }
}

// Runs of equal bytes, split at 63.
void appendPcxLine(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> line) {
  std::size_t i = 0;
  while (i < line.size()) {
    const std::uint8_t value = line[i];
    int count = 1;
    while (i + static_cast<std::size_t>(count) < line.size() && line[i + static_cast<std::size_t>(count)] == value &&
           count < kPcxRunLimit) {
      ++count;
    }
    appendPcxRun(out, value, count);
    i += static_cast<std::size_t>(count);
  }
}

// The DIB's layout, checked against the block that holds it.
struct DibView {
  const BITMAPINFOHEADER* header = nullptr;
  const std::uint8_t* table = nullptr;  // colour table (after any masks)
  int tableEntries = 0;
  const std::uint8_t* bits = nullptr;
  int bitCount = 0;
  int stride = 0;
  int rows = 0;
  bool topDown = false;
  bool rgb565 = false;

  // Row k counted from the top.
  const std::uint8_t* row(int k) const {
    const int stored = topDown ? k : rows - 1 - k;
    return bits + static_cast<std::size_t>(stored) * static_cast<std::size_t>(stride);
  }
  // The table entry as red, green, blue; black beyond the table.
  std::array<std::uint8_t, 3> entry(int i) const {
    if (i < 0 || i >= tableEntries) return {0, 0, 0};
    const std::uint8_t* quad = table + 4 * i;
    return {quad[2], quad[1], quad[0]};
  }
};

bool viewOf(const CaptureDib& dib, DibView& view) {
  if (dib.block.size() < sizeof(BITMAPINFOHEADER) || dib.width <= 0 || dib.height <= 0) return false;
  const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(dib.block.data());
  if (header->biSize < sizeof(BITMAPINFOHEADER) || header->biSize > dib.block.size()) return false;
  const int bitCount = header->biPlanes * header->biBitCount;
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32) {
    return false;
  }
  const int rows = header->biHeight < 0 ? -header->biHeight : header->biHeight;
  if (header->biWidth < dib.width || rows < dib.height) return false;
  view.header = header;
  view.bitCount = bitCount;
  view.rows = rows;
  view.topDown = header->biHeight < 0;
  view.stride = ((header->biWidth * bitCount + 31) / 32) * 4;
  const int masks = header->biCompression == BI_BITFIELDS ? 12 : 0;
  view.rgb565 = bitCount == 16 && header->biCompression == BI_BITFIELDS;
  const std::size_t tableAt = header->biSize + static_cast<std::size_t>(masks);
  const std::size_t bitsAt = header->biSize + static_cast<std::size_t>(YYDibPaletteSize(*header));
  const std::size_t need = bitsAt + static_cast<std::size_t>(view.stride) * static_cast<std::size_t>(rows);
  if (need > dib.block.size() || tableAt > bitsAt) return false;
  view.table = dib.block.data() + tableAt;
  view.tableEntries = static_cast<int>((bitsAt - tableAt) / 4);
  view.bits = dib.block.data() + bitsAt;
  return true;
}

// Red, green and blue of pixel x of a 16-, 24- or 32-bit row.
std::array<std::uint8_t, 3> trueColourPixel(const DibView& view, const std::uint8_t* row, int x) {
  switch (view.bitCount) {
    case 16: {
      const int p = row[2 * x] | (row[2 * x + 1] << 8);
      if (view.rgb565) {
        return {static_cast<std::uint8_t>((p >> 8) & 0xF8), static_cast<std::uint8_t>(((p >> 5) & 0x3F) * 4),
                static_cast<std::uint8_t>((p & 0x1F) * 8)};
      }
      return {static_cast<std::uint8_t>(((p >> 10) & 0x1F) * 8), static_cast<std::uint8_t>(((p >> 5) & 0x1F) * 8),
              static_cast<std::uint8_t>((p & 0x1F) * 8)};
    }
    case 24: return {row[3 * x + 2], row[3 * x + 1], row[3 * x]};
    default: return {row[4 * x + 2], row[4 * x + 1], row[4 * x]};
  }
}

// The palette index of pixel x of a 1-, 4- or 8-bit row.
std::uint8_t indexPixel(const DibView& view, const std::uint8_t* row, int x) {
  switch (view.bitCount) {
    case 1: return static_cast<std::uint8_t>((row[x / 8] >> (7 - x % 8)) & 1);
    case 4: return static_cast<std::uint8_t>(x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 0x0F);
    default: return row[x];
  }
}

int writeBmp(HANDLE file, const CaptureDib& dib, const DibView& view) {
  const std::size_t table = static_cast<std::size_t>(YYDibPaletteSize(*view.header));
  const std::size_t image = static_cast<std::size_t>(view.stride) * static_cast<std::size_t>(view.rows);
  const std::size_t body = view.header->biSize + table + image;
  std::array<std::uint8_t, kFileHeaderBytes> head{};
  head[0] = 'B';
  head[1] = 'M';
  putLE32(&head[2], static_cast<std::uint32_t>(kFileHeaderBytes + body));
  putLE32(&head[10], static_cast<std::uint32_t>(kFileHeaderBytes + view.header->biSize + table));
  std::vector<std::uint8_t> out(head.begin(), head.end());
  out.insert(out.end(), dib.block.begin(), dib.block.begin() + static_cast<std::ptrdiff_t>(body));
  return writeAll(file, out.data(), out.size()) ? kCaptureOk : kCaptureShortWrite;
}

int writePcx(HANDLE file, const CaptureDib& dib, const DibView& view) {
  const int lineLength = (dib.width + 1) & ~1;
  const bool onePlane = view.bitCount <= 8;
  std::array<std::uint8_t, kPcxHeaderBytes> head{};
  head[0] = 10;
  head[1] = 5;
  head[2] = 1;
  head[3] = 8;
  putLE16(&head[8], dib.width - 1);
  putLE16(&head[10], dib.height - 1);
  putLE16(&head[12], 75);
  putLE16(&head[14], 75);
  head[65] = onePlane ? 1 : 3;
  putLE16(&head[66], lineLength);
  putLE16(&head[68], 1);
  putLE16(&head[70], lineLength);
  putLE16(&head[72], dib.height);
  if (!writeAll(file, head.data(), head.size())) return kCaptureShortWrite;

  // Three lines of L bytes: one of indices, or red, green and blue.
  std::vector<std::uint8_t> planes(3 * static_cast<std::size_t>(lineLength), 0);
  std::vector<std::uint8_t> encoded;
  const int columns = std::min(lineLength, static_cast<int>(view.header->biWidth));
  for (int k = 0; k < dib.height; ++k) {
    const std::uint8_t* row = view.row(k);
    std::fill(planes.begin(), planes.end(), 0);
    for (int x = 0; x < columns; ++x) {
      if (onePlane) {
        planes[static_cast<std::size_t>(x)] = indexPixel(view, row, x);
      } else {
        const auto rgb = trueColourPixel(view, row, x);
        for (int p = 0; p < 3; ++p) {
          planes[static_cast<std::size_t>(p * lineLength + x)] = rgb[static_cast<std::size_t>(p)];
        }
      }
    }
    encoded.clear();
    for (int p = 0; p < (onePlane ? 1 : 3); ++p) {
      appendPcxLine(encoded, std::span<const std::uint8_t>(planes).subspan(static_cast<std::size_t>(p * lineLength),
                                                                            static_cast<std::size_t>(lineLength)));
    }
    if (!writeAll(file, encoded.data(), encoded.size())) return kCaptureShortWrite;
  }
  if (!onePlane) return kCaptureOk;
  // Indices mean nothing without their colours: the 256-entry trailer follows
  // every one-plane file, a shorter table padded with black.
  std::vector<std::uint8_t> trailer(1 + 256 * 3, 0);
  trailer[0] = 12;
  for (int i = 0; i < 256; ++i) {
    const auto rgb = view.entry(i);
    std::copy(rgb.begin(), rgb.end(), trailer.begin() + 1 + 3 * i);
  }
  return writeAll(file, trailer.data(), trailer.size()) ? kCaptureOk : kCaptureShortWrite;
}

bool writeChunk(HANDLE file, std::string_view type, std::span<const std::uint8_t> data) {
  std::vector<std::uint8_t> chunk(12 + data.size());
  YYPutU32BE(static_cast<std::uint32_t>(data.size()), chunk.data());
  std::memcpy(chunk.data() + 4, type.data(), 4);
  std::copy(data.begin(), data.end(), chunk.begin() + 8);
  const std::uint32_t crc = YYCrc32Update(chunk.data() + 4, static_cast<int>(4 + data.size()));
  YYPutU32BE(crc, chunk.data() + 8 + data.size());
  return writeAll(file, chunk.data(), chunk.size());
}

int writePng(HANDLE file, const CaptureDib& dib, const DibView& view, int& osError) {
  const bool palette = view.bitCount <= 8;
  const int depth = palette ? view.bitCount : 8;
  const int entries = palette ? 1 << view.bitCount : 0;
  const std::size_t rowBytes = palette ? (static_cast<std::size_t>(dib.width) * static_cast<std::size_t>(depth) + 7) / 8
                                       : static_cast<std::size_t>(dib.width) * 3;
  const std::size_t rawSize = static_cast<std::size_t>(dib.height) * (rowBytes + 1);
  std::vector<std::uint8_t> raw(rawSize, 0);
  for (int k = 0; k < dib.height; ++k) {
    std::uint8_t* out = raw.data() + static_cast<std::size_t>(k) * (rowBytes + 1) + 1;
    const std::uint8_t* row = view.row(k);
    if (palette) {
      std::copy(row, row + rowBytes, out);
      continue;
    }
    for (int x = 0; x < dib.width; ++x) {
      const auto rgb = trueColourPixel(view, row, x);
      std::copy(rgb.begin(), rgb.end(), out + 3 * x);
    }
  }
  uLongf packedSize = static_cast<uLongf>(rawSize + rawSize / 1000 + 22);
  std::vector<std::uint8_t> packed(packedSize);
  const int z = compress(packed.data(), &packedSize, raw.data(), static_cast<uLong>(rawSize));
  if (z != Z_OK) {
    osError = z;
    return kCaptureCompress;
  }
  std::array<std::uint8_t, 13> ihdr{};
  YYPutU32BE(static_cast<std::uint32_t>(dib.width), ihdr.data());
  YYPutU32BE(static_cast<std::uint32_t>(dib.height), ihdr.data() + 4);
  ihdr[8] = static_cast<std::uint8_t>(depth);
  ihdr[9] = palette ? 3 : 2;
  std::vector<std::uint8_t> plte;
  for (int i = 0; i < entries; ++i) {
    const auto rgb = view.entry(i);
    plte.insert(plte.end(), rgb.begin(), rgb.end());
  }
  const bool ok = writeAll(file, kPngSignature.data(), kPngSignature.size()) && writeChunk(file, "IHDR", ihdr) &&
                  (!palette || writeChunk(file, "PLTE", plte)) &&
                  writeChunk(file, "IDAT", std::span<const std::uint8_t>(packed.data(), packedSize)) &&
                  writeChunk(file, "IEND", {});
  return ok ? kCaptureOk : kCaptureShortWrite;
}

// The DIB of a bitmap in its own format: header, colour table and bits in one
// block.  False when GetDIBits or the allocation fails.
bool dibOfBitmap(HDC dc, HBITMAP bitmap, std::vector<std::uint8_t>& block) {
  // Room for the header, three masks and a full colour table.
  std::vector<std::uint8_t> info(sizeof(BITMAPINFOHEADER) + 12 + 256 * 4, 0);
  auto* header = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
  header->biSize = sizeof(BITMAPINFOHEADER);
  if (GetDIBits(dc, bitmap, 0, 0, nullptr, reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS) == 0) {
    return false;
  }
  const int rows = header->biHeight < 0 ? -header->biHeight : header->biHeight;
  const int bitCount = header->biPlanes * header->biBitCount;
  const std::size_t stride = static_cast<std::size_t>(((header->biWidth * bitCount + 31) / 32) * 4);
  std::size_t image = header->biSizeImage;
  if (image == 0 || header->biCompression == BI_RGB || header->biCompression == BI_BITFIELDS) {
    image = stride * static_cast<std::size_t>(rows);
  }
  header->biSizeImage = static_cast<DWORD>(image);
  const std::size_t bitsAt = sizeof(BITMAPINFOHEADER) + static_cast<std::size_t>(YYDibPaletteSize(*header));
  block.assign(std::max(bitsAt, info.size()) + image, 0);
  std::copy(info.begin(), info.begin() + sizeof(BITMAPINFOHEADER), block.begin());
  auto* target = reinterpret_cast<BITMAPINFO*>(block.data());
  // Bits go to their place after the table; the call fills the table itself.
  std::vector<std::uint8_t> bits(image, 0);
  if (GetDIBits(dc, bitmap, 0, static_cast<UINT>(rows), bits.data(), target, DIB_RGB_COLORS) == 0) return false;
  const std::size_t finalBitsAt = sizeof(BITMAPINFOHEADER) + static_cast<std::size_t>(YYDibPaletteSize(target->bmiHeader));
  block.resize(finalBitsAt + image);
  std::copy(bits.begin(), bits.end(), block.begin() + static_cast<std::ptrdiff_t>(finalBitsAt));
  return true;
}

bool toClipboard(HBITMAP bitmap) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  const bool taken = SetClipboardData(CF_BITMAP, bitmap) != nullptr;
  CloseClipboard();
  return taken;
}

}  // namespace

int YYPcxWriteRun(std::uint8_t value, int count, HANDLE file) {
  std::vector<std::uint8_t> run;
  appendPcxRun(run, value, std::clamp(count, 1, kPcxRunLimit));
  return writeAll(file, run.data(), run.size()) ? kCaptureOk : kCaptureShortWrite;
}

int YYDibPaletteSize(const BITMAPINFOHEADER& header) {
  if (header.biSize == sizeof(BITMAPCOREHEADER)) {
    const auto& core = reinterpret_cast<const BITMAPCOREHEADER&>(header);
    const int bits = core.bcBitCount;
    return (bits == 1 ? 2 : bits == 4 ? 16 : bits == 8 ? 256 : 0) * 3;
  }
  const int bits = header.biBitCount;
  int colours = static_cast<int>(header.biClrUsed);
  if (colours == 0) colours = bits == 1 ? 2 : bits == 4 ? 16 : bits == 8 ? 256 : 0;
  // A table never holds more entries than the depth can index.
  if (bits <= 8) colours = std::min(colours, 1 << bits);
  const int masks = header.biCompression == BI_BITFIELDS ? 12 : 0;
  return colours * 4 + masks;
}

int YYCaptureWriteDib(int mode, const CaptureDib& dib, const char* fileName, int& osError) {
  osError = 0;
  DibView view;
  if (!viewOf(dib, view)) return kCaptureNoBitmap;
  const FileHandle file(CreateFileA(fileName != nullptr ? fileName : "", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    osError = static_cast<int>(GetLastError());
    return kCaptureNoFile;
  }
  int error = kCaptureOk;
  switch (mode) {
    case kCaptureBmp: error = writeBmp(file.get(), dib, view); break;
    case kCapturePcx: error = writePcx(file.get(), dib, view); break;
    default: error = writePng(file.get(), dib, view, osError); break;
  }
  if (error == kCaptureShortWrite) osError = static_cast<int>(GetLastError());
  return error;
}

void YYSaveBitmap(const int& mode, const int& x1, const int& y1, const int& x2, const int& y2, int& error,
                  int& osError, const char* fileName) {
  error = kCaptureOk;
  osError = 0;
  if (mode != kCaptureClipboard && mode != kCaptureBmp && mode != kCapturePcx && mode != kCapturePng) return;
  const int width = x2 - x1 + 1;
  const int height = y2 - y1 + 1;
  HDC screen = yyGdiContext.DrawDc;
  if (width <= 0 || height <= 0 || screen == nullptr) {
    error = kCaptureNoBitmap;
    return;
  }
  const int bitmapWidth = mode == kCapturePcx || mode == kCapturePng ? (width + 1) & ~1 : width;
  GdiObject bitmap(CreateCompatibleBitmap(screen, bitmapWidth, height));
  const DeviceContext memory(CreateCompatibleDC(screen));
  if (!bitmap || !memory) {
    error = kCaptureNoBitmap;
    return;
  }
  HGDIOBJ old = SelectObject(memory.get(), bitmap.get());
  // The padding column of an even width is white, not whatever the memory held.
  PatBlt(memory.get(), 0, 0, bitmapWidth, height, WHITENESS);
  BitBlt(memory.get(), 0, 0, width, height, screen, x1, y1, SRCCOPY);
  SelectObject(memory.get(), old);
  if (mode == kCaptureClipboard) {
    if (toClipboard(static_cast<HBITMAP>(bitmap.get()))) {
      bitmap.release();
    } else {
      error = kCaptureNoBitmap;
    }
    return;
  }
  HPALETTE palette = yyGdiContext.Palette != nullptr ? yyGdiContext.Palette
                                                     : static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
  HPALETTE oldPalette = SelectPalette(memory.get(), palette, FALSE);
  RealizePalette(memory.get());
  std::vector<std::uint8_t> block;
  const bool read = dibOfBitmap(memory.get(), static_cast<HBITMAP>(bitmap.get()), block);
  if (oldPalette != nullptr) SelectPalette(memory.get(), oldPalette, FALSE);
  if (!read) {
    error = kCaptureNoBitmap;
    return;
  }
  error = YYCaptureWriteDib(mode, CaptureDib{block, width, height}, fileName, osError);
}
