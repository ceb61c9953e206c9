// How soon the page shows its prompt, against its floor: the same HTML, whose prompt a one-line
// script writes with no module to load. Page and floor are loaded alternately in one browser,
// from files, and for each the time from navigation start to the first frame with the prompt on
// screen is printed, least, median and most, in milliseconds. Each file begins with a script that
// notes that time, as the page's own scripts cannot be watched before they run in every browser
// (WebKit's WebDriver runs nothing before a page's scripts).
//
//   BIN2DEC_PAGE=bin2dec-<version>.html node bench.mjs [LOADS]     (LOADS of each: 15 by default)
//
// Then, in the floor page once it has loaded, it times the browser's compiling of the page's module
// alone, the part of the page's time that no script can shorten: a browser that compiles every
// function before the first run (Firefox) spends it before the prompt, one that compiles each on
// its first call (Chromium) mostly does not.
//
// BIN2DEC_BROWSERS names the browsers (chromium,firefox,webkit by default). A benchmark, not a test: its
// figures are those of the machine it runs on, and fail nothing.
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import path from "node:path";
import { pathToFileURL } from "node:url";
import { gunzipSync } from "node:zlib";
import { launch } from "./browsers.mjs";

const pagePath = path.resolve(process.env.BIN2DEC_PAGE ?? "");
const browsers = (process.env.BIN2DEC_BROWSERS ?? "chromium,firefox,webkit").split(",");
const loads = Number(process.argv[2] ?? 15);

const [prompt] = readFileSync(new URL("../tests/report-for-10110011.txt", import.meta.url), "utf8")
  .split("\n");
// The floor: the page without its scripts (load.js in the head, main.js at the end), and at the
// end a script of one line that writes the prompt.
const page = readFileSync(pagePath, "utf8");
const scripts = page.match(/<script>[\s\S]*?<\/script>/g) ?? [];
if (scripts.length !== 2) {
  throw new Error(`${pagePath} has ${scripts.length} scripts, not the two that load and run the module`);
}
const floor = page.replace(scripts[0], "").replace(scripts[1], () =>
  `<script>document.getElementById("screen").textContent = ${JSON.stringify(prompt)};</script>`);

// The page's module, as check-download finds it: gzipped, in base64, in the page's first script.
const [gzipped] = scripts[0].match(/(?<=")H4sI[A-Za-z0-9+/=]*(?=")/) ?? [];
if (!gzipped) {
  throw new Error(`${pagePath} holds no gzipped module`);
}
const module = gunzipSync(Buffer.from(gzipped, "base64"));

// Notes the time of the first frame after the screen shows the prompt.
function watchForThePrompt(wanted) {
  new MutationObserver((changes, observer) => {
    const screen = document.getElementById("screen");
    if (screen?.textContent === wanted) {
      observer.disconnect();
      requestAnimationFrame(() => {
        window.promptShownAt = performance.now();
      });
    }
  }).observe(document, { subtree: true, childList: true, characterData: true });
}
const watched = (html) => html.replace("<head>",
  () => `<head>\n<script>(${watchForThePrompt})(${JSON.stringify(prompt)});</script>`);

const work = mkdtempSync(path.join(tmpdir(), "bin2dec-bench-"));
const urls = {};
for (const [kind, html] of Object.entries({ page, floor })) {
  writeFileSync(path.join(work, `${kind}.html`), watched(html));
  urls[kind] = pathToFileURL(path.join(work, `${kind}.html`)).href;
}

async function timeToPrompt(tab, url) {
  await tab.goto(url);
  const shownAt = await tab.waitFor(() => window.promptShownAt);
  if (!shownAt) {
    throw new Error(`${url} showed no prompt within 10 s`);
  }
  return shownAt;
}

// Compiles the module as many times, each copy with a custom section of its own at the end, so
// that no browser can answer from a cache of modules it compiled before; returns each time.
async function compileTimes(moduleInBase64, count) {
  const bytes = Uint8Array.from(atob(moduleInBase64), (c) => c.charCodeAt(0));
  const times = [];
  for (let copy = 0; copy < count; copy++) {
    const name = [...`copy ${copy}`].map((c) => c.charCodeAt(0));
    const unique = new Uint8Array([...bytes, 0, name.length + 1, name.length, ...name]);
    const start = performance.now();
    await WebAssembly.compile(unique);
    times.push(performance.now() - start);
  }
  return times;
}

const summary = (times) => {
  const sorted = [...times].sort((a, b) => a - b);
  const median = (sorted[(sorted.length - 1) >> 1] + sorted[sorted.length >> 1]) / 2;
  return { least: sorted[0], median, most: sorted.at(-1) };
};
const shown = ({ least, median, most }) => [least, median, most].map((t) => t.toFixed(0)).join("/");

try {
  console.log(`ms from navigation start to the prompt on screen, least/median/most of ${loads} loads each`);
  for (const name of browsers) {
    const browser = await launch(name);
    const tab = await browser.newTab();
    const times = { page: [], floor: [] };
    await timeToPrompt(tab, urls.floor); // a first load of each, to warm the browser's caches
    await timeToPrompt(tab, urls.page);
    for (let load = 0; load < loads; load++) {
      for (const kind of ["page", "floor"]) {
        times[kind].push(await timeToPrompt(tab, urls[kind]));
      }
    }
    const compiling = await tab.evaluate(compileTimes, module.toString("base64"), loads);
    await browser.close();
    const [ofPage, ofFloor] = [summary(times.page), summary(times.floor)];
    console.log(`${name}: the page ${shown(ofPage)}, the floor ${shown(ofFloor)}, ` +
      `the page's median ${(ofPage.median - ofFloor.median).toFixed(0)} ms after the floor's; ` +
      `compiling the module (${module.length} bytes) alone ${shown(summary(compiling))}`);
  }
} finally {
  rmSync(work, { recursive: true, force: true });
}
