// The page in headless Chromium, played as a player plays it: the commands
// after two goals; a second page of the game; the record files saved and
// loaded. A stage played and kept across a reload, in Chromium and the other
// engines, is in engines.test.mjs.
// Screenshots land in build/web/e2e-artifacts/.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { mkdirSync, mkdtempSync, readFileSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { after, before, test } from "node:test";

import { ids, launchChromium, mainWindowTexts, serveSite, site, stageScript } from "./site.mjs";

const artifacts = join(site, "..", "e2e-artifacts");
const OPENING_TITLE = "さぁ、みんなで、ぱたたん！　　～タイピングソフトウエア ／ver.0.0.2";
const START_CAPTION = "ぱたたんのスタート！！！　　緑色のアルファベットをタイプすると、始まるよぉ";
const cp932 = new TextDecoder("shift_jis");

async function storedBytes(page, file) {
  return Buffer.from(await page.evaluate((key) => localStorage.getItem(key), `keyhaven/${file}`), "base64");
}

let server, browser;
before(async () => {
  mkdirSync(artifacts, { recursive: true });
  server = await serveSite();
  browser = await launchChromium();
});
after(async () => {
  await browser?.close();
  server?.close();
});

// A page of its own browser profile, the game started with `name` and the
// start message answered.
async function startGame(name, context = null) {
  const page = await (context ?? await browser.newContext()).newPage();
  await page.goto(server.url);
  await page.getByRole("textbox").click();
  await page.keyboard.type(name);
  await page.keyboard.press("Enter");
  await page.getByRole("dialog", { name: START_CAPTION }).getByRole("button", { name: "OK" }).click();
  return page;
}

// Types the rest of the current stage, each key after `first`; returns the goal dialog.
async function typeStage(page, first = "") {
  await page.keyboard.type(first);
  for (let texts = await mainWindowTexts(page); texts.length === 4; texts = await mainWindowTexts(page))
    await page.keyboard.type(texts[0]);
  return page.getByRole("dialog", { name: /さん、お疲れ様でした$/ });
}

function rankingLines(best) {
  const lines = [];
  for (let k = 0; k < best.readInt32LE(0) && k < 5; ++k) {
    const entry = best.subarray(4 + 54 * k);
    lines.push(`第${k + 1}位 ${cp932.decode(entry.subarray(0, entry.indexOf(0)))}さん：${entry.readInt32LE(50)}ﾎﾟｲﾝﾄ`);
  }
  return lines.concat([3, 4, 5].slice(lines.length - 2).map((place) => `第${place}位 いないよぉ`));
}

function historyText(rank, position) {
  const record = rank.subarray(4 + 80 * position, 4 + 80 * (position + 1));
  return cp932.decode(record.subarray(0, record.indexOf(0)));
}

// Notes in the page which sound each started source plays, and each stop; and
// the links handed to the browser instead of following them.
function spyOnSoundsAndLinks() {
  window.heard = [];
  window.links = [];
  const files = new Map();
  const fetchFile = window.fetch;
  window.fetch = async (file) => {
    const response = await fetchFile(file);
    const data = await response.arrayBuffer();
    files.set(data, file);
    return { ok: response.ok, arrayBuffer: async () => data };
  };
  const decode = BaseAudioContext.prototype.decodeAudioData;
  BaseAudioContext.prototype.decodeAudioData = async function (data) {
    const samples = await decode.call(this, data);
    files.set(samples, files.get(data));
    return samples;
  };
  const start = AudioBufferSourceNode.prototype.start;
  AudioBufferSourceNode.prototype.start = function () {
    window.heard.push(files.get(this.buffer));
    start.call(this);
  };
  const stop = AudioBufferSourceNode.prototype.stop;
  AudioBufferSourceNode.prototype.stop = function () {
    window.heard.push("stop");
    stop.call(this);
  };
  HTMLAnchorElement.prototype.click = function () { window.links.push(this.href); };
}

