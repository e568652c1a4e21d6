#pragma once
// What the rest of the toolkit needs of the hardcopy drivers: the start-up
// defaults and the version text.

#include <array>
#include <string_view>

#include "toolkit/core/fixed_text.h"

// The raster printer, the HP-GL plotter and the HP-GL/2 model chosen at start-up.
struct YYRasterDevice {
  int deviceCode = 0;    // raster printer code 2-38
  int plotterModel = 0;  // HP-GL plotter model 1-10
  int hpgl2Model = 0;    // HP-GL/2 model 1-5
  int deviceCodeGiven = 0;   // 1 when the given printer code was used
  int plotterModelGiven = 0;  // 1 when a valid plotter model was given
  int hpgl2ModelGiven = 0;    // 1 when the HP-GL/2 model was chosen explicitly
  int printerType = 0;   // 1-10 (the PCL types 11 and 12 end as 7 and 8)
  int devicePlanes = 0;  // bits per dot: 1 mono, 3 colour
  int deviceClass = 0;   // 0 mono, 1 RGB, 2 CMY
  int defaultCompression = 0;
  std::array<int, 4> resolutions{};  // dots per inch, best first
  int resolutionCount = 0;
  int pinsPerPass = 0;
  int lineSpacingCode = 0;  // dot-matrix line spacing per pass, 1/216 inch
};
extern YYRasterDevice yyRasterDevice;

// Kinds of the print of the window.
constexpr int kDumpPostScript = 2;
constexpr int kDumpWindowsPrinter = 10;

// Settings of the print of the window (page values in points).
struct YYDumpSettings {
  int printerPresent = 0;
  int dumpKind = 0;
  FixedText<260> fileName;
  int pageWidth = 0;
  int pageHeight = 0;
  int offsetX = 0;
  int offsetY = 0;
  int orientation = 0;
  int copies = 0;
  int mono = 0;
  int resolutionLimit = 0;
  int resetFlags = 0;
  int compression = 0;
  int paperWidth = 0;
  int paperHeight = 0;
};
extern YYDumpSettings yyDumpSettings;

extern FixedText<260> yyHardcopyOutputName;

// Takes a raster printer code 2-38 other than 27 (any other code selects 28) and
// describes that printer from the built-in table.
void YYHardcopyDevice(int deviceCode);
// Models 1-10 are HP-GL plotters, 11-15 HP-GL/2 models 1-5.
void YYPlotterModel(int modelCode);
// Models 1-5 are taken; any other value follows the raster printer code.
void YYHpgl2Model(int model);
// Dump kind 2: a PostScript file; anything else: the Windows printer, whose page
// is read from the default printer.
void YYHardcopyFileNames(int dumpKind = 0);
// Kind 2 gives the toolkit version text "5.10g", any other kind a blank.
void YYVersionText(TextField out, int kind);
