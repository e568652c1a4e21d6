#include "toolkit/drivers/plot_output.h"

#include <algorithm>
#include <string>

#include "toolkit/core/binary_files.h"
#include "toolkit/core/error_reporter.h"
#include "toolkit/core/strings.h"
#include "toolkit/graphics/graphics_state.h"

std::array<std::int32_t, kPlotUnits + 1> YYPlotOutputUnits = [] {
  std::array<std::int32_t, kPlotUnits + 1> units{};
  units.fill(kNoFile);
  units[0] = 0;
  return units;
}();
std::int32_t YYPlotOutputStatus = 0;

namespace {

constexpr int kOpenError = 1;
constexpr int kWriteError = 2;
constexpr int kPlotFileDetail = 2;
constexpr std::string_view kRecordEnd = "\r\n";

int lastPlotOsError = 0;  // kept so that a blank name reports the previous code

bool validUnit(int unit) { return unit >= 1 && unit <= kPlotUnits; }

void plotError(int number, int osError) {
  if (osError != 0) lastPlotOsError = osError;
  errorState.ioDetail = lastPlotOsError;
  errorState.ioDetailKind = kPlotFileDetail;
  YYErrorReport(number, "YYPROU");
  YYPlotOutputStatus = -1;
}

// One checked write; a unit outside the table has no file and fails like a
// unit whose open failed.
void writeChecked(int unit, const char* bytes, int count) {
  int written = 0;
  int error = 0;
  if (validUnit(unit) && YYPlotOutputUnits[static_cast<std::size_t>(unit)] != kNoFile) {
    YYFileWriteChars(YYPlotOutputUnits[static_cast<std::size_t>(unit)], bytes, count, written, error);
  } else {
    error = 6;  // ERROR_INVALID_HANDLE
  }
  YYPlotOutputUnits[0] = written;
  if (written != count) plotError(kWriteError, error);
}

}  // namespace

void YYPROU(const std::int32_t& unit) {
  int start = 0;
  int end = 0;
  YYTokenScan(TEXT.view(), start, end);
  if (start == 0 || !validUnit(unit)) {
    plotError(kOpenError, 0);
    return;
  }
  const int last = TEXT.trimmedLength();
  const std::string name(TEXT.view().substr(static_cast<std::size_t>(start - 1),
                                            static_cast<std::size_t>(last - start + 1)));
  if (last < TEXT.length()) TEXT.column(last + 1) = '\0';
  YYPlotOutputStatus = 0;
  int handle = kNoFile;
  int error = 0;
  YYFileOpenRaw(name.c_str(), 1, handle, error);
  YYPlotOutputUnits[static_cast<std::size_t>(unit)] = handle;
  if (error != 0) plotError(kOpenError, error);
}

void YYPROUWriteBytes(const std::int32_t& unit, std::string_view characters) {
  writeChecked(unit, characters.data(), static_cast<int>(characters.size()));
}

void YYPROUWriteText(const std::int32_t& unit, std::string_view text) {
  std::string line(text);
  line += kRecordEnd;
  writeChecked(unit, line.data(), static_cast<int>(line.size()));
}

void YYPROUWriteRecord(const std::int32_t& unit, const std::int32_t& count, const std::int32_t& flag) {
  constexpr int kBufferBytes = static_cast<int>(sizeof(YYGrPointBuffer));
  // A count beyond the buffer would send whatever lies after it.
  const int n = count < 0 ? 0 : (count > kBufferBytes ? kBufferBytes : count);
  writeChecked(unit, reinterpret_cast<const char*>(&yyGrPointBuffer), n);
  if (flag % 2 != 0) writeChecked(unit, kRecordEnd.data(), static_cast<int>(kRecordEnd.size()));
}

void YYPROUClose(const std::int32_t& unit) {
  if (!validUnit(unit)) return;
  auto& handle = YYPlotOutputUnits[static_cast<std::size_t>(unit)];
  if (handle != kNoFile) YYFileCloseRaw(handle);
  handle = kNoFile;
}

void YYPROUHandle(const std::int32_t& unit, std::int32_t& handle) {
  handle = validUnit(unit) ? YYPlotOutputUnits[static_cast<std::size_t>(unit)] : kNoFile;
}

bool openPlotFile() {
  const int earlierError = errorState.lastError;
  errorState.lastError = 0;
  YYPROU(kPlotUnitFile);
  if (errorState.lastError != 0) {
    yyGrAttributes.HardcopyOpen = 0;
    return false;
  }
  errorState.lastError = earlierError;
  return true;
}

void setDeviceScales(float unitsAcross, float unitsUp) {
  YYGrState& s = yyGrState;
  if (s.SurfaceWidthReal != 0.0f) s.DeviceScaleX = unitsAcross / s.SurfaceWidthReal;
  if (s.SurfaceHeightReal != 0.0f) s.DeviceScaleY = unitsUp / s.SurfaceHeightReal;
}

int bufferedPointCount() { return std::clamp(yyGrState.N, 0, kPointBufferSize); }
