#pragma once
// The graphics engine's shared blocks.  Every drawing step is one opcode whose
// operands stand in these global records: the state, the attributes, the point
// buffer and the text operand.  The routes and every driver read the same
// blocks; nothing allocates or frees them.
//
// Surface coordinates have their origin at the lower left, y upward, and a y
// value always stands before its x counterpart.

#include <array>
#include <cstddef>
#include <cstdint>

#include "toolkit/core/fixed_text.h"

// One drawing step: a reference to an opcode 1-40; drivers ignore any other.
using YYGrPrimitive = std::int32_t;

// The opcode set shared by the screen driver, the CGM recorder and every
// hardcopy driver.  Shape opcodes come in pairs: odd fills with a pattern,
// even fills solid.
enum YYGrOpcode : std::int32_t {
  kOpInitialise = 1,
  kOpLine = 2,
  kOpColour = 3,
  kOpEllipseOutline = 4,
  kOpEllipsePattern = 5,
  kOpEllipseSolid = 6,
  kOpQuadPattern = 7,
  kOpQuadSolid = 8,
  kOpRectanglePattern = 9,
  kOpRectangleSolid = 10,
  kOpTrianglePattern = 11,
  kOpTriangleSolid = 12,
  kOpPiePattern = 13,
  kOpPieSolid = 14,
  kOpPolygonPattern = 15,
  kOpPolygonSolid = 16,
  kOpClear = 17,
  kOpBeginPlot = 18,
  kOpEndPlot = 19,
  kOpEndPage = 20,
  kOpCharSize = 21,
  kOpText = 22,
  kOpMoveArea = 23,
  kOpClip = 24,
  kOpTextExtent = 25,
  kOpPoint = 26,
  kOpDrawMode = 27,
  kOpPaletteEntry = 28,
  kOpLineStyle = 29,
  kOpLineWidth = 30,
  kOpReadPixel = 31,
  kOpPolyline = 32,
  kOpCharAngle = 33,
  kOpArc = 34,
  kOpColourRefresh = 35,
  kOpLineJoin = 36,
  kOpLineCap = 37,
  kOpImage = 38,
  kOpMetafileHeader = 39,
  kOpShadedPolygon = 40,
};
constexpr std::int32_t kFirstOpcode = 1;
constexpr std::int32_t kLastOpcode = 40;
constexpr bool isDrawingOpcode(std::int32_t opcode) { return opcode >= kFirstOpcode && opcode <= kLastOpcode; }

// Opcode 1 with N = -999 only asks the driver for its number.
constexpr std::int32_t kDriverProbe = -999;
// Opcode 1 with M = -998: the Windows printer keeps its page settings.
constexpr std::int32_t kKeepPrinterSettings = -998;

// A device description: 29 characters, each "0" or "1".
constexpr int kDeviceCapsLength = 29;
using YYDeviceCaps = FixedText<kDeviceCapsLength>;
inline constexpr std::string_view kScreenCaps = "11111111111111111110111011111";

// The text operand: text of opcodes 22 and 25, file names, document titles.
constexpr int kTextOperandLength = 260;
using TextOperand = FixedText<kTextOperandLength>;
extern TextOperand TEXT;

// Device pairs: one word for the screen target (or the CGM recorder), one for
// the hardcopy device.
enum DevicePairSide : std::size_t { kScreenSide = 0, kHardcopySide = 1 };
using DeviceIntPair = std::array<std::int32_t, 2>;
using DeviceRealPair = std::array<float, 2>;

// The built-in stroke font's sizes: its code ranges and its stroke text.
constexpr int kStrokeWidthsLow = 96;    // codes 32-126, then 128
constexpr int kStrokeWidthsHigh = 95;   // codes 161-255
constexpr int kStrokeStartsLow = 96;    // codes 33-126 and 128
constexpr int kStrokeStartsHigh = 96;   // codes 161-255, then the end + 1
constexpr int kStrokeTextLength = 3455;
constexpr int kStrokeFontNameLength = 260;

constexpr int kDriverWorkBytes = 136;
constexpr int kFontNameLength = 100;

struct YYGrState {
  std::array<std::int32_t, kDriverWorkBytes / 4> DriverWork{};  // hardcopy drivers' work area
  std::int32_t PageBegun = 0;            // -1 once something is drawn on the hardcopy page
  std::int32_t HardcopyColourCount = 0;
  std::int32_t HardcopyColourMax = 0;
  std::int32_t HardcopyToFile = 0;       // 1: output a print command may send on
  std::int32_t LineBeginMode = 0;        // 1: plot-file lines begin with a blank, 2: not
  std::int32_t HpglWord = 0;
  std::int32_t RasterWord = 0;
  std::int32_t RasterResolution = 0;
  std::int32_t ActiveDriver = 0;         // hardcopy driver that last answered opcode 1
  float DeviceScaleY = 0.0f, DeviceScaleX = 0.0f;  // hardcopy units per surface unit
  float FillLineSpacing = 0.0f;
  float PenY = -9999.0f, PenX = -9999.0f;          // -9999 = no point yet
  std::int32_t ResolutionY = 0, ResolutionX = 0;

