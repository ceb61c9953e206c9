// The conversion of a number's decimal digits into the eight-bit value they spell.
//
// It lives apart from main() so that the tests can call it directly.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace bin2dec {

// Only the lowest eight decimal digits of a number count as bits.
inline constexpr std::size_t positions = 8;

struct conversion {
  // One bit per position, the most significant first: 0 or 1, or 0 or -1 for a negative number.
  std::array<std::int32_t, positions> digit;
  // The value those bits denote, from -255 to 255.
  std::int32_t decnum;
};

// Reads the lowest eight decimal digits of binum as bits, each digit by its parity (even is 0,
// odd is 1), so that 10110011 gives 179 and -101 gives -5. Every input has a result.
[[nodiscard]] conversion convert(std::int32_t binum) noexcept;

}  // namespace bin2dec
