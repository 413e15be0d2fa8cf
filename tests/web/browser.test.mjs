// The page in headless Chromium, played as a player plays it: a name, stage 1
// typed with real key events, the goal dialog read and passed, and after a
// reload the result still in the page's storage. Screenshots land in
// build/web/e2e-artifacts/.
import assert from "node:assert/strict";
import { mkdirSync } from "node:fs";
import { join } from "node:path";
import { test } from "node:test";

import { launchChromium, mainWindowTexts, serveSite, site } from "./site.mjs";

const artifacts = join(site, "..", "e2e-artifacts");
const OPENING_TITLE = "さぁ、みんなで、ぱたたん！　　～タイピングソフトウエア ／ver.0.0.2";
const START_CAPTION = "ぱたたんのスタート！！！　　緑色のアルファベットをタイプすると、始まるよぉ";
const cp932 = new TextDecoder("shift_jis");

async function storedBytes(page, file) {
  return Buffer.from(await page.evaluate((key) => localStorage.getItem(key), `keyhaven/${file}`), "base64");
}

test("a stage played in Chromium is kept across a reload", async () => {
  mkdirSync(artifacts, { recursive: true });
  const server = await serveSite();
  const browser = await launchChromium();
  try {
    const page = await browser.newPage();
    await page.goto(server.url);
    assert.equal(await page.title(), "ぱたたん！");
    const opening = page.getByRole("dialog", { name: OPENING_TITLE });
    await opening.waitFor();
    await opening.screenshot({ path: join(artifacts, "opening-dialog.png") });

    // No way on without a name; Esc does nothing.
    await page.keyboard.press("Escape");
    await opening.getByRole("button", { name: "始まるよぉ！！" }).click();
    const error = page.getByRole("dialog", { name: "タイピスト入力エラー" });
    await error.getByText("名前又はニックネームを入力して下さい").waitFor();
    await error.getByRole("button", { name: "OK" }).click();
    await opening.getByRole("textbox").click();
    await page.keyboard.type("たろう");
    await page.keyboard.press("Enter");  // the start button is the default one
    await page.getByRole("dialog", { name: START_CAPTION }).getByRole("button", { name: "OK" }).click();
    assert.equal(await opening.count(), 0);

    // F5 goes on to stage 2 and F6 back to stage 1, without reloading the page.
    await page.keyboard.press("F5");
    assert.deepEqual((await mainWindowTexts(page)).slice(0, 2), ["gannbaruzo", "頑張るぞ"]);
    await page.keyboard.press("F6");
    let typed = 0;
    for (let texts = await mainWindowTexts(page); texts.length === 4; texts = await mainWindowTexts(page)) {
      if (typed === 0)
        await page.locator("#main-window").screenshot({ path: join(artifacts, "main-window.png") });
      await page.keyboard.type(texts[0]);
      typed += texts[0].length;
    }
    assert.equal(typed, 170);

    const goal = page.getByRole("dialog", { name: "たろう さん、お疲れ様でした" });
    await goal.waitFor();
    await page.keyboard.press("Escape");
    await page.keyboard.press("Escape");
    const statistics = await goal.locator("[data-control]").allTextContents();
    assert.deepEqual(statistics.slice(1, 2).concat(statistics.slice(11, 12)), ["170 文字", "170 文字正解してるよぉ"]);
    assert.equal(statistics[3], "100.000000%");
    assert.match(statistics[5], /^\d+ 秒$/);
    assert.match(statistics[7], /^\d+\.\d{6} 秒$/);
    await page.locator("#main-window").screenshot({ path: join(artifacts, "goal-dialog.png") });
    await goal.getByRole("button", { name: "次のステージへ(N)" }).click();
    assert.equal(await goal.count(), 0);
    assert.equal((await mainWindowTexts(page))[1], "頑張るぞ");
    assert.match(await page.title(), /^\d+$/);

    await page.reload();
    await opening.waitFor();
    assert.equal(await page.title(), "ぱたたん！");
    const rank = await storedBytes(page, "Rank.dat");
    assert.equal(rank.length, 164);
    assert.equal(rank.readInt32LE(0), 1);
    const history = cp932.decode(rank.subarray(84, rank.indexOf(0, 84)));
    assert.equal(history, ["たろう", statistics[1], statistics[11], statistics[3], statistics[5], statistics[7], ""].join("\n"));
    const best = await storedBytes(page, "Best.dat");
    assert.equal(best.length, 58);
    assert.equal(cp932.decode(best.subarray(4, best.indexOf(0, 4))), "たろう");
  } finally {
    await browser.close();
    server.close();
  }
});
