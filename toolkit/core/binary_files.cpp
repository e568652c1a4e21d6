#include "toolkit/core/binary_files.h"

#include <windows.h>

#include <string>

#include "toolkit/core/error_reporter.h"
#include "toolkit/core/os_paths.h"

namespace {

constexpr int kOpenError = 1;
constexpr int kReadWriteError = 2;
constexpr int kBinaryFileDetail = 2;

void reportFileError(int number, int detail, const char* routine) {
  errorState.ioDetail = detail;
  errorState.ioDetailKind = kBinaryFileDetail;
  YYErrorReport(number, routine);
}

int lastErrorCode() {
  const DWORD code = GetLastError();
  return code != 0 ? static_cast<int>(code) : ERROR_GEN_FAILURE;
}

// A count that the caller's text cannot hold would run past it.
int badCountDetail(int count, int textLength) {
  if (count < 0) return ERROR_INVALID_PARAMETER;
  if (count > textLength) return ERROR_INSUFFICIENT_BUFFER;
  return 0;
}

}  // namespace

void IFileOpen(std::string_view name, int mode, int& handle) {
  handle = kNoFile;
  const std::string path(significantText(name));
  int detail = 0;
  if (!path.empty() && mode >= 0 && mode <= 2) {
    if (!fitsPathBuffer(path)) {
      detail = kPathTooLongCode;
    } else {
      int error = 0;
      YYFileOpenRaw(path.c_str(), mode, handle, error);
      if (error == 0) return;
      detail = error;
      handle = kNoFile;
    }
  }
  reportFileError(kOpenError, detail, "IFileOpen");
}

void IFileReadChar(int handle, TextField text, int count, int& countRead) {
  int error = badCountDetail(count, text.length());
  if (error == 0) YYFileReadChars(handle, text.data(), count, countRead, error);
  if (error != 0) {
    countRead = -1;
    reportFileError(kReadWriteError, error, "IFileReadChar");
  }
}

void IFileWriteChar(int handle, std::string_view text, int count, int& countWritten) {
  int error = badCountDetail(count, static_cast<int>(text.size()));
  if (error == 0) YYFileWriteChars(handle, text.data(), count, countWritten, error);
  if (error != 0) {
    countWritten = -1;
    reportFileError(kReadWriteError, error, "IFileWriteChar");
  }
}

void IFileSeek(int handle, int& offset, int origin) {
  if (origin < 0 || origin > 2) return;
  int error = 0;
  YYFileSeekRaw(handle, offset, origin, error);
  if (error != 0) {
    offset = -1;
    reportFileError(kReadWriteError, error, "IFileSeek");
  }
}

void YYFileClose(int handle) { YYFileCloseRaw(handle); }

void YYFileOpenRaw(const char* path, int mode, int& handle, int& error) {
  HFILE file = HFILE_ERROR;
  if (mode == 0) {
    file = _lopen(path, OF_READ);
  } else if (mode == 1) {
    file = _lcreat(path, 0);
    if (file != HFILE_ERROR) {
      _lclose(file);
      file = _lopen(path, OF_WRITE);
    }
  } else {
    file = _lopen(path, OF_READWRITE);
  }
  handle = static_cast<int>(file);
  error = file == HFILE_ERROR ? lastErrorCode() : 0;
}

void YYFileCloseRaw(int handle) { _lclose(static_cast<HFILE>(handle)); }

void YYFileReadChars(int handle, char* text, int count, int& countRead, int& error) {
  YYFileReadBytes(handle, text, count, countRead, error);
}

void YYFileReadBytes(int handle, void* buffer, int count, int& countRead, int& error) {
  const long n = _hread(static_cast<HFILE>(handle), buffer, count);
  error = n == -1 ? lastErrorCode() : 0;
  countRead = n == -1 ? 0 : static_cast<int>(n);
}

void YYFileWriteChars(int handle, const char* text, int count, int& countWritten, int& error) {
  YYFileWriteBytes(handle, text, count, countWritten, error);
}

void YYFileWriteBytes(int handle, const void* buffer, int count, int& countWritten, int& error) {
  const long n = _hwrite(static_cast<HFILE>(handle), static_cast<LPCCH>(buffer), count);
  error = n == -1 ? lastErrorCode() : 0;
  countWritten = n == -1 ? 0 : static_cast<int>(n);
}

void YYFileSeekRaw(int handle, int& offset, int origin, int& error) {
  const LONG position = _llseek(static_cast<HFILE>(handle), offset, origin);
  error = position == -1 ? lastErrorCode() : 0;
  if (error == 0) offset = static_cast<int>(position);
}
