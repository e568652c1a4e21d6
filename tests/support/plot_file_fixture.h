#pragma once
// What every hardcopy driver test does as the drawing program: fill the
// graphics records, hand opcodes to the driver through the hardcopy
// dispatcher, open and close a plot as a hardcopy start and stop would, and
// read back the file the driver wrote.  Each driver's fixture keeps only its
// own surface, defaults and views of its file.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace plot_fixture {

void send(std::int32_t opcode);

void setOption(int code, std::int32_t value);
std::int32_t option(int code);

// Corner k (1..4) of the point records.
void point(int k, float x, float y);
// The points of a polyline or polygon, and their count.
void bufferPoints(const std::vector<std::pair<float, float>>& points);

// The current colour as an RGB value (red in the low byte); the old one
// becomes the previous colour, as the colour call of a program does.
void colour(std::int32_t rgb);

// A text from (x1, y1) along to (x2, y2).
void text(std::string_view words, float x1, float y1, float x2, float y2);

// No error, the graphics records and the colour table at their defaults.
void resetGraphics();
// A surface of width x height units with the given real sizes, the viewport
// the whole of it and the drawing area the surface in device units.
void setSurface(int width, int height, float widthReal, float heightReal);
// No option set, no title and no output name chosen.
void clearHardcopyChoices();
// Selects the driver and has it take its defaults.
void initialise(int driver);

// Opens a plot on `output` as a hardcopy start does (the caller sets any
// other words of the start first); false when the driver refused it.
bool openPlot(std::string_view output);
// The attributes a hardcopy start sends once the plot is open.
void sendStartAttributes();
// Closes the plot as the hardcopy stop does.
void closePlot();

// A name of the current test's own, with `separator` between its suite and
// its name, fit to be a file name.
std::string currentTestName(std::string_view separator);

std::string fileBytes(const std::string& path);

// Whether `lines` hold `line` as a whole line.
bool hasLine(const std::vector<std::string>& lines, std::string_view line);
// How many of `lines` begin with `prefix`.
long countStartingWith(const std::vector<std::string>& lines, std::string_view prefix);

// The lines of `bytes`, each ended CR LF; what follows the last CR LF is
// left in `rest`.
std::vector<std::string> crlfLines(const std::string& bytes, std::string& rest);

// The lines of the file; text after the last CR LF or a bare line feed
// fails the test.
std::vector<std::string> strictCrlfFileLines(const std::string& path);

// A driver test on a file of strict CR LF lines: it opens the file with the
// start-up attributes, closes it and reads its lines back.
class CrlfPlotTest : public ::testing::Test {
 protected:
  void TearDown() override;

  // Opens `name` and sends the attributes a hardcopy start sends after it.
  void begin(const std::string& name);
  // Closes the plot and answers the file's lines.
  std::vector<std::string> finish();

  std::string path_;
};

}  // namespace plot_fixture
