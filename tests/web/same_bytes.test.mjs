// The WebAssembly core against the native one: the script of two runs of
// stage 1 that the native core played (tests/web/stage_script.cpp), played
// again through the page's module under Node with a stand-in for the page,
// keeps the same Rank.dat and Best.dat bytes in the page's storage, draws the
// desktop's picture and asks the browser to keep the storage. And the page's
// storage keeps the desktop's rules when it fails.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { mkdtempSync, readFileSync, rmSync } from "node:fs";
import { createRequire } from "node:module";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { after, test } from "node:test";

import { ids, site, stageScript } from "./site.mjs";

const createKeyhaven = createRequire(import.meta.url)(join(site, "keyhaven.js"));

// What the page is asked to do, kept for the test to look at and answer.
function standInPage() {
  return {
    clock: 0,
    dialogs: new Map(),  // name -> {title, items}
    boxes: [],           // [box, text, caption, style], answered ones removed
    drawn: [],           // [x, y, height, weight, colour, text] of each text drawn
    setTitle(text) { this.title = text; },
    startTimer() {},
    stopTimer() {},
    now() { return this.clock; },
    requestPaint() {},
    drawText(...text) { this.drawn.push(text); },
    showMainWindow() {},
    showEnd() {},
    openDialog(name) { this.dialogs.set(name, { title: "", items: new Map() }); },
    closeDialog(name) { this.dialogs.delete(name); },
    setDialogTitle(name, text) { this.dialogs.get(name).title = text; },
    setItemText(name, id, text) { this.dialogs.get(name).items.set(id, text); },
    itemText(name, id) { return this.dialogs.get(name).items.get(id) ?? ""; },
    messageBox(box, text, caption, style) { this.boxes.push([box, text, caption, style]); },
    loadSound() {},
    playSound() {},
  };
}

// The game in the module, its name given and the start message answered,
// with `storage` standing in for the page's local storage.
async function startGame(storage) {
  globalThis.localStorage = storage;
  const page = standInPage();
  const game = await createKeyhaven({ page, wasmBinary: readFileSync(join(site, "keyhaven.wasm")) });
  const answerBoxes = () => {
    for (const [box] of page.boxes.splice(0))
      game._KeyhavenMessageBoxAnswer(box, 1);
  };
  game._KeyhavenStart(1);
  page.dialogs.get("MY_OPENING").items.set(ids.IDC_OPENING_NAME, "ソ表たろう");
  game.ccall("KeyhavenDialogCommand", null, ["string", "number"], ["MY_OPENING", ids.IDC_OPENING_START]);
  answerBoxes();  // the start message
  return { game, page, answerBoxes };
}

// Plays the script's events up to its next goal; false when there is none.
function playToGoal({ game, page }, events) {
  for (let event = events.shift(); event; event = events.shift()) {
    const [kind, time, code] = event.split(" ");
    if (kind === "goal") {
      events.unshift(event);
      return true;
    }
    page.clock = Number(time);
    if (kind === "key")
      game._KeyhavenCharacter(Number(code));
    else
      game._KeyhavenTick();
  }
  return false;
}

function storageOf(stored) {
  return { getItem: (key) => stored.get(key) ?? null, setItem: (key, value) => stored.set(key, String(value)) };
}

// How often the game asked the browser to keep the site's storage.
let persistenceAsked = 0;
Object.defineProperty(globalThis, "navigator", {
  configurable: true, value: { storage: { persist: async () => ++persistenceAsked } },
});

const folder = mkdtempSync(join(tmpdir(), "keyhaven-bytes-"));
after(() => rmSync(folder, { recursive: true, force: true }));
const script = execFileSync(stageScript, { cwd: folder, encoding: "utf8" }).trim().split("\n");

test("a scripted stage keeps the native core's record bytes", async () => {
  const stored = new Map();
  const session = await startGame(storageOf(stored));
  // The main window's picture, as the desktop draws it too.
  session.game._KeyhavenPaint();
  assert.deepEqual(session.page.drawn, [
    [185, 165, 200, 400, 0x9fff38, "ohayougozaimasu"],
    [135, 120, 38, 400, 0xfa9664, "おはようございます"],
    [110, 400, 18, 700, 0x6464c8, "F3：効果音設定　F4：ランキング　F5：次のステージ　F6：前のステージ･･再挑戦！"],
    [220, 455, 18, 700, 0x6464c8, "F7：ケスカソフトウエアデザインへメール！　F8：終了"],
  ]);
  const events = [...script];
  while (playToGoal(session, events)) {
    assert.equal(session.page.dialogs.get("MY_GOAL").title, "ソ表たろう さん、お疲れ様でした");
    assert.equal(persistenceAsked, 1, "once, as the first result is stored");
    session.answerBoxes();  // a new record
    const control = Number(events.shift().split(" ")[1]);
    session.game.ccall("KeyhavenDialogCommand", null, ["string", "number"], ["MY_GOAL", control]);
  }
  for (const file of ["Rank.dat", "Best.dat"])
    assert.deepEqual(Buffer.from(stored.get(`keyhaven/${file}`), "base64"), readFileSync(join(folder, file)), file);
});

// A storage over `stored` that is full for `fullKey`, as the browser says it.
function fullFor(stored, fullKey) {
  const storage = storageOf(stored);
  storage.setItem = (key, value) => {
    if (key === fullKey)
      throw new DOMException("The quota has been exceeded.", "QuotaExceededError");
    stored.set(key, value);
  };
  return storage;
}

// A stored text that is not base64 cannot be read and is never replaced; a
// full storage refuses the result; the player hears of both, and why.
test("storage that cannot be read or written keeps what it holds and says so", async () => {
  const stored = new Map([["keyhaven/Rank.dat", "not base64!"]]);
  const storage = fullFor(stored, "keyhaven/Best.dat");
  const session = await startGame(storage);
  assert.ok(playToGoal(session, [...script]));
  assert.deepEqual([...stored], [["keyhaven/Rank.dat", "not base64!"]]);
  assert.equal(session.page.boxes.length, 1);
  const [, text, caption, style] = session.page.boxes[0];
  assert.equal(caption, "ｾｰﾌﾞｴﾗｰ");
  assert.equal(style, "warning");
  assert.match(text, /^今回の記録を Rank\.dat と Best\.dat に残せなかったよぉ…\nRank\.dat：ほかのソフトで.*\nBest\.dat：記録を残す場所がいっぱいみたい。/);

  // A new record is shown first, the warning once it is answered.
  const best = Buffer.alloc(58);
  best.writeInt32LE(1, 0);
  best.writeInt32LE(100, 54);
  const kept = new Map([["keyhaven/Best.dat", best.toString("base64")]]);
  const noRoomForRank = fullFor(kept, "keyhaven/Rank.dat");
  const second = await startGame(noRoomForRank);
  assert.ok(playToGoal(second, [...script]));
  assert.deepEqual(second.page.boxes.map(([, text, , style]) => [text.replace(/\d+/, "N"), style]),
                   [["新記録Nﾎﾟｲﾝﾄが出たよ", "ok"]]);
  second.answerBoxes();
  assert.equal(second.page.boxes.length, 1);
  assert.match(second.page.boxes[0][1], /^今回の記録を Rank\.dat に残せなかったよぉ/);
});
