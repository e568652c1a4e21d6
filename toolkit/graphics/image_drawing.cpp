#include "toolkit/graphics/image_drawing.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>
#include <stdexcept>

#include "toolkit/core/binary_files.h"
#include "toolkit/drivers/metafile_gdi.h"
#include "toolkit/drivers/printer_gdi.h"
#include "toolkit/graphics/graphics_inquiry.h"
#include "toolkit/graphics/image_bytes.h"
#include "toolkit/graphics/memory_compression.h"
#include "toolkit/graphics/screen_gdi.h"

namespace {

constexpr int kDone = 0;
constexpr int kOpenFailed = 1;
constexpr int kShortRead = 2;
constexpr int kNotSupported = 27;
constexpr int kZlibFailed = 1044;
constexpr int kApiFailed = 1072;
constexpr std::int64_t kLargestBlock = 0x7FFFFFFFLL;
constexpr std::int64_t kPcxRunLength = 32;          // bytes decoded from one coded byte, at most (63 from 2)
constexpr std::int64_t kDeflateLargestRatio = 1032;  // bytes inflated from one compressed byte, at most
// Run-length BMP data may end its rows and the picture early, so its pixels
// are not bounded by its size; a picture this much larger than its data is
// taken for a damaged header.
constexpr std::int64_t kBmpRunsLargestRatio = 4096;
constexpr std::int64_t kBmpRunsAlwaysAllowed = 1 << 20;

std::uint32_t le(const std::uint8_t* b, int size) {
  std::uint32_t v = 0;
  YYGetIntLE(b, size, v);
  return v;
}

// The open file, closed on every return.
class DibFile {
 public:
  explicit DibFile(const char* name) {
    int error = 0;
    YYFileOpenRaw(name, 0, handle_, error);
    if (error != 0) handle_ = kNoFile;
  }
  ~DibFile() {
    if (handle_ != kNoFile) YYFileCloseRaw(handle_);
  }
  DibFile(const DibFile&) = delete;
  DibFile& operator=(const DibFile&) = delete;
  bool open() const { return handle_ != kNoFile; }
  int handle() const { return handle_; }
  bool read(void* bytes, std::int64_t count) {
    if (count < 0 || count > kLargestBlock) return false;
    int got = 0;
    int error = 0;
    YYFileReadBytes(handle_, bytes, static_cast<int>(count), got, error);
    return error == 0 && got == count;
  }
  bool seek(std::int64_t offset, int origin) {
    if (offset < -kLargestBlock || offset > kLargestBlock) return false;
    int position = static_cast<int>(offset);
    int error = 0;
    YYFileSeekRaw(handle_, position, origin, error);
    return error == 0;
  }
  // Where the next read starts, -1 when the system cannot say.
  std::int64_t position() {
    int offset = 0;
    int error = 0;
    YYFileSeekRaw(handle_, offset, 1, error);
    return error == 0 ? offset : -1;
  }
  // The bytes from the current position to the end; the position stays.
  std::int64_t remaining() {
    const std::int64_t here = position();
    int end = 0;
    int error = 0;
    YYFileSeekRaw(handle_, end, 2, error);
    if (here < 0 || error != 0 || !seek(here, 0)) return -1;
    return std::max<std::int64_t>(0, end - here);
  }

