#include "toolkit/drivers/hpgl_line_writer.h"

#include <algorithm>
#include <cmath>

#include "toolkit/core/error_reporter.h"
#include "toolkit/core/number_format.h"
#include "toolkit/drivers/hardcopy_options.h"
#include "toolkit/drivers/plot_output.h"
#include "toolkit/graphics/graphics_state.h"

FixedText<kHpglLineLength> yyHpglLineBuffer;
std::array<FixedText<4>, kHpglLineStyles> yyHpglLineTypes = {
    FixedText<4>(""), FixedText<4>("1 .3"), FixedText<4>("2 2"), FixedText<4>("4 3"),
    FixedText<4>("6 3"), FixedText<4>("5 3"), FixedText<4>("3 1"),
};

namespace {

constexpr std::int32_t kUnit = kPlotUnitFile;
constexpr std::int32_t kBlankFirstMode = 1;

bool linesBeginWithBlank() { return yyGrState.LineBeginMode == kBlankFirstMode; }

void writeLine(std::string_view line) {
  if (!linesBeginWithBlank()) {
    YYPROUWriteText(kUnit, line);
    return;
  }
  std::string withBlank(1, text::kBlank);
  withBlank.append(line);
  YYPROUWriteText(kUnit, withBlank);
}

}  // namespace

std::string hpglCompactLine(std::string_view characters) {
  const std::size_t length = static_cast<std::size_t>(text::trimmedLength(characters));
  const std::size_t head = std::min<std::size_t>(2, length);
  std::string out(characters.substr(0, head));
  bool written = false;
  bool blankPending = false;
  for (std::size_t i = head; i < length; ++i) {
    const char c = characters[i];
    if (c == text::kBlank) {
      blankPending = written;
      continue;
    }
    if (blankPending) out += text::kBlank;
    blankPending = false;
    out += c;
    written = true;
  }
  return out;
}

std::string hpglIntegerField(double value, int width) {
  double limit = 1.0;
  for (int i = 0; i < width; ++i) limit *= 10.0;
  const double clamped = std::isnan(value) ? 0.0 : std::clamp(std::trunc(value), -limit / 10.0 + 1.0, limit - 1.0);
  return formatI(static_cast<long long>(clamped), width);
}

std::string hpglNumberField(double value, int width) {
  double limit = 1.0;
  for (int i = 1; i < width; ++i) limit *= 10.0;
  const double clamped = std::isnan(value) ? 0.0 : std::clamp(std::trunc(value), -limit + 1.0, limit - 1.0);
  return formatI(static_cast<long long>(clamped), width);
}

std::int32_t hpglPlotterX(float x) { return hpglTruncate(x * yyGrState.DeviceScaleX); }
std::int32_t hpglPlotterY(float y) { return hpglTruncate(y * yyGrState.DeviceScaleY); }

void YYHpglPoint(std::string_view command, float x, float y) {
  YYHpglCommand(std::string(command) + hpglNumberField(hpglPlotterX(x), 6) + hpglNumberField(hpglPlotterY(y), 6));
}

void YYHpglLabel(std::string_view text) {
  YYPROUWriteBytes(kUnit, linesBeginWithBlank() ? " LB" : "LB");
  YYPROUWriteText(kUnit, text);
}

void YYHpglCommand(std::string_view text) {
  yyHpglLineBuffer = text;
  YYHpglLine();
}

void YYHpglLine() { writeLine(hpglCompactLine(yyHpglLineBuffer.view())); }

void YYHpglRawLine(std::string_view text) { writeLine(text); }

std::int32_t hpglTruncate(float value) {
  constexpr double kLimit = 2147483520.0;
  const double v = std::isnan(value) ? 0.0 : std::clamp(static_cast<double>(value), -kLimit, kLimit);
  return static_cast<std::int32_t>(v);
}

bool hpglPenAt(float x, float y) { return yyGrState.PenX == x && yyGrState.PenY == y; }

void hpglPenTo(float x, float y) {
  yyGrState.PenX = x;
  yyGrState.PenY = y;
}

void hpglPenUpTo(float x, float y) {
  if (!hpglPenAt(x, y)) YYHpglPoint("PU", x, y);
}

void hpglStroke(float x1, float y1, float x2, float y2) {
  hpglPenUpTo(x1, y1);
  YYHpglPoint("PD", x2, y2);
  hpglPenTo(x2, y2);
}

void hpglPenUnknown() { hpglPenTo(-9999.0f, -9999.0f); }

void hpglCharacterAngle() {
  const YYGrState& g = yyGrState;
  YYHpglCommand("DI" + fortranFormatList("(F6.3,1X,F6.3)", {g.CharCos, g.CharSinTimesAspect}).value_or(""));
}

float hpglBufferX(int i) { return yyGrPointBuffer.x[static_cast<std::size_t>(i)]; }
float hpglBufferY(int i) { return yyGrPointBuffer.y[static_cast<std::size_t>(i)]; }

HpglPlotWindow hpglPlotWindow(float unitsPerPoint) {
  const float x0 = static_cast<float>(hardcopyOption(kOptOffsetX));
  const float y0 = static_cast<float>(hardcopyOption(kOptOffsetY));
  const float width = static_cast<float>(hardcopyOption(kOptPageWidth));
  const float height = static_cast<float>(hardcopyOption(kOptPageHeight));
  return {hpglTruncate(x0 * unitsPerPoint), hpglTruncate(y0 * unitsPerPoint), hpglTruncate((x0 + width) * unitsPerPoint),
          hpglTruncate((y0 + height) * unitsPerPoint)};
}

std::string hpglWindowNumbers(std::int32_t left, std::int32_t bottom, std::int32_t right, std::int32_t top) {
  return hpglNumberField(left, 7) + hpglNumberField(bottom, 7) + hpglNumberField(right, 7) + hpglNumberField(top, 7);
}

void hpglSetDeviceScales() {
  constexpr float kPlotterUnits = 32760.0f;
  setDeviceScales(kPlotterUnits, kPlotterUnits);
}

void hpglClip(const HpglPlotWindow& window, float unitsPerPoint) {
  const YYGrState& g = yyGrState;
  YYHpglCommand("SC");
  const float fx = static_cast<float>(hardcopyOption(kOptPageWidth)) * unitsPerPoint / g.SurfaceWidthReal;
  const float fy = static_cast<float>(hardcopyOption(kOptPageHeight)) * unitsPerPoint / g.SurfaceHeightReal;
  const std::int32_t left = hpglTruncate(fx * g.ViewportLeftReal) + window.p1x;
  const std::int32_t bottom = hpglTruncate(fy * g.ViewportBottomReal) + window.p1y;
  const std::int32_t right = std::min(hpglTruncate(fx * g.ViewportRightReal + 0.99f) + window.p1x, window.p2x);
  const std::int32_t top = std::min(hpglTruncate(fy * g.ViewportTopReal + 0.99f) + window.p1y, window.p2y);
  YYHpglCommand("IW" + hpglWindowNumbers(left, bottom, right, top));
  YYHpglCommand("SC0 32760 0 32760");
}
