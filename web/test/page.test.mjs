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
import { pathToFileURL } from "node:url";
import puppeteer from "puppeteer-core";

const pagePath = path.resolve(process.env.BIN2DEC_PAGE ?? "");
const screenshots = path.resolve(process.env.BIN2DEC_SCREENSHOTS ?? ".");
const browsers = (process.env.BIN2DEC_BROWSERS ?? "chromium,firefox").split(",");

// The program's texts, from the transcript of what it writes for 10110011 read from a pipe.
const [prompt, frame, firstLine, secondLine] = readFileSync(
  new URL("../../tests/report-for-10110011.txt", import.meta.url), "utf8").split("\n");
const firstLabel = firstLine.replace("10110011", "");
const secondLabel = secondLine.replace("179", "");
const report = (echoed, value) =>
  `\n${frame}\n${firstLabel}${echoed}\n${secondLabel}${value}\n${frame}\n`;

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

const launchOptions = {
  chromium: {
    browser: "chrome",
    executablePath: "/usr/bin/chromium",
    // Without these, Chromium reaches for Google's services, which this page has nothing to do with.
    args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-sync",
      "--disable-background-networking", "--disable-component-update"],
  },
  firefox: { browser: "firefox", executablePath: "/usr/bin/firefox-esr" },
};

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
        }
        const announced = await page.$eval("#report", (element) => element.textContent);
        assert.equal(announced, "The unsigned binary number: 101 equals the decimal number: 5");
        asked.push(...(await page.evaluate(() => window.refused)));
        asked.push(...server.asked.slice(servedBefore + (origin === "from a server" ? 1 : 0)));
        assert.deepEqual(asked, [], "the page asked for these after it had loaded");
        await page.close();
      });
    }

    // Chromium's phone is set to dark, to show both of the user's settings (puppeteer cannot set
    // it in Firefox).
    test("shows a conversion at desktop and at phone width", async () => {
      for (const [width, height, form] of [[1024, 640, "desktop"], [360, 720, "phone"]]) {
        const page = await browser.newPage();
        await page.setViewport({ width, height });
        if (form === "phone" && name === "chromium") {
          await page.emulateMediaFeatures([{ name: "prefers-color-scheme", value: "dark" }]);
        }
        await page.goto(pathToFileURL(pagePath).href, { waitUntil: "load" });
        await expectScreen(page, prompt);
        await typeKeys(page, ["10110011", "Enter"]);
        await expectScreen(page, `${prompt}10110011\n${report("10110011", 179)}${prompt}`);
        const overflow = await page.evaluate(() => document.documentElement.scrollWidth - innerWidth);
        assert.ok(overflow <= 0, `the page is ${overflow} px wider than a ${width} px screen`);
        await page.screenshot({ path: path.join(screenshots, `${name}-${form}.png`) });
        await page.close();
      }
    });

    if (name === "chromium") {
      test("shows the prompt soon after it starts loading", async () => {
        const page = await browser.newPage();
        await page.goto(pathToFileURL(pagePath).href, { waitUntil: "load" });
        const shownAt = await page.waitForFunction(
          (wanted) => document.getElementById("screen").textContent === wanted && performance.now(),
          { polling: "mutation" }, prompt);
        console.log(`the prompt showed ${Math.round(await shownAt.jsonValue())} ms after loading began`);
        await page.close();
      });
    }
  });
}
