#include "converter/open_save.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "converter/converter_data.h"
#include "converter/dates.h"
#include "converter/debug_log.h"
#include "converter/log_display.h"
#include "converter/text_helpers.h"
#include "formats/device/destinator.h"
#include "formats/device/garmin.h"
#include "formats/device/tomtom.h"
#include "formats/tabular/autoroute.h"
#include "formats/tabular/excelsubs.h"
#include "formats/tabular/mapsource.h"
#include "formats/tabular/maptech.h"
#include "formats/tabular/memorymap.h"
#include "formats/tabular/oziexplorer.h"
#include "formats/tabular/pocketstreets.h"
#include "formats/tabular/st2gpx.h"
#include "formats/xml/google.h"
#include "formats/xml/gpsexchange.h"
#include "formats/xml/mapopolis.h"
#include "toolkit/dialogs/file_selection.h"
#include "toolkit/dialogs/message_box.h"

namespace {

// A reader or a writer: it finds its file in FILE_NAMES and its points in
// POINT_LIST.
using FormatRoutine = void (*)();

// The file-type lists of the dialogs, each item followed by "|".
namespace filter_lists {
constexpr std::string_view kOpenPoints =
    "TomTom Text (*.asc)|*.asc|TomTom Overlays (*.ov2, *.ovr)|*.ov2;*.ovr|Maptech Marks (*.mxf)|*.mxf|"
    "Memory-Map CSV files (*.csv)|*.csv|Garmin GPS Database Waypoints (*.gdb)|*.gdb|"
    "MapSource Waypoints (*.txt)|*.txt|GPS eXchange Waypoints (*.gpx)|*.gpx|"
    "Microsoft Maps (*.axe, *.est, *.ptm)|*.axe;*.est;*.ptm|AutoRoute PushPins (*.csv)|*.csv|"
    "Excel Table (*.xls)|*.xls|Pocket Streets PushPins (*.psp)|*.psp|OziExplorer Waypoints (*.wpt)|*.wpt|"
    "Garmin PCX5 Waypoints (*.wpt)|*.wpt|Google Earth Points (*.kml)|*.kml|";
constexpr std::string_view kOpenRoutes =
    "TomTom 3 Itinerary (*.itn)|*.itn|Maptech Routes (*.rxf)|*.rxf|Garmin PCX5 Routes (*.rte)|*.rte|"
    "MapSource Routes (*.txt)|*.txt|GPS eXchange Routes (*.gpx)|*.gpx|"
    "Microsoft Maps Routes (*.axe, *.est, *.ptm)|*.axe;*.est;*.ptm|Excel Table (*.xls)|*.xls|"
    "OziExplorer Routes (*.rte)|*.rte|";
constexpr std::string_view kOpenTracks =
    "TomTom Logs NMEA (*.pgl, *.log)|*.pgl;*.log|Maptech Tracks (*.txf)|*.txf|"
    "Garmin PCX5 Tracks (*.trk)|*.trk|GPS eXchange Tracks (*.gpx)|*.gpx|MapSource Tracks (*.txt)|*.txt|"
    "Excel Table (*.xls)|*.xls|OziExplorer Tracks (*.plt)|*.plt|";
constexpr std::string_view kSavePoints =
    "TomTom Overlay (*.ov2,*.ovr)|*.ov2;*.ovr|TomTom ASCII (*.asc)|*.asc|Maptech Marks (*.mxf)|*.mxf|"
    "Memory-Map CSV files (*.csv)|*.csv|Garmin GPS Database Waypoints (*.gdb)|*.gdb|"
    "GPS eXchange (*.gpx)|*.gpx|AutoRoute Pushpins (*.csv)|*.csv|"
    "AutoRoute Pushpins Continental Format (*.tab)|*.tab|Excel Table (*.xls)|*.xls|"
    "Google Earth KML files (*.kml)|*.kml|OziExplorer (*.wpt)|*.wpt|Destinator 3 (*.csv)|*.csv|"
    "Mapopolis (*.mlp)|*.mlp|Garmin PCX5 Waypoints (*.wpt)|*.wpt|";
constexpr std::string_view kSaveRoutes =
    "TomTom 3 Itinerary (*.itn)|*.itn|Maptech Routes (*.rxf)|*.rxf|Garmin Routes (*.rte)|*.rte|"
    "GPS eXchange Routes (*.gpx)|*.gpx|Excel Table (*.xls)|*.xls|Google Earth Routes (*.kml)|*.kml|"
    "OziExplorer Routes (*.rte)|*.rte|";
// The last pattern begins with a blank, as the program has always had it.
constexpr std::string_view kSaveTracks =
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

constexpr int kOkOnly = 0;
constexpr int kInformationIcon = 4;
constexpr int kOpenFlags = kSelectMustExist | kSelectKeepDirectory | kSelectPrompt;  // 138
constexpr int kSaveFlags = kSelectSave | kSelectPrompt | kSelectDefaultExtension;    // 35
constexpr int kFileChosen = 1;

// The one list position of Points that serves two formats, told apart by the
// extension of the chosen file.
void readOverlay() {
  if (text::equal(FILE_NAMES.FILE_EXTENSION, "ov2")) {
    READ_OV2();
  } else if (text::equal(FILE_NAMES.FILE_EXTENSION, "ovr")) {
    READ_OVR();
  }
}

void writeOverlay() {
  if (text::equal(FILE_NAMES.FILE_EXTENSION, "ov2")) {
    WRITE_OV2();
  } else if (text::equal(FILE_NAMES.FILE_EXTENSION, "ovr")) {
    WRITE_OVR();
  }
}

// Readers and writers by position in the file-type lists.
constexpr std::array<FormatRoutine, 14> kOpenPointsRoutines{{
    READ_ASC,
    readOverlay,
    READ_MXF,
    READ_MM_MARKS_CSV,
    READ_GDB_WPT,
    READ_TXT,
    READ_GPX,
    READ_AXE,
    NEW_READ_CSV,
    READ_XLS,
    READ_PSP,
    READ_OZI_WPT,
    READ_WPT,
    READ_KML_POINTS,
}};
constexpr std::array<FormatRoutine, 8> kOpenRoutesRoutines{{
    READ_ITN,
    READ_RXF,
    READ_RTE,
    READ_TXT_ROUTE,
    READ_GPX_ROUTE,
    READ_AXE_ROUTE,
    READ_XLS,
    READ_OZI_RTE,
}};
constexpr std::array<FormatRoutine, 7> kOpenTracksRoutines{{
    READ_PGL,
    READ_TXF,
    READ_TRK,
    READ_GPX_TRACK,
    READ_TXT_TRACK,
    READ_XLS,
    READ_OZI_PLT,
}};
constexpr std::array<FormatRoutine, 14> kSavePointsRoutines{{
    writeOverlay,
    WRITE_ASC,
    WRITE_MXF,
    WRITE_MM_MARKS_CSV,
    WRITE_GDB_WPT,
    WRITE_GPX,
    WRITE_CSV,
    WRITE_TAB,
    WRITE_XLS,
    WRITE_KML_POINTS,
    WRITE_OZI_WPT,
    WRITE_DESTINATOR3_CSV,
    WRITE_MLP,
    WRITE_WPT,
}};
constexpr std::array<FormatRoutine, 7> kSaveRoutesRoutines{{
    WRITE_ITN,
    WRITE_RXF,
    WRITE_RTE,
    WRITE_GPX_ROUTE,
    WRITE_XLS,
    WRITE_KML_ROUTE,
    WRITE_OZI_RTE,
}};
constexpr std::array<FormatRoutine, 6> kSaveTracksRoutines{{
    WRITE_TXF,
    WRITE_TRK,
    WRITE_GPX_TRACK,
    WRITE_XLS,
    WRITE_KML_TRACK,
    WRITE_OZI_PLT,
}};

template <std::size_t N>
constexpr FormatChoice choiceOf(std::string_view filter, const std::array<FormatRoutine, N>& routines) {
  return FormatChoice{filter, routines.data(), static_cast<int>(N)};
}

// Each list offers exactly the file types that its table serves.
static_assert(FILTER_COUNT(filter_lists::kOpenPoints) == kOpenPointsRoutines.size());
static_assert(FILTER_COUNT(filter_lists::kOpenRoutes) == kOpenRoutesRoutines.size());
static_assert(FILTER_COUNT(filter_lists::kOpenTracks) == kOpenTracksRoutines.size());
static_assert(FILTER_COUNT(filter_lists::kSavePoints) == kSavePointsRoutines.size());
static_assert(FILTER_COUNT(filter_lists::kSaveRoutes) == kSaveRoutesRoutines.size());
static_assert(FILTER_COUNT(filter_lists::kSaveTracks) == kSaveTracksRoutines.size());

// The filter list of a dialog as the dialog takes it: blank-padded.
using FilterText = FixedText<512>;

// Runs the routine of a 1-based position; a position outside the list runs none.
void RUN_FORMAT_ROUTINE(const FormatChoice& choice, int position) {
  if (position < 1 || position > choice.count) return;
  choice.routines[position - 1]();
}

// The remembered index of a dialog for the current data type.
std::int32_t& rememberedIndex(bool open) {
  const std::string_view type = CONVERTER_SETTINGS.DATA_TYPE;
  int entry = open ? kOpenTracks : kSaveTracks;
  if (text::equal(type, "Points")) {
    entry = open ? kOpenPoints : kSavePoints;
  } else if (text::equal(type, "Routes")) {
    entry = open ? kOpenRoutes : kSaveRoutes;
  }
  return FILTER_INDICES[static_cast<std::size_t>(entry)];
}

// "Input from ... " or "Output to ... " and the path shortened for the log.
void LOG_FILE(std::string_view lead, std::string_view path) {
  FixedText<256> shortened;
  FIT(path, 50, shortened);
  SCROLL(std::string(lead) + std::string(shortened.trimmed()));
}

// The list and the routines of the data type ("Points", "Routes", anything
// else "Tracks").
FormatChoice OPEN_CHOICE(std::string_view dataType) {
  if (text::equal(dataType, "Points")) return choiceOf(filter_lists::kOpenPoints, kOpenPointsRoutines);
  if (text::equal(dataType, "Routes")) return choiceOf(filter_lists::kOpenRoutes, kOpenRoutesRoutines);
  return choiceOf(filter_lists::kOpenTracks, kOpenTracksRoutines);
}

FormatChoice SAVE_CHOICE(std::string_view dataType) {
  if (text::equal(dataType, "Points")) return choiceOf(filter_lists::kSavePoints, kSavePointsRoutines);
  if (text::equal(dataType, "Routes")) return choiceOf(filter_lists::kSaveRoutes, kSaveRoutesRoutines);
  return choiceOf(filter_lists::kSaveTracks, kSaveTracksRoutines);
}

}  // namespace

void OPEN() {
  DEBUG_MARK(DebugMark::kSubroutine, "Open");
  const FormatChoice choice = OPEN_CHOICE(CONVERTER_SETTINGS.DATA_TYPE);
  const FilterText filter(choice.filter);
  std::int32_t index = rememberedIndex(true);

  // The dialog starts in the folder of the last input file.
  if (!FILE_NAMES.LAST_INPUT_FILE.isBlank()) ROOT(FILE_NAMES.LAST_INPUT_FILE);
  WFileSelect(filter, kOpenFlags, FILE_NAMES.LAST_INPUT_FILE, "Open File", &index);
  if (WQueryLastResult(kLastAnswer) != kFileChosen) return;

  FILE_NAMES.INPUT_FILE = FILE_NAMES.LAST_INPUT_FILE;
  DEBUG_WRITE({FILE_NAMES.INPUT_FILE.trimmed()});
  LOG_FILE("Input from ... ", FILE_NAMES.INPUT_FILE);
  FILEDATETIME(FILE_NAMES.INPUT_FILE, FILE_DATE, FILE_TIME);
  EXTN(FILE_NAMES.INPUT_FILE, FILE_NAMES.WORK_PATH_1, FILE_NAMES.FILE_EXTENSION);
  RUN_FORMAT_ROUTINE(choice, index);
  rememberedIndex(true) = index;
}

void SAVE() {
  DEBUG_MARK(DebugMark::kSubroutine, "Save");
  if (FILE_NAMES.INPUT_FILE.isBlank()) {
    WMessageBox(kOkOnly, kInformationIcon, 1, "No input file selected", "File error");
    return;
  }
  // The dialog proposes the input file's name, without its extension, in its folder.
  FixedText<3> droppedExtension;
  EXTN(FILE_NAMES.LAST_INPUT_FILE, FILE_NAMES.WORK_PATH_2, droppedExtension);

  const FormatChoice choice = SAVE_CHOICE(CONVERTER_SETTINGS.DATA_TYPE);
  const FilterText filter(choice.filter);
  std::int32_t index = rememberedIndex(false);
  WFileSelect(filter, kSaveFlags, FILE_NAMES.WORK_PATH_2, "Save File", &index);
  if (WQueryLastResult(kLastAnswer) != kFileChosen) {
    DEBUG_MARK(DebugMark::kExitFromSubroutine, "Save");
    return;
  }

  FILE_NAMES.OUTPUT_FILE = FILE_NAMES.WORK_PATH_2;
  DEBUG_WRITE({FILE_NAMES.OUTPUT_FILE.trimmed()});
  EXTN(FILE_NAMES.OUTPUT_FILE, FILE_NAMES.WORK_PATH_1, FILE_NAMES.FILE_EXTENSION);
  const bool osgbText = isTrue(CONVERTER_SETTINGS.OSGB_OUTPUT) && text::equal(FILE_NAMES.FILE_EXTENSION, "asc");
  LOG_FILE(osgbText ? "OSGB output to ... " : "Output to ... ", FILE_NAMES.OUTPUT_FILE);
  RUN_FORMAT_ROUTINE(choice, index);
  rememberedIndex(false) = index;
  DEBUG_MARK(DebugMark::kExitFromSubroutine, "Save");
}
