// bin2dec: asks for a binary number, reads it from standard input and reports its decimal value.
#include <cstdint>
#include <iostream>

#include "conversion.hpp"

namespace {

constexpr const char* prompt = "Please enter a binary number of 8 digits or less: ";
constexpr const char* frame_line = "\n**************************************************\n";

}  // namespace

int main() {
  // The extraction stores nothing when the input ends before a number, so binum starts at 0
  // rather than holding whatever the stack had there.
  std::int32_t binum = 0;

  // No flush of our own: std::cin is tied to std::cout, so the prompt appears before the read.
  std::cout << prompt;
  std::cin >> binum;

  const std::int32_t decnum = bin2dec::convert(binum).decnum;
  std::cout << frame_line << "The unsigned binary number: " << binum
            << "\nequals the decimal number: " << decnum << frame_line;
  return 0;
}
