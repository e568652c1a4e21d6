// The Windows metafile driver's GDI drawing set.
#include "toolkit/drivers/metafile_gdi.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/core/scoped_handle.h"
#include "toolkit/drivers/gdi_driver_steps.h"
#include "toolkit/drivers/printer_device.h"
#include "toolkit/drivers/printer_gdi.h"
#include "toolkit/graphics/image_bytes.h"
#include "toolkit/graphics/image_slots.h"
#include "toolkit/graphics/screen_gdi.h"

YYMetaContext yyMetaContext;

namespace {

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7u;
constexpr std::uint16_t kPlaceableUnitsPerInch = 1000;
constexpr int kPlaceableHeaderBytes = 22;

bool recording() { return yyMetaContext.MetaDc != nullptr; }

// The 22 bytes that precede a placeable Windows metafile, little-endian.
std::array<BYTE, kPlaceableHeaderBytes> placeableHeader(int right, int bottom, std::uint16_t checksum) {
  std::array<BYTE, kPlaceableHeaderBytes> header{};
  const auto put16 = [&](std::size_t at, std::uint32_t value) {
    header[at] = static_cast<BYTE>(value & 0xFF);
    header[at + 1] = static_cast<BYTE>((value >> 8) & 0xFF);
  };
  put16(0, kPlaceableKey & 0xFFFF);
  put16(2, kPlaceableKey >> 16);
  put16(10, static_cast<std::uint32_t>(right));
  put16(12, static_cast<std::uint32_t>(bottom));
  put16(14, kPlaceableUnitsPerInch);
  put16(20, checksum);
  return header;
}

bool writeAll(HANDLE file, const void* bytes, DWORD size) {
  DWORD written = 0;
  return WriteFile(file, bytes, size, &written, nullptr) && written == size;
}

void closePlaceableFile() {
  if (yyMetaContext.PlaceableFile != INVALID_HANDLE_VALUE) CloseHandle(yyMetaContext.PlaceableFile);
  yyMetaContext.PlaceableFile = INVALID_HANDLE_VALUE;
}

// The reference of an enhanced metafile: the chosen printer when there is one,
// else the screen.
struct ReferenceDevice {
  HDC dc = nullptr;
  bool printer = false;
  ReferenceDevice() {
    if (yyChosenPrinter.chosen != 0) {
      dc = CreateICA(yyChosenPrinter.driver.c_str(), yyChosenPrinter.device.c_str(), nullptr, nullptr);
      printer = dc != nullptr;
    }
    if (dc == nullptr) dc = GetDC(nullptr);
  }
  ~ReferenceDevice() {
    if (dc == nullptr) return;
    if (printer) {
      DeleteDC(dc);
    } else {
      ReleaseDC(nullptr, dc);
    }
  }
  ReferenceDevice(const ReferenceDevice&) = delete;
  ReferenceDevice& operator=(const ReferenceDevice&) = delete;
};

// Converts 1/720 inch to pixels of the reference along one axis.
int referencePixels(int units, int pixels, int millimetres) {
  if (millimetres <= 0) return units;
  return static_cast<int>(static_cast<double>(units) * pixels * 25.4 / (static_cast<double>(millimetres) * 720.0));
}

bool clipboardPicture(HENHMETAFILE enhanced, HMETAFILE plain) {
  YYMetaContext& m = yyMetaContext;
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  bool delivered = false;
  if (enhanced != nullptr) {
    delivered = SetClipboardData(CF_ENHMETAFILE, enhanced) != nullptr;
  } else if (plain != nullptr) {
    GlobalMemory block(GlobalAlloc(GMEM_SHARE | GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(METAFILEPICT)));
    HMETAFILE copy = CopyMetaFileA(plain, nullptr);
    if (block && copy != nullptr) {
      auto* picture = static_cast<METAFILEPICT*>(GlobalLock(block.get()));
      picture->mm = MM_ANISOTROPIC;
      picture->xExt = m.HimetricWidth;
      picture->yExt = m.HimetricHeight;
      picture->hMF = copy;
      GlobalUnlock(block.get());
      delivered = SetClipboardData(CF_METAFILEPICT, block.get()) != nullptr;
      if (delivered) {
        block.release();  // the clipboard owns it now
      } else {
        DeleteMetaFile(copy);
      }
    } else if (copy != nullptr) {
      DeleteMetaFile(copy);
    }
  }
  CloseClipboard();
  return delivered;
}

bool appendMetafileBits(HMETAFILE plain) {
  const UINT size = GetMetaFileBitsEx(plain, 0, nullptr);
  if (size == 0) return false;
  std::vector<BYTE> bits(size);
  if (GetMetaFileBitsEx(plain, size, bits.data()) != size) return false;
  return writeAll(yyMetaContext.PlaceableFile, bits.data(), size);
}

// A Windows metafile can only narrow its clip: each new rectangle is taken
// inside a saved state, which is given back before the next one.  Giving it
// back also gives back the pen and font of that time, so the current ones are
// selected again.
void clipWindowsMetafile(int left, int top, int right, int bottom) {
  YYMetaContext& m = yyMetaContext;
  HDC dc = m.MetaDc;
  if (m.ClipSaved) {
    RestoreDC(dc, -1);
    if (m.Pen != nullptr) SelectObject(dc, m.Pen);
    if (m.Font != nullptr) SelectObject(dc, m.Font);
  }
  m.ClipSaved = SaveDC(dc) != 0;
  IntersectClipRect(dc, left, top, right, bottom);
}

DashPen metaDashPen() {
  const YYMetaContext& m = yyMetaContext;
  if (m.MetaKind != kMetaEnhanced || !hardcopyStyledPens()) return DashPen::Cosmetic;
  return m.PenOption != 0 ? DashPen::BuiltInStyle : DashPen::UserStyle;
}

// True when the bytes are a Windows metafile whose records the system can
// play safely: the 18-byte header, then records of at least three words, each
// whole within the bytes, up to the end record.
bool windowsMetafileSound(std::span<const BYTE> bytes) {
  constexpr std::size_t kHeaderBytes = 18;
  constexpr std::uint32_t kRecordLeastWords = 3;
  const auto word16 = [&bytes](std::size_t at) {
    std::uint32_t value = 0;
    YYGetIntLE(bytes.data() + at, 2, value);
    return value;
  };
  if (bytes.size() < kHeaderBytes || (word16(0) != 1 && word16(0) != 2) || word16(2) != kHeaderBytes / 2) {
    return false;
  }
  for (std::size_t at = kHeaderBytes; at + 6 <= bytes.size();) {
    const std::uint32_t words = word16(at) | word16(at + 2) << 16;
    if (words < kRecordLeastWords || words > (bytes.size() - at) / 2) return false;
    if (word16(at + 4) == 0) return true;
    at += 2 * static_cast<std::size_t>(words);
  }
  return false;
}

HDC playTarget(int device) {
  switch (device) {
    case 0: return yyGdiContext.DrawDc;
    case 10: return yyPrnContext.PrinterDc;
    case 11: return yyMetaContext.MetaDc;
    default: return nullptr;
  }
}

}  // namespace

