#include "toolkit/drivers/hardcopy_setup.h"

#include <gtest/gtest.h>

#include "toolkit/drivers/printer_device.h"

namespace {

class HardcopySetup : public ::testing::Test {
 protected:
  void SetUp() override { yyRasterDevice = YYRasterDevice{}; }
  void TearDown() override { yyRasterDevice = YYRasterDevice{}; }
};

TEST_F(HardcopySetup, PrinterCodesDescribeTheirPrinter) {
  struct DeviceCase {
    int given;
    int code, deviceCodeGiven, type, planes, deviceClass, compression, best, count, pins, spacing, hpgl2;
  };
  const DeviceCase cases[] = {
      // Unusable codes select 28: PCL, mono, packed, and HP-GL/2 model 1.
      {0, 28, 0, 7, 1, 0, 2, 300, 4, 1, 0, 1},
      {1, 28, 0, 7, 1, 0, 2, 300, 4, 1, 0, 1},
      {27, 28, 0, 7, 1, 0, 2, 300, 4, 1, 0, 1},
      {39, 28, 0, 7, 1, 0, 2, 300, 4, 1, 0, 1},
      {2, 2, 1, 1, 1, 0, 0, 240, 3, 8, 23, 0},
      {9, 9, 1, 3, 1, 0, 0, 160, 2, 8, 22, 0},
      {13, 13, 1, 9, 3, 1, 1, 180, 2, 1, 0, 0},
      {19, 19, 1, 4, 1, 0, 0, 360, 4, 24, 29, 0},
      {25, 25, 1, 5, 3, 2, 0, 360, 4, 24, 24, 0},
      {29, 29, 1, 7, 1, 0, 2, 600, 4, 1, 0, 3},  // type 11 driven as 7
      {32, 32, 1, 8, 3, 2, 2, 300, 4, 1, 0, 2},
      {33, 33, 1, 8, 1, 0, 2, 300, 3, 1, 0, 0},  // type 12 driven as 8
      {36, 36, 1, 6, 1, 0, 1, 720, 3, 1, 0, 0},
      {38, 38, 1, 7, 3, 2, 2, 600, 4, 1, 0, 5},
  };
  for (const auto& c : cases) {
    yyRasterDevice = YYRasterDevice{};
    YYHardcopyDevice(c.given);
    const YYRasterDevice& d = yyRasterDevice;
    EXPECT_EQ(d.deviceCode, c.code) << c.given;
    EXPECT_EQ(d.deviceCodeGiven, c.deviceCodeGiven) << c.given;
    EXPECT_EQ(d.printerType, c.type) << c.given;
    EXPECT_EQ(d.devicePlanes, c.planes) << c.given;
    EXPECT_EQ(d.deviceClass, c.deviceClass) << c.given;
    EXPECT_EQ(d.defaultCompression, c.compression) << c.given;
    EXPECT_EQ(d.resolutions[0], c.best) << c.given;
    EXPECT_EQ(d.resolutionCount, c.count) << c.given;
    EXPECT_EQ(d.pinsPerPass, c.pins) << c.given;
    EXPECT_EQ(d.lineSpacingCode, c.spacing) << c.given;
    EXPECT_EQ(d.hpgl2Model, c.hpgl2) << c.given;
    EXPECT_EQ(d.hpgl2ModelGiven, 0) << c.given;
  }
}

TEST_F(HardcopySetup, AChosenHpgl2ModelIsKept) {
  YYPlotterModel(13);
  EXPECT_EQ(yyRasterDevice.hpgl2Model, 3);
  EXPECT_EQ(yyRasterDevice.hpgl2ModelGiven, 1);
  EXPECT_EQ(yyRasterDevice.plotterModel, 1);
  YYHardcopyDevice(38);  // an HP-GL/2 printer does not override the chosen model
  EXPECT_EQ(yyRasterDevice.hpgl2Model, 3);
}

TEST_F(HardcopySetup, PlotterAndHpgl2Models) {
  struct ModelCase {
    int plotter, model, given;
  };
  for (const auto& c : {ModelCase{4, 4, 1}, ModelCase{10, 10, 1}, ModelCase{0, 1, 0}, ModelCase{16, 1, 0}}) {
    yyRasterDevice = YYRasterDevice{};
    YYPlotterModel(c.plotter);
    EXPECT_EQ(yyRasterDevice.plotterModel, c.model) << c.plotter;
    EXPECT_EQ(yyRasterDevice.plotterModelGiven, c.given) << c.plotter;
  }
  struct Hpgl2Case {
    int deviceCode, model, expected, given;
  };
  for (const auto& c : {Hpgl2Case{28, 4, 4, 1}, Hpgl2Case{32, 0, 2, 0}, Hpgl2Case{35, 9, 2, 0},
                        Hpgl2Case{29, 0, 3, 0}, Hpgl2Case{38, 6, 5, 0}, Hpgl2Case{2, 0, 1, 0}}) {
    yyRasterDevice = YYRasterDevice{};
    yyRasterDevice.deviceCode = c.deviceCode;
    YYHpgl2Model(c.model);
    EXPECT_EQ(yyRasterDevice.hpgl2Model, c.expected) << c.deviceCode << '/' << c.model;
    EXPECT_EQ(yyRasterDevice.hpgl2ModelGiven, c.given);
  }
}

TEST_F(HardcopySetup, ScreenDumpSettings) {
  YYHardcopyFileNames(2);
  const YYDumpSettings& dump = yyDumpSettings;
  EXPECT_EQ(dump.dumpKind, 2);
  EXPECT_EQ(dump.fileName.str(), "zndvdump.ps");
  EXPECT_EQ(dump.pageWidth, 756);
  EXPECT_EQ(dump.pageHeight, 540);
  EXPECT_EQ(dump.offsetX, 42);
  EXPECT_EQ(dump.offsetY, -20);
  EXPECT_EQ(dump.resetFlags, 3);

  // The Windows printer: its page comes from the default printer, the test
  // run's PDF printer (A4, landscape, one-inch margins).
  yyChosenPrinter = YYChosenPrinter{};
  YYHardcopyFileNames();
  EXPECT_EQ(dump.dumpKind, 10);
  EXPECT_EQ(dump.fileName.trimmed(), "");  // only a PostScript dump has a file
  EXPECT_EQ(dump.printerPresent, 1);
  EXPECT_EQ(dump.paperWidth, 841);
  EXPECT_EQ(dump.paperHeight, 594);
  EXPECT_EQ(dump.pageWidth, 697);
  EXPECT_EQ(dump.pageHeight, 450);
  EXPECT_EQ(dump.offsetX, 72);
  EXPECT_EQ(dump.offsetY, 72);
  EXPECT_EQ(dump.orientation, 1);
  EXPECT_EQ(dump.copies, 1);
  EXPECT_EQ(dump.mono, 0);
  EXPECT_EQ(dump.compression, 0);
}

TEST_F(HardcopySetup, VersionText) {
  FixedText<8> text("xxxxxxxx");
  YYVersionText(text, 2);
  EXPECT_EQ(text.view(), "5.10g   ");
  YYVersionText(text, 1);
  EXPECT_TRUE(text.isBlank());
  FixedText<3> cut;
  YYVersionText(cut, 2);
  EXPECT_EQ(cut.view(), "5.1");
}

}  // namespace