 private:
  int handle_ = kNoFile;
};

int lastError() { return static_cast<int>(GetLastError()); }

// A 40-byte header and a colour table of `colours` entries.
void makeInfo(ImageDib& dib, int width, int height, int bitCount, int colours, std::int64_t stride) {
  dib.info.assign(sizeof(BITMAPINFOHEADER) + 4 * static_cast<std::size_t>(colours), 0);
  BITMAPINFOHEADER header{};
  header.biSize = sizeof(BITMAPINFOHEADER);
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = static_cast<WORD>(bitCount);
  header.biCompression = BI_RGB;
  header.biSizeImage = static_cast<DWORD>(stride * height);
  header.biClrUsed = static_cast<DWORD>(colours);
  std::memcpy(dib.info.data(), &header, sizeof header);
  dib.height = height;
}

// The rows are taken only once the file has shown that it can fill them.
void allocateRows(ImageDib& dib, std::int64_t stride, int height) {
  dib.bits.assign(static_cast<std::size_t>(stride * height), 0);
}

void setColour(ImageDib& dib, int i, int red, int green, int blue) {
  std::uint8_t* entry = dib.info.data() + sizeof(BITMAPINFOHEADER) + 4 * static_cast<std::size_t>(i);
  entry[0] = static_cast<std::uint8_t>(blue);
  entry[1] = static_cast<std::uint8_t>(green);
  entry[2] = static_cast<std::uint8_t>(red);
}

std::int64_t strideOf(std::int64_t width, int bits) { return (width * bits + 31) / 32 * 4; }

// ---- PCX ---------------------------------------------------------------------

int readPcx(const char* name, ImageDib& dib, int& osError) {
  DibFile file(name);
  if (!file.open()) {
    osError = lastError();
    return kOpenFailed;
  }
  std::array<std::uint8_t, 128> head{};
  if (!file.read(head.data(), 128)) {
    osError = lastError();
    return kShortRead;
  }
  if (head[0] != 10 || head[2] != 1) return kNotSupported;
  const int planes = head[65];
  const int bits = head[3] * planes;
  const int width = static_cast<std::int16_t>(le(&head[8], 2)) - static_cast<std::int16_t>(le(&head[4], 2)) + 1;
  const int height = static_cast<std::int16_t>(le(&head[10], 2)) - static_cast<std::int16_t>(le(&head[6], 2)) + 1;
  const int lineLength = static_cast<int>(le(&head[66], 2));
  if (width <= 0 || height <= 0 || lineLength <= 0 || (bits != 1 && bits != 4 && bits != 8 && bits != 24) ||
      (bits == 4 && planes != 4) || (bits == 24 && planes != 3)) {
    return kNotSupported;
  }
  // A plane line must hold a row's pixels, and a run of two bytes codes at
  // most 63: a header that asks for more than the file can decode is damaged.
  const std::int64_t decoded = std::int64_t{planes} * lineLength * height;
  const std::int64_t coded = file.remaining();
  if (std::int64_t{width} * head[3] > 8LL * lineLength || coded < 0 || decoded > kPcxRunLength * coded) {
    return kNotSupported;
  }
  const int dibWidth = bits == 1 || bits == 4 ? width : lineLength;
  // The system takes the row stride from the bitmap's width and bit count;
  // what a plane line holds beyond it lies outside the picture.
  const std::int64_t rowBytes = strideOf(dibWidth, bits);
  if (rowBytes * height > kLargestBlock) return kNotSupported;
  const int colours = bits == 24 ? 0 : (1 << bits);
  makeInfo(dib, dibWidth, height, bits, colours, rowBytes);
  allocateRows(dib, rowBytes, height);
  dib.sourceWidth = width;
  if (bits == 1) {
    setColour(dib, 1, 255, 255, 255);
  } else if (bits == 4) {
    for (int i = 0; i < 16; ++i) setColour(dib, i, head[16 + 3 * i], head[17 + 3 * i], head[18 + 3 * i]);
  } else if (bits == 8) {
    std::array<std::uint8_t, 768> palette{};
    std::array<std::uint8_t, 1> mark{};
    if (!file.seek(-769, 2) || !file.read(mark.data(), 1) || !file.read(palette.data(), 768) || !file.seek(128, 0)) {
      osError = lastError();
      return kShortRead;
    }
    for (int i = 0; i < 256; ++i) setColour(dib, i, palette[3 * i], palette[3 * i + 1], palette[3 * i + 2]);
  }
  for (int r = 0; r < height; ++r) {
    std::uint8_t* row = dib.bits.data() + static_cast<std::size_t>(height - 1 - r) * static_cast<std::size_t>(rowBytes);
    for (int p = 0; p < planes; ++p) {
      for (int k = 0; k < lineLength;) {
        std::uint8_t value = 0;
        int count = 0;
        if (YYPcxReadRun(value, count, file.handle()) != 0) {
          osError = lastError();
          return kShortRead;
        }
        // Runs end with their plane line.
        for (; count > 0 && k < lineLength; --count, ++k) {
          if (bits == 4) {
            for (int pair = 0; pair < 4 && 4 * std::int64_t{k} + pair < rowBytes; ++pair) {
              std::uint8_t& out = row[4 * static_cast<std::size_t>(k) + static_cast<std::size_t>(pair)];
              if ((value >> (7 - 2 * pair)) & 1) out = static_cast<std::uint8_t>(out | (1 << p) << 4);
              if ((value >> (6 - 2 * pair)) & 1) out = static_cast<std::uint8_t>(out | (1 << p));
            }
          } else if (const std::int64_t at = std::int64_t{k} * planes + (planes - 1 - p); at < rowBytes) {
            row[at] = value;
          }
        }
      }
    }
  }
  return kDone;
}

// ---- PNG ---------------------------------------------------------------------

int readPng(const char* name, ImageDib& dib, int& osError) {
  DibFile file(name);
  if (!file.open()) {
    osError = lastError();
    return kOpenFailed;
  }
  std::array<std::uint8_t, 33> head{};
  if (!file.read(head.data(), 33)) {
    osError = lastError();
    return kShortRead;
  }
  if (head[0] != 0x89 || YYChunkIs(&head[1], "PNG\r") == 0 || YYChunkIs(&head[12], "IHDR") == 0) return kNotSupported;
  const std::int64_t width = YYGetU32BE(&head[16]);
  const std::int64_t height = YYGetU32BE(&head[20]);
  // The bitmap's sides are signed 32-bit numbers, as a PNG's are meant to be.
  if (width > kLargestBlock || height > kLargestBlock) return kNotSupported;
  const int depth = head[24];
  const int type = head[25];
  if ((type != 2 && type != 3 && type != 6) || head[27] != 0 || head[28] != 0) return kNotSupported;
  if (type == 3 ? (depth != 1 && depth != 2 && depth != 4 && depth != 8) : (depth != 8 && depth != 16))
    return kNotSupported;
  const int samples = type == 2 ? 3 : type == 6 ? 4 : 1;
  const int sampleBytes = depth == 16 ? 2 : 1;
  const std::int64_t rowBytes = type == 3 ? (width * depth + 7) / 8 : width * samples * sampleBytes;
  const std::int64_t rawSize = height * (1 + rowBytes);
  const int dibBits = type != 3 ? 24 : (depth == 2 ? 4 : depth);
  const std::int64_t stride = strideOf(width, dibBits);
  if (width <= 0 || height <= 0 || rawSize + rawSize / 1000 + 22 > kLargestBlock || stride * height > kLargestBlock)
    return kNotSupported;
  makeInfo(dib, static_cast<int>(width), static_cast<int>(height), dibBits, type == 3 ? (1 << dibBits) : 0, stride);
  dib.sourceWidth = static_cast<int>(width);
  const std::int64_t room = rawSize + rawSize / 1000 + 22;
  std::vector<std::uint8_t> compressed;
  for (;;) {
    std::array<std::uint8_t, 8> chunk{};
    if (!file.read(chunk.data(), 8)) {
      osError = lastError();
      return kShortRead;
    }
    const std::uint32_t length = YYGetU32BE(chunk.data());
    if (length > kLargestBlock) return kShortRead;
    if (YYChunkIs(&chunk[4], "IEND") != 0) break;
    if (YYChunkIs(&chunk[4], "IDAT") != 0) {
      if (static_cast<std::int64_t>(compressed.size()) + length > room) return kShortRead;
      // Room is taken for the data the file holds, not for what a length claims.
      if (length > file.remaining()) {
        osError = ERROR_HANDLE_EOF;
        return kShortRead;
      }
      const std::size_t at = compressed.size();
      compressed.resize(at + length);
      if (!file.read(compressed.data() + at, length) || !file.seek(4, 1)) {
        osError = lastError();
        return kShortRead;
      }
    } else if (YYChunkIs(&chunk[4], "PLTE") != 0 && type == 3) {
      std::array<std::uint8_t, 768> palette{};
      const std::uint32_t take = std::min<std::uint32_t>(length, 768);
      if (!file.read(palette.data(), take) || !file.seek(std::int64_t{length} - take + 4, 1)) {
        osError = lastError();
        return kShortRead;
      }
      for (int i = 0; i < static_cast<int>(take / 3) && i < (1 << dibBits); ++i)
        setColour(dib, i, palette[3 * i], palette[3 * i + 1], palette[3 * i + 2]);
    } else if (!file.seek(std::int64_t{length} + 4, 1)) {
      osError = lastError();
      return kShortRead;
    }
  }
  // Deflate codes at most 1032 bytes in one: an image larger than its data
  // can ever become is refused before room is taken for it.
  if (rawSize > kDeflateLargestRatio * (static_cast<std::int64_t>(compressed.size()) + 1)) return kNotSupported;
  allocateRows(dib, stride, static_cast<int>(height));
  std::vector<std::uint8_t> raw(static_cast<std::size_t>(rawSize));
  int produced = static_cast<int>(rawSize);
  int status = 0;
  const int sourceLength = static_cast<int>(compressed.size());
  YYUnCompressC(compressed.data(), raw.data(), sourceLength, produced, status);
  if (status != 0) {
    osError = status;
    return kZlibFailed;
  }
  // Data that ends before the last row leaves rows that the file never filled.
  if (produced != rawSize) return kNotSupported;
  YYPngUnfilter(raw.data(), static_cast<int>(1 + rowBytes), static_cast<int>(height),
                type == 3 ? 1 : samples * sampleBytes);
  for (std::int64_t r = 0; r < height; ++r) {
    const std::uint8_t* in = raw.data() + r * (1 + rowBytes) + 1;
    std::uint8_t* out = dib.bits.data() + (height - 1 - r) * stride;
    if (type != 3) {
      for (std::int64_t x = 0; x < width; ++x) {
        const std::uint8_t* p = in + x * samples * sampleBytes;
        out[3 * x] = p[2 * sampleBytes];
        out[3 * x + 1] = p[sampleBytes];
        out[3 * x + 2] = p[0];
      }
    } else if (depth == 2) {
      // Each PNG byte of four 2-bit pixels becomes two bytes of two 4-bit pixels.
      for (std::int64_t b = 0; b < rowBytes; ++b) {
        out[2 * b] = static_cast<std::uint8_t>(((in[b] >> 6) & 3) << 4 | ((in[b] >> 4) & 3));
        if (2 * b + 1 < stride) out[2 * b + 1] = static_cast<std::uint8_t>(((in[b] >> 2) & 3) << 4 | (in[b] & 3));
      }
    } else {
      std::memcpy(out, in, static_cast<std::size_t>(rowBytes));
    }
  }
  return kDone;
}

bool selectTarget(int target, HDC& dc, HRGN& clip) {
  switch (target) {
    case kImageTargetScreen:
      dc = yyGdiContext.DrawDc;
      clip = static_cast<HRGN>(yyGdiContext.ClipRegion.get());
      break;
    case kImageTargetPrinter:
      // A page ended by the driver is started again by the next drawing.
      if (yyPrnContext.DocumentOpen == 0) return false;
      if (yyPrnContext.PagePending == 1) YYPrnStartPage();
      dc = yyPrnContext.PrinterDc;
      clip = yyPrnContext.ClipRegion;
      break;
    case kImageTargetMetafile:
      dc = yyMetaContext.MetaDc;
      clip = yyMetaContext.ClipRegion;
      break;
    default: return false;
  }
  return dc != nullptr;
}

}  // namespace

