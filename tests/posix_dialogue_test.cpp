// End-to-end tests that need POSIX descriptors: closed and full streams, a seekable standard
// input, the timing of the prompt, and a session on a terminal.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <bit>
#include <chrono>
#include <clocale>
#include <csignal>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "posix_process.hpp"
#include "program.hpp"

namespace {

// How long a test waits for the program to show something before it calls it missing.
constexpr int patience_ms = 5'000;

// Reads from fd until what has arrived contains wanted, the input ends, or patience runs out.
std::string read_until(int fd, std::string_view wanted) {
  std::string arrived;
  std::array<char, 4096> buffer{};
  // Set field by field: POSIX names pollfd's fields but not their order.
  pollfd ready{};
  ready.fd = fd;
  ready.events = POLLIN;
  while (arrived.find(wanted) == std::string::npos && poll(&ready, 1, patience_ms) > 0) {
    const ssize_t n = read(fd, buffer.data(), buffer.size());
    if (n <= 0) {
      break;
    }
    arrived.append(buffer.data(), static_cast<std::size_t>(n));
  }
  return arrived;
}

using program::stream;

struct stream_case {
  const char* name;
  stream in;
  stream out;
  const char* shown;  // the standard output expected, where it can be read
  int exit_status;
};

// A reader that has gone ends the program by SIGPIPE, as it ends any Unix tool that writes to it
// (printf '101\n' | bin2dec | true): the conventional end, and no failure of the program's own.
// WASI has no signals: there the write fails, and the program ends with 0 as after any other
// failed write.
#ifdef BIN2DEC_WASI_PROGRAM
constexpr int reader_gone_status = 0;
#else
constexpr int reader_gone_status = 128 + SIGPIPE;
#endif

// NOLINTBEGIN(modernize-use-designated-initializers): a table, its columns named once above
const std::vector<stream_case> stream_cases = {
    {"standard input closed", stream::closed, stream::usable, "0", 0},
    {"standard output on /dev/full", stream::usable, stream::dev_full, nullptr, 0},
    {"standard output closed", stream::usable, stream::closed, nullptr, 0},
    {"standard output a pipe whose reader has gone", stream::usable, stream::reader_gone, nullptr,
     reader_gone_status},
};
// NOLINTEND(modernize-use-designated-initializers)

// The rows that this system can run: macOS and the BSDs have no /dev/full.
std::vector<stream_case> stream_cases_here() {
  std::vector<stream_case> rows;
  std::copy_if(stream_cases.begin(), stream_cases.end(), std::back_inserter(rows),
               [](const stream_case& row) {
                 return row.out != stream::dev_full || access("/dev/full", W_OK) == 0;
               });
  return rows;
}

TEST(PosixDialogue, ReportsAndEndsAsExpectedWhateverItsStreamsAre) {
  for (const auto& row : stream_cases_here()) {
    SCOPED_TRACE(row.name);
    const auto result = program::run("101\n", row.in, row.out);
    EXPECT_EQ(result.exit_status, row.exit_status);
    if (row.shown != nullptr) {
      EXPECT_EQ(result.out, program::report(row.shown, row.shown));
    }
    EXPECT_EQ(result.err, "");
  }
}

// A user's locale may group digits (10,110,011 in en_US), but the report writes its numbers plainly
// whatever the environment says.
TEST(PosixDialogue, WritesTheSameBytesUnderALocaleThatGroupsDigits) {
  constexpr const char* grouping = "en_US.UTF-8";
  const locale_t installed = newlocale(LC_ALL_MASK, grouping, nullptr);
  if (installed == nullptr && std::endian::native == std::endian::big) {
    GTEST_SKIP() << grouping << " cannot be read here: either it is not installed, or its archive"
                 << " was made by a little-endian machine (this one's, under qemu), which this"
                 << " big-endian C library cannot read";
  }
  if (installed == nullptr) {
    GTEST_SKIP() << grouping << " is not installed here, so no locale groups digits"
                 << " (on Debian: the locales package, then locale-gen)";
  }
  freelocale(installed);

  // The tests run on one thread, so nothing reads the environment while it changes.
  const char* before = std::getenv("LC_ALL");  // NOLINT(concurrency-mt-unsafe)
  const std::optional<std::string> saved =
      before != nullptr ? std::optional<std::string>(before) : std::nullopt;
  setenv("LC_ALL", grouping, 1);  // NOLINT(concurrency-mt-unsafe)
  const auto result = program::run("10110011\n");
  if (saved) {
    setenv("LC_ALL", saved->c_str(), 1);  // NOLINT(concurrency-mt-unsafe)
  } else {
    unsetenv("LC_ALL");  // NOLINT(concurrency-mt-unsafe)
  }
  EXPECT_EQ(result.out, program::report("10110011", "179"));
}

// What follows the number stays for whoever reads the input next, as in
// { bin2dec >/dev/null; cat; } <file.
TEST(PosixDialogue, LeavesARegularFileJustAfterTheNumber) {
  const int in = program::temp_file();
  const int out = program::temp_file();
  program::write_all(in, "101\nrest\n");
  lseek(in, 0, SEEK_SET);

  EXPECT_EQ(program::wait_for(program::spawn(in, out, STDERR_FILENO)), 0);
  EXPECT_EQ(program::read_all(out), program::report("101", "5"));
  EXPECT_EQ(lseek(in, 0, SEEK_CUR), 3) << "the program read past the number";
  close(in);
  close(out);
}

// The prompt must be on the screen while the program waits, with nothing typed yet; and the
// program must wait, however long the user takes, rather than take a read that finds nothing yet
// for the end of the input (as it would on a standard input made non-blocking by its runtime).
TEST(PosixDialogue, ShowsThePromptBeforeWaitingForInput) {
  const program::fd_pair input = program::make_pipe();
  const program::fd_pair output = program::make_pipe();
  const pid_t pid = program::spawn(input.read, output.write, STDERR_FILENO);
  close(input.read);
  close(output.write);

  const std::string shown = read_until(output.read, program::prompt);
  EXPECT_EQ(shown, program::prompt);

  std::this_thread::sleep_for(std::chrono::milliseconds(200));  // the user reads, then types
  program::write_all(input.write, "101\n");
  close(input.write);
  EXPECT_EQ(shown + program::read_all(output.read), program::report("101", "5"));
  close(output.read);
  EXPECT_EQ(program::wait_for(pid), 0);
}

// A terminal as a person has it: what is typed is echoed, and Enter ends the line.
int open_terminal(int& user_side) {
  const int screen = posix_openpt(O_RDWR | O_NOCTTY);
  if (screen < 0 || grantpt(screen) != 0 || unlockpt(screen) != 0) {
    return -1;
  }
  user_side = open(ptsname(screen), O_RDWR | O_NOCTTY);  // NOLINT(*-vararg,concurrency-mt-unsafe)
  termios settings{};
  tcgetattr(user_side, &settings);
  settings.c_lflag |= ICANON | ECHO;
  settings.c_iflag |= ICRNL;
  settings.c_oflag |= OPOST | ONLCR;
  tcsetattr(user_side, TCSANOW, &settings);
  program::close_on_exec(user_side);
  return program::close_on_exec(screen);
}

std::vector<std::string> lines_of(const std::string& screen) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end = 0; (end = screen.find("\r\n", start)) != std::string::npos;
       start = end + 2) {
    lines.push_back(screen.substr(start, end - start));
  }
  if (start < screen.size()) {
    lines.push_back(screen.substr(start) + "  <- no line end");
  }
  return lines;
}

TEST(PosixDialogue, ShowsTheSixLinesOfASessionAtATerminal) {
  int terminal = -1;
  const int screen = open_terminal(terminal);
  ASSERT_GE(screen, 0) << "no pseudo-terminal";
  const pid_t pid = program::spawn(terminal, terminal, terminal);
  close(terminal);

  std::string shown = read_until(screen, program::prompt);
  ASSERT_EQ(shown, program::prompt) << "the prompt did not appear";
  program::write_all(screen, "10110011\r");  // typed, then Enter
  const std::string& frame = program::frame;
  shown += read_until(screen, "179\r\n" + frame + "\r\n");
  EXPECT_EQ(program::wait_for(pid), 0);
  shown += program::read_all(screen);  // anything after the frame, up to the hang-up
  close(screen);

  const std::vector<std::string> expected = {
      program::prompt + "10110011",  "",    frame, program::first_label + "10110011",
      program::second_label + "179", frame,
  };
  EXPECT_EQ(lines_of(shown), expected);
}

}  // namespace
