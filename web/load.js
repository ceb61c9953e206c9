// Begins to load the bin2dec module as soon as the page does: this script stands in the page's
// head, so the module is unpacked and compiled while the browser lays out the rest, and main.js,
// at the end of the page, takes the compiled module from window.bin2decModule.

import { joined } from "./chunks.js";

/* global BIN2DEC_MODULE */ // the module, gzipped and in base64, put in by build.mjs

// The module's bytes come first of all that the page does, so they take the quickest way the
// browser has: decoded with Uint8Array.fromBase64, or a plain loop (Uint8Array.from with a
// function makes a call for each byte); written whole into the decompressor, whose stream a Blob's
// would only slow; read back here; and compiled whole.
function decodeBase64(text) {
  if (Uint8Array.fromBase64) {
    return Uint8Array.fromBase64(text);
  }
  const binary = atob(text);
  const bytes = new Uint8Array(binary.length);
  for (let i = 0; i < binary.length; i++) {
    bytes[i] = binary.charCodeAt(i);
  }
  return bytes;
}

// The unpacked chunks are read here, in promise callbacks alone, which run before the browser
// goes back to parsing the page. Handed to the compiler through a Response (compileStreaming),
// they took Firefox several times as long to unpack and compile, on a module this small.
async function unpack(gzipped) {
  const unpacking = new DecompressionStream("gzip");
  const writer = unpacking.writable.getWriter();
  writer.write(gzipped);
  writer.close();
  const chunks = [];
  for (const reader = unpacking.readable.getReader(); ; ) {
    const { done, value } = await reader.read();
    if (done) {
      break;
    }
    chunks.push(value);
  }
  return joined(chunks);
}

async function loadModule() {
  return WebAssembly.compile(await unpack(decodeBase64(BIN2DEC_MODULE)));
}

window.bin2decModule = loadModule();
