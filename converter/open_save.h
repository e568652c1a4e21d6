#pragma once
// File > Open, Append and Save: the file dialogs with the file types of the
// current data type, and the reader or writer that the chosen type names.

// Shows the Open dialog and runs the reader of the chosen file type on the
// chosen file.  A cancelled dialog changes nothing.
void OPEN();
// Shows the Save dialog and runs the writer of the chosen file type; refuses
// with "No input file selected" while no file has been opened.
void SAVE();
