#pragma once
// Binary CGM (the ISO 8632 binary encoding) as this system writes it, for the
// CGM file driver and the in-memory recorder alike.  Everything is 16-bit
// big-endian words and single bytes; an element is a header word (class, id,
// parameter length) and its parameters, padded to an even length.
//
// Elements are built whole and handed to a sink in one piece: the file
// driver's sink writes to the plot unit, the recorder's appends to a slot's
// byte buffer.  The writers below the encoder are the elements that both
// write alike; what differs between the two (coordinates, caches, when the
// descriptor comes) stays with each of them.

#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/graphics/polygon_fill.h"

struct CgmElementCode {
  int elementClass;
  int id;
};

namespace cgm {
inline constexpr CgmElementCode kBeginMetafile{0, 1};
inline constexpr CgmElementCode kEndMetafile{0, 2};
inline constexpr CgmElementCode kBeginPicture{0, 3};
inline constexpr CgmElementCode kBeginPictureBody{0, 4};
inline constexpr CgmElementCode kEndPicture{0, 5};
inline constexpr CgmElementCode kMetafileVersion{1, 1};
inline constexpr CgmElementCode kMetafileDescription{1, 2};
inline constexpr CgmElementCode kVdcType{1, 3};
inline constexpr CgmElementCode kIntegerPrecision{1, 4};
inline constexpr CgmElementCode kRealPrecision{1, 5};
inline constexpr CgmElementCode kIndexPrecision{1, 6};
inline constexpr CgmElementCode kColourPrecision{1, 7};
inline constexpr CgmElementCode kColourValueExtent{1, 10};
inline constexpr CgmElementCode kMetafileDefaults{1, 12};
inline constexpr CgmElementCode kFontList{1, 13};
inline constexpr CgmElementCode kMaximumVdcExtent{1, 17};
inline constexpr CgmElementCode kColourSelectionMode{2, 2};
inline constexpr CgmElementCode kLineWidthMode{2, 3};
inline constexpr CgmElementCode kEdgeWidthMode{2, 5};
inline constexpr CgmElementCode kVdcExtent{2, 6};
inline constexpr CgmElementCode kVdcIntegerPrecision{3, 1};
inline constexpr CgmElementCode kAuxiliaryColour{3, 3};
inline constexpr CgmElementCode kTransparency{3, 4};
inline constexpr CgmElementCode kClipRectangle{3, 5};
inline constexpr CgmElementCode kClipIndicator{3, 6};
inline constexpr CgmElementCode kPolyline{4, 1};
inline constexpr CgmElementCode kText{4, 4};
inline constexpr CgmElementCode kRestrictedText{4, 5};
inline constexpr CgmElementCode kPolygon{4, 7};
inline constexpr CgmElementCode kCellArray{4, 9};
inline constexpr CgmElementCode kRectangle{4, 11};
inline constexpr CgmElementCode kEllipse{4, 17};
inline constexpr CgmElementCode kLineType{5, 2};
inline constexpr CgmElementCode kLineWidth{5, 3};
inline constexpr CgmElementCode kLineColour{5, 4};
inline constexpr CgmElementCode kTextFontIndex{5, 10};
inline constexpr CgmElementCode kTextColour{5, 14};
inline constexpr CgmElementCode kCharacterHeight{5, 15};
inline constexpr CgmElementCode kCharacterOrientation{5, 16};
inline constexpr CgmElementCode kTextAlignment{5, 18};
inline constexpr CgmElementCode kInteriorStyle{5, 22};
inline constexpr CgmElementCode kFillColour{5, 23};
inline constexpr CgmElementCode kEdgeType{5, 27};
inline constexpr CgmElementCode kEdgeWidth{5, 28};
inline constexpr CgmElementCode kEdgeColour{5, 29};
inline constexpr CgmElementCode kEdgeVisibility{5, 30};
inline constexpr CgmElementCode kFillReferencePoint{5, 31};
inline constexpr CgmElementCode kLineCap{5, 37};
inline constexpr CgmElementCode kLineJoin{5, 38};
inline constexpr CgmElementCode kInterpolatedInterior{5, 43};

// Parameter lengths up to this fit the header word; longer ones take the long form.
inline constexpr int kShortFormLimit = 30;
inline constexpr int kLongFormMark = 31;
// A partition's length word holds 15 bits; the top bit says another follows.
inline constexpr int kPartitionLimit = 32767;
inline constexpr int kContinuation = 0x8000;
// A count byte of 255 announces the long string form with a length word.
inline constexpr int kLongStringMark = 255;
// The largest side of the VDC extent (16-bit VDC integers).
inline constexpr int kVdcLimit = 32767;

inline constexpr int kInteriorSolid = 1;
inline constexpr int kInteriorEmpty = 4;
inline constexpr int kInteriorInterpolated = 6;
}  // namespace cgm

