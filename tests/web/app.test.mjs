// The site as an app, in Chromium with a profile of its own: the manifest and
// its icons, the service worker, installable; with no network a reload opens
// the game and stage 1 plays and is stored; then the host gets a newer build
// (this build with one file changed), the page says so and leaves the game
// alone, and its button brings in the new files with the records unchanged.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { appendFileSync, cpSync, mkdirSync, mkdtempSync, readdirSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { after, before, test } from "node:test";
import { fileURLToPath } from "node:url";

import { launchChromiumProfile, mainWindowTexts, serveSite, site } from "./site.mjs";

const root = fileURLToPath(new URL("../..", import.meta.url));
const artifacts = join(site, "..", "e2e-artifacts");
const START_CAPTION = "ぱたたんのスタート！！！　　緑色のアルファベットをタイプすると、始まるよぉ";
const folder = mkdtempSync(join(tmpdir(), "keyhaven-app-"));

// A second build of the site: this one with page.css changed, and its worker
// written again by the build's own script.
function newerBuild() {
  const newer = join(folder, "newer");
  cpSync(site, newer, { recursive: true });
  appendFileSync(join(newer, "page.css"), "/* the newer build */\n");
  const files = readdirSync(newer).filter((name) => name !== "sw.js").map((name) => join(newer, name));
  execFileSync("python3", [join(root, "scripts/web_app.py"), "worker", join(root, "web/service_worker.js"), newer, ...files]);
  return newer;
}

const records = (page) => page.evaluate(() => ["Rank.dat", "Best.dat"].map((file) => localStorage.getItem(`keyhaven/${file}`)));

let server, context;
before(async () => {
  mkdirSync(artifacts, { recursive: true });
  server = await serveSite();
  context = await launchChromiumProfile(join(folder, "profile"));
});
after(async () => {
  await context?.close();
  server?.close();
  rmSync(folder, { recursive: true, force: true });
});

test("the site as an app: installable, offline, and updated on the player's word", async () => {
  const page = context.pages()[0] ?? await context.newPage();
  await page.goto(server.url);

  // The manifest and its icons; a worker controls the page after its first load.
  const manifest = await page.evaluate(async () => {
    const link = document.querySelector('link[rel="manifest"]');
    const manifest = await (await fetch(link.href)).json();
    for (const icon of manifest.icons) {
      const image = new Image();
      image.src = new URL(icon.src, link.href);
      await image.decode();
      icon.drawn = `${image.naturalWidth}x${image.naturalHeight}`;
    }
    return manifest;
  });
  assert.equal(manifest.name, "ぱたたん");
  assert.equal(manifest.display, "standalone");
  assert.deepEqual(manifest.icons.map((icon) => [icon.drawn, icon.purpose]),
                   [["192x192", "any"], ["512x512", "any"], ["512x512", "maskable"]]);
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
  const devtools = await context.newCDPSession(page);
  assert.deepEqual((await devtools.send("Page.getInstallabilityErrors")).installabilityErrors, []);

  // With no network, a reload opens the game with its fonts and sounds, and
  // stage 1 plays and is stored.
  await context.setOffline(true);
  await page.reload();
  await page.getByRole("textbox").click();
  assert.deepEqual(await page.evaluate(() => Promise.all([
    document.fonts.load('400 12px "Keyhaven PGothic"').then((faces) => faces.length),
    document.fonts.load('700 18px "Keyhaven PGothic"').then((faces) => faces.length),
    fetch("opening.wav").then((response) => response.ok),
  ])), [1, 1, true]);
  await page.keyboard.type("たろう");
  await page.keyboard.press("Enter");
  await page.getByRole("dialog", { name: START_CAPTION }).getByRole("button", { name: "OK" }).click();
  for (let texts = await mainWindowTexts(page); texts.length === 4; texts = await mainWindowTexts(page))
    await page.keyboard.type(texts[0]);
  const goal = page.getByRole("dialog", { name: "たろう さん、お疲れ様でした" });
  await goal.getByRole("button", { name: "次のステージへ(N)" }).click();
  const stored = await records(page);
  assert.equal(Buffer.from(stored[0], "base64").readInt32LE(0), 1);

  // The host gets a newer build; back on the network, the page finds it and
  // says so beside the record links, and the game goes on as it was: no
  // reload, the run started in stage 2 still running, and the button waiting
  // for the run to end.
  const cacheNames = () => page.evaluate(() => caches.keys());
  const [oldCache] = await cacheNames();
  await page.evaluate(() => { window.sameDocument = true; });
  await page.keyboard.type("g");
  server.serve(newerBuild());
  await context.setOffline(false);
  const news = page.getByRole("status").filter({ hasText: "新しい版があります" });
  await news.waitFor();
  await page.screenshot({ path: join(artifacts, "update-news.png") });
  const take = news.getByRole("button", { name: "新しい版にする" });
  assert.equal(await take.isDisabled(), true);
  assert.equal((await mainWindowTexts(page))[0], "annbaruzo");
  assert.equal(await page.evaluate(() => window.sameDocument), true);
  assert.ok((await cacheNames()).includes(oldCache));
  const pageCss = () => page.evaluate(() => fetch("page.css").then((response) => response.text()));
  assert.doesNotMatch(await pageCss(), /the newer build/);  // the open game's files stay its own

  // F6 ends the run (back to stage 1); the button takes the newer build.
  await page.keyboard.press("F6");
  await page.waitForFunction(() => !document.querySelector("#update button").disabled);
  await take.click();
  await page.getByRole("dialog", { name: /ver\.0\.0\.2$/ }).waitFor();
  assert.equal(await page.evaluate(() => window.sameDocument), undefined);
  assert.match(await pageCss(), /the newer build/);
  const caches = await cacheNames();
  assert.equal(caches.length, 1);
  assert.notEqual(caches[0], oldCache);
  assert.deepEqual(await records(page), stored);
});
