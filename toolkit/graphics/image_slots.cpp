// Enhanced-metafile slots and memory bitmap slots.
#include "toolkit/graphics/image_slots.h"

#include <algorithm>
#include <span>
#include <string>

#include "toolkit/core/fixed_text.h"
#include "toolkit/core/scoped_handle.h"
#include "toolkit/core/window_table.h"
#include "toolkit/drivers/printer_device.h"
#include "toolkit/graphics/bitmap_view.h"
#include "toolkit/graphics/image_bytes.h"
#include "toolkit/graphics/screen_gdi.h"

std::array<YYEmfSlot, kImageSlots> yyEmfSlots{};
std::array<YYBitmapSlot, kImageSlots> yyBitmapSlots{};

namespace {

YYEmfSlot& emfAt(int n) { return yyEmfSlots[static_cast<std::size_t>(n)]; }
YYBitmapSlot& bitmapAt(int index) { return yyBitmapSlots[static_cast<std::size_t>(index)]; }

std::string fileNameOf(std::string_view name) {
  std::string file(text::trimmed(name));
  if (const auto nul = file.find('\0'); nul != std::string::npos) file.resize(nul);
  return file;
}

// A context that is about to go (a closed recording, a deleted bitmap's
// memory context) must not stay the drawing context: the current pen and font
// are taken out of it so that they survive it.
void detachFromDrawing(HDC dc) {
  YYGdiContext& g = yyGdiContext;
  if (dc == nullptr || g.DrawDc != dc) return;
  if (g.OldPen != nullptr) SelectObject(dc, g.OldPen);
  if (g.OldFont != nullptr) SelectObject(dc, g.OldFont);
  g.OldPen = nullptr;
  g.OldFont = nullptr;
  g.DrawDc = nullptr;
  g.MetafileTarget = 0;
}

// ---- Enhanced metafiles ----

// A recording is closed into the entry's metafile; the context handle stays
// behind as the "in use" mark.
void closeRecording(int n) {
  YYEmfSlot& e = emfAt(n);
  if (e.RecordingDc == nullptr || e.Metafile != nullptr) return;
  detachFromDrawing(e.RecordingDc);
  e.Metafile = CloseEnhMetaFile(e.RecordingDc);
}

// The reference device of a new recording: the default printer's information
// context, else the screen.  Deleted or released when it goes.
class ReferenceDevice {
 public:
  ReferenceDevice() {
    char entry[552] = {};
    GetProfileStringA("windows", "Device", "", entry, sizeof entry);
    YYChosenPrinter printer;
    if (YYPrinterEntrySplit(entry, printer)) {
      dc_ = CreateICA(printer.driver.c_str(), printer.device.c_str(), nullptr, nullptr);
    }
    if (dc_ == nullptr) {
      dc_ = GetDC(nullptr);
      screen_ = true;
    }
  }
  ~ReferenceDevice() {
    if (dc_ == nullptr) return;
    if (screen_) {
      ReleaseDC(nullptr, dc_);
    } else {
      DeleteDC(dc_);
    }
  }
  ReferenceDevice(const ReferenceDevice&) = delete;
  ReferenceDevice& operator=(const ReferenceDevice&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_ = nullptr;
  bool screen_ = false;
};

// Points to pixels of the reference device, through millimetres.
int pointsToPixels(int points, int pixels, int millimetres) {
  if (millimetres <= 0) return 0;
  return static_cast<int>(points * static_cast<double>(pixels) * 254.0 / (720.0 * millimetres));
}

}  // namespace

HENHMETAFILE YYEmfClosedMetafile(int n) {
  if (!isImageSlotIndex(n)) return nullptr;
  closeRecording(n);
  return emfAt(n).Metafile;
}

void YYEMFCREATE(int n, int width, int height, int& pixelWidth, int& pixelHeight) {
  pixelWidth = 0;
  pixelHeight = 0;
  if (!isImageSlotIndex(n)) return;
  // A new recording replaces whatever the entry held; nothing leaks.
  if (emfAt(n).RecordingDc != nullptr) YYEMFDELETE(n);
  const ReferenceDevice reference;
  HDC ref = reference.get();
  if (ref == nullptr) return;
  pixelWidth = pointsToPixels(width, GetDeviceCaps(ref, HORZRES), GetDeviceCaps(ref, HORZSIZE));
  pixelHeight = pointsToPixels(height, GetDeviceCaps(ref, VERTRES), GetDeviceCaps(ref, VERTSIZE));
  const RECT frame{0, 0, width * 2540 / 72, height * 2540 / 72};
  HDC recording = CreateEnhMetaFileA(ref, nullptr, &frame, nullptr);
  YYEmfSlot& e = emfAt(n);
  e = YYEmfSlot{};
  e.RecordingDc = recording;
  yyGdiContext.MetafileResolution = GetDeviceCaps(ref, LOGPIXELSX);
}

void YYEMFSELECT(int n, int width, int height, int& status) {
  status = 1;
  if (!isImageSlotIndex(n)) return;
  const YYEmfSlot& e = emfAt(n);
  if (e.RecordingDc == nullptr || e.Metafile != nullptr) return;
  YYGdiContext& g = yyGdiContext;
  HDC dc = e.RecordingDc;
  g.MetafileTarget = 1;
  SetWindowExtEx(dc, width, height, nullptr);
  g.DrawDc = dc;
  g.DrawBitmap = nullptr;
  g.DrawWindow = nullptr;
  SetROP2(dc, g.RopCode);
  SetBkMode(dc, TRANSPARENT);
  g.OldPen = g.Pen ? SelectObject(dc, g.Pen.get()) : nullptr;
  g.OldFont = g.Font ? SelectObject(dc, g.Font.get()) : nullptr;
  YYGdiDashPattern();
  status = 0;
}

void YYEMFCLIP(int n) {
  HENHMETAFILE metafile = YYEmfClosedMetafile(n);
  if (metafile == nullptr) return;
  HENHMETAFILE copy = CopyEnhMetaFileA(metafile, nullptr);
  if (copy == nullptr) return;
  if (!OpenClipboard(nullptr)) {
    DeleteEnhMetaFile(copy);
    return;
  }
  EmptyClipboard();
  if (SetClipboardData(CF_ENHMETAFILE, copy) == nullptr) DeleteEnhMetaFile(copy);
  CloseClipboard();
}

void YYEMFSAVE(int n, int& status, int& systemError, std::string_view fileName) {
  status = 1;
  systemError = 0;
  HENHMETAFILE metafile = YYEmfClosedMetafile(n);
  if (metafile == nullptr) {
    systemError = ERROR_INVALID_HANDLE;
    return;
  }
  const std::string file = fileNameOf(fileName);
  HENHMETAFILE copy = CopyEnhMetaFileA(metafile, file.c_str());
  if (copy == nullptr) {
    systemError = static_cast<int>(GetLastError());
    return;
  }
  DeleteEnhMetaFile(copy);
  status = 0;
}

void YYEMFLOAD(int n, int size, int& status, int& systemError, std::string_view fileName) {
  status = 1;
  systemError = 0;
  if (!isImageSlotIndex(n)) {
    systemError = ERROR_INVALID_HANDLE;
    return;
  }
  if (emfAt(n).RecordingDc != nullptr) YYEMFDELETE(n);
  if (size <= 0) {
    status = 2;
    return;
  }
  const std::string file = fileNameOf(fileName);
  const FileHandle handle(
      CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle) {
    systemError = static_cast<int>(GetLastError());
    return;
  }
  status = 2;
  // A byte count beyond the file is a short read, found before room is taken.
  LARGE_INTEGER fileSize{};
  if (!GetFileSizeEx(handle.get(), &fileSize)) {
    systemError = static_cast<int>(GetLastError());
    return;
  }
  if (fileSize.QuadPart < size) {
    systemError = ERROR_HANDLE_EOF;
    return;
  }
  const GlobalMemory block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<SIZE_T>(size)));
  if (!block) {
    systemError = static_cast<int>(GetLastError());
    return;
  }
  auto* bits = static_cast<BYTE*>(GlobalLock(block.get()));
  if (bits == nullptr) {
    systemError = static_cast<int>(GetLastError());
    return;
  }
  DWORD read = 0;
  const BOOL ok = ReadFile(handle.get(), bits, static_cast<DWORD>(size), &read, nullptr);
  HENHMETAFILE metafile = nullptr;
  if (!ok || read != static_cast<DWORD>(size)) {
    // A read that came back short without failing names no error of its own.
    systemError = ok ? ERROR_HANDLE_EOF : static_cast<int>(GetLastError());
  } else if (!YYEmfRecordsSound(std::span<const BYTE>(bits, static_cast<std::size_t>(size)))) {
    // The system plays what it is given without checking it: damaged records
    // would crash, hang or corrupt the program at the next play.
    systemError = ERROR_INVALID_DATA;
  } else {
    metafile = SetEnhMetaFileBits(static_cast<UINT>(size), bits);
  }
  GlobalUnlock(block.get());
  if (metafile == nullptr) {
    if (systemError == 0) systemError = static_cast<int>(GetLastError());
    return;
  }
  YYEmfSlot& e = emfAt(n);
  e.Metafile = metafile;
  e.RecordingDc = GetDC(nullptr);
  e.ScreenMark = true;
  status = 0;
}

