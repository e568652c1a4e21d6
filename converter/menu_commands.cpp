#include "converter/menu_commands.h"

#include <array>
#include <optional>
#include <string>

#include "converter/converter_data.h"
#include "converter/debug_log.h"
#include "converter/log_display.h"
#include "converter/open_save.h"
#include "converter/option_dialogs.h"
#include "converter/symbol_tables.h"
#include "toolkit/core/help.h"
#include "toolkit/core/menus_toolbars.h"
#include "toolkit/core/number_format.h"
#include "toolkit/core/registry.h"
#include "toolkit/core/status_bar.h"

namespace {

constexpr int kCheckMode = 2;
constexpr int kRegistryText = 1;
constexpr std::string_view kHelpFile = "Carrowmapper.hlp";

// A group of menu items of which exactly one carries the check mark.
template <typename Value>
struct Choice {
  std::int32_t command;
  Value value;
};

constexpr std::array<Choice<std::string_view>, 3> kDataTypes{{
    {kCmdPoints, "Points"},
    {kCmdRoutes, "Routes"},
    {kCmdTracks, "Tracks"},
}};
constexpr std::array<Choice<std::int32_t>, 3> kTrackFilters{{
    {kCmdFilterNone, 1},
    {kCmdFilter5, 5},
    {kCmdFilter10, 10},
}};
constexpr std::array<Choice<float>, 5> kPdopLimits{{
    {kCmdPdop3, 3.0f},
    {kCmdPdop6, 6.0f},
    {kCmdPdop8, 8.0f},
    {kCmdPdop20, 20.0f},
    {kCmdPdopAll, 9999.0f},
}};

// When the item belongs to the group: checks it, unchecks the others and gives
// its value.
template <typename Value, std::size_t N>
const Value* CHECK_CHOICE(const std::array<Choice<Value>, N>& group, std::int32_t item) {
  const Value* chosen = nullptr;
  for (const Choice<Value>& entry : group) {
    if (entry.command == item) chosen = &entry.value;
  }
  if (chosen == nullptr) return nullptr;
  for (const Choice<Value>& entry : group) WMenuSetState(entry.command, kCheckMode, entry.command == item ? 1 : 0);
  return chosen;
}

// An entry of a table by a 1-based setting; nothing when the setting names no
// entry, so that a stray setting never reads outside the table.
template <typename Table>
auto BOUNDED_ENTRY(const Table& table, std::int32_t oneBased) -> std::optional<typename Table::value_type> {
  if (oneBased < 1 || oneBased > static_cast<std::int32_t>(table.size())) return std::nullopt;
  return table[static_cast<std::size_t>(oneBased - 1)];
}

std::string summaryOf(OptionFamily family) {
  switch (family) {
    case OptionFamily::kGarmin:
      return " Garmin Prefix: " + GARMIN_SETTINGS.NAME_PREFIX.str() + ", Alt:" + formatI(GARMIN_SETTINGS.ALTITUDE, 5) +
             ", Proximity:" + formatF(GARMIN_SETTINGS.PROXIMITY, 7, 1) + ", Symbol:" +
             formatI(GARMIN_SETTINGS.SYMBOL, 3);
    case OptionFamily::kMaptech: {
      const auto code = BOUNDED_ENTRY(MAPTECH_SYMBOL_CHOICES, MAPTECH_SETTINGS.SYMBOL);
      return " Maptech Waypoint symbol: " + (code ? formatI(*code, 3) : std::string("  ?")) +
             ", Short name prefix: " + MAPTECH_SETTINGS.NAME_PREFIX.str();
    }
    case OptionFamily::kOziExplorer:
      return " OziExplorer Altitude (ft):" + formatI(OZIEXPLORER_SETTINGS.ALTITUDE, 5) + ", Proximity (ft):" +
             formatF(OZIEXPLORER_SETTINGS.PROXIMITY, 7, 1) + ", Symbol:" + formatI(OZIEXPLORER_SETTINGS.SYMBOL, 3);
    case OptionFamily::kTomTom: {
      const auto label = BOUNDED_ENTRY(NAME_SOURCE_LABELS, TOMTOM_SETTINGS.NAME_SOURCE);
      return (label ? label->str() : std::string("?")) + " => TomTom Name" +
             ", Blank name prefix: " + TOMTOM_SETTINGS.BLANK_NAME_PREFIX.str();
    }
    case OptionFamily::kGpx:
      return std::string(" GPX names: ") + (GPX_SETTINGS.UPPER_CASE == 1 ? "Case: Upper," : "Case: Unchanged,") +
             (GPX_SETTINGS.UNIQUE_NAMES == 1 ? " Make unique: Yes" : " Make unique: No") + ", Length: " +
             (GPX_SETTINGS.NAME_LENGTH == 1 ? "10 max." : "128 max.");
  }
  return {};
}

// File > Exit: the input file and the six remembered file types.
void SAVE_REGISTRY() {
  if (!FILE_NAMES.INPUT_FILE.isBlank()) {
    IOsRegistryPut(kRegistryKey, FILE_NAMES.INPUT_FILE.trimmed(), kInputFileValue, kRegistryText);
  }
  for (std::size_t i = 0; i < FILTER_INDICES.size(); ++i) {
    IOsRegistryPut(kRegistryKey, formatI(FILTER_INDICES[i], 2, 2), kFilterIndexValues[i], kRegistryText);
  }
}

void OPTIONS_COMMAND(std::string_view debugLine, void (*dialog)(), OptionFamily family) {
  DEBUG_WRITE({debugLine});
  dialog();
  SHOW_OPTIONS_SUMMARY(family);
}

}  // namespace

