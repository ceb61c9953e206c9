// The conversion done again with integers only, which the tests hold the program's route through
// double-precision arithmetic to.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <utility>

#include "conversion.hpp"

namespace integer_model {

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

// Truncating division, a remainder that follows the sign, and the bit's weight as a plain
// multiplier, for any number of positions. Each position's weights are constants, which the
// compiler divides by quickly, as the exhaustive test runs this 2^32 times; and in 32 bits, where
// the weight fits, as a 32-bit processor divides 64-bit numbers by a call to its runtime.
template <std::size_t position>
void read_position(std::int32_t binum, bin2dec::conversion& expected) {
  constexpr std::size_t exponent = bin2dec::positions - 1 - position;
  constexpr std::int64_t weight = decimal_weight(exponent);
  constexpr std::int64_t bit_weight = std::int64_t{1} << exponent;
  if constexpr (weight <= std::numeric_limits<std::int32_t>::max()) {
    expected.digit[position] = binum / static_cast<std::int32_t>(weight) % 2;
  } else {
    expected.digit[position] = 0;  // no 32-bit number reaches this weight
  }
  expected.decnum += static_cast<std::int32_t>(bit_weight * expected.digit[position]);
}

template <std::size_t... position>
bin2dec::conversion convert(std::int32_t binum, std::index_sequence<position...> /*unused*/) {
  bin2dec::conversion expected{};
  (read_position<position>(binum, expected), ...);
  return expected;
}

inline bin2dec::conversion convert(std::int32_t binum) {
  return convert(binum, std::make_index_sequence<bin2dec::positions>{});
}

}  // namespace integer_model
