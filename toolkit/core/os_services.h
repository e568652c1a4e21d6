#pragma once
// One-call wrappers of the operating system's process and machine services.
// They report nothing: each hands back what Windows answered.  Texts are NUL-ended.

// The process command line, cut to size - 1 characters and NUL-ended.
void YYOsCommandLine(char* buffer, int size);
// Full path of the program file; an empty text when Windows gives none.
void YYOsModulePath(char* buffer, int size);
// GetVersion: major = bits 0-7, minor = bits 8-15.
void YYOsVersion(int& major, int& minor);
// 4 on the NT platform, 2 on Win32s, 3 on Windows 95/98.
void YYOsPlatform(int& kind);
// The millisecond tick count with bit 31 cleared: never negative.
void YYOsTickCount(int& ticks);
// Free bytes of the current drive, in 32-bit arithmetic (large amounts wrap).
void YYOsDiskFree(int& bytes);
// Serial number of the volume at the root path, 0 when there is none; no
// critical-error box is shown for an empty drive.
void YYOsVolumeSerial(int& serial, const char* rootPath);
void YYOsDriveType(int& type, const char* rootPath);
// The user name into `length` characters (NUL included); truncated is 1 when it
// had to be cut; osError is the Windows code on failure, else 0.
void YYOsUserName(int& osError, int& truncated, char* text, int length);
[[noreturn]] void YYOsExit(int code);
// A task-modal error box without an owner window.
void YYOsErrorBox(const char* caption, const char* text);
