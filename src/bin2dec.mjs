#!/usr/bin/env node
// Runs bin2dec.wasm, which lies beside this file, under Node.js's WASI:
//
//   node bin2dec.mjs
//
// The module gets the standard streams and nothing else: no arguments, environment or files.
// Its exit status is the module's, and nothing is written of Node.js's own.
import { spawnSync } from "node:child_process";
import { realpathSync } from "node:fs";
import { readFile } from "node:fs/promises";
import { pathToFileURL } from "node:url";

// Node.js before 20 offers its WASI only to a process started with a flag, so this script starts
// again with it there.
async function loadWasi() {
  try {
    return (await import("node:wasi")).WASI;
  } catch (error) {
    if (error.code !== "ERR_UNKNOWN_BUILTIN_MODULE") {
      throw error;
    }
    const flags = ["--experimental-wasi-unstable-preview1", ...process.execArgv];
    const again = spawnSync(process.execPath, [...flags, ...process.argv.slice(1)], { stdio: "inherit" });
    process.exit(again.status ?? 1);
  }
}

// Runs the WASI module at path with the arguments given, and returns its exit status. It reads
// the global process, never an import of node:process: that import reads every property,
// process.stdin too, which turns standard input non-blocking, and the module's reads then fail
// where the input has not yet arrived.
export async function run(path, args) {
  // Node.js calls its WASI experimental and says so on standard error, which is the module's.
  process.removeAllListeners("warning");
  const WASI = await loadWasi();
  const wasi = new WASI({ version: "preview1", args, env: {}, returnOnExit: true });
  const module = await WebAssembly.compile(await readFile(path));
  const imports = { wasi_snapshot_preview1: wasi.wasiImport };
  return wasi.start(await WebAssembly.instantiate(module, imports));
}

// Run, not imported (by the tests' runner); npm starts it through a link, which the module's own
// address has resolved.
if (import.meta.url === pathToFileURL(realpathSync(process.argv[1])).href) {
  process.exitCode = await run(new URL("bin2dec.wasm", import.meta.url), ["bin2dec"]);
}
