#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "image_files_support.h"
#include "toolkit/core/error_reporter.h"
#include "toolkit/graphics/graphics_inquiry.h"
#include "toolkit/graphics/image_reading.h"

namespace {

using namespace image_test;

constexpr std::int32_t kUntouched = 0x7F5A5A5A;  // no colour: the reader never stores it

struct FixtureCase {
  std::string name;
  int error = 0;
  int width = 0, height = 0;
  std::vector<std::string> cells;  // "bbggrr", "u" untouched, "*" any
};

std::vector<FixtureCase> fixtureCases() {
  std::ifstream in(fixturePath("expected.txt"));
  std::vector<FixtureCase> cases;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    FixtureCase c;
    if (!(words >> c.name >> c.error >> c.width >> c.height)) continue;
    for (std::string w; words >> w;) c.cells.push_back(w);
    cases.push_back(c);
  }
  return cases;
}

class ImageReading : public ::testing::Test {
 protected:
  void SetUp() override { YYErrorStateReset(); }
  void TearDown() override { YYErrorStateReset(); }
};

TEST_F(ImageReading, EveryFixtureReadsToItsColoursOrItsError) {
  const auto cases = fixtureCases();
  ASSERT_GT(cases.size(), 30u) << "expected.txt was not found or is short";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    YYErrorStateReset();
    ASSERT_EQ(c.cells.size(), static_cast<std::size_t>(c.width * c.height));
    // A guard word on each side catches a write outside the array.
    std::vector<std::int32_t> colours(c.cells.size() + 2, kUntouched);
    IGrLoadImageData(fixturePath(c.name), std::span<std::int32_t>(colours).subspan(1, c.cells.size()));
    EXPECT_EQ(errorState.lastError, c.error);
    EXPECT_EQ(colours.front(), kUntouched);
    EXPECT_EQ(colours.back(), kUntouched);
    for (std::size_t i = 0; i < c.cells.size(); ++i) {
      const std::string& want = c.cells[i];
      if (want == "*") continue;
      const std::int32_t expected = want == "u" ? kUntouched : static_cast<std::int32_t>(std::stoul(want, nullptr, 16));
      EXPECT_EQ(colours[i + 1], expected) << "pixel " << i % static_cast<std::size_t>(c.width) << ", row "
                                          << i / static_cast<std::size_t>(c.width);
    }
  }
}

TEST_F(ImageReading, FileLargerThanTheArrayIsRefusedAndNothingIsWritten) {
  // bmp24.bmp is 3 x 2: an array of 5 cannot hold it.
  std::vector<std::int32_t> colours(8, kUntouched);
  IGrLoadImageData(fixturePath("bmp24.bmp"), std::span<std::int32_t>(colours).first(5));
  EXPECT_EQ(errorState.lastError, 27);
  for (auto c : colours) EXPECT_EQ(c, kUntouched);
}

TEST_F(ImageReading, MissingFileIsNoKnownImageKind) {
  std::array<std::int32_t, 4> colours{};
  colours.fill(kUntouched);
  IGrLoadImageData(scratchPath("no_such_image.bmp"), colours);
  EXPECT_EQ(errorState.lastError, 27);
  for (auto c : colours) EXPECT_EQ(c, kUntouched);
}

// Cut files and files with random bytes never crash, hang or write outside the array.
TEST_F(ImageReading, TruncatedAndScrambledFilesAreSafe) {
  std::uint32_t seed = 2026;
  auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return seed >> 8;
  };
  const std::string scratch = scratchPath("damaged.img");
  for (const auto& c : fixtureCases()) {
    const Bytes whole = readAll(fixturePath(c.name));
    std::vector<Bytes> variants;
    for (std::size_t n = 0; n < whole.size(); n += (n < 80 ? 7 : 97)) variants.emplace_back(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
    for (int k = 0; k < 6; ++k) {
      Bytes scrambled = whole;
      // Keep the signature so that the reader, not the inquiry, meets the damage.
      for (int j = 0; j < 6 && scrambled.size() > 16; ++j)
        scrambled[16 + next() % (scrambled.size() - 16)] = static_cast<std::uint8_t>(next());
      variants.push_back(scrambled);
    }
    for (const auto& bytes : variants) {
      SCOPED_TRACE(c.name + " variant of " + std::to_string(bytes.size()) + " bytes");
      writeAll(scratch, bytes);
      std::array<std::int32_t, 6> info{};
      YYGrFileInfo(scratch, info, 6);
      const std::int64_t cells = info[1] > 0 && info[2] > 0 && static_cast<std::int64_t>(info[1]) * info[2] < 100000
                                     ? static_cast<std::int64_t>(info[1]) * info[2]
                                     : 16;
      std::vector<std::int32_t> colours(static_cast<std::size_t>(cells) + 2, kUntouched);
      YYErrorStateReset();
      IGrLoadImageData(scratch, std::span<std::int32_t>(colours).subspan(1, static_cast<std::size_t>(cells)));
      EXPECT_EQ(colours.front(), kUntouched);
      EXPECT_EQ(colours.back(), kUntouched);
    }
  }
}

}  // namespace