int YYPcxReadRun(std::uint8_t& value, int& count, int handle) {
  std::uint8_t byte = 0;
  int got = 0;
  int error = 0;
  YYFileReadBytes(handle, &byte, 1, got, error);
  if (got != 1) return kShortRead;
  if ((byte & 0xC0) != 0xC0) {
    value = byte;
    count = 1;
    return kDone;
  }
  count = byte & 0x3F;
  YYFileReadBytes(handle, &value, 1, got, error);
  return got == 1 ? kDone : kShortRead;
}

int YYReadFileToMemory(const char* fileName, ImageDib& dib, int& osError) {
  DibFile file(fileName);
  if (!file.open()) {
    osError = lastError();
    return kOpenFailed;
  }
  std::array<std::uint8_t, 14 + 4> head{};
  if (!file.read(head.data(), head.size())) {
    osError = lastError();
    return kShortRead;
  }
  const std::uint32_t headerSize = le(&head[14], 4);
  if (head[0] != 'B' || head[1] != 'M' || headerSize < 40 || headerSize > 4096) return kNotSupported;
  // The whole header, V4 and V5 included, and the masks that follow a
  // 40-byte header of compression 3.
  std::vector<std::uint8_t> header(headerSize);
  std::memcpy(header.data(), &head[14], 4);
  if (!file.read(header.data() + 4, headerSize - 4)) {
    osError = lastError();
    return kShortRead;
  }
  BITMAPINFOHEADER info{};
  std::memcpy(&info, header.data(), sizeof info);
  const int bits = info.biBitCount;
  const std::int64_t height = info.biHeight < 0 ? -std::int64_t{info.biHeight} : info.biHeight;
  if (info.biWidth <= 0 || height == 0 || bits == 0 || bits > 32) return kNotSupported;
  const std::uint32_t maxColours = bits <= 8 ? (1u << bits) : 256u;
  std::uint32_t colours = info.biClrUsed != 0 ? std::min<std::uint32_t>(info.biClrUsed, maxColours) : (bits <= 8 ? maxColours : 0);
  const int masks = info.biCompression == BI_BITFIELDS && headerSize == 40 ? 12 : 0;
  const bool runs = info.biCompression == BI_RLE8 || info.biCompression == BI_RLE4;
  const std::int64_t computed = strideOf(info.biWidth, bits) * height;
  if (computed > kLargestBlock) return kNotSupported;
  dib.info = header;
  dib.info.resize(headerSize + static_cast<std::size_t>(masks) + 4 * colours);
  if (!file.read(dib.info.data() + headerSize, masks + 4 * static_cast<std::int64_t>(colours))) {
    osError = lastError();
    return kShortRead;
  }
  const std::uint32_t offset = le(&head[10], 4);
  if (offset != 0 && !file.seek(offset, 0)) {
    osError = lastError();
    return kShortRead;
  }
  // The block is sized from what the file holds: a size field that claims
  // more than that is a damaged header, and rows the file cannot fill are a
  // short read, found before any room is taken.
  const std::int64_t available = file.remaining();
  if (available < 0) {
    osError = lastError();
    return kShortRead;
  }
  if (!runs && computed > available) {
    osError = ERROR_HANDLE_EOF;
    return kShortRead;
  }
  if (info.biSizeImage > available) return kNotSupported;
  std::int64_t imageSize = std::max<std::int64_t>(info.biSizeImage, computed);
  if (runs) {
    imageSize = info.biSizeImage != 0 ? info.biSizeImage : available;
    if (computed > kBmpRunsAlwaysAllowed && computed / kBmpRunsLargestRatio > imageSize) return kNotSupported;
  }
  info.biClrUsed = colours;
  info.biSizeImage = static_cast<DWORD>(imageSize);
  std::memcpy(dib.info.data(), &info, sizeof info);
  dib.bits.assign(static_cast<std::size_t>(imageSize), 0);
  int got = 0;
  int error = 0;
  YYFileReadBytes(file.handle(), dib.bits.data(), static_cast<int>(imageSize), got, error);
  if (error != 0 || (!runs && got < computed)) {
    osError = lastError();
    return kShortRead;
  }
  dib.sourceWidth = info.biWidth;
  dib.height = static_cast<int>(height);
  return kDone;
}

