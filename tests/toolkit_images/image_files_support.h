#pragma once
// Files and paths of the image tests.

#include <windows.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace image_test {

using Bytes = std::vector<std::uint8_t>;

inline std::string fixturePath(const std::string& name) {
  return std::string("Z:") + CARROW_SOURCE_DIR + "/tests/toolkit_images/fixtures/" + name;
}

// A scratch folder of this test program, emptied of nothing: names are unique per test.
inline std::string scratchPath(const std::string& name) {
  CreateDirectoryA("image_scratch", nullptr);
  return "image_scratch\\" + name;
}

inline Bytes readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

inline void writeAll(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace image_test