test("the commands: sounds, the ranking after two goals with the menu, information and mail", async () => {
  const page = await (await browser.newContext()).newPage();
  await page.addInitScript(spyOnSoundsAndLinks);
  await page.goto(server.url);
  const heard = () => page.evaluate(() => window.heard.splice(0));
  // The opening sound starts as the game does (a browser plays it at the
  // first click; Playwright's calls count as one); every correct key cuts off
  // the sound before it and starts its own.
  await page.waitForFunction(() => window.heard.length > 0);
  assert.deepEqual(await heard(), ["opening.wav"]);
  await page.getByRole("textbox").click();
  await page.keyboard.type("たろう");
  await page.keyboard.press("Enter");
  await page.getByRole("dialog", { name: START_CAPTION }).getByRole("button", { name: "OK" }).click();
  await page.keyboard.type("#o");
  assert.deepEqual(await heard(), ["stop", "bane.wav"]);

  // F3: the first sound pressed in; a click chooses at once, Esc closes nothing.
  await page.keyboard.press("F3");
  const sound = page.getByRole("dialog", { name: "設定メニュー" });
  const checked = () => sound.locator('[aria-checked="true"]').allTextContents();
  assert.deepEqual(await checked(), ["バネバネー！"]);
  await sound.getByRole("radio", { name: "文字を倒せー！" }).click();
  await page.keyboard.press("Escape");
  assert.deepEqual(await checked(), ["文字を倒せー！"]);
  await sound.screenshot({ path: join(artifacts, "sound-settings.png") });
  await sound.getByRole("button", { name: "設定完了(X)" }).click();
  const goal = await typeStage(page, "ha");
  assert.deepEqual((await heard()).slice(0, 4), ["stop", "rock.wav", "stop", "rock.wav"]);
  await goal.getByRole("button", { name: "前のステージへ･･･再挑戦！(N)" }).click();
  const secondGoal = await typeStage(page);
  const newRecord = page.getByRole("button", { name: "OK" });
  if (await newRecord.count() > 0)
    await newRecord.click();
  await secondGoal.getByRole("button", { name: "とりあえず休憩 (X)" }).click();

  // The popup menu opens where the desktop's does, the click's client
  // position moved by (150, 180) from the page's corner, with its items; its
  // ranking shows the two results as stored, oldest first.
  await page.locator("#main-window").click({ button: "right", position: { x: 300, y: 300 } });
  const menu = page.getByRole("menu");
  const corner = await menu.boundingBox();
  assert.deepEqual([corner.x, corner.y], [300 - 4 + 150, 300 - 42 + 180]);  // from the client area, not the canvas
  assert.deepEqual(await menu.getByRole("menuitem").evaluateAll((items) => items.map((item) => item.ariaLabel)),
                   ["設定 F3", "ランキング！ F4", "次のステージへ F5", "前のｽﾃｰｼﾞへ F6",
                    "ケスカソフトウエアへメール送信 F7", "ヴァージョン情報 F1", "終了 F8"]);
  await menu.getByRole("menuitem", { name: "ランキング！" }).click();
  const rank = page.getByRole("dialog", { name: "ランキング ベスト５" });
  const stored = await storedBytes(page, "Rank.dat");
  assert.equal(stored.readInt32LE(0), 2);
  const label = () => rank.locator(`[data-control="${ids.IDC_RANK_HISTORY_LABEL}"]`).textContent();
  assert.deepEqual((await rank.locator("[data-control]").allTextContents()).slice(1, 6),
                   rankingLines(await storedBytes(page, "Best.dat")));
  assert.equal(await label(), historyText(stored, 1));
  await rank.screenshot({ path: join(artifacts, "ranking-dialog.png") });

  // An arrow steps one result, the track five, the thumb where it is let go;
  // the end of the history is the empty record after it; Home and End, as
  // the desktop's scroll codes for them, leave the position.
  const bar = rank.getByRole("scrollbar");
  const [leftArrow, rightArrow] = [bar.locator(".arrow").first(), bar.locator(".arrow").last()];
  await rightArrow.click();
  assert.equal(await label(), historyText(stored, 2));
  await rightArrow.click();
  await rightArrow.click();
  assert.equal(await label(), "");
  await leftArrow.click();
  assert.equal(await label(), historyText(stored, 2));
  await bar.locator(".track").click({ position: { x: 2, y: 8 } });
  assert.equal(await label(), historyText(stored, 1));
  await page.keyboard.press("End");
  assert.equal(await label(), historyText(stored, 1));
  const thumb = await bar.locator(".thumb").boundingBox();
  const track = await bar.locator(".track").boundingBox();
  await page.mouse.move(thumb.x + 8, thumb.y + 8);
  await page.mouse.down();
  await page.mouse.move(track.x + track.width / 2, thumb.y + 8, { steps: 4 });
  assert.equal(await label(), historyText(stored, 1));
  await page.mouse.up();
  assert.equal(await label(), historyText(stored, 2));
  assert.equal(await bar.getAttribute("aria-valuenow"), "2");
  await page.keyboard.press("Escape");
  await rank.getByRole("button", { name: "閉じる(X)" }).click();
  assert.equal(await rank.count(), 0);

  // An arrow held while the dialog closes from the keyboard steps nothing
  // once the dialog has gone: the next ranking opens at the first result and
  // the left arrow leaves it there.
  await page.keyboard.press("F4");
  const held = await rightArrow.boundingBox();
  await page.mouse.move(held.x + 8, held.y + 8);
  await page.mouse.down();
  await page.keyboard.press("x");
  assert.equal(await rank.count(), 0);
  await page.mouse.up();
  await page.keyboard.press("F4");
  await page.waitForTimeout(300);  // time for a repeat left behind to step
  await page.keyboard.press("ArrowLeft");
  assert.equal(await bar.getAttribute("aria-valuenow"), "1");
  assert.equal(await label(), historyText(stored, 1));
  await rank.getByRole("button", { name: "閉じる(X)" }).click();

  // F1 shows the logo; F2 does nothing; F7 hands the browser the mail link.
  await page.keyboard.press("F1");
  const info = page.getByRole("dialog", { name: "Infomeation" });
  assert.deepEqual(await info.locator("img").evaluate((logo) => logo.decode().then(() => [logo.width, logo.height])),
                   [88, 70]);
  await info.getByRole("button", { name: "閉じる(X)" }).click();
  await page.keyboard.press("F2");
  await page.keyboard.press("F7");
  assert.equal(await page.locator("dialog").count(), 0);
  assert.deepEqual(await page.evaluate(() => window.links),
                   [new URL("mailto:support@kesuka-soft.example?Subject=次のヴァージョンはいつ頃？").href]);

  // F8 asks whether to quit, and so does F5 after the last stage: いいえ
  // keeps the game, はい ends it.
  const close = page.getByRole("dialog", { name: "ぱたたん！の終了" });
  await page.keyboard.press("F8");
  await close.getByText("終了しますか？").waitFor();
  await close.getByRole("button", { name: "いいえ(N)" }).click();
  assert.ok(await page.locator("#main-window").isVisible());
  for (let stage = 2; stage <= 10; ++stage)
    await page.keyboard.press("F5");
  await close.getByRole("button", { name: "いいえ(N)" }).click();
  assert.ok(await page.locator("#main-window").isVisible());
  await page.keyboard.press("F8");
  await close.getByRole("button", { name: "はい(Y)" }).click();
  await page.getByText("ぱたたん！は終了しました。").waitFor();
  assert.equal(await page.locator("#main-window").isVisible(), false);
});

