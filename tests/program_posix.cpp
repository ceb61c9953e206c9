// Runs the program on POSIX systems, with fork and exec, through real descriptors.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <sstream>
#include <vector>

#include "posix_process.hpp"
#include "program.hpp"

namespace program {
namespace {

// The command that starts the program: the launcher's words (BIN2DEC_LAUNCHER, say valgrind),
// the emulator's, where the build has one, then the program's path; or, in place of those two,
// the words of BIN2DEC_PROGRAM, which starts another program (a download's, say).
std::vector<std::string> command() {
  const char* launcher = std::getenv("BIN2DEC_LAUNCHER");  // NOLINT(concurrency-mt-unsafe)
  const char* other = std::getenv("BIN2DEC_PROGRAM");      // NOLINT(concurrency-mt-unsafe)
  std::istringstream prefix(std::string(launcher != nullptr ? launcher : "") + " " +
                            (other != nullptr ? other : BIN2DEC_EMULATOR));
  std::vector<std::string> words;
  for (std::string word; prefix >> word;) {
    words.push_back(word);
  }
  if (other == nullptr) {
    words.emplace_back(BIN2DEC_PATH);
  }
  return words;
}

}  // namespace

// Without this, a descriptor of the test would stay open in the program: a pipe's write end
// there would keep the program from ever seeing the end of its input.
int close_on_exec(int fd) {
  if (fd >= 0) {
    static_cast<void>(fcntl(fd, F_SETFD, FD_CLOEXEC));  // NOLINT(*-vararg): fcntl has no other form
  }
  return fd;
}

fd_pair make_pipe() {
  std::array<int, 2> fds{-1, -1};
  if (pipe(fds.data()) != 0) {
    return {};
  }
  return {.read = close_on_exec(fds[0]), .write = close_on_exec(fds[1])};
}

int temp_file() {
  // dup leaves the FILE's own descriptor to be closed with it, so the file lives as long as
  // the copy returned here.
  std::FILE* file = std::tmpfile();
  if (file == nullptr) {
    return -1;
  }
  const int fd = dup(fileno(file));
  static_cast<void>(std::fclose(file));
  return close_on_exec(fd);
}

pid_t spawn(int in, int out, int err) {
  if (std::signal(SIGPIPE, SIG_IGN) == SIG_ERR) {
    return -1;
  }
  auto words = command();
  std::vector<char*> argv(words.size() + 1, nullptr);
  std::transform(words.begin(), words.end(), argv.begin(), [](auto& word) { return word.data(); });
  // Made before the fork, as the child may only call what is safe between fork and exec.
  const std::string cannot_start = "the test runner cannot start " + words.front() + "\n";

  const pid_t pid = fork();
  if (pid == 0) {
    // The test ignores SIGPIPE, and an ignored signal stays ignored across exec.
    static_cast<void>(std::signal(SIGPIPE, SIG_DFL));
    int target = STDIN_FILENO;
    for (const int fd : {in, out, err}) {
      static_cast<void>(fd < 0 ? close(target) : dup2(fd, target));
      ++target;
    }
    execvp(argv.front(), argv.data());
    // On the program's standard error, which every test expects empty: a launcher that is not
    // installed (valgrind, say) is then named, rather than showing as a report that is missing.
    static_cast<void>(write(STDERR_FILENO, cannot_start.data(), cannot_start.size()));
    _exit(127);
  }
  return pid;
}

int wait_for(pid_t pid) {
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) {
    return -1;
  }
  if (WIFSIGNALED(status)) {
    return 128 + WTERMSIG(status);
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
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
  lseek(fd, 0, SEEK_SET);  // a pipe ignores this
  for (;;) {
    const ssize_t n = read(fd, buffer.data(), buffer.size());
    if (n <= 0) {
      return bytes;
    }
    bytes.append(buffer.data(), static_cast<std::size_t>(n));
  }
}

namespace {

// Closes each descriptor that was opened, passing over the -1 of one that was not.
void close_each(std::initializer_list<int> fds) {
  for (const int fd : fds) {
    if (fd >= 0) {
      close(fd);
    }
  }
}

// What stands for the program's standard output where it is neither the test's file nor closed:
// /dev/full, or a pipe whose reading end is closed already.
int unusable_output(stream out) {
  if (out == stream::dev_full) {
    return close_on_exec(open("/dev/full", O_WRONLY));  // NOLINT(*-vararg): no mode
  }
  if (out == stream::reader_gone) {
    const fd_pair widowed = make_pipe();
    close_each({widowed.read});
    return widowed.write;
  }
  return -1;
}

}  // namespace

outcome run(std::string_view input, stream in, stream out) {
  const fd_pair input_pipe = make_pipe();
  const int captured = temp_file();
  const int unusable = unusable_output(out);
  const int err = temp_file();
  // A descriptor that could not be made would leave that stream of the program closed, and the
  // test would then blame the program for output it never had a place to write.
  if (input_pipe.read < 0 || input_pipe.write < 0 || captured < 0 || err < 0 ||
      (out != stream::usable && out != stream::closed && unusable < 0)) {
    close_each({input_pipe.read, input_pipe.write, captured, unusable, err});
    return {.out = "",
            .err = "the test runner could not make the program's streams",
            .exit_status = -1};
  }

  const pid_t pid = spawn(in == stream::usable ? input_pipe.read : -1,
                          out == stream::usable ? captured : unusable, err);
  close(input_pipe.read);
  write_all(input_pipe.write, input);
  close(input_pipe.write);

  outcome result{.out = "", .err = "", .exit_status = wait_for(pid)};
  result.out = read_all(captured);
  result.err = read_all(err);
  close_each({captured, unusable, err});
  return result;
}

outcome run(std::string_view input) { return run(input, stream::usable, stream::usable); }

}  // namespace program
