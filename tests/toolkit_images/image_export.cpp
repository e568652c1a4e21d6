// Bridge for the independent image checkers: writes one page of each depth as
// BMP, run-length BMP, PCX and PNG into a folder, each with NAME.rgb beside it,
// the red, green and blue bytes a reader should find, top row first.
// Usage: image_export FOLDER
#include <cstdio>
#include <string>

#include "test_pages.h"
#include "toolkit/drivers/hardcopy_options.h"
#include "toolkit/drivers/plot_output.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/image_writing.h"

namespace {

bool writeExpected(const std::string& path, const std::vector<std::int32_t>& colours) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  for (std::int32_t c : colours) {
    const unsigned char rgb[3] = {static_cast<unsigned char>(c), static_cast<unsigned char>(c >> 8),
                                  static_cast<unsigned char>(c >> 16)};
    std::fwrite(rgb, 1, 3, f);
  }
  return std::fclose(f) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const std::string folder = argv[1];
  for (int depth : {1, 4, 8, 24}) {
    image_test::TestPage t = image_test::makePage(depth, 13, 6);
    for (const char* kind : {"bmp", "rle.bmp", "pcx", "png"}) {
      const std::string name = folder + "\\d" + std::to_string(depth) + "." + kind;
      const std::string ext = kind;
      if (ext == "rle.bmp" && (depth == 1 || depth == 24)) continue;
      TEXT = name;
      YYPROU(kPlotUnitFile);
      hardcopyOption(26) = ext == "rle.bmp" ? 2 : 1;
      if (ext == "pcx") {
        YYWritePCX(t.page);
      } else if (ext == "png") {
        YYWritePNG(t.page);
      } else {
        YYWriteBMP(t.page);
      }
      YYPROUClose(kPlotUnitFile);
      if (ext == "rle.bmp") YYBMP2(name);
      if (YYPlotOutputStatus != 0) return 1;
      auto colours = image_test::expectedColours(t);
      // A 1-bit PCX carries no palette: ImageMagick shows the set bits (ink)
      // black on white, as the writer means them (our own reader inverts them).
      if (ext == "pcx" && depth == 1)
        for (auto& c : colours) c = c == t.palette[1] ? 0 : 0xFFFFFF;
      if (!writeExpected(name + ".rgb", colours)) return 1;
    }
  }
  return 0;
}
