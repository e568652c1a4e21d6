#pragma once
// Mapopolis output: the points go as a reduced GPX file beside the chosen .mlp
// file, and the outside program GPXToMaplet, beside our program, turns that file
// into the .mlp file.

// Writes OUTPUT_FILE (a .mlp name) through GPXToMaplet.  Afterwards OUTPUT_FILE
// names the intermediate GPX file.
void WRITE_MLP();

// The intermediate GPX file, written to OUTPUT_FILE.  False, after a box, when it
// could not be written.
bool WRITE_GPX_MAPOPOLIS();
