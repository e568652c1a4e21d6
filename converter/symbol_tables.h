#pragma once
// The static symbol and colour tables that convert symbols between formats
// through the lookups.  Each table is a pair of parallel columns; the first
// entry of every table is its default.  GDB_SYMBOL_CODES, PUSHPIN_SYMBOL_CODES
// and MAPTECH_SYMBOLS run parallel to GARMIN_SYMBOLS: entry i belongs to Garmin
// symbol i.

#include <array>
#include <cstdint>

#include "toolkit/core/fixed_text.h"

template <std::size_t N, std::size_t W>
struct SymbolTable {
  std::array<std::int32_t, N> codes;
  std::array<FixedText<W>, N> names;
};

inline constexpr SymbolTable<16, 20> GARMIN_SYMBOLS{
    {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15},
    {"Waypoint", "Residence", "Gas Station", "Car", "Fishing Area", "Boat Ramp", "Marina", "Shipwreck",
     "Exit", "Skull and Crossbones", "Flag", "Campground", "Circle with X", "Hunting Area",
     "Medical Facility", "TracBack Point"}};

inline constexpr SymbolTable<16, 10> MAPTECH_SYMBOLS{
    {37, 118, 145, 112, 130, 121, 37, 37, 37, 22, 23, 111, 37, 129, 138, 37},
    {"Dot", "House", "Fuel", "Car", "Fish", "Boat", "Dot", "Dot", "Dot", "Skull", "Flag", "Camp", "Dot",
     "Deer", "First Aid", "Dot"}};

// Symbol numbers of the Garmin GDB database format.
inline constexpr std::array<std::int32_t, 16> GDB_SYMBOL_CODES{18, 10, 8,  56, 7,  37, 162, 19,
                                                             17, 14, 142, 38, 65, 57, 43,  67};

// Pushpin symbol numbers of the Microsoft mapping programs' files.
inline constexpr std::array<std::int32_t, 16> PUSHPIN_SYMBOL_CODES{16,  77,  142, 82, 108, 154, 186, 56,
                                                                 129, 176, 63,  153, 113, 157, 119, 162};

// The distinct Maptech codes of the Maptech options dialog's list, in its order;
// MAPTECH_SETTINGS SYMBOL indexes it from 1.
inline constexpr std::array<std::int32_t, 11> MAPTECH_SYMBOL_CHOICES{37, 118, 145, 112, 130, 121,
                                                                   22, 23,  111, 129, 138};

inline constexpr SymbolTable<24, 20> MEMORYMAP_SYMBOLS{
    {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, -1},
    {"Dot", "House", "Fuel", "Car", "Fish", "Boat", "Anchor", "Wreck", "Exit", "Skull", "Flag", "Camp",
     "Man overboard", "Deer", "First aid", "Trackback", "Tiny dot", "Triangle", "Square", "Circle",
     "Green buoy", "Red buoy", "Yellow buoy", "File icon"}};

// Track colours by name, with the Windows colour value (0x00BBGGRR) in upper-case
// hexadecimal without leading zeros.
struct ColourTable {
  std::array<FixedText<6>, 7> names;
  std::array<FixedText<6>, 7> codes;
};
inline constexpr ColourTable MAPTECH_COLOURS{
    {"Blue", "Black", "Green", "Olive", "Purple", "Red", "Teal"},
    {"960000", "0", "9600", "6464", "640064", "C8", "646400"}};