bool YYEmfRecordsSound(std::span<const BYTE> bytes) {
  constexpr std::size_t kHeaderLeast = 88;  // the header record up to its palette fields
  constexpr std::size_t kRecordLeast = 8;   // type and size
  const auto word = [&bytes](std::size_t at) {
    std::uint32_t value = 0;
    YYGetIntLE(bytes.data() + at, 4, value);
    return value;
  };
  if (bytes.size() < kHeaderLeast) return false;
  const std::uint32_t headerSize = word(4);
  const std::uint32_t totalBytes = word(48);
  const std::uint32_t handles = word(56) & 0xFFFF;
  if (word(0) != EMR_HEADER || word(40) != ENHMETA_SIGNATURE || headerSize < kHeaderLeast || handles < 1 ||
      totalBytes > bytes.size()) {
    return false;
  }
  // The chain of records, each whole within the bytes, up to the end record.
  for (std::size_t at = 0; at + kRecordLeast <= bytes.size();) {
    const std::uint32_t type = word(at);
    const std::uint32_t recordSize = word(at + 4);
    if (recordSize < kRecordLeast || recordSize % 4 != 0 || recordSize > bytes.size() - at) return false;
    if (type == EMR_EOF) return true;
    at += recordSize;
  }
  return false;
}

void YYEMFPLAY(int n, int left, int top, int right, int bottom) {
  HENHMETAFILE metafile = YYEmfClosedMetafile(n);
  HDC dc = yyGdiContext.DrawDc;
  if (metafile == nullptr || dc == nullptr) return;
  const bool clipped = static_cast<bool>(yyGdiContext.ClipRegion);
  if (clipped) SelectClipRgn(dc, static_cast<HRGN>(yyGdiContext.ClipRegion.get()));
  const RECT frame{left, top, right, bottom};
  PlayEnhMetaFile(dc, metafile, &frame);
  if (clipped) SelectClipRgn(dc, nullptr);
}

