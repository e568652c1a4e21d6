#pragma once
// The colour table, the device lookup tables and colour selection.  Colour
// integers hold red in bits 0-7, green in 8-15, blue in 16-23.

#include <array>
#include <cstdint>

constexpr int kGraphicsColours = 256;
extern std::array<std::int32_t, kGraphicsColours> yyColourTable;

// Per table entry, kept in step with it for the nearest-colour search.
struct ColourTerms {
  float sinHue = 0.0f;
  float value = 0.0f;
  float cosHue = 1.0f;
  float saturation = 0.0f;
};
extern std::array<ColourTerms, kGraphicsColours> yyColourTerms;

// RGB values of the entries of 8-, 16- and up-to-128-colour device palettes.
struct YYColourLookups {
  std::array<std::int32_t, 8> Lookup8{};
  std::array<std::int32_t, 16> Lookup16{};
  std::array<std::int32_t, 128> Lookup128{};
};
extern YYColourLookups yyColourLookups;

// Fills the table with its default ramps, the lookups and the per-entry terms.
void YYColourDefaults();
// Sets one table entry and keeps the lookups and terms in step.
void YYColourSetEntry(int n, std::int32_t rgb);
void YYColourRGB(int n, std::int32_t& rgb);
void YYColourLookup8(int i, std::int32_t& rgb);
void YYColourLookup16(int i, std::int32_t& rgb);
void YYColourLookup128(int i, std::int32_t& rgb);
// The red, green and blue of a colour of the current colour mode.
void YYColourComponents(std::int32_t colour, int& red, int& green, int& blue);
void YYRGBSPLIT(std::int32_t rgb, int& red, int& green, int& blue);
// Hue in radians, saturation and value 0-1.
void YYRGBTOHSV(std::int32_t rgb, float& hue, float& saturation, float& value);
// The colour number of an RGB value: an exact match, else the nearest in
// hue-saturation-value space (ties to the lower number).
void YYColourFind(std::int32_t rgb, int& n);
// Entry (i mod 8) of the 16-colour scheme, plus 8 above 7; -1 outside 0-15.
int YYPAL16(int i, int scheme);
// The device colour of colour number n for the current device colour count.
int YYDEVCOLOUR(int n);
// Selects the current colour (a number in indexed mode, an RGB value in RGB mode).
void IGrColourN(std::int32_t colour);
// Makes the triple the current colour; routes 1 screen, 2 hardcopy, else both.
void YYColourSetDirect(int number, std::int32_t rgb, int deviceColour, int routes);
// 24 bits select RGB mode, anything else indexed.
void YYColourModeSet(int bits);
