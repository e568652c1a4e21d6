#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "converter/converter_data.h"
#include "formats/tabular/text_lines.h"
#include "formats_tabular2/tabular_fixture.h"
#include "support/child_process.h"

namespace {

using namespace tabular_test;

// --- lines ---

TEST(TextLines, LinesEndAtLineFeedsWithOrWithoutCarriageReturns) {
  struct Case {
    std::string bytes;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"", {}},
      {"one\r\ntwo\r\n", {"one", "two"}},
      {"one\ntwo", {"one", "two"}},
      {"\r\n\r\nx\r\n", {"", "", "x"}},
      {"a\rb\r\n", {"a\rb"}},
      {"last\r", {"last"}},
      {std::string("nul\0byte\n", 9), {std::string("nul\0byte", 8)}},
      // A record filled to its last character, and one whose last is a CR of the line.
      {std::string(32, 'y') + "\r\n", {std::string(32, 'y')}},
      {std::string(31, 'y') + "\r\r\n", {std::string(31, 'y') + "\r"}},
      // The file is read in runs of 64 KiB: here the CR of the second line ends
      // the first run and its line feed begins the next.
      {std::string(65530, 'z') + "\nabcd\r\nnext\n", {std::string(32, 'z'), "abcd", "next"}},
  };
  for (const Case& c : cases) {
    writeFile("lines.txt", c.bytes);
    TextLineReader file;
    ASSERT_TRUE(file.open("lines.txt"));
    std::vector<std::string> lines;
    FixedText<32> record;
    int length = 0;
    while (file.readLine(record, length)) lines.push_back(std::string(record.view().substr(0, length)));
    EXPECT_EQ(lines, c.lines);
  }
}

TEST(TextLines, AnOverlongLineKeepsItsFirstCharactersAndTheNextLineIsWhole) {
  const std::string longLine(300000, 'x');
  writeFile("long.txt", longLine + "\r\nnext line\r\n");
  TextLineReader file;
  ASSERT_TRUE(file.open("long.txt"));
  FixedText<kRecordLength> record;
  int length = 0;
  ASSERT_TRUE(file.readLine(record, length));
  EXPECT_EQ(length, kRecordLength);
  EXPECT_EQ(std::string(record.view()), longLine.substr(0, kRecordLength));
  ASSERT_TRUE(file.readLine(record, length));
  EXPECT_EQ(record.str(), "next line");
  EXPECT_EQ(length, 9);
  EXPECT_FALSE(file.readLine(record, length));
}

TEST(TextLines, NumberFieldsGrowRatherThanTurnToAsterisks) {
  EXPECT_EQ(fieldI(42, 3), " 42");
  EXPECT_EQ(fieldI(1000, 3), "1000");
  EXPECT_EQ(fieldI(-1000, 3), "-1000");
  EXPECT_EQ(fieldI(7, 2, 2), "07");
  EXPECT_EQ(fieldI(100, 2, 2), "100");
  EXPECT_EQ(fieldF(32.808399, 8, 2), "   32.81");
  EXPECT_EQ(fieldF(3280839.895, 8, 2), "3280839.90");
  EXPECT_EQ(fieldF(-123456.0, 7, 1), "-123456.0");
}

// --- every reader on damaged and foreign files, in a child whose boxes are answered here ---

constexpr const char* kManifest = "robustness_manifest.txt";
constexpr const char* kReport = "robustness_report.txt";

// Runs each reader of the manifest on its file and reports, per run, the points
// it left and whether the list stayed within its bounds.
testing_support::ChildScenario robustness("tabular2-robustness", [] {
  std::ifstream manifest(kManifest, std::ios::binary);
  std::ofstream report(kReport, std::ios::binary | std::ios::trunc);
  std::string reader;
  std::string file;
  while (manifest >> reader >> file) {
    resetConverter();
    setInput(file);
    Routine routine = routineNamed(reader);
    if (routine == nullptr) ExitProcess(97);
    routine();
    const bool sound = POINT_LIST.NPOINTS >= 0 && POINT_LIST.NPOINTS <= MAX_POINTS &&
                       POINT_LIST.NREAD == POINT_LIST.NPOINTS;
    report << reader << " " << file << " " << POINT_LIST.NPOINTS << " " << (sound ? "sound" : "UNSOUND") << "\n";
    report.flush();
  }
});

std::string randomBytes(unsigned seed, std::size_t size, bool printable) {
  std::mt19937 generator(seed);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<int> printableByte(32, 126);
  std::string bytes;
  for (std::size_t i = 0; i < size; ++i) {
    bytes += static_cast<char>(printable ? printableByte(generator) : byte(generator));
    if (printable && i % 70 == 69) bytes += "\r\n";
  }
  return bytes;
}

