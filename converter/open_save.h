#pragma once
// File > Open, Append and Save: the file dialogs with the file types of the
// current data type, and the reader or writer that the chosen type names.

#include <array>
#include <string_view>

// Shows the Open dialog and runs the reader of the chosen file type on the
// chosen file.  A cancelled dialog changes nothing.
void OPEN();
// Shows the Save dialog and runs the writer of the chosen file type; refuses
// with "No input file selected" while no file has been opened.
void SAVE();

// A reader or a writer: it finds its file in FILE_NAMES and its points in
// POINT_LIST.
using FormatRoutine = void (*)();

// The file-type lists of the dialogs, each item followed by "|".
namespace filter_lists {
inline constexpr std::string_view kOpenPoints =
    "TomTom Text (*.asc)|*.asc|TomTom Overlays (*.ov2, *.ovr)|*.ov2;*.ovr|Maptech Marks (*.mxf)|*.mxf|"
    "Memory-Map CSV files (*.csv)|*.csv|Garmin GPS Database Waypoints (*.gdb)|*.gdb|"
    "MapSource Waypoints (*.txt)|*.txt|GPS eXchange Waypoints (*.gpx)|*.gpx|"
    "Microsoft Maps (*.axe, *.est, *.ptm)|*.axe;*.est;*.ptm|AutoRoute PushPins (*.csv)|*.csv|"
    "Excel Table (*.xls)|*.xls|Pocket Streets PushPins (*.psp)|*.psp|OziExplorer Waypoints (*.wpt)|*.wpt|"
    "Garmin PCX5 Waypoints (*.wpt)|*.wpt|Google Earth Points (*.kml)|*.kml|";
inline constexpr std::string_view kOpenRoutes =
    "TomTom 3 Itinerary (*.itn)|*.itn|Maptech Routes (*.rxf)|*.rxf|Garmin PCX5 Routes (*.rte)|*.rte|"
    "MapSource Routes (*.txt)|*.txt|GPS eXchange Routes (*.gpx)|*.gpx|"
    "Microsoft Maps Routes (*.axe, *.est, *.ptm)|*.axe;*.est;*.ptm|Excel Table (*.xls)|*.xls|"
    "OziExplorer Routes (*.rte)|*.rte|";
inline constexpr std::string_view kOpenTracks =
    "TomTom Logs NMEA (*.pgl, *.log)|*.pgl;*.log|Maptech Tracks (*.txf)|*.txf|"
    "Garmin PCX5 Tracks (*.trk)|*.trk|GPS eXchange Tracks (*.gpx)|*.gpx|MapSource Tracks (*.txt)|*.txt|"
    "Excel Table (*.xls)|*.xls|OziExplorer Tracks (*.plt)|*.plt|";
inline constexpr std::string_view kSavePoints =
    "TomTom Overlay (*.ov2,*.ovr)|*.ov2;*.ovr|TomTom ASCII (*.asc)|*.asc|Maptech Marks (*.mxf)|*.mxf|"
    "Memory-Map CSV files (*.csv)|*.csv|Garmin GPS Database Waypoints (*.gdb)|*.gdb|"
    "GPS eXchange (*.gpx)|*.gpx|AutoRoute Pushpins (*.csv)|*.csv|"
    "AutoRoute Pushpins Continental Format (*.tab)|*.tab|Excel Table (*.xls)|*.xls|"
    "Google Earth KML files (*.kml)|*.kml|OziExplorer (*.wpt)|*.wpt|Destinator 3 (*.csv)|*.csv|"
    "Mapopolis (*.mlp)|*.mlp|Garmin PCX5 Waypoints (*.wpt)|*.wpt|";
inline constexpr std::string_view kSaveRoutes =
    "TomTom 3 Itinerary (*.itn)|*.itn|Maptech Routes (*.rxf)|*.rxf|Garmin Routes (*.rte)|*.rte|"
    "GPS eXchange Routes (*.gpx)|*.gpx|Excel Table (*.xls)|*.xls|Google Earth Routes (*.kml)|*.kml|"
    "OziExplorer Routes (*.rte)|*.rte|";
// The last pattern begins with a blank, as the program has always had it.
inline constexpr std::string_view kSaveTracks =
    "Maptech Tracks (*.txf)|*.txf|Garmin Tracks (*.trk)|*.trk|GPS eXchange Tracks (*.gpx)|*.gpx|"
    "Excel Table (*.xls)|*.xls|Google Earth Tracks (*.kml)|*.kml|OziExplorer Tracks (*.plt)| *.plt|";
}  // namespace filter_lists

// The number of file types of a list: description and pattern make one.
constexpr std::size_t FILTER_COUNT(std::string_view filter) {
  std::size_t bars = 0;
  for (char c : filter) bars += c == '|' ? 1 : 0;
  return bars / 2;
}

// What Open and Save take for one data type: the list and its routines.
struct FormatChoice {
  std::string_view filter;
  const FormatRoutine* routines;
  int count;
};
// The choice of the data type ("Points", "Routes", anything else "Tracks").
FormatChoice OPEN_CHOICE(std::string_view dataType);
FormatChoice SAVE_CHOICE(std::string_view dataType);
