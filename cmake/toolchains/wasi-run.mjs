// Runs a WASI (preview 1) program under Node.js, as a WASI runtime gives it to a user: its
// standard streams and arguments, and no environment, files or folders.
//
//   node --no-warnings wasi-run.mjs PROGRAM.wasm [ARGUMENT...]
//
// The exit status is the program's.
import { readFile } from "node:fs/promises";
import { WASI } from "node:wasi";

// From the global process, not from an import of node:process: that import reads every property,
// process.stdin too, which turns standard input non-blocking, and the program's reads then fail
// where the input has not yet arrived.
const [program, ...args] = process.argv.slice(2);
const wasi = new WASI({ version: "preview1", args: [program, ...args], env: {}, returnOnExit: true });
const module = await WebAssembly.compile(await readFile(program));
const instance = await WebAssembly.instantiate(module, wasi.getImportObject());
process.exitCode = wasi.start(instance);
