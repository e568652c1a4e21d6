#pragma once
// The About box and the output-option dialogs of the Garmin, Maptech,
// OziExplorer, TomTom and GPX writers.  Each loads its dialog, fills it from the
// settings record, shows it and reads the fields back, however it was closed.

// Dialogs of the program's resources.
enum DialogNumber : int {
  kAboutDialog = 101,
  kGarminDialog = 102,
  kMaptechDialog = 103,
  kOziExplorerDialog = 104,
  kTomTomDialog = 105,
  kGpxDialog = 106,
};

void ABOUT();
void GARMIN_OPTIONS();
void MAPTECH_OPTIONS();
void OZIEXPLORER_OPTIONS();
// Shows the TomTom dialog semi-modeless and returns at once: its buttons come
// back through the event loop to TOMTOM_OPTIONS_BUTTON.
void TOMTOM_OPTIONS();
// A button of the TomTom dialog: 1 OK reads the fields and closes it, 2 closes
// it as it was, 9 shows the help topic; any other does nothing.
void TOMTOM_OPTIONS_BUTTON(int button);
void GPX_OPTIONS();
