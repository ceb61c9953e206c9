// End-to-end tests: the built program run with bytes on its standard input, on every platform.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "program.hpp"

namespace {

using namespace std::string_literals;

struct dialogue_case {
  const char* name;
  std::string input;
  std::string echoed;  // the number as the report shows it
  std::string value;   // and its decimal value
};

// NOLINTBEGIN(modernize-use-designated-initializers): a table, its columns named once above
const std::vector<dialogue_case> dialogue_cases = {
    {"eight digits", "10110011\n", "10110011", "179"},
    {"no line break", "10110011", "10110011", "179"},
    {"leading zeros", "011\n", "11", "3"},
    {"blanks and empty lines before", " \t\n\n  101\n", "101", "5"},
    {"text after", "101abc\n", "101", "5"},
    {"a second number after", "101 11\n", "101", "5"},
    {"plus sign", "+101\n", "101", "5"},
    {"minus sign", "-101\n", "-101", "-5"},
    {"digits other than 0 and 1", "12345678\n", "12345678", "170"},
    {"nine digits", "111111111\n", "111111111", "255"},
    {"ten digits", "2147483647\n", "2147483647", "73"},
    {"above the 32-bit range", "2147483648\n", "2147483647", "73"},
    {"below the 32-bit range", "-2147483649\n", "-2147483648", "-72"},
    {"letters only", "abc\n", "0", "0"},
    {"a sign alone", "-\n", "0", "0"},
    {"empty input", "", "0", "0"},
    {"blanks and line breaks only", "  \n\n", "0", "0"},
    {"NUL byte before", "\0"s + "101\n", "0", "0"},
    {"NUL byte after", "101\0\n"s, "101", "5"},
    {"byte above 0x7F before", "\xff"s + "101\n", "0", "0"},
    {"bytes above 0x7F after", "101\xc3\xa9\n", "101", "5"},
    {"carriage return before the line break", "101\r\n", "101", "5"},
    {"a megabyte of blanks before", std::string(1 << 20, ' ') + "101\n", "101", "5"},
    {"200,000 digits", std::string(200'000, '1') + "\n", "2147483647", "73"},
};
// NOLINTEND(modernize-use-designated-initializers)

TEST(Dialogue, WritesTheExactReportAndExitsZeroForEveryInput) {
  for (const auto& row : dialogue_cases) {
    SCOPED_TRACE(row.name);
    const auto result = program::run(row.input);
    EXPECT_EQ(result.out, program::report(row.echoed, row.value));
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.exit_status, 0);
  }
}

}  // namespace
