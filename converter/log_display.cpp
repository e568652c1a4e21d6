#include "converter/log_display.h"

#include <string>

#include "converter/converter_data.h"
#include "toolkit/core/window_text.h"
#include "toolkit/dialogs/message_box.h"

LogDisplay LOG_DISPLAY;

namespace {
constexpr int kLeft = 100;
constexpr int kLineStep = 800;
constexpr int kOkOnly = 0;
constexpr int kExclamationIcon = 3;

void drawLine(int k, std::string_view text) { WindowTextAt(kLeft, kLineStep * k, text::trimmed(text)); }
}  // namespace

void REDRAW_LOG() {
  WindowFillArea();
  for (int k = 1; k <= LOG_DISPLAY.LOG_COUNT; ++k) {
    drawLine(k, LOG_DISPLAY.LOG_LINES[static_cast<std::size_t>(k - 1)]);
  }
}

void EMPTY_LOG() {
  WindowFillArea();
  LOG_DISPLAY.LOG_COUNT = 0;
}

void SCROLL(std::string_view text) {
  auto& lines = LOG_DISPLAY.LOG_LINES;
  if (LOG_DISPLAY.LOG_COUNT < 0) LOG_DISPLAY.LOG_COUNT = 0;
  if (LOG_DISPLAY.LOG_COUNT < LogDisplay::LOG_MAX) {
    LOG_DISPLAY.LOG_COUNT += 1;
    lines[static_cast<std::size_t>(LOG_DISPLAY.LOG_COUNT - 1)] = text;
    // Drawn whole, though kept as its first 128 characters.
    drawLine(LOG_DISPLAY.LOG_COUNT, text);
    return;
  }
  for (std::size_t k = 1; k < lines.size(); ++k) lines[k - 1] = lines[k];
  lines.back() = text;
  LOG_DISPLAY.LOG_COUNT = LogDisplay::LOG_MAX;
  REDRAW_LOG();
}

void ERROR(std::int32_t mode, std::string_view message, std::string_view hint, std::string_view record,
           std::string_view action) {
  std::string box = std::string(text::trimmed(message)) + "\r\rIn record: " + std::string(text::trimmed(record)) + "\r";
  if (mode == 2) {
    box += "Correct format is: ";
  } else if (mode != 1) {
    box += "Reading: ";
  }
  box += text::trimmed(hint);
  WMessageBox(kOkOnly, kExclamationIcon, 1, box, "Data Error");
  if (text::equal(action, "quit")) {
    STOP_FLAG = kLogicalTrue;
  } else if (text::equal(action, "clear")) {
    EMPTY_LOG();
  }
}
