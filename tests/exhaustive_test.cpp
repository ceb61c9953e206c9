// Exhaustive conversion test: every 32-bit input against plain integer arithmetic.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iostream>
#include <limits>
#include <vector>
#ifdef BIN2DEC_HAVE_THREADS
#include <thread>
#endif

#include "conversion.hpp"
#include "integer_model.hpp"

namespace {

// Counts the inputs in [first, last] that were checked and those whose conversion differs from
// integer_model::convert, keeping the first of them.
struct mismatches {
  std::uint64_t checked = 0;
  std::uint64_t count = 0;
  std::int64_t first = 0;
};

mismatches check_range(std::int64_t first, std::int64_t last) {
  mismatches found;
  for (std::int64_t n = first; n <= last; ++n, ++found.checked) {
    const auto binum = static_cast<std::int32_t>(n);
    const auto got = bin2dec::convert(binum);
    const auto want = integer_model::convert(binum);
    if (got.decnum != want.decnum || got.digit != want.digit) {
      if (found.count++ == 0) {
        found.first = n;
      }
    }
  }
  return found;
}

// The inputs in [first, last], in one share for each core; on one where there are no threads.
std::vector<mismatches> check_in_shares(std::int64_t first, std::int64_t last) {
#ifdef BIN2DEC_HAVE_THREADS
  const auto workers = static_cast<std::int64_t>(std::max(1U, std::thread::hardware_concurrency()));
  const std::int64_t share = (last - first + 1) / workers;

  std::vector<mismatches> results(static_cast<std::size_t>(workers));
  std::vector<std::thread> threads;
  for (std::int64_t w = 0; w < workers; ++w) {
    const std::int64_t share_first = first + (w * share);
    const std::int64_t share_last = w + 1 == workers ? last : share_first + share - 1;
    threads.emplace_back([&results, w, share_first, share_last] {
      results[static_cast<std::size_t>(w)] = check_range(share_first, share_last);
    });
  }
  for (auto& thread : threads) {
    thread.join();
  }
  return results;
#else
  return {check_range(first, last)};
#endif
}

// Every 32-bit input, a quarter of them a test, so that CTest can run the quarters side by side
// where a test has no threads of its own (WASI).
constexpr std::int64_t quarter = std::int64_t{1} << 30;

class EveryInputOfAQuarter : public testing::TestWithParam<std::int64_t> {};

TEST_P(EveryInputOfAQuarter, AgreesWithIntegerArithmetic) {
  const std::int64_t first = std::numeric_limits<std::int32_t>::min() + (GetParam() * quarter);
  std::uint64_t checked = 0;
  for (const auto& result : check_in_shares(first, first + quarter - 1)) {
    EXPECT_EQ(result.count, 0U) << "first mismatch at " << result.first;
    checked += result.checked;
  }
  EXPECT_EQ(checked, static_cast<std::uint64_t>(quarter));
  // CI adds these lines up: a run that passed without checking every input shows fewer.
  std::cout << "checked " << checked << " inputs\n";
}

INSTANTIATE_TEST_SUITE_P(Conversion, EveryInputOfAQuarter, testing::Range<std::int64_t>(0, 4));

}  // namespace
