// What the page's tests and benchmark share: where the built site and the
// native stage script are, the resource ids, Debian's Chromium showing the
// site from a server on this machine, and what the main window shows.
import { readFile } from "node:fs/promises";
import { createServer } from "node:http";
import { extname, join, normalize } from "node:path";
import { fileURLToPath, pathToFileURL } from "node:url";

import { chromium } from "playwright-core";

const root = fileURLToPath(new URL("../..", import.meta.url));
export const site = process.env.KEYHAVEN_SITE ?? join(root, "build/web/site");
export const stageScript = process.env.KEYHAVEN_STAGE_SCRIPT ?? join(root, "build/native/tests/keyhaven_stage_script");
export const { ids } = await import(pathToFileURL(join(site, "resources.js")));

const TYPES = {
  ".html": "text/html; charset=utf-8", ".js": "text/javascript", ".css": "text/css",
  ".wasm": "application/wasm", ".woff2": "font/woff2",
  ".webmanifest": "application/manifest+json", ".png": "image/png",
};

// Serves the site's files at http://127.0.0.1:PORT/ on a free port; serve()
// puts another folder there, as a host that gets a new build.
export async function serveSite(folder = site) {
  const server = createServer(async (request, response) => {
    const path = new URL(request.url, "http://localhost").pathname;
    const file = join(folder, normalize(path === "/" ? "/index.html" : path));
    try {
      const body = await readFile(file);
      response.writeHead(200, { "Content-Type": TYPES[extname(file)] ?? "application/octet-stream" });
      response.end(body);
    } catch {
      response.writeHead(404).end();
    }
  });
  await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
  return { url: `http://127.0.0.1:${server.address().port}/`, close: () => server.close(),
           serve: (newer) => { folder = newer; } };
}

// The texts that the main window shows, as its canvas tells them once the
// paint asked for has been done: the rest of the romaji (when the slot has
// any), the caption, the two help lines.
export async function mainWindowTexts(page) {
  await page.evaluate(() => new Promise((painted) => requestAnimationFrame(painted)));
  return (await page.locator("#main-window").getAttribute("aria-label")).split("\n");
}

// Debian's Chromium, headless, in a fresh profile that goes with it. The
// flags keep it off the network, which this machine does not reach.
export function launchChromium(extraFlags = []) {
  return chromium.launch({
    executablePath: "/usr/bin/chromium",
    args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-background-networking",
           "--disable-component-update", "--disable-sync", ...extraFlags],
  });
}

// The same in a profile kept in `folder`, as a player's: unlike a fresh
// context, which Chromium treats as incognito, it can install the site.
export function launchChromiumProfile(folder) {
  return chromium.launchPersistentContext(folder, {
    executablePath: "/usr/bin/chromium",
    args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-background-networking",
           "--disable-component-update", "--disable-sync"],
  });
}