// A sound file of each reader's format, for cutting short.
std::string soundFile(const std::string& reader) {
  std::vector<std::string> lines;
  if (reader == "READ_MM_MARKS_CSV") {
    for (int k = 0; k < 20; ++k) lines.push_back("WP04,51.5,-0.12,0,\"Big Ben\",\"Clock\",\"\",10.0,1,\"\",1,1,\"London\",0");
  } else if (reader == "READ_OZI_WPT") {
    lines = {"OziExplorer Waypoint File Version 1.1", "WGS 84", "Reserved 2", "Reserved 3"};
    for (int k = 0; k < 20; ++k) lines.push_back("1,BIGBEN,51.5,-0.12,36526.5,0,1,3,0,65535,Big Ben,0,0,0,328,6,0,17");
  } else if (reader == "READ_OZI_RTE") {
    lines = {"OziExplorer Route File Version 1.0", "WGS 84", "Reserved 1", "Reserved 2", "R,1,Walk,,"};
    for (int k = 0; k < 20; ++k) lines.push_back("W,1,,1,A1,51.5,-0.12,36526.5,0,1,3,0,65535,desc,0,0");
  } else if (reader == "READ_OZI_PLT") {
    lines = {"OziExplorer Track Point File Version 2.1", "WGS 84", "Altitude is in Feet", "Reserved 3",
             "0,2,255,Walk,0,0,2,8421376", "20"};
    for (int k = 0; k < 20; ++k) lines.push_back("51.5,-0.12,1,32.8,39203.3333333,01-MAY-07,08:00:00");
  } else if (reader == "READ_MXF") {
    for (int k = 0; k < 20; ++k) lines.push_back("  51.50073,  -0.12463, \"Big Ben\", \"BIGBEN\", \"\", ff0000, 37");
  } else if (reader == "READ_RXF") {
    for (int k = 0; k < 20; ++k) lines.push_back("51.5, -0.12, \"Big Ben\", \"BIGBEN\", \"\", \"Walk\", ff0000, 0, 37");
  } else if (reader == "READ_TXF") {
    for (int k = 0; k < 20; ++k) lines.push_back("51.5, -0.12, \"Walk\", 960000");
  } else {
    // Pushpins: header of 32 bytes claiming 20 pins, then 20 pins with a short name.
    std::string bytes(12, 'H');
    bytes += std::string("\x14\0\0\0", 4) + std::string(16, 'h');
    for (int k = 0; k < 20; ++k) {
      bytes += std::string("\1\0\0\0\0", 5) + std::string(16, '\x3F') + std::string(8, '\0');
      bytes += std::string("\2A\0B\0\0\0", 7);
    }
    return bytes;
  }
  return crlf(lines);
}

TEST(Robustness, EveryReaderMeetsDamagedAndForeignFilesWithoutCrashOrHang) {
  std::ofstream manifest(kManifest, std::ios::binary | std::ios::trunc);
  int runs = 0;
  auto add = [&](const std::string& reader, const std::string& name, const std::string& bytes) {
    writeFile(name, bytes);
    manifest << reader << " " << name << "\n";
    ++runs;
  };
  for (const std::string& reader : kReaderNames) {
    const std::string sound = soundFile(reader);
    add(reader, reader + ".empty", "");
    add(reader, reader + ".random", randomBytes(7, 5000, false));
    add(reader, reader + ".text", randomBytes(11, 3000, true));
    add(reader, reader + ".long", std::string(200000, '1') + "," + std::string(200000, '"') + "\r\n" + sound);
    for (const std::size_t cut : {sound.size() / 3, sound.size() / 2, sound.size() - 3}) {
      add(reader, reader + ".cut" + std::to_string(cut), sound.substr(0, cut));
    }
    add(reader, reader + ".sound", sound);
  }
  manifest.close();
  std::vector<Box> boxes;
  std::vector<HWND> answered;
  const int code = testing_support::runChildScenario(
      "tabular2-robustness", [&](DWORD pid) { answerBoxes(pid, boxes, answered); }, 120000);
  EXPECT_EQ(code, 0);
  std::istringstream report(readFile(kReport));
  std::string line;
  int reported = 0;
  while (std::getline(report, line)) {
    ++reported;
    EXPECT_NE(line.find(" sound"), std::string::npos) << line;
    // A sound file is read whole, whatever reader it belongs to.
    if (line.find(".sound ") != std::string::npos) {
      EXPECT_NE(line.find(" 20 sound"), std::string::npos) << line;
    }
  }
  EXPECT_EQ(reported, runs);
  // Every refusal is one of the program's boxes, with a text.
  const std::set<std::string> titles{"Data Error", "File Format Error", "Format error", "Storage limit"};
  for (const Box& box : boxes) {
    EXPECT_EQ(titles.count(box.title), 1u) << box.title;
    EXPECT_FALSE(box.text.empty()) << box.title;
  }
}

}  // namespace
