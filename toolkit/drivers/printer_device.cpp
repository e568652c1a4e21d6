#include "toolkit/drivers/printer_device.h"

#include <windows.h>
#include <winspool.h>
#if defined(__x86_64__)
#include <xmmintrin.h>
#endif

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <utility>
#include <vector>

#include "toolkit/core/scoped_handle.h"
#include "toolkit/core/window_table.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/screen_gdi.h"

YYChosenPrinter yyChosenPrinter;
YYPrinterSettings yyPrinterSettings;
std::uint16_t yyFpuControlWord = 0;
std::uint32_t yyFpuSseControlWord = 0;

namespace {

int lastErrorCode() {
  const DWORD code = GetLastError();
  return code != 0 ? static_cast<int>(code) : ERROR_INVALID_PRINTER_NAME;
}

struct PrinterHandleTraits {
  using Handle = HANDLE;
  static Handle none() { return nullptr; }
  static void close(Handle h) { ClosePrinter(h); }
};
using PrinterHandle = ScopedHandle<PrinterHandleTraits>;

// The device context and page size in device pixels of the print of the window.
struct DumpPage {
  DeviceContext dc;
  int width = 0;
  int height = 0;
};
DumpPage dumpPage;

// Asks the printer for a kept setting only when it is set and the printer
// lists the field.
template <typename Field>
void requestSetting(DEVMODEA& mode, DWORD supported, DWORD field, int kept, int notSet, Field& target) {
  if (kept == notSet || (supported & field) == 0) return;
  target = static_cast<Field>(kept);
  mode.dmFields |= field;
}

void requestKeptSettings(DEVMODEA& mode, DWORD supported) {
  const YYPrinterSettings& s = yyPrinterSettings;
  requestSetting(mode, supported, DM_PAPERSIZE, s.paperSize, -1, mode.dmPaperSize);
  requestSetting(mode, supported, DM_PAPERLENGTH, s.paperLength, -1, mode.dmPaperLength);
  requestSetting(mode, supported, DM_PAPERWIDTH, s.paperWidth, -1, mode.dmPaperWidth);
  requestSetting(mode, supported, DM_SCALE, s.scale, -1, mode.dmScale);
  requestSetting(mode, supported, DM_DEFAULTSOURCE, s.defaultSource, -1, mode.dmDefaultSource);
  requestSetting(mode, supported, DM_PRINTQUALITY, s.printQuality, -1, mode.dmPrintQuality);
  requestSetting(mode, supported, DM_COLOR, s.colour, -1, mode.dmColor);
  requestSetting(mode, supported, DM_DUPLEX, s.duplex, -1, mode.dmDuplex);
  requestSetting(mode, supported, DM_YRESOLUTION, s.yResolution, -1, mode.dmYResolution);
  requestSetting(mode, supported, DM_TTOPTION, s.trueTypeOption, -1, mode.dmTTOption);
  requestSetting(mode, supported, DM_COLLATE, s.collate, -1, mode.dmCollate);
  requestSetting(mode, supported, DM_MEDIATYPE, s.mediaType, 99999, mode.dmMediaType);
  requestSetting(mode, supported, DM_DITHERTYPE, s.ditherType, 99999, mode.dmDitherType);
}

// Bits per pixel of a device-dependent bitmap as a DIB can hold them.
int dibBitCount(HBITMAP bitmap) {
  BITMAP info{};
  GetObjectA(bitmap, sizeof info, &info);
  const int bits = info.bmPlanes * info.bmBitsPixel;
  if (bits <= 1) return 1;
  if (bits <= 4) return 4;
  if (bits <= 8) return 8;
  return 24;
}

}  // namespace

bool YYPrinterEntrySplit(std::string_view entry, YYChosenPrinter& printer) {
  const std::size_t first = entry.find(',');
  if (first == std::string_view::npos) return false;
  const std::size_t second = entry.find(',', first + 1);
  if (second == std::string_view::npos) return false;
  auto afterBlanks = [entry](std::size_t from) {
    while (from < entry.size() && entry[from] == ' ') ++from;
    return from;
  };
  const std::size_t driverStart = afterBlanks(first + 1);
  printer.device = std::string(entry.substr(0, first));
  printer.driver = driverStart < second ? std::string(entry.substr(driverStart, second - driverStart)) : "";
  printer.port = std::string(entry.substr(afterBlanks(second + 1)));
  return true;
}

void YYFpuSave() {
  __asm__ volatile("fnstcw %0" : "=m"(yyFpuControlWord));
#if defined(__x86_64__)
  yyFpuSseControlWord = _mm_getcsr();
#endif
}

