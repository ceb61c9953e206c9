// Runs a WASI (preview 1) program under Node.js, as bin2dec.mjs runs the module for a user: its
// standard streams and arguments, and no environment, files or folders. The exit status is the
// program's.
//
//   node wasi-run.mjs PROGRAM.wasm [ARGUMENT...]
import { run } from "../../src/bin2dec.mjs";

const [program, ...args] = process.argv.slice(2);
process.exitCode = await run(program, [program, ...args]);
