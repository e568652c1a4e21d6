#pragma once
// Tests of the hardcopy core play both the drawing program and a driver: a
// recording driver stands in for one driver number, answers the protocol like
// a real driver and keeps every record it receives with the operands it saw.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "toolkit/core/error_reporter.h"
#include "toolkit/drivers/hardcopy_dispatch.h"
#include "toolkit/drivers/hardcopy_options.h"
#include "toolkit/drivers/hardcopy_setup.h"
#include "toolkit/drivers/hardcopy_start_stop.h"
#include "toolkit/graphics/graphics_defaults.h"
#include "toolkit/graphics/graphics_state.h"

struct SeenRecord {
  YYGrPrimitive opcode;
  std::int32_t n;
  std::int32_t m;
  std::int32_t x1;
  std::string text;  // TEXT, trimmed
  std::int32_t hardcopyOpen;
  float penX;
};

struct RecordingDriver {
  static constexpr int kNumber = 4;
  static constexpr std::int32_t kResolution = 300;
  static constexpr std::int32_t kPageWidth = 756;   // points
  static constexpr std::int32_t kPageHeight = 540;
  std::vector<SeenRecord> seen;
  std::int32_t toFile = 1;
  bool openFails = false;
  std::string plotContent;  // written to the file named by TEXT at the begin of a plot

  static RecordingDriver& instance() {
    static RecordingDriver driver;
    return driver;
  }

  std::vector<YYGrPrimitive> opcodes() const {
    std::vector<YYGrPrimitive> list;
    for (const SeenRecord& r : seen) list.push_back(r.opcode);
    return list;
  }

  static void routine(YYGrPrimitive& primitive) { instance().take(primitive); }

  void take(YYGrPrimitive& primitive) {
    YYGrState& s = yyGrState;
    seen.push_back({primitive, s.N, s.M, s.X1, TEXT.str(), yyGrAttributes.HardcopyOpen, s.PenX});
    if (primitive == kOpInitialise) {
      if (YYHardcopyProbeAnswered(kNumber)) return;
      YYDriverDefaults();
      hardcopyOption(kOptPageWidth) = kPageWidth;
      hardcopyOption(kOptPageHeight) = kPageHeight;
      hardcopyOption(kOptOrientation) = 1;
      HardcopyDeviceDescription device;
      device.resolution = kResolution;
      device.colourCount = 8;
      device.colourMax = 8;
      device.toFile = toFile;
      device.deviceWord1 = 1;
      device.shadeMode = 1;
      device.trueColour = 1;
      device.platformLevel = 2;
      device.deviceWord6 = 0.5f;
      device.caps = "00000100000000011000000100000";
      YYHardcopyDescribe(device);
      yyHardcopyOutputName = "zndvplot.prn";
      s.ActiveDriver = kNumber;
    } else if (primitive == kOpBeginPlot) {
      if (s.M > 0) {
        if (openFails) {
          yyGrAttributes.HardcopyOpen = 0;
          return;
        }
        if (!plotContent.empty()) {
          if (std::FILE* f = std::fopen(TEXT.str().c_str(), "wb")) {
            std::fwrite(plotContent.data(), 1, plotContent.size(), f);
            std::fclose(f);
          }
        }
      }
      YYHardcopyScaleSet(static_cast<float>(hardcopyOption(kOptPageWidth)) * kResolution / 72.0f,
                         static_cast<float>(hardcopyOption(kOptPageHeight)) * kResolution / 72.0f);
    } else if (primitive == kOpEndPage) {
      s.PageBegun = 0;
    } else if (isDrawingOpcode(primitive) && primitive != kOpEndPlot) {
      s.PageBegun = -1;
    }
  }
};

// Every test starts with no hardcopy open, the recording driver in place of
// driver 4 and selected, options cleared and nothing recorded.
class HardcopyCore : public ::testing::Test {
 protected:
  void SetUp() override {
    YYErrorStateReset();
    yyGrState = YYGrState{};
    yyGrAttributes = YYGrAttributes{};
    yyGrAttributes.ScreenDriverOn = 1;
    yyGrState.SurfaceWidth = 756;
    yyGrState.SurfaceHeight = 540;
    yyHardcopyOptions.fill(0);
    yyHardcopyOutputName = "";
    yyPlotTitle = "";
    yyPrintCommand = "";
    TEXT = "";
    recorder() = RecordingDriver{};
    yyHardcopyDriverStandIn = {RecordingDriver::kNumber, RecordingDriver::routine};
    yyHardcopyDriverNumber = RecordingDriver::kNumber;
  }
  void TearDown() override {
    yyHardcopyDriverStandIn = {};
    yyHardcopyDriverNumber = kWindowsPrinterDriver;
    yyGrAttributes.HardcopyOpen = 0;
    yyPrintCommand = "";
    YYErrorStateReset();
  }

  static RecordingDriver& recorder() { return RecordingDriver::instance(); }

  static void send(YYGrOpcode opcode) {
    YYGrPrimitive op = opcode;
    YYHCDISPATCH(op);
  }

  // Initialises the recording driver as the graphics defaults would, and
  // forgets that record.
  static void initialiseDriver() {
    yyGrState.N = 0;
    send(kOpInitialise);
    recorder().seen.clear();
  }
};

// Byte copies of the shared blocks, for "nothing else changed" checks.
template <typename Block>
std::vector<unsigned char> bytesOf(const Block& block) {
  std::vector<unsigned char> bytes(sizeof block);
  std::memcpy(bytes.data(), &block, sizeof block);
  return bytes;
}