int YYMetaOpen(int& width, int& height, int kind, int penOption, int right, int bottom, std::uint16_t checksum,
               int clipboard, std::string_view fileName, std::string_view description) {
  YYMetaContext& m = yyMetaContext;
  if (recording()) YYMetaClose();
  // Kinds without a meaning of their own are taken as the placeable kind, at
  // the close as at the open, so that the picture is never left out.
  if (kind != kMetaPlain && kind != kMetaEnhanced) kind = kMetaPlaceable;
  m.ToClipboard = clipboard;
  m.MetaKind = kind;
  m.HimetricWidth = width * 254 / 72;
  m.HimetricHeight = height * 254 / 72;
  const std::string file(fileName);
  const bool toFile = clipboard == 0;
  HDC dc = nullptr;
  if (kind == kMetaEnhanced) {
    const ReferenceDevice reference;
    m.MetaResolution = GetDeviceCaps(reference.dc, LOGPIXELSX);
    width = referencePixels(width, GetDeviceCaps(reference.dc, HORZRES), GetDeviceCaps(reference.dc, HORZSIZE));
    height = referencePixels(height, GetDeviceCaps(reference.dc, VERTRES), GetDeviceCaps(reference.dc, VERTSIZE));
    const RECT frame{0, 0, m.HimetricWidth, m.HimetricHeight};
    // The description ends in two NULs, whatever the caller left off.
    std::string text(description);
    text.append(2, '\0');
    dc = CreateEnhMetaFileA(reference.dc, toFile ? file.c_str() : nullptr, &frame, text.c_str());
    m.PenOption = penOption;
  } else if (!toFile) {
    dc = CreateMetaFileA(nullptr);
  } else if (kind == kMetaPlaceable) {
    m.PlaceableFile = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    const auto header = placeableHeader(right, bottom, checksum);
    if (m.PlaceableFile != INVALID_HANDLE_VALUE && writeAll(m.PlaceableFile, header.data(), kPlaceableHeaderBytes)) {
      dc = CreateMetaFileA(nullptr);
    }
    if (dc == nullptr) closePlaceableFile();
  } else {
    dc = CreateMetaFileA(file.c_str());
  }
  if (dc == nullptr) {
    m.MetaKind = kMetaPlain;
    return kMetaFailed;
  }
  m.MetaDc = dc;
  if (kind == kMetaEnhanced) YYMetaDashPattern();
  if (kind != kMetaEnhanced) SetMapMode(dc, MM_ANISOTROPIC);
  m.ExtentWidth = width + 1;
  m.ExtentHeight = height + 1;
  SetWindowExtEx(dc, m.ExtentWidth, m.ExtentHeight, nullptr);
  m.ClipRegion = nullptr;
  m.ClipSaved = false;
  SetBkMode(dc, TRANSPARENT);
  m.PenColour = -1;
  m.PenLineStyle = -1;
  m.PenPixelWidth = -1;
  return kMetaDone;
}

