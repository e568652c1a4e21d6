#pragma once
// The main window of the program and what its event loop does with each event.

#include "toolkit/core/events.h"

// Starts the toolkit and opens the main window with its menu, status bar and
// toolbar; fills the grid constants, sets the coordinate-format marks and takes
// today's date and time as the defaults of points.
void OPEN_MAIN_WINDOW();
// One event of the loop: menu choices go to PROCESSMENU, buttons of the TomTom
// dialog to its handler, expose and resize redraw the log, close sets STOP_FLAG;
// everything else is ignored.
void PROCESS_EVENT(int type, const EventRecord& event);
