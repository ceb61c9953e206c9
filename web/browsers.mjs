// How the page's test and benchmark drive each browser, all in one way: Debian's Chromium and
// Firefox through puppeteer, headless, and WebKit, the engine of Safari and of every browser on
// an iPhone, as WebKitGTK's MiniBrowser through its WebDriver (WebKitWebDriver), on a display of
// its own from Xvfb.
//
//   const browser = await launch("webkit", { scheme: "dark" });
//   const tab = await browser.newTab();
//   await tab.goto(url, { width: 320, height: 640 });
//
// A tab: goto(url, size), evaluate(fn, ...args) (in the page, whose promise it waits for),
// run(source) (a script's source, in the page), waitFor(fn, arg), type(selector, text) (focusing
// that field first), keys(text) and press(key) (Enter, Tab, Shift+Tab, Control+d, a space; to what
// has the focus), click(selector), screenshot(file), close(); requested, what puppeteer saw asked
// of the network since the last load (nothing in WebKit, whose classic WebDriver tells no
// requests); and in Chromium and Firefox screenshotOf(selector, file), as WebKitGTK's screenshot
// of one element shifts what it shows under the window's bar.
import { spawn } from "node:child_process";
import { mkdtempSync, rmSync, writeFileSync } from "node:fs";
import { createServer } from "node:net";
import { tmpdir } from "node:os";
import path from "node:path";
import { pathToFileURL } from "node:url";
import puppeteer from "puppeteer-core";
import { Builder, By, Key } from "selenium-webdriver";

export const engines = { chromium: "Blink", firefox: "Gecko", webkit: "WebKit" };

const puppeteerOptions = {
  chromium: {
    browser: "chrome",
    executablePath: "/usr/bin/chromium",
    // Without these, Chromium reaches for Google's services, which this page has nothing to do with.
    args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-sync",
      "--disable-background-networking", "--disable-component-update"],
  },
  firefox: { browser: "firefox", executablePath: "/usr/bin/firefox-esr" },
};

// Starts the browser `name` in the user's light or dark setting: Chromium's emulated in each tab,
// Firefox's set by its preference, and MiniBrowser started in its dark mode.
export async function launch(name, { scheme = "light" } = {}) {
  if (name === "webkit") {
    return launchWebKit(scheme);
  }
  if (!puppeteerOptions[name]) {
    throw new Error(`no browser '${name}': chromium, firefox or webkit`);
  }
  const profile = mkdtempSync(path.join(tmpdir(), `bin2dec-${name}-`));
  const browser = await puppeteer.launch({
    ...puppeteerOptions[name],
    headless: true,
    userDataDir: profile,
    extraPrefsFirefox: { "layout.css.prefers-color-scheme.content-override": scheme === "dark" ? 0 : 1 },
  });
  return {
    async newTab() {
      const page = await browser.newPage();
      if (name === "chromium") {
        await page.emulateMediaFeatures([{ name: "prefers-color-scheme", value: scheme }]);
      }
      return puppeteerTab(page);
    },
    async close() {
      await browser.close();
      rmSync(profile, { recursive: true, force: true });
    },
  };
}

function puppeteerTab(page) {
  const tab = {
    requested: [],
    async goto(url, { width = 1024, height = 640 } = {}) {
      await page.setViewport({ width, height });
      page.removeAllListeners("request");
      await page.goto(url, { waitUntil: "load" });
      tab.requested = [];
      page.on("request", (request) => tab.requested.push(request.url()));
    },
    evaluate: (fn, ...args) => page.evaluate(fn, ...args),
    run: (source) => page.evaluate(source),
    waitFor: (fn, arg) => waitFor(tab, fn, arg),
    type: (selector, text) => page.type(selector, text),
    keys: (text) => page.keyboard.type(text),
    async press(key) {
      const [modifier, plain] = key.includes("+") ? key.split("+") : [null, key];
      if (modifier) {
        await page.keyboard.down(modifier);
      }
      await page.keyboard.press(plain);
      if (modifier) {
        await page.keyboard.up(modifier);
      }
    },
    click: (selector) => page.click(selector),
    screenshot: (file) => page.screenshot({ path: file }),
    screenshotOf: async (selector, file) => (await page.$(selector)).screenshot({ path: file }),
    close: () => page.close(),
  };
  return tab;
}

