// TomTom OV2 and OVR overlays, the TomTom name of a point, and Destinator CSV.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "converter/dates.h"
#include "converter/log_display.h"
#include "converter/text_helpers.h"
#include "device_test_support.h"
#include "formats/device/destinator.h"
#include "formats/device/tomtom.h"

namespace {

using namespace device_test;
using ::testing::HasSubstr;

std::string int32Bytes(std::int32_t value) { return std::string(reinterpret_cast<const char*>(&value), 4); }

std::string ov2Record(int type, std::int32_t longitude, std::int32_t latitude, const std::string& name) {
  return std::string(1, static_cast<char>(type)) + int32Bytes(static_cast<std::int32_t>(13 + name.size() + 1)) +
         int32Bytes(longitude) + int32Bytes(latitude) + name + std::string(1, '\0');
}

class Overlays : public ::testing::Test {
 protected:
  void SetUp() override { resetConverter(); }
  BoxAnswerer boxes;
  ScratchFolder folder{"overlays"};
};

TEST_F(Overlays, Ov2ReaderTakesType2And3RecordsAndPassesOverTheOthers) {
  readFileWith(READ_OV2, fixturePath("mixed.ov2"));
  ASSERT_EQ(POINT_LIST.NPOINTS, 4) << boxes.summary();
  EXPECT_TRUE(boxes.boxes().empty()) << boxes.summary();
  const POINT_RECORD& mill = POINT_LIST.POINT(1);
  EXPECT_NEAR(mill.LONGITUDE, -1.25, 1e-6);
  EXPECT_NEAR(mill.LATITUDE, 51.5, 1e-6);
  EXPECT_EQ(mill.DESCRIPTION.str(), "Old Mill");
  EXPECT_TRUE(mill.NAME.isBlank());
  EXPECT_EQ(mill.DATE.str(), "01/02/2003");
  EXPECT_EQ(mill.TIME.str(), "04:05:06");
  EXPECT_FLOAT_EQ(mill.ALTITUDE, kNoValue);
  EXPECT_FLOAT_EQ(mill.PROXIMITY, 0.0f);
  EXPECT_EQ(mill.SYMBOL, kNoSymbol);
  EXPECT_EQ(mill.SYMBOL_NAME.str(), "Waypoint");
  EXPECT_EQ(mill.ROUTE_NAME.str(), "Point data");
  EXPECT_EQ(POINT_LIST.POINT(2).DESCRIPTION.str(), "Three");
  EXPECT_NEAR(POINT_LIST.POINT(2).LONGITUDE, 123.45678, 1e-5);
  EXPECT_NEAR(POINT_LIST.POINT(2).LATITUDE, -33.5, 1e-6);
  EXPECT_TRUE(POINT_LIST.POINT(3).DESCRIPTION.isBlank());
  // A name of 200 bytes keeps its first 128.
  EXPECT_EQ(POINT_LIST.POINT(4).DESCRIPTION.str(), std::string(128, 'A'));
  EXPECT_NEAR(POINT_LIST.POINT(4).LATITUDE, -0.002, 1e-7);
  EXPECT_EQ(lastLog(), "4 points read");
}

TEST_F(Overlays, UnsupportedRecordTypesEndTheReadingWithABox) {
  std::string file;
  for (int i = 0; i < 39; ++i) file += ov2Record(2, i, i, numbered("P", i));
  writeFile(folder.path("seven.ov2"), file + std::string("\x07") + ov2Record(2, 1, 1, "after"));
  readFileWith(READ_OV2, folder.path("seven.ov2"));
  EXPECT_EQ(POINT_LIST.NPOINTS, 39);
  EXPECT_EQ(boxes.summary(), "Carrowmapper Error: Unsupported record type: 7\rFile truncated");
  EXPECT_EQ(lastLog(), "39 points read");

  boxes.clear();
  writeFile(folder.path("big.ov2"), std::string("\x65") + file);
  readFileWith(READ_OV2, folder.path("big.ov2"));
  EXPECT_EQ(boxes.summary(), "Carrowmapper Error: Unsupported record type:**\rFile truncated");
  boxes.clear();
  writeFile(folder.path("negative.ovr"), std::string("\xf9\x05"));
  readFileWith(READ_OVR, folder.path("negative.ovr"));
  EXPECT_EQ(boxes.summary(), "Carrowmapper Error: Unsupported record type:-7\rFile truncated");
}

TEST_F(Overlays, ARecordCutByTheEndOfTheFileGivesNoPoint) {
  const std::string whole = ov2Record(2, 100, 200, "first") + ov2Record(2, 300, 400, "second");
  for (std::size_t cut : {whole.size() - 1, whole.size() - 8, whole.size() - 19, whole.size() - 20}) {
    resetConverter();
    writeFile(folder.path("cut.ov2"), whole.substr(0, cut));
    readFileWith(READ_OV2, folder.path("cut.ov2"));
    EXPECT_EQ(POINT_LIST.NPOINTS, 1) << cut;
    EXPECT_EQ(lastLog(), "1 points read");
  }
  writeFile(folder.path("empty.ov2"), "");
  readFileWith(READ_OV2, folder.path("empty.ov2"));
  EXPECT_EQ(lastLog(), "0 points read");
  EXPECT_TRUE(boxes.boxes().empty()) << boxes.summary();
}

TEST_F(Overlays, OvrReaderScalesByRecordTypeAndSkipsType0) {
  readFileWith(READ_OVR, fixturePath("mixed.ovr"));
  ASSERT_EQ(POINT_LIST.NPOINTS, 3) << boxes.summary();
  EXPECT_NEAR(POINT_LIST.POINT(1).LONGITUDE, -1.2345, 1e-6);
  EXPECT_NEAR(POINT_LIST.POINT(1).LATITUDE, 51.2345, 1e-5);
  EXPECT_EQ(POINT_LIST.POINT(1).DESCRIPTION.str(), "Hello");
  EXPECT_NEAR(POINT_LIST.POINT(2).LONGITUDE, 1.23456, 1e-6);
  EXPECT_NEAR(POINT_LIST.POINT(2).LATITUDE, -1.23456, 1e-6);
  EXPECT_EQ(POINT_LIST.POINT(2).DESCRIPTION.str(), "Tiny");
  EXPECT_NEAR(POINT_LIST.POINT(3).LONGITUDE, 1.0, 1e-6);
  EXPECT_TRUE(POINT_LIST.POINT(3).DESCRIPTION.isBlank());
  EXPECT_EQ(POINT_LIST.POINT(3).ROUTE_NAME.str(), "Point data");
  EXPECT_EQ(lastLog(), "3 points read");
}

TEST_F(Overlays, OvrWriterRoundsToTenThousandthsAndCutsNamesThatWouldNotReadBack) {
  addPoint(-1.23456f, 51.23454f, "Hello");
  addPoint(0.0f, 0.0f, std::string(150, 'x'));
  addPoint(2.0f, 3.0f, "");  // no name: the prefix and the position
  const std::string written = writeFileWith(WRITE_OVR, folder.path("w.ovr"));
  EXPECT_EQ(written.substr(0, 16), std::string("\x01\x0e", 2) + int32Bytes(-12346) + int32Bytes(512345) +
                                       std::string("Hello\0", 6));
  EXPECT_EQ(static_cast<unsigned char>(written[17]), 118u + 9u);
  EXPECT_EQ(written.size(), 16u + (10u + 118u + 1u) + (10u + 5u + 1u));
  EXPECT_EQ(written, fixture("written.ovr"));
  EXPECT_EQ(readFile(folder.path("w.pic")), readFile(COMPANION_FILES.PICTURE_FILE.str()));
  FixedText<256> shortened;
  FIT(folder.path("w.pic"), 50, shortened);
  EXPECT_EQ(allLog(), "Default PIC file copied to ... " + shortened.str() + "|3 points written");

  resetConverter();
  readFileWith(READ_OVR, folder.path("w.ovr"));
  ASSERT_EQ(POINT_LIST.NPOINTS, 3) << boxes.summary();
  EXPECT_NEAR(POINT_LIST.POINT(1).LONGITUDE, -1.2346, 1e-6);
  EXPECT_EQ(POINT_LIST.POINT(2).DESCRIPTION.str(), std::string(118, 'x'));
  EXPECT_EQ(POINT_LIST.POINT(3).DESCRIPTION.str(), "POI 3");

  // A second save leaves the picture alone; an empty list gives an empty file.
  writeFile(folder.path("w.pic"), "mine");
  POINT_LIST.NPOINTS = 0;
  EXPECT_EQ(writeFileWith(WRITE_OVR, folder.path("w.ovr")), "");
  EXPECT_EQ(readFile(folder.path("w.pic")), "mine");
  EXPECT_EQ(lastLog(), "0 points written");
}

// The names written into makeov2.tmp for each NAME_TRUNCATION and NAME_SOURCE.
class Ov2Names : public Overlays {
 protected:
  void SetUp() override {
    Overlays::SetUp();
    DEBUG_FLAG = kLogicalTrue;  // keeps makeov2.tmp
    // No MakeOV2 in this folder: only the text file matters here.
    FILE_NAMES.PROGRAM_FOLDER = folder.path("");
  }
  std::vector<std::string> namesWritten() {
    FILE_NAMES.OUTPUT_FILE = folder.path("names.ov2");
    WRITE_OV2();
    std::vector<std::string> names;
    for (const std::string& line : lines(readFile(folder.path("makeov2.tmp")))) {
      if (line.empty() || line[0] == ';') continue;
      const std::size_t quote = line.find('"');
      names.push_back(line.substr(quote + 1, line.size() - quote - 3));
    }
    return names;
  }
};

TEST_F(Ov2Names, TruncationAndSourceRules) {
  addPoint(1, 1, "Tesco, High Street and a good deal more text than fits", "Station").COMMENT = "A comment";
  addPoint(1, 1, ",starts with a comma", "Station");
  addPoint(1, 1, "", "Station");
  addPoint(1, 1, "Supermarket North", "");
  addPoint(1, 1, "Supermarket South", "").COMMENT = "With \"quotes\"";
  using Names = std::vector<std::string>;
  EXPECT_EQ(namesWritten(), (Names{"Tesco, High Street and a good de", ",starts with a comma", "POI 3",
                                   "Supermarket North", "Supermarket South"}));
  TOMTOM_SETTINGS.NAME_TRUNCATION = 3;
  EXPECT_EQ(namesWritten(), (Names{"Tesco", "", "POI 3", "Supermarket North", "Supermarket South"}));
  TOMTOM_SETTINGS.NAME_TRUNCATION = 4;
  EXPECT_EQ(namesWritten()[0], "Tesco, High Street and a good deal more text than fits");
  TOMTOM_SETTINGS.NAME_TRUNCATION = 2;
  EXPECT_EQ(namesWritten(), (Names{"Tesco, Hig", ",starts wi", "POI 3", "Supermarke", "Supermark1"}));
  TOMTOM_SETTINGS.NAME_SOURCE = 2;
  EXPECT_EQ(namesWritten(), (Names{"Station", "Station1", "Station2", "POI 4", "POI 5"}));
  TOMTOM_SETTINGS.NAME_SOURCE = 3;
  TOMTOM_SETTINGS.NAME_TRUNCATION = 1;
  TOMTOM_SETTINGS.BLANK_NAME_PREFIX = "";
  EXPECT_EQ(namesWritten(), (Names{"A comment", " 2", " 3", " 4", "With \"quotes\""}));
}

TEST_F(Ov2Names, TheTextFileHasItsHeaderALineAPointAndItsClosingLine) {
  addPoint(-1.2345f, 52.1f, "Home");
  addPoint(179.5f, -89.25f, "Far");
  FILE_NAMES.OUTPUT_FILE = folder.path("t.ov2");
  WRITE_OV2();
  FixedText<10> today;
  CDATE(today);
  EXPECT_EQ(readFile(folder.path("makeov2.tmp")), ";* Created by Carrowmapper version 3.21 on " + today.str() +
                                                      "\r\n"
                                                      ";* Longitude, Latitude, \"Name\"\r\n"
                                                      "  -1.23450,  52.10000,\"Home\"\r\n"
                                                      " 179.50000, -89.25000,\"Far\"\r\n"
                                                      ";*     2 POI records written.\r\n");
  EXPECT_EQ(DEFAULT_DATE.str(), today.str());
  // MakeOV2 is not where the command looks for it: the user is told, nothing is
  // logged as written.
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].title, "Carrowmapper Error");
  EXPECT_THAT(boxes.boxes()[0].text, HasSubstr("MakeOV2 did not create"));
  EXPECT_EQ(lastLog(), "Running TomTom MakeOV2 utility");
}

