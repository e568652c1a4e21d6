#pragma once
// Text output in windows: plain text at window-unit positions of the current
// window, in a current font and window colours, and rectangle fills.

#include <windows.h>

#include <optional>
#include <string_view>

struct TextAttributes {
  int family = 0;  // 0 system, 1 system fixed, 2-6 TrueType families, -99 default GUI font
  int bold = 0;
  int italic = 0;
  int underline = 0;
  int textColour = 0;         // window colour index 0-16
  int backgroundColour = 15;  // 0-15 or 17
  int cellWidthUnits = 0;     // character cell in window units ...
  int cellHeightUnits = 0;
  int cellWidthPixels = 0;    // ... and in pixels of the current window
  int cellHeightPixels = 0;
  int endX = 0;  // where the last text ended, window units
  int endY = 0;
  char controlCharacter = ' ';  // formatted text; a blank switches it off
  // The font last made and what it was made with; -1 until the first text.
  HFONT font = nullptr;
  int fontFamily = -1;
  int fontBold = -1;
  int fontItalic = -1;
  int fontCellWidth = -1;
  int fontCellHeight = -1;
};
extern TextAttributes textAttributes;

// Draws the text, trailing blanks included, at (x, y) in window units.
void WindowTextAt(int x, int y, std::string_view text);
// Fills a rectangle of the current client area (pixels, inclusive); absent
// corners give the whole area, an absent colour or -1 the background colour.
void WindowFillArea(std::optional<int> x1 = std::nullopt, std::optional<int> y1 = std::nullopt,
                    std::optional<int> x2 = std::nullopt, std::optional<int> y2 = std::nullopt,
                    std::optional<int> colour = std::nullopt);
void WindowTextColours(int textIndex, int backgroundIndex);
void WindowTextUnderline(int flag);
void YYWindowColourSet(int index, int red, int green, int blue);
void YYTextExtent(int& width, const char* text, int length);
void YYTextFontUpdate();
void YYTextSizeToPixels();
void YYTextDraw(int& x, int& y, const char* text, int length);
void YYFillRectangle(int x1, int y1, int x2, int y2, int colour);
void YYTextDrawFormatted(int x, int y, std::string_view text);
// Root-window opening: default attributes and the system font's cell size.
void YYTextAttributesReset();
// Deletes the text font (root-window close).
void YYTextFontRelease();
