#pragma once
// AutoRoute pushpin files: the comma-separated reader, which finds its columns
// by name, and the comma- and tab-separated writers of the four columns
// Longitude, Latitude, Name, Information.  The pushpin's name travels in
// DESCRIPTION, its information text in COMMENT.

// Reads INPUT_FILE and appends its pushpins to POINT_LIST.
void NEW_READ_CSV();
// Writes every point of POINT_LIST to OUTPUT_FILE.
void WRITE_CSV();
// The same with tabs between the columns and decimal commas in the coordinates.
void WRITE_TAB();