  // The operands.  Point k is (R(4+k), Rk) as reals and (Xk, Yk) as integers.
  std::int32_t N = 0;
  std::int32_t M = 0;
  float R1 = 0.0f, R2 = 0.0f, R3 = 0.0f, R4 = 0.0f;
  float R5 = 0.0f, R6 = 0.0f, R7 = 0.0f, R8 = 0.0f;
  std::int32_t Y1 = 0, Y2 = 0, Y3 = 0, Y4 = 0;
  std::int32_t X1 = 0, X2 = 0, X3 = 0, X4 = 0;

  std::int32_t HardcopyDeviceWord1 = 0, HardcopyDeviceWord2 = 0, HardcopyDeviceWord3 = 0;
  DeviceIntPair ShadeMode{};
  DeviceIntPair TrueColour{};
  DeviceIntPair PlatformLevel{};
  DeviceIntPair FullCircle{};
  YYDeviceCaps ScreenCaps;
  YYDeviceCaps HardcopyCaps;

  float UserScaleY = 1.0f, UserScaleX = 1.0f;  // surface units per user unit
  float AreaHeightDevice = 0.0f, AreaWidthDevice = 0.0f;
  float UserRangeY = 1.0f, UserRangeX = 1.0f;
  float ViewportHeight = 0.0f, ViewportWidth = 0.0f;
  std::int32_t SurfaceHeight = 0, SurfaceWidth = 0;
  float SurfaceHeightReal = 0.0f, SurfaceWidthReal = 0.0f;  // pixels - 0.01
  std::int32_t ViewportRows = 0, ViewportColumns = 0;
  std::int32_t ViewportTop = 0, ViewportRight = 0, ViewportBottom = 0, ViewportLeft = 0;
  float ClipTop = 0.0f, ClipRight = 0.0f, ClipBottom = 0.0f, ClipLeft = 0.0f;
  float ViewportTopReal = 0.0f, ViewportRightReal = 0.0f, ViewportBottomReal = 0.0f, ViewportLeftReal = 0.0f;
  float UnitsY2 = 1.0f, UnitsX2 = 1.0f, UnitsY1 = 0.0f, UnitsX1 = 0.0f;
  float AreaHeightFraction = 1.0f, AreaWidthFraction = 1.0f;
  float AreaY2 = 1.0f, AreaX2 = 1.0f, AreaY1 = 0.0f, AreaX1 = 0.0f;
  float SurfaceAspect = 1.32f;  // width / height, 1.0 for a zero height

  std::int32_t StrokeFontFlags = 0;  // non-zero: text is drawn with the stroke font
  std::int32_t TextMode = 0;
  std::int32_t TextAlign = 0;         // 0 left, 1 centred, 2 right
  std::int32_t TextPerCharacter = 0;
  std::int32_t TextStyle = 0;         // bit 0 bold, 1 italic, 2 underline, 3 opaque
  std::int32_t TextFamily = 0;
  std::int32_t TextFont = 0;          // 0 FontName, 1 Courier New, 2 Arial, 3 Times, 4 Symbol
  std::int32_t TextSizeHold = 0;

  // The stroke font's integer metrics.
  std::int32_t StrokeMetricInt = 0;
  std::int32_t StrokeHas128 = 0;
  std::int32_t StrokeFlag0 = 0;
  std::int32_t StrokeMetricCount = 0;

  DeviceIntPair DeviceWord5{};
  DeviceRealPair DeviceWord6{};

  float CharStepX = 0.0f, CharStepY = 0.0f;
  float CharCellY = 0.0f, CharCellX = 0.0f;
  float CharSinOverAspect = 0.0f, CharSinTimesAspect = 0.0f, CharCos = 1.0f;
  float CharAngle = 0.0f;  // degrees, 0 to under 360

  // The stroke font's real metrics and advance widths.
  float StrokeMetric4 = 0.0f, StrokeMetric3 = 0.0f, StrokeMetric2 = 0.0f, StrokeMetric1 = 0.0f;
  std::array<float, kStrokeWidthsHigh> StrokeWidthsHigh{};
  std::array<float, kStrokeWidthsLow> StrokeWidthsLow{};
  std::array<std::int32_t, kStrokeStartsHigh> StrokeStartsHigh{};
  std::array<std::int32_t, kStrokeStartsLow> StrokeStartsLow{};

  float CharRowsPerSurface = 0.0f, CharColumnsPerSurface = 0.0f;
  float CharHeight = 0.04f, CharWidth = 0.013333f;  // fractions of the area
  FixedText<kFontNameLength> FontName;

