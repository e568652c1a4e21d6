#pragma once
// Byte-wise file access through handles, outside any record structure.  Failures
// put the Windows code into the I/O detail (kind 2) and report 1 (open) or 2
// (read, write, seek) under the routine's own name.

#include <string_view>

#include "toolkit/core/fixed_text.h"

constexpr int kNoFile = -1;

// Modes: 0 read an existing file, 1 write (created or emptied), 2 read and write
// an existing file.  handle is -1 on failure.
void IFileOpen(std::string_view name, int mode, int& handle);
// Reads up to count bytes into the text from column 1; fewer (0) at the end.
// A count beyond the text is refused: count read -1, error 2.
void IFileReadChar(int handle, TextField text, int count, int& countRead);
// Writes the first count bytes of the text; a count beyond the text is refused.
void IFileWriteChar(int handle, std::string_view text, int count, int& countWritten);
// Origin 0 start, 1 current position, 2 end; offset in, new position out (-1 on
// failure).  Any other origin does nothing.
void IFileSeek(int handle, int& offset, int origin);
void YYFileClose(int handle);

// Wrappers: error is 0 on success, else the Windows code.
void YYFileOpenRaw(const char* path, int mode, int& handle, int& error);
void YYFileCloseRaw(int handle);
void YYFileReadChars(int handle, char* text, int count, int& countRead, int& error);
void YYFileReadBytes(int handle, void* buffer, int count, int& countRead, int& error);
void YYFileWriteChars(int handle, const char* text, int count, int& countWritten, int& error);
void YYFileWriteBytes(int handle, const void* buffer, int count, int& countWritten, int& error);
void YYFileSeekRaw(int handle, int& offset, int origin, int& error);
