// The built-in stroke font: installation, decoding of the stroke text, and text
// drawn as polylines through the routes.
#include "toolkit/graphics/stroke_font.h"

#include <algorithm>
#include <limits>

#include "toolkit/graphics/characters.h"
#include "toolkit/graphics/stroke_font_table.h"

namespace {
// The built-in font's metrics as its installation passes them: the nominal
// character is 7.68 grid units wide and 11.88 high.
constexpr float kNominalWidthUnits = 7.68f;
constexpr float kNominalHeightUnits = 11.88f;
constexpr float kBuiltInMetric3 = 6.0f;
constexpr float kBuiltInMetric4 = 11.0f;
constexpr int kBuiltInMetricCount = 8;
constexpr int kBuiltInFlags = 3;  // bit 0 set, and the lower set runs to code 128
constexpr std::string_view kBuiltInName = "standard.chr";
constexpr char kPenLift = 'u';

static_assert(kBuiltInStrokeText.size() == kStrokeTextLength);
static_assert(kBuiltInStartsLow.size() == kStrokeStartsLow);
static_assert(kBuiltInStartsHigh.size() == kStrokeStartsHigh);

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The 1-based run [first, next) of a code in the main font's text; both 0 when
// the font holds no glyph for it.
struct GlyphRun {
  int first = 0;
  int next = 0;
};

GlyphRun glyphRun(int code) {
  const YYGrState& s = yyGrState;
  std::size_t index = 0;
  const std::int32_t* starts = nullptr;
  int entries = 0;
  if (code >= 33 && code <= 126) {
    index = static_cast<std::size_t>(code - 33);
    starts = s.StrokeStartsLow.data();
    entries = s.StrokeHas128 != 0 ? kStrokeStartsLow : kStrokeStartsLow - 1;
  } else if (code == 128 && s.StrokeHas128 != 0) {
    index = 94;
    starts = s.StrokeStartsLow.data();
    entries = kStrokeStartsLow;
  } else if (code >= 161 && code <= 255) {
    index = static_cast<std::size_t>(code - 161);
    starts = s.StrokeStartsHigh.data();
    entries = kStrokeStartsHigh;
  } else {
    return {};
  }
  if (index + 1 >= static_cast<std::size_t>(entries)) return {};
  GlyphRun run{starts[index], starts[index + 1]};
  // Start tables come from the caller of the font store: a run outside the
  // text or running backwards draws nothing rather than reading past the text.
  const int textEnd = static_cast<int>(s.StrokeText.view().size()) + 1;
  if (run.first < 1 || run.next <= run.first || run.next > textEnd) return {};
  return run;
}

// The nominal character in surface units along the text and across it.
struct CharacterScale {
  float across = 0.0f;  // surface units per grid unit along the reference line
  float up = 0.0f;      // surface units per grid unit across it
  float nominalWidth = 0.0f;
};

CharacterScale characterScale() {
  const YYGrState& s = yyGrState;
  CharacterScale scale;
  scale.nominalWidth = s.CharWidth * s.AreaWidthDevice;
  scale.across = scale.nominalWidth / kNominalWidthUnits;
  scale.up = s.CharHeight * s.AreaHeightDevice / kNominalHeightUnits;
  return scale;
}

// Sends one stroke, already in surface units, as a polyline to both routes.
void sendStroke(const std::vector<float>& xs, const std::vector<float>& ys, PrimitiveRoute screen,
                PrimitiveRoute hardcopy) {
  const int count = static_cast<int>(std::min<std::size_t>(xs.size(), kPointBufferSize));
  if (count == 0) return;
  std::copy_n(xs.begin(), count, yyGrPointBuffer.x.begin());
  std::copy_n(ys.begin(), count, yyGrPointBuffer.y.begin());
  // A stroke of one point is a dot: a polyline of the point twice.
  int points = count;
  if (points == 1) {
    yyGrPointBuffer.x[1] = yyGrPointBuffer.x[0];
    yyGrPointBuffer.y[1] = yyGrPointBuffer.y[0];
    points = 2;
  }
  // Each route gets the operands afresh: a driver may leave its answer in N.
  for (const PrimitiveRoute route : {screen, hardcopy}) {
    if (route == nullptr) continue;
    yyGrState.N = points;
    YYGrPrimitive op = kOpPolyline;
    route(op);
  }
}
}  // namespace

