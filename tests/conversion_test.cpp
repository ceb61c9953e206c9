// Conversion tests: known numbers and the bits they spell.
#include "conversion.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <random>

#include "integer_model.hpp"

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

// Where no exhaustive test runs (under an emulator, which would take hours), a sample that covers
// its kinds of input: every pattern of eight digit parities, spelt with low and high digits, with
// a ninth and tenth digit and without, of both signs; each side of every power of ten; and a few
// million inputs drawn at random, the same ones on every run. Each is handed to check as it comes.
template <typename Check>
void for_each_sampled_input(Check check) {
  for (const std::int32_t binum : {int_min, int_min + 1, int_max - 1, int_max}) {
    check(binum);
  }
  constexpr std::array<std::array<std::int32_t, 2>, 3> spellings{{{0, 1}, {8, 9}, {4, 5}}};
  for (std::int32_t pattern = 0; pattern < 256; ++pattern) {
    for (const auto& digits : spellings) {
      std::int32_t number = 0;
      for (std::int32_t bit = 7; bit >= 0; --bit) {
        number = number * 10 + digits.at(static_cast<std::size_t>((pattern >> bit) & 1));
      }
      for (const std::int32_t binum :
           {number, -number, 2'000'000'000 + number, -2'000'000'000 - number}) {
        check(binum);
      }
    }
  }
  for (std::int64_t power = 1; power <= int_max; power *= 10) {
    for (const std::int64_t near : {power - 1, power, power + 1, -power - 1, -power, -power + 1}) {
      check(static_cast<std::int32_t>(near));
    }
  }
  std::mt19937 random(20261209);  // NOLINT(cert-msc32-c,cert-msc51-cpp): the same sample each run
  std::uniform_int_distribution<std::int32_t> any(int_min, int_max);
  for (int i = 0; i < 4'000'000; ++i) {
    check(any(random));
  }
}

TEST(Conversion, AgreesWithIntegerArithmeticOnASampleOfEveryKindOfInput) {
  std::size_t mismatches = 0;
  for_each_sampled_input([&mismatches](std::int32_t binum) {
    const auto got = bin2dec::convert(binum);
    const auto want = integer_model::convert(binum);
    if ((got.decnum != want.decnum || got.digit != want.digit) && mismatches++ == 0) {
      ADD_FAILURE() << "first mismatch at " << binum << ": " << got.decnum << " for "
                    << want.decnum;
    }
  });
  EXPECT_EQ(mismatches, 0U);
}

}  // namespace
