#include "toolkit/drivers/printer_device.h"

#include <windows.h>

#include <algorithm>
#include <string_view>

YYChosenPrinter yyChosenPrinter;
YYPrinterSettings yyPrinterSettings;

namespace {

unsigned short fpuControlWord = 0;

int lastErrorCode() {
  const DWORD code = GetLastError();
  return code != 0 ? static_cast<int>(code) : ERROR_INVALID_PRINTER_NAME;
}

// "device,driver,port": blanks after each comma are skipped.
void splitDeviceEntry(std::string_view entry, YYChosenPrinter& printer) {
  auto nextPart = [&entry](bool last) {
    std::string_view part = entry;
    const std::size_t comma = last ? std::string_view::npos : entry.find(',');
    if (comma != std::string_view::npos) {
      part = entry.substr(0, comma);
      entry.remove_prefix(comma + 1);
      while (!entry.empty() && entry.front() == ' ') entry.remove_prefix(1);
    } else {
      entry = {};
    }
    return std::string(part);
  };
  printer.device = nextPart(false);
  printer.driver = nextPart(false);
  printer.port = nextPart(true);
}

struct InformationContext {
  HDC dc;
  ~InformationContext() {
    if (dc != nullptr) DeleteDC(dc);
  }
};

}  // namespace

void YYFpuSave() { __asm__ volatile("fnstcw %0" : "=m"(fpuControlWord)); }
void YYFpuRestore() { __asm__ volatile("fldcw %0" : : "m"(fpuControlWord)); }

int YYDefaultPrinter() {
  char entry[552] = {};
  GetProfileStringA("windows", "Device", "", entry, sizeof entry);
  if (entry[0] == '\0') return 0;
  splitDeviceEntry(entry, yyChosenPrinter);
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
  const InformationContext ic{CreateICA(yyChosenPrinter.driver.c_str(), yyChosenPrinter.device.c_str(),
                                        nullptr, nullptr)};
  if (ic.dc == nullptr) {
    error = lastErrorCode();
    return;
  }
  error = 0;
  const int dpiX = std::max(1, GetDeviceCaps(ic.dc, LOGPIXELSX));
  const int dpiY = std::max(1, GetDeviceCaps(ic.dc, LOGPIXELSY));
  offsetX = offsetY = 72;
  orientation = 1;
  const int w = GetDeviceCaps(ic.dc, PHYSICALWIDTH) * 72 / dpiX;
  const int h = GetDeviceCaps(ic.dc, PHYSICALHEIGHT) * 72 / dpiY;
  paperWidth = std::max(w, h);
  paperHeight = std::min(w, h);
  pageWidth = paperWidth - 144;
  pageHeight = paperHeight - 144;
  copies = 1;
  colourCount = GetDeviceCaps(ic.dc, NUMCOLORS);
  const int remembered = yyPrinterSettings.pageSetupRemembered;
  yyPrinterSettings = YYPrinterSettings{};
  yyPrinterSettings.pageSetupRemembered = remembered;
}
