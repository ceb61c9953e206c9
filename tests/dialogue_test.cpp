// End-to-end tests: the built program run through its real standard streams.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <csignal>
#include <cstdlib>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace std::string_literals;

const std::string prompt = "Please enter a binary number of 8 digits or less: ";
const std::string frame_line = "\n**************************************************\n";

std::string report(const std::string& echoed, const std::string& value) {
  return prompt + frame_line + "The unsigned binary number: " + echoed +
         "\nequals the decimal number: " + value + frame_line;
}

// The command that starts the program: BIN2DEC_LAUNCHER (say, "valgrind -q") put before it.
std::vector<std::string> command() {
  std::vector<std::string> words;
  const char* launcher = std::getenv("BIN2DEC_LAUNCHER");
  std::istringstream prefix(launcher != nullptr ? launcher : "");
  for (std::string word; prefix >> word;) {
    words.push_back(word);
  }
  words.emplace_back(BIN2DEC_PATH);
  return words;
}

// Starts the program with the given descriptors as its standard streams; -1 leaves one closed.
pid_t spawn(int in, int out, int err) {
  auto words = command();
  std::vector<char*> argv(words.size() + 1, nullptr);
  std::ranges::transform(words, argv.begin(), [](std::string& word) { return word.data(); });

  const pid_t pid = fork();
  if (pid == 0) {
    // The tests ignore SIGPIPE, and an ignored signal stays ignored across exec.
    static_cast<void>(std::signal(SIGPIPE, SIG_DFL));
    int target = STDIN_FILENO;
    for (const int fd : {in, out, err}) {
      static_cast<void>(fd < 0 ? close(target) : dup2(fd, target));
      ++target;
    }
    execvp(argv.front(), argv.data());
    _exit(127);
  }
  return pid;
}

struct fd_pair {
  int read = -1;
  int write = -1;
};

fd_pair make_pipe() {
  std::array<int, 2> fds{-1, -1};
  EXPECT_EQ(pipe2(fds.data(), O_CLOEXEC), 0);
  return {fds[0], fds[1]};
}

void write_all(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n <= 0) {
      return;  // the program stopped reading: what it left unread is no fault
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
}

std::string read_all(int fd) {
  std::string bytes;
  std::array<char, 4096> buffer{};
  lseek(fd, 0, SEEK_SET);  // a captured file is read from its start; a pipe ignores this
  for (;;) {
    const ssize_t n = read(fd, buffer.data(), buffer.size());
    if (n <= 0) {
      return bytes;
    }
    bytes.append(buffer.data(), static_cast<std::size_t>(n));
  }
}

int wait_for(pid_t pid) {
  int status = -1;
  waitpid(pid, &status, 0);
  return status;
}

enum class in_stream { piped, closed };
enum class out_stream { captured, dev_full, closed };

struct outcome {
  std::string out;
  std::string err;
  int status;
};

outcome run(const std::string& input, in_stream in, out_stream out) {
  const fd_pair input_pipe = make_pipe();
  const int out_file = memfd_create("stdout", MFD_CLOEXEC);
  const int err_file = memfd_create("stderr", MFD_CLOEXEC);
  const int full = open("/dev/full", O_WRONLY | O_CLOEXEC);  // NOLINT(*-vararg): no mode passed
  const int out_fd = out == out_stream::captured   ? out_file
                     : out == out_stream::dev_full ? full
                                                   : -1;

  const pid_t pid = spawn(in == in_stream::piped ? input_pipe.read : -1, out_fd, err_file);
  close(input_pipe.read);
  write_all(input_pipe.write, input);
  close(input_pipe.write);

  outcome result{"", "", wait_for(pid)};
  result.out = read_all(out_file);
  result.err = read_all(err_file);
  for (const int fd : {out_file, err_file, full}) {
    close(fd);
  }
  return result;
}

struct dialogue_case {
  const char* name;
  std::string input;
  std::string echoed;  // the number as the report shows it
  std::string value;   // and its decimal value
  in_stream in = in_stream::piped;
  out_stream out = out_stream::captured;
};

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
    {"standard input closed", "", "0", "0", in_stream::closed},
    {"NUL byte before", "\0"s + "101\n", "0", "0"},
    {"NUL byte after", "101\0\n"s, "101", "5"},
    {"byte above 0x7F before", "\xff"s + "101\n", "0", "0"},
    {"bytes above 0x7F after", "101\xc3\xa9\n", "101", "5"},
    {"carriage return before the line break", "101\r\n", "101", "5"},
    {"a megabyte of blanks before", std::string(1 << 20, ' ') + "101\n", "101", "5"},
    {"200,000 digits", std::string(200'000, '1') + "\n", "2147483647", "73"},
    {"standard output on /dev/full", "101\n", "", "", in_stream::piped, out_stream::dev_full},
    {"standard output closed", "101\n", "", "", in_stream::piped, out_stream::closed},
};

class Dialogue : public testing::Test {
 protected:
  // A program that stops reading early must not end the test by SIGPIPE.
  Dialogue() { EXPECT_NE(std::signal(SIGPIPE, SIG_IGN), SIG_ERR); }
};

TEST_F(Dialogue, WritesTheExactReportAndExitsZeroForEveryInput) {
  for (const auto& row : dialogue_cases) {
    SCOPED_TRACE(row.name);
    const auto result = run(row.input, row.in, row.out);
    EXPECT_EQ(result.out, row.out == out_stream::captured ? report(row.echoed, row.value) : "");
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.status, 0);
  }
}

// The prompt must be on the screen while the program waits, with nothing typed yet.
TEST_F(Dialogue, ShowsThePromptBeforeWaitingForInput) {
  const fd_pair input = make_pipe();
  const fd_pair output = make_pipe();
  const pid_t pid = spawn(input.read, output.write, STDERR_FILENO);
  close(input.read);
  close(output.write);

  std::string shown(prompt.size(), '\0');
  std::size_t got = 0;
  pollfd ready{output.read, POLLIN, 0};
  while (got < shown.size() && poll(&ready, 1, 60'000) > 0) {
    const auto unread = std::span(shown).subspan(got);
    const ssize_t n = read(output.read, unread.data(), unread.size());
    if (n <= 0) {
      break;
    }
    got += static_cast<std::size_t>(n);
  }
  EXPECT_EQ(shown, prompt);

  write_all(input.write, "101\n");
  close(input.write);
  EXPECT_EQ(prompt + read_all(output.read), report("101", "5"));
  close(output.read);
  EXPECT_EQ(wait_for(pid), 0);
}

}  // namespace
