// Test-only console program: runs one reader or writer of the Memory-Map,
// OziExplorer and Maptech formats on files named on the command line.
//
//   tabular2_tool write ROUTINE OUTPUT SAMPLE   (SAMPLE: points, routes or tracks)
//   tabular2_tool read ROUTINE INPUT DUMP
//
// The dump has one line per point read: latitude and longitude (F10.5), name,
// description, route or track name, altitude (F7.1, or "none"), date and time,
// separated by "|".  Exit code 0 when the routine ran and left STOP_FLAG clear.

#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "converter/converter_data.h"
#include "formats/tabular/maptech.h"
#include "formats/tabular/memorymap.h"
#include "formats/tabular/oziexplorer.h"
#include "toolkit/core/number_format.h"

namespace {

using Routine = void (*)();

const std::map<std::string, Routine> kRoutines{
    {"READ_OZI_WPT", READ_OZI_WPT},       {"WRITE_OZI_WPT", WRITE_OZI_WPT},
    {"READ_OZI_RTE", READ_OZI_RTE},       {"WRITE_OZI_RTE", WRITE_OZI_RTE},
    {"READ_OZI_PLT", READ_OZI_PLT},       {"WRITE_OZI_PLT", WRITE_OZI_PLT},
    {"READ_MXF", READ_MXF},               {"WRITE_MXF", WRITE_MXF},
    {"READ_RXF", READ_RXF},               {"WRITE_RXF", WRITE_RXF},
    {"READ_TXF", READ_TXF},               {"WRITE_TXF", WRITE_TXF},
    {"READ_MM_MARKS_CSV", READ_MM_MARKS_CSV}, {"WRITE_MM_MARKS_CSV", WRITE_MM_MARKS_CSV}};

struct Sample {
  float latitude;
  float longitude;
  const char* name;
  const char* description;
  const char* route;
  float altitude;
  const char* date;
  const char* time;
};

const std::map<std::string, std::vector<Sample>> kSamples{
    {"points",
     {{51.500729f, -0.124625f, "BIGBEN", "Big Ben", "", 100.0f, "01/01/2000", "12:00:00"},
      {-33.856784f, 151.215297f, "", "Opera House", "", kNoValue, "25/12/2001", "06:30:00"},
      {48.858222f, 2.2945f, "", "", "", 330.0f, "29/02/2004", "18:45:00"},
      {40.689247f, -74.044502f, "LIBERTY", "Statue of Liberty", "", 93.0f, "04/07/2006", "09:15:00"}}},
    {"routes",
     {{51.5f, -0.12f, "START", "Westminster", "Thames walk", kNoValue, "01/05/2007", "08:00:00"},
      {51.508f, -0.076f, "TOWER", "Tower of London", "Thames walk", kNoValue, "01/05/2007", "09:00:00"},
      {55.9486f, -3.1999f, "CASTLE", "Edinburgh Castle", "Old town", kNoValue, "02/05/2007", "10:00:00"},
      {55.9527f, -3.1722f, "HOLY", "Holyrood", "Old town", kNoValue, "02/05/2007", "11:30:00"}}},
    {"tracks",
     {{51.5f, -0.12f, "", "", "Morning walk", 10.0f, "01/05/2007", "08:00:00"},
      {51.51f, -0.121f, "", "", "Morning walk", 12.5f, "01/05/2007", "08:01:30"},
      {51.52f, -0.122f, "", "", "Morning walk", kNoValue, "01/05/2007", "08:03:00"},
      {51.53f, -0.13f, "", "", "Evening", 20.0f, "01/05/2007", "19:00:00"},
      {51.54f, -0.14f, "", "", "Evening", 21.0f, "01/05/2007", "19:10:00"}}},
};

int usage() {
  std::fprintf(stderr, "usage: tabular2_tool write|read ROUTINE FILE SAMPLE|DUMP\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) return usage();
  const std::string mode = argv[1];
  const auto routine = kRoutines.find(argv[2]);
  if (routine == kRoutines.end()) return usage();
  FILE_DATE = "05/06/2007";
  FILE_TIME = "10:20:30";
  if (mode == "write") {
    const auto sample = kSamples.find(argv[4]);
    if (sample == kSamples.end()) return usage();
    for (const Sample& s : sample->second) {
      POINT_RECORD* p = STORE_POINT();
      p->LATITUDE = s.latitude;
      p->LONGITUDE = s.longitude;
      p->NAME = s.name;
      p->DESCRIPTION = s.description;
      p->ROUTE_NAME = s.route;
      p->ALTITUDE = s.altitude;
      p->DATE = s.date;
      p->TIME = s.time;
    }
    FILE_NAMES.OUTPUT_FILE = argv[3];
    routine->second();
    return isTrue(STOP_FLAG) ? 1 : 0;
  }
  if (mode != "read") return usage();
  FILE_NAMES.INPUT_FILE = argv[3];
  routine->second();
  std::ofstream dump(argv[4], std::ios::binary | std::ios::trunc);
  for (int i = 1; i <= POINT_LIST.NPOINTS; ++i) {
    const POINT_RECORD& p = POINT_LIST.POINT(i);
    dump << formatF(p.LATITUDE, 10, 5) << "|" << formatF(p.LONGITUDE, 10, 5) << "|" << p.NAME.str() << "|"
         << p.DESCRIPTION.str() << "|" << p.ROUTE_NAME.str() << "|"
         << (p.ALTITUDE == kNoValue ? std::string("none") : formatF(p.ALTITUDE, 7, 1)) << "|" << p.DATE.str()
         << "|" << p.TIME.str() << "\n";
  }
  return isTrue(STOP_FLAG) ? 1 : 0;
}
