#include "conversion.hpp"

namespace bin2dec {
namespace {

constexpr double decimal_base = 10.0;
constexpr double binary_base = 2.0;

// Raises base to exponent by repeated squaring over the exponent's bits, lowest first. Every
// weight asked for here (10^0 to 10^7, 2^0 to 2^7) is exact in double precision.
constexpr double power(double base, std::size_t exponent) noexcept {
  double result = 1.0;
  for (;;) {
    if ((exponent & 1U) != 0U) {
      result *= base;
    }
    exponent >>= 1U;
    if (exponent == 0U) {
      return result;
    }
    base *= base;
  }
}

}  // namespace

conversion convert(std::int32_t binum) noexcept {
  conversion result{};
  std::size_t exponent = positions;
  for (auto& bit : result.digit) {
    --exponent;
    // |binum| / 10^exponent never exceeds the 32-bit range, so truncating it is always defined,
    // and a truncated quotient is odd exactly when the decimal digit at this position is.
    const auto quotient =
        static_cast<std::int32_t>(static_cast<double>(binum) / power(decimal_base, exponent));
    bit = quotient % 2;
    result.decnum = static_cast<std::int32_t>((power(binary_base, exponent) * bit) + result.decnum);
  }
  return result;
}

}  // namespace bin2dec
