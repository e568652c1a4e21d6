#pragma once
// Microsoft Maps files (.axe, .est, .ptm): the outside program ST2GPX
// (st2gpx_05\st2gpx.exe beside the program) turns the map file into GPX text in
// "st2gpx.tmp" in the current directory, and these readers take the pushpins or
// the routes from that text with a line-oriented parser of their own.

// Pushpins of INPUT_FILE as points, appended to POINT_LIST.
void READ_AXE();
// Routes of INPUT_FILE with their route points, appended to POINT_LIST.
void READ_AXE_ROUTE();
