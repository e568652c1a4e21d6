// Switching the drawing target: windows, memory bitmaps, metafile slots.
#include <algorithm>
#include <fstream>
#include <iterator>

#include "support/dib_canvas.h"
#include "toolkit/core/window_select.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/drivers/hardcopy_dispatch.h"
#include "toolkit/graphics/graphics_area.h"
#include "targets_fixture.h"

namespace {

constexpr int kColumns = 16;
constexpr int kRows = 12;

using OutputTargets = TargetWindow;

std::vector<std::uint8_t> fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::int32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::int32_t>(b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24));
}

// The screen's own render of the scene at the size, as the reference.
InkMask screenMask(int width, int height) { return inkMask(drawSceneOnScreen(width, height), kColumns, kRows); }

TEST_F(OutputTargets, SceneDrawnIntoAMemoryBitmapMatchesTheScreen) {
  const int number = bitmapTarget(320, 240);
  EXPECT_EQ(yyGrAttributes.TargetKind, kTargetBitmap);
  EXPECT_EQ(yyGrAttributes.TargetId, number);
  EXPECT_EQ(yyGrState.SurfaceWidth, 320);
  EXPECT_EQ(yyGrAttributes.DeviceMaxY, 239);
  EXPECT_EQ(yyGdiContext.DrawBitmap, yyBitmapSlots[static_cast<std::size_t>(number - 1)].bitmap);
  drawScene();
  IGrSelect(kTargetWindow);
  EXPECT_EQ(yyGdiContext.DrawBitmap, nullptr);
  const InkMask drawn = inkMask(bitmapRaster(number), kColumns, kRows);
  const InkMask reference = screenMask(320, 240);
  EXPECT_LE(maskMismatches(drawn, reference), 2) << drawn.picture() << "\n" << reference.picture();
}

TEST_F(OutputTargets, SceneRecordedInAnEmfSlotPlaysBackWithTheSameInk) {
  int width = 0, height = 0;
  YYEMFCREATE(0, 320, 240, width, height);
  ASSERT_GT(width, 0);
  ASSERT_GT(height, 0);
  auto& words = yyMetafileSlots[1].words;
  words[kSlotWidthPoints] = 320;
  words[kSlotHeightPoints] = 240;
  words[kSlotDeviceWidth] = width;
  words[kSlotDeviceHeight] = height;
  words[kSlotKind] = kSlotEnhanced;
  words[kSlotInUse] = 1;
  IGrSelect(kTargetMetafile, 1);
  ASSERT_EQ(yyGrAttributes.TargetKind, kTargetMetafile);
  EXPECT_NE(yyGdiContext.MetafileTarget, 0);
  EXPECT_EQ(yyGrState.SurfaceWidth, width);
  drawScene();
  IGrSelect(kTargetWindow);
  EXPECT_EQ(yyGdiContext.MetafileTarget, 0);

  const std::string path = workFile("scene.emf");
  int status = -1, error = -1;
  YYEMFSAVE(0, status, error, path + "   ");
  ASSERT_EQ(status, 0) << error;
  const std::vector<std::uint8_t> bytes = fileBytes(path);
  ASSERT_GT(bytes.size(), 88u);
  EXPECT_EQ(std::string(bytes.begin() + 40, bytes.begin() + 44), " EMF");
  EXPECT_EQ(le32(bytes, 32), 320 * 2540 / 72);  // frame right, 0.01 mm
  EXPECT_EQ(le32(bytes, 36), 240 * 2540 / 72);

  YYEMFLOAD(1, static_cast<int>(bytes.size()), status, error, path);
  ASSERT_EQ(status, 0) << error;
  EXPECT_NE(yyEmfSlots[1].Metafile, nullptr);
  const int number = bitmapTarget(320, 240);
  YYEMFPLAY(1, 0, 0, 320, 240);
  IGrSelect(kTargetWindow);
  const InkMask played = inkMask(bitmapRaster(number), kColumns, kRows);
  const InkMask reference = screenMask(320, 240);
  EXPECT_LE(maskMismatches(played, reference), 4) << played.picture() << "\n" << reference.picture();
}

