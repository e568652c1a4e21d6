#pragma once
// The graphics area as fractions of the surface, the user units at its
// corners, the viewport, and the conversion of pixel positions back to user units.

// Area corners as fractions 0-1 of the surface; a bad range on an axis becomes 0-1 (error 44).
void IGrArea(float x1, float y1, float x2, float y2);
// User values at the area's corners; x2 <= x1 or y2 <= y1 becomes 0-1 (error 16).
void IGrUnits(float x1, float y1, float x2, float y2);
// Sets the viewport in surface units, clamped to the surface, and tells the screen.
void YYVIEWPORTSET(float x1, float y1, float x2, float y2);
// A surface position (y upward) in user units.
void YYPixelsToUserPlain(float px, float py, float& ux, float& uy);
// A position inside a bitmap-view window in user units of the bitmap it shows.
void YYPixelsToUser(float px, float py, float& ux, float& uy, int window);
// Takes a surface of width x height pixels and recomputes the viewport and the
// user scales from the stored area and units, telling no driver: for converting
// positions in a target that is not the current one.
void YYAreaScaleForSurface(int width, int height);