// Polls fn(arg) in the page until it gives something true, for 10 s at the most; gives that.
async function waitFor(tab, fn, arg) {
  for (const end = Date.now() + 10_000; ;) {
    const value = await tab.evaluate(fn, arg);
    if (value || Date.now() > end) {
      return value;
    }
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
}

// A port that nothing listens on, for WebKitWebDriver to listen on.
function freePort() {
  return new Promise((resolve, reject) => {
    const server = createServer().once("error", reject).listen(0, "127.0.0.1", () => {
      const { port } = server.address();
      server.close(() => resolve(port));
    });
  });
}

// WebKitWebDriver on a display of Xvfb's of its own (xvfb-run, which needs xauth), and a session
// of MiniBrowser's in it, in a window 1024 px wide. The window cannot be made narrower than about
// 450 px, so a tab narrower than the window holds the page in a frame of its width, which lays it
// out as a screen of that width would.
async function launchWebKit(scheme) {
  const port = await freePort();
  const driver = spawn("xvfb-run", ["--auto-servernum", "--server-args=-screen 0 1280x1024x24",
    "WebKitWebDriver", `--port=${port}`], { detached: true, stdio: ["ignore", "ignore", "pipe"] });
  let errors = "";
  driver.stderr.on("data", (data) => { errors += data; });
  const stop = () => { try { process.kill(-driver.pid, "SIGTERM"); } catch { /* ended already */ } };
  const server = `http://127.0.0.1:${port}`;
  for (const end = Date.now() + 10_000; ;) {
    if (await fetch(`${server}/status`).then((answer) => answer.ok, () => false)) {
      break;
    }
    if (Date.now() > end || driver.exitCode !== null) {
      stop();
      throw new Error(`WebKitWebDriver did not start: ${errors}`);
    }
    await new Promise((resolve) => setTimeout(resolve, 100));
  }
  const args = ["--automation", ...(scheme === "dark" ? ["--dark-mode"] : [])];
  let session;
  try {
    session = await new Builder().usingServer(server)
      .withCapabilities({ browserName: "MiniBrowser", "webkitgtk:browserOptions": { args } }).build();
  } catch (error) {
    stop();
    throw error;
  }
  const frames = mkdtempSync(path.join(tmpdir(), "bin2dec-webkit-"));
  return {
    // One window, so one tab at a time.
    newTab: async () => webKitTab(session, frames),
    async close() {
      await session.quit().catch(() => {});
      stop();
      rmSync(frames, { recursive: true, force: true });
    },
  };
}

function webKitTab(session, frames) {
  const keys = { "Enter": Key.ENTER, "Tab": Key.TAB, " ": Key.SPACE, "Shift": Key.SHIFT, "Control": Key.CONTROL };
  const windowWidth = 1024;
  let framed = false;
  const intoTheFrame = async () => {
    if (framed) {
      await session.switchTo().frame(await session.findElement(By.id("frame")));
    }
  };
  const tab = {
    requested: [],
    async goto(url, { width = windowWidth, height = 640 } = {}) {
      await session.switchTo().defaultContent();
      // The window's bar takes about 40 px of its height.
      await session.manage().window().setRect({ width: windowWidth, height: height + 40 });
      framed = width < windowWidth;
      if (framed) {
        // A frame of the size asked, on a grey ground.
        const frame = path.join(frames, `${width}x${height}.html`);
        writeFileSync(frame, "<!doctype html><title>frame</title><style>body { margin: 0; background: #777 }" +
          ` iframe { border: 0; display: block; width: ${width}px; height: ${height}px }</style>` +
          `<iframe id="frame" src="${url}"></iframe>`);
        await session.get(pathToFileURL(frame).href);
        await intoTheFrame();
      } else {
        await session.get(url);
      }
      await session.wait(() => session.executeScript("return document.readyState === 'complete'"), 10_000);
    },
    // fn's source, called with args in the page; a promise it gives is waited for.
    async evaluate(fn, ...args) {
      const [value, error] = await session.executeAsyncScript(
        `const done = arguments[arguments.length - 1];
        Promise.resolve().then(() => (${fn}).apply(null, Array.from(arguments).slice(0, -1)))
          .then((value) => done([value === undefined ? null : value, null]), (error) => done([null, String(error)]));`,
        ...args);
      if (error) {
        throw new Error(`in WebKit: ${error}`);
      }
      return value;
    },
    run: (source) => session.executeScript(source),
    waitFor: (fn, arg) => waitFor(tab, fn, arg),
    // Clicked first, as a person would, which gives the focus to a frame's field too: WebDriver's
    // typing into an element finds one in a frame not focusable.
    async type(selector, text) {
      await (await session.findElement(By.css(selector))).click();
      await session.actions().sendKeys(text).perform();
    },
    keys: (text) => session.actions().sendKeys(text).perform(),
    async press(key) {
      const [modifier, plain] = key.includes("+") ? key.split("+") : [null, key];
      const actions = session.actions();
      if (modifier) {
        actions.keyDown(keys[modifier]);
      }
      actions.sendKeys(keys[plain] ?? plain);
      if (modifier) {
        actions.keyUp(keys[modifier]);
      }
      await actions.perform();
    },
    click: async (selector) => (await session.findElement(By.css(selector))).click(),
    // The window's whole view, with any frame at its top left.
    async screenshot(file) {
      await session.switchTo().defaultContent();
      writeFileSync(file, Buffer.from(await session.takeScreenshot(), "base64"));
      await intoTheFrame();
    },
    close: async () => {},
  };
  return tab;
}
