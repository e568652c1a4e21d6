// The PostScript document around the drawing: initialisation, the header with
// its font re-encoding, EPS, pages, copies and the end of the file.
#include <algorithm>

#include "postscript_fixture.h"

namespace postscript_tests {
namespace {

using Document = PostScriptDriver;

TEST_F(Document, ProbeAnswersOnlyTheNumberAndInitialisingDescribesThePage) {
  for (auto& word : yyHardcopyOptions) word = 0;
  yyHardcopyOutputName = "kept.name";
  yyGrState.ActiveDriver = 0;
  yyGrState.N = kDriverProbe;
  send(kOpInitialise);
  EXPECT_EQ(yyGrState.N, kPostScriptDriver);
  EXPECT_EQ(hardcopyOption(kOptPageWidth), 0);
  EXPECT_EQ(yyHardcopyOutputName.str(), "kept.name");
  EXPECT_EQ(yyGrState.ActiveDriver, 0);

  yyGrState.N = 0;
  hardcopyOption(kOptEncapsulated) = 1;
  send(kOpInitialise);
  const std::pair<int, int> expected[] = {{1, 756}, {2, 540}, {3, 42}, {4, -20}, {5, 1}, {15, 1}, {16, 255},
                                          {22, 0},  {8, 1},   {9, 5},  {6, 0},   {7, 0}};
  for (const auto& [code, value] : expected) EXPECT_EQ(hardcopyOption(code), value) << "option " << code;
  const YYGrState& s = yyGrState;
  EXPECT_EQ(yyHardcopyOutputName.str(), "zndvplot.ps");
  EXPECT_EQ(yyHardcopyOutputName.length(), 260);
  EXPECT_EQ(s.ActiveDriver, kPostScriptDriver);
  EXPECT_EQ(s.ResolutionX, 600);
  EXPECT_EQ(s.HardcopyColourCount, 256);
  EXPECT_EQ(s.HardcopyToFile, 1);
  EXPECT_EQ(s.HardcopyDeviceWord3, 1);
  EXPECT_EQ(s.TrueColour[kHardcopySide], 1);
  EXPECT_EQ(s.FullCircle[kHardcopySide], 360);
  EXPECT_EQ(s.DeviceWord5[kHardcopySide], 8);
  EXPECT_EQ(s.HardcopyCaps.str(), "00000111111111100010011011110");
  // The option that makes EPS now changes the extension of the default name.
  YYHCOPTION(kOptEncapsulated, 1);
  EXPECT_EQ(yyHardcopyOutputName.str(), "zndvplot.eps");
}

TEST_F(Document, HeaderPrologAndReEncodedFontsComeBeforeTheFirstPage) {
  yyPlotTitle = "Route   of   the    day";
  beginPlot(true);
  endPlot();
  const Lines all = lines();
  const Lines head(all.begin(), all.begin() + 12);
  const Lines expected = {
      "%!PS-Adobe-3.0",
      "%%Title: Route of the day",
      "%%Creator: Q.V.R. PostScript driver",
      "%%EndComments",
      "/l {lineto} def/m {moveto} def/g {setrgbcolor} def/w {setlinewidth} def",
      "/d {setdash} def/cf {closepath fill} def/s {stroke} def/ff {findfont} def",
      "/ms {makefont setfont} def/ro {rotate} def/cs {closepath stroke} def",
      "/lsh {show} def/rsh {dup stringwidth pop 0 exch sub 0 rmoveto show} def",
      "/csh {dup stringwidth pop 2 div 0 exch sub 0 rmoveto show} def",
      "%%EndProlog",
      "/Courier ff",
      "dup length dict begin",
  };
  EXPECT_EQ(head, expected);
  // Twelve fonts of five lines, then four for Symbol, then the page set-up.
  const Lines fonts(all.begin() + 10, all.begin() + 74);
  EXPECT_EQ(fonts[5], "/Courier-Bold ff");
  EXPECT_EQ(fonts[9], "currentdict end /Courier-2 exch definefont pop");
  EXPECT_EQ(fonts[40], "/Times-Roman ff");
  EXPECT_EQ(fonts[55], "/Times-BoldItalic ff");
  EXPECT_EQ(fonts[59], "currentdict end /Times-4 exch definefont pop");
  EXPECT_EQ(std::count(fonts.begin(), fonts.end(), "/Encoding ISOLatin1Encoding def"), 12);
  const Lines symbol(fonts.end() - 4, fonts.end());
  EXPECT_EQ(symbol, (Lines{"/Symbol ff", "dup length dict begin", "{1 index /FID ne {def} {pop pop} ifelse} forall",
                           "currentdict end /Symbol exch definefont pop"}));
  const Lines page(all.begin() + 74, all.begin() + 78);
  EXPECT_EQ(page, (Lines{"90.0 ro", "42.0 -560.0 translate", "newpath", "%%Page: 1 1"}));
  EXPECT_EQ(std::count_if(all.begin(), all.end(), [](const std::string& l) { return l.starts_with("%%Pages"); }), 0);
}

TEST_F(Document, UprightPageHasNoRotationAndItsOwnOffset) {
  setOption(kOptOrientation, 0);
  beginPlot();
  endPlot();
  const Lines all = lines();
  EXPECT_EQ(std::count(all.begin(), all.end(), "90.0 ro"), 0);
  EXPECT_EQ(all.at(73), "42.0 -20.0 translate");
  EXPECT_EQ(all.at(1), "%%Creator: Q.V.R. PostScript driver");  // no title asked for
}

struct EpsCase {
  int orientation;
  const char* box;
  const char* translate;
};

TEST_F(Document, EpsStartsWithItsBoundingBoxAndEndsWithoutPrinterCommands) {
  const EpsCase cases[] = {
      {1, "%%BoundingBox: 0 0 540 756", "0.0 -540.0 translate"},
      {0, "%%BoundingBox: 0 0 756 540", "0.0 0.0 translate"},
  };
  for (const EpsCase& c : cases) {
    SetUp();
    setOption(kOptEncapsulated, 1);
    setOption(kOptOrientation, c.orientation);
    outputName_ = "Document_Eps_orientation_" + std::to_string(c.orientation) + ".eps";
    beginPlot();
    line(10, 10, 20, 20);
    send(kOpClip);
    yyGrState.N = 0;
    send(kOpEndPage);
    endPlot();
    const Lines all = lines();
    EXPECT_EQ(all.at(0), "%!PS-Adobe-3.0 EPSF-3.0");
    EXPECT_EQ(all.at(1), c.box);
    EXPECT_NE(std::find(all.begin(), all.end(), c.translate), all.end()) << c.translate;
    for (const char* absent : {"initclip", "gsave showpage grestore", "initgraphics"}) {
      EXPECT_EQ(std::count(all.begin(), all.end(), absent), 0) << absent;
    }
    EXPECT_EQ(std::count_if(all.begin(), all.end(), [](const std::string& l) { return l.starts_with("/#copies"); }),
              0);
    EXPECT_EQ(all.back(), "%%EOF");
    EXPECT_TRUE(bytes_.ends_with("%%EOF\r\n"));
  }
}

TEST_F(Document, EmptyPlotHasTheHeaderAndFirstPageButNoShowpage) {
  beginPlot();
  endPlot();
  const Lines all = lines();
  EXPECT_EQ(all.at(75), "newpath");
  EXPECT_EQ(all.at(76), "%%Page: 1 1");
  EXPECT_EQ(std::count(all.begin(), all.end(), "gsave showpage grestore"), 0);
  EXPECT_EQ(all.end()[-2], "%%EOF");
  EXPECT_EQ(all.back(), "initgraphics");
  // The end-of-transmission byte follows, after a blank, without a line end.
  EXPECT_TRUE(bytes_.ends_with(std::string("initgraphics\r\n \x04", 16)));
}

TEST_F(Document, WithoutTheEndOfTransmissionOptionTheFileEndsWithALine) {
  setOption(kOptEndOfTransmission, 0);
  beginPlot();
  endPlot();
  EXPECT_TRUE(bytes_.ends_with("%%EOF\r\ninitgraphics\r\n"));
}

TEST_F(Document, PagesCarryCopiesAndShowpageAndTheNextPageLine) {
  struct CopiesCase {
    int option;
    const char* line;
  };
  // Copies are limited to what three digits hold and what a reader accepts.
  const CopiesCase cases[] = {{1, "/#copies 1 def"}, {3, "/#copies 3 def"}, {5000, "/#copies 999 def"},
                              {-2, "/#copies 1 def"}};
  for (const CopiesCase& c : cases) {
    SetUp();
    beginPlot();
    setOption(kOptCopies, c.option);
    line(10, 10, 20, 10);
    yyGrState.N = 0;
    send(kOpEndPage);
    EXPECT_EQ(yyGrState.PageBegun, 0);
    line(10, 20, 20, 20);
    endPlot();
    const Lines d = drawn();
    // The first paint of a plot writes its colour, even black.
    const Lines expected = {"20.00 20.0 m", "40.00 20.0 l", "0.00 0.00 0.0 g", "s", c.line, "gsave showpage grestore", "%%Page: 2 2",
                            "20.00 40.0 m", "40.00 40.0 l", "s", c.line, "gsave showpage grestore"};
    EXPECT_EQ(d, expected) << c.option;
  }
}

TEST_F(Document, LineBeginOptionPutsOneBlankBeforeEveryLine) {
  setOption(kOptLineBlank, 1);
  beginPlot();
  line(10, 10, 20, 10);
  endPlot();
  const Lines all = lines();
  ASSERT_GT(all.size(), 80u);
  for (const std::string& l : all) EXPECT_TRUE(l.starts_with(" ")) << l;
  EXPECT_EQ(all.at(0), " %!PS-Adobe-3.0");
}

TEST_F(Document, FileThatCannotBeOpenedClosesTheHardcopyAndRecordsTheError) {
  TEXT = "no_such_folder\\deeper\\plot.ps";
  yyGrState.M = 1;
  yyGrAttributes.HardcopyOpen = 1;
  errorState.lastError = 0;
  send(kOpBeginPlot);
  EXPECT_EQ(yyGrAttributes.HardcopyOpen, 0);
  EXPECT_EQ(errorState.lastError, 1);
}

TEST_F(Document, BeginPlotWithoutMOnlyRescales) {
  yyGrState.SurfaceWidthReal = 189.0f;
  yyGrState.SurfaceHeightReal = 540.0f;
  yyGrState.M = -1;
  yyGrState.LineBeginMode = 7;
  send(kOpBeginPlot);
  EXPECT_FLOAT_EQ(yyGrState.DeviceScaleX, 4.0f);
  EXPECT_FLOAT_EQ(yyGrState.DeviceScaleY, 1.0f);
  EXPECT_EQ(yyGrState.LineBeginMode, 7);
}

}  // namespace
}  // namespace postscript_tests
