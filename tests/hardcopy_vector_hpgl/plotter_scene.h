#pragma once
// The shared scene as a drawing program sends it to a pen plotter.
//
// A plotter driver takes only the pattern-filled shapes: a program that
// draws on one sends a solid shape as its pattern twin with fill style 4
// (solid), and, as the plotter has no shaded fill, a shaded polygon as a solid
// polygon in its first vertex colour.  Everything else goes to the driver as
// the scene sends it.

#include "support/graphics_scene.h"
#include "toolkit/graphics/colours.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/polygon_fill.h"

namespace plot_files {

template <void (*Driver)(YYGrPrimitive&)>
void asPlotterProgram(YYGrPrimitive& primitive) {
  YYGrAttributes& a = yyGrAttributes;
  const bool solidTwin = primitive >= kOpEllipseSolid && primitive <= kOpPolygonSolid && primitive % 2 == 0;
  if (solidTwin) {
    const std::int32_t style = a.FillStyle;
    a.FillStyle = 4;
    YYGrPrimitive pattern = primitive - 1;
    Driver(pattern);
    a.FillStyle = style;
    return;
  }
  if (primitive == kOpShadedPolygon) {
    const YYGrAttributes kept = a;
    int number = 0;
    YYColourFind(yyPolygonWork.colours[0], number);
    a.PreviousColourNumber = a.ColourNumber;
    a.PreviousRGB = a.CurrentRGB;
    a.ColourNumber = number;
    a.CurrentRGB = yyPolygonWork.colours[0];
    a.FillStyle = 4;
    YYGrPrimitive colour = kOpColour;
    Driver(colour);
    YYGrPrimitive polygon = kOpPolygonPattern;
    Driver(polygon);
    a = kept;
    return;
  }
  Driver(primitive);
}

}  // namespace plot_files
