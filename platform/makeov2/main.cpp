// MakeOV2_v1-1 <point text file> <ov2 file>
// Exits 0 when the overlay was written; non-zero, writing nothing, when the input
// cannot be read or holds a malformed line, or the output cannot be written.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "ov2_compiler.h"

namespace {

bool readWholeFile(const char* path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

// Writes beside the target first and moves it into place, so that a failure
// never leaves half an overlay.
bool writeFileWhole(const std::string& path, const std::vector<unsigned char>& bytes) {
  const std::string partial = path + ".partial";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      DeleteFileA(partial.c_str());
      return false;
    }
  }
  if (!MoveFileExA(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    DeleteFileA(partial.c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: MakeOV2_v1-1 <point text file> <ov2 file>\n");
    return 1;
  }
  std::string text;
  if (!readWholeFile(argv[1], text)) {
    std::fprintf(stderr, "MakeOV2: cannot read %s\n", argv[1]);
    return 2;
  }
  const makeov2::ParseResult parsed = makeov2::parsePointText(text);
  if (!parsed.ok) {
    std::fprintf(stderr, "MakeOV2: %s, line %d: %s\n", argv[1], parsed.badLine, parsed.reason.c_str());
    return 3;
  }
  if (!writeFileWhole(argv[2], makeov2::encodeOv2(parsed.points))) {
    std::fprintf(stderr, "MakeOV2: cannot write %s\n", argv[2]);
    return 4;
  }
  return 0;
}
