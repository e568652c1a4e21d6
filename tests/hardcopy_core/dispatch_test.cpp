// The driver table, selection, and the protocol words every driver shares.
#include <gtest/gtest.h>

#include "hardcopy_fixture.h"

namespace {

TEST_F(HardcopyCore, NumbersWithoutADriverDropEveryRecord) {
  // The stand-in is driver 4; these numbers have no entry in the table.
  for (int number : {0, 5, 7, 13, -1}) {
    yyHardcopyDriverNumber = number;
    for (int opcode = 0; opcode <= 41; ++opcode) {
      yyGrState.N = kDriverProbe;
      YYGrPrimitive op = opcode;
      YYHCDISPATCH(op);
      EXPECT_EQ(yyGrState.N, kDriverProbe) << number << " " << opcode;
    }
  }
  EXPECT_TRUE(recorder().seen.empty());
  EXPECT_EQ(hardcopyDriver(5), nullptr);
  EXPECT_EQ(hardcopyDriver(13), nullptr);
}

TEST_F(HardcopyCore, TheWindowsPrinterAnswersTheProbeWithItsNumber) {
  yyHardcopyDriverNumber = kWindowsPrinterDriver;
  yyGrState.N = kDriverProbe;
  send(kOpInitialise);
  EXPECT_EQ(yyGrState.N, kWindowsPrinterDriver);
  EXPECT_TRUE(recorder().seen.empty());
}

TEST_F(HardcopyCore, SelectTakesTheNumberOnlyWithOpcodeOne) {
  yyHardcopyDriverNumber = kWindowsPrinterDriver;
  YYGrPrimitive line = kOpLine;
  YYHCSELECT(line, RecordingDriver::kNumber);
  EXPECT_EQ(yyHardcopyDriverNumber, kWindowsPrinterDriver);
  EXPECT_TRUE(recorder().seen.empty());

  YYGrPrimitive initialise = kOpInitialise;
  yyGrState.N = 0;
  YYHCSELECT(initialise, RecordingDriver::kNumber);
  EXPECT_EQ(yyHardcopyDriverNumber, RecordingDriver::kNumber);
  ASSERT_EQ(recorder().opcodes(), std::vector<YYGrPrimitive>{kOpInitialise});
  EXPECT_EQ(yyGrState.ActiveDriver, RecordingDriver::kNumber);
}

TEST_F(HardcopyCore, TheProbeChangesOnlyN) {
  hardcopyOption(kOptPageWidth) = 123;
  hardcopyOption(103) = 9;
  yyHardcopyOutputName = "mine.plt";
  yyGrState.ActiveDriver = kWindowsPrinterDriver;
  yyGrState.N = kDriverProbe;
  YYGrState expected = yyGrState;
  expected.N = RecordingDriver::kNumber;
  const auto expectedState = bytesOf(expected);
  const auto options = yyHardcopyOptions;
  send(kOpInitialise);
  EXPECT_EQ(bytesOf(yyGrState), expectedState);
  EXPECT_EQ(yyHardcopyOptions, options);
  EXPECT_EQ(yyHardcopyOutputName.str(), "mine.plt");
}

TEST_F(HardcopyCore, InitialiseResetsTheCommonOptionsAndDescribesTheDevice) {
  for (int code : {6, 7, 9, 10, 11, 17, 101, 106}) hardcopyOption(code) = 77;
  hardcopyOption(kOptPenThickness) = 250;  // not the common reset's
  initialiseDriver();
  struct Expected {
    int code;
    std::int32_t value;
  };
  const Expected expected[] = {{6, 0},   {7, 0},   {8, 1},   {9, 5},      {10, 0},  {11, 0},  {17, 0}, {101, 80},
                               {102, 60}, {103, 1}, {105, 1}, {104, 999999}, {106, 0}, {107, 0}, {108, 8}, {12, 250}};
  for (const Expected& e : expected) EXPECT_EQ(hardcopyOption(e.code), e.value) << e.code;
  const YYGrState& s = yyGrState;
  EXPECT_EQ(s.ActiveDriver, RecordingDriver::kNumber);
  EXPECT_EQ(yyHardcopyOutputName.str(), "zndvplot.prn");
  EXPECT_EQ(s.ResolutionX, 300);
  EXPECT_EQ(s.ResolutionY, 300);
  EXPECT_EQ(s.HardcopyColourCount, 8);
  EXPECT_EQ(s.HardcopyToFile, 1);
  EXPECT_EQ(s.HardcopyDeviceWord1, 1);
  EXPECT_EQ(s.ShadeMode[kHardcopySide], 1);
  EXPECT_EQ(s.PlatformLevel[kHardcopySide], 2);
  EXPECT_FLOAT_EQ(s.DeviceWord6[kHardcopySide], 0.5f);
  EXPECT_EQ(s.HardcopyCaps.view(), "00000100000000011000000100000");
  // The screen halves of the pairs are the screen driver's.
  EXPECT_EQ(s.ShadeMode[kScreenSide], 0);
}

TEST_F(HardcopyCore, ResizeWhileOpenChangesOnlyTheScales) {
  initialiseDriver();
  yyGrAttributes.HardcopyOpen = 1;
  yyGrState.SurfaceWidth = 1000;
  yyGrState.SurfaceHeight = 500;
  yyGrState.M = -1;
  YYGrState expected = yyGrState;
  expected.DeviceScaleX = 756.0f * 300.0f / 72.0f / 1000.0f;
  expected.DeviceScaleY = 540.0f * 300.0f / 72.0f / 500.0f;
  const auto attributes = bytesOf(yyGrAttributes);
  YYGrPrimitive op = kOpBeginPlot;
  YYDriverCommand(op);
  EXPECT_EQ(bytesOf(yyGrState), bytesOf(expected));
  EXPECT_EQ(bytesOf(yyGrAttributes), attributes);
  ASSERT_EQ(recorder().seen.size(), 1u);
  EXPECT_EQ(recorder().seen[0].m, -1);

  // A surface without height keeps the old vertical scale.
  yyGrState.SurfaceWidth = 750;
  yyGrState.SurfaceHeight = 0;
  YYDriverCommand(op);
  EXPECT_FLOAT_EQ(yyGrState.DeviceScaleX, 756.0f * 300.0f / 72.0f / 750.0f);
  EXPECT_FLOAT_EQ(yyGrState.DeviceScaleY, expected.DeviceScaleY);
}

}  // namespace
