// Exhaustive conversion test: every 32-bit input against plain integer arithmetic.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iostream>
#include <limits>
#include <utility>
#include <vector>
#ifdef BIN2DEC_HAVE_THREADS
#include <thread>
#endif

#include "conversion.hpp"

namespace {

// 10^exponent, but no more than the first power of ten above every 32-bit number: the quotient
// of any 32-bit number by either is 0, so this weight serves any exponent.
constexpr std::int64_t decimal_weight(std::size_t exponent) {
  std::int64_t weight = 1;
  for (std::size_t i = 0; i < exponent && weight <= std::numeric_limits<std::int32_t>::max(); ++i) {
    weight *= 10;
  }
  return weight;
}

static_assert(bin2dec::positions < 32, "the value of 32 or more bits does not fit decnum");

// The same reading done with integers only, for any number of positions: truncating division, a
// remainder that follows the sign, and the bit's weight as a plain multiplier. Each position's
// weights are constants, which the compiler divides by quickly, as the test runs this 2^32 times.
template <std::size_t position>
void read_position(std::int32_t binum, bin2dec::conversion& expected) {
  constexpr std::size_t exponent = bin2dec::positions - 1 - position;
  constexpr std::int64_t weight = decimal_weight(exponent);
  constexpr std::int64_t bit_weight = std::int64_t{1} << exponent;
  expected.digit[position] = static_cast<std::int32_t>(binum / weight % 2);
  expected.decnum += static_cast<std::int32_t>(bit_weight * expected.digit[position]);
}

template <std::size_t... position>
bin2dec::conversion by_integers(std::int32_t binum, std::index_sequence<position...> /*unused*/) {
  bin2dec::conversion expected{};
  (read_position<position>(binum, expected), ...);
  return expected;
}

bin2dec::conversion by_integers(std::int32_t binum) {
  return by_integers(binum, std::make_index_sequence<bin2dec::positions>{});
}

// Counts the inputs in [first, last] that were checked and those whose conversion differs from
// by_integers, keeping the first of them.
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
    const auto want = by_integers(binum);
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
