// The POSIX side of running the program: its standard streams on any descriptor, or closed.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "program.hpp"

namespace program {

// What the program is given as a standard stream: the test's own pipe or file, none (closed),
// /dev/full, where every write fails, or a pipe whose reader has gone, where a write raises
// SIGPIPE.
enum class stream : std::uint8_t { usable, closed, dev_full, reader_gone };

// Runs the program as run(input) does, with its standard input (usable or closed) and its
// standard output replaced as asked. A standard output that is not usable reads back empty.
outcome run(std::string_view input, stream in, stream out);

struct fd_pair {
  int read = -1;
  int write = -1;
};

// Marks fd to be closed in the program, and returns it.
int close_on_exec(int fd);

// A pipe whose ends are closed in the program, so that only the test holds them.
fd_pair make_pipe();

// An unnamed temporary file, closed in the program unless handed to it as a stream.
int temp_file();

// Starts the program with the given descriptors as its standard streams; -1 leaves one closed.
// BIN2DEC_LAUNCHER, if set, is put before it (say, "valgrind -q"). The test ignores SIGPIPE from
// then on, so that a program that stops reading early cannot end it; -1 if it could not.
pid_t spawn(int in, int out, int err);

// The program's exit status, or as a shell gives it, 128 and the number of the signal that ended
// it; -1 where it could not be had.
int wait_for(pid_t pid);

// Writes until done or until the reader has gone.
void write_all(int fd, std::string_view bytes);

// Reads until the end: a pipe to its end, a file from its start.
std::string read_all(int fd);

}  // namespace program
