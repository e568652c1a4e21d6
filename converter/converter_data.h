#pragma once
// The converter's global records: the one point list, the settings that the menu
// and the option dialogs change and the writers read, the file names, the record
// buffers and the fixed texts of the program.  They live for the whole process;
// readers and writers take no arguments and work on them directly.

#include <array>
#include <cstdint>

#include "toolkit/core/fixed_text.h"

// Logical flags of the converter: 0 is false, -1 (all bits) is true, and every
// test looks at the lowest bit only.
using Logical = std::int32_t;
constexpr Logical kLogicalFalse = 0;
constexpr Logical kLogicalTrue = -1;
constexpr bool isTrue(Logical flag) { return (flag & 1) != 0; }

// An altitude or proximity that the input did not give, and a symbol not known.
constexpr float kNoValue = -9999.0f;
constexpr std::int32_t kNoSymbol = -1;

// One waypoint, route point or track point.
struct POINT_RECORD {
  float LONGITUDE = 0.0f;  // degrees, WGS84, east positive
  float LATITUDE = 0.0f;   // degrees, WGS84, north positive
  FixedText<10> DATE;      // dd/mm/yyyy
  FixedText<8> TIME;       // hh:mm:ss
  float ALTITUDE = kNoValue;  // metres
  FixedText<128> NAME;
  FixedText<256> DESCRIPTION;
  FixedText<256> COMMENT;
  float PROXIMITY = kNoValue;  // alarm radius, metres
  // A Garmin symbol 0-15, a Maptech code (22 and above) or, for GPX waypoints,
  // a Memory-Map code; kNoSymbol when none is known.
  std::int32_t SYMBOL = kNoSymbol;
  FixedText<20> SYMBOL_NAME;
  FixedText<64> ROUTE_NAME;  // blank for a plain waypoint
  FixedText<6> COLOUR;
};

constexpr int MAX_POINTS = 60000;

// The single list of points.  A route or a track is a run of consecutive points
// with the same ROUTE_NAME.
struct PointList {
  std::array<POINT_RECORD, MAX_POINTS> POINTS;
  std::int32_t NPOINTS = 0;       // points in the list, 0 to MAX_POINTS
  std::int32_t NREAD = 0;         // points taken from the file read last
  std::int32_t NROUTES = 0;       // routes or tracks met by the reader or writer at work
  FixedText<64> CURRENT_ROUTE;    // route or track being read or written
  std::int32_t NTRACKPOINTS = 0;  // track points met in the current file, before the filter
  std::int32_t TRACK_POSITION = 0;  // position within the current track, from 0

  // Point i of the list, counted from 1.
  POINT_RECORD& POINT(int i) { return POINTS[static_cast<std::size_t>(i - 1)]; }
  const POINT_RECORD& POINT(int i) const { return POINTS[static_cast<std::size_t>(i - 1)]; }
};
extern PointList POINT_LIST;

// Appends a point to POINT_LIST: NPOINTS and NREAD one more, and the new point
// set to no values (blank texts, no altitude, proximity or symbol, position 0, 0),
// ready for the reader to fill.  When the list already holds MAX_POINTS it shows
// the "Storage limit" box, sets STOP_FLAG and returns nullptr, storing nothing and
// leaving NPOINTS at MAX_POINTS.  Every reader stores its points through here.
POINT_RECORD* STORE_POINT();
// Takes the point stored last back out of POINT_LIST, when a reader finds its
// record unusable after it was counted: no half-filled point stays behind.
void WITHDRAW_POINT();
// The "Storage limit" box alone, for a reader that checks its count beforehand.
void STORAGE_LIMIT_BOX();

// What a reader may store: a latitude is a finite number within -90..90, a
// longitude one within -180..180, an altitude or proximity any finite number.
// A value out of these bounds is no position, and every writer would pass it on.
bool isRealLatitude(double latitude);
bool isRealLongitude(double longitude);
bool isRealMeasure(double value);
// The point's position, altitude and proximity all as above.
bool isRealPoint(const POINT_RECORD& point);

struct ConverterSettings {
  FixedText<6> DATA_TYPE{"Points"};  // "Points", "Routes" or "Tracks"
  Logical OSGB_OUTPUT = kLogicalFalse;  // grid references in ASC and Excel output
  std::int32_t TRACK_FILTER = 1;      // 1, 5 or 10: keep every n-th track point
  float PDOP_LIMIT = 9999.0f;         // NMEA acceptance limit
};
extern ConverterSettings CONVERTER_SETTINGS;