// One colour as three bytes, and its value as the graphics engine packs it
// (red in the low byte).
struct CgmRgb {
  int red = 0;
  int green = 0;
  int blue = 0;
  std::int32_t value() const { return blue * 65536 + green * 256 + red; }
  static CgmRgb fromValue(std::int32_t rgb) { return {rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF}; }
};

// The header word of an element: class x 4096 + id x 32 + length (0-31).
std::uint16_t cgmHeaderWord(CgmElementCode code, int length);

// One element being built: parameters are appended in order, then bytes()
// gives the whole element.
class CgmElement {
 public:
  explicit CgmElement(CgmElementCode code) : code_(code) {}

  CgmElement& word(int value);  // 16 bits, two's complement
  CgmElement& point(int x, int y) { return word(x).word(y); }
  CgmElement& byte(int value);
  // Three colour bytes and the zero byte that keeps the element even.
  CgmElement& colour(const CgmRgb& c);
  // A count byte and the characters; from 255 characters on the long string
  // form (count byte 255, then length words with a continuation bit).
  CgmElement& string(std::string_view text);
  CgmElement& raw(std::string_view bytes);
  // Ends the current partition: the rest goes into the next one.
  CgmElement& partition();
  // Writes the long form even when the parameters would fit the short one.
  CgmElement& longForm() {
    long_ = true;
    return *this;
  }

  int length() const { return static_cast<int>(parameters_.size()); }
  const std::string& parameters() const { return parameters_; }
  // Header (short or long form; a partition longer than 32767 bytes is split
  // into several), parameters and the pad byte of an odd length.
  std::string bytes() const;

 private:
  CgmElementCode code_;
  std::string parameters_;
  std::vector<std::size_t> partitionEnds_;
  bool long_ = false;
};

// Where finished elements go.
using CgmSink = void (*)(std::string_view bytes);

// Sends one element to the sink.
void cgmPut(CgmSink sink, const CgmElement& element);
// An element whose only parameters are 16-bit words.
void cgmPutWords(CgmSink sink, CgmElementCode code, std::initializer_list<int> words);
void cgmPutColour(CgmSink sink, CgmElementCode code, const CgmRgb& c);

// The CGM line type of each line style 0-6 of the graphics engine.
inline constexpr std::array<int, 7> kCgmLineTypes = {1, 3, 2, 4, 5, 10, 12};
int cgmLineType(int lineStyle);

// Font list choices (hardcopy option 28): 0 upper-case PostScript-like names,
// 1 PostScript names, 2 Windows names.
constexpr int kCgmFontChoices = 3;
constexpr int kCgmWindowsFonts = 2;
std::span<const std::string_view> cgmFontNames(int choice);
// 1-16: family 1-4 (Courier, Helvetica, Times, Symbol) by style bits 0-1.
// A family outside 1-4 counts as 1, so the index always names a listed font.
int cgmTextFontIndex(int family, int style);

// The VDC size of a page: resolution x points / 72, scaled down so that the
// longer side is at most 32767.
void cgmVdcSize(int resolutionX, int resolutionY, int widthPoints, int heightPoints, int& width, int& height);

// The metafile descriptor and the start of the picture, from BEGIN METAFILE
// to the first TEXT ALIGNMENT.
void cgmPutMetafileStart(CgmSink sink, std::string_view title, int fontChoice, int vdcWidth, int vdcHeight);
// The start of a picture alone, from BEGIN PICTURE to the first TEXT ALIGNMENT.
void cgmPutPictureStart(CgmSink sink, int vdcWidth, int vdcHeight);

// Attribute cache: an attribute element is written only when its value
// differs from the one written last.  -1 is unknown.
struct CgmAttributeCache {
  std::int32_t lineColour = -1;
  std::int32_t textColour = -1;
  std::int32_t fillColour = -1;
  std::int32_t edgeColour = -1;
  std::int32_t auxiliaryColour = -1;
  std::int32_t fontIndex = -1;
  std::int32_t characterHeight = -1;
  std::int32_t textAlignment = -1;
  std::int32_t edgeWidth = -1;
  std::int32_t edgeType = -1;
  std::int32_t lineJoin = 0;
  std::int32_t lineCap = 0;
};
// True (and the cache updated) when the value differs from the cached one.
bool cgmChanged(std::int32_t& cached, std::int32_t value);