int YYImageFileToDib(int kind, const char* fileName, ImageDib& dib, int& osError) {
  // Room the system cannot give is the status "no memory", never an exception.
  try {
    switch (kind) {
      case kFileBmp: return YYReadFileToMemory(fileName, dib, osError);
      case kFilePcx: return readPcx(fileName, dib, osError);
      case kFilePng: return readPng(fileName, dib, osError);
      default: return kNotSupported;
    }
  } catch (const std::bad_alloc&) {
    dib = ImageDib{};
    osError = ERROR_NOT_ENOUGH_MEMORY;
    return kShortRead;
  } catch (const std::length_error&) {
    dib = ImageDib{};
    osError = ERROR_NOT_ENOUGH_MEMORY;
    return kShortRead;
  }
}

void YYDrawImageFile(const int& kind, const int& target, const int& x1, const int& y1, const int& x2,
                     const int& y2, const int& stretch, int& error, int& osError, const char* fileName) {
  ImageDib dib;
  error = YYImageFileToDib(kind, fileName, dib, osError);
  if (error != kDone) return;
  HDC dc = nullptr;
  HRGN clip = nullptr;
  if (!selectTarget(target, dc, clip)) {
    error = kApiFailed;
    osError = ERROR_INVALID_HANDLE;
    return;
  }
  int lines = 0;
  if (stretch == 0) {
    if (clip != nullptr) SelectClipRgn(dc, clip);
    lines = StretchDIBits(dc, x1, y1, dib.sourceWidth, dib.height, 0, 0, dib.sourceWidth, dib.height,
                          dib.bits.data(), dib.bitmapInfo(), DIB_RGB_COLORS, SRCCOPY);
    if (clip != nullptr) SelectClipRgn(dc, nullptr);
  } else {
    lines = StretchDIBits(dc, x1, y1, x2 - x1 + 1, y2 - y1 + 1, 0, 0, dib.sourceWidth, dib.height,
                          dib.bits.data(), dib.bitmapInfo(), DIB_RGB_COLORS, SRCCOPY);
  }
  if (lines == 0 || lines == static_cast<int>(GDI_ERROR)) {
    error = kApiFailed;
    osError = lastError();
  }
}