void YYSTROKEFONTINIT(int selector) {
  YYSTROKEFONTSET(kNominalWidthUnits, kNominalHeightUnits, kBuiltInMetric3, kBuiltInMetric4, kBuiltInMetricCount,
                  kBuiltInFlags, 0, selector, kBuiltInName, kBuiltInStrokeText, kBuiltInStartsLow.data(),
                  kBuiltInStartsHigh.data());
}

std::vector<Stroke> strokeGlyph(int code) {
  const GlyphRun run = glyphRun(code);
  std::vector<Stroke> strokes;
  if (run.first == 0) return strokes;
  const std::string_view text = yyGrState.StrokeText.view().substr(
      static_cast<std::size_t>(run.first - 1), static_cast<std::size_t>(run.next - run.first));
  Stroke current;
  const auto liftPen = [&] {
    if (!current.empty()) strokes.push_back(std::move(current));
    current.clear();
  };
  for (std::size_t i = 0; i < text.size();) {
    const char c = text[i];
    if (c == ' ') {
      ++i;
    } else if (c == kPenLift || c == 'U') {
      liftPen();
      ++i;
    } else if (i + 1 < text.size() && hexDigit(c) >= 0 && hexDigit(text[i + 1]) >= 0) {
      current.push_back({hexDigit(c), hexDigit(text[i + 1])});
      i += 2;
    } else {
      // A stray character or half a point: the stroke ends there.
      liftPen();
      ++i;
    }
  }
  liftPen();
  return strokes;
}

float strokeAdvance(int code) {
  const YYGrState& s = yyGrState;
  if (code >= 32 && code <= 126) return s.StrokeWidthsLow[static_cast<std::size_t>(code - 32)];
  if (code == 128) return s.StrokeWidthsLow[kStrokeWidthsLow - 1];
  if (code >= 161 && code <= 255) return s.StrokeWidthsHigh[static_cast<std::size_t>(code - 161)];
  return s.StrokeWidthsLow[0];
}

float strokeTextWidth(std::string_view text) {
  float units = 0.0f;
  for (const char c : text) units += strokeAdvance(static_cast<unsigned char>(c));
  return units * characterScale().nominalWidth;
}

void YYSTROKETEXT(float x, float y, std::string_view text, PrimitiveRoute screen, PrimitiveRoute hardcopy) {
  const YYGrState& s = yyGrState;
  const CharacterScale scale = characterScale();
  const int align = std::clamp(s.TextAlign, 0, 2);
  // Distance along the reference line from the reference point to the pen.
  float pen = -strokeTextWidth(text) * static_cast<float>(align) / 2.0f;
  const float c = s.CharCos;
  std::vector<float> xs;
  std::vector<float> ys;
  for (const char ch : text) {
    const int code = static_cast<unsigned char>(ch);
    const float advance = strokeAdvance(code) * scale.nominalWidth;
    const std::vector<Stroke> strokes = strokeGlyph(code);
    // Each glyph is centred in its advance: the middle of its points at the
    // middle of the cell.
    int low = std::numeric_limits<int>::max();
    int high = std::numeric_limits<int>::min();
    for (const Stroke& stroke : strokes) {
      for (const StrokePoint& p : stroke) {
        low = std::min(low, p.x);
        high = std::max(high, p.x);
      }
    }
    const float middle = static_cast<float>(low + high) / 2.0f;
    for (const Stroke& stroke : strokes) {
      xs.clear();
      ys.clear();
      for (const StrokePoint& p : stroke) {
        const float along = pen + advance / 2.0f + (static_cast<float>(p.x) - middle) * scale.across;
        const float across = static_cast<float>(p.y - kStrokeBaseline) * scale.up;
        xs.push_back(x + along * c - across * s.CharSinTimesAspect);
        ys.push_back(y + along * s.CharSinOverAspect + across * c);
      }
      sendStroke(xs, ys, screen, hardcopy);
    }
    pen += advance;
  }
}
