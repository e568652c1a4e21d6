#pragma once
// Copying and deleting files (wildcards allowed), the current directory, and the
// one-call wrappers of the file and directory services.

#include <string_view>

#include "toolkit/core/fixed_text.h"

// Deletes every file matching the name; matching directories are left alone.
// Reports 13 when nothing matches and for each file that cannot be deleted.
void IOsDeleteFile(std::string_view name);
// Copies one file, or with "?" or "*" in the source every matching file, over
// any existing target.  A blank target, or one ending in "\" or ":", is a
// directory that receives the source's own name.
void IOsCopyFile(std::string_view source, std::string_view target);
// The current directory, blank-padded; 1023 when it does not fit.
void IOsDirName(TextField directory);

// True when a file or directory of that name exists.
bool YYOsFileExists(const char* name);

// Wrappers: error is 0 on success, else the Windows code.
void YYOsDeleteFile(const char* file, int& error);
void YYOsMoveFile(const char* oldName, const char* newName, int& error);
void YYOsCopyFile(const char* source, const char* target, int& error);
void YYOsSetAttributes(int attributes, int& error, const char* file);
void YYOsChDir(const char* directory, int& error);
void YYOsMkDir(const char* directory, int& error);
void YYOsRmDir(const char* directory, int& error);
// truncated is 1 when the directory and its NUL do not fit into length characters.
void YYOsGetCwd(char* buffer, int length, int& error, int& truncated);
void YYOsSystemDir(char* buffer, int size, int& error);
