#pragma once
// Colour-shaded polygons: every driver that draws them puts the outline into
// the polygon work area and calls the fill with two routines of its own, one
// that draws a list of shaded triangles in one go where the device can, and
// one that sets a single pixel.  The fill cleans the outline, splits it into
// triangles by ear clipping and draws them through whichever routine fits.

#include <array>
#include <cstdint>
#include <span>

constexpr int kPolygonVertices = 1000;
constexpr int kPolygonTriangles = kPolygonVertices - 2;

// Vertex numbers of one triangle, counted from 1.
using YYTriangle = std::array<std::int32_t, 3>;

// The one polygon work area.  Vertex i is the same vertex in the real
// coordinates, the device coordinates and the colours.
struct YYPolygonWork {
  std::int32_t triangleCount = 0;  // written by the decomposition
  std::int32_t vertexCount = 0;    // 0-1000, written by the driver, lowered by the clean-up
  std::array<YYTriangle, kPolygonTriangles> triangles{};
  std::array<std::int32_t, kPolygonVertices> colours{};  // red in bits 0-7, green 8-15, blue 16-23
  std::array<std::int32_t, kPolygonVertices> deviceY{};  // in the device's own row sense
  std::array<std::int32_t, kPolygonVertices> deviceX{};
  std::int32_t shadingStatus = 0;  // from the triangle routine: 0 drawn, else not drawn
};
extern YYPolygonWork yyPolygonWork;

// Sets one device pixel to a packed colour.
using YYPixelRoutine = void (*)(const std::int32_t& x, const std::int32_t& y, const std::int32_t& colour);
// Draws every triangle of the list with each vertex in its colour, blended
// across the triangle.  The vertex spans hold the vertex count of entries.
// Sets status 0 when it drew the triangles, anything else when it did not.
using YYTriangleRoutine = void (*)(std::span<const std::int32_t> deviceX,
                                   std::span<const std::int32_t> deviceY,
                                   std::span<const std::int32_t> colours,
                                   std::span<const YYTriangle> triangles, std::int32_t& status);

// Shading word of a device that draws shaded triangles itself.
constexpr int kShadeTriangles = 2;

// Fills the polygon of the work area, whose real vertices are the first vertex
// count points of the graphics point buffer.  The clip rectangle is inclusive,
// in device pixels, in the sense of the device y.  With shading word 2 the
// triangle routine is tried first; otherwise, or when it did not draw, every
// triangle is shaded pixel by pixel.  Either routine may be null where a device
// has none.
void YYPolygonFill(const int& shading, const int& clipXMin, const int& clipYMin, const int& clipXMax,
                   const int& clipYMax, YYPixelRoutine pixel, YYTriangleRoutine triangle);

// Ear clipping of a simple outline in either turning sense: up to vertexCount - 2
// triangles into the list.  Borders that cross are reported as error 28; the
// triangles found from the top vertex are still handed back.
void YYPolygonDecompose(std::span<const float> x, std::span<const float> y, const int& vertexCount,
                        std::span<YYTriangle> triangles, int& triangleCount);

// Scan-line shading of one triangle of the work area, one pixel routine call per
// pixel inside the clip rectangle.
void YYShadeTriangle(const YYTriangle& triple, const int& clipXMin, const int& clipYMin,
                     const int& clipXMax, const int& clipYMax, YYPixelRoutine pixel);
