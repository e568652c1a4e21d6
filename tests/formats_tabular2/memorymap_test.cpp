#include <gtest/gtest.h>

#include <string>

#include "converter/converter_data.h"
#include "formats/tabular/memorymap.h"
#include "formats_tabular2/tabular_fixture.h"

namespace {

using namespace tabular_test;

class MemoryMap : public Converter {};

TEST_F(MemoryMap, ReadsWaypointRecordsAndSkipsIconRecords) {
  writeFile("marks.csv", crlf({
                             "IC01,0,\"Dot\"",
                             "WP04,51.50073,-0.12462,10,\"Big Ben\",\"Clock tower\",\"\",25.5,1,\"BIGBEN\",1,1,\"London\",0",
                             "IC01,1,\"House\"",
                             // Blanks as separators, apostrophes, a symbol the table lacks.
                             "WP04, -33.85678  151.21530 99 'Opera' '' 'x' 0 1 '' 1 1 'Sydney'",
                             "WP04,1.0,2.0,-1,\"a\"\"b\",\"c\",\"\",0,1,\"\",1,1,\"\"",
                         }));
  setInput("marks.csv");
  READ_MM_MARKS_CSV();
  ASSERT_EQ(POINT_LIST.NPOINTS, 3);
  EXPECT_EQ(POINT_LIST.NREAD, 3);
  const POINT_RECORD& p = POINT_LIST.POINT(1);
  EXPECT_FLOAT_EQ(p.LATITUDE, 51.50073f);
  EXPECT_FLOAT_EQ(p.LONGITUDE, -0.12462f);
  EXPECT_EQ(p.SYMBOL, 10);
  EXPECT_EQ(p.SYMBOL_NAME.str(), "Flag");
  EXPECT_EQ(p.DESCRIPTION.str(), "Big Ben");
  EXPECT_EQ(p.COMMENT.str(), "Clock tower");
  EXPECT_FLOAT_EQ(p.PROXIMITY, 25.5f);
  EXPECT_EQ(p.NAME.str(), "BIGBEN");
  EXPECT_EQ(p.ROUTE_NAME.str(), "London");
  EXPECT_EQ(p.DATE.str(), "05/06/2007");
  EXPECT_EQ(p.TIME.str(), "10:20:30");
  EXPECT_EQ(p.ALTITUDE, -9999.0f);
  EXPECT_TRUE(p.COLOUR.isBlank());
  const POINT_RECORD& q = POINT_LIST.POINT(2);
  EXPECT_FLOAT_EQ(q.LATITUDE, -33.85678f);
  EXPECT_EQ(q.SYMBOL, 0);
  EXPECT_EQ(q.SYMBOL_NAME.str(), "Dot");
  EXPECT_EQ(q.DESCRIPTION.str(), "Opera");
  EXPECT_EQ(q.PROXIMITY, 0.0f);
  EXPECT_EQ(q.ROUTE_NAME.str(), "Sydney");
  const POINT_RECORD& r = POINT_LIST.POINT(3);
  EXPECT_EQ(r.SYMBOL, -1);
  EXPECT_EQ(r.SYMBOL_NAME.str(), "File icon");
  EXPECT_EQ(r.DESCRIPTION.str(), "a\"b");
  EXPECT_EQ(lastLog(), "3 points read");
  EXPECT_FALSE(isTrue(STOP_FLAG));
}

TEST_F(MemoryMap, AFileOfIconRecordsAddsNoPoint) {
  writeFile("icons.csv", crlf({"IC01,0,\"Dot\"", "IC01,1,\"House\""}));
  setInput("icons.csv");
  READ_MM_MARKS_CSV();
  EXPECT_EQ(POINT_LIST.NPOINTS, 0);
  EXPECT_EQ(lastLog(), "0 points read");
}

TEST_F(MemoryMap, AppendKeepsThePointsAlreadyInTheList) {
  addPoint(10.0f, 20.0f, "first");
  POINT_LIST.NREAD = 0;
  writeFile("one.csv", "WP04,1,2,0,\"d\",\"c\",\"\",0,1,\"n\",1,1,\"r\"\n");
  setInput("one.csv");
  READ_MM_MARKS_CSV();
  ASSERT_EQ(POINT_LIST.NPOINTS, 2);
  EXPECT_EQ(POINT_LIST.POINT(1).NAME.str(), "first");
  EXPECT_EQ(POINT_LIST.POINT(2).NAME.str(), "n");
  EXPECT_EQ(lastLog(), "1 points read");
}

TEST_F(MemoryMap, WritesOneRecordPerPoint) {
  setOutput("written.csv");
  // No symbol: the Maptech options' Flag; a Garmin Car; a Maptech Deer.
  POINT_RECORD& a = addPoint(51.5f, -0.12462f, "BIGBEN", "Big Ben");
  a.COMMENT = "Clock tower";
  a.PROXIMITY = 12.5f;
  POINT_RECORD& b = addPoint(-33.85678f, 151.2153f, "OPERA", "");
  b.SYMBOL = 3;
  b.COMMENT = "file:D:\\Docs\\note.txt";
  POINT_RECORD& c = addPoint(0.5f, 179.99999f, "", "Deer park");
  c.SYMBOL = 129;
  c.PROXIMITY = 0.0f;
  POINT_RECORD& d = addPoint(-89.5f, -179.5f, "", "");
  d.SYMBOL = 112;  // Maptech Car
  WRITE_MM_MARKS_CSV();
  EXPECT_EQ(readFile("written.csv"),
            crlf({
                "WP04,  51.50000,  -0.12462,10,\"Big Ben\",\"Clock tower\",\"\",    12.50,1,\"\",1,1,\"written\",0",
                "WP04, -33.85678, 151.21530, 3,\"OPERA\",\"\",\"D:\\Docs\\note.txt\", -9999.00,1,\"\",1,1,\"written\",0",
                "WP04,   0.50000, 179.99998,13,\"Deer park\",\"\",\"\",     0.00,1,\"\",1,1,\"written\",0",
                "WP04, -89.50000,-179.50000, 3,\"\",\"\",\"\", -9999.00,1,\"\",1,1,\"written\",0",
            }));
  EXPECT_EQ(lastLog(), "4 points written");
}

TEST_F(MemoryMap, TheMaptechOptionChoosesTheSymbolOfPointsWithoutOne) {
  struct Case {
    int choice;
    const char* code;
  };
  // Dot, House, Skull, First Aid; a choice outside the list gives the first entry.
  for (const Case& c : {Case{1, " 0"}, Case{2, " 1"}, Case{7, " 9"}, Case{11, "14"}, Case{0, " 0"}, Case{12, " 0"}}) {
    resetConverter();
    MAPTECH_SETTINGS.SYMBOL = c.choice;
    addPoint(1.0f, 2.0f, "n");
    setOutput("choice.csv");
    WRITE_MM_MARKS_CSV();
    EXPECT_EQ(readFile("choice.csv").substr(27, 2), c.code) << c.choice;
  }
}

TEST_F(MemoryMap, ReadingBackGivesTheLinkUpAndTheNameAsDescription) {
  POINT_RECORD& a = addPoint(51.5f, -0.1f, "NAMEONLY", "");
  a.COMMENT = "file:D:\\Docs\\note.txt";
  a.SYMBOL = -1;
  setOutput("back.csv");
  WRITE_MM_MARKS_CSV();
  resetConverter();
  setInput("back.csv");
  READ_MM_MARKS_CSV();
  ASSERT_EQ(POINT_LIST.NPOINTS, 1);
  const POINT_RECORD& p = POINT_LIST.POINT(1);
  EXPECT_EQ(p.DESCRIPTION.str(), "NAMEONLY");
  EXPECT_TRUE(p.NAME.isBlank());
  EXPECT_TRUE(p.COMMENT.isBlank());
  EXPECT_EQ(p.SYMBOL, 10);
  EXPECT_EQ(p.ROUTE_NAME.str(), "back");
  EXPECT_EQ(p.PROXIMITY, -9999.0f);
}

TEST_F(MemoryMap, WritingAnEmptyListGivesAnEmptyFile) {
  setOutput("empty.csv");
  WRITE_MM_MARKS_CSV();
  EXPECT_EQ(readFile("empty.csv"), "");
  EXPECT_EQ(lastLog(), "0 points written");
}

// --- faults, shown in a child whose boxes are answered here ---

TEST(MemoryMapFaults, AnyOtherRecordRejectsTheRestOfTheFile) {
  writeFile("mixed.csv", crlf({"WP04,1,2,0,\"a\",\"\",\"\",0,1,\"\",1,1,\"\"", "", "WP04,3,4,0,\"b\",\"\",\"\",0,1,\"\",1,1,\"\""}));
  const ChildRun run = runInChild("READ_MM_MARKS_CSV", "mixed.csv");
  ASSERT_EQ(run.boxes.size(), 1u);
  EXPECT_EQ(run.boxes[0].title, "File Format Error");
  EXPECT_EQ(run.boxes[0].text,
            "This file contains records that are\rnot in Memory-Map CSV format.\rPlease select a different file.");
  EXPECT_EQ(run.npoints, 1);  // the point before stays
  EXPECT_EQ(run.log.back(), "  Error: Not in Memory-Map CSV format");
  EXPECT_EQ(run.inputFile, "");
  EXPECT_FALSE(run.stop);
}

TEST(MemoryMapFaults, AWaypointRecordThatCannotBeReadEndsTheProgram) {
  // Text where a number is due; fewer than twelve values; no position.
  for (const char* record : {"WP04,north,2,0,\"a\",\"\",\"\",0,1,\"\",1,1,\"\"", "WP04,1,2,0,\"a\",\"\",\"\",0,1",
                             "WP04,,,0,\"a\",\"\",\"\",0,1,\"\",1,1,\"\"", "WP04"}) {
    writeFile("bad.csv", crlf({"WP04,1,2,0,\"a\",\"\",\"\",0,1,\"\",1,1,\"\"", record}));
    const ChildRun run = runInChild("READ_MM_MARKS_CSV", "bad.csv");
    ASSERT_EQ(run.boxes.size(), 1u) << record;
    EXPECT_EQ(run.boxes[0].title, "Data Error");
    EXPECT_EQ(run.boxes[0].text, std::string("Data format error\r\rIn record: ") + record +
                                     "\rReading: WP04, Lat, Lon, Symbol etc");
    EXPECT_TRUE(run.stop);
    EXPECT_EQ(run.npoints, 1);
  }
}

}  // namespace
