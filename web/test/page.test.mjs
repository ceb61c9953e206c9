// The page as a person uses it, in real browsers: opened from a file and from a server, keys typed
// into its field, the text it shows read back, and no request made once it has loaded.
//
//   BIN2DEC_PAGE=bin2dec-<version>.html BIN2DEC_SCREENSHOTS=DIR node --test test/
//
// BIN2DEC_BROWSERS names the browsers (chromium,firefox by default).
import assert from "node:assert/strict";
import { mkdtempSync, readFileSync, rmSync } from "node:fs";
import { createServer } from "node:http";
import { tmpdir } from "node:os";
import path from "node:path";
import { after, before, describe, test } from "node:test";
import { createRequire } from "node:module";
import { pathToFileURL } from "node:url";
import puppeteer from "puppeteer-core";
import { launchOptions } from "../browsers.mjs";

const pagePath = path.resolve(process.env.BIN2DEC_PAGE ?? "");
const screenshots = path.resolve(process.env.BIN2DEC_SCREENSHOTS ?? ".");
const browsers = (process.env.BIN2DEC_BROWSERS ?? "chromium,firefox").split(",");
const axeSource = readFileSync(createRequire(import.meta.url).resolve("axe-core/axe.min.js"), "utf8");

// The program's texts, from the transcript of what it writes for 10110011 read from a pipe.
const [prompt, frame, firstLine, secondLine] = readFileSync(
  new URL("../../tests/report-for-10110011.txt", import.meta.url), "utf8").split("\n");
const firstLabel = firstLine.replace("10110011", "");
const secondLabel = secondLine.replace("179", "");
const report = (echoed, value) =>
  `\n${frame}\n${firstLabel}${echoed}\n${secondLabel}${value}\n${frame}\n`;
// What the live region gives a screen reader of a run's report: its two lines, as one.
const announcement = (echoed, value) => `${firstLabel}${echoed} ${secondLabel}${value}`;

// What is typed, a key or a line at a time, and what the screen then shows of the run. Enter
// passes a line with its line end; Ctrl-D and the button end the input, after what is in the field.
const cases = [
  { name: "eight digits", keys: ["10110011", "Enter"], shown: `${prompt}10110011\n${report("10110011", 179)}` },
  { name: "leading zeros", keys: ["011", "Enter"], shown: `${prompt}011\n${report(11, 3)}` },
  { name: "text after", keys: ["101abc", "Enter"], shown: `${prompt}101abc\n${report(101, 5)}` },
  { name: "a plus sign", keys: ["+101", "Enter"], shown: `${prompt}+101\n${report(101, 5)}` },
  { name: "a minus sign", keys: ["-101", "Enter"], shown: `${prompt}-101\n${report(-101, -5)}` },
  { name: "other digits", keys: ["12345678", "Enter"], shown: `${prompt}12345678\n${report(12345678, 170)}` },
  { name: "nine digits", keys: ["111111111", "Enter"], shown: `${prompt}111111111\n${report(111111111, 255)}` },
  { name: "above the range", keys: ["2147483648", "Enter"], shown: `${prompt}2147483648\n${report(2147483647, 73)}` },
  { name: "below the range", keys: ["-2147483649", "Enter"], shown: `${prompt}-2147483649\n${report(-2147483648, -72)}` },
  { name: "letters only", keys: ["abc", "Enter"], shown: `${prompt}abc\n${report(0, 0)}` },
  { name: "a sign alone", keys: ["-", "Enter"], shown: `${prompt}-\n${report(0, 0)}` },
  {
    name: "a line of blanks, which leaves it waiting, then a number",
    keys: ["   ", "Enter"],
    waiting: `${prompt}   \n`,
    then: ["101", "Enter"],
    shown: `${prompt}   \n101\n${report(101, 5)}`,
  },
  { name: "Ctrl-D on an empty line", keys: ["Control+d"], shown: `${prompt}${report(0, 0)}` },
  { name: "the end-of-input button", keys: ["button"], shown: `${prompt}${report(0, 0)}` },
  { name: "a number, then Ctrl-D", keys: ["101", "Control+d"], shown: `${prompt}101${report(101, 5)}` },
];

// Types each of the keys: text into the field, Enter, Ctrl-D, or a click on the end-of-input button.
async function typeKeys(page, keys) {
  for (const key of keys) {
    if (key === "button") {
      await page.click("#end");
    } else if (key === "Enter") {
      await page.keyboard.press("Enter");
    } else if (key === "Control+d") {
      await page.keyboard.down("Control");
      await page.keyboard.press("d");
      await page.keyboard.up("Control");
    } else {
      await page.type("#line", key);
    }
  }
}

// Waits until the screen shows the text, and says what it showed instead if it does not.
async function expectScreen(page, text) {
  try {
    await page.waitForFunction((wanted) => document.getElementById("screen").textContent === wanted,
      { timeout: 10_000, polling: 50 }, text);
  } catch {
    const shown = await page.$eval("#screen", (screen) => screen.textContent);
    assert.equal(shown, text, "the page shows other text than a terminal would");
  }
}

