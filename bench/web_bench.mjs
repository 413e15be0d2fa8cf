// Measures the page in headless Chromium, served from this machine: the time
// from a load to the opening dialog on the screen (median of 7 loads, each in
// a fresh browser context with an empty cache, and of the visit after each,
// from the service worker's cache, when the site has one), the time from a key to the
// frame that shows it over 2,000 correct keys, and the size of the site.
//
// A key's time runs from the key event's time stamp to the first task after
// the animation frame that the key asked for, when that frame has been drawn.
// Chromium runs here without waiting for a display's refresh, so the figure is
// the page's own work: on a 60 Hz screen a key is seen at the first refresh
// after it, as long as this stays under a frame, 16.7 ms.
import { existsSync, readdirSync, statSync } from "node:fs";
import { join } from "node:path";

import { launchChromium, mainWindowTexts, serveSite, site } from "../tests/web/site.mjs";

const LOADS = 7;
const TIMED_KEYS = 2000;

// Runs in the page before its own scripts: notes when the first window opens
// and each key's time to its painted frame, after the page's own handlers.
function measure() {
  const channel = new MessageChannel();
  const waiting = [];
  channel.port1.onmessage = () => waiting.shift()(performance.now());
  const afterPaint = () => new Promise((painted) => {
    requestAnimationFrame(() => {
      waiting.push(painted);
      channel.port2.postMessage(null);
    });
  });
  const showModal = HTMLDialogElement.prototype.showModal;
  HTMLDialogElement.prototype.showModal = function () {
    showModal.call(this);
    window.firstWindowShown ??= afterPaint();
  };
  window.keyMilliseconds = [];
  window.addEventListener("keydown", (event) => {
    const start = event.timeStamp;
    window.lastKeyPainted = afterPaint().then((end) => window.keyMilliseconds.push(end - start));
  });
}

function percentile(values, fraction) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.min(sorted.length - 1, Math.ceil(fraction * sorted.length) - 1)];
}


// Types the course without a mistake, stage after stage; each goal dialog
// moves on, after stage 9 back to stage 8 (the next stage would ask to quit).
// The keys that finish a stage open the goal dialog and are not timed.
async function typeCourse(page) {
  await page.getByRole("textbox").click();
  await page.keyboard.type("bench");
  await page.keyboard.press("Enter");
  await page.keyboard.press("Enter");
  await page.evaluate(() => window.lastKeyPainted.then(() => { window.keyMilliseconds = []; }));
  let timed = 0, stage = 1;
  while (timed < TIMED_KEYS) {
    const [romaji] = await mainWindowTexts(page);
    for (let i = 0; i < romaji.length && timed < TIMED_KEYS; ++i) {
      await page.keyboard.press(romaji[i]);
      if (await page.locator("dialog[open]").count() > 0) {
        const ok = page.getByRole("button", { name: "OK" });
        while (await ok.count() > 0)
          await ok.first().click();  // a new record
        const button = stage < 9 ? "次のステージへ(N)" : "前のステージへ･･･再挑戦！(N)";
        await page.getByRole("button", { name: button }).click();
        stage = stage < 9 ? stage + 1 : 8;
        await page.evaluate(() => window.lastKeyPainted.then(() => window.keyMilliseconds.pop()));
        continue;
      }
      await page.evaluate(() => window.lastKeyPainted);
      ++timed;
    }
  }
  return page.evaluate(() => window.keyMilliseconds);
}

const server = await serveSite();
const browser = await launchChromium(["--disable-gpu-vsync", "--disable-frame-rate-limit"]);
try {
  const loads = [], cachedLoads = [];
  for (let i = 0; i < LOADS; ++i) {
    const context = await browser.newContext();
    const page = await context.newPage();
    await page.addInitScript(measure);
    await page.goto(server.url);
    await page.waitForFunction(() => window.firstWindowShown);  // the game starts once it holds its lock
    loads.push(await page.evaluate(() => window.firstWindowShown));
    // A site with a service worker: the next visit, from the worker's cache.
    if (existsSync(join(site, "sw.js"))) {
      await page.waitForFunction(() => navigator.serviceWorker.controller);
      await page.reload();
      await page.waitForFunction(() => window.firstWindowShown);
      cachedLoads.push(await page.evaluate(() => window.firstWindowShown));
    }
    await context.close();
  }

  const page = await browser.newPage();
  await page.addInitScript(measure);
  await page.goto(server.url);
  const keys = await typeCourse(page);

  const files = readdirSync(site).map((name) => [name, statSync(join(site, name)).size]);
  const total = files.reduce((sum, [, size]) => sum + size, 0);
  console.log(`chromium: ${browser.version()}, headless, no vsync`);
  console.log(`page load to the opening dialog shown, median of ${LOADS}: ${percentile(loads, 0.5).toFixed(1)} ms`);
  if (cachedLoads.length > 0)
    console.log(`the next visit, from the service worker's cache, median of ${LOADS}: ${percentile(cachedLoads, 0.5).toFixed(1)} ms`);
  console.log(`key to painted frame over ${keys.length} keys: median ${percentile(keys, 0.5).toFixed(2)} ms, ` +
              `99th percentile ${percentile(keys, 0.99).toFixed(2)} ms, most ${Math.max(...keys).toFixed(2)} ms`);
  console.log(`site: ${(total / 1024).toFixed(1)} KiB in ${files.length} files`);
  for (const [name, size] of files.sort((a, b) => b[1] - a[1]))
    console.log(`  ${(size / 1024).toFixed(1).padStart(7)} KiB  ${name}`);
} finally {
  await browser.close();
  server.close();
}
