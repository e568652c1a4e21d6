#pragma once
// The one test scene that every graphics driver draws, and coarse ink masks of
// its renders, so that the drivers' pictures can be compared with each other.
//
// Drawing: the tests play the drawing program.  drawGraphicsScene fills the
// operands of yyGrState, yyGrAttributes, yyGrPointBuffer, TEXT and the polygon
// work area for each step and hands the opcode to the driver routine it is
// given (YYGAPI, a hardcopy driver, a route).  The scene is laid out in
// fractions of the current surface (SurfaceWidth x SurfaceHeight, y upward):
//   top left      four horizontal lines: solid, dashed, dash-dot (width 1)
//                 and a solid line of width 3
//   top right     a box outline (closed polyline) and a solid filled box
//   middle        a filled pentagon, a filled ellipse, an arc, a filled pie
//   bottom        "Scene" at 0 degrees, a magenta polygon under a clip
//                 rectangle that holds only its middle, "Up" at 90 degrees,
//                 a shaded polygon
// It sends no opcode 1, 17, 18, 19 or 20: starting, clearing and ending the
// picture belong to the caller.  It ends with line style 0, width 1, angle 0.
//
// Comparing: a render, as an RgbRaster (3 bytes per pixel, top row first), is
// reduced to an InkMask of columns x rows cells; a cell is inked when enough
// of its pixels are not near white.  Masks of two renders agree when
// maskMismatches, which forgives a shift of one cell, is small.

#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/graphics/graphics_state.h"

using SceneDriver = void (*)(YYGrPrimitive& primitive);

// Draws the scene through the driver on the current surface.
void drawGraphicsScene(SceneDriver driver);

// The clip rectangle over the magenta polygon, in fractions of the surface (y
// upward); the polygon reaches 0.03 or more past each side of it.  The scene's
// ink spans x 0.02-0.95 and y 0.05-0.95 (scene_mask.py --clip knows both).
inline constexpr float kSceneClipLeft = 0.28f;
inline constexpr float kSceneClipRight = 0.40f;
inline constexpr float kSceneClipBottom = 0.10f;
inline constexpr float kSceneClipTop = 0.21f;

// Texts of the scene, for drivers whose files can be searched for them.
inline constexpr const char* kSceneText = "Scene";
inline constexpr const char* kSceneUpText = "Up";

struct RgbRaster {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;  // width x height x 3, top row first
};

// Reads a binary PPM (P6, maxval 255) such as Ghostscript's ppmraw device
// writes; an empty raster when the file is not one.
RgbRaster readPpm(const std::string& path);

struct InkMask {
  int columns = 0;
  int rows = 0;
  std::vector<bool> cells;  // row 0 at the top
  bool inked(int column, int row) const;
  // One line per row, "#" for an inked cell and "." for a blank one.
  std::string picture() const;
};

// A pixel is ink when any of its channels is below 200; a cell is inked when
// at least `share` of its pixels are ink (and at least one is).
InkMask inkMask(const RgbRaster& raster, int columns, int rows, double share = 0.02);

// Cells inked in one mask with no inked cell at or next to them in the other,
// counted over both directions.  Masks of different sizes differ everywhere.
int maskMismatches(const InkMask& a, const InkMask& b);