void YYFpuRestore() {
  __asm__ volatile("fldcw %0" : : "m"(yyFpuControlWord));
#if defined(__x86_64__)
  _mm_setcsr(yyFpuSseControlWord);
#endif
}

int YYDefaultPrinter() {
  char entry[552] = {};
  GetProfileStringA("windows", "Device", "", entry, sizeof entry);
  if (!YYPrinterEntrySplit(entry, yyChosenPrinter)) return 0;
  yyChosenPrinter.chosen = 1;
  return 1;
}

void YYPrinterCaps(int& paperWidth, int& paperHeight, int& pageWidth, int& pageHeight, int& offsetX,
                   int& offsetY, int& orientation, int& copies, int& colourCount, int& error) {
  paperWidth = paperHeight = pageWidth = pageHeight = offsetX = offsetY = orientation = copies =
      colourCount = 0;
  if (yyChosenPrinter.chosen == 0) {
    SetLastError(0);
    if (YYDefaultPrinter() == 0) {
      error = lastErrorCode();
      return;
    }
    yyPrinterSettings.pageSetupRemembered = 0;
  }
  const DeviceContext ic(
      CreateICA(yyChosenPrinter.driver.c_str(), yyChosenPrinter.device.c_str(), nullptr, nullptr));
  if (!ic) {
    error = lastErrorCode();
    return;
  }
  error = 0;
  const int dpiX = std::max(1, GetDeviceCaps(ic.get(), LOGPIXELSX));
  const int dpiY = std::max(1, GetDeviceCaps(ic.get(), LOGPIXELSY));
  offsetX = offsetY = 72;
  orientation = 1;
  const int w = GetDeviceCaps(ic.get(), PHYSICALWIDTH) * 72 / dpiX;
  const int h = GetDeviceCaps(ic.get(), PHYSICALHEIGHT) * 72 / dpiY;
  paperWidth = std::max(w, h);
  paperHeight = std::min(w, h);
  pageWidth = paperWidth - 144;
  pageHeight = paperHeight - 144;
  copies = 1;
  colourCount = GetDeviceCaps(ic.get(), NUMCOLORS);
  const int remembered = yyPrinterSettings.pageSetupRemembered;
  yyPrinterSettings = YYPrinterSettings{};
  yyPrinterSettings.pageSetupRemembered = remembered;
}

HDC YYPrinterCreateDC(int orientation, int copies) {
  YYChosenPrinter& printer = yyChosenPrinter;
  PrinterHandle handle;
  if (!OpenPrinterA(printer.device.data(), handle.receive(), nullptr) || !handle) return nullptr;
  HWND parent = slotOf(0).client;
  const LONG size = DocumentPropertiesA(parent, handle.get(), printer.device.data(), nullptr, nullptr, 0);
  std::vector<std::byte> block(size > 0 ? static_cast<std::size_t>(size) : 0);
  DEVMODEA* mode = nullptr;
  if (block.size() >= sizeof(DEVMODEA) &&
      DocumentPropertiesA(parent, handle.get(), printer.device.data(), reinterpret_cast<DEVMODEA*>(block.data()),
                          nullptr, DM_OUT_BUFFER) >= 0) {
    mode = reinterpret_cast<DEVMODEA*>(block.data());
    const DWORD supported = mode->dmFields;
    mode->dmFields = 0;
    if (supported & DM_ORIENTATION) {
      mode->dmOrientation = orientation != 0 ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
      mode->dmFields |= DM_ORIENTATION;
    }
    if (supported & DM_COPIES) {
      mode->dmCopies = static_cast<short>(copies);
      mode->dmFields |= DM_COPIES;
    }
    requestKeptSettings(*mode, supported);
    if (mode->dmFields != 0) {
      DocumentPropertiesA(parent, handle.get(), printer.device.data(), mode, mode, DM_IN_BUFFER | DM_OUT_BUFFER);
    }
  }
  return CreateDCA(printer.driver.c_str(), printer.device.c_str(), printer.port.c_str(), mode);
}

