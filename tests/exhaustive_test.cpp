// Exhaustive conversion test: every 32-bit input against plain integer arithmetic.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <thread>
#include <vector>

#include "conversion.hpp"

namespace {

// The same reading done with integers only: truncating division, a remainder that follows the
// sign, and the bit's weight as a plain multiplier. It holds for any number of positions: past
// the tenth digit every quotient is 0, so the decimal weight stops growing once it exceeds any
// 32-bit number, and the bit weights must fit in the result.
static_assert(bin2dec::positions < 32, "the value of 32 or more bits does not fit decnum");

bin2dec::conversion by_integers(std::int32_t binum) {
  bin2dec::conversion expected{};
  std::int64_t decimal_weight = 1;
  std::int64_t bit_weight = 1;
  for (auto bit = expected.digit.rbegin(); bit != expected.digit.rend(); ++bit) {
    *bit = static_cast<std::int32_t>(binum / decimal_weight % 2);
    expected.decnum += static_cast<std::int32_t>(bit_weight * *bit);
    if (decimal_weight <= std::numeric_limits<std::int32_t>::max()) {
      decimal_weight *= 10;
    }
    bit_weight *= 2;
  }
  return expected;
}

// Counts the inputs in [first, last] whose conversion differs from by_integers, keeping the
// first of them.
struct mismatches {
  std::uint64_t count = 0;
  std::int64_t first = 0;
};

mismatches check_range(std::int64_t first, std::int64_t last) {
  mismatches found;
  for (std::int64_t n = first; n <= last; ++n) {
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

TEST(Conversion, AgreesWithIntegerArithmeticForEvery32BitInput) {
  constexpr std::int64_t lowest = std::numeric_limits<std::int32_t>::min();
  constexpr std::int64_t highest = std::numeric_limits<std::int32_t>::max();
  const auto workers = static_cast<std::int64_t>(std::max(1U, std::thread::hardware_concurrency()));
  const std::int64_t share = (highest - lowest + 1) / workers;

  std::vector<mismatches> results(static_cast<std::size_t>(workers));
  std::vector<std::thread> threads;
  for (std::int64_t w = 0; w < workers; ++w) {
    const std::int64_t first = lowest + (w * share);
    const std::int64_t last = w + 1 == workers ? highest : first + share - 1;
    threads.emplace_back([&results, w, first, last] {
      results[static_cast<std::size_t>(w)] = check_range(first, last);
    });
  }
  for (auto& thread : threads) {
    thread.join();
  }
  for (const auto& result : results) {
    EXPECT_EQ(result.count, 0U) << "first mismatch at " << result.first;
  }
}

}  // namespace
