// Conversion tests: known numbers and the bits they spell.
#include "conversion.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>

namespace {

struct known_case {
  std::int32_t binum;
  std::array<std::int32_t, bin2dec::positions> digit;
  std::int32_t decnum;
};

constexpr auto int_max = std::numeric_limits<std::int32_t>::max();
constexpr auto int_min = std::numeric_limits<std::int32_t>::min();

// NOLINTBEGIN(modernize-use-designated-initializers): a table, its columns named once above
constexpr auto known_cases = std::to_array<known_case>({
    {10110011, {1, 0, 1, 1, 0, 0, 1, 1}, 179},   // the example in the README
    {11111111, {1, 1, 1, 1, 1, 1, 1, 1}, 255},   // the largest value
    {10000000, {1, 0, 0, 0, 0, 0, 0, 0}, 128},   // the first digit weighs 128
    {0, {0, 0, 0, 0, 0, 0, 0, 0}, 0},            // the smallest value
    {101, {0, 0, 0, 0, 0, 1, 0, 1}, 5},          // missing leading digits are zeros
    {19, {0, 0, 0, 0, 0, 0, 1, 1}, 3},           // 9 is odd, so a one
    {2, {0, 0, 0, 0, 0, 0, 0, 0}, 0},            // 2 is even, so a zero
    {3, {0, 0, 0, 0, 0, 0, 0, 1}, 1},            // 3 is odd, so a one
    {12345678, {1, 0, 1, 0, 1, 0, 1, 0}, 170},   // every digit counts by its parity
    {99999999, {1, 1, 1, 1, 1, 1, 1, 1}, 255},   // eight nines read as eight ones
    {111111111, {1, 1, 1, 1, 1, 1, 1, 1}, 255},  // the ninth digit is ignored
    {1000000000, {0, 0, 0, 0, 0, 0, 0, 0}, 0},   // and so is the tenth
    {int_max, {0, 1, 0, 0, 1, 0, 0, 1}, 73},     // 2147483647: 47483647
    {-101, {0, 0, 0, 0, 0, -1, 0, -1}, -5},      // the sign carries into every bit
    {int_min, {0, -1, 0, 0, -1, 0, 0, 0}, -72},  // -2147483648: 47483648
});
// NOLINTEND(modernize-use-designated-initializers)

TEST(Conversion, ReadsEachOfTheLowestEightDigitsByParity) {
  for (const known_case& row : known_cases) {
    SCOPED_TRACE(row.binum);
    const auto result = bin2dec::convert(row.binum);
    EXPECT_EQ(result.digit, row.digit);
    EXPECT_EQ(result.decnum, row.decnum);
  }
}

}  // namespace
