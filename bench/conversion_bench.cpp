// The conversion alone, without the process around it.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>

#include "conversion.hpp"

namespace {

void Convert(benchmark::State& state) {
  // A few inputs of each kind, so that no one value's path is all that is timed.
  constexpr std::array<std::int32_t, 8> inputs{10110011, 11111111, 0,          101,
                                               12345678, -101,     2147483647, -2147483647};
  std::size_t next = 0;
  while (state.KeepRunning()) {
    benchmark::DoNotOptimize(bin2dec::convert(inputs.at(next)));
    next = (next + 1) % inputs.size();
  }
}
BENCHMARK(Convert);

}  // namespace

BENCHMARK_MAIN();
