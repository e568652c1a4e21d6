// Times every registered case and prints "name: seconds" lines.  With an
// argument, only the cases whose names contain it are run; a second argument
// runs each of them that many times after one preparation (for a profiler),
// printing each time.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "benchmarks/benchmark.h"

namespace bench {
namespace {
std::vector<Case>& cases() {
  static std::vector<Case> all;
  return all;
}
}  // namespace

Benchmark::Benchmark(Case c) { cases().push_back(std::move(c)); }

}  // namespace bench

int main(int argc, char** argv) {
  const std::string_view only = argc > 1 ? argv[1] : "";
  const int times = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1;
  for (const auto& c : bench::cases()) {
    if (c.name.find(only) == std::string::npos) continue;
    if (c.prepare) c.prepare();
    for (int k = 0; k < times; ++k) {
      const auto start = std::chrono::steady_clock::now();
      c.run();
      const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
      std::printf("%-40s %8.3f s\n", c.name.c_str(), elapsed.count());
      std::fflush(stdout);
    }
  }
  return 0;
}
