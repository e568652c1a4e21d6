#pragma once
// TomTom files: OV2 and OVR point overlays, ASC overlay text, ITN itineraries
// and the NMEA logs that the devices record.  Readers append to POINT_LIST from
// FILE_NAMES INPUT_FILE; writers write POINT_LIST to FILE_NAMES OUTPUT_FILE.
// None takes arguments.

#include <string_view>

void READ_OV2();
// Writes the points as the text file "makeov2.tmp" in the current folder and has
// MakeOV2_v1-1.exe, beside the program, compile it into the OV2 file.
void WRITE_OV2();
void READ_OVR();
void WRITE_OVR();
void READ_ASC();
void WRITE_ASC();
void READ_ITN();
void WRITE_ITN();
// An NMEA log read as one track.
void READ_PGL();

// The number after the n-th comma of an NMEA sentence, read in free form up to
// the next comma or "*"; 0.0 when the sentence has fewer commas, the field is
// empty or holds no number.
void FIELDR(std::string_view sentence, int n, float& value);
