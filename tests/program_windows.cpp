// Runs the program on Windows, with CreateProcess, through real handles.
#include <windows.h>

#include <array>
#include <string>

#include "program.hpp"

namespace program {
namespace {

// A handle that the program inherits as one of its standard streams.
SECURITY_ATTRIBUTES inheritable() { return {sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE}; }

// A file that is gone once its last handle, the test's or the program's, is closed.
HANDLE temp_file() {
  std::array<char, MAX_PATH + 1> folder{};
  std::array<char, MAX_PATH + 1> name{};
  if (GetTempPathA(static_cast<DWORD>(folder.size()), folder.data()) == 0 ||
      GetTempFileNameA(folder.data(), "b2d", 0, name.data()) == 0) {
    return INVALID_HANDLE_VALUE;
  }
  SECURITY_ATTRIBUTES attributes = inheritable();
  return CreateFileA(name.data(), GENERIC_READ | GENERIC_WRITE,
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &attributes,
                     CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
}

void write_all(HANDLE pipe, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD written = 0;
    if (WriteFile(pipe, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) == 0) {
      return;  // the program stopped reading: what it left unread is no fault
    }
    bytes.remove_prefix(written);
  }
}

std::string read_from_start(HANDLE file) {
  std::string bytes;
  std::array<char, 4096> buffer{};
  SetFilePointer(file, 0, nullptr, FILE_BEGIN);
  DWORD n = 0;
  while (ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &n, nullptr) != 0 &&
         n > 0) {
    bytes.append(buffer.data(), n);
  }
  return bytes;
}

}  // namespace

outcome run(std::string_view input) {
  SECURITY_ATTRIBUTES attributes = inheritable();
  HANDLE input_read = nullptr;
  HANDLE input_write = nullptr;
  CreatePipe(&input_read, &input_write, &attributes, 0);
  // Only the program's end is inherited: a write end left in the program would keep it from
  // ever seeing the end of its input.
  SetHandleInformation(input_write, HANDLE_FLAG_INHERIT, 0);
  HANDLE out = temp_file();
  HANDLE err = temp_file();

  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input_read;
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION process{};
  // What runs the program comes first, where there is something (cmd /c, to find an installed
  // program through PATH, as a user's command does).
  std::string command_line = std::string("\"") + BIN2DEC_PATH + "\"";
  if constexpr (sizeof BIN2DEC_EMULATOR > 1) {
    command_line = BIN2DEC_EMULATOR " " + command_line;
  }
  const BOOL started = CreateProcessA(nullptr, command_line.data(), nullptr, nullptr, TRUE, 0,
                                      nullptr, nullptr, &startup, &process);
  CloseHandle(input_read);
  outcome result{.out = "", .err = "", .exit_status = -1};
  if (started != 0) {
    write_all(input_write, input);
    CloseHandle(input_write);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 0;
    if (GetExitCodeProcess(process.hProcess, &status) != 0) {
      result.exit_status = static_cast<int>(status);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  } else {
    CloseHandle(input_write);
  }
  result.out = read_from_start(out);
  result.err = read_from_start(err);
  CloseHandle(out);
  CloseHandle(err);
  return result;
}

}  // namespace program
