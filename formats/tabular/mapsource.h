#pragma once
// MapSource text exports: tab-separated lines whose first word tells their
// kind.  Positions must be in the "Lat/Lon hddd.ddddd" coordinate system.
// There is no writer for this format.

// Waypoints of INPUT_FILE as points.
void READ_TXT();
// Routes of INPUT_FILE: their route points name waypoints listed before them.
void READ_TXT_ROUTE();
// Tracks of INPUT_FILE, thinned by the track filter.
void READ_TXT_TRACK();