int YYMetaClose() {
  YYMetaContext& m = yyMetaContext;
  if (!recording()) return kMetaFailed;
  hardcopyReleaseFontAndClip(m.MetaDc, m);
  hardcopyReleasePen(m.MetaDc, m);
  HDC dc = std::exchange(m.MetaDc, nullptr);
  bool done = true;
  if (m.MetaKind == kMetaEnhanced) {
    HENHMETAFILE picture = CloseEnhMetaFile(dc);
    done = picture != nullptr;
    if (picture != nullptr && m.ToClipboard != 0) {
      done = clipboardPicture(picture, nullptr);
      if (!done) DeleteEnhMetaFile(picture);
    } else if (picture != nullptr) {
      DeleteEnhMetaFile(picture);
    }
  } else {
    HMETAFILE picture = CloseMetaFile(dc);
    done = picture != nullptr;
    if (picture != nullptr && m.ToClipboard != 0) {
      done = clipboardPicture(nullptr, picture);
    } else if (picture != nullptr && m.MetaKind == kMetaPlaceable) {
      done = appendMetafileBits(picture);
    }
    if (picture != nullptr) DeleteMetaFile(picture);
  }
  if (m.PlaceableFile != INVALID_HANDLE_VALUE) {
    closePlaceableFile();
  }
  m.MetaKind = kMetaPlain;
  return done ? kMetaDone : kMetaFailed;
}

