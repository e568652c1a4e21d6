#pragma once
// Destinator 3 point-of-interest import files: comma-separated text.

// Writes POINT_LIST to FILE_NAMES OUTPUT_FILE, one line a point:
// description,Carrowmapper vVERSION,longitude,latitude.
void WRITE_DESTINATOR3_CSV();