void SHOW_OPTIONS_SUMMARY(OptionFamily family) {
  RECORD_BUFFER = summaryOf(family);
  WindowStatusText(2, RECORD_BUFFER.trimmed());
}

void SHOW_COORDINATE_FORMAT() {
  WindowStatusText(1, isTrue(CONVERTER_SETTINGS.OSGB_OUTPUT) ? " ASC/Excel output coords: OSGB"
                                                             : " ASC/Excel output coords: Lat/Long");
}

void PROCESSMENU(const std::int32_t& item) {
  DEBUG_WRITE({"Process menu"});
  switch (item) {
    case kCmdFileOpen:
      DEBUG_WRITE({"  File open"});
      POINT_LIST.NPOINTS = 0;
      POINT_LIST.NREAD = 0;
      DEBUG_WRITE({"Window clear"});
      EMPTY_LOG();
      OPEN();
      break;
    case kCmdFileAppend:
      DEBUG_WRITE({"  File Append"});
      POINT_LIST.NREAD = 0;
      OPEN();
      break;
    case kCmdFileSave:
      DEBUG_WRITE({"  File save"});
      SAVE();
      break;
    case kCmdFileExit:
    case kCmdToolbarExit:
      DEBUG_WRITE({"  File exit"});
      WHelpTopicShow(" ");
      STOP_FLAG = kLogicalTrue;
      SAVE_REGISTRY();
      break;
    case kCmdHelpAbout:
      DEBUG_WRITE({"Help about"});
      ABOUT();
      break;
    case kCmdHelpContents:
      DEBUG_WRITE({"Help"});
      WHelpTopicShow(kHelpFile);
      break;
    case kCmdLatLong:
    case kCmdOsgb:
      CONVERTER_SETTINGS.OSGB_OUTPUT = item == kCmdOsgb ? kLogicalTrue : kLogicalFalse;
      SHOW_COORDINATE_FORMAT();
      WMenuSetState(kCmdLatLong, kCheckMode, item == kCmdLatLong ? 1 : 0);
      WMenuSetState(kCmdOsgb, kCheckMode, item == kCmdOsgb ? 1 : 0);
      break;
    case kCmdGarmin:
      OPTIONS_COMMAND("Garmin Options", GARMIN_OPTIONS, OptionFamily::kGarmin);
      break;
    case kCmdMaptech:
      OPTIONS_COMMAND("Maptech Options", MAPTECH_OPTIONS, OptionFamily::kMaptech);
      break;
    case kCmdOziExplorer:
      OPTIONS_COMMAND("OziExplorer Options", OZIEXPLORER_OPTIONS, OptionFamily::kOziExplorer);
      break;
    case kCmdTomTom:
      OPTIONS_COMMAND("TomTom Options", TOMTOM_OPTIONS, OptionFamily::kTomTom);
      break;
    case kCmdGpx:
      OPTIONS_COMMAND("GPX Options", GPX_OPTIONS, OptionFamily::kGpx);
      break;
    default:
      if (const auto* type = CHECK_CHOICE(kDataTypes, item)) {
        CONVERTER_SETTINGS.DATA_TYPE = *type;
      } else if (const auto* filter = CHECK_CHOICE(kTrackFilters, item)) {
        CONVERTER_SETTINGS.TRACK_FILTER = *filter;
      } else if (const auto* limit = CHECK_CHOICE(kPdopLimits, item)) {
        CONVERTER_SETTINGS.PDOP_LIMIT = *limit;
      }
      break;
  }
  DEBUG_WRITE({"Exit Process menu"});
}