TEST_F(Overlays, SavingRunsMakeOv2AndTheOverlayReadsBack) {
  addPoint(-1.2345f, 52.1f, "Home \"sweet\" home");
  addPoint(151.25f, -33.5f, "");
  const std::string output = folder.path("my overlay.ov2");
  FILE_NAMES.OUTPUT_FILE = output;
  WRITE_OV2();
  EXPECT_TRUE(boxes.boxes().empty()) << boxes.summary();
  EXPECT_EQ(readFile(output), ov2Record(2, -123450, 5210000, "Home \"sweet\" home") +
                                  ov2Record(2, 15125000, -3350000, "POI 2"));
  EXPECT_EQ(readFile(folder.path("my overlay.bmp")), readFile(COMPANION_FILES.SYMBOL_FILE.str()));
  EXPECT_EQ(GetFileAttributesA(folder.path("makeov2.tmp").c_str()), INVALID_FILE_ATTRIBUTES);
  FixedText<256> shortened;
  FIT(folder.path("my overlay.bmp"), 40, shortened);
  EXPECT_EQ(allLog(), "Default symbol file copied to ... " + shortened.str() +
                          "|Running TomTom MakeOV2 utility|2 points written");

  resetConverter();
  readFileWith(READ_OV2, output);
  ASSERT_EQ(POINT_LIST.NPOINTS, 2);
  EXPECT_EQ(POINT_LIST.POINT(1).DESCRIPTION.str(), "Home \"sweet\" home");
  EXPECT_EQ(POINT_LIST.POINT(2).DESCRIPTION.str(), "POI 2");
  EXPECT_NEAR(POINT_LIST.POINT(2).LONGITUDE, 151.25, 1e-5);

  // Saving again replaces the overlay and leaves the bitmap alone.
  writeFile(folder.path("my overlay.bmp"), "mine");
  LOG_DISPLAY.LOG_COUNT = 0;
  POINT_LIST.NPOINTS = 1;
  FILE_NAMES.OUTPUT_FILE = output;
  WRITE_OV2();
  EXPECT_EQ(readFile(output), ov2Record(2, -123450, 5210000, "Home \"sweet\" home"));
  EXPECT_EQ(readFile(folder.path("my overlay.bmp")), "mine");
  EXPECT_EQ(allLog(), "Running TomTom MakeOV2 utility|1 points written");

  // An empty list still runs MakeOV2, which leaves an empty overlay.
  POINT_LIST.NPOINTS = 0;
  WRITE_OV2();
  EXPECT_EQ(readFile(output), "");
  EXPECT_EQ(lastLog(), "0 points written");
}

