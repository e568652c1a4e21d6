#include "converter/option_dialogs.h"

#include <string>

#include "converter/converter_data.h"
#include "converter/dates.h"
#include "converter/debug_log.h"
#include "toolkit/core/help.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/dialogs/field_access.h"

namespace {

constexpr std::string_view kProximityFormat = "(F7.1)";
constexpr int kTomTomHelpTopic = 3800;

// Every dialog of the program is shown centred with no field focused.
void SHOW_CENTRED(int mode) { WDialogShow(-1, -1, 0, mode); }

// A 1-based list position from a 0-based setting and back; no selection
// gives -1.
int listEntryOf(std::int32_t zeroBased) { return zeroBased + 1; }
std::int32_t settingOf(int entry) { return entry - 1; }

// About box
constexpr int kAboutText = 1001;

// Garmin
constexpr int kGarminSymbol = 1004;
constexpr int kGarminProximity = 1005;
constexpr int kGarminReplaceName = 1009;
constexpr int kGarminPrefix = 1010;
constexpr int kGarminDate = 1012;
constexpr int kGarminTime = 1013;
constexpr int kGarminAltitude = 1014;

// Maptech
constexpr int kMaptechPrefix = 1003;
constexpr int kMaptechSymbol = 1008;

// OziExplorer
constexpr int kOziAltitude = 1018;
constexpr int kOziProximity = 1019;
constexpr int kOziTime = 1020;
constexpr int kOziDate = 1021;
constexpr int kOziSymbol = 1022;

// TomTom
constexpr int kTomTomNameSource = 1023;
constexpr int kTomTomBlankPrefix = 1024;
constexpr int kTomTomTruncation = 1025;
constexpr int kButtonOk = 1;
constexpr int kButtonEscape = 2;
constexpr int kButtonHelp = 9;

// GPX
constexpr int kGpxUpperCase = 1027;
constexpr int kGpxUnique = 1028;
constexpr int kGpxTenCharacters = 1029;
constexpr int kGpxUnlimited = 1030;
constexpr int kGpxProximity = 1031;

}  // namespace

void ABOUT() {
  WDialogLoad(kAboutDialog);
  FixedText<512> about(std::string("Carrowmapper\r") + "Version " + std::string(VERSION.trimmed()) + " " +
                       std::string(BUILD_DATE.view()) + "\r-\rPOI, Route and Track conversion utility.\r-\r" +
                       "Written by the Carrowmapper developers\r-\r" +
                       "ST2GPX Written by the authors of the ST2GPX converter");
  WDialogPutString(kAboutText, about);
  SHOW_CENTRED(kShowModal);
  WDialogUnload();
}

void GARMIN_OPTIONS() {
  DEBUG_MARK(DebugMark::kSubroutine, "Options");
  WDialogLoad(kGarminDialog);
  WDialogPutString(kGarminPrefix, GARMIN_SETTINGS.NAME_PREFIX);
  WDialogPutCheckBox(kGarminReplaceName, GARMIN_SETTINGS.REPLACE_NAME);
  // The date and time that points without their own will get, as of now.
  CDATE(DEFAULT_DATE);
  FixedText<9> pcx5Date;
  TODD_MMM_YY(DEFAULT_DATE, pcx5Date);
  WDialogPutString(kGarminDate, pcx5Date);
  CTIME(DEFAULT_TIME);
  WDialogPutString(kGarminTime, DEFAULT_TIME);
  WDialogPutInteger(kGarminAltitude, GARMIN_SETTINGS.ALTITUDE);
  WDialogPutReal(kGarminProximity, GARMIN_SETTINGS.PROXIMITY, kProximityFormat);
  WDialogPutOption(kGarminSymbol, listEntryOf(GARMIN_SETTINGS.SYMBOL));

  SHOW_CENTRED(kShowModal);

  WDialogGetString(kGarminPrefix, GARMIN_SETTINGS.NAME_PREFIX);
  WDialogGetCheckBox(kGarminReplaceName, GARMIN_SETTINGS.REPLACE_NAME);
  WDialogGetInteger(kGarminAltitude, GARMIN_SETTINGS.ALTITUDE);
  int entry = 0;
  WDialogGetMenu(kGarminSymbol, entry);
  GARMIN_SETTINGS.SYMBOL = settingOf(entry);
  WDialogGetReal(kGarminProximity, GARMIN_SETTINGS.PROXIMITY);
  WDialogUnload();
  DEBUG_MARK(DebugMark::kExitSubroutine, "Options");
}

