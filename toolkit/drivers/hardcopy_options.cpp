#include "toolkit/drivers/hardcopy_options.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "toolkit/core/os_paths.h"
#include "toolkit/drivers/hardcopy_dispatch.h"
#include "toolkit/drivers/hardcopy_setup.h"
#include "toolkit/graphics/graphics_defaults.h"
#include "toolkit/graphics/graphics_state.h"

std::array<std::int32_t, kHardcopyOptionEntries> yyHardcopyOptions{};

std::int32_t& hardcopyOption(int code) {
  if (code >= kFirstDriverParameter && code <= kLastDriverParameter) {
    return yyHardcopyOptions[static_cast<std::size_t>(code - kFirstDriverParameter)];
  }
  if (code >= 1 && code <= kHardcopyOptionCount) {
    return yyHardcopyOptions[static_cast<std::size_t>(kDriverParameterCount + code - 1)];
  }
  static std::int32_t scratch = 0;
  scratch = 0;
  return scratch;
}

namespace {

void toHardcopy(YYGrOpcode opcode) {
  YYGrPrimitive op = opcode;
  YYDriverCommand(op);
}

bool within(std::int32_t value, std::int32_t low, std::int32_t high) { return value >= low && value <= high; }

// Stores the value when it lies within the limits; says whether it did.
bool storeWithin(int code, std::int32_t value, std::int32_t low, std::int32_t high) {
  if (!within(value, low, high)) return false;
  hardcopyOption(code) = value;
  return true;
}

// Values 2 and 3 also order the page sides: 2 upright with the long side
// vertical, 3 rotated with the long side horizontal.
void setOrientation(std::int32_t value) {
  if (!within(value, 0, 3)) return;
  hardcopyOption(kOptOrientation) = value % 2;
  if (value < 2) return;
  std::int32_t& width = hardcopyOption(kOptPageWidth);
  std::int32_t& height = hardcopyOption(kOptPageHeight);
  const std::int32_t shorter = std::min(width, height);
  const std::int32_t longer = std::max(width, height);
  width = value == 2 ? shorter : longer;
  height = value == 2 ? longer : shorter;
}

// Replaces the extension of the output name's file part, or appends one when
// the file part has none; a dot in the folder part is no extension.
void changeOutputExtension(std::string_view extension) {
  if (yyHardcopyOutputName.isBlank()) return;
  const std::string_view name = yyHardcopyOutputName.trimmed();
  const std::size_t fileStart = directoryPart(name).size();
  const std::size_t dot = name.find_last_of('.');
  const std::size_t cut = dot != std::string_view::npos && dot >= fileStart ? dot : name.size();
  std::string renamed(name.substr(0, cut));
  renamed += extension;
  yyHardcopyOutputName = renamed;
}

void setColourDepth(std::int32_t value) {
  constexpr std::array<std::int32_t, 4> kImageDepths = {1, 4, 8, 24};
  constexpr std::array<std::int32_t, 3> kDxfModes = {3, 4, 8};
  const auto allowed = [value](const auto& values) {
    return std::find(values.begin(), values.end(), value) != values.end();
  };
  const std::int32_t driver = yyGrState.ActiveDriver;
  if ((driver == kRasterImageDriver && allowed(kImageDepths)) || (driver == kDxfDriver && allowed(kDxfModes))) {
    hardcopyOption(kOptColourDepth) = value;
  }
}

}  // namespace

void YYHCOPTION(int code, std::int32_t value) {
  switch (code) {
    case kOptPageWidth:
    case kOptPageHeight:
    case 101:
    case 102:
    case 103:
    case 104:
    case 108:
      if (value >= 1) hardcopyOption(code) = value;
      return;
    case kOptOffsetX:
    case kOptOffsetY:
    case kOptMonochrome:
    case kOptEndOfTransmission:
    case kOptLineBlank:
    case kOptHpglExtended:
    case kOptResetFlags:
    case kOptPrintMode:
    case kOptNativeFill:
    case kOptMetafileKind:
    case kOptCgmFonts:
    case kOptMetafilePens:
    case 106:
    case 107:
      hardcopyOption(code) = value;
      return;
    case kOptOrientation:
      setOrientation(value);
      return;
    case kOptColourInversion:
      storeWithin(code, value, 0, 2);
      return;
    case kOptCopies:
      hardcopyOption(code) = std::max<std::int32_t>(value, 1);
      return;
    case kOptPenThickness:
      hardcopyOption(code) = std::max<std::int32_t>(value, 100);
      return;
    case kOptPathSegments:
      storeWithin(code, value, 10, 255);
      return;
    case kOptLabelTerminator:
      storeWithin(code, value, 1, 127);
      return;
    case 105:
      storeWithin(code, value, 1, 4);
      return;
    case kOptLineWidthTenths:
      // An open hardcopy takes the new width at once.
      hardcopyOption(code) = std::max<std::int32_t>(value, 1);
      toHardcopy(kOpLineWidth);
      return;
    case kOptLineJoin:
      if (storeWithin(code, value, 0, 2)) toHardcopy(kOpLineJoin);
      return;
    case kOptLineCap:
      if (storeWithin(code, value, 0, 2)) toHardcopy(kOpLineCap);
      return;
    case kOptRasterResolution:
      if (storeWithin(code, value, 1, yyRasterDevice.resolutionCount)) yyGrState.RasterResolution = value;
      return;
    case kOptColourDepth:
      setColourDepth(value);
      return;
    case kOptCompression:
      storeWithin(code, value, 0, yyRasterDevice.defaultCompression);
      return;
    case kOptEncapsulated:
      hardcopyOption(code) = value;
      if (yyGrState.ActiveDriver == kPostScriptDriver) changeOutputExtension(value == 0 ? ".ps" : ".eps");
      return;
    case kOptImageFormat:
      hardcopyOption(code) = value;
      if (yyGrState.ActiveDriver == kRasterImageDriver) {
        changeOutputExtension(value == 1 || value == 2 ? ".bmp" : value == 3 ? ".png" : ".pcx");
      }
      return;
    default:  // code 14 and every code without an option
      return;
  }
}
