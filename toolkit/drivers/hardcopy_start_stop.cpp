#include "toolkit/drivers/hardcopy_start_stop.h"

#include <string>

#include "toolkit/core/error_reporter.h"
#include "toolkit/core/file_ops.h"
#include "toolkit/core/os_services.h"
#include "toolkit/core/processes.h"
#include "toolkit/core/toolkit_settings.h"
#include "toolkit/drivers/hardcopy_dispatch.h"
#include "toolkit/drivers/hardcopy_options.h"
#include "toolkit/drivers/hardcopy_setup.h"
#include "toolkit/graphics/graphics_defaults.h"
#include "toolkit/graphics/graphics_state.h"

FixedText<kPrintCommandLength> yyPrintCommand;

namespace {

constexpr int kOperatingSystemError = 13;
constexpr int kNtPlatform = 4;
constexpr float kNoPoint = -9999.0f;
constexpr std::int32_t kEndPageFlag = 1;
constexpr std::int32_t kEndPageMode = 32;

void toHardcopy(YYGrOpcode opcode) {
  YYGrPrimitive op = opcode;
  YYDriverCommand(op);
}

// Ends the page when something was drawn on it, then the plot.
void closeOpenPlot() {
  if ((yyGrState.PageBegun & 1) != 0) {
    yyGrState.M = kEndPageMode;
    yyGrState.N = kEndPageFlag;
    toHardcopy(kOpEndPage);
  }
  toHardcopy(kOpEndPlot);
  yyGrAttributes.HardcopyOpen = 0;
}

bool isStop(std::optional<std::string_view> option) {
  return option && option->size() == 1 && ((*option)[0] == 'S' || (*option)[0] == 's');
}

// A file name with a blank in it is quoted, so that the command interpreter
// keeps it one argument.
std::string commandArgument(std::string_view name) {
  if (name.find(' ') == std::string_view::npos) return std::string(name);
  return "\"" + std::string(name) + "\"";
}

// The print command with the plot file's name in place of its first "@"
// (in front of it when it has none).
std::string printCommandLine(std::string_view fileName) {
  const std::string_view command = yyPrintCommand.view();
  const std::size_t at = command.find('@');
  const std::size_t before = at == std::string_view::npos ? 0 : at;
  const std::size_t after = at == std::string_view::npos ? 0 : at + 1;
  std::string line(command.substr(0, before));
  line += commandArgument(fileName);
  line += command.substr(after);
  return std::string(text::trimmed(line));
}

void stop() {
  if (yyPrintCommand.isBlank()) return;
  const std::string plotFile(toolkitSettings.tempPlotFile.trimmed());
  YYPRNCMD(printCommandLine(plotFile));
  IOsDeleteFile(plotFile);
  yyPrintCommand.blank();
}

void start(std::optional<std::string_view> option, std::optional<std::string_view> title) {
  YYGrState& s = yyGrState;
  YYGrAttributes& a = yyGrAttributes;
  s.N = kDriverProbe;
  YYGrPrimitive probe = kOpInitialise;
  YYHCDISPATCH(probe);
  if (s.N == kDriverProbe) return;

  TEXT = yyHardcopyOutputName.view();
  s.N = 1;
  if (option && !text::isBlank(*option)) {
    TEXT = *option;
    s.N = 0;
  }
  // The output may be sent on: the driver writes the temporary plot file and
  // the stop runs the command on it.
  if (s.HardcopyToFile != 0 && TEXT.view().find(" @ ") != std::string_view::npos) {
    yyPrintCommand = TEXT.view();
    TEXT = toolkitSettings.tempPlotFile.view();
  }
  if (title) yyPlotTitle = *title;
  s.X1 = title ? 1 : 0;

  a.HardcopyOpen = 1;
  s.M = 1;
  toHardcopy(kOpBeginPlot);
  if (a.ScreenDriverOn == 0) {
    a.ColourCount = s.HardcopyColourCount;
    // With no printer the page height is 0: the aspect stays as it was.
    const std::int32_t height = hardcopyOption(kOptPageHeight);
    if (height > 0) s.SurfaceAspect = static_cast<float>(hardcopyOption(kOptPageWidth)) / static_cast<float>(height);
  }
  s.PenX = kNoPoint;
  s.PenY = kNoPoint;
  // Every plot begins with the current attributes.
  for (const YYGrOpcode opcode : {kOpLineWidth, kOpLineStyle, kOpLineJoin, kOpLineCap, kOpClip, kOpCharSize, kOpColour}) {
    toHardcopy(opcode);
  }
}

}  // namespace

void YYHardcopyStartStop(std::optional<std::string_view> option, std::optional<std::string_view> title) {
  closeOpenPlot();
  if (isStop(option)) {
    stop();
  } else {
    start(option, title);
  }
}

void YYPRNCMD(std::string_view command) {
  int platform = 0;
  YYOsPlatform(platform);
  FixedText<kTextOperandLength> line;
  line = (platform == kNtPlatform ? std::string("cmd.exe /c ") : std::string("command.com /c ")) + std::string(command);
  const std::string run(line.trimmed());
  int result = 0;
  int osError = 0;
  YYOsRunProcess(run.c_str(), 1, 1, -1, result, osError);
  if (osError != 0 || (result > 0 && result < kRunEnded)) {
    errorState.osError = osError != 0 ? osError : result;
    YYErrorReport(kOperatingSystemError, "YYPRNCMD");
  }
}