void MAPTECH_OPTIONS() {
  DEBUG_MARK(DebugMark::kSubroutine, "Maptech_options");
  WDialogLoad(kMaptechDialog);
  WDialogPutOption(kMaptechSymbol, MAPTECH_SETTINGS.SYMBOL);
  WDialogPutString(kMaptechPrefix, MAPTECH_SETTINGS.NAME_PREFIX);

  SHOW_CENTRED(kShowModal);

  int entry = 0;
  WDialogGetMenu(kMaptechSymbol, entry);
  MAPTECH_SETTINGS.SYMBOL = entry;
  WDialogGetString(kMaptechPrefix, MAPTECH_SETTINGS.NAME_PREFIX);
  WDialogUnload();
  DEBUG_MARK(DebugMark::kExitSubroutine, "Maptech_options");
}

void OZIEXPLORER_OPTIONS() {
  DEBUG_MARK(DebugMark::kSubroutine, "OziExplorer_options");
  WDialogLoad(kOziExplorerDialog);
  CDATE(DEFAULT_DATE);
  CTIME(DEFAULT_TIME);
  WDialogPutString(kOziDate, DEFAULT_DATE);
  WDialogPutString(kOziTime, DEFAULT_TIME);
  WDialogPutInteger(kOziAltitude, OZIEXPLORER_SETTINGS.ALTITUDE);
  WDialogPutReal(kOziProximity, OZIEXPLORER_SETTINGS.PROXIMITY, kProximityFormat);
  WDialogPutOption(kOziSymbol, listEntryOf(OZIEXPLORER_SETTINGS.SYMBOL));

  SHOW_CENTRED(kShowModal);

  WDialogGetInteger(kOziAltitude, OZIEXPLORER_SETTINGS.ALTITUDE);
  int entry = 0;
  WDialogGetMenu(kOziSymbol, entry);
  OZIEXPLORER_SETTINGS.SYMBOL = settingOf(entry);
  WDialogGetReal(kOziProximity, OZIEXPLORER_SETTINGS.PROXIMITY);
  WDialogUnload();
  DEBUG_MARK(DebugMark::kExitSubroutine, "OziExplorer_options");
}

void TOMTOM_OPTIONS() {
  DEBUG_MARK(DebugMark::kSubroutine, "TomTom_options");
  WDialogLoad(kTomTomDialog);
  WDialogPutOption(kTomTomNameSource, TOMTOM_SETTINGS.NAME_SOURCE);
  WDialogPutString(kTomTomBlankPrefix, TOMTOM_SETTINGS.BLANK_NAME_PREFIX);
  WDialogPutOption(kTomTomTruncation, TOMTOM_SETTINGS.NAME_TRUNCATION);
  // The other windows are disabled while it is shown; its buttons arrive as events.
  SHOW_CENTRED(kShowSemiModeless);
  DEBUG_MARK(DebugMark::kExitSubroutine, "TomTom_options");
}

void TOMTOM_OPTIONS_BUTTON(int button) {
  switch (button) {
    case kButtonOk: {
      WDialogSelect(kTomTomDialog);
      WDialogHide();
      WDialogGetMenu(kTomTomNameSource, TOMTOM_SETTINGS.NAME_SOURCE);
      WDialogGetString(kTomTomBlankPrefix, TOMTOM_SETTINGS.BLANK_NAME_PREFIX);
      FixedText<40> truncationText;
      WDialogGetMenu(kTomTomTruncation, TOMTOM_SETTINGS.NAME_TRUNCATION, truncationText.field());
      WDialogUnload();
      WHelpTopicShow(" ");
      break;
    }
    case kButtonEscape:
      WDialogSelect(kTomTomDialog);
      WDialogHide();
      WDialogUnload();
      break;
    case kButtonHelp:
      WHelpTopicShow("Carrowmapper.hlp", kTomTomHelpTopic);
      break;
    default:
      break;
  }
}

void GPX_OPTIONS() {
  DEBUG_MARK(DebugMark::kSubroutine, "GPX_options");
  WDialogLoad(kGpxDialog);
  WDialogPutCheckBox(kGpxUpperCase, GPX_SETTINGS.UPPER_CASE);
  WDialogPutCheckBox(kGpxUnique, GPX_SETTINGS.UNIQUE_NAMES);
  WDialogPutRadioButton(GPX_SETTINGS.NAME_LENGTH == 1 ? kGpxTenCharacters : kGpxUnlimited);
  WDialogPutReal(kGpxProximity, GPX_SETTINGS.PROXIMITY, kProximityFormat);

  SHOW_CENTRED(kShowModal);

  WDialogGetCheckBox(kGpxUpperCase, GPX_SETTINGS.UPPER_CASE);
  WDialogGetCheckBox(kGpxUnique, GPX_SETTINGS.UNIQUE_NAMES);
  WDialogGetRadioButton(kGpxTenCharacters, GPX_SETTINGS.NAME_LENGTH);
  WDialogGetReal(kGpxProximity, GPX_SETTINGS.PROXIMITY);
  WDialogUnload();
  DEBUG_MARK(DebugMark::kExitSubroutine, "GPX_options");
}