void YYEMFDELETE(int n) {
  if (!isImageSlotIndex(n)) return;
  closeRecording(n);
  YYEmfSlot& e = emfAt(n);
  if (e.Metafile != nullptr) DeleteEnhMetaFile(e.Metafile);
  if (e.ScreenMark && e.RecordingDc != nullptr) ReleaseDC(nullptr, e.RecordingDc);
  e = YYEmfSlot{};
}

// ---- Bitmaps ----

namespace {

int transferMode = kTransferCopy;

bool isFilled(int index) { return isImageSlotIndex(index) && bitmapAt(index).bitmap != nullptr; }

// The bitmap's own context: the drawing context when the bitmap is the current
// target (it cannot be selected into a second one), else a temporary memory
// context with the bitmap selected.
class BitmapContext {
 public:
  explicit BitmapContext(HBITMAP bitmap) {
    if (bitmap == yyGdiContext.DrawBitmap && yyGdiContext.DrawDc != nullptr) {
      dc_ = yyGdiContext.DrawDc;
      return;
    }
    own_.reset(CreateCompatibleDC(nullptr));
    if (!own_) return;
    old_ = SelectObject(own_.get(), bitmap);
    if (old_ == nullptr) {
      own_.reset();
      return;
    }
    if (yyGdiContext.Palette != nullptr) {
      SelectPalette(own_.get(), yyGdiContext.Palette, FALSE);
      RealizePalette(own_.get());
    }
    dc_ = own_.get();
  }
  ~BitmapContext() {
    if (own_ && old_ != nullptr) SelectObject(own_.get(), old_);
  }
  BitmapContext(const BitmapContext&) = delete;
  BitmapContext& operator=(const BitmapContext&) = delete;
  HDC get() const { return dc_; }

