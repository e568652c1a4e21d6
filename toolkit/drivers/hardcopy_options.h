#pragma once
// The hardcopy options: one shared table of integer words that steers every
// hardcopy driver, cited by code (1-29 and 101-108), and the checked way a
// program changes them.

#include <array>
#include <cstdint>

// Codes 1-29 are the options proper; 101-108 are driver parameters kept in
// front of them in the same table.
constexpr int kHardcopyOptionCount = 29;
constexpr int kFirstDriverParameter = 101;
constexpr int kLastDriverParameter = 108;
constexpr int kDriverParameterCount = kLastDriverParameter - kFirstDriverParameter + 1;
constexpr int kHardcopyOptionEntries = kDriverParameterCount + kHardcopyOptionCount;

// The codes the drivers read by name.
enum HardcopyOptionCode : int {
  kOptPageWidth = 1,
  kOptPageHeight = 2,
  kOptOffsetX = 3,
  kOptOffsetY = 4,
  kOptOrientation = 5,
  kOptColourInversion = 6,
  kOptMonochrome = 7,
  kOptCopies = 8,
  kOptLineWidthTenths = 9,
  kOptLineJoin = 10,
  kOptLineCap = 11,
  kOptPenThickness = 12,
  kOptRasterResolution = 13,
  kOptEndOfTransmission = 15,
  kOptPathSegments = 16,
  kOptLineBlank = 17,
  kOptHpglExtended = 18,
  kOptResetFlags = 19,
  kOptPrintMode = 20,
  kOptLabelTerminator = 21,
  kOptEncapsulated = 22,
  kOptColourDepth = 23,
  kOptCompression = 24,
  kOptNativeFill = 25,
  kOptImageFormat = 26,
  kOptMetafileKind = 27,
  kOptCgmFonts = 28,
  kOptMetafilePens = 29,
};

// Codes 101-108 first, then codes 1-29: one entry per code.
extern std::array<std::int32_t, kHardcopyOptionEntries> yyHardcopyOptions;

constexpr bool isHardcopyOptionCode(int code) {
  return (code >= 1 && code <= kHardcopyOptionCount) ||
         (code >= kFirstDriverParameter && code <= kLastDriverParameter);
}

// The table entry of one option code, as drivers read and set it.  Only codes
// for which isHardcopyOptionCode holds name an entry; any other code gives a
// scratch word, cleared on each such call, that belongs to no option.
std::int32_t& hardcopyOption(int code);

// Changes one option after checking the value against the limits of its code;
// some codes act at once (send a primitive down the hardcopy route, change the
// output file's extension).  Codes outside 1-29 and 101-108 are ignored.
void YYHCOPTION(int code, std::int32_t value);
