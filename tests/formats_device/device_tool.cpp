// A test-only console program that runs one reader or writer of the device
// formats on files named on its command line, for the checks with GPSBabel.
//
//   device_tool write FORMAT OUTPUT POINTS   writes the points of a tab-separated
//       list (longitude, latitude, name, description, comment, date, time,
//       altitude, route name; one point a line) in the format
//   device_tool read FORMAT INPUT           reads the file and prints its points,
//       tab-separated: latitude, longitude, name, description, comment, date,
//       time, altitude, route name
//
// FORMAT is wpt, rte, trk, gdb, ov2, ovr, asc, itn, csv (Destinator) or pgl.
// Message boxes are answered at once and printed after the points as "box:",
// title and text (a line break in the text as \r); the exit status is 2 when
// any box was shown.  Lines end with a line feed alone.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "converter/converter_data.h"
#include "device_test_support.h"
#include "formats/device/destinator.h"
#include "formats/device/device_files.h"
#include "formats/device/garmin.h"
#include "formats/device/tomtom.h"
#include "toolkit/core/number_format.h"

namespace {

struct Format {
  const char* name;
  void (*read)();
  void (*write)();
};

const Format kFormats[] = {
    {"wpt", READ_WPT, WRITE_WPT},   {"rte", READ_RTE, WRITE_RTE}, {"trk", READ_TRK, WRITE_TRK},
    {"gdb", READ_GDB_WPT, WRITE_GDB_WPT}, {"ov2", READ_OV2, WRITE_OV2}, {"ovr", READ_OVR, WRITE_OVR},
    {"asc", READ_ASC, WRITE_ASC},   {"itn", READ_ITN, WRITE_ITN}, {"csv", nullptr, WRITE_DESTINATOR3_CSV},
    {"pgl", READ_PGL, nullptr},
};

std::vector<std::string> split(const std::string& line, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t at = line.find(separator, start);
    parts.push_back(line.substr(start, at == std::string::npos ? std::string::npos : at - start));
    if (at == std::string::npos) return parts;
    start = at + 1;
  }
}

bool loadPoints(const char* path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> f = split(line, '\t');
    f.resize(9);
    double longitude = 0.0, latitude = 0.0, altitude = kNoValue;
    device::readReal(f[0], longitude);
    device::readReal(f[1], latitude);
    if (!f[7].empty()) device::readReal(f[7], altitude);
    POINT_RECORD& p = device_test::addPoint(static_cast<float>(longitude), static_cast<float>(latitude), f[3], f[2]);
    p.COMMENT = f[4];
    p.DATE = f[5];
    p.TIME = f[6];
    p.ALTITUDE = static_cast<float>(altitude);
    p.ROUTE_NAME = f[8];
  }
  return true;
}

std::string altitudeText(float altitude) {
  return altitude == kNoValue ? std::string() : text::withoutLeadingBlanks(formatF(altitude, 12, 1));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: device_tool read|write FORMAT FILE [POINTS]\n");
    return 1;
  }
  const Format* format = nullptr;
  for (const Format& f : kFormats) {
    if (std::strcmp(f.name, argv[2]) == 0) format = &f;
  }
  const bool writing = std::strcmp(argv[1], "write") == 0;
  if (format == nullptr || (writing ? format->write : format->read) == nullptr || (writing && argc < 5)) {
    std::fprintf(stderr, "device_tool: nothing to %s for %s\n", argv[1], argv[2]);
    return 1;
  }
  _setmode(_fileno(stdout), _O_BINARY);
  device_test::resetConverter();
  device_test::BoxAnswerer boxes;
  if (writing) {
    if (!loadPoints(argv[4])) {
      std::fprintf(stderr, "device_tool: cannot read %s\n", argv[4]);
      return 1;
    }
    FILE_NAMES.OUTPUT_FILE = argv[3];
    format->write();
  } else {
    device_test::readFileWith(format->read, argv[3]);
    for (int i = 1; i <= POINT_LIST.NPOINTS; ++i) {
      const POINT_RECORD& p = POINT_LIST.POINT(i);
      std::printf("%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n",
                  text::withoutLeadingBlanks(formatF(p.LATITUDE, 12, 5)).c_str(),
                  text::withoutLeadingBlanks(formatF(p.LONGITUDE, 12, 5)).c_str(), p.NAME.str().c_str(),
                  p.DESCRIPTION.str().c_str(), p.COMMENT.str().c_str(), p.DATE.str().c_str(), p.TIME.str().c_str(),
                  altitudeText(p.ALTITUDE).c_str(), p.ROUTE_NAME.str().c_str());
    }
  }
  for (const device_test::Box& b : boxes.boxes()) {
    std::string text = b.text;
    for (std::size_t at = text.find('\r'); at != std::string::npos; at = text.find('\r', at + 2)) text.replace(at, 1, "\\r");
    std::printf("box: %s: %s\n", b.title.c_str(), text.c_str());
  }
  std::fflush(stdout);
  return boxes.boxes().empty() ? 0 : 2;
}