 private:
  DeviceContext own_;
  HGDIOBJ old_ = nullptr;
  HDC dc_ = nullptr;
};

// The colour a palette display or a true-colour display shows for rgb.
COLORREF nearestColour(HDC dc, std::int32_t rgb, bool firstPaletteEntry) {
  const auto colour = static_cast<COLORREF>(rgb & 0xFFFFFF);
  HPALETTE palette = yyGdiContext.Palette;
  if (palette != nullptr) {
    return firstPaletteEntry ? PALETTEINDEX(0) : PALETTEINDEX(GetNearestPaletteIndex(palette, colour));
  }
  return GetNearestColor(dc, colour);
}

// The rectangle x1..x2, y1..y2 lies in the bitmap and its pixels fit the array.
bool pixelRectangleFits(const YYBitmapSlot& slot, std::size_t capacity, int x1, int y1, int x2, int y2) {
  if (x1 < 0 || y1 < 0 || x2 < x1 || y2 < y1 || x2 >= slot.width || y2 >= slot.height) return false;
  const auto count = static_cast<std::size_t>(x2 - x1 + 1) * static_cast<std::size_t>(y2 - y1 + 1);
  return count <= capacity;
}

std::size_t pixelIndex(int x, int y, int x1, int y1, int x2) {
  return static_cast<std::size_t>(y - y1) * static_cast<std::size_t>(x2 - x1 + 1) + static_cast<std::size_t>(x - x1);
}

}  // namespace

DWORD bitmapTransferRop() {
  switch (transferMode) {
    case kTransferOr: return SRCPAINT;
    case kTransferAnd: return SRCAND;
    case kTransferXor: return SRCINVERT;
    default: return SRCCOPY;
  }
}

void YYBitmapCreate(int& number, int width, int height, std::int32_t rgb) {
  number = 0;
  if (width <= 0 || height <= 0) return;
  const auto free = std::find_if(yyBitmapSlots.begin(), yyBitmapSlots.end(),
                                 [](const YYBitmapSlot& s) { return s.bitmap == nullptr; });
  if (free == yyBitmapSlots.end()) return;
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return;
  GdiObject bitmap(CreateCompatibleBitmap(screen, width, height));
  bool filled = false;
  if (bitmap) {
    const DeviceContext dc(CreateCompatibleDC(screen));
    if (dc) {
      HGDIOBJ old = SelectObject(dc.get(), bitmap.get());
      if (yyGdiContext.Palette != nullptr) {
        SelectPalette(dc.get(), yyGdiContext.Palette, FALSE);
        RealizePalette(dc.get());
      }
      const GdiObject brush(CreateSolidBrush(nearestColour(dc.get(), rgb, true)));
      const RECT all{0, 0, width, height};
      filled = brush && FillRect(dc.get(), &all, static_cast<HBRUSH>(brush.get())) != 0;
      SelectObject(dc.get(), old);
    }
  }
  ReleaseDC(nullptr, screen);
  if (!filled) return;
  *free = YYBitmapSlot{static_cast<HBITMAP>(bitmap.release()), width, height};
  number = static_cast<int>(free - yyBitmapSlots.begin()) + 1;
}

