#pragma once
// The hardcopy dispatcher and what every hardcopy driver shares: the driver
// table by number, the selected driver, the plot title, the common option reset
// of opcode 1 and the device description a driver gives of itself.
//
// A driver is one routine that takes every primitive.  Opcode 1 with N = -999
// only answers the driver's number in N; any other opcode 1 initialises (the
// common option reset, the page options, the device description, the default
// output name, ActiveDriver).  Opcode 18 with M > 0 opens the output and, with
// any M, sets DeviceScaleX/Y; opcode 19 closes it; opcode 20 ends the page and
// clears PageBegun; drawing opcodes set PageBegun to -1.  A driver that cannot
// open its output sets HardcopyOpen to 0.

#include <string_view>

#include "toolkit/core/fixed_text.h"
#include "toolkit/graphics/graphics_state.h"

// Driver numbers; 5, 7 and every number outside 1-12 name no driver.
enum HardcopyDriverNumber : int {
  kHpglDriver = 1,
  kPostScriptDriver = 2,
  kSvgDriver = 3,
  kRasterPrinterDriver = 4,
  kRasterImageDriver = 6,
  kDxfDriver = 8,
  kCgmDriver = 9,
  kWindowsPrinterDriver = 10,
  kWindowsMetafileDriver = 11,
  kHpgl2Driver = 12,
};
constexpr int kHighestDriverNumber = 12;

using YYHardcopyDriver = void (*)(YYGrPrimitive& primitive);

// The number of the driver that receives the hardcopy records.
extern int yyHardcopyDriverNumber;

// The plot title, set when a hardcopy starts with a title.
constexpr int kPlotTitleLength = 200;
extern FixedText<kPlotTitleLength> yyPlotTitle;

// The routine of a driver number; nullptr for a number without a driver.
YYHardcopyDriver hardcopyDriver(int number);

// Sends the record to the selected driver; records for a number without a
// driver are dropped.
void YYHCDISPATCH(YYGrPrimitive& primitive);
// With opcode 1: selects the driver and sends it the record.  With any other
// opcode it does nothing at all.
void YYHCSELECT(YYGrPrimitive& primitive, int driverNumber);

// The option reset every driver makes first at opcode 1.
void YYDriverDefaults();

// Opcode 1 with N = -999 asks only for the driver's number: answers it and
// says so, so that the driver returns at once.
bool YYHardcopyProbeAnswered(int driverNumber);

// What a driver tells the graphics layer of its device at opcode 1.
struct HardcopyDeviceDescription {
  std::int32_t resolution = 0;  // dots per inch, x and y; 0 leaves them alone
  std::int32_t colourCount = 0;
  std::int32_t colourMax = 0;
  std::int32_t toFile = 0;      // 1: a print command may send the output on
  std::int32_t deviceWord1 = 0, deviceWord2 = 0, deviceWord3 = 0;
  std::int32_t shadeMode = 0;
  std::int32_t trueColour = 0;
  std::int32_t platformLevel = 0;
  std::int32_t fullCircle = 0;
  std::int32_t deviceWord5 = 0;
  float deviceWord6 = 0.0f;
  std::string_view caps;        // the driver's 29-character capability string
};
// Writes the description into the hardcopy halves of the state.
void YYHardcopyDescribe(const HardcopyDeviceDescription& device);

// Sets DeviceScaleX and DeviceScaleY for a page of the given size in device
// units; a surface side of 0 leaves that scale alone.
void YYHardcopyScaleSet(float pageWidthDevice, float pageHeightDevice);

// For tests only: a routine that takes the place of one driver number's entry.
struct HardcopyDriverStandIn {
  int number = 0;
  YYHardcopyDriver routine = nullptr;
};
extern HardcopyDriverStandIn yyHardcopyDriverStandIn;
