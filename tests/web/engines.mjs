// The three engines that players use, each driven by what works with Debian's
// build of it, behind one small interface for the cases that run in all of
// them: Chromium through playwright-core, Firefox ESR over WebDriver BiDi
// through puppeteer-core, and WebKitGTK's MiniBrowser over classic WebDriver
// (WebKitWebDriver), spoken over HTTP here, on a virtual display of its own
// (Xvfb) or on the one that KEYHAVEN_TEST_DISPLAY names.
//
// A page here: open(url), title(), evaluate(fn, arg) (fn runs in the page, a
// promise it returns is awaited), click(selector) with the mouse, type(text)
// and press(key) as real key events, reload(), screenshot(file), close().
import { spawn } from "node:child_process";
import { mkdtempSync, rmSync, writeFileSync } from "node:fs";
import { createServer } from "node:net";
import { tmpdir } from "node:os";
import { join } from "node:path";

import puppeteer from "puppeteer-core";

import { launchChromium } from "./site.mjs";

export const engineNames = ["chromium", "firefox", "webkit"];

// What the case asks of a page, the same for Playwright's and Puppeteer's.
function pageCalls(page, close) {
  return {
    open: (url) => page.goto(url),
    title: () => page.title(),
    evaluate: (fn, arg) => page.evaluate(fn, arg),
    click: (selector) => page.click(selector),
    type: (text) => page.keyboard.type(text),
    press: (key) => page.keyboard.press(key),
    reload: () => page.reload(),
    screenshot: (file) => page.screenshot({ path: file }),
    close,
  };
}

async function chromiumEngine() {
  const browser = await launchChromium();
  return {
    version: `Chromium ${browser.version()}`,
    async newPage() {
      const page = await (await browser.newContext()).newPage();
      return pageCalls(page, () => page.context().close());
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
      return pageCalls(page, () => page.close());
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
  // Classic WebDriver: a session, then one HTTP request a command.
  const command = async (method, path, body) => {
    const response = await fetch(`http://127.0.0.1:${port}/session${path}`, {
      method, headers: { "Content-Type": "application/json" }, body: body && JSON.stringify(body),
    });
    const { value } = await response.json();
    if (!response.ok)
      throw new Error(`WebDriver ${method} ${path}: ${value.error}: ${value.message}`);
    return value;
  };
  let session;
  try {
    for (let tries = 0; ; ++tries) {
      try {
        session = await command("POST", "", { capabilities: { alwaysMatch: {
          browserName: "MiniBrowser",
          "webkitgtk:browserOptions": { binary: "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser",
                                        args: ["--automation"] },
        } } });
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
  const run = (method, path, body) => command(method, `/${session.sessionId}${path}`, body);
  const version = `WebKitGTK ${session.capabilities.browserVersion}`;
  await run("POST", "/window/rect", { width: 1280, height: 720 });
  // Classic WebDriver runs a function given as its text, with its argument.
  const evaluate = (fn, arg) => run("POST", "/execute/sync", { script: `return (${fn})(arguments[0]);`, args: [arg] });
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
    const actions = keys.flatMap((key) => [
      { type: "keyDown", value: key }, { type: "keyUp", value: key }, { type: "pause", duration: 1 },
    ]);
    await run("POST", "/actions", { actions: [{ type: "key", id: "keyboard", actions }] });
    for (const started = Date.now(); Date.now() - started < 5000; await new Promise((wait) => setTimeout(wait, 10))) {
      if (await keydowns().catch(() => before) >= before + keys.length)
        return;
    }
  };
  return {
    version,
    async newPage() {
      return {
        open: (url) => run("POST", "/url", { url }),
        title: () => run("GET", "/title"),
        evaluate,
        click: async (selector) => {
          const element = await run("POST", "/element", { using: "css selector", value: selector });
          await run("POST", `/element/${Object.values(element)[0]}/click`, {});
        },
        type: (text) => sendKeys([...text]),
        press: (key) => sendKeys([WEBDRIVER_KEYS[key] ?? key]),
        reload: () => run("POST", "/refresh", {}),
        screenshot: async (file) => writeFileSync(file, Buffer.from(await run("GET", "/screenshot"), "base64")),
        close: async () => {},
      };
    },
    async close() {
      await run("DELETE", "").catch(() => {});
      driver.kill();
      xvfb?.stop();
    },
  };
}

export function launchEngine(name) {
  return { chromium: chromiumEngine, firefox: firefoxEngine, webkit: webkitEngine }[name]();
}
