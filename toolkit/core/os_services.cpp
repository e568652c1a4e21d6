#include "toolkit/core/os_services.h"

#include <windows.h>

#include <cstdint>

namespace {

// Copies at most size - 1 characters and always ends the copy with a NUL.
void copyBounded(const char* source, char* buffer, int size) {
  if (size <= 0) return;
  lstrcpynA(buffer, source != nullptr ? source : "", size);
}

class ErrorModeScope {
 public:
  explicit ErrorModeScope(UINT mode) : previous_(SetErrorMode(mode)) {}
  ~ErrorModeScope() { SetErrorMode(previous_); }
  ErrorModeScope(const ErrorModeScope&) = delete;
  ErrorModeScope& operator=(const ErrorModeScope&) = delete;

 private:
  UINT previous_;
};

}  // namespace

void YYOsCommandLine(char* buffer, int size) { copyBounded(GetCommandLineA(), buffer, size); }

void YYOsModulePath(char* buffer, int size) {
  if (size <= 0) return;
  const DWORD n = GetModuleFileNameA(nullptr, buffer, static_cast<DWORD>(size));
  // A path cut by the buffer is not a path: give none.
  if (n == 0 || n >= static_cast<DWORD>(size)) buffer[0] = '\0';
}

void YYOsVersion(int& major, int& minor) {
  const DWORD version = GetVersion();
  major = static_cast<int>(version & 0xFF);
  minor = static_cast<int>((version >> 8) & 0xFF);
}

void YYOsPlatform(int& kind) {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  GetVersionExA(&info);
  switch (info.dwPlatformId) {
    case VER_PLATFORM_WIN32_NT:
      kind = 4;
      break;
    case VER_PLATFORM_WIN32s:
      kind = 2;
      break;
    default:
      kind = 3;
      break;
  }
}

void YYOsTickCount(int& ticks) { ticks = static_cast<int>(GetTickCount() & 0x7FFFFFFFu); }

void YYOsDiskFree(int& bytes) {
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
  GetDiskFreeSpaceA(nullptr, &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters);
  const std::uint32_t product = static_cast<std::uint32_t>(sectorsPerCluster) *
                                static_cast<std::uint32_t>(bytesPerSector) *
                                static_cast<std::uint32_t>(freeClusters);
  bytes = static_cast<int>(product);
}

void YYOsVolumeSerial(int& serial, const char* rootPath) {
  const ErrorModeScope noCriticalBoxes(SEM_FAILCRITICALERRORS);
  DWORD number = 0;
  if (!GetVolumeInformationA(rootPath, nullptr, 0, &number, nullptr, nullptr, nullptr, 0)) number = 0;
  serial = static_cast<int>(number);
}

void YYOsDriveType(int& type, const char* rootPath) { type = static_cast<int>(GetDriveTypeA(rootPath)); }

void YYOsUserName(int& osError, int& truncated, char* text, int length) {
  char name[257] = {};
  DWORD size = sizeof name;
  truncated = 0;
  osError = 0;
  if (!GetUserNameA(name, &size)) {
    osError = static_cast<int>(GetLastError());
    return;
  }
  const int withNul = lstrlenA(name) + 1;
  if (withNul > length) truncated = 1;
  copyBounded(name, text, length);
}

void YYOsExit(int code) { ExitProcess(static_cast<UINT>(code)); }

void YYOsErrorBox(const char* caption, const char* text) {
  MessageBoxA(nullptr, text, caption, MB_TASKMODAL | MB_ICONERROR | MB_OK);
}
