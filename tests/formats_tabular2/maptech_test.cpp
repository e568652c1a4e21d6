#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "converter/converter_data.h"
#include "formats/tabular/maptech.h"
#include "formats_tabular2/tabular_fixture.h"

namespace {

using namespace tabular_test;

class Maptech : public Converter {};

// --- marks ---

TEST_F(Maptech, WritesMarkLines) {
  addPoint(51.500729f, -0.12463f, "", "Big Ben").SYMBOL = 0;
  addPoint(-33.85678f, 151.2153f);                      // no symbol: the options' Flag
  addPoint(1.0f, 2.0f, "SKULL", "").SYMBOL = 22;        // a Maptech code below 37
  POINT_RECORD& home = addPoint(1.0f, 2.0f, "Home base", "Home");
  home.SYMBOL = 118;
  home.COMMENT = "He said \"hi\"";
  addPoint(1.0f, 2.0f, "", "Boat ramp").SYMBOL = 5;     // a Garmin code
  addPoint(1.0f, 2.0f, "", "Big Ben").SYMBOL = 999;
  setOutput("out.mxf");
  WRITE_MXF();
  EXPECT_EQ(readFile("out.mxf"), crlf({
                                     "  51.50073,  -0.12463, \"Big Ben\", \"BIGBEN\", \"\", ff0000, 37",
                                     " -33.85678, 151.21530, \"\", \"WPT2\", \"\", ff0000, 23",
                                     "   1.00000,   2.00000, \"\", \"SKULL\", \"\", ff0000, 37",
                                     "   1.00000,   2.00000, \"Home\", \"Home base\", \"He said \"hi\"\", ff0000,118",
                                     "   1.00000,   2.00000, \"Boat ramp\", \"BOARAM\", \"\", ff0000,121",
                                     "   1.00000,   2.00000, \"Big Ben\", \"BIGBEN\", \"\", ff0000,999",
                                 }));
  EXPECT_EQ(lastLog(), "6 points written");
}

TEST_F(Maptech, TheOptionsChooseTheSymbolAndPrefixOfPointsWithoutThem) {
  struct Case {
    int choice;
    const char* prefix;
    const char* line;
  };
  const Case cases[] = {
      {1, "WPT", "   1.00000,   2.00000, \"\", \"WPT1\", \"\", ff0000, 37"},
      {11, "Mark", "   1.00000,   2.00000, \"\", \"Mark1\", \"\", ff0000,138"},
      {12, "", "   1.00000,   2.00000, \"\", \"1\", \"\", ff0000, 37"},
  };
  for (const Case& c : cases) {
    resetConverter();
    MAPTECH_SETTINGS.SYMBOL = c.choice;
    MAPTECH_SETTINGS.NAME_PREFIX = c.prefix;
    addPoint(1.0f, 2.0f);
    setOutput("options.mxf");
    WRITE_MXF();
    EXPECT_EQ(readFile("options.mxf"), crlf({c.line})) << c.choice;
  }
}

TEST_F(Maptech, ReadsMarkLinesInFreeForm) {
  writeFile("in.mxf", crlf({
                          "  51.50073,  -0.12463, \"Big Ben\", \"BIGBEN\", \"Clock\", ff0000, 37",
                          "-33.85678, 151.21530, 'Opera, House', 'OPERA', \"\", 0000ff, 118, extra, values",
                          "",
                          "1.0 2.0 \"a \"\"quoted\"\" word\" \"\" \"\" C8 999",
                          "1,2,\"x\",\"y\",\"z\",toolongcolour,0",
                          "  ",
                          "1,2,\"x\",\"y\",\"z\",,22",
                          "1,2,\"Say \"hi\"\", \"SAY\", \"\", ff0000, 23",
                      }));
  setInput("in.mxf");
  READ_MXF();
  ASSERT_EQ(POINT_LIST.NPOINTS, 6);
  const POINT_RECORD& p = POINT_LIST.POINT(1);
  EXPECT_FLOAT_EQ(p.LATITUDE, 51.50073f);
  EXPECT_FLOAT_EQ(p.LONGITUDE, -0.12463f);
  EXPECT_EQ(p.DESCRIPTION.str(), "Big Ben");
  EXPECT_EQ(p.NAME.str(), "BIGBEN");
  EXPECT_EQ(p.COMMENT.str(), "Clock");
  EXPECT_EQ(p.COLOUR.str(), "ff0000");
  EXPECT_EQ(p.SYMBOL, 37);
  EXPECT_EQ(p.SYMBOL_NAME.str(), "Dot");
  EXPECT_EQ(p.DATE.str(), "05/06/2007");
  EXPECT_EQ(p.TIME.str(), "10:20:30");
  EXPECT_EQ(p.ALTITUDE, -9999.0f);
  EXPECT_EQ(p.PROXIMITY, 0.0f);
  EXPECT_EQ(p.ROUTE_NAME.str(), "Point data");
  EXPECT_EQ(POINT_LIST.POINT(2).DESCRIPTION.str(), "Opera, House");
  EXPECT_EQ(POINT_LIST.POINT(2).COLOUR.str(), "0000ff");
  EXPECT_EQ(POINT_LIST.POINT(2).SYMBOL, 118);
  EXPECT_EQ(POINT_LIST.POINT(2).SYMBOL_NAME.str(), "House");
  EXPECT_EQ(POINT_LIST.POINT(3).DESCRIPTION.str(), "a \"quoted\" word");
  EXPECT_EQ(POINT_LIST.POINT(3).COLOUR.str(), "C8");
  EXPECT_EQ(POINT_LIST.POINT(3).SYMBOL, 37);
  EXPECT_EQ(POINT_LIST.POINT(4).COLOUR.str(), "toolon");
  EXPECT_EQ(POINT_LIST.POINT(4).SYMBOL_NAME.str(), "Dot");
  EXPECT_TRUE(POINT_LIST.POINT(5).COLOUR.isBlank());
  EXPECT_EQ(POINT_LIST.POINT(5).SYMBOL, 22);
  EXPECT_EQ(POINT_LIST.POINT(5).SYMBOL_NAME.str(), "Skull");
  EXPECT_EQ(POINT_LIST.POINT(6).DESCRIPTION.str(), "Say \"hi\"");
  EXPECT_EQ(POINT_LIST.POINT(6).SYMBOL_NAME.str(), "Flag");
  EXPECT_EQ(lastLog(), "6 points read");
}

TEST_F(Maptech, MarksComeBackWithTheirShortNames) {
  addPoint(51.5f, -0.12f, "", "Big Ben").COMMENT = "He said \"hi\"";
  addPoint(51.6f, -0.13f, "", "Big Ben");
  setOutput("back.mxf");
  WRITE_MXF();
  resetConverter();
  setInput("back.mxf");
  READ_MXF();
  ASSERT_EQ(POINT_LIST.NPOINTS, 2);
  EXPECT_EQ(POINT_LIST.POINT(1).NAME.str(), "BIGBEN");
  EXPECT_EQ(POINT_LIST.POINT(2).NAME.str(), "BIGBEN");  // no check for repeats
  EXPECT_EQ(POINT_LIST.POINT(1).COMMENT.str(), "He said \"hi\"");
  EXPECT_EQ(POINT_LIST.POINT(1).SYMBOL, 23);
  EXPECT_EQ(POINT_LIST.POINT(1).COLOUR.str(), "ff0000");
  // Written again, the short name stays; Flag (23) lies below 37 and so is
  // looked up among the Garmin codes, which lack it: Dot.
  setOutput("again.mxf");
  WRITE_MXF();
  EXPECT_EQ(readFile("again.mxf"), crlf({
                                       "  51.50000,  -0.12000, \"Big Ben\", \"BIGBEN\", \"He said \"hi\"\", ff0000, 37",
                                       "  51.60000,  -0.13000, \"Big Ben\", \"BIGBEN\", \"\", ff0000, 37",
                                   }));
}

// --- routes ---

TEST_F(Maptech, WritesRouteLines) {
  addPoint(51.500729f, -0.12463f, "", "Big Ben", "Thames walk").SYMBOL = 0;
  addPoint(51.508f, -0.076f, "TOWER", "Tower", "Thames walk").COMMENT = "open daily";
  addPoint(55.9486f, -3.1999f, "", "", "Old town").SYMBOL = 111;
  setOutput("out.rxf");
  WRITE_RXF();
  EXPECT_EQ(readFile("out.rxf"),
            crlf({
                "  51.50073,  -0.12463, \"Big Ben\", \"BIGBEN\", \"\", \"Thames walk\", ff0000, 0, 37",
                "  51.50800,  -0.07600, \"Tower\", \"TOWER\", \"open daily\", \"Thames walk\", ff0000, 0, 23",
                "  55.94860,  -3.19990, \"\", \"WPT3\", \"\", \"Old town\", ff0000, 0,111",
            }));
  EXPECT_EQ(lastLog(), "3 points written to  2 routes");
}

TEST_F(Maptech, ReadsRouteLinesWithQuotedFields) {
  writeFile("in.rxf", crlf({
                          "51.5,-0.12,\"Westminster, SW1\",\"START\",\"a comment\",\"Thames walk\",ff0000,118",
                          " 51.508 , -0.076 , \"Tower \"\"of\"\" London\", TOWER, , \"Thames walk\", ff0000, 0, 99",
                          "",
                          "55.9,-3.2,\"Castle\",\"CASTLE\",\"\",\"Old town\",C8,",
                          "55.95,-3.19,\"Holy\",\"HOLY\",\"\",\"Thames walk\",,22",
                      }));
  setInput("in.rxf");
  READ_RXF();
  ASSERT_EQ(POINT_LIST.NPOINTS, 4);
  const POINT_RECORD& p = POINT_LIST.POINT(1);
  EXPECT_FLOAT_EQ(p.LATITUDE, 51.5f);
  EXPECT_FLOAT_EQ(p.LONGITUDE, -0.12f);
  EXPECT_EQ(p.DESCRIPTION.str(), "Westminster, SW1");
  EXPECT_EQ(p.NAME.str(), "START");
  EXPECT_EQ(p.COMMENT.str(), "a comment");
  EXPECT_EQ(p.ROUTE_NAME.str(), "Thames walk");
  EXPECT_EQ(p.COLOUR.str(), "ff0000");
  EXPECT_EQ(p.SYMBOL, 118);
  EXPECT_EQ(p.SYMBOL_NAME.str(), "House");
  EXPECT_EQ(p.DATE.str(), "05/06/2007");
  EXPECT_EQ(p.ALTITUDE, -9999.0f);
  EXPECT_EQ(p.PROXIMITY, 0.0f);
  const POINT_RECORD& q = POINT_LIST.POINT(2);
  EXPECT_EQ(q.DESCRIPTION.str(), "Tower \"\"of\"\" London");  // doubled quotes stay doubled
  EXPECT_EQ(q.NAME.str(), "TOWER");
  EXPECT_TRUE(q.COMMENT.isBlank());
  EXPECT_EQ(q.SYMBOL, 37);  // field 8 holds 0
  EXPECT_EQ(POINT_LIST.POINT(3).COLOUR.str(), "C8");
  EXPECT_EQ(POINT_LIST.POINT(3).SYMBOL, 37);  // blank
  EXPECT_EQ(POINT_LIST.POINT(4).SYMBOL_NAME.str(), "Skull");
  // Thames walk, Old town, and Thames walk again.
  EXPECT_EQ(POINT_LIST.NROUTES, 3);
  EXPECT_EQ(POINT_LIST.CURRENT_ROUTE.str(), "Thames walk");
  EXPECT_EQ(lastLog(), "4 points read from  3 routes");
}

TEST_F(Maptech, RoutesComeBackWithDotsAndTheWrittenColour) {
  addPoint(1.0f, 2.0f, "A", "first", "Walk").SYMBOL = 118;
  addPoint(1.5f, 2.5f, "B", "second, with a comma", "Walk").COLOUR = "Red";
  addPoint(3.0f, 4.0f, "C", "third", "Ride");
  setOutput("back.rxf");
  WRITE_RXF();
  resetConverter();
  setInput("back.rxf");
  READ_RXF();
  ASSERT_EQ(POINT_LIST.NPOINTS, 3);
  for (int i = 1; i <= 3; ++i) {
    EXPECT_EQ(POINT_LIST.POINT(i).SYMBOL, 37) << i;
    EXPECT_EQ(POINT_LIST.POINT(i).COLOUR.str(), "ff0000") << i;
  }
  EXPECT_EQ(POINT_LIST.POINT(2).DESCRIPTION.str(), "second, with a comma");
  EXPECT_EQ(POINT_LIST.POINT(3).ROUTE_NAME.str(), "Ride");
  EXPECT_EQ(lastLog(), "3 points read from  2 routes");
}

// --- tracks ---

TEST_F(Maptech, WritesTrackLinesWithColourCodes) {
  addPoint(51.5f, -0.123456f, "", "", "Morning walk");
  addPoint(51.51f, -0.13f, "", "", "Morning walk").COLOUR = "Red";
  addPoint(51.6f, -0.2f, "", "", "Evening").COLOUR = "C8";
  addPoint(51.7f, -0.3f, "", "", "Evening").COLOUR = "Teal";
  setOutput("out.txf");
  WRITE_TXF();
  EXPECT_EQ(readFile("out.txf"), crlf({
                                     "  51.50000,  -0.12346, \"Morning walk\", 960000",
                                     "  51.51000,  -0.13000, \"Morning walk\", C8",
                                     "  51.60000,  -0.20000, \"Evening\", 960000",
                                     "  51.70000,  -0.30000, \"Evening\", 646400",
                                 }));
  EXPECT_EQ(lastLog(), "4 points written to  2 tracks");
}

// A track file of tracks of the given lengths; point k of track t lies at t.k.
std::string trackFile(const std::vector<std::pair<std::string, int>>& tracks) {
  std::vector<std::string> lines;
  int t = 0;
  for (const auto& [name, length] : tracks) {
    ++t;
    for (int k = 1; k <= length; ++k) {
      lines.push_back(std::to_string(t) + "." + (k < 10 ? "0" : "") + std::to_string(k) + ", -1.0, \"" + name +
                      "\", C8");
    }
  }
  return crlf(lines);
}

TEST_F(Maptech, TheTrackFilterKeepsTheFirstAndEveryNthPointOfEachTrack) {
  struct Case {
    int filter;
    std::vector<float> kept;
    std::vector<std::string> log;
  };
  const Case cases[] = {
      {5, {1.01f, 1.06f, 1.11f, 2.01f, 2.06f}, {"Track filter is set to 5", "5 of   19 points read from  2 tracks"}},
      {10, {1.01f, 1.11f, 2.01f}, {"Track filter is set to 10", "3 of   19 points read from  2 tracks"}},
      {1, {}, {"19 points read from  2 tracks"}},
  };
  writeFile("filtered.txf", trackFile({{"Hill", 12}, {"Lake", 7}}));
  for (const Case& c : cases) {
    resetConverter();
    CONVERTER_SETTINGS.TRACK_FILTER = c.filter;
    setInput("filtered.txf");
    READ_TXF();
    EXPECT_EQ(logLines(), c.log) << c.filter;
    EXPECT_EQ(POINT_LIST.NTRACKPOINTS, 19);
    EXPECT_EQ(POINT_LIST.NROUTES, 2);
    if (c.filter == 1) {
      EXPECT_EQ(POINT_LIST.NPOINTS, 19);
      continue;
    }
    ASSERT_EQ(POINT_LIST.NPOINTS, static_cast<int>(c.kept.size())) << c.filter;
    for (int i = 1; i <= POINT_LIST.NPOINTS; ++i) EXPECT_FLOAT_EQ(POINT_LIST.POINT(i).LATITUDE, c.kept[i - 1]);
  }
}

TEST_F(Maptech, ReadsTrackLines) {
  writeFile("in.txf", crlf({
                          "  51.50000,  -0.12346, \"Morning walk\", 960000",
                          "51.51 -0.13 'Morning walk' C8 and more",
                          "",
                          "51.6,-0.2,\"Evening\",0",
                          "51.7,-0.3,\"Morning walk\",646400",
                      }));
  setInput("in.txf");
  READ_TXF();
  ASSERT_EQ(POINT_LIST.NPOINTS, 4);
  const POINT_RECORD& p = POINT_LIST.POINT(1);
  EXPECT_FLOAT_EQ(p.LATITUDE, 51.5f);
  EXPECT_FLOAT_EQ(p.LONGITUDE, -0.12346f);
  EXPECT_EQ(p.ROUTE_NAME.str(), "Morning walk");
  EXPECT_EQ(p.COLOUR.str(), "960000");
  EXPECT_TRUE(p.NAME.isBlank());
  EXPECT_TRUE(p.DESCRIPTION.isBlank());
  EXPECT_TRUE(p.COMMENT.isBlank());
  EXPECT_EQ(p.DATE.str(), "05/06/2007");
  EXPECT_EQ(p.TIME.str(), "10:20:30");
  EXPECT_EQ(p.ALTITUDE, -9999.0f);
  EXPECT_EQ(p.PROXIMITY, 0.0f);
  EXPECT_EQ(p.SYMBOL, -1);
  EXPECT_EQ(p.SYMBOL_NAME.str(), "Dot");
  EXPECT_EQ(POINT_LIST.POINT(2).COLOUR.str(), "C8");
  EXPECT_EQ(POINT_LIST.POINT(3).ROUTE_NAME.str(), "Evening");
  EXPECT_EQ(POINT_LIST.POINT(4).ROUTE_NAME.str(), "Morning walk");
  // The same name after another track is a new track.
  EXPECT_EQ(lastLog(), "4 points read from  3 tracks");
}

TEST_F(Maptech, TracksWithNamesLongerThanTheListKeepsAreStillOneTrack) {
  const std::string name(80, 'x');
  writeFile("long.txf", trackFile({{name, 11}}));
  CONVERTER_SETTINGS.TRACK_FILTER = 5;
  setInput("long.txf");
  READ_TXF();
  EXPECT_EQ(POINT_LIST.NROUTES, 1);
  EXPECT_EQ(POINT_LIST.NPOINTS, 3);
  EXPECT_EQ(POINT_LIST.POINT(1).ROUTE_NAME.str(), name.substr(0, 64));
}

TEST_F(Maptech, TracksComeBackWithTheirColourCodes) {
  addPoint(1.0f, 2.0f, "", "", "Walk").COLOUR = "Green";
  addPoint(1.5f, 2.5f, "", "", "Walk").COLOUR = "Purple";
  addPoint(3.0f, 4.0f, "", "", "Ride, home");
  setOutput("back.txf");
  WRITE_TXF();
  resetConverter();
  setInput("back.txf");
  READ_TXF();
  ASSERT_EQ(POINT_LIST.NPOINTS, 3);
  EXPECT_EQ(POINT_LIST.POINT(1).COLOUR.str(), "9600");
  EXPECT_EQ(POINT_LIST.POINT(2).COLOUR.str(), "640064");
  EXPECT_EQ(POINT_LIST.POINT(3).COLOUR.str(), "960000");
  EXPECT_EQ(POINT_LIST.POINT(3).ROUTE_NAME.str(), "Ride, home");
  EXPECT_EQ(lastLog(), "3 points read from  2 tracks");
}

// --- faults, in a child whose boxes are answered here ---

TEST(MaptechFaults, ALineThatCannotBeReadEndsTheProgram) {
  struct Case {
    const char* reader;
    const char* line;
    const char* hint;
  };
  const Case cases[] = {
      {"READ_MXF", "1,2,\"x\",\"y\",\"z\",ff0000", "Longitude, Latitude, \"Name\" etc"},
      {"READ_MXF", "north,2,\"x\",\"y\",\"z\",ff0000,37", "Longitude, Latitude, \"Name\" etc"},
      {"READ_RXF", ",2,\"x\",\"y\",\"z\",\"r\",ff0000,37", "Longitude, Latitude, \"Name\" etc"},
      {"READ_TXF", "1.0,-2.0,\"unclosed, C8", "Longitude, Latitude, \"Track Name\", Colour"},
  };
  for (const Case& c : cases) {
    writeFile("bad.txt", crlf({"1,2,\"a\",\"b\",\"c\",\"d\",1,37", c.line}));
    const ChildRun run = runInChild(c.reader, "bad.txt");
    ASSERT_EQ(run.boxes.size(), 1u) << c.line;
    EXPECT_EQ(run.boxes[0].title, "Data Error");
    EXPECT_EQ(run.boxes[0].text, std::string("Data format error\r\rIn record: ") + c.line + "\rReading: " + c.hint);
    EXPECT_TRUE(run.stop);
    EXPECT_EQ(run.npoints, 1);
    EXPECT_TRUE(run.log.empty() || run.log.back().rfind("Track filter", 0) == 0);
  }
}

TEST(MaptechFaults, OpenQuotesInARouteCommentEndTheProgram) {
  writeFile("quotes.rxf", crlf({"1,2,\"a\",\"b\",\"c\",\"r\",ff0000,37", "1,2,\"d\",\"n\",\"unclosed comment,more"}));
  const ChildRun run = runInChild("READ_RXF", "quotes.rxf");
  ASSERT_EQ(run.boxes.size(), 1u);
  EXPECT_EQ(run.boxes[0].title, "Format error");
  EXPECT_EQ(run.boxes[0].text, "Double quotes in comment\runclosed comment,mor");
  EXPECT_TRUE(run.stop);
  EXPECT_EQ(run.npoints, 1);
}

TEST(MaptechFaults, The60001stPointStopsTheProgram) {
  for (const char* reader : {"READ_MXF", "READ_RXF", "READ_TXF", "READ_MM_MARKS_CSV"}) {
    const std::string line = std::string(reader) == "READ_MM_MARKS_CSV"
                                 ? "WP04,1,2,0,\"a\",\"\",\"\",0,1,\"\",1,1,\"\""
                                 : "1,2,\"a\",\"b\",\"c\",\"d\",1,37";
    writeFile("full.txt", crlf({line, line, line}));
    const ChildRun run = runInChild(reader, "full.txt", MAX_POINTS - 1);
    ASSERT_EQ(run.boxes.size(), 1u) << reader;
    EXPECT_EQ(run.boxes[0].title, "Storage limit");
    EXPECT_EQ(run.npoints, MAX_POINTS);
    EXPECT_EQ(run.nread, 1);
    EXPECT_TRUE(run.stop);
  }
}

}  // namespace
