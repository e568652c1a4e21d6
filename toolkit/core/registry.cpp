#include "toolkit/core/registry.h"

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "toolkit/core/error_reporter.h"
#include "toolkit/core/scoped_handle.h"

namespace {

constexpr int kOperatingSystemError = 13;
constexpr int kTextTooSmall = 1023;
constexpr int kInvalidRootKey = 1050;

struct RootKeyName {
  std::string_view name;
  HKEY key;
};

// Searched in this order; only the exact upper-case names match.
const std::array<RootKeyName, 7> kRegistryRootKeyNames = {{
    {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
    {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
    {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
    {"HKEY_USERS", HKEY_USERS},
    {"HKEY_PERFORMANCE_DATA", HKEY_PERFORMANCE_DATA},
    {"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
    {"HKEY_DYN_DATA", HKEY_DYN_DATA},
}};

bool isTextType(int type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

struct KeyPath {
  HKEY root;
  std::string subKey;
};

// The root before the first backslash and the trimmed rest; nothing when the
// path has no backslash or names no known root.
std::optional<KeyPath> splitKeyPath(std::string_view keyPath) {
  const std::size_t slash = keyPath.find('\\');
  if (slash == std::string_view::npos) return std::nullopt;
  const std::optional<HKEY> root = YYRegistryRootKey(keyPath.substr(0, slash));
  if (!root) return std::nullopt;
  return KeyPath{*root, std::string(text::trimmed(keyPath.substr(slash + 1)))};
}

}  // namespace

std::optional<HKEY> YYRegistryRootKey(std::string_view rootName) {
  for (const auto& entry : kRegistryRootKeyNames) {
    if (text::equal(rootName, entry.name)) return entry.key;
  }
  return std::nullopt;
}

void IOsRegistryGet(std::string_view keyPath, std::optional<TextField> value, std::string_view valueName,
                    int* type, int* length) {
  int foundType = kRegistryNoKey;
  int foundLength = 0;
  const std::optional<KeyPath> path = splitKeyPath(keyPath);
  if (!path) {
    YYErrorReport(kInvalidRootKey, "IOsRegistryGet");
    if (value) value->blank();
  } else {
    const int room = value ? value->length() + 1 : 0;
    std::vector<char> buffer(static_cast<std::size_t>(room) + 1, '\0');
    int size = room;
    const std::string name(text::trimmed(valueName));
    YYRegRead(path->root, foundType, size, path->subKey.c_str(), name.c_str(), buffer.data());
    if (foundType == kRegistryNoKey) size = 0;
    const bool tooLong = value && size > room;
    if (tooLong) YYErrorReport(kTextTooSmall, "IOsRegistryGet");

    foundLength = size;
    if (isTextType(foundType)) {
      // The text ends at its NUL; a value stored without one keeps every byte.
      foundLength = size > 0 ? size - 1 : 0;
      if (!tooLong && room > 0) {
        const auto end = static_cast<int>(std::strlen(buffer.data()));
        foundLength = end < size ? end : size;
      }
    }
    if (value) {
      // What the system leaves behind a value too long for the text is undefined.
      if (foundType < 0 || tooLong) {
        value->blank();
      } else {
        const int stored = std::min(isTextType(foundType) ? foundLength : size, value->length());
        value->assign(std::string_view(buffer.data(), static_cast<std::size_t>(stored)));
      }
    }
  }
  if (type != nullptr) *type = foundType;
  if (length != nullptr) *length = foundLength;
}

void IOsRegistryPut(std::string_view keyPath, std::string_view data, std::string_view valueName,
                    std::optional<int> type) {
  const int valueType = type.value_or(REG_SZ);
  const std::optional<KeyPath> path = splitKeyPath(keyPath);
  if (!path) {
    YYErrorReport(kInvalidRootKey, "IOsRegistryPut");
    return;
  }
  std::string bytes(data);
  if (isTextType(valueType)) bytes += '\0';
  const std::string name(text::trimmed(valueName));
  int status = 0;
  YYRegWrite(path->root, valueType, status, path->subKey.c_str(), name.c_str(), bytes.data(),
             static_cast<int>(bytes.size()));
  if (status != 0) {
    errorState.osError = status;
    YYErrorReport(kOperatingSystemError, "IOsRegistryPut");
  }
}

void YYRegRead(HKEY root, int& type, int& size, const char* subKey, const char* valueName, char* buffer) {
  RegistryKey key;
  if (RegOpenKeyExA(root, subKey, 0, KEY_READ, key.receive()) != ERROR_SUCCESS) return;
  DWORD valueType = 0;
  DWORD valueSize = static_cast<DWORD>(size);
  const LONG result = RegQueryValueExA(key.get(), valueName, nullptr, &valueType,
                                       size == 0 ? nullptr : reinterpret_cast<BYTE*>(buffer), &valueSize);
  if (result == ERROR_SUCCESS || result == ERROR_MORE_DATA) {
    type = static_cast<int>(valueType);
    size = static_cast<int>(valueSize);
  } else {
    type = kRegistryNoValue;
    size = 0;
  }
}

void YYRegWrite(HKEY root, int type, int& status, const char* subKey, const char* valueName,
                const char* data, int dataSize) {
  RegistryKey key;
  status = static_cast<int>(RegCreateKeyExA(root, subKey, 0, nullptr, 0, KEY_WRITE, nullptr,
                                            key.receive(), nullptr));
  if (status != ERROR_SUCCESS) return;
  status = static_cast<int>(RegSetValueExA(key.get(), valueName, 0, static_cast<DWORD>(type),
                                           reinterpret_cast<const BYTE*>(data), static_cast<DWORD>(dataSize)));
}

void YYRegDeleteKey(HKEY root, int& status, const char* subKey) {
  status = static_cast<int>(RegDeleteKeyA(root, subKey));
}

void YYRegDeleteValue(HKEY root, int& status, const char* subKey, const char* valueName) {
  RegistryKey key;
  if (RegOpenKeyExA(root, subKey, 0, KEY_WRITE, key.receive()) != ERROR_SUCCESS) {
    status = ERROR_FILE_NOT_FOUND;
    return;
  }
  status = static_cast<int>(RegDeleteValueA(key.get(), valueName));
}
