#include <filesystem>
#include <fstream>
#include <iterator>

#include "raster_fixture.h"
#include "toolkit/drivers/printer_streams.h"
#include "toolkit/drivers/raster_printer.h"

namespace {

// An allocator that fails a given number of times before it allocates.
int failuresLeft = 0;
int allocations = 0;
bool failingAllocator() {
  ++allocations;
  if (failuresLeft > 0) {
    --failuresLeft;
    return false;
  }
  return YYRasterPageAllocate();
}

class RasterPrinter : public RasterPageTest {
 protected:
  void SetUp() override {
    RasterPageTest::SetUp();
    failuresLeft = 0;
    allocations = 0;
    yyRasterPageAllocator = failingAllocator;
    yyGrState.SurfaceWidth = 640;
    yyGrState.SurfaceHeight = 480;
    yyGrAttributes.HardcopyOpen = 1;
  }
  void TearDown() override {
    yyRasterPageAllocator = YYRasterPageAllocate;
    RasterPageTest::TearDown();
  }

  static void driver(std::int32_t opcode) { YYGRASTPRN(opcode); }

  void start(int deviceCode) {
    YYHardcopyDevice(deviceCode);
    yyGrState.N = 0;
    driver(kOpInitialise);
  }

  static void beginPlot(const char* output = kScratchOutput) {
    TEXT = output;
    yyGrState.M = 1;
    driver(kOpBeginPlot);
    yyGrState.M = 0;
  }
};

TEST_F(RasterPrinter, TheProbeOnlyAnswersTheDriverNumber) {
  hardcopyOption(1) = 77;
  yyGrState.N = kDriverProbe;
  driver(kOpInitialise);
  EXPECT_EQ(yyGrState.N, 4);
  EXPECT_EQ(hardcopyOption(1), 77);
  EXPECT_EQ(yyGrState.ActiveDriver, 0);
}

TEST_F(RasterPrinter, InitialisingSetsThePageAndDeviceByPrinterFamily) {
  struct Case {
    int deviceCode;
    int offsetX, offsetY, orientation, resolution, compression, colours;
  };
  const Case cases[] = {
      {10, 100, 70, 1, 2, 0, 2},  // PCL laser
      {2, 0, 0, 0, 2, 0, 2},      // 8-pin dot matrix
      {21, 100, 70, 1, 2, 2, 8},  // PCL colour
      {9, 0, 0, 0, 2, 0, 2},      // two resolutions only
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.deviceCode);
    start(c.deviceCode);
    EXPECT_EQ(hardcopyOption(1), 576);
    EXPECT_EQ(hardcopyOption(2), 432);
    EXPECT_EQ(hardcopyOption(3), c.offsetX);
    EXPECT_EQ(hardcopyOption(4), c.offsetY);
    EXPECT_EQ(hardcopyOption(5), c.orientation);
    EXPECT_EQ(hardcopyOption(13), c.resolution);
    EXPECT_EQ(yyGrState.RasterResolution, c.resolution);
    EXPECT_EQ(hardcopyOption(19), 3);
    EXPECT_EQ(hardcopyOption(24), c.compression);
    EXPECT_EQ(yyGrState.HardcopyColourCount, c.colours);
    EXPECT_EQ(yyGrState.HardcopyColourMax, 8);
    EXPECT_EQ(yyGrState.HardcopyToFile, 1);
    EXPECT_EQ(yyGrState.HardcopyCaps.view(), "00000111111111110010011011000");
    EXPECT_EQ(yyHardcopyOutputName.str(), "zndvplot.prn");
    EXPECT_EQ(yyGrState.ActiveDriver, 4);
  }
}

