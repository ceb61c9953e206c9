// How the page's test and benchmark start each browser: Debian's, headless.
export const launchOptions = {
  chromium: {
    browser: "chrome",
    executablePath: "/usr/bin/chromium",
    // Without these, Chromium reaches for Google's services, which this page has nothing to do with.
    args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-sync",
      "--disable-background-networking", "--disable-component-update"],
  },
  firefox: { browser: "firefox", executablePath: "/usr/bin/firefox-esr" },
};
