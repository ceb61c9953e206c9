// Makes the page: one HTML file that holds its style, its script and the bin2dec module, gzipped,
// so that it works offline, opened from a file, and from any static host.
//
//   node build.mjs MODULE.wasm VERSION OUT.html
//
// The same module and version give the same bytes.
import { readFileSync, writeFileSync } from "node:fs";
import { fileURLToPath } from "node:url";
import { gzipSync } from "node:zlib";
import { build } from "esbuild";

const [modulePath, version, out] = process.argv.slice(2);
if (!out) {
  console.error("usage: node build.mjs MODULE.wasm VERSION OUT.html");
  process.exit(2);
}
const source = (name) => fileURLToPath(new URL(name, import.meta.url));

// gzip's header records no name and no time here, so the bytes depend on the module alone.
const gzipped = gzipSync(readFileSync(modulePath), { level: 9 });
// Each script is bundled on its own; load.js holds the module.
async function bundle(entry, define = {}) {
  const bundled = await build({
    entryPoints: [source(entry)],
    bundle: true,
    minify: true,
    format: "iife",
    target: ["chrome113", "firefox115", "safari16.4"],
    define,
    legalComments: "none",
    write: false,
  });
  return bundled.outputFiles[0].text.trim().replaceAll("</script", "<\\/script");
}

// Each part goes in where its placeholder stands. A replacement given as a function is taken as
// it is, without the special patterns ($&, $') that a string replacement would read.
const parts = {
  "/* style.css */": readFileSync(source("style.css"), "utf8").trim(),
  "/* load.js */": await bundle("load.js", {
    BIN2DEC_MODULE: JSON.stringify(gzipped.toString("base64")),
  }),
  "/* main.js */": await bundle("main.js"),
  "@VERSION@": version,
  "@NOTICES@": readFileSync(source("NOTICES"), "utf8").trim(),
};
if (parts["@NOTICES@"].includes("--")) {
  throw new Error("NOTICES holds --, which would end the comment it stands in");
}
let page = readFileSync(source("index.html"), "utf8");
for (const [placeholder, part] of Object.entries(parts)) {
  if (!page.includes(placeholder)) {
    throw new Error(`index.html has no ${placeholder}`);
  }
  page = page.replace(placeholder, () => part);
}
writeFileSync(out, page);
console.log(`${out}: ${page.length} bytes, the module ${gzipped.length} of them gzipped`);
