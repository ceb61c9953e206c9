// Runs the built program through its real standard streams, on POSIX systems and on Windows.
#pragma once

#include <string>
#include <string_view>

namespace program {

inline const std::string prompt = "Please enter a binary number of 8 digits or less: ";

// The line end that the program's text-mode output writes for each line break.
#ifdef _WIN32
inline const std::string line_end = "\r\n";
#else
inline const std::string line_end = "\n";
#endif

// All that the program writes, prompt first, for the number it read and the value it found.
inline std::string report(const std::string& echoed, const std::string& value) {
  const std::string frame_line = line_end + std::string(50, '*') + line_end;
  return prompt + frame_line + "The unsigned binary number: " + echoed + line_end +
         "equals the decimal number: " + value + frame_line;
}

struct outcome {
  std::string out;
  std::string err;
  int exit_status;  // on POSIX 128 and its number where a signal ended it; -1 where unknown
};

// Runs the program with input on a pipe as its standard input, and captures what it writes.
outcome run(std::string_view input);

}  // namespace program
