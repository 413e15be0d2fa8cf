// The page in every engine that players use (engines.mjs): Chromium, Firefox
// ESR and WebKitGTK, played as a player plays it: a name, stage 1 typed with
// real key events, the goal dialog read and passed, and after a reload the
// result still in the page's storage, byte for byte. Screenshots land in
// build/web/e2e-artifacts/ (Chromium's without a prefix, the others' with the
// engine's name).
import assert from "node:assert/strict";
import { mkdirSync } from "node:fs";
import { join } from "node:path";
import { after, before, test } from "node:test";

import { engineNames, launchEngine } from "./engines.mjs";
import { serveSite, site } from "./site.mjs";

const artifacts = join(site, "..", "e2e-artifacts");
const OPENING_TITLE = "さぁ、みんなで、ぱたたん！　　～タイピングソフトウエア ／ver.0.0.2";
const START_CAPTION = "ぱたたんのスタート！！！　　緑色のアルファベットをタイプすると、始まるよぉ";
const cp932 = new TextDecoder("shift_jis");

let server;
before(async () => {
  mkdirSync(artifacts, { recursive: true });
  server = await serveSite();
});
after(() => server?.close());

// Waits until fn(arg), run in the page, gives something true, and gives it.
async function waitFor(page, fn, arg = null, what = String(fn)) {
  for (const started = Date.now(); ; await new Promise((wait) => setTimeout(wait, 50))) {
    const value = await page.evaluate(fn, arg).catch(() => null);  // the page may be loading
    if (value)
      return value;
    if (Date.now() - started > 10000)
      throw new Error(`waited 10 s for ${what}`);
  }
}

const dialogOpen = (page, title) =>
  waitFor(page, (title) => [...document.querySelectorAll("dialog[open]")].some((d) => d.ariaLabel === title), title, title);
const dialogCount = (page, title) =>
  page.evaluate((title) => [...document.querySelectorAll("dialog")].filter((d) => d.ariaLabel === title).length, title);

// Clicks, with the mouse, the button of the newest open dialog whose text is `text`.
async function clickButton(page, text) {
  await waitFor(page, (text) => {
    const dialog = [...document.querySelectorAll("dialog[open]")].at(-1);
    const button = dialog && [...dialog.querySelectorAll("button")].find((b) => b.textContent === text);
    button?.setAttribute("data-click", "");
    return Boolean(button);
  }, text, text);
  await page.click("[data-click]");
  await page.evaluate(() => document.querySelector("[data-click]")?.removeAttribute("data-click"));
}

// What the main window shows, once the paint asked for has been done: the
// rest of the romaji (when the slot has any), the caption, the two help lines.
const mainWindowTexts = (page) => page.evaluate(() => new Promise((painted) => requestAnimationFrame(painted))
  .then(() => document.getElementById("main-window").ariaLabel.split("\n")));

// A wrong key starts a run: the title counts its milliseconds, every 50 ms.
async function startRun(page) {
  await page.type("#");
  await waitFor(page, () => /^\d+$/.test(document.title), null, "the title counting");
}

async function assertTitleStopped(page) {
  const title = await page.title();
  assert.match(title, /^\d+$/);
  await new Promise((wait) => setTimeout(wait, 200));
  assert.equal(await page.title(), title);
}

const storedBytes = async (page, file) =>
  Buffer.from(await page.evaluate((key) => localStorage.getItem(key), `keyhaven/${file}`), "base64");

for (const name of engineNames) {
  test(`a stage played in ${name} is kept across a reload`, async (t) => {
    const engine = await launchEngine(name);
    t.diagnostic(engine.version);
    const shot = (file) => join(artifacts, name === "chromium" ? file : `${name}-${file}`);
    try {
      const page = await engine.newPage();
      await page.open(server.url);
      assert.equal(await page.title(), "ぱたたん！");
      await dialogOpen(page, OPENING_TITLE);
      await page.screenshot(shot("opening-dialog.png"));

      // No way on without a name; Esc does nothing.
      await page.press("Escape");
      await clickButton(page, "始まるよぉ！！");
      await dialogOpen(page, "タイピスト入力エラー");
      assert.match(await page.evaluate(() => [...document.querySelectorAll("dialog[open]")].at(-1).textContent),
                   /名前又はニックネームを入力して下さい/);
      await clickButton(page, "OK");
      await page.click("dialog[open] input");
      await page.type("たろう");
      await page.press("Enter");  // the start button is the default one
      await dialogOpen(page, START_CAPTION);
      await clickButton(page, "OK");
      assert.equal(await dialogCount(page, OPENING_TITLE), 0);

      // F5 goes on to stage 2 and F6 back to stage 1, without reloading the page;
      // each cuts off the run, and the title stops counting.
      await page.evaluate(() => { window.sameDocument = true; });
      await startRun(page);
      await page.press("F5");
      await assertTitleStopped(page);
      assert.deepEqual((await mainWindowTexts(page)).slice(0, 2), ["gannbaruzo", "頑張るぞ"]);
      await startRun(page);
      await page.press("F6");
      await assertTitleStopped(page);
      assert.equal(await page.evaluate(() => window.sameDocument), true);
      let typed = 0;
      for (let texts = await mainWindowTexts(page); texts.length === 4; texts = await mainWindowTexts(page)) {
        if (typed === 0)
          await page.screenshot(shot("main-window.png"));
        await page.type(texts[0]);
        typed += texts[0].length;
      }
      assert.equal(typed, 170);

      const goalTitle = "たろう さん、お疲れ様でした";
      await dialogOpen(page, goalTitle);
      await assertTitleStopped(page);
      await page.press("Escape");
      await page.press("Escape");
      const statistics = await page.evaluate((title) => [...[...document.querySelectorAll("dialog[open]")]
        .find((dialog) => dialog.ariaLabel === title).querySelectorAll("[data-control]")]
        .map((control) => control.textContent), goalTitle);
      assert.deepEqual(statistics.slice(1, 2).concat(statistics.slice(11, 12)), ["170 文字", "170 文字正解してるよぉ"]);
      assert.equal(statistics[3], "100.000000%");
      assert.match(statistics[5], /^\d+ 秒$/);
      assert.match(statistics[7], /^\d+\.\d{6} 秒$/);
      await page.screenshot(shot("goal-dialog.png"));
      await clickButton(page, "次のステージへ(N)");
      assert.equal(await dialogCount(page, goalTitle), 0);
      assert.equal((await mainWindowTexts(page))[1], "頑張るぞ");
      assert.match(await page.title(), /^\d+$/);

      await page.reload();
      await dialogOpen(page, OPENING_TITLE);
      assert.equal(await page.evaluate(() => typeof window.sameDocument), "undefined");
      assert.equal(await page.title(), "ぱたたん！");
      const rank = await storedBytes(page, "Rank.dat");
      assert.equal(rank.length, 164);
      assert.equal(rank.readInt32LE(0), 1);
      const history = cp932.decode(rank.subarray(84, rank.indexOf(0, 84)));
      assert.equal(history, ["たろう", statistics[1], statistics[11], statistics[3], statistics[5], statistics[7], ""].join("\n"));
      const best = await storedBytes(page, "Best.dat");
      assert.equal(best.length, 58);
      assert.equal(cp932.decode(best.subarray(4, best.indexOf(0, 4))), "たろう");
      await page.close();
    } finally {
      await engine.close();
    }
  });
}