TEST_F(RasterPrinter, BeginPlotLaysThePageOutAtThePrinterResolution) {
  struct Case {
    const char* what;
    int deviceCode;
    int inversion;
    int width, rows, printerWidth, printerHeight, bits;
    float horizontal, vertical;
    std::int32_t clearValue;
  };
  const Case cases[] = {
      // 150 dpi, turned: the page is 8 x 6 inches across the paper.
      {"PCL laser", 10, 0, 1200, 900, 900, 1200, 1, 150.0f, 150.0f, 0},
      // 120 dpi along the line; two passes of 8 pins at 23/216 inch.
      {"dot matrix", 2, 0, 960, 901, 960, 901, 1, 120.0f, 150.26087f, 0},
      {"RGB colour starts white", 21, 0, 1200, 900, 900, 1200, 3, 150.0f, 150.0f, -1},
      {"inversion 1 prints one plane", 21, 1, 1200, 900, 900, 1200, 1, 150.0f, 150.0f, 0},
      {"CMY colour starts blank", 31, 0, 1200, 900, 900, 1200, 3, 150.0f, 150.0f, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    start(c.deviceCode);
    hardcopyOption(6) = c.inversion;
    beginPlot();
    EXPECT_EQ(yyGrAttributes.HardcopyOpen, 1);
    EXPECT_EQ(yyRasterPage.width, c.width);
    EXPECT_EQ(yyRasterPage.rows, c.rows);
    EXPECT_EQ(yyRasterPage.printerWidth, c.printerWidth);
    EXPECT_EQ(yyRasterPage.printerHeight, c.printerHeight);
    EXPECT_EQ(yyRasterPage.bitsPerPixel, c.bits);
    EXPECT_FLOAT_EQ(yyRasterPage.horizontalResolution, c.horizontal);
    EXPECT_FLOAT_EQ(yyRasterPage.verticalResolution, c.vertical);
    EXPECT_EQ(yyGrState.TrueColour[kHardcopySide], c.bits == 1 ? 0 : 1);
    EXPECT_FLOAT_EQ(yyGrState.DeviceScaleX, static_cast<float>(c.width) / 640.0f);
    ASSERT_FALSE(yyRasterPage.buffer.empty());
    EXPECT_EQ(yyRasterPage.buffer[0], static_cast<std::uint32_t>(c.clearValue));
    driver(kOpEndPlot);
    EXPECT_TRUE(yyRasterPage.buffer.empty());
    yyGrState.TrueColour[kHardcopySide] = 1;
  }
}

// Each failed allocation steps to the next lower resolution; when the lowest
// fails too the plot is refused.
TEST_F(RasterPrinter, FailedAllocationsRetryAtLowerResolutions) {
  start(10);  // 300, 150, 100, 75 dpi; the default is 150
  failuresLeft = 2;
  beginPlot();
  EXPECT_EQ(allocations, 3);
  EXPECT_EQ(yyGrState.RasterResolution, 4);
  EXPECT_EQ(yyRasterPage.width, 600);
  EXPECT_EQ(yyGrAttributes.HardcopyOpen, 1);
  driver(kOpEndPlot);

  start(10);
  failuresLeft = 3;
  beginPlot();
  EXPECT_EQ(errorState.lastError, 34);
  EXPECT_EQ(yyGrAttributes.HardcopyOpen, 0);
}

TEST_F(RasterPrinter, PagesBeyondTheWordCountsCountAsFailedAllocations) {
  start(10);
  hardcopyOption(1) = 1000000;
  hardcopyOption(2) = 1000000;
  beginPlot();
  EXPECT_EQ(errorState.lastError, 34);
  EXPECT_EQ(allocations, 0);
  EXPECT_EQ(yyGrAttributes.HardcopyOpen, 0);
}

TEST_F(RasterPrinter, NoResolutionChosenRefusesThePlot) {
  start(10);
  hardcopyOption(13) = 0;
  beginPlot();
  EXPECT_EQ(errorState.lastError, 5);
  EXPECT_EQ(yyGrAttributes.HardcopyOpen, 0);
  EXPECT_EQ(allocations, 0);
}

// Each drawn page goes to the plot file as the printer stream of the page,
// and a blank page follows; an end of page with nothing drawn sends nothing.
TEST_F(RasterPrinter, EachDrawnPageGoesToThePlotFile) {
  const char* kOutput = "printer_pages.prn";
  start(10);
  hardcopyOption(1) = 72;
  hardcopyOption(2) = 36;
  beginPlot(kOutput);
  ASSERT_EQ(yyGrAttributes.HardcopyOpen, 1);
  driver(kOpLineWidth);
  driver(kOpLineStyle);
  yyGrState.ViewportRightReal = 639.0f;
  yyGrState.ViewportTopReal = 479.0f;
  driver(kOpClip);
  colourNumber(223);
  points({{10.0f, 10.0f}, {600.0f, 400.0f}});
  driver(kOpLine);
  ASSERT_NE(yyGrState.PageBegun, 0);

  // The stream of the page as drawn, before it is sent and cleared.
  YYPclRaster(yyRasterPage.printerWidth, yyRasterPage.printerHeight);
  std::string page;
  ASSERT_TRUE(printerPageStream(printerFetchRoutine(), [&page](std::string_view piece) {
    page += piece;
    return true;
  }));
  ASSERT_EQ(page.substr(0, 2), "\x1b" "E");

  driver(kOpEndPage);
  EXPECT_EQ(yyGrState.PageBegun, 0);
  EXPECT_TRUE(std::all_of(yyRasterPage.buffer.begin(), yyRasterPage.buffer.end(),
                          [](std::uint32_t w) { return w == 0; }));
  driver(kOpEndPage);  // nothing drawn since
  points({{10.0f, 10.0f}, {600.0f, 400.0f}});
  driver(kOpLine);
  driver(kOpEndPage);
  driver(kOpEndPlot);
  EXPECT_TRUE(yyRasterPage.buffer.empty());

  std::ifstream in(kOutput, std::ios::binary);
  const std::string written{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  EXPECT_EQ(written, page + page);
}

TEST_F(RasterPrinter, AnOutputThatCannotBeOpenedEndsThePlot) {
  start(10);
  beginPlot("no_such_folder/zndvplot.prn");
  EXPECT_EQ(yyGrAttributes.HardcopyOpen, 0);
  EXPECT_EQ(errorState.lastError, 1);
  EXPECT_TRUE(yyRasterPage.buffer.empty());
  // A page drawn on regardless is dropped, not read from the freed page.
  yyGrState.PageBegun = -1;
  driver(kOpEndPage);
  EXPECT_EQ(yyGrState.PageBegun, 0);
}

}  // namespace
