#pragma once
// Writes one page bitmap as a BMP, PCX or PNG image onto plot unit 2 of the plot
// output.  The raster image driver calls these at the end of each page; the
// bitmap capture writes the same formats.

#include <cstdint>
#include <span>
#include <string_view>

// A page bitmap as the writers read it, 32-bit words, row 0 the bottom row:
//   depth 1: pixel x is bit x mod 32 of word x div 32 (bit 0 the least
//            significant); 1 selects palette entry 1;
//   depth 4: four 1-bit planes at word offsets 0, P, 2P, 3P from the row start
//            (P = wordsPerPlane); the colour index is plane 2 + 2 plane 1 +
//            4 plane 0 + 8 plane 3;
//   depth 8: pixel x is byte x mod 4 of word x div 4;
//   depth 24: pixel x is word x, red in bits 0-7, green 8-15, blue 16-23.
struct ImagePage {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t depth = 1;  // 1, 4, 8 or 24
  std::int32_t wordsPerRow = 0;
  std::int32_t wordsPerPlane = 0;
  std::span<const std::uint32_t> words;
  // For depths below 24: the 2, 16 or 256 colours; empty takes the system's
  // own (white and black, the 16-colour lookup, the colour table).
  std::span<const std::int32_t> palette;
};

// Run-length coded BMP when option 26 of the hardcopy options is 2 and the
// depth is 4 or 8; the sizes are put in afterwards by YYBMP2.
void YYWriteBMP(const ImagePage& page);
void YYWritePCX(const ImagePage& page);
void YYWritePNG(const ImagePage& page);

// Codes one plane line of a page row: plane is the page plane (depth 4) or the
// byte of the pixel word (depth 24: 0 red, 1 green, 2 blue); lastByte is L - 1.
void YYPcxEncodeRow(const ImagePage& page, std::int32_t row, std::int32_t plane, std::int32_t lastByte);

// Puts the file size and the pixel-data size into a closed run-length coded BMP.
void YYBMP2(std::string_view fileName);

// The colour (red in bits 0-7) of palette entry i of a page of the depth.
std::int32_t imagePaletteColour(const ImagePage& page, int i);
