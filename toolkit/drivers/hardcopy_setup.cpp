#include "toolkit/drivers/hardcopy_setup.h"

#include <string_view>

#include "toolkit/drivers/printer_device.h"

YYRasterDevice yyRasterDevice;
YYDumpSettings yyDumpSettings;
FixedText<260> yyHardcopyOutputName;

namespace {

constexpr int kFirstCode = 2;
constexpr int kLastCode = 38;
constexpr int kUnusableCode = 27;
constexpr int kDefaultCode = 28;

// One entry per printer code 2-38: type letter, planes digit, class letter,
// compression digit, and "2" when the printer also takes HP-GL/2.
constexpr std::array<std::string_view, kLastCode - kFirstCode + 1> kPrinterCodes = {
    "M1M0 ", "F1M0 ", "F1M0 ", "F1M0 ", "F1M0 ", "M1M0 ", "M1M0 ", "S1M0 ", "L1M0 ",  // 2-10
    "L1M0 ", "M1M0 ", "P3R1 ", "D1M2 ", "M1M0 ", "M1M0 ", "Q1M0 ", "Q1M0 ", "X1M0 ",  // 11-19
    "X1M0 ", "D3R2 ", "D1M2 ", "F3C0 ", "F3C0 ", "Q3C0 ", "Q3C0 ", " 1M0 ", "L1M22",  // 20-28
    "41M22", "33R1 ", "D3C2 ", "D3C22", "51M2 ", "53C2 ", "L3C22", "21M1 ", "23C1 ",  // 29-37
    "43C22",                                                                          // 38
};
constexpr std::string_view kTypeLetters = "MFSXQ2LDP345";
constexpr std::string_view kClassLetters = "RC";

// Per printer type 1-12: resolutions best first, pins per pass, line spacing
// (0: unchanged) and the type it is driven as.
struct PrinterType {
  std::array<int, 4> resolutions;
  int resolutionCount;
  int pins;
  int lineSpacing;
  int drivenAs;
};
constexpr std::array<PrinterType, 12> kPrinterTypes = {{
    {{240, 120, 60, 0}, 3, 8, 23, 1},
    {{240, 120, 90, 80}, 4, 8, 23, 2},
    {{160, 80, 0, 0}, 2, 8, 22, 3},
    {{360, 180, 120, 60}, 4, 24, 29, 4},
    {{360, 180, 120, 90}, 4, 24, 24, 5},
    {{720, 360, 180, 0}, 3, 1, 0, 6},
    {{300, 150, 100, 75}, 4, 1, 0, 7},
    {{300, 150, 100, 75}, 4, 1, 0, 8},
    {{180, 90, 0, 0}, 2, 1, 0, 9},
    {{300, 150, 100, 75}, 4, 1, 0, 10},
    {{600, 300, 200, 150}, 4, 1, 0, 7},
    {{300, 150, 75, 0}, 3, 1, 0, 8},
}};

int positionIn(std::string_view letters, char c) {
  const std::size_t at = letters.find(c);
  return at == std::string_view::npos ? 0 : static_cast<int>(at) + 1;
}

bool usableCode(int code) { return code >= kFirstCode && code <= kLastCode && code != kUnusableCode; }

void applyType(YYRasterDevice& device, int type) {
  if (type < 1 || type > static_cast<int>(kPrinterTypes.size())) return;
  const PrinterType& t = kPrinterTypes[static_cast<std::size_t>(type - 1)];
  device.resolutions = t.resolutions;
  device.resolutionCount = t.resolutionCount;
  device.pinsPerPass = t.pins;
  if (t.lineSpacing != 0) device.lineSpacingCode = t.lineSpacing;
  device.printerType = t.drivenAs;
}

}  // namespace

void YYHardcopyDevice(int deviceCode) {
  YYRasterDevice& device = yyRasterDevice;
  int code = kDefaultCode;
  if (usableCode(deviceCode)) {
    code = deviceCode;
    device.deviceCodeGiven = 1;
  }
  device.deviceCode = code;
  const std::string_view entry = kPrinterCodes[static_cast<std::size_t>(code - kFirstCode)];
  const int type = positionIn(kTypeLetters, entry[0]);
  device.printerType = type;
  device.devicePlanes = entry[1] - '0';
  device.deviceClass = positionIn(kClassLetters, entry[2]);
  device.defaultCompression = entry[3] - '0';
  if (entry[4] == '2' && device.hpgl2ModelGiven == 0) YYHpgl2Model(0);
  device.pinsPerPass = type <= 5 ? 8 : 1;
  if (type <= 5) device.lineSpacingCode = 23;
  applyType(device, type);
}

void YYPlotterModel(int modelCode) {
  YYRasterDevice& device = yyRasterDevice;
  if (modelCode >= 1 && modelCode <= 10) {
    device.plotterModel = modelCode;
    device.plotterModelGiven = 1;
  } else if (modelCode >= 11 && modelCode <= 15) {
    device.hpgl2Model = modelCode - 10;
    device.hpgl2ModelGiven = 1;
    device.plotterModel = 1;
  } else {
    device.plotterModel = 1;
  }
}

void YYHpgl2Model(int model) {
  YYRasterDevice& device = yyRasterDevice;
  if (model >= 1 && model <= 5) {
    device.hpgl2Model = model;
    device.hpgl2ModelGiven = 1;
    return;
  }
  switch (device.deviceCode) {
    case 32:
    case 35:
      device.hpgl2Model = 2;
      break;
    case 29:
      device.hpgl2Model = 3;
      break;
    case 38:
      device.hpgl2Model = 5;
      break;
    default:
      device.hpgl2Model = 1;
      break;
  }
}

void YYHardcopyFileNames(int dumpKind) {
  YYDumpSettings& dump = yyDumpSettings;
  dump.dumpKind = dumpKind == kDumpPostScript ? kDumpPostScript : kDumpWindowsPrinter;
  if (dump.dumpKind == kDumpWindowsPrinter) {
    int colours = 0;
    int error = 0;
    YYFpuSave();
    YYPrinterCaps(dump.paperWidth, dump.paperHeight, dump.pageWidth, dump.pageHeight, dump.offsetX,
                  dump.offsetY, dump.orientation, dump.copies, colours, error);
    YYFpuRestore();
    dump.printerPresent = error == 0 ? 1 : 0;
    // Only a PostScript dump goes to a file of its own.
    dump.fileName = "";
  } else {
    dump.pageWidth = 756;
    dump.pageHeight = 540;
    dump.offsetX = 42;
    dump.offsetY = -20;
    dump.orientation = 1;
    dump.copies = 1;
    dump.fileName = "zndvdump.ps";
  }
  dump.mono = 0;
  dump.resolutionLimit = 0;
  dump.resetFlags = 3;
  dump.compression = 0;
}

void YYVersionText(TextField out, int kind) { out.assign(kind == 2 ? "5.10g" : ""); }
