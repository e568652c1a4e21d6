#pragma once
// Registry values addressed by a key path written out as text: a root name
// ("HKEY_LOCAL_MACHINE", ...), a backslash and the sub-key.

#include <windows.h>

#include <optional>
#include <string_view>

#include "toolkit/core/fixed_text.h"

// Value types besides the registry's own: no key opened, value not readable.
constexpr int kRegistryNoKey = -1;
constexpr int kRegistryNoValue = -2;

// Reads a value (absent or blank name: the key's default value).  Text values
// (types 1 and 2) come back blank-padded and their length is the text without
// its NUL; other types come back as their raw bytes.  A missing key or value is
// no error: the type tells (-1, -2) and the text is blank.
void IOsRegistryGet(std::string_view keyPath, std::optional<TextField> value = std::nullopt,
                    std::string_view valueName = {}, int* type = nullptr, int* length = nullptr);
// Writes a value, creating the key when needed.  Text types store the whole
// field, trailing blanks included, and a NUL; other types store its bytes.
void IOsRegistryPut(std::string_view keyPath, std::string_view data, std::string_view valueName = {},
                    std::optional<int> type = std::nullopt);

// The predefined key that a root name names exactly, or nothing.
std::optional<HKEY> YYRegistryRootKey(std::string_view rootName);

// size is in: the buffer's size (0: none, type and size only); out: the value's
// size.  An unopened key leaves type and size alone; an unreadable value gives
// type -2 and size 0.
void YYRegRead(HKEY root, int& type, int& size, const char* subKey, const char* valueName, char* buffer);
void YYRegWrite(HKEY root, int type, int& status, const char* subKey, const char* valueName,
                const char* data, int dataSize);
void YYRegDeleteKey(HKEY root, int& status, const char* subKey);
void YYRegDeleteValue(HKEY root, int& status, const char* subKey, const char* valueName);
