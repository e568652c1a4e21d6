#include <gtest/gtest.h>

#include <array>

#include "converter/converter_data.h"
#include "converter/lookups.h"
#include "converter/symbol_tables.h"

namespace {

std::string garminName(int code, int n = 16) {
  FixedText<20> name("#");
  LOOKUP_IC(code, n, GARMIN_SYMBOLS.codes, GARMIN_SYMBOLS.names, name);
  return name.str();
}

TEST(Lookups, CodeToNameGivesTheFirstEntryWhenNothingMatches) {
  EXPECT_EQ(garminName(9), "Skull and Crossbones");
  EXPECT_EQ(garminName(15), "TracBack Point");
  EXPECT_EQ(garminName(99), "Waypoint");
  EXPECT_EQ(garminName(-1), "Waypoint");
  // Only the first n entries are searched.
  EXPECT_EQ(garminName(9, 9), "Waypoint");
  EXPECT_EQ(garminName(9, 0), "Waypoint");
  EXPECT_EQ(garminName(9, -4), "Waypoint");
  // A count beyond the table searches the table and no further.
  EXPECT_EQ(garminName(15, 1000), "TracBack Point");
  // Code 37 stands six times in the Maptech table: the first one answers.
  FixedText<20> maptech;
  LOOKUP_IC(37, 16, MAPTECH_SYMBOLS.codes, MAPTECH_SYMBOLS.names, maptech);
  EXPECT_EQ(maptech.str(), "Dot");
  FixedText<4> shortName;
  LOOKUP_IC(14, 16, GARMIN_SYMBOLS.codes, GARMIN_SYMBOLS.names, shortName);
  EXPECT_EQ(shortName.str(), "Medi");
}

TEST(Lookups, CodeToCodeKeepsKnownCodesAndMapsAcrossFormats) {
  for (int code : GDB_SYMBOL_CODES) EXPECT_EQ(LOOKUP_II(code, 16, GDB_SYMBOL_CODES, GDB_SYMBOL_CODES), code);
  EXPECT_EQ(LOOKUP_II(1000, 16, GDB_SYMBOL_CODES, GDB_SYMBOL_CODES), 18);
  EXPECT_EQ(LOOKUP_II(10, 16, GARMIN_SYMBOLS.codes, GDB_SYMBOL_CODES), 142);
  EXPECT_EQ(LOOKUP_II(142, 16, GDB_SYMBOL_CODES, GARMIN_SYMBOLS.codes), 10);
  EXPECT_EQ(LOOKUP_II(176, 16, PUSHPIN_SYMBOL_CODES, GARMIN_SYMBOLS.codes), 9);
  // Maptech to Garmin: the first Garmin symbol of a repeated Maptech code.
  EXPECT_EQ(LOOKUP_II(37, 16, MAPTECH_SYMBOLS.codes, GARMIN_SYMBOLS.codes), 0);
  EXPECT_EQ(LOOKUP_II(23, 16, MAPTECH_SYMBOLS.codes, GARMIN_SYMBOLS.codes), 10);
}

TEST(Lookups, NameKeysMatchWithoutTrailingBlanksOnly) {
  const auto garminCode = [](std::string_view key) {
    return LOOKUP_CI(key, 16, GARMIN_SYMBOLS.names, GARMIN_SYMBOLS.codes);
  };
  EXPECT_EQ(garminCode("Flag"), 10);
  EXPECT_EQ(garminCode("Flag                          "), 10);
  EXPECT_EQ(garminCode("flag"), 0);
  EXPECT_EQ(garminCode(" Flag"), 0);
  EXPECT_EQ(garminCode(""), 0);
  EXPECT_EQ(garminCode("Skull and Crossbones"), 9);
  EXPECT_EQ(garminCode("Skull and Crossbonesx"), 0);
  EXPECT_EQ(garminCode("Fla"), 0);  // the beginning of an entry is not the entry
  EXPECT_EQ(LOOKUP_CI("File icon", 24, MEMORYMAP_SYMBOLS.names, MEMORYMAP_SYMBOLS.codes), -1);
  EXPECT_EQ(LOOKUP_CI("Flag", 16, MAPTECH_SYMBOLS.names, MAPTECH_SYMBOLS.codes), 23);

  const auto colour = [](std::string_view key) {
    FixedText<6> code("#");
    LOOKUP_CC(key, 7, MAPTECH_COLOURS.names, MAPTECH_COLOURS.codes, code);
    return code.str();
  };
  EXPECT_EQ(colour("Red"), "C8");
  EXPECT_EQ(colour("red"), "960000");
  EXPECT_EQ(colour("Teal"), "646400");
  EXPECT_EQ(colour("Black"), "0");
}

TEST(SymbolTables, SettingsIndexTheirTablesAsTheDialogsDo) {
  // "Skull and Crossbones" fills its 20 characters exactly.
  EXPECT_EQ(GARMIN_SYMBOLS.names[9].trimmedLength(), 20);
  // The Maptech setting counts from 1: its default 8 is the code of "Flag".
  const ConverterSettings settings;
  const MaptechSettings maptech;
  EXPECT_EQ(MAPTECH_SYMBOL_CHOICES[static_cast<std::size_t>(maptech.SYMBOL - 1)], 23);
  FixedText<10> name;
  LOOKUP_IC(MAPTECH_SYMBOL_CHOICES[static_cast<std::size_t>(maptech.SYMBOL - 1)], 16, MAPTECH_SYMBOLS.codes,
            MAPTECH_SYMBOLS.names, name);
  EXPECT_EQ(name.str(), "Flag");
  // Every choice of the dialog is a Maptech code of the table.
  for (int code : MAPTECH_SYMBOL_CHOICES) {
    EXPECT_NE(std::find(MAPTECH_SYMBOLS.codes.begin(), MAPTECH_SYMBOLS.codes.end(), code),
              MAPTECH_SYMBOLS.codes.end())
        << code;
  }
  // The Garmin and OziExplorer settings count from 0.
  EXPECT_EQ(GARMIN_SYMBOLS.names[static_cast<std::size_t>(GarminSettings{}.SYMBOL)].str(), "Waypoint");
  EXPECT_EQ(GARMIN_SYMBOLS.names[static_cast<std::size_t>(OziExplorerSettings{}.SYMBOL)].str(), "Waypoint");
  // NAME_SOURCE 1 is the description.
  EXPECT_EQ(NAME_SOURCE_LABELS[static_cast<std::size_t>(TomTomSettings{}.NAME_SOURCE - 1)].str(), "Description");
  EXPECT_EQ(settings.DATA_TYPE.str(), "Points");
}

}  // namespace
