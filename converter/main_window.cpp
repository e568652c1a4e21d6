#include "converter/main_window.h"

#include <array>

#include "converter/converter_data.h"
#include "converter/dates.h"
#include "converter/debug_log.h"
#include "converter/log_display.h"
#include "converter/menu_commands.h"
#include "converter/option_dialogs.h"
#include "converter/osgbsubs.h"
#include "toolkit/core/menus_toolbars.h"
#include "toolkit/core/root_window.h"
#include "toolkit/core/startup.h"
#include "toolkit/core/status_bar.h"

namespace {

constexpr int kMainMenu = 30001;
constexpr int kToolbar = 30101;
constexpr int kCheckMode = 2;
// System menu, minimise and maximise boxes, status bar, fixed size.
constexpr int kMainWindowFlags = 0x67;
constexpr std::array<int, 2> kStatusPaneWidths{3500, -1};

}  // namespace

void OPEN_MAIN_WINDOW() {
  WStartup(" ");
  DEBUG_WRITE({"Window initialised"});
  WindowSettings settings;
  settings.flags = kMainWindowFlags;
  settings.x = -1;
  settings.y = -1;
  settings.width = 512;
  settings.height = 256;
  settings.menu = kMainMenu;
  settings.title = "POI/Route/Track conversion utility";
  WindowOpenRecord(settings);
  DEBUG_WRITE({"Window opened"});

  WindowStatusPanes(static_cast<int>(kStatusPaneWidths.size()), kStatusPaneWidths);
  SHOW_COORDINATE_FORMAT();
  SHOW_OPTIONS_SUMMARY(OptionFamily::kGarmin);
  WMenuToolbar(kToolbar);
  DEBUG_WRITE({"Toolbar set up"});
  SETUP();
  // The other marks at start (Points, no track filter, every NMEA entry) come
  // with the menu itself.
  WMenuSetState(kCmdLatLong, kCheckMode, 1);
  WMenuSetState(kCmdOsgb, kCheckMode, 0);
  CDATE(DEFAULT_DATE);
  CTIME(DEFAULT_TIME);
}

void PROCESS_EVENT(int type, const EventRecord& event) {
  switch (type) {
    case kEventMenu:
      PROCESSMENU(event.value1);
      break;
    case kEventButton:
      // Only the semi-modeless TomTom dialog sends its buttons here.
      if (event.win == kTomTomDialog) TOMTOM_OPTIONS_BUTTON(event.value1);
      break;
    case kEventExpose:
    case kEventResize:
      REDRAW_LOG();
      break;
    case kEventClose:
      STOP_FLAG = kLogicalTrue;
      break;
    default:
      break;
  }
}
