// The shared test scene through the Windows metafile driver and the Windows
// printer: check_windows_drivers.sh renders the WMF and the printed page and
// finds the clipped polygon inside its clip and the shaded polygon shaded.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <map>
#include <string>

#include "support/graphics_scene.h"
#include "toolkit/drivers/metafile_gdi.h"
#include "toolkit/drivers/printer_gdi.h"
#include "toolkit/drivers/windows_printer.h"
#include "windows_drivers_fixture.h"

namespace windows_drivers {
namespace {

// The drawing program of the Windows drivers: a solid shape is sent as its
// patterned twin with a solid fill style; everything else as it comes.
void toWindowsDriver(YYGrPrimitive& op) {
  YYGrPrimitive sent = op;
  if (op >= kOpEllipseSolid && op <= kOpPolygonSolid && op % 2 == 0) {
    yyGrAttributes.FillStyle = 4;
    yyGrState.M = 0;
    sent = op - 1;
  }
  YYHCDISPATCH(sent);
}

std::map<unsigned, int> wmfFunctionCounts(const std::string& path, std::size_t& size) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  size = bytes.size();
  const auto byte = [&bytes](std::size_t at) { return static_cast<unsigned>(static_cast<unsigned char>(bytes[at])); };
  std::map<unsigned, int> counts;
  for (std::size_t at = 22 + 18; at + 6 <= bytes.size();) {
    const std::size_t words = byte(at) | byte(at + 1) << 8 | byte(at + 2) << 16 | byte(at + 3) << 24;
    const unsigned function = byte(at + 4) | byte(at + 5) << 8;
    ++counts[function];
    if (words < 3 || function == 0) break;
    at += 2 * words;
  }
  return counts;
}

using SharedScene = WindowsDrivers;

// The whole scene in a placeable WMF: the clip rectangle is recorded as WMF
// can record it, and the shaded polygon is rows of a bitmap, not pixels.
TEST_F(SharedScene, TheSceneAsAWindowsMetafileKeepsItsClipAndStaysSmall) {
  initialise(kWindowsMetafileDriver);
  DeleteFileA("shared_scene.wmf");
  setOption(27, 1);
  beginPlot("shared_scene.wmf");
  ASSERT_EQ(yyGrAttributes.HardcopyOpen, 1);
  drawGraphicsScene(toWindowsDriver);
  endPlot();
  std::size_t size = 0;
  const auto counts = wmfFunctionCounts("shared_scene.wmf", size);
  EXPECT_LT(size, 2u * 1024 * 1024);
  EXPECT_GE(counts.count(0x0416u) != 0 ? counts.at(0x0416u) : 0, 2);  // intersect clip rectangle
  EXPECT_GE(counts.count(0x0F43u) != 0 ? counts.at(0x0F43u) : 0, 1);  // the shading as bitmap rows
  // Pixels only where solid lines end, none for the shading.
  EXPECT_LT(counts.count(0x041Fu) != 0 ? counts.at(0x041Fu) : 0, 40);
}

// The whole scene on the PDF printer, under a title of its own that
// check_windows_drivers.sh looks for.
TEST_F(SharedScene, TheScenePrintsWithItsClipAndItsShading) {
  initialise(kWindowsPrinterDriver);
  ASSERT_EQ(yyWindowsPrinter.error, 0);
  const std::string title = "Carrowmapper shared scene " + std::to_string(GetCurrentProcessId()) + "-" +
                            std::to_string(GetTickCount());
  yyPlotTitle = title;
  beginPlot("", 0, 1);
  ASSERT_EQ(yyGrAttributes.HardcopyOpen, 1);
  drawGraphicsScene(toWindowsDriver);
  endPlot();
  EXPECT_EQ(yyPrnContext.DocumentOpen, 0);
  std::ofstream("printed_shared_scene.txt") << title << '\n';
}

}  // namespace
}  // namespace windows_drivers
