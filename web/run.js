// Runs the bin2dec module on what has been typed so far, as a terminal would have run it.
//
// A program in a terminal waits while it reads past what was typed. A page cannot wait inside
// a module, so a read past the typed bytes stops the run instead, and the next line typed starts
// the program again from the beginning. The program reads its input in order and does the same
// with the same bytes, so the new run repeats the old one and goes further. Only after the input
// has ended (Ctrl-D) does such a read find the end of input, as in a terminal.
import { Fd, WASI, wasi } from "@bjorn3/browser_wasi_shim";
import { joined } from "./chunks.js";

class ReadPastTheTypedInput extends Error {}

// A terminal's standard input: the bytes typed, then a wait for more, or the end of input.
class TypedInput extends Fd {
  constructor(bytes, ended) {
    super();
    this.bytes = bytes;
    this.ended = ended;
    this.position = 0;
  }

  fd_fdstat_get() {
    return { ret: wasi.ERRNO_SUCCESS, fdstat: new wasi.Fdstat(wasi.FILETYPE_CHARACTER_DEVICE, 0) };
  }

  fd_read(size) {
    if (this.position === this.bytes.length && !this.ended) {
      throw new ReadPastTheTypedInput();
    }
    const data = this.bytes.slice(this.position, this.position + size);
    this.position += data.length;
    return { ret: wasi.ERRNO_SUCCESS, data };
  }
}

// A terminal's standard output or error: every byte written, kept.
class Written extends Fd {
  constructor() {
    super();
    this.chunks = [];
  }

  fd_fdstat_get() {
    return { ret: wasi.ERRNO_SUCCESS, fdstat: new wasi.Fdstat(wasi.FILETYPE_CHARACTER_DEVICE, 0) };
  }

  fd_write(data) {
    this.chunks.push(data.slice());
    return { ret: wasi.ERRNO_SUCCESS, nwritten: data.length };
  }

  bytes() {
    return joined(this.chunks);
  }
}

// Runs the compiled module on the input bytes, which end there if ended is set. Returns what it
// wrote to standard output and standard error, and whether it finished, with its exit status,
// or stopped to wait for more input.
export async function run(module, input, ended) {
  const stdout = new Written();
  const stderr = new Written();
  const runtime = new WASI(["bin2dec"], [], [new TypedInput(input, ended), stdout, stderr]);
  const instance = await WebAssembly.instantiate(module, {
    wasi_snapshot_preview1: runtime.wasiImport,
  });
  let status = null;
  try {
    status = runtime.start(instance);
  } catch (error) {
    if (!(error instanceof ReadPastTheTypedInput)) {
      throw error;
    }
  }
  return { output: stdout.bytes(), errors: stderr.bytes(), finished: status !== null, status };
}
