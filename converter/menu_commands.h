#pragma once
// The commands of the main window's menu and toolbar, the check marks that
// follow the settings, the status-bar summaries, and the remembered choices
// that File > Exit writes to the registry.

#include <cstdint>
#include <string_view>

// Command identifiers of menu 30001 and toolbar 30101.
enum MenuCommand : std::int32_t {
  kCmdFileOpen = 40002,
  kCmdFileSave = 40003,
  kCmdFileExit = 40005,
  kCmdHelpAbout = 40007,
  kCmdFilterNone = 40008,
  kCmdFilter5 = 40009,
  kCmdToolbarExit = 40010,
  kCmdHelpContents = 40011,
  kCmdLatLong = 40013,
  kCmdOsgb = 40014,
  kCmdFilter10 = 40015,
  kCmdFileAppend = 40016,
  kCmdGarmin = 40019,
  kCmdMaptech = 40020,
  kCmdPoints = 40021,
  kCmdRoutes = 40022,
  kCmdOziExplorer = 40023,
  kCmdTomTom = 40024,
  kCmdTracks = 40025,
  kCmdGpx = 40026,
  kCmdPdop3 = 40028,
  kCmdPdop6 = 40029,
  kCmdPdop8 = 40030,
  kCmdPdop20 = 40031,
  kCmdPdopAll = 40032,
};

// The program's registry key and its values.
inline constexpr std::string_view kRegistryKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Tamsworth\\Carrowmapper";
inline constexpr std::string_view kInputFileValue = "InputFile";
// The remembered filter indices, in the order of FILTER_INDICES.
inline constexpr std::string_view kFilterIndexValues[] = {
    "OpenFilterIndexPoints", "OpenFilterIndexRoutes", "OpenFilterIndexTracks",
    "SaveFilterIndexPoints", "SaveFilterIndexRoutes", "SaveFilterIndexTracks"};

// Carries out one command; identifiers it does not know do nothing.
void PROCESSMENU(const std::int32_t& item);

// The option families whose settings status-bar pane 2 sums up.
enum class OptionFamily { kGarmin, kMaptech, kOziExplorer, kTomTom, kGpx };
// Builds the summary of a family in RECORD_BUFFER and shows it in pane 2.
void SHOW_OPTIONS_SUMMARY(OptionFamily family);
// Shows the coordinate format of ASC and Excel output in pane 1.
void SHOW_COORDINATE_FORMAT();
