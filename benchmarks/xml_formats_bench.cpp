// Reading and writing GPX and KML files of 60000 points, the most the list holds.
// The files are left in the current folder (xml_bench.gpx, xml_bench.kml) so
// that other programs can be timed on the same input.
#include <string>

#include "benchmarks/benchmark.h"
#include "converter/converter_data.h"
#include "converter/log_display.h"
#include "formats/xml/google.h"
#include "formats/xml/gpsexchange.h"
#include "toolkit/core/number_format.h"

namespace {

constexpr const char* kGpxFile = "xml_bench.gpx";
constexpr const char* kKmlFile = "xml_bench.kml";
constexpr int kTracks = 60;

// 60000 points with every field a writer uses, in tracks of 1000.
void fillList() {
  POINT_LIST.NPOINTS = 0;
  POINT_LIST.NREAD = 0;
  STOP_FLAG = kLogicalFalse;
  for (int i = 1; i <= MAX_POINTS; ++i) {
    POINT_RECORD& p = *STORE_POINT();
    p.LATITUDE = 50.0f + static_cast<float>(i % 1000) * 0.001f;
    p.LONGITUDE = -1.0f + static_cast<float>(i / 1000) * 0.01f;
    p.ALTITUDE = static_cast<float>(i % 500);
    p.NAME = "Point " + formatI(i, 5, 5);
    p.DESCRIPTION = "Description of point " + formatI(i, 5) + " & its surroundings";
    p.COMMENT = "Comment " + formatI(i, 5);
    p.DATE = "17/10/2007";
    p.TIME = "12:" + formatI(i / 60 % 60, 2, 2) + ":" + formatI(i % 60, 2, 2);
    p.SYMBOL_NAME = "Flag";
    p.PROXIMITY = 0.0f;
    p.ROUTE_NAME = "Track " + formatI(i * kTracks / (MAX_POINTS + 1), 2, 2);
  }
}

void write(void (*writer)(), const char* file) {
  FILE_NAMES.OUTPUT_FILE = file;
  writer();
}

void read(void (*reader)(), const char* file) {
  POINT_LIST.NPOINTS = 0;
  POINT_LIST.NREAD = 0;
  FILE_NAMES.INPUT_FILE = file;
  FILE_DATE = "01/01/2000";
  FILE_TIME = "00:00:00";
  reader();
}

const bench::Benchmark gpxWrite({"GPX write 60000 waypoints", fillList, [] { write(WRITE_GPX, kGpxFile); }});
// The names kept as they are, every one distinct: making them unique compares
// each with all before it.
const bench::Benchmark gpxWriteDistinct({"GPX write 60000 distinct names",
                                         [] {
                                           fillList();
                                           GPX_SETTINGS.UPPER_CASE = 0;
                                           GPX_SETTINGS.NAME_LENGTH = 2;
                                         },
                                         [] {
                                           write(WRITE_GPX, "xml_bench_names.gpx");
                                           GPX_SETTINGS = GpxSettings{};
                                         }});
const bench::Benchmark gpxRead({"GPX read 60000 waypoints", [] { fillList(); write(WRITE_GPX, kGpxFile); },
                                [] { read(READ_GPX, kGpxFile); }});
const bench::Benchmark kmlWrite({"KML write 60000 points", fillList, [] { write(WRITE_KML_POINTS, kKmlFile); }});
const bench::Benchmark kmlRead({"KML read 60000 points", [] { fillList(); write(WRITE_KML_POINTS, kKmlFile); },
                                [] { read(READ_KML_POINTS, kKmlFile); }});
const bench::Benchmark gpxTrackWrite({"GPX write 60000 track points", fillList,
                                      [] { write(WRITE_GPX_TRACK, "xml_bench_track.gpx"); }});
const bench::Benchmark gpxTrackRead({"GPX read 60000 track points",
                                     [] { fillList(); write(WRITE_GPX_TRACK, "xml_bench_track.gpx"); },
                                     [] { read(READ_GPX_TRACK, "xml_bench_track.gpx"); }});
const bench::Benchmark gpxRouteWrite({"GPX write 60 routes of 1000 points", fillList,
                                      [] { write(WRITE_GPX_ROUTE, "xml_bench_route.gpx"); }});
const bench::Benchmark gpxRouteRead({"GPX read 60 routes of 1000 points",
                                     [] { fillList(); write(WRITE_GPX_ROUTE, "xml_bench_route.gpx"); },
                                     [] { read(READ_GPX_ROUTE, "xml_bench_route.gpx"); }});
const bench::Benchmark kmlRouteWrite({"KML write 60 routes of 1000 points", fillList,
                                      [] { write(WRITE_KML_ROUTE, "xml_bench_route.kml"); }});
const bench::Benchmark kmlTrackWrite({"KML write 60 tracks of 1000 points", fillList,
                                      [] { write(WRITE_KML_TRACK, "xml_bench_track.kml"); }});

}  // namespace