// The desktop's warning, and no game, in a second page of the same browser
// profile; once the first page is gone, the second starts on a reload.
test("a second page of the game warns and does not start", async () => {
  const context = await browser.newContext();
  const first = await startGame("たろう", context);
  const second = await context.newPage();
  await second.goto(server.url);
  const warning = second.getByRole("dialog", { name: "二重起動！！" });
  await warning.getByText("Keyhaven.exe は既に開いているよ！").waitFor();
  assert.equal(await warning.locator("svg.warning").count(), 1);
  await warning.screenshot({ path: join(artifacts, "second-page.png") });
  assert.equal(await second.getByRole("textbox").count(), 0);
  await warning.getByRole("button", { name: "OK" }).click();
  await second.getByText("ぱたたん！は終了しました。").waitFor();
  await first.keyboard.type("oha");
  assert.equal((await mainWindowTexts(first))[0], "yougozaimasu");
  await first.close();
  await second.reload();
  await second.getByRole("dialog", { name: OPENING_TITLE }).waitFor();
});

const folder = mkdtempSync(join(tmpdir(), "keyhaven-files-"));
after(() => rmSync(folder, { recursive: true, force: true }));

// The two files of a desktop game folder (made by the native core) load into
// the page and show in its ranking; saved again, they are the same bytes. A
// file of noise is refused and changes nothing; loading over results asks.
test("the record files travel between the desktop game and the page", async () => {
  execFileSync(stageScript, { cwd: folder, stdio: "ignore" });
  const desktop = Object.fromEntries(["Rank.dat", "Best.dat"].map((file) => [file, readFileSync(join(folder, file))]));
  const page = await startGame("Aoi");
  const files = page.locator("#record-files");
  const loadBox = page.getByRole("dialog", { name: "記録の読み込み" });
  await files.setInputFiles(["Rank.dat", "Best.dat"].map((name) => ({ name, mimeType: "", buffer: desktop[name] })));
  await loadBox.getByText("Rank.dat と Best.dat を読み込んだよ！").waitFor();
  await loadBox.getByRole("button", { name: "OK" }).click();

  await page.keyboard.press("F4");
  const rank = page.getByRole("dialog", { name: "ランキング ベスト５" });
  assert.deepEqual((await rank.locator("[data-control]").allTextContents()).slice(1, 6), rankingLines(desktop["Best.dat"]));
  assert.match(await rank.locator(`[data-control="${ids.IDC_RANK_HISTORY_LABEL}"]`).textContent(), /^ソ表たろう\n/);
  await rank.getByRole("button", { name: "閉じる(X)" }).click();

  for (const name of ["Rank.dat", "Best.dat"]) {
    const [download] = await Promise.all([page.waitForEvent("download"),
                                          page.getByRole("button", { name: `${name} を保存` }).click()]);
    assert.equal(download.suggestedFilename(), name);
    const saved = readFileSync(await download.path());
    assert.deepEqual(saved, await storedBytes(page, name), name);
    assert.deepEqual(saved, desktop[name], name);
  }

  const noise = Buffer.from(Array.from({ length: 300 }, (_, i) => (i * 73 + 11) & 0xff));
  await files.setInputFiles([{ name: "Rank.dat", mimeType: "", buffer: noise },
                             { name: "Best.dat", mimeType: "", buffer: desktop["Best.dat"] }]);
  await loadBox.getByText("Rank.dat は、ぱたたんの記録ファイルではないみたい…").waitFor();
  await loadBox.getByRole("button", { name: "OK" }).click();
  const best = Buffer.from(desktop["Best.dat"].subarray(0, 58));
  best.writeInt32LE(1, 0);
  const firstResult = Buffer.from(desktop["Rank.dat"].subarray(0, 164));
  firstResult.writeInt32LE(1, 0);
  // The same record file chosen twice is refused, whatever comes with it.
  for (const chosen of [[desktop["Rank.dat"], firstResult], [desktop["Rank.dat"], firstResult, best]]) {
    await files.setInputFiles(chosen.map((buffer, k) => ({ name: `${k}.dat`, mimeType: "", buffer })));
    await loadBox.getByText("同じ記録ファイルを二つ選んでいるよ…").waitFor();
    await loadBox.getByRole("button", { name: "OK" }).click();
  }
  await files.setInputFiles([{ name: "Best (1).dat", mimeType: "", buffer: best }]);
  await loadBox.getByText("ブラウザにある今の記録を、Best.dat の記録で置き換えますか？").waitFor();
  await loadBox.getByRole("button", { name: "いいえ(N)" }).click();
  for (const name of ["Rank.dat", "Best.dat"])
    assert.deepEqual(await storedBytes(page, name), desktop[name], name);

  await files.setInputFiles([{ name: "Best (1).dat", mimeType: "", buffer: best }]);
  await loadBox.getByRole("button", { name: "はい(Y)" }).click();
  await loadBox.getByText("Best.dat を読み込んだよ！").waitFor();
  assert.deepEqual(await storedBytes(page, "Best.dat"), best);

  // With the history emptied, a Rank.dat still asks: the best table holds results.
  await loadBox.getByRole("button", { name: "OK" }).click();
  await files.setInputFiles([{ name: "Rank.dat", mimeType: "", buffer: Buffer.alloc(84) }]);
  await loadBox.getByRole("button", { name: "はい(Y)" }).click();
  await loadBox.getByRole("button", { name: "OK" }).click();
  await files.setInputFiles([{ name: "Rank.dat", mimeType: "", buffer: firstResult }]);
  await loadBox.getByText("ブラウザにある今の記録を、Rank.dat の記録で置き換えますか？").waitFor();
});