void YYMetaPlay(int kind, int x1, int y1, int x2, int y2, int device, int& error, std::string_view fileName) {
  const std::string file(fileName);
  FileHandle input(CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  LARGE_INTEGER size{};
  if (!input || !GetFileSizeEx(input.get(), &size) || size.QuadPart > 0x7FFFFFFF) {
    error = 1;
    return;
  }
  const DWORD skip = kind == kMetaPlaceable ? kPlaceableHeaderBytes : 0;
  std::vector<BYTE> bytes(static_cast<std::size_t>(size.QuadPart));
  DWORD read = 0;
  if (!bytes.empty() && (!ReadFile(input.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
                         read != bytes.size())) {
    error = 1;
    return;
  }
  error = 0;
  HDC dc = playTarget(device);
  if (bytes.size() <= skip || dc == nullptr || x2 == x1 || y2 == y1) {
    error = 2;
    return;
  }
  const BYTE* bits = bytes.data() + skip;
  const UINT count = static_cast<UINT>(bytes.size() - skip);
  // Damaged records would crash or hang the system's playback.
  const std::span<const BYTE> records(bits, count);
  if (kind == kMetaEnhanced ? !YYEmfRecordsSound(records) : !windowsMetafileSound(records)) {
    error = 2;
    return;
  }
  const auto screenRegion = static_cast<HRGN>(yyGdiContext.ClipRegion.get());
  const bool screenClip = device == 0 && screenRegion != nullptr;
  if (screenClip) SelectClipRgn(dc, screenRegion);
  if (kind == kMetaEnhanced) {
    HENHMETAFILE picture = SetEnhMetaFileBits(count, bits);
    if (picture == nullptr) {
      error = 2;
    } else {
      const RECT box{x1, y1, x2, y2};
      PlayEnhMetaFile(dc, picture, &box);
      DeleteEnhMetaFile(picture);
    }
  } else if (HMETAFILE picture = SetMetaFileBitsEx(count, bits); picture == nullptr) {
    error = 2;
  } else {
    const YYMetaContext& m = yyMetaContext;
    const int oldMode = SetMapMode(dc, MM_ANISOTROPIC);
    const int saved = SaveDC(dc);
    if (device == 11 && m.MetaKind != kMetaEnhanced) {
      // Into a Windows metafile being recorded: move and scale its window.
      SetWindowOrgEx(dc, -(x1 * m.ExtentWidth / (x2 - x1)), -(y1 * m.ExtentHeight / (y2 - y1)), nullptr);
      ScaleViewportExtEx(dc, x2 - x1 + 1, std::max(1, m.ExtentWidth), y2 - y1 + 1, std::max(1, m.ExtentHeight),
                         nullptr);
    } else {
      const int originX = device == 10 ? x1 - yyPrnContext.WindowOrgX : x1;
      const int originY = device == 10 ? y1 - yyPrnContext.WindowOrgY : y1;
      SetViewportOrgEx(dc, originX, originY, nullptr);
      SetViewportExtEx(dc, x2 - x1 + 1, y2 - y1 + 1, nullptr);
    }
    PlayMetaFile(dc, picture);
    DeleteMetaFile(picture);
    RestoreDC(dc, saved);
    SetMapMode(dc, oldMode);
  }
  if (screenClip) SelectClipRgn(dc, nullptr);
}

void YYMetaSetColour(int red, int green, int blue) {
  YYMetaContext& m = yyMetaContext;
  m.PreviousColorRef = m.CurrentColorRef;
  m.CurrentColorRef = RGB(red & 255, green & 255, blue & 255);
}

void YYMetaGreyColour(int& red, int& green, int& blue) { hardcopyInvertColour(hardcopyOption(6), red, green, blue); }

void YYMetaSetLineStyle(int style) { hardcopySetLineStyle(yyMetaContext, style); }

void YYMetaSetLineWidth(int width) {
  yyMetaContext.PenWidth = width;
  YYMetaDashPattern();
}

void YYMetaDashPattern() {
  if (!hardcopyStyledPens()) return;
  hardcopyDashPattern(yyMetaContext, static_cast<unsigned>(std::max(0, yyMetaContext.MetaResolution)),
                      hardcopyScreenResolution());
}

void YYMetaPen() {
  if (!recording()) return;
  hardcopyCachedPen(yyMetaContext.MetaDc, yyMetaContext, metaDashPen());
}

void YYMetaLine(int x1, int y1, int x2, int y2) {
  if (!recording()) return;
  YYMetaPen();
  hardcopyLine(yyMetaContext.MetaDc, yyMetaContext, x1, y1, x2, y2);
}

void YYMetaPolyline(int n) {
  if (!recording()) return;
  YYMetaPen();
  hardcopyPolyline(yyMetaContext.MetaDc, yyMetaContext, n);
}

void YYMetaSetPoint(int x, int y, int i) { YYPrnSetPoint(x, y, i); }

void YYMetaPolygon(int n) {
  if (recording()) hardcopySolidPolygon(yyMetaContext.MetaDc, yyMetaContext, n, false);
}

void YYMetaRectangle(int x1, int y1, int x2, int y2) {
  if (recording()) hardcopySolidRectangle(yyMetaContext.MetaDc, yyMetaContext, x1, y1, x2, y2);
}

void YYMetaEllipse(int cx, int cy, int rx, int ry, int fillStyle) {
  if (!recording()) return;
  if (fillStyle < 3) YYMetaPen();
  hardcopyEllipse(yyMetaContext.MetaDc, yyMetaContext, cx, cy, rx, ry, fillStyle >= 3);
}

void YYMetaPie(int cx, int cy, int rx, int ry, int xs, int ys, int xe, int ye) {
  if (recording()) hardcopyPie(yyMetaContext.MetaDc, yyMetaContext, cx, cy, rx, ry, xs, ys, xe, ye);
}

void YYMetaArc(int cx, int cy, int rx, int ry, int xs, int ys, int xe, int ye, int closure) {
  if (!recording()) return;
  YYMetaPen();
  hardcopyArc(yyMetaContext.MetaDc, yyMetaContext, cx, cy, rx, ry, xs, ys, xe, ye, closure);
}

void YYMetaPixel(int x, int y) {
  if (recording()) SetPixel(yyMetaContext.MetaDc, x, y, yyMetaContext.CurrentColorRef);
}

void YYMetaFillPixel(const std::int32_t& x, const std::int32_t& y, const std::int32_t& rgb) {
  if (recording()) hardcopyShadeCell(x, y, rgb);
}

void YYMetaShadedTriangles(std::span<const std::int32_t> deviceX, std::span<const std::int32_t> deviceY,
                           std::span<const std::int32_t> colours, std::span<const YYTriangle> triangles,
                           std::int32_t& status) {
  status = 1;
  if (recording()) hardcopyShadedTriangles(yyMetaContext.MetaDc, deviceX, deviceY, colours, triangles, status);
}

void YYMetaClipRect(int left, int top, int right, int bottom) {
  YYMetaContext& m = yyMetaContext;
  if (recording() && m.MetaKind != kMetaEnhanced) {
    clipWindowsMetafile(left, top, right, bottom);
    return;
  }
  if (m.ClipRegion != nullptr) DeleteObject(m.ClipRegion);
  m.ClipRegion = CreateRectRgn(left, top, right, bottom);
  if (recording()) SelectClipRgn(m.MetaDc, m.ClipRegion);
}

void YYMetaTextExtent(int& width, std::string_view text) {
  width = recording() ? hardcopyTextExtent(yyMetaContext.MetaDc, text) : 0;
}

void YYMetaFont(int width, int height, int angle, int fontKind, int style, std::string_view face) {
  YYMetaContext& m = yyMetaContext;
  if (!recording()) return;
  hardcopyReleaseFont(m.MetaDc, m);
  LOGFONTA description = hardcopyFontDescription(width, -height, fontKind, style, face);
  description.lfOutPrecision = OUT_CHARACTER_PRECIS;
  description.lfClipPrecision = CLIP_CHARACTER_PRECIS;
  description.lfEscapement = angle * 10;
  description.lfOrientation = angle * 10;
  m.Font = CreateFontIndirectA(&description);
  m.OldFont = SelectObject(m.MetaDc, m.Font);
}

void YYMetaText(int x1, int y1, int x2, int y2, int align, int opaque, std::string_view text) {
  if (recording()) hardcopyText(yyMetaContext.MetaDc, yyMetaContext, x1, y1, x2, y2, align, opaque, text);
}
