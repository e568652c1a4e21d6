// The screen driver's text, its font cache, the palette opcodes, the print of
// the picture and the bounds it keeps on operands.
#include <gtest/gtest.h>

#include "screen_canvas.h"
#include "toolkit/drivers/hardcopy_setup.h"
#include "toolkit/graphics/characters.h"

namespace {

class ScreenText : public ScreenCanvas {
 protected:
  void SetUp() override {
    ScreenCanvas::SetUp();
    yyGrState.CharWidth = 0.06f;
    yyGrState.CharHeight = 0.15f;
    YYCHARSIZEAPPLY();
  }

  // Text from point 1 to point 3 (surface units) with the alignment given.
  static void text(std::string_view words, float x1, float y1, float x3, float y3, int align) {
    YYGrState& s = yyGrState;
    TEXT = words;
    s.TextAlign = align;
    s.R5 = x1;
    s.R1 = y1;
    s.R7 = x3;
    s.R3 = y3;
    s.X1 = static_cast<int>(words.size());
    send(kOpText);
  }

  static int extent(std::string_view words, int count) {
    TEXT = words;
    yyGrState.M = count;
    yyGrState.N = 0;
    send(kOpTextExtent);
    EXPECT_EQ(yyGrState.N, 1);
    return static_cast<int>(yyGrState.R5);
  }
};

TEST_F(ScreenText, HorizontalTextSitsOnItsReferenceLineByAlignment) {
  struct Case {
    int align;
    int wantLeft;   // surface x where the ink should start, -1: not checked
    int wantRight;  // surface x where it should end, -1: not checked
  };
  const int width = extent("HHHH", 4);
  ASSERT_GT(width, 20);
  const Case cases[] = {{0, 20, -1}, {1, 80 - width / 2, 80 + width / 2}, {2, -1, 140}};
  for (const Case& c : cases) {
    send(kOpClear);
    text("HHHH", 20, 60, 140, 60, c.align);
    const InkBox box = ink();
    ASSERT_GT(box.count, 0) << c.align;
    if (c.wantLeft >= 0) {
      EXPECT_NEAR(box.left, c.wantLeft, 3) << c.align;
    }
    if (c.wantRight >= 0) {
      EXPECT_NEAR(box.right, c.wantRight, 3) << c.align;
    }
    EXPECT_GT(box.right - box.left, box.bottom - box.top) << c.align;
    // The reference line runs through the letters' middle.
    const int middle = kHeight - 1 - (box.top + box.bottom) / 2;
    EXPECT_NEAR(middle, 60, 4) << c.align;
    EXPECT_EQ(yyGrState.X4, 0);
  }
}

TEST_F(ScreenText, TextAtNinetyDegreesRunsUpward) {
  YYCHARANGLE(90.0f);  // a new font through the screen route
  send(kOpClear);
  text("HHHH", 80, 20, 80, 100, 0);
  const InkBox box = ink();
  ASSERT_GT(box.count, 0);
  EXPECT_GT(box.bottom - box.top, box.right - box.left);
  EXPECT_NEAR(kHeight - 1 - box.bottom, 20, 3);
  EXPECT_NEAR((box.left + box.right) / 2, 80, 4);
  YYCHARANGLE(0.0f);
}

TEST_F(ScreenText, EmptyAndOverlongTextsStayWithinTheOperand) {
  yyGrState.X4 = 7;
  text("", 20, 60, 140, 60, 0);
  EXPECT_EQ(ink().count, 0);
  EXPECT_EQ(yyGrState.X4, 0);
  // A count beyond the text operand draws the operand, blanks and all.
  TEXT = "HH";
  yyGrState.X1 = 100000;
  yyGrState.TextAlign = 0;
  send(kOpText);
  EXPECT_GT(ink().count, 0);
  // Per-character placement steps each letter on by the character step.
  send(kOpClear);
  yyGrState.TextPerCharacter = 1;
  yyGrState.CharStepX = 30.0f;
  yyGrState.CharCellX = 10.0f;
  text("HH", 20, 60, 60, 60, 0);
  EXPECT_GT(ink(10, 0, 45, kHeight - 1).count, 0);
  EXPECT_GT(ink(46, 0, 80, kHeight - 1).count, 0);
  EXPECT_EQ(ink(81, 0, kWidth - 1, kHeight - 1).count, 0);
  yyGrState.TextPerCharacter = 0;
}

TEST_F(ScreenText, TextExtentMeasuresTheFirstMCharacters) {
  const int two = extent("HHHH", 2);
  const int four = extent("HHHH", 4);
  EXPECT_GT(two, 0);
  EXPECT_NEAR(four, 2 * two, 1);
  EXPECT_EQ(extent("HHHH", -3), 0);
  EXPECT_EQ(extent("HHHH", 100000), extent("HHHH", kTextOperandLength));
}

TEST_F(ScreenText, FontIsMadeOnlyWhenItsParametersChange) {
  const YYScreenCache& c = yyScreenCache;
  const int made = c.FontsMade;
  send(kOpCharSize);
  send(kOpCharSize);
  send(kOpCharAngle);
  EXPECT_EQ(c.FontsMade, made);
  yyGrState.CharHeight = 0.2f;
  send(kOpCharSize);
  EXPECT_EQ(c.FontsMade, made + 1);
  // Opcode 18 forgets the font: the next size opcode makes it again.
  send(kOpBeginPlot);
  EXPECT_EQ(c.FontCacheHeight, -1);
  send(kOpCharSize);
  EXPECT_EQ(c.FontsMade, made + 2);
  // A named face is part of the font only for font kind 0.
  yyGrState.FontName = "Arial";
  send(kOpCharSize);
  EXPECT_EQ(c.FontsMade, made + 2);
  yyGrState.TextFont = 0;
  send(kOpCharSize);
  EXPECT_EQ(c.FontsMade, made + 3);
  EXPECT_EQ(c.FontCacheName.trimmed(), "Arial");
  yyGrState.FontName = "Times New Roman";
  send(kOpCharSize);
  EXPECT_EQ(c.FontsMade, made + 4);
}

TEST_F(ScreenText, FontSizeFollowsTheAreaAndTheTextMode) {
  const YYScreenCache& c = yyScreenCache;
  const YYGrState& s = yyGrState;
  // 0.15 of a 119.99 pixel high area, 0.06 of a 159.99 pixel wide one.
  EXPECT_EQ(c.FontCacheHeight, 17);
  EXPECT_EQ(c.FontCacheWidth, 9);
  ASSERT_GT(c.FontAlphabetWidth, 0);
  EXPECT_FLOAT_EQ(s.CharColumnsPerSurface, s.SurfaceWidthReal * 52 / static_cast<float>(c.FontAlphabetWidth));
  const int alphabet = c.FontAlphabetWidth;
  yyGrState.TextMode = 1;
  yyGrState.TextStyle = 4 | 1;
  send(kOpCharSize);
  EXPECT_EQ(c.FontCacheHeight, static_cast<int>(17 * 0.821f));
  EXPECT_EQ(c.FontCacheWidth, static_cast<int>(9 * 0.607f));
  EXPECT_EQ(c.FontCacheStyle, 1);  // mode 1 drops the underline
  EXPECT_EQ(c.FontAlphabetWidth, alphabet);  // measured in mode 0 only
  // An area of no extent gives no division by zero, only a font of no size.
  yyGrState.TextMode = 0;
  yyGrState.AreaWidthDevice = 0.0f;
  yyGrState.AreaHeightDevice = 0.0f;
  send(kOpCharSize);
  EXPECT_EQ(c.FontCacheWidth, 0);
  EXPECT_EQ(c.FontCacheHeight, 0);
}

TEST_F(ScreenText, PrintWithoutAPrinterReportsErrorOne) {
  const int saved = yyDumpSettings.printerPresent;
  yyDumpSettings.printerPresent = 0;
  TEXT = "Picture";
  EXPECT_EQ(reportsOf(1, [] { send(kOpEndPage); }), 1);
  yyDumpSettings.printerPresent = saved;
}

TEST_F(ScreenText, MetafileLineWidthComesFromTenthsOfAPoint) {
  struct Case {
    int pointsWide, unitsWide, tenths, want;
  };
  // 600 units per inch over 72 points: five tenths of a point are 4 units.
  const Case cases[] = {{72, 600, 5, 4}, {72, 600, 30, 25}, {0, 600, 5, 2}};
  yyGrAttributes.TargetKind = kTargetMetafile;
  yyGrAttributes.TargetId = 3;
  for (const Case& c : cases) {
    yyMetafileSlots[3].words[0] = c.pointsWide;
    yyMetafileSlots[3].words[2] = c.unitsWide;
    yyGrAttributes.LineWidthTenths = c.tenths;
    yyGrAttributes.LineWidth = 2;
    send(kOpLineWidth);
    EXPECT_EQ(yyGdiContext.PenWidth, c.want) << c.pointsWide;
  }
  yyMetafileSlots[3] = YYMetafileSlot{};
  yyGrAttributes.TargetKind = kTargetWindow;
  yyGrAttributes.TargetId = 0;
}

class ScreenPalette : public ScreenCanvas {
 protected:
  void SetUp() override {
    ScreenCanvas::SetUp();
    windowTable.colourCount = 256;
    yyGrAttributes.DeviceColourCount = 16;
    YYGdiContext& g = yyGdiContext;
    g.PaletteRecord.assign(sizeof(LOGPALETTE) + 15 * sizeof(PALETTEENTRY), 0);
    auto* logical = reinterpret_cast<LOGPALETTE*>(g.PaletteRecord.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = 16;
    for (int i = 0; i < 16; ++i) {
      const std::int32_t rgb = yyColourLookups.Lookup16[static_cast<std::size_t>(i)];
      logical->palPalEntry[i] = PALETTEENTRY{static_cast<BYTE>(rgb & 255), static_cast<BYTE>((rgb >> 8) & 255),
                                             static_cast<BYTE>((rgb >> 16) & 255), 0};
    }
    palette_.reset(CreatePalette(logical));
    g.Palette = static_cast<HPALETTE>(palette_.get());
  }
  void TearDown() override {
    SelectPalette(yyGdiContext.DrawDc, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
    ScreenCanvas::TearDown();
    palette_.reset();
  }

  static std::int32_t entry(int index) {
    PALETTEENTRY e{};
    GetPaletteEntries(yyGdiContext.Palette, static_cast<UINT>(index), 1, &e);
    return e.peRed | (e.peGreen << 8) | (e.peBlue << 16);
  }

  static void setEntry(int index, std::int32_t rgb, int more) {
    yyGrState.M = index;
    yyGrState.X1 = rgb;
    yyGrState.X4 = more;
    send(kOpPaletteEntry);
  }

 private:
  GdiObject palette_;
};

TEST_F(ScreenPalette, EntriesAreSetAndABatchIsRealisedAtItsEnd) {
  const YYScreenCache& c = yyScreenCache;
  setEntry(5, 0x123456, 0);
  EXPECT_EQ(entry(5), 0x123456);
  EXPECT_EQ(c.PaletteBatch, 0);
  setEntry(6, 0x010203, 1);
  EXPECT_EQ(c.PaletteBatch, 3);
  // An entry that keeps its value changes nothing, not even the batch.
  setEntry(7, yyColourLookups.Lookup16[7], 0);
  EXPECT_EQ(c.PaletteBatch, 3);
  setEntry(8, 0x0A0B0C, 0);
  EXPECT_EQ(c.PaletteBatch, 0);
  EXPECT_EQ(entry(6), 0x010203);
  EXPECT_EQ(entry(8), 0x0A0B0C);
  // Indices beyond the lookup of the device colour count are refused.
  for (const int index : {-1, 16, 100000}) {
    setEntry(index, 0x777777, 0);
    EXPECT_EQ(c.PaletteBatch, 0);
  }
  EXPECT_EQ(entry(15), yyColourLookups.Lookup16[15]);
}

TEST_F(ScreenPalette, ChangingTheCurrentColoursEntryReselectsIt) {
  IGrColourN(31);
  const int device = yyGrAttributes.DeviceColour;
  yyGdiContext.CurrentColorRef = 0;
  setEntry(device, 0x00FF00, 0);
  EXPECT_EQ(yyGdiContext.CurrentColorRef, PALETTEINDEX(static_cast<WORD>(device)));
}

TEST_F(ScreenPalette, RefreshRealisesEveryLookupEntry) {
  setEntry(2, 0x445566, 0);
  send(kOpColourRefresh);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(entry(i), yyColourLookups.Lookup16[static_cast<std::size_t>(i)]) << i;
  EXPECT_EQ(yyScreenCache.RefreshMode, 3);
  EXPECT_EQ(yyGrAttributes.CurrentRGB, yyColourTable[static_cast<std::size_t>(yyGrAttributes.ColourNumber)]);
}

}  // namespace