// Notes each text that the live region gets, which a screen reader reads out once.
function noteAnnouncements() {
  window.announced = [];
  document.addEventListener("DOMContentLoaded", () => {
    const region = document.getElementById("report");
    new MutationObserver(() => window.announced.push(region.textContent))
      .observe(region, { childList: true, characterData: true, subtree: true });
  });
}

// Runs axe-core on the page as it stands, with the rules of WCAG 2.2 A and AA and axe's best
// practices, and fails with each violation and where it is.
async function expectNoViolations(page, when) {
  await page.evaluate(axeSource);
  const violations = await page.evaluate(async () => {
    const tags = ["wcag2a", "wcag2aa", "wcag21a", "wcag21aa", "wcag22aa", "best-practice"];
    const results = await window.axe.run(document, { runOnly: { type: "tag", values: tags } });
    return results.violations.map((v) => `${v.id} (${v.help}): ${v.nodes.map((n) => n.target).join(", ")}`);
  });
  assert.deepEqual(violations, [], `axe finds these faults, ${when}`);
}

// Serves the page alone on 127.0.0.1 and counts what is asked of the server.
function serve(html) {
  const server = createServer((request, response) => {
    server.asked.push(request.url);
    response.writeHead(200, { "Content-Type": "text/html; charset=utf-8" });
    response.end(html);
  });
  server.asked = [];
  return new Promise((resolve) => server.listen(0, "127.0.0.1", () => resolve(server)));
}

// A page in the user's light or dark setting, and what closes it: in Chromium, emulated in the
// browser given; in Firefox, which puppeteer cannot emulate it in, in a browser of its own started
// with the setting.
async function inScheme(browser, name, scheme) {
  if (name === "chromium") {
    const page = await browser.newPage();
    await page.emulateMediaFeatures([{ name: "prefers-color-scheme", value: scheme }]);
    return [page, () => page.close()];
  }
  const own = await puppeteer.launch({
    ...launchOptions[name],
    headless: true,
    extraPrefsFirefox: { "layout.css.prefers-color-scheme.content-override": scheme === "dark" ? 0 : 1 },
  });
  return [await own.newPage(), () => own.close()];
}

