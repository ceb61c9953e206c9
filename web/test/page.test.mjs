// The page as a person uses it, in real browsers (Chromium, Firefox and WebKit): opened from a
// file and from a server, keys typed into its field, the text it shows read back, and no request
// made once it has loaded.
//
//   BIN2DEC_PAGE=bin2dec-<version>.html BIN2DEC_SCREENSHOTS=DIR node --test test/
//
// BIN2DEC_BROWSERS names the browsers (chromium,firefox,webkit by default).
import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import { createServer } from "node:http";
import path from "node:path";
import { after, before, describe, test } from "node:test";
import { createRequire } from "node:module";
import { pathToFileURL } from "node:url";
import { engines, launch } from "../browsers.mjs";

const pagePath = path.resolve(process.env.BIN2DEC_PAGE ?? "");
const screenshots = path.resolve(process.env.BIN2DEC_SCREENSHOTS ?? ".");
const browsers = (process.env.BIN2DEC_BROWSERS ?? "chromium,firefox,webkit").split(",");
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
async function typeKeys(tab, keys) {
  for (const key of keys) {
    if (key === "button") {
      await tab.click("#end");
    } else if (key === "Enter" || key === "Control+d") {
      await tab.press(key);
    } else {
      await tab.type("#line", key);
    }
  }
}

// Waits until the screen shows the text, and says what it showed instead if it does not.
async function expectScreen(tab, text) {
  const shown = () => tab.evaluate(() => document.getElementById("screen").textContent);
  if (!(await tab.waitFor((wanted) => document.getElementById("screen").textContent === wanted, text))) {
    assert.equal(await shown(), text, "the page shows other text than a terminal would");
  }
}

// Begins to note, once the page has loaded, what it then asks for (requests that its own policy
// refuses, which never reach the network, and those it makes, which its resource timing lists)
// and each text that the live region gets, which a screen reader reads out once. Gives what the
// region holds already, which must be nothing.
function noteWhatFollows() {
  window.refused = [];
  document.addEventListener("securitypolicyviolation", (event) => window.refused.push(event.blockedURI));
  window.resourcesAtLoad = performance.getEntriesByType("resource").length;
  window.announced = [];
  const region = document.getElementById("report");
  new MutationObserver(() => window.announced.push(region.textContent))
    .observe(region, { childList: true, characterData: true, subtree: true });
  return region.textContent;
}

// What the page asked for since noteWhatFollows began.
const askedSince = () => [...window.refused,
  ...performance.getEntriesByType("resource").slice(window.resourcesAtLoad).map((entry) => entry.name)];

// Runs axe-core on the page as it stands, with the rules of WCAG 2.2 A and AA and axe's best
// practices, and fails with each violation and where it is.
async function expectNoViolations(tab, when) {
  await tab.run(axeSource);
  const violations = await tab.evaluate(async () => {
    const tags = ["wcag2a", "wcag2aa", "wcag21a", "wcag21aa", "wcag22aa", "best-practice"];
    const results = await window.axe.run(document, { runOnly: { type: "tag", values: tags } });
    return results.violations.map((v) => `${v.id} (${v.help}): ${v.nodes.map((n) => n.target).join(", ")}`);
  });
  assert.deepEqual(violations, [], `axe finds these faults, ${when}`);
}

// Serves the page alone on 127.0.0.1, and the page as a browser without Uint8Array.fromBase64
// (Safari before 18.2) has it, and notes what is asked of the server.
function serve(html) {
  const withoutFromBase64 = html.replace("<head>", "<head>\n<script>delete Uint8Array.fromBase64;</script>");
  const server = createServer((request, response) => {
    server.asked.push(request.url);
    response.writeHead(200, { "Content-Type": "text/html; charset=utf-8" });
    response.end(request.url === "/without-fromBase64.html" ? withoutFromBase64 : html);
  });
  server.asked = [];
  return new Promise((resolve) => server.listen(0, "127.0.0.1", () => resolve(server)));
}