void YYBitmapDelete(int index, int& status) {
  if (!isFilled(index)) {
    status = kBitmapInvalid;
    return;
  }
  YYBitmapSlot& slot = bitmapAt(index);
  if (YYBitmapShownInView(slot.bitmap)) {
    status = kBitmapInView;
    return;
  }
  // A bitmap that is the drawing target leaves the drawing context first.
  YYGdiContext& g = yyGdiContext;
  if (g.DrawBitmap == slot.bitmap) {
    HDC dc = g.DrawDc;
    detachFromDrawing(dc);
    if (dc != nullptr) DeleteDC(dc);
    g.DrawBitmap = nullptr;
  }
  DeleteObject(slot.bitmap);
  slot = YYBitmapSlot{};
  status = kBitmapOk;
}

void YYBitmapSize(int index, int& width, int& height) {
  width = 0;
  height = 0;
  if (!isFilled(index)) return;
  width = bitmapAt(index).width;
  height = bitmapAt(index).height;
}

void YYBitmapMode(int mode) {
  if (mode >= kTransferCopy && mode <= kTransferXor) transferMode = mode;
}

void YYBitmapGet(int index, int x, int y, int width, int height, int& status) {
  YYBitmapBlit(index, x, y, 0, 0, width, height, 0, status);
}

void YYBitmapBlit(int index, int sx, int sy, int dx, int dy, int width, int height, int direction, int& status) {
  if (!isFilled(index)) {
    status = kBitmapInvalid;
    return;
  }
  const BitmapContext bitmap(bitmapAt(index).bitmap);
  HDC drawing = yyGdiContext.DrawDc;
  if (bitmap.get() == nullptr || drawing == nullptr) {
    status = kBitmapTransfer;
    return;
  }
  HDC to = direction == 0 ? bitmap.get() : drawing;
  HDC from = direction == 0 ? drawing : bitmap.get();
  status = BitBlt(to, dx, dy, width, height, from, sx, sy, bitmapTransferRop()) ? kBitmapOk : kBitmapTransfer;
}

void YYBitmapPut(int index, int stretch, int x, int y, int width, int height, int& status) {
  if (!isFilled(index)) {
    status = kBitmapInvalid;
    return;
  }
  const YYBitmapSlot& slot = bitmapAt(index);
  const BitmapContext bitmap(slot.bitmap);
  HDC drawing = yyGdiContext.DrawDc;
  if (bitmap.get() == nullptr || drawing == nullptr) {
    status = kBitmapTransfer;
    return;
  }
  BOOL ok = FALSE;
  if (stretch == 0) {
    ok = BitBlt(drawing, x, y, width, height, bitmap.get(), 0, 0, bitmapTransferRop());
  } else {
    SetStretchBltMode(drawing, COLORONCOLOR);
    ok = StretchBlt(drawing, x, y, width, height, bitmap.get(), 0, 0, slot.width, slot.height, bitmapTransferRop());
  }
  status = ok ? kBitmapOk : kBitmapTransfer;
}

void YYBitmapGetPixels(int index, std::span<std::int32_t> colours, int x1, int y1, int x2, int y2, int& status) {
  if (!isFilled(index)) {
    status = kBitmapInvalid;
    return;
  }
  const YYBitmapSlot& slot = bitmapAt(index);
  const BitmapContext bitmap(slot.bitmap);
  if (bitmap.get() == nullptr || !pixelRectangleFits(slot, colours.size(), x1, y1, x2, y2)) {
    status = kBitmapTransfer;
    return;
  }
  for (int y = y1; y <= y2; ++y) {
    for (int x = x1; x <= x2; ++x) {
      const COLORREF c = GetPixel(bitmap.get(), x, y);
      colours[pixelIndex(x, y, x1, y1, x2)] = static_cast<std::int32_t>(c == CLR_INVALID ? 0 : c & 0xFFFFFF);
    }
  }
  status = kBitmapOk;
}

