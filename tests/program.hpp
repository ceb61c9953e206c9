// Runs the built program through its real standard streams, on POSIX systems and on Windows.
#pragma once

#include <string>
#include <string_view>

namespace program {

// The program's texts, as report-for-10110011.txt has them: the one statement of what the program
// writes that every test reads, whose lines CMake passes in.
inline const std::string prompt = BIN2DEC_PROMPT;
inline const std::string frame = BIN2DEC_FRAME;
inline const std::string first_label = BIN2DEC_FIRST_LABEL;
inline const std::string second_label = BIN2DEC_SECOND_LABEL;

// The line end that the program's text-mode output writes for each line break.
#ifdef _WIN32
inline const std::string line_end = "\r\n";
#else
inline const std::string line_end = "\n";
#endif

// All that the program writes, prompt first, for the number it read and the value it found.
inline std::string report(const std::string& echoed, const std::string& value) {
  const std::string frame_line = line_end + frame + line_end;
  return prompt + frame_line + first_label + echoed + line_end + second_label + value + frame_line;
}

struct outcome {
  std::string out;
  std::string err;
  int exit_status;  // on POSIX 128 and its number where a signal ended it; -1 where unknown
};

// Runs the program with input on a pipe as its standard input, and captures what it writes.
outcome run(std::string_view input);

}  // namespace program