for (const name of browsers) {
  describe(`the page in ${name} (${engines[name]})`, () => {
    let browser;
    let server;
    before(async () => {
      browser = await launch(name);
      server = await serve(readFileSync(pagePath, "utf8"));
    });
    after(async () => {
      await browser?.close();
      server?.close();
    });
    const served = (file) => `http://127.0.0.1:${server.address().port}/${file}`;

    const origins = {
      "from a file": () => pathToFileURL(pagePath).href,
      "from a server": () => served("bin2dec.html"),
    };
    for (const [origin, url] of Object.entries(origins)) {
      test(`converts as the program does, ${origin}, and asks for nothing once loaded`, async () => {
        const tab = await browser.newTab();
        const servedBefore = server.asked.length;
        await tab.goto(url());
        await expectScreen(tab, prompt);
        assert.equal(await tab.evaluate(noteWhatFollows), "", "the live region has text before any run");

        let earlierRuns = "";
        for (const row of cases) {
          await typeKeys(tab, row.keys);
          if (row.waiting) {
            await expectScreen(tab, earlierRuns + row.waiting);
            await typeKeys(tab, row.then);
          }
          earlierRuns += row.shown;
          await expectScreen(tab, earlierRuns + prompt);
          assert.equal(await tab.evaluate(() => document.activeElement?.id), "line",
            `after ${row.name}, the field has lost the focus`);
        }
        const announced = await tab.evaluate(() => window.announced);
        assert.equal(announced.length, cases.length,
          `${cases.length} runs, but the live region was given these: ${announced}`);
        assert.equal(announced.at(-1), announcement(101, 5));
        const asked = [...tab.requested, ...(await tab.evaluate(askedSince)),
          ...server.asked.slice(servedBefore + (origin === "from a server" ? 1 : 0))];
        assert.deepEqual(asked, [], "the page asked for these after it had loaded");
        await tab.close();
      });
    }

    // Safari before 18.2, on the iPhones not yet updated, has no Uint8Array.fromBase64: the page
    // decodes its module another way there.
    test("converts where the browser has no Uint8Array.fromBase64", async () => {
      const tab = await browser.newTab();
      await tab.goto(served("without-fromBase64.html"));
      await expectScreen(tab, prompt);
      assert.equal(await tab.evaluate(() => typeof Uint8Array.fromBase64), "undefined");
      await typeKeys(tab, ["10110011", "Enter"]);
      await expectScreen(tab, `${prompt}10110011\n${report("10110011", 179)}${prompt}`);
      await tab.close();
    });

    // A desktop's screen, and the phones': the iPhone SE's 320 and 375 px, and the common 360 and
    // 390 px. On each, the page is no wider, each line of the report on one line and all of it in
    // view, its text 9 px at the least, and the field's 16 px, under which a phone zooms in on it.
    // The phones are set to dark, to show both of the user's settings.
    test("shows a conversion whole at desktop and at phone widths", async () => {
      const screens = [[1024, 640, "desktop"], [320, 568, "phone-320"], [360, 720, "phone-360"],
        [375, 667, "phone-375"], [390, 844, "phone-390"]];
      const dark = await launch(name, { scheme: "dark" });
      try {
        for (const [width, height, form] of screens) {
          const tab = await (form === "desktop" ? browser : dark).newTab();
          await tab.goto(pathToFileURL(pagePath).href, { width, height });
          await expectScreen(tab, prompt);
          await typeKeys(tab, ["10110011", "Enter"]);
          await expectScreen(tab, `${prompt}10110011\n${report("10110011", 179)}${prompt}`);
          const overflow = await tab.evaluate(() => document.documentElement.scrollWidth - innerWidth);
          assert.ok(overflow <= 0, `the page is ${overflow} px wider than a ${width} px screen`);
          const shown = await tab.evaluate((line) => {
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
              width: innerWidth,
              lines: lines.length,
              inView: lines.every((rect) => rect.right <= inside.right && rect.left >= inside.left),
              text: parseFloat(getComputedStyle(screen).fontSize),
              field: parseFloat(getComputedStyle(document.getElementById("line")).fontSize),
            };
          }, frame);
          assert.equal(shown.width, width, `the page is laid out ${shown.width} px wide, not ${width}`);
          assert.equal(shown.lines, 1, `at ${width} px, a line of the frame breaks into ${shown.lines}`);
          assert.ok(shown.inView, `at ${width} px, a line of the frame runs past the terminal's edge`);
          assert.ok(shown.text >= 9, `at ${width} px, the terminal's text is ${shown.text} px`);
          assert.ok(shown.field >= 16, `at ${width} px, the field's text is ${shown.field} px`);
          await tab.screenshot(path.join(screenshots, `${name}-${form}.png`));
          if (form === "desktop" && tab.screenshotOf) {
            // The terminal alone, as the README shows it: no version, which would go stale.
            await tab.screenshotOf("#terminal", path.join(screenshots, `${name}-terminal.png`));
          }
          await tab.close();
        }
      } finally {
        await dark.close();
      }
    });

    // What a phone does to what is typed into a field, unless told not to: Safari on iOS corrects
    // and capitalises it, and any browser may mark its spelling, none of which a number wants.
    // WebKitGTK never corrects, so the attributes themselves are what is checked.
    test("tells a phone not to correct, capitalise or spell-check what is typed", async () => {
      const tab = await browser.newTab();
      await tab.goto(pathToFileURL(pagePath).href);
      const field = await tab.evaluate(() => {
        const line = document.getElementById("line");
        return ["autocorrect", "autocapitalize", "spellcheck", "autocomplete"]
          .map((attribute) => `${attribute}=${line.getAttribute(attribute)}`);
      });
      assert.deepEqual(field, ["autocorrect=off", "autocapitalize=off", "spellcheck=false", "autocomplete=off"]);
      await tab.close();
    });

    // The keyboard alone: the field has the focus once the prompt shows; Tab and Shift-Tab go
    // between it and the button; the button, pressed with Space, ends the input and gives the
    // focus back to the field, where a number and Enter convert; and the button's Tab is the
    // browser's, as the page traps nothing.
    test("works with the keyboard alone, and keeps the focus in the field", async () => {
      const tab = await browser.newTab();
      await tab.goto(pathToFileURL(pagePath).href);
      await expectScreen(tab, prompt);
      const focused = () =>
        tab.evaluate(() => document.activeElement?.id || document.activeElement?.tagName);
      const press = async (...keys) => {
        const stops = [];
        for (const key of keys) {
          await tab.press(key);
          stops.push(await focused());
        }
        return stops;
      };
      assert.equal(await focused(), "line", "the field does not have the focus once the prompt shows");
      assert.deepEqual(await press("Tab", "Shift+Tab", "Tab"), ["end", "line", "end"],
        "Tab and Shift-Tab do not go between the field and the button");
      await press(" ");
      await expectScreen(tab, `${prompt}${report(0, 0)}${prompt}`);
      assert.equal(await focused(), "line", "the end-of-input button does not give the focus back");
      await tab.keys("101");
      await press("Enter");
      await expectScreen(tab, `${prompt}${report(0, 0)}${prompt}101\n${report(101, 5)}${prompt}`);
      assert.equal(await focused(), "line", "Enter takes the focus from the field");
      // Last, the page must let the browser take Tab from the button: it leaves the page
      // (Chromium, Firefox), or comes round to its field where the browser has nothing else to
      // take the focus, as MiniBrowser run by WebDriver has no address bar.
      await tab.evaluate(() => window.addEventListener("keydown", (event) => {
        window.tabHeldBack = event.key === "Tab" && event.defaultPrevented;
      }));
      const [button, next] = await press("Tab", "Tab");
      assert.equal(button, "end");
      assert.ok(!(await tab.evaluate(() => window.tabHeldBack)) && ["BODY", "line"].includes(next),
        `Tab from the button does not leave it for the browser's next stop, but for ${next}`);
      await tab.close();
    });

    // In the user's light and dark settings (the dark in a browser of its own), before a conversion
    // and after one.
    test("has no fault that axe-core finds, light and dark, before and after a conversion", async () => {
      for (const scheme of ["light", "dark"]) {
        const own = scheme === "dark" ? await launch(name, { scheme }) : null;
        try {
          const tab = await (own ?? browser).newTab();
          await tab.goto(pathToFileURL(pagePath).href);
          assert.equal(await tab.evaluate(() => matchMedia("(prefers-color-scheme: dark)").matches),
            scheme === "dark", `the page is not shown in the ${scheme} setting`);
          await expectScreen(tab, prompt);
          await expectNoViolations(tab, `${scheme}, before a conversion`);
          await typeKeys(tab, ["10110011", "Enter"]);
          await expectScreen(tab, `${prompt}10110011\n${report("10110011", 179)}${prompt}`);
          await expectNoViolations(tab, `${scheme}, after a conversion`);
          await tab.close();
        } finally {
          await own?.close();
        }
      }
    });
  });
}
