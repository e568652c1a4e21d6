#pragma once
// The routes every primitive travels, the graphics defaults of a new root
// window, and the sizing calls through which the window code reports a new
// drawing-surface size.

#include <string_view>

#include "toolkit/graphics/graphics_state.h"

// The screen route: the screen driver, or the CGM recorder while a CGM slot is the target.
void YYPRIMROUTE(YYGrPrimitive& primitive);
// The hardcopy route: the hardcopy dispatcher while a hardcopy is open.
void YYDriverCommand(YYGrPrimitive& primitive);
// Puts the graphics state into its defaults; "H" in options switches screen
// drawing off, "P" keeps the active hardcopy driver's options.
void YYGraphicsDefaults(std::string_view options, int unused1 = 0, int unused2 = 0, int unused3 = 0);
// Window text cell size in window units, converted to pixels for the current client.
void YYTextCellSet(int cellWidth, int cellHeight);
// Follows a new target size when kind and id name the current target.
void YYGraphicsAreaResize(int kind, int id, int width, int height);
// A window's client size changed: when it is the current window, the text cell
// and the graphics follow.
void YYWindowResized(int window, int width, int height);
