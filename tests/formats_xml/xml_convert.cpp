// A console bridge for the host-side checks: reads one file with one of our
// readers and writes it with one of our writers, or lists what it read.
//
//   xml_convert READER INPUT WRITER OUTPUT
//   xml_convert READER INPUT list OUTPUT
//
// READER: gpx, gpx-route, gpx-track, kml.  WRITER: gpx, gpx-route, gpx-track, kml,
// kml-route, kml-track.  The name options are off, so names pass unchanged.  The
// list has one line per point, in UTF-8: route name, name, description, comment,
// latitude, longitude, altitude, date, time and symbol name, TAB-separated.
// Exit code 0 on success, 1 when the reader or writer stopped or showed a box.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "converter/converter_data.h"
#include "converter/log_display.h"
#include "formats/xml/google.h"
#include "formats/xml/gpsexchange.h"
#include "formats/xml/xml_output.h"
#include "formats/xml/xml_text.h"

namespace {

const std::map<std::string, void (*)()> kReaders{
    {"gpx", READ_GPX}, {"gpx-route", READ_GPX_ROUTE}, {"gpx-track", READ_GPX_TRACK}, {"kml", READ_KML_POINTS}};
const std::map<std::string, void (*)()> kWriters{
    {"gpx", WRITE_GPX}, {"gpx-route", WRITE_GPX_ROUTE}, {"gpx-track", WRITE_GPX_TRACK},
    {"kml", WRITE_KML_POINTS}, {"kml-route", WRITE_KML_ROUTE}, {"kml-track", WRITE_KML_TRACK}};

std::string field(std::string_view text) { return xmltext::toUtf8(text::trimmed(text)); }

bool list(const char* path) {
  FILE* out = std::fopen(path, "wb");
  if (out == nullptr) return false;
  for (int i = 1; i <= POINT_LIST.NPOINTS; ++i) {
    const POINT_RECORD& p = POINT_LIST.POINT(i);
    const std::string line = field(p.ROUTE_NAME) + "\t" + field(p.NAME) + "\t" + field(p.DESCRIPTION) + "\t" +
                             field(p.COMMENT) + "\t" + XML_FIXED(p.LATITUDE) + "\t" + XML_FIXED(p.LONGITUDE) + "\t" +
                             XML_FIXED(p.ALTITUDE) + "\t" + p.DATE.str() + "\t" + p.TIME.str() + "\t" +
                             field(p.SYMBOL_NAME) + "\n";
    std::fputs(line.c_str(), out);
  }
  return std::fclose(out) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5 || !kReaders.contains(argv[1]) || (!kWriters.contains(argv[3]) && std::strcmp(argv[3], "list") != 0)) {
    std::fprintf(stderr, "usage: xml_convert READER INPUT WRITER|list OUTPUT\n");
    return 2;
  }
  GPX_SETTINGS.UNIQUE_NAMES = 0;
  GPX_SETTINGS.UPPER_CASE = 0;
  GPX_SETTINGS.NAME_LENGTH = 2;
  FILE_DATE = "01/01/2000";
  FILE_TIME = "00:00:00";
  FILE_NAMES.INPUT_FILE = argv[2];
  kReaders.at(argv[1])();
  if (isTrue(STOP_FLAG)) return 1;
  std::printf("%s\n", LOG_DISPLAY.LOG_LINES[0].str().c_str());
  if (std::strcmp(argv[3], "list") == 0) return list(argv[4]) ? 0 : 1;
  FILE_NAMES.OUTPUT_FILE = argv[4];
  const int before = LOG_DISPLAY.LOG_COUNT;
  kWriters.at(argv[3])();
  // A writer that could not write shows a box and logs nothing.
  return LOG_DISPLAY.LOG_COUNT > before ? 0 : 1;
}
