// Plays the outside converter ST2GPX for the tests: called as
//   st2gpx.exe -G OUTPUT INPUT
// it writes its arguments, one a line, to "st2gpx_calls.txt" in the current
// folder, copies INPUT (which holds the GPX text the test wants) to OUTPUT and
// leaves an empty file "null" behind, as the real program does.  An input whose
// text begins "NO OUTPUT" gives no output file.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

int main(int argc, char** argv) {
  {
    std::ofstream calls("st2gpx_calls.txt", std::ios::binary | std::ios::app);
    for (int i = 1; i < argc; ++i) calls << argv[i] << "\n";
    calls << "--\n";
  }
  std::ofstream("null", std::ios::binary).flush();
  if (argc != 4 || std::strcmp(argv[1], "-G") != 0) return 2;
  std::ifstream in(argv[3], std::ios::binary);
  if (!in) return 3;
  const std::string gpx((std::istreambuf_iterator<char>(in)), {});
  if (gpx.rfind("NO OUTPUT", 0) == 0) return 0;
  std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
  out.write(gpx.data(), static_cast<std::streamsize>(gpx.size()));
  return out ? 0 : 4;
}