// The colour set while one target was current draws on the next: the
// switches neither lose nor free the current pen.
TEST_F(OutputTargets, CurrentColourFollowsTheTargetAcrossSwitches) {
  const int first = bitmapTarget(20, 10);
  yyGrAttributes.ColourMode = kColourRgb;
  yyGrAttributes.CurrentRGB = 0x0000FF;
  YYGrPrimitive op = kOpColour;
  YYPRIMROUTE(op);
  IGrSelect(kTargetWindow);
  const int second = bitmapTarget(20, 10);
  ASSERT_NE(first, second);
  yyGrState.X1 = 0;
  yyGrState.Y1 = 5;
  yyGrState.X2 = 19;
  yyGrState.Y2 = 5;
  op = kOpLine;
  YYPRIMROUTE(op);
  IGrSelect(kTargetWindow);
  const RgbRaster drawn = bitmapRaster(second);
  const std::size_t at = (static_cast<std::size_t>(10 - 1 - 5) * 20 + 10) * 3;  // surface row 5, column 10
  EXPECT_EQ(drawn.rgb[at], 255);
  EXPECT_EQ(drawn.rgb[at + 1], 0);
  EXPECT_EQ(drawn.rgb[at + 2], 0);
}

// A failed switch lands on the current window, reports 1019 and sends no
// opcode: the screen driver's description (written by opcode 1) stays as set.
TEST_F(OutputTargets, FailedSwitchReturnsToTheWindowWithoutAnOpcode) {
  struct Case {
    const char* what;
    int target;
    int id;
  };
  const Case cases[] = {
      {"bitmap 21", kTargetBitmap, 21},
      {"empty bitmap 3", kTargetBitmap, 3},
      {"empty metafile slot", kTargetMetafile, 5},
      {"metafile slot 0", kTargetMetafile, 0},
      {"picture field without a dialog", kTargetField, 0},
      {"window that does not exist", kTargetWindow, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    yyGrState.ScreenCaps = "0";
    errorState.lastError = 0;
    IGrSelect(c.target, c.id);
    EXPECT_EQ(errorState.lastError, 1019);
    EXPECT_EQ(yyGrAttributes.TargetKind, kTargetWindow);
    EXPECT_EQ(yyGrAttributes.TargetId, windowTable.currentIndex);
    EXPECT_EQ(yyGrState.ScreenCaps.trimmed(), "0");
    EXPECT_EQ(yyGrState.SurfaceWidth, windowTable.clientWidth);
  }
  // A switch that works describes the target.
  IGrSelect(kTargetWindow);
  EXPECT_EQ(yyGrState.ScreenCaps.trimmed(), kScreenCaps);
}

// The opcodes that reach the hardcopy route while a hardcopy is open.
std::vector<int> hardcopyOpcodes;
void noteHardcopyOpcode(YYGrPrimitive& op) { hardcopyOpcodes.push_back(op); }

// Window selection hands its option to the graphics area for the rescale:
// with a non-zero option the area is not sent to the hardcopy again.
TEST_F(OutputTargets, WindowSelectionHandsItsOptionToTheGraphicsArea) {
  yyHardcopyDriverStandIn = {yyHardcopyDriverNumber, noteHardcopyOpcode};
  yyGrAttributes.HardcopyOpen = 1;
  for (const int option : {1, 0}) {
    SCOPED_TRACE(option);
    hardcopyOpcodes.clear();
    YYWINSEL(0, option);
    const bool areaSent = std::count(hardcopyOpcodes.begin(), hardcopyOpcodes.end(), kOpClip) > 0;
    EXPECT_EQ(areaSent, option == 0);
    EXPECT_EQ(yyGrAttributes.WindowSelectOption, 0);  // only while the switch rescales
  }
  yyGrAttributes.HardcopyOpen = 0;
  yyHardcopyDriverStandIn = {};
}

TEST_F(OutputTargets, PictureFieldOfTheCurrentDialogIsATarget) {
  WDialogLoad(300);
  WDialogShow();
  ASSERT_NE(currentDialogWindow(), nullptr);
  HWND picture = GetDlgItem(currentDialogWindow(), 1019);
  RECT client{};
  GetClientRect(picture, &client);
  IGrSelect(kTargetField, 1019);
  EXPECT_EQ(errorState.lastError, 0);
  EXPECT_EQ(yyGrAttributes.TargetKind, kTargetField);
  EXPECT_EQ(yyGrAttributes.TargetId, 1019);
  EXPECT_EQ(yyGrAttributes.TargetDialog, currentDialogRecord()->identifier);
  EXPECT_EQ(yyGrState.SurfaceWidth, client.right);
  EXPECT_EQ(yyGrState.SurfaceHeight, client.bottom);
  EXPECT_EQ(yyGdiContext.DrawWindow, picture);
  // A field that the dialog lacks fails like any other target.
  IGrSelect(kTargetField, 4711);
  EXPECT_EQ(errorState.lastError, 1019);
  EXPECT_EQ(yyGrAttributes.TargetKind, kTargetWindow);
  EXPECT_EQ(yyGdiContext.DrawWindow, windowTable.slots[0].client);
  WDialogUnload();
}

TEST_F(OutputTargets, StaleInvalidWindowErrorNeitherFailsTheSwitchNorIsLost) {
  errorState.lastError = 1003;
  yyGrState.ScreenCaps = "0";
  IGrSelect(kTargetWindow, 0);
  EXPECT_EQ(yyGrAttributes.TargetKind, kTargetWindow);
  EXPECT_EQ(yyGrState.ScreenCaps.trimmed(), kScreenCaps);
  EXPECT_EQ(errorState.lastError, 1003);
}

TEST_F(OutputTargets, CgmSlotTurnsTheScreenRouteToTheRecorderAndBack) {
  auto& words = yyMetafileSlots[2].words;
  words[kSlotDeviceWidth] = 6000;
  words[kSlotDeviceHeight] = 4000;
  words[kSlotKind] = kSlotCgm;
  words[kSlotInUse] = 1;
  IGrSelect(kTargetMetafile, 2);
  EXPECT_EQ(yyGrAttributes.CgmRoute, 1);
  EXPECT_EQ(yyGrAttributes.TargetKind, kTargetMetafile);
  EXPECT_EQ(yyGrState.SurfaceWidth, 6000);
  // An unknown target leaves the slot selected and still recorded.
  IGrSelect(5, 1);
  EXPECT_EQ(yyGrAttributes.CgmRoute, 1);
  EXPECT_EQ(yyGrAttributes.TargetKind, kTargetMetafile);
  // Leaving the slot gives the screen back its line width (opcode 30) and
  // viewport clip (opcode 24), which the recorder took meanwhile.
  yyGdiContext.PenWidth = 57;
  yyGdiContext.ClipRegion.reset();
  IGrArea(0.0f, 0.0f, 0.5f, 0.5f);  // recorded, not drawn
  EXPECT_FALSE(yyGdiContext.ClipRegion);
  IGrSelect(kTargetWindow);
  EXPECT_EQ(yyGrAttributes.CgmRoute, 0);
  EXPECT_EQ(yyGrState.SurfaceWidth, windowTable.clientWidth);
  EXPECT_EQ(yyGdiContext.PenWidth, yyGrAttributes.LineWidth);
  EXPECT_TRUE(yyGdiContext.ClipRegion);
}

TEST_F(OutputTargets, MetafileDestroyChecksTheSlotAndEmptiesIt) {
  int width = 0, height = 0;
  YYEMFCREATE(3, 72, 72, width, height);
  auto& words = yyMetafileSlots[4].words;
  words[kSlotWidthPoints] = 72;
  words[kSlotKind] = kSlotEnhanced;
  words[kSlotInUse] = 1;
  for (const int slot : {0, 21, 5}) {
    SCOPED_TRACE(slot);
    errorState.lastError = 0;
    WMetafileDestroy(slot);
    EXPECT_EQ(errorState.lastError, 1060);
    EXPECT_EQ(words[kSlotKind], kSlotEnhanced);
    EXPECT_NE(yyEmfSlots[3].RecordingDc, nullptr);
  }
  errorState.lastError = 0;
  WMetafileDestroy(4);
  EXPECT_EQ(errorState.lastError, 0);
  EXPECT_EQ(words[kSlotKind], kSlotEmpty);
  EXPECT_EQ(words[kSlotInUse], 0);
  EXPECT_EQ(words[kSlotWidthPoints], 0);
  EXPECT_EQ(yyEmfSlots[3].RecordingDc, nullptr);
  EXPECT_EQ(yyEmfSlots[3].Metafile, nullptr);
  WMetafileDestroy(4);
  EXPECT_EQ(errorState.lastError, 1060);
}

}  // namespace
