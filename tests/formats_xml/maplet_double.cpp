// Stands in for GPXToMaplet in the tests.  It takes one argument, a GPX file, and
// writes the file with the same base name and the extension .mlp: "MLP", a line
// end and the GPX file's bytes.  When MAPLET_LOG names a file it writes its own
// command line there; when MAPLET_MODE is "silent" it writes no .mlp file.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
  if (const char* log = std::getenv("MAPLET_LOG")) {
    if (FILE* f = std::fopen(log, "wb")) {
      std::fputs(GetCommandLineA(), f);
      std::fclose(f);
    }
  }
  if (argc != 2) return 2;
  const char* mode = std::getenv("MAPLET_MODE");
  if (mode != nullptr && std::strcmp(mode, "silent") == 0) return 0;
  std::string input = argv[1];
  FILE* in = std::fopen(input.c_str(), "rb");
  if (in == nullptr) return 3;
  const std::size_t dot = input.find_last_of('.');
  const std::string output = input.substr(0, dot) + ".mlp";
  FILE* out = std::fopen(output.c_str(), "wb");
  if (out == nullptr) return 4;
  std::fputs("MLP\r\n", out);
  char buffer[4096];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) std::fwrite(buffer, 1, n, out);
  std::fclose(in);
  std::fclose(out);
  return 0;
}
