// The three engines that players use, each driven by what works with Debian's
// build of it, behind one small interface for the cases that run in all of
// them: Chromium through playwright-core, Firefox ESR over WebDriver BiDi
// through puppeteer-core, and WebKitGTK's MiniBrowser over classic WebDriver
// (WebKitWebDriver) through webdriverio, on a virtual display of its own
// (Xvfb) or on the one that KEYHAVEN_TEST_DISPLAY names.
//
// A page here: open(url), title(), evaluate(fn, arg) (fn runs in the page, a
// promise it returns is awaited), click(selector) with the mouse, type(text)
// and press(key) as real key events, reload(), screenshot(file), close().
import { spawn } from "node:child_process";
import { mkdtempSync, rmSync } from "node:fs";
import { createServer } from "node:net";
import { tmpdir } from "node:os";
import { join } from "node:path";

import puppeteer from "puppeteer-core";
import { remote } from "webdriverio";

import { launchChromium } from "./site.mjs";

export const engineNames = ["chromium", "firefox", "webkit"];

async function chromiumEngine() {
  const browser = await launchChromium();
  return {
    version: `Chromium ${browser.version()}`,
    async newPage() {
      const page = await (await browser.newContext()).newPage();
      return {
        open: (url) => page.goto(url),
        title: () => page.title(),
        evaluate: (fn, arg) => page.evaluate(fn, arg),
        click: (selector) => page.click(selector),
        type: (text) => page.keyboard.type(text),
        press: (key) => page.keyboard.press(key),
        reload: () => page.reload(),
        screenshot: (file) => page.screenshot({ path: file }),
        close: () => page.context().close(),
      };
    },
    close: () => browser.close(),
  };
}

async function firefoxEngine() {
  const profile = mkdtempSync(join(tmpdir(), "keyhaven-firefox-"));
  const browser = await puppeteer.launch({
    browser: "firefox", executablePath: "/usr/bin/firefox-esr", headless: true, userDataDir: profile,
    // Off the network that this machine does not reach: no updates, reports or studies.
    extraPrefsFirefox: { "app.update.enabled": false, "datareporting.policy.dataSubmissionEnabled": false,
                         "toolkit.telemetry.enabled": false, "browser.shell.checkDefaultBrowser": false },
  });
  return {
    version: `Firefox ${(await browser.version()).replace(/^firefox\//, "")}`,
    async newPage() {
      // The tab that Firefox starts with never gets the focus: a new one does.
      const page = await browser.newPage();
      for (const other of await browser.pages()) {
        if (other !== page)
          await other.close();
      }
      await page.setViewport({ width: 1280, height: 720 });
      return {
        open: (url) => page.goto(url),
        title: () => page.title(),
        evaluate: (fn, arg) => page.evaluate(fn, arg),
        click: (selector) => page.click(selector),
        type: (text) => page.keyboard.type(text),
        press: (key) => page.keyboard.press(key),
        reload: () => page.reload(),
        screenshot: (file) => page.screenshot({ path: file }),
        close: () => page.close(),
      };
    },
    async close() {
      await browser.close();
      rmSync(profile, { recursive: true, force: true });
    },
  };
}

function freePort() {
  return new Promise((resolve) => {
    const server = createServer().listen(0, "127.0.0.1", () => {
      const { port } = server.address();
      server.close(() => resolve(port));
    });
  });
}

// An X server of its own, on the first free display number, that it tells.
function startXvfb() {
  return new Promise((resolve, reject) => {
    const xvfb = spawn("Xvfb", ["-displayfd", "3", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                       { stdio: ["ignore", "ignore", "ignore", "pipe"] });
    xvfb.on("error", reject);
    let told = "";
    xvfb.stdio[3].on("data", (data) => {
      told += data;
      if (told.includes("\n"))
        resolve({ display: `:${told.trim()}`, stop: () => xvfb.kill() });
    });
  });
}

// WebDriver keys: the standard's code points for the keys without a character.
const WEBDRIVER_KEYS = { Enter: "\uE007", Escape: "\uE00C", F5: "\uE035", F6: "\uE036" };

async function webkitEngine() {
  const xvfb = process.env.KEYHAVEN_TEST_DISPLAY ? null : await startXvfb();
  const display = process.env.KEYHAVEN_TEST_DISPLAY ?? xvfb.display;
  const port = await freePort();
  const driver = spawn("WebKitWebDriver", [`--port=${port}`], {
    env: { ...process.env, DISPLAY: display }, stdio: "ignore",
  });
  let browser;
  try {
    for (let tries = 0; ; ++tries) {
      try {
        browser = await remote({
          hostname: "127.0.0.1", port, logLevel: "error", connectionRetryCount: 0,
          capabilities: {
            browserName: "MiniBrowser", "wdio:enforceWebDriverClassic": true,
            "webkitgtk:browserOptions": { binary: "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser",
                                          args: ["--automation"] },
          },
        });
        break;
      } catch (error) {
        if (tries === 50)
          throw error;
        await new Promise((wait) => setTimeout(wait, 100));  // the driver is still starting
      }
    }
  } catch (error) {
    driver.kill();
    xvfb?.stop();
    throw error;
  }
  const version = `WebKitGTK ${browser.capabilities.browserVersion}`;
  await browser.setWindowSize(1280, 720);
  // Classic WebDriver runs a function given as its text, with its argument.
  const evaluate = (fn, arg) => browser.execute(`return (${fn})(arguments[0]);`, arg);
  // WebKitWebDriver answers before the page has had the keys: they count as
  // sent once the page has seen as many more keydown events. It drops the
  // second of two same keys in a row ("nn") unless a pause comes between them.
  const keydowns = () => evaluate(() => {
    if (!window.webdriverKeydowns) {
      window.webdriverKeydowns = { seen: 0 };
      addEventListener("keydown", () => ++window.webdriverKeydowns.seen, true);
    }
    return window.webdriverKeydowns.seen;
  });
  const sendKeys = async (keys) => {
    const before = await keydowns();
    const action = browser.action("key");
    for (const key of keys)
      action.down(key).up(key).pause(1);
    await action.perform();
    for (const started = Date.now(); Date.now() - started < 5000; await new Promise((wait) => setTimeout(wait, 10))) {
      if (await keydowns().catch(() => before) >= before + keys.length)
        return;
    }
  };
  return {
    version,
    async newPage() {
      return {
        open: (url) => browser.url(url),
        title: () => browser.getTitle(),
        evaluate,
        click: async (selector) => (await browser.$(selector)).click(),
        type: (text) => sendKeys([...text]),
        press: (key) => sendKeys([WEBDRIVER_KEYS[key] ?? key]),
        reload: () => browser.refresh(),
        screenshot: (file) => browser.saveScreenshot(file),
        close: async () => {},
      };
    },
    async close() {
      await browser.deleteSession().catch(() => {});
      driver.kill();
      xvfb?.stop();
    },
  };
}

export function launchEngine(name) {
  return { chromium: chromiumEngine, firefox: firefoxEngine, webkit: webkitEngine }[name]();
}