TEST_F(Overlays, AnOverlayThatCannotBeReplacedIsNotReportedAsWritten) {
  addPoint(1, 1, "x");
  const std::string output = folder.path("locked.ov2");
  writeFile(output, "old");
  HANDLE lock = CreateFileA(output.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  FILE_NAMES.OUTPUT_FILE = output;
  WRITE_OV2();
  CloseHandle(lock);
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_THAT(boxes.boxes()[0].text, HasSubstr("Cannot replace the file"));
  EXPECT_EQ(lastLog(), "Running TomTom MakeOV2 utility");
  EXPECT_EQ(readFile(output), "old");
}

TEST_F(Overlays, ATemporaryFileThatCannotBeCreatedStopsTheSave) {
  addPoint(1, 1, "x");
  CreateDirectoryA(folder.path("makeov2.tmp").c_str(), nullptr);
  FILE_NAMES.OUTPUT_FILE = folder.path("never.ov2");
  WRITE_OV2();
  RemoveDirectoryA(folder.path("makeov2.tmp").c_str());
  EXPECT_EQ(boxes.summary(), "Carrowmapper Error: Cannot create the temporary file makeov2.tmp");
  EXPECT_EQ(GetFileAttributesA(folder.path("never.ov2").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(lastLog(), "");
}

TEST_F(Overlays, DestinatorLinesHoldDescriptionCreatorLongitudeAndLatitude) {
  addPoint(-1.25f, 51.5f, "Old Mill, by the \"river\"");
  addPoint(0.0f, -0.5f, "");
  addPoint(-179.5f, 89.99999f, "Far");
  EXPECT_EQ(writeFileWith(WRITE_DESTINATOR3_CSV, folder.path("d.csv")),
            "Old Mill, by the \"river\",Carrowmapper v3.21,-1.25000,51.50000\r\n"
            ",Carrowmapper v3.21,0.00000,-0.50000\r\n"
            "Far,Carrowmapper v3.21,-179.50000,89.99999\r\n");
  EXPECT_EQ(lastLog(), "3 points written");
  POINT_LIST.NPOINTS = 0;
  EXPECT_EQ(writeFileWith(WRITE_DESTINATOR3_CSV, folder.path("e.csv")), "");
  EXPECT_EQ(lastLog(), "0 points written");
}

TEST_F(Overlays, WritersThatCannotCreateTheirFileSaySoAndLogNothing) {
  addPoint(1, 1, "x");
  for (void (*writer)() : {WRITE_OVR, WRITE_DESTINATOR3_CSV}) {
    boxes.clear();
    LOG_DISPLAY.LOG_COUNT = 0;
    FILE_NAMES.OUTPUT_FILE = folder.path("no such folder\\out.file");
    writer();
    EXPECT_EQ(boxes.summary(), "File error: Cannot write file:\r" + folder.path("no such folder\\out.file"));
    EXPECT_EQ(lastLog(), "");
  }
}

}  // namespace
