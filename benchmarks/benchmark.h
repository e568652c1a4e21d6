#pragma once
// A tiny timing harness for the benchmark program: each file registers its cases
// with a static Benchmark object; main runs them all and prints one line each.

#include <functional>
#include <string>

namespace bench {

// One case: `prepare` runs untimed (fills the point list, writes an input file),
// `run` is timed.
struct Case {
  std::string name;
  std::function<void()> prepare;
  std::function<void()> run;
};

struct Benchmark {
  explicit Benchmark(Case c);
};

}  // namespace bench
