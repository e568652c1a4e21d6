// The Windows printer driver on the test run's CUPS PDF printer, without any
// printer, and with its drawing recorded: a document context that is an
// enhanced metafile shows the exact GDI calls of the printer set.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "toolkit/drivers/printer_gdi.h"
#include "toolkit/drivers/windows_printer.h"
#include "windows_drivers_fixture.h"

namespace windows_drivers {
namespace {

using EmfRecord = std::vector<std::uint8_t>;

std::int32_t field(const EmfRecord& r, std::size_t at) {
  std::int32_t value = 0;
  std::copy_n(r.data() + at, sizeof value, reinterpret_cast<std::uint8_t*>(&value));
  return value;
}

class PrinterDriver : public WindowsDrivers {
 protected:
  void TearDown() override {
    if (yyPrnContext.DocumentOpen != 0 && yyPrnContext.PrinterDc != nullptr) YYPrnEndDoc();
    yyPrnContext = YYPrnContext{};
    yyWindowsPrinter = YYWindowsPrinter{};
    WindowsDrivers::TearDown();
  }
  static void chooseMissingPrinter() {
    yyChosenPrinter.chosen = 1;
    yyChosenPrinter.device = "No Such Printer";
    yyChosenPrinter.driver = "wineps.drv";
    yyChosenPrinter.port = "CUPS:NoSuchPrinter";
  }
};

// The printer set draws into an enhanced metafile in place of a print
// document; the records tell which GDI calls it made.
class RecordedPrinter : public PrinterDriver {
 protected:
  void SetUp() override {
    PrinterDriver::SetUp();
    yyHardcopyDriverNumber = kWindowsPrinterDriver;
    yyPrnContext = YYPrnContext{};
    yyPrnContext.PrinterDc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(yyPrnContext.PrinterDc, nullptr);
    yyPrnContext.DocumentOpen = 1;
    yyGrState.DeviceScaleX = 1.0f;
    yyGrState.DeviceScaleY = 1.0f;
    setOption(1, 697);
    setOption(2, 450);
  }
  void TearDown() override {
    if (yyPrnContext.PrinterDc != nullptr) DeleteEnhMetaFile(CloseEnhMetaFile(yyPrnContext.PrinterDc));
    yyPrnContext = YYPrnContext{};
    PrinterDriver::TearDown();
  }
  // Ends the recording and hands back its records.
  static std::vector<EmfRecord> records() {
    HENHMETAFILE picture = CloseEnhMetaFile(yyPrnContext.PrinterDc);
    yyPrnContext = YYPrnContext{};
    std::vector<EmfRecord> list;
    EnumEnhMetaFile(nullptr, picture, keepRecord, &list, nullptr);
    DeleteEnhMetaFile(picture);
    return list;
  }
  static int CALLBACK keepRecord(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(record);
    reinterpret_cast<std::vector<EmfRecord>*>(data)->emplace_back(bytes, bytes + record->nSize);
    return 1;
  }
  static int count(const std::vector<EmfRecord>& list, DWORD type) {
    return static_cast<int>(
        std::count_if(list.begin(), list.end(), [&](const EmfRecord& r) { return field(r, 0) == static_cast<std::int32_t>(type); }));
  }
  static const EmfRecord* first(const std::vector<EmfRecord>& list, DWORD type) {
    for (const auto& r : list) {
      if (field(r, 0) == static_cast<std::int32_t>(type)) return &r;
    }
    return nullptr;
  }
};

// A4 at 300 dpi, landscape with inch margins, as the CUPS PDF queue gives it.
TEST_F(PrinterDriver, OpcodeOnePublishesThePdfPrintersPageAndColour) {
  yyDumpSettings.printerPresent = 0;
  initialise(kWindowsPrinterDriver);
  EXPECT_EQ(yyWindowsPrinter.error, 0);
  EXPECT_EQ(yyDumpSettings.printerPresent, 1);
  EXPECT_EQ(yyDumpSettings.paperWidth, 841);
  EXPECT_EQ(yyDumpSettings.paperHeight, 594);
  EXPECT_EQ(option(1), 697);
  EXPECT_EQ(option(2), 450);
  EXPECT_EQ(option(3), 72);
  EXPECT_EQ(option(4), 72);
  EXPECT_EQ(option(5), 1);
  EXPECT_EQ(option(8), 1);
  EXPECT_EQ(option(9), 5);
  // The PostScript printer answers NUMCOLORS -1: a colour device all the same.
  EXPECT_EQ(option(7), 0);
  EXPECT_EQ(yyGrState.HardcopyColourMax, 256);
  EXPECT_EQ(yyGrState.ActiveDriver, 10);
  EXPECT_EQ(yyGrState.HardcopyCaps.view(), "00000111111111100010011011110");
  EXPECT_EQ(yyGrState.DeviceWord5[kHardcopySide], 8);
  EXPECT_EQ(yyGrState.FullCircle[kHardcopySide], 360);
  EXPECT_EQ(yyGrState.HardcopyToFile, 0);

  // Keeping the settings leaves the page and the colours, not the defaults.
  setOption(1, 100);
  setOption(5, 0);
  setOption(9, 40);
  yyGrState.HardcopyColourCount = 77;
  yyGrState.ActiveDriver = 0;
  yyGrState.M = kKeepPrinterSettings;
  send(kOpInitialise);
  yyGrState.M = 0;
  EXPECT_EQ(option(1), 100);
  EXPECT_EQ(option(5), 0);
  EXPECT_EQ(option(9), 5);
  EXPECT_EQ(yyGrState.HardcopyColourCount, 77);
  EXPECT_EQ(yyGrState.ActiveDriver, 10);
}

// Start-up with no printer is silent; only beginning a plot says so.
TEST_F(PrinterDriver, WithoutAPrinterOnlyTheBeginningOfAPlotReportsError1) {
  chooseMissingPrinter();
  YYErrorModeSet(kReportStdout);
  ::testing::internal::CaptureStdout();
  initialise(kWindowsPrinterDriver);
  const int errorAtStart = errorState.lastError;
  EXPECT_EQ(yyDumpSettings.printerPresent, 0);
  EXPECT_EQ(option(1), 0);
  beginPlot("");
  const std::string out = ::testing::internal::GetCapturedStdout();
  YYErrorModeSet(kReportSilent);
  EXPECT_EQ(errorAtStart, 0);
  EXPECT_EQ(errorState.lastError, 1);
  EXPECT_NE(errorState.ioDetail, 0);
  EXPECT_EQ(yyGrAttributes.HardcopyOpen, 0);
  EXPECT_NE(out.find("XXWIN"), std::string::npos) << out;
  EXPECT_EQ(out.find("XXWIN", out.find("XXWIN") + 1), std::string::npos) << out;
  EXPECT_EQ(yyPrnContext.DocumentOpen, 0);
}

// The scene goes to the PDF printer under a title of its own, which
// check_windows_drivers.sh looks for among the PDF files.
TEST_F(PrinterDriver, TheScenePrintsOnThePdfPrinter) {
  initialise(kWindowsPrinterDriver);
  ASSERT_EQ(yyWindowsPrinter.error, 0);
  const std::string title = "Carrowmapper printed scene " + std::to_string(GetCurrentProcessId()) + "-" +
                            std::to_string(GetTickCount());
  yyPlotTitle = title;
  beginPlot("", 0, 1);
  ASSERT_EQ(yyGrAttributes.HardcopyOpen, 1);
  EXPECT_EQ(yyGrState.ResolutionX, 300);
  EXPECT_FLOAT_EQ(yyGrState.DeviceScaleX, static_cast<float>(300 * 697 / 72) / kSurfaceWidth);
  drawScene();
  EXPECT_EQ(yyGrState.PageBegun, -1);
  endPlot();
  EXPECT_EQ(yyPrnContext.DocumentOpen, 0);
  EXPECT_EQ(yyPrnContext.Pen, nullptr);
  std::ofstream("printed_title.txt") << title << '\n';
}

TEST_F(RecordedPrinter, OnePenServesLinesOfOneColourStyleAndWidth) {
  YYPrnSetColour(255, 0, 0);
  YYPrnLine(0, 0, 10, 10);
  YYPrnLine(10, 10, 20, 0);
  YYPrnSetColour(0x100, 0x1FF, 0x80);  // only the low byte of each counts
  EXPECT_EQ(yyPrnContext.CurrentColorRef, RGB(0, 255, 128));
  EXPECT_EQ(yyPrnContext.PreviousColorRef, RGB(255, 0, 0));
  YYPrnLine(0, 5, 30, 5);
  const auto list = records();
  EXPECT_EQ(count(list, EMR_CREATEPEN) + count(list, EMR_EXTCREATEPEN), 2);
  EXPECT_EQ(count(list, EMR_LINETO), 3);
  EXPECT_EQ(count(list, EMR_SETPIXELV), 3);  // solid lines set their end pixel
}

// The probe is asked for the character height; its cell height becomes the
// character height of the real font, so the real font's cell is taller than
// the probe's by its internal leading.
TEST_F(RecordedPrinter, TheFontTakesTheProbesCellHeightAsItsCharacterHeight) {
  for (const int asked : {40, 100}) {
    SCOPED_TRACE(asked);
    int height = asked;
    int ascent = 0;
    YYPrnFont(0, height, ascent, 0, 2, 0, "Arial");
    TEXTMETRICA created{};
    ASSERT_TRUE(GetTextMetricsA(yyPrnContext.PrinterDc, &created));
    ASSERT_GT(height, asked - 2);  // the probe's cell height, at least the character height asked
    EXPECT_NEAR(created.tmHeight - created.tmInternalLeading, height, 1);
    EXPECT_GT(created.tmHeight, height);
  }
}

TEST_F(RecordedPrinter, APointIsASquareOfThePenWidth) {
  YYPrnSetLineWidth(4);
  YYPrnDot(50, 60);
  const auto list = records();
  const EmfRecord* box = first(list, EMR_RECTANGLE);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(field(*box, 8), 48);
  EXPECT_EQ(field(*box, 12), 58);
  // The record's box is inclusive: one less than the corner GDI was given.
  EXPECT_EQ(field(*box, 16), 53 - 1);
  EXPECT_EQ(field(*box, 20), 63 - 1);
}

TEST_F(RecordedPrinter, AnEndedPageStartsAgainAtTheNextDrawingNotAtAClip) {
  yyPrnContext.WindowOrgX = 30;
  yyPrnContext.WindowOrgY = 20;
  YYPrnEndPage();
  EXPECT_EQ(yyPrnContext.PagePending, 1);
  YYPrnClipRect(100, 100, 200, 150);
  EXPECT_EQ(yyPrnContext.PagePending, 1);
  YYPrnLine(0, 0, 5, 5);
  EXPECT_EQ(yyPrnContext.PagePending, 0);
  const auto list = records();
  // The region is in device coordinates: the window origin comes off.
  const EmfRecord* clip = first(list, EMR_EXTSELECTCLIPRGN);
  ASSERT_NE(clip, nullptr);
  const std::size_t bounds = 16 + 16;  // record header, size and mode, then the region header's bounds
  EXPECT_EQ(field(*clip, bounds), 70);
  EXPECT_EQ(field(*clip, bounds + 4), 80);
  EXPECT_EQ(field(*clip, bounds + 8), 170);
  EXPECT_EQ(field(*clip, bounds + 12), 130);
}

TEST_F(RecordedPrinter, FillStyleTwoDrawsOnlyTheEllipseAndThatAsAnOutline) {
  yyGrAttributes.FillStyle = 2;
  point(1, 100, 300);
  point(2, 200, 400);
  yyGrState.R6 = 50;
  yyGrState.R7 = 1.0f;
  for (std::int32_t opcode : {kOpRectanglePattern, kOpQuadPattern, kOpTrianglePattern, kOpPiePattern,
                              kOpPolygonPattern, kOpEllipsePattern}) {
    send(opcode);
  }
  const auto list = records();
  EXPECT_EQ(count(list, EMR_ELLIPSE), 1);
  EXPECT_EQ(count(list, EMR_RECTANGLE) + count(list, EMR_POLYGON16) + count(list, EMR_PIE), 0);
  EXPECT_EQ(count(list, EMR_CREATEBRUSHINDIRECT), 0);  // the null brush: an outline
}

// A sector whose ends fall on one pixel is kept narrow by moving its end,
// unless it sweeps more than ten degrees.
TEST_F(RecordedPrinter, ANarrowPieHasItsEndMovedOnePixel) {
  yyGrAttributes.FillStyle = 4;
  yyGrState.SurfaceAspect = 697.0f / 450.0f;  // the pie's radius stays as given
  for (float sweep : {10.0f, 10.5f}) {
    sector({300, 300, 40, 40, 0.0f, 0.0f, 0.0f, sweep});
    send(kOpPiePattern);
  }
  const auto list = records();
  std::vector<const EmfRecord*> pies;
  for (const auto& r : list) {
    if (field(r, 0) == EMR_PIE) pies.push_back(&r);
  }
  ASSERT_EQ(pies.size(), 2u);
  // EMR_PIE: box at 8, start point at 24, end point at 32.
  EXPECT_EQ(field(*pies[0], 32), field(*pies[0], 24) - 1);
  EXPECT_EQ(field(*pies[0], 36), field(*pies[0], 28) - 1);
  EXPECT_EQ(field(*pies[1], 32), field(*pies[1], 24));
  EXPECT_EQ(field(*pies[1], 36), field(*pies[1], 28));
}

TEST_F(RecordedPrinter, MonochromePrintsColourZeroWhiteAndEveryOtherBlack) {
  yyGrAttributes.ColourMode = kColourIndexed;
  setOption(7, 1);
  struct MonoCase {
    int number;
    COLORREF expected;
  };
  for (const auto& c : {MonoCase{0, RGB(255, 255, 255)}, MonoCase{5, 0}, MonoCase{223, 0}, MonoCase{31, 0}}) {
    yyGrAttributes.ColourNumber = c.number;
    send(kOpColour);
    EXPECT_EQ(yyPrnContext.CurrentColorRef, c.expected) << c.number;
  }
  setOption(7, 0);
  yyGrAttributes.ColourNumber = 31;  // the lightest red of the table
  send(kOpColour);
  EXPECT_EQ(yyPrnContext.CurrentColorRef, RGB(255, 0, 0));
}

TEST_F(RecordedPrinter, InversionOptionSixTurnsColoursOrSwapsOnlyBlackAndWhite) {
  struct GreyCase {
    int inversion;
    int in[3];
    int out[3];
  };
  for (const auto& c : {GreyCase{0, {5, 5, 5}, {5, 5, 5}}, GreyCase{1, {0, 100, 255}, {255, 155, 0}},
                        GreyCase{2, {5, 5, 5}, {250, 250, 250}}, GreyCase{2, {5, 5, 20}, {5, 5, 20}},
                        GreyCase{2, {250, 246, 255}, {5, 9, 0}}, GreyCase{7, {1, 2, 3}, {1, 2, 3}}}) {
    setOption(6, c.inversion);
    int r = c.in[0], g = c.in[1], b = c.in[2];
    YYPrnGreyColour(r, g, b);
    EXPECT_EQ(r, c.out[0]) << c.inversion;
    EXPECT_EQ(g, c.out[1]) << c.inversion;
    EXPECT_EQ(b, c.out[2]) << c.inversion;
  }
}

// Option 9 is in tenths of a point; the pen is one pixel narrower than the
// mean of its widths along x and y.
TEST_F(RecordedPrinter, LineWidthFollowsTheResolution) {
  struct WidthCase {
    float resolution;
    int tenths;
    int pen;
  };
  for (const auto& c : {WidthCase{600, 5, 3}, WidthCase{72, 5, 0}, WidthCase{300, 20, 7}, WidthCase{300, 1, 0}}) {
    yyWindowsPrinter.resolutionX = yyWindowsPrinter.resolutionY = c.resolution;
    setOption(9, c.tenths);
    send(kOpLineWidth);
    EXPECT_EQ(yyPrnContext.PenWidth, c.pen) << c.resolution << '/' << c.tenths;
  }
}

}  // namespace
}  // namespace windows_drivers
