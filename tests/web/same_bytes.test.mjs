// The WebAssembly core against the native one: the script of two runs of
// stage 1 that the native core played (tests/web/stage_script.cpp), played
// again through the page's module under Node with a stand-in for the page,
// keeps the same Rank.dat and Best.dat bytes in the page's storage.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { mkdtempSync, readFileSync, rmSync } from "node:fs";
import { createRequire } from "node:module";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { test } from "node:test";

import { ids, site, stageScript } from "./site.mjs";

const createKeyhaven = createRequire(import.meta.url)(join(site, "keyhaven.js"));

// What the page is asked to do, kept for the test to look at and answer.
function standInPage() {
  return {
    clock: 0,
    dialogs: new Map(),  // name -> {title, items}
    boxes: [],           // [box, text, caption, style], answered ones removed
    setTitle(text) { this.title = text; },
    startTimer() {},
    stopTimer() {},
    now() { return this.clock; },
    requestPaint() {},
    drawText() {},
    showMainWindow() {},
    showEnd() {},
    openDialog(name) { this.dialogs.set(name, { title: "", items: new Map() }); },
    closeDialog(name) { this.dialogs.delete(name); },
    setDialogTitle(name, text) { this.dialogs.get(name).title = text; },
    setItemText(name, id, text) { this.dialogs.get(name).items.set(id, text); },
    itemText(name, id) { return this.dialogs.get(name).items.get(id) ?? ""; },
    messageBox(box, text, caption, style) { this.boxes.push([box, text, caption, style]); },
  };
}

test("a scripted stage keeps the native core's record bytes", async () => {
  const folder = mkdtempSync(join(tmpdir(), "keyhaven-bytes-"));
  try {
    const script = execFileSync(stageScript, { cwd: folder, encoding: "utf8" });
    const stored = new Map();
    globalThis.localStorage = {
      getItem: (key) => stored.get(key) ?? null,
      setItem: (key, value) => stored.set(key, String(value)),
    };
    const page = standInPage();
    const game = await createKeyhaven({ page, wasmBinary: readFileSync(join(site, "keyhaven.wasm")) });
    const answerBoxes = () => {
      for (const [box] of page.boxes.splice(0))
        game._KeyhavenMessageBoxAnswer(box, 1);
    };

    game._KeyhavenStart();
    page.dialogs.get("MY_OPENING").items.set(ids.IDC_OPENING_NAME, "ソ表たろう");
    game.ccall("KeyhavenDialogCommand", null, ["string", "number"], ["MY_OPENING", ids.IDC_OPENING_START]);
    answerBoxes();  // the start message
    for (const line of script.trim().split("\n")) {
      const [event, first, second] = line.split(" ");
      if (event === "goal") {
        assert.equal(page.dialogs.get("MY_GOAL").title, "ソ表たろう さん、お疲れ様でした");
        answerBoxes();  // a new record
        game.ccall("KeyhavenDialogCommand", null, ["string", "number"], ["MY_GOAL", Number(first)]);
        continue;
      }
      page.clock = Number(first);
      if (event === "key")
        game._KeyhavenCharacter(Number(second));
      else
        game._KeyhavenTick();
    }

    for (const file of ["Rank.dat", "Best.dat"])
      assert.deepEqual(Buffer.from(stored.get(`keyhaven/${file}`), "base64"), readFileSync(join(folder, file)), file);
  } finally {
    rmSync(folder, { recursive: true, force: true });
  }
});
