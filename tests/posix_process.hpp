// The POSIX side of running the program: its standard streams on any descriptor, or closed.
#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

namespace program {

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
// BIN2DEC_LAUNCHER, if set, is put before it (say, "valgrind -q").
pid_t spawn(int in, int out, int err);

// The program's exit status, or -1 where it did not exit by itself.
int wait_for(pid_t pid);

// Writes until done or until the reader has gone.
void write_all(int fd, std::string_view bytes);

// Reads until the end: a pipe to its end, a file from its start.
std::string read_all(int fd);

}  // namespace program