void YYBitmapPutPixels(int index, std::span<const std::int32_t> colours, int x1, int y1, int x2, int y2,
                       int& status) {
  if (!isFilled(index)) {
    status = kBitmapInvalid;
    return;
  }
  const YYBitmapSlot& slot = bitmapAt(index);
  const BitmapContext bitmap(slot.bitmap);
  if (bitmap.get() == nullptr || !pixelRectangleFits(slot, colours.size(), x1, y1, x2, y2)) {
    status = kBitmapTransfer;
    return;
  }
  for (int y = y1; y <= y2; ++y) {
    for (int x = x1; x <= x2; ++x) {
      SetPixelV(bitmap.get(), x, y, nearestColour(bitmap.get(), colours[pixelIndex(x, y, x1, y1, x2)], false));
    }
  }
  status = kBitmapOk;
}

void YYBitmapLoadResource(int index, int resourceId, int& status) {
  if (!isFilled(index)) {
    status = kBitmapInvalid;
    return;
  }
  const HMODULE module = windowTable.module != nullptr ? windowTable.module : GetModuleHandleA(nullptr);
  const GdiObject resource(LoadBitmapA(module, MAKEINTRESOURCEA(resourceId & 0xFFFF)));
  BITMAP info{};
  if (!resource || GetObjectA(resource.get(), sizeof info, &info) == 0) {
    status = kBitmapTransfer;
    return;
  }
  const YYBitmapSlot& slot = bitmapAt(index);
  const BitmapContext target(slot.bitmap);
  const DeviceContext source(CreateCompatibleDC(nullptr));
  if (target.get() == nullptr || !source) {
    status = kBitmapTransfer;
    return;
  }
  HGDIOBJ old = SelectObject(source.get(), resource.get());
  const BOOL ok = BitBlt(target.get(), 0, 0, std::min(slot.width, static_cast<int>(info.bmWidth)),
                         std::min(slot.height, static_cast<int>(info.bmHeight)), source.get(), 0, 0, SRCCOPY);
  SelectObject(source.get(), old);
  status = ok ? kBitmapOk : kBitmapTransfer;
}

void YYBitmapResourceSize(int resourceId, int& width, int& height) {
  width = 0;
  height = 0;
  const HMODULE module = windowTable.module != nullptr ? windowTable.module : GetModuleHandleA(nullptr);
  const GdiObject resource(LoadBitmapA(module, MAKEINTRESOURCEA(resourceId & 0xFFFF)));
  BITMAP info{};
  if (!resource || GetObjectA(resource.get(), sizeof info, &info) == 0) return;
  width = info.bmWidth;
  height = info.bmHeight;
}

void YYBitmapToClipboard(int index, int& status) {
  if (!isFilled(index)) {
    status = kBitmapInvalid;
    return;
  }
  const YYBitmapSlot& slot = bitmapAt(index);
  status = kBitmapTransfer;
  const BitmapContext source(slot.bitmap);
  if (source.get() == nullptr) return;
  GdiObject copy(CreateCompatibleBitmap(source.get(), slot.width, slot.height));
  const DeviceContext to(CreateCompatibleDC(source.get()));
  if (!copy || !to) return;
  HGDIOBJ old = SelectObject(to.get(), copy.get());
  const BOOL copied = BitBlt(to.get(), 0, 0, slot.width, slot.height, source.get(), 0, 0, SRCCOPY);
  SelectObject(to.get(), old);
  if (!copied || !OpenClipboard(nullptr)) return;
  EmptyClipboard();
  // The clipboard owns the copy once it takes it.
  if (SetClipboardData(CF_BITMAP, copy.get()) != nullptr) {
    copy.release();
    status = kBitmapOk;
  }
  CloseClipboard();
}