for (const name of browsers) {
  describe(`the page in ${name}`, () => {
    let browser;
    let server;
    let profile;
    before(async () => {
      profile = mkdtempSync(path.join(tmpdir(), `bin2dec-${name}-`));
      browser = await puppeteer.launch({ ...launchOptions[name], headless: true, userDataDir: profile });
      server = await serve(readFileSync(pagePath));
    });
    after(async () => {
      await browser?.close();
      server?.close();
      rmSync(profile, { recursive: true, force: true });
    });

    const origins = {
      "from a file": () => pathToFileURL(pagePath).href,
      "from a server": () => `http://127.0.0.1:${server.address().port}/bin2dec.html`,
    };
    for (const [origin, url] of Object.entries(origins)) {
      test(`converts as the program does, ${origin}, and asks for nothing once loaded`, async () => {
        const page = await browser.newPage();
        const asked = [];
        // A request that the page's own policy refuses never reaches the network, but is asked
        // for all the same.
        await page.evaluateOnNewDocument(() => {
          window.refused = [];
          document.addEventListener("securitypolicyviolation", (event) => window.refused.push(event.blockedURI));
        });
        await page.evaluateOnNewDocument(noteAnnouncements);
        const servedBefore = server.asked.length;
        await page.goto(url(), { waitUntil: "load" });
        page.on("request", (request) => asked.push(request.url()));
        await expectScreen(page, prompt);

        let earlierRuns = "";
        for (const row of cases) {
          await typeKeys(page, row.keys);
          if (row.waiting) {
            await expectScreen(page, earlierRuns + row.waiting);
            await typeKeys(page, row.then);
          }
          earlierRuns += row.shown;
          await expectScreen(page, earlierRuns + prompt);
          assert.equal(await page.evaluate(() => document.activeElement?.id), "line",
            `after ${row.name}, the field has lost the focus`);
        }
        const announced = await page.evaluate(() => window.announced);
        assert.equal(announced.length, cases.length,
          `${cases.length} runs, but the live region was given these: ${announced}`);
        assert.equal(announced.at(-1), announcement(101, 5));
        asked.push(...(await page.evaluate(() => window.refused)));
        asked.push(...server.asked.slice(servedBefore + (origin === "from a server" ? 1 : 0)));
        assert.deepEqual(asked, [], "the page asked for these after it had loaded");
        await page.close();
      });
    }

    // A phone's screen, 320 or 360 px wide: the page no wider, each line of the report on one line
    // and all of it in view, its text 9 px at the least, and the field's 16 px, under which a
    // phone zooms in on it. The phones are set to dark, to show both of the user's settings.
    test("shows a conversion whole at desktop and at phone widths", async () => {
      const screens = [[1024, 640, "desktop"], [360, 720, "phone-360"], [320, 640, "phone-320"]];
      for (const [width, height, form] of screens) {
        const [page, close] = await inScheme(browser, name, form === "desktop" ? "light" : "dark");
        try {
          await page.setViewport({ width, height });
          await page.goto(pathToFileURL(pagePath).href, { waitUntil: "load" });
          await expectScreen(page, prompt);
          await typeKeys(page, ["10110011", "Enter"]);
          await expectScreen(page, `${prompt}10110011\n${report("10110011", 179)}${prompt}`);
          const overflow = await page.evaluate(() => document.documentElement.scrollWidth - innerWidth);
          assert.ok(overflow <= 0, `the page is ${overflow} px wider than a ${width} px screen`);
          const shown = await page.evaluate((line) => {
            const screen = document.getElementById("screen");
            const text = screen.firstChild;
            const range = document.createRange();
            const at = text.data.indexOf(line);
            range.setStart(text, at);
            range.setEnd(text, at + line.length);
            const terminal = document.getElementById("terminal");
            const inside = terminal.getBoundingClientRect();
            const lines = [...range.getClientRects()].filter((rect) => rect.width > 0);
            return {
              lines: lines.length,
              inView: lines.every((rect) => rect.right <= inside.right && rect.left >= inside.left),
              text: parseFloat(getComputedStyle(screen).fontSize),
              field: parseFloat(getComputedStyle(document.getElementById("line")).fontSize),
            };
          }, frame);
          assert.equal(shown.lines, 1, `at ${width} px, a line of the frame breaks into ${shown.lines}`);
          assert.ok(shown.inView, `at ${width} px, a line of the frame runs past the terminal's edge`);
          assert.ok(shown.text >= 9, `at ${width} px, the terminal's text is ${shown.text} px`);
          assert.ok(shown.field >= 16, `at ${width} px, the field's text is ${shown.field} px`);
          await page.screenshot({ path: path.join(screenshots, `${name}-${form}.png`) });
          if (form === "desktop") {
            // The terminal alone, as the README shows it: no version, which would go stale.
            const terminal = await page.$("#terminal");
            await terminal.screenshot({ path: path.join(screenshots, `${name}-terminal.png`) });
          }
        } finally {
          await close();
        }
      }
    });

    // The keyboard alone: the field has the focus once the prompt shows; Tab and Shift-Tab go
    // between it and the button; the button, pressed with Space, ends the input and gives the
    // focus back to the field, where a number and Enter convert; and the button's Tab leaves the
    // page, whose focus nothing traps.
    test("works with the keyboard alone, and keeps the focus in the field", async () => {
      const page = await browser.newPage();
      await page.goto(pathToFileURL(pagePath).href, { waitUntil: "load" });
      await expectScreen(page, prompt);
      const focused = () =>
        page.evaluate(() => document.activeElement?.id || document.activeElement?.tagName);
      const press = async (...keys) => {
        const stops = [];
        for (const key of keys) {
          if (key === "Shift+Tab") {
            await page.keyboard.down("Shift");
            await page.keyboard.press("Tab");
            await page.keyboard.up("Shift");
          } else {
            await page.keyboard.press(key);
          }
          stops.push(await focused());
        }
        return stops;
      };
      assert.equal(await focused(), "line", "the field does not have the focus once the prompt shows");
      assert.deepEqual(await press("Tab", "Shift+Tab", "Tab"), ["end", "line", "end"],
        "Tab and Shift-Tab do not go between the field and the button");
      await press(" "); // Space
      await expectScreen(page, `${prompt}${report(0, 0)}${prompt}`);
      assert.equal(await focused(), "line", "the end-of-input button does not give the focus back");
      await page.keyboard.type("101");
      await press("Enter");
      await expectScreen(page, `${prompt}${report(0, 0)}${prompt}101\n${report(101, 5)}${prompt}`);
      assert.equal(await focused(), "line", "Enter takes the focus from the field");
      assert.deepEqual(await press("Tab", "Tab"), ["end", "BODY"],
        "Tab from the button does not leave the page");
      await page.close();
    });

    // In the user's light and dark settings (Chromium's emulated; Firefox's set by its preference,
    // in a browser of its own for each), before a conversion and after one.
    test("has no fault that axe-core finds, light and dark, before and after a conversion", async () => {
      for (const scheme of ["light", "dark"]) {
        const [page, close] = await inScheme(browser, name, scheme);
        try {
          await page.goto(pathToFileURL(pagePath).href, { waitUntil: "load" });
          assert.equal(await page.evaluate(() => matchMedia("(prefers-color-scheme: dark)").matches),
            scheme === "dark", `the page is not shown in the ${scheme} setting`);
          await expectScreen(page, prompt);
          await expectNoViolations(page, `${scheme}, before a conversion`);
          await typeKeys(page, ["10110011", "Enter"]);
          await expectScreen(page, `${prompt}10110011\n${report("10110011", 179)}${prompt}`);
          await expectNoViolations(page, `${scheme}, after a conversion`);
        } finally {
          await close();
        }
      }
    });
  });
}
