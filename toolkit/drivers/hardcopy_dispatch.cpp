#include "toolkit/drivers/hardcopy_dispatch.h"

#include <array>

#include "toolkit/drivers/cgm_driver.h"
#include "toolkit/drivers/dxf_driver.h"
#include "toolkit/drivers/hardcopy_options.h"
#include "toolkit/drivers/hpgl2_driver.h"
#include "toolkit/drivers/hpgl_driver.h"
#include "toolkit/drivers/postscript_driver.h"
#include "toolkit/drivers/raster_image_driver.h"
#include "toolkit/drivers/raster_printer.h"
#include "toolkit/drivers/svg_driver.h"
#include "toolkit/drivers/windows_metafile.h"
#include "toolkit/drivers/windows_printer.h"

int yyHardcopyDriverNumber = kWindowsPrinterDriver;
FixedText<kPlotTitleLength> yyPlotTitle;
HardcopyDriverStandIn yyHardcopyDriverStandIn;

namespace {

struct DriverEntry {
  int number;
  YYHardcopyDriver routine;
};

// The drivers that exist; a number not listed has none.
constexpr DriverEntry kDrivers[] = {
    {kPostScriptDriver, YYGPOST},
    {kSvgDriver, YYGSVG},
    {kDxfDriver, YYGDXF},
    {kHpglDriver, YYGHPGL},
    {kHpgl2Driver, YYGHPGL2},
    {kRasterPrinterDriver, YYGRASTPRN},
    {kRasterImageDriver, YYGRASTIMG},
    {kCgmDriver, YYGCGMFILE},
    {kWindowsPrinterDriver, YYGWINPRN},
    {kWindowsMetafileDriver, YYGWINMETA},
};

constexpr std::array<YYHardcopyDriver, kHighestDriverNumber + 1> driverTable() {
  std::array<YYHardcopyDriver, kHighestDriverNumber + 1> table{};
  for (const DriverEntry& entry : kDrivers) table[static_cast<std::size_t>(entry.number)] = entry.routine;
  return table;
}
constexpr std::array<YYHardcopyDriver, kHighestDriverNumber + 1> kDriverTable = driverTable();

}  // namespace

YYHardcopyDriver hardcopyDriver(int number) {
  if (number < 1 || number > kHighestDriverNumber) return nullptr;
  if (yyHardcopyDriverStandIn.routine != nullptr && yyHardcopyDriverStandIn.number == number) {
    return yyHardcopyDriverStandIn.routine;
  }
  return kDriverTable[static_cast<std::size_t>(number)];
}

void YYHCDISPATCH(YYGrPrimitive& primitive) {
  if (const YYHardcopyDriver driver = hardcopyDriver(yyHardcopyDriverNumber)) driver(primitive);
}

void YYHCSELECT(YYGrPrimitive& primitive, int driverNumber) {
  if (primitive != kOpInitialise) return;
  yyHardcopyDriverNumber = driverNumber;
  YYHCDISPATCH(primitive);
}

void YYDriverDefaults() {
  hardcopyOption(kOptColourInversion) = 0;
  hardcopyOption(kOptMonochrome) = 0;
  hardcopyOption(kOptCopies) = 1;
  hardcopyOption(kOptLineWidthTenths) = 5;
  hardcopyOption(kOptLineJoin) = 0;
  hardcopyOption(kOptLineCap) = 0;
  hardcopyOption(kOptLineBlank) = 0;
  constexpr std::array<std::int32_t, kDriverParameterCount> kParameters = {80, 60, 1, 999999, 1, 0, 0, 8};
  for (int i = 0; i < kDriverParameterCount; ++i) {
    hardcopyOption(kFirstDriverParameter + i) = kParameters[static_cast<std::size_t>(i)];
  }
}

bool YYHardcopyProbeAnswered(int driverNumber) {
  if (yyGrState.N != kDriverProbe) return false;
  yyGrState.N = driverNumber;
  return true;
}

void YYHardcopyDescribe(const HardcopyDeviceDescription& device) {
  YYGrState& s = yyGrState;
  if (device.resolution != 0) {
    s.ResolutionX = device.resolution;
    s.ResolutionY = device.resolution;
  }
  s.HardcopyColourCount = device.colourCount;
  s.HardcopyColourMax = device.colourMax;
  s.HardcopyToFile = device.toFile;
  s.HardcopyDeviceWord1 = device.deviceWord1;
  s.HardcopyDeviceWord2 = device.deviceWord2;
  s.HardcopyDeviceWord3 = device.deviceWord3;
  s.ShadeMode[kHardcopySide] = device.shadeMode;
  s.TrueColour[kHardcopySide] = device.trueColour;
  s.PlatformLevel[kHardcopySide] = device.platformLevel;
  s.FullCircle[kHardcopySide] = device.fullCircle;
  s.DeviceWord5[kHardcopySide] = device.deviceWord5;
  s.DeviceWord6[kHardcopySide] = device.deviceWord6;
  s.HardcopyCaps = device.caps;
}

void YYHardcopyScaleSet(float pageWidthDevice, float pageHeightDevice) {
  YYGrState& s = yyGrState;
  if (s.SurfaceWidth != 0) s.DeviceScaleX = pageWidthDevice / static_cast<float>(s.SurfaceWidth);
  if (s.SurfaceHeight != 0) s.DeviceScaleY = pageHeightDevice / static_cast<float>(s.SurfaceHeight);
}
