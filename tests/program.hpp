// Runs the built program through its real standard streams, on POSIX systems and on Windows.
#pragma once

#include <string>
#include <string_view>

namespace program {

inline const std::string prompt = "Please enter a binary number of 8 digits or less: ";

// The line end that the program's text-mode output writes for each line break.
#ifdef _WIN32
inline constexpr std::string_view line_end = "\r\n";
#else
inline constexpr std::string_view line_end = "\n";
#endif

// All that the program writes, prompt first, for the number it read and the value it found.
inline std::string report(std::string_view echoed, std::string_view value) {
  const std::string frame_line =
      std::string(line_end) + std::string(50, '*') + std::string(line_end);
  std::string all = prompt;
  for (const std::string_view part :
       {std::string_view(frame_line), std::string_view("The unsigned binary number: "), echoed,
        line_end, std::string_view("equals the decimal number: "), value,
        std::string_view(frame_line)}) {
    all += part;
  }
  return all;
}

struct outcome {
  std::string out;
  std::string err;
  int exit_status;  // -1 where the program did not exit by itself
};

// Runs the program with input on a pipe as its standard input, and captures what it writes.
outcome run(std::string_view input);

}  // namespace program
