#pragma once
// ToolkitSettings: the global values that start-up sets and the rest of the
// toolkit reads.

#include "toolkit/core/fixed_text.h"

constexpr int kPathLength = 260;  // every path field and path buffer of the toolkit

struct ToolkitSettings {
  // When on, the locale's decimal separator is accepted in place of "." when
  // reading numbers and replaces "." when writing reals.  Start-up sets it off.
  bool decimalSeparatorSwitch = false;
  char localeDecimalSeparator = '.';
  int localeDecimalCode = '.';  // the same character as a code, for numeric fields

  int initialisedMarker = 0;  // -9999 once WStartup has run

  // The screen, measured at start-up.
  int screenWidth = 0;
  int screenHeight = 0;
  int colourCount = 0;
  int colourDepthCode = 0;  // 2, 8, 16 or 256
  int pixelsPerInch = 0;
  int ntFlag = 0;  // logical: -1 on the NT platform
  int windowsMajorVersion = 0;

  FixedText<kPathLength> toolkitDirectory;
  FixedText<kPathLength> CHARDIR;
  FixedText<kPathLength> CHARSET;
  FixedText<kPathLength> iniFilePath;
  FixedText<kPathLength> systemDirectory;
  FixedText<kPathLength> tempPlotFile;
  FixedText<kPathLength> tempDumpFile;

  int beepsAllowed = -1;  // logical; off silences every toolkit beep

  // Channel numbers of the toolkit's text files: general, plot output, plot input.
  // They always differ from each other.
  int LFNGEN = 40;
  int LFNPLOTO = 41;
  int LFNPLOTI = 42;

  // Hardcopy choices of the ini file.
  int PRINTER = 0;
  int PLOTTER = 0;
  int HPGL2 = 0;

  // What dialog and grid getters return for a field without a valid value.
  int undefinedInteger = -999;
  float undefinedReal = -999.0f;
  double undefinedDouble = -999.0;
};
extern ToolkitSettings toolkitSettings;
