#pragma once
// Pocket Streets pushpin files (.psp): a little-endian byte stream of a header
// and pushpin records of variable length.  There is no writer.

// Appends one point per pushpin of INPUT_FILE to POINT_LIST.
void READ_PSP();