// The file-type choice remembered for each file dialog and data type, 1-based.
enum FilterIndex : int {
  kOpenPoints = 0,
  kOpenRoutes,
  kOpenTracks,
  kSavePoints,
  kSaveRoutes,
  kSaveTracks,
};
extern std::array<std::int32_t, 6> FILTER_INDICES;

struct GarminSettings {
  float PROXIMITY = 0.0f;         // metres, for points without one
  std::int32_t ALTITUDE = -9999;  // metres, for points without one; -9999 none
  std::int32_t SYMBOL = 0;        // 0-based index into GARMIN_SYMBOLS
  std::int32_t REPLACE_NAME = 0;  // check box: generated identifiers for names
  FixedText<10> NAME_PREFIX{"W"};
};
extern GarminSettings GARMIN_SETTINGS;

struct MaptechSettings {
  std::int32_t SYMBOL = 8;  // 1-based index into MAPTECH_SYMBOL_CHOICES ("Flag")
  FixedText<10> NAME_PREFIX{"WPT"};
};
extern MaptechSettings MAPTECH_SETTINGS;

struct OziExplorerSettings {
  float PROXIMITY = 0.0f;        // feet
  std::int32_t SYMBOL = 0;       // 0-based index into GARMIN_SYMBOLS
  std::int32_t ALTITUDE = -777;  // feet; -777 none
};
extern OziExplorerSettings OZIEXPLORER_SETTINGS;

struct TomTomSettings {
  // 1 at 32 characters, 2 at 10 (unique), 3 at the first comma (max 32), 4 none.
  std::int32_t NAME_TRUNCATION = 1;
  // The field that becomes the TomTom name: 1 DESCRIPTION, 2 NAME, 3 COMMENT.
  std::int32_t NAME_SOURCE = 1;
  FixedText<12> BLANK_NAME_PREFIX{"POI"};
};
extern TomTomSettings TOMTOM_SETTINGS;
// Labels of NAME_SOURCE 1 to 3, in that order.
inline constexpr std::array<FixedText<11>, 3> NAME_SOURCE_LABELS{"Description", "Name", "Comment"};

struct GpxSettings {
  float PROXIMITY = 0.0f;            // metres
  std::int32_t NAME_LENGTH = 1;      // 1 at most 10 characters, 2 unlimited
  std::int32_t UNIQUE_NAMES = 1;     // check box
  std::int32_t UPPER_CASE = 1;       // check box
};
extern GpxSettings GPX_SETTINGS;

struct FileNames {
  FixedText<256> INPUT_FILE;
  FixedText<256> OUTPUT_FILE;
  FixedText<256> LAST_INPUT_FILE;  // from the previous run
  FixedText<256> PROGRAM_FOLDER;   // with its last backslash
  FixedText<256> WORK_PATH_1;      // the file chosen last, without its extension
  FixedText<256> WORK_PATH_2;      // the Save dialog's file name
  FixedText<3> FILE_EXTENSION;     // lower case
};
extern FileNames FILE_NAMES;

// Modification date and time of INPUT_FILE: the date and time of points read
// without their own.
extern FixedText<10> FILE_DATE;
extern FixedText<8> FILE_TIME;
// Today's date and the time of start-up (or of the last refresh).
extern FixedText<10> DEFAULT_DATE;
extern FixedText<8> DEFAULT_TIME;

// The current text record of every reader and writer, and one XML element
// gathered over several lines.
constexpr int kRecordLength = 1024;
extern FixedText<kRecordLength> RECORD_BUFFER;
extern FixedText<kRecordLength> XML_RECORD_BUFFER;

struct CompanionFiles {
  FixedText<256> SYMBOL_FILE;   // PROGRAM_FOLDER + "default_symbol.bmp"
  FixedText<256> PICTURE_FILE;  // PROGRAM_FOLDER + "default_pic.pic"
};
extern CompanionFiles COMPANION_FILES;

inline constexpr FixedText<6> VERSION{"3.21"};
inline constexpr FixedText<10> BUILD_DATE{"17/10/2007"};

// Debug mode: on when "Debug.yes" lies beside the program at start-up.
extern Logical DEBUG_FLAG;
// Ends the event loop; never reset.
extern Logical STOP_FLAG;