void YYPrinterStartPage(int pageWidth, int pageHeight, int offsetX, int offsetY, int& error, int orientation,
                        int copies, std::string_view documentName) {
  dumpPage = DumpPage{};
  DeviceContext dc(YYPrinterCreateDC(orientation, copies));
  error = 1;
  if (!dc) return;
  const std::string name(documentName);
  DOCINFOA document{};
  document.cbSize = sizeof document;
  document.lpszDocName = name.c_str();
  // A document the spooler refuses is no page to print on.
  if (StartDocA(dc.get(), &document) <= 0) return;
  error = 0;
  const int dpiX = std::max(1, GetDeviceCaps(dc.get(), LOGPIXELSX));
  const int dpiY = std::max(1, GetDeviceCaps(dc.get(), LOGPIXELSY));
  const int marginX = GetDeviceCaps(dc.get(), PHYSICALOFFSETX);
  const int marginY = GetDeviceCaps(dc.get(), PHYSICALOFFSETY);
  dumpPage.width = pageWidth * dpiX / 72;
  dumpPage.height = pageHeight * dpiY / 72;
  StartPage(dc.get());
  SetWindowOrgEx(dc.get(), marginX - offsetX * dpiX / 72, marginY - offsetY * dpiY / 72, nullptr);
  SetWindowExtEx(dc.get(), dumpPage.width, dumpPage.height, nullptr);
  SetBkMode(dc.get(), TRANSPARENT);
  dumpPage.dc = std::move(dc);
}

void YYPrinterBitmap(int x1, int y1, int x2, int y2, int& error) {
  error = 1;
  HDC source = yyGdiContext.DrawDc;
  const int width = x2 - x1 + 1;
  const int height = y2 - y1 + 1;
  if (!dumpPage.dc || source == nullptr || width <= 0 || height <= 0) return;
  const DeviceContext memory(CreateCompatibleDC(source));
  const GdiObject bitmap(CreateCompatibleBitmap(source, width, height));
  if (!memory || !bitmap) return;
  HGDIOBJ previous = SelectObject(memory.get(), bitmap.get());
  BitBlt(memory.get(), 0, 0, width, height, source, x1, y1, SRCCOPY);
  HPALETTE palette = yyGdiContext.Palette != nullptr ? yyGdiContext.Palette
                                                    : static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
  SelectPalette(memory.get(), palette, FALSE);
  RealizePalette(memory.get());
  // GetDIBits wants the bitmap out of every device context.
  SelectObject(memory.get(), previous);

  auto hbitmap = static_cast<HBITMAP>(bitmap.get());
  const int bits = dibBitCount(hbitmap);
  std::vector<std::byte> block(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
  auto header = [&block] { return reinterpret_cast<BITMAPINFOHEADER*>(block.data()); };
  header()->biSize = sizeof(BITMAPINFOHEADER);
  header()->biWidth = width;
  header()->biHeight = height;
  header()->biPlanes = 1;
  header()->biBitCount = static_cast<WORD>(bits);
  header()->biCompression = BI_RGB;
  auto info = [&block] { return reinterpret_cast<BITMAPINFO*>(block.data()); };
  if (GetDIBits(memory.get(), hbitmap, 0, static_cast<UINT>(height), nullptr, info(), DIB_RGB_COLORS) == 0) return;
  std::size_t imageSize = header()->biSizeImage;
  if (imageSize == 0) {
    imageSize = static_cast<std::size_t>((width * bits + 31) / 32) * 4 * static_cast<std::size_t>(height);
    if (header()->biCompression != BI_RGB) imageSize = imageSize * 3 / 2;
  }
  const std::size_t bitsAt = sizeof(BITMAPINFOHEADER) + static_cast<std::size_t>(YYDibColourCount(*header()));
  block.resize(std::max(block.size(), bitsAt) + imageSize);
  if (GetDIBits(memory.get(), hbitmap, 0, static_cast<UINT>(height), block.data() + bitsAt, info(),
                DIB_RGB_COLORS) == 0) {
    return;
  }
  if (StretchDIBits(dumpPage.dc.get(), 0, 0, dumpPage.width, dumpPage.height, 0, 0, width, height,
                    block.data() + bitsAt, info(), DIB_RGB_COLORS, SRCCOPY) == static_cast<int>(GDI_ERROR)) {
    return;
  }
  error = 0;
}

void YYPrinterEndPage() {
  if (!dumpPage.dc) return;
  EndPage(dumpPage.dc.get());
  EndDoc(dumpPage.dc.get());
  dumpPage = DumpPage{};
}

int YYDibColourCount(const BITMAPINFOHEADER& header) {
  int bitCount = 0;
  int entrySize = static_cast<int>(sizeof(RGBQUAD));
  if (header.biSize == sizeof(BITMAPCOREHEADER)) {
    bitCount = reinterpret_cast<const BITMAPCOREHEADER&>(header).bcBitCount;
    entrySize = static_cast<int>(sizeof(RGBTRIPLE));
  } else if (header.biClrUsed != 0) {
    return static_cast<int>(header.biClrUsed) * entrySize;
  } else {
    bitCount = header.biBitCount;
  }
  switch (bitCount) {
    case 1:
      return 2 * entrySize;
    case 4:
      return 16 * entrySize;
    case 8:
      return 256 * entrySize;
    default:
      return 0;
  }
}
