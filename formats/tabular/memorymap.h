#pragma once
// Memory-Map CSV mark files: "IC01" icon records and "WP04" waypoint records of
// twelve comma-separated values.

// Appends one point per waypoint record of INPUT_FILE to POINT_LIST.
void READ_MM_MARKS_CSV();
// Writes one waypoint record per point of POINT_LIST to OUTPUT_FILE.
void WRITE_MM_MARKS_CSV();