// What separates the two writers' coordinates: the file driver scales the
// surface units to VDC, the recorder keeps them (scale 1).  Either way a
// coordinate is truncated toward zero.
struct CgmCanvas {
  CgmSink sink = nullptr;
  float scaleX = 1.0f;
  float scaleY = 1.0f;
  int x(float v) const;
  int y(float v) const;
};

void cgmPutColourIfChanged(const CgmCanvas& canvas, CgmElementCode code, std::int32_t& cached, const CgmRgb& c);

// A pie sector's outline: the centre, the arc from start towards end in steps
// of pi / (trunc(rx) x 75 div surface width + 25), and the end point.  Points
// in surface units; the step count is bounded.
struct CgmPoint {
  float x;
  float y;
};
std::vector<CgmPoint> cgmPiePoints(float cx, float cy, float rx, float ry, float start, float end,
                                   int surfaceWidth);

// The first N points of the shared point buffer, N held to the buffer's size.
std::vector<CgmPoint> cgmBufferPoints();

// POLYLINE or POLYGON of points in surface units; `longForm` as the callers'
// element layout has it for lists of any length.
void cgmPutPointList(const CgmCanvas& canvas, CgmElementCode code, std::span<const CgmPoint> points, bool longForm);

// A text element.  Mode 1 is TEXT at p; any other mode RESTRICTED TEXT fitted
// into the box of the reference line's length and 1.25 character heights.
struct CgmTextRequest {
  bool opaque = false;
  CgmRgb colour;
  CgmRgb background;
  int alignment = 1;        // CGM horizontal alignment 1-4
  bool restricted = true;   // false: TEXT
  CgmPoint start{0, 0};     // after the alignment shift
  int deltaWidth = 0;       // VDC units
  std::string_view text;
};
void cgmPutText(const CgmCanvas& canvas, CgmAttributeCache& cache, const CgmTextRequest& request);
// The request for the text the graphics state holds: TEXT's first X1
// characters at (R5, R1), fitted along the reference line to (R7, R3) unless
// the mode is 1, placed by the alignment.  `widthScale` turns the line's length
// into VDC units.  The colours are left to the caller.
CgmTextRequest cgmTextOfState(float widthScale);

// CHARACTER ORIENTATION for the current angle with k as the base length.
void cgmPutCharacterOrientation(CgmSink sink, float k, float sinOverAspect, float cosine, float sinTimesAspect);

// A CELL ARRAY of an image (top row first, colours red in the low byte):
// the head partition with the corners P, Q, R in VDC, then one partition per
// row of run-length cells; a row longer than a partition holds is split.
// pieces[0] is the header and head partition, pieces[1..] the rows.
std::vector<std::string> cgmCellArrayPieces(int px, int py, int qx, int qy, int rx, int ry, int columns, int rows,
                                            std::span<const std::int32_t> colours);

// One triangle of a shaded polygon: FILL REFERENCE POINT, INTERPOLATED
// INTERIOR, INTERIOR STYLE 6 and the POLYGON.  Points in surface units.
void cgmPutShadedTriangle(const CgmCanvas& canvas, const std::array<CgmPoint, 3>& vertices,
                          const std::array<std::int32_t, 3>& colours);
// Every triangle of the fill's list, its corners taken from the point buffer
// (1-based, held to the buffer) and coloured from `colours`.
void cgmPutShadedTriangles(const CgmCanvas& canvas, std::span<const std::int32_t> colours,
                           std::span<const YYTriangle> triangles);

// Puts the outline of the point buffer (the work area's vertex count of it)
// into the polygon work area in VDC, as the fill compares vertices there, and
// fills it with the triangle routine, which writes the triangles itself.
void cgmFillShadedPolygon(const CgmCanvas& canvas, YYTriangleRoutine triangles);

// Reads the image file named by TEXT into columns x rows colours for a CELL
// ARRAY, with error reports silenced.  On failure M and N take the last error
// and the I/O detail and false comes back; on success M = 0.  Sides beyond a
// 16-bit cell count are refused as a size that does not fit.
bool cgmReadImageCells(int columns, int rows, std::vector<std::int32_t>& colours);