  FixedText<kStrokeFontNameLength> StrokeFontName;
  FixedText<kStrokeTextLength> StrokeText;
};
extern YYGrState yyGrState;
static_assert(sizeof(YYGrState::DriverWork) == kDriverWorkBytes);

// The alternative stroke font store: the stroke-font fields of the state.
struct YYStrokeFont {
  std::int32_t StrokeMetricInt = 0;
  std::int32_t StrokeHas128 = 0;
  std::int32_t StrokeFlag0 = 0;
  std::int32_t StrokeMetricCount = 0;
  float StrokeMetric4 = 0.0f, StrokeMetric3 = 0.0f, StrokeMetric2 = 0.0f, StrokeMetric1 = 0.0f;
  std::array<float, kStrokeWidthsHigh> StrokeWidthsHigh{};
  std::array<float, kStrokeWidthsLow> StrokeWidthsLow{};
  std::array<std::int32_t, kStrokeStartsHigh> StrokeStartsHigh{};
  std::array<std::int32_t, kStrokeStartsLow> StrokeStartsLow{};
  FixedText<kStrokeFontNameLength> StrokeFontName;
  FixedText<kStrokeTextLength> StrokeText;
};
extern YYStrokeFont yyStrokeFontAlternative;

enum TargetKindCode : std::int32_t { kTargetWindow = 1, kTargetBitmap = 2, kTargetField = 3, kTargetMetafile = 4 };
enum ColourModeCode : std::int32_t { kColourIndexed = 1, kColourRgb = 2 };

struct YYGrAttributes {
  std::int32_t DrawFlag = 0;
  std::int32_t FillFallback = 0;        // 2 filled with lines, 1 raster
  std::int32_t FillPatternGroup = 1, FillPatternIndex = 0;
  std::int32_t FillOutline = 0;
  std::int32_t FillStyle = 0;
  std::int32_t LineWidthTenths = 5;
  std::int32_t LineWidth = 1;
  std::int32_t LineStyle = 0;           // 0 solid ... 6 short dashes
  std::int32_t DrawMode = 0;            // 0 copy, 1 OR, 2 AND, 3 XOR
  // Counting ColourMode as word 0, the pair of colour mode m lies at words 2m
  // and 2m + 1: drivers pick the current colour of the mode by that rule.
  std::int32_t ColourMode = kColourIndexed;
  std::int32_t ColourCount = 0;
  std::int32_t PreviousColourNumber = 0, ColourNumber = 0;
  std::int32_t PreviousRGB = 0, CurrentRGB = 0;
  std::int32_t PreviousDeviceColour = 0, DeviceColour = 0;
  std::int32_t DisplayDepth = 0;
  std::int32_t DeviceColourCount = 0;
  std::int32_t HardcopyOpen = 0;        // > 0 while a hardcopy is open
  std::int32_t ScreenDriverOn = 0;
  std::int32_t DeviceMaxY = 0, DeviceMaxX = 0;
  std::int32_t ClearHeight = 0, ClearWidth = 0;
  std::int32_t CgmRoute = 0;            // 1: the screen route records CGM instead of drawing
  std::int32_t WindowSelectOption = 0;
  std::int32_t TargetDialog = 0;
  std::int32_t TargetId = 0;            // window index, bitmap, field or metafile slot
  std::int32_t TargetKind = kTargetWindow;
};
extern YYGrAttributes yyGrAttributes;

// The current colour of the current colour mode, by the word rule above.
std::int32_t currentColourOfMode(const YYGrAttributes& attributes);
std::int32_t previousColourOfMode(const YYGrAttributes& attributes);

constexpr int kPointBufferSize = 5000;
struct YYGrPointBuffer {
  std::array<float, kPointBufferSize> x{};
  std::array<float, kPointBufferSize> y{};
};
extern YYGrPointBuffer yyGrPointBuffer;

constexpr int kMetafileSlots = 20;
constexpr int kMetafileSlotWords = 16;
// The words of a metafile slot; 8-15 describe the CGM byte buffer, which the
// CGM recorder owns.
enum MetafileSlotWord : std::size_t {
  kSlotWidthPoints = 0,
  kSlotHeightPoints = 1,
  kSlotDeviceWidth = 2,   // 600 per inch, larger side at most 32767
  kSlotDeviceHeight = 3,
  kSlotKind = 4,
  kSlotInUse = 5,
  kSlotCapacity = 6,      // CGM bytes
  kSlotBytesUsed = 7,
  kSlotBufferWord = 8,
};
enum MetafileSlotKind : std::int32_t { kSlotEmpty = 0, kSlotEnhanced = 3, kSlotCgm = 6 };
struct YYMetafileSlot {
  std::array<std::int32_t, kMetafileSlotWords> words{};
  bool inUse() const { return words[kSlotInUse] != 0; }
  std::int32_t kind() const { return words[kSlotKind]; }
};
extern std::array<YYMetafileSlot, kMetafileSlots + 1> yyMetafileSlots;  // slots 1-20
