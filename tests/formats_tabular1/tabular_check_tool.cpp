// A console program for the checks by programs of other makers: it writes a
// workbook through the converter's Excel writer, or reads MapSource text through
// the converter's readers and prints the points, one a line:
//   tabular_check_tool write-xls WORKBOOK
//   tabular_check_tool read-txt FILE points|routes|tracks
#include <cstdio>
#include <cstring>
#include <string>

#include "converter/converter_data.h"
#include "converter/log_display.h"
#include "converter/osgbsubs.h"
#include "formats/tabular/excelsubs.h"
#include "formats/tabular/mapsource.h"
#include "toolkit/core/number_format.h"

namespace {

void addPoint(float latitude, float longitude, const std::string& description, const std::string& route,
              const std::string& date, const std::string& time, float altitude) {
  POINT_RECORD* p = STORE_POINT();
  p->LATITUDE = latitude;
  p->LONGITUDE = longitude;
  p->DESCRIPTION = description;
  p->COMMENT = "About " + description;
  p->NAME = description.substr(0, 6);
  p->ROUTE_NAME = route;
  p->DATE = date;
  p->TIME = time;
  p->ALTITUDE = altitude;
  p->PROXIMITY = 25.0f;
  p->SYMBOL_NAME = "House";
  p->COLOUR = "Red";
}

int writeWorkbook(const char* path) {
  CONVERTER_SETTINGS.DATA_TYPE = "Routes";
  CONVERTER_SETTINGS.OSGB_OUTPUT = kLogicalTrue;
  FILE_DATE = "17/10/2007";
  FILE_TIME = "12:34:56";
  FILE_NAMES.OUTPUT_FILE = path;
  addPoint(51.5f, -0.12f, "Big Ben \x96 Westminster", "Thames walk", "05/03/2007", "14:07:09", 12.5f);
  addPoint(51.508f, -0.076f, "Tower of London", "Thames walk", "", "", -9999.0f);
  addPoint(40.0f, 10.0f, std::string(200, 'D'), "Abroad", "31/12/2008", "23:59:59", 0.0f);
  WRITE_XLS();
  const std::string log = LOG_DISPLAY.LOG_LINES[0].str();
  std::printf("%s\n", log.c_str());
  return LOG_DISPLAY.LOG_COUNT == 1 && log == "3 points written to  2 routes" ? 0 : 1;
}

int readText(const char* path, const char* kind) {
  FILE_NAMES.INPUT_FILE = path;
  FILE_DATE = "17/10/2007";
  FILE_TIME = "12:34:56";
  if (std::strcmp(kind, "points") == 0) {
    READ_TXT();
  } else if (std::strcmp(kind, "routes") == 0) {
    READ_TXT_ROUTE();
  } else {
    READ_TXT_TRACK();
  }
  for (int i = 1; i <= POINT_LIST.NPOINTS; ++i) {
    const POINT_RECORD& p = POINT_LIST.POINT(i);
    std::printf("%s|%s|%s|%s|%s|%s|%s %s\n", p.NAME.str().c_str(), p.ROUTE_NAME.str().c_str(),
                formatF(p.LATITUDE, 10, 5).c_str(), formatF(p.LONGITUDE, 11, 5).c_str(),
                formatF(p.ALTITUDE, 10, 1).c_str(), p.SYMBOL_NAME.str().c_str(), p.DATE.str().c_str(),
                p.TIME.str().c_str());
  }
  for (int k = 0; k < LOG_DISPLAY.LOG_COUNT; ++k) {
    std::printf("LOG %s\n", LOG_DISPLAY.LOG_LINES[static_cast<std::size_t>(k)].str().c_str());
  }
  return isTrue(STOP_FLAG) ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  SETUP();
  if (argc == 3 && std::strcmp(argv[1], "write-xls") == 0) return writeWorkbook(argv[2]);
  if (argc == 4 && std::strcmp(argv[1], "read-txt") == 0) return readText(argv[2], argv[3]);
  std::fprintf(stderr, "usage: tabular_check_tool write-xls WORKBOOK | read-txt FILE points|routes|tracks\n");
  return 2;
}
