// The game's service worker (sw.js at the site's root; the build writes
// VERSION and FILES above this). It keeps every file of one build of the site
// in a cache of that build's own and serves them from there, so that after one
// visit the game opens and plays with no network. A new build is a new worker
// with a new cache; it waits until the player takes it (update.js), and the
// old cache goes when it takes over. The records are not here: they stay in
// the page's localStorage.
const scope = new URL(self.registration.scope);
// Two copies of the game in two folders of one host keep caches of their own.
const CACHE_PREFIX = `keyhaven ${scope.href} `;
const CACHE = CACHE_PREFIX + VERSION;

function base64(bytes) {
  return btoa(String.fromCharCode(...new Uint8Array(bytes)));
}

// A file as this build has it, from the host and not the browser's HTTP cache;
// a file of another build (the host halfway through an upload) fails the
// install, which the browser tries again later.
async function fetchFile(name) {
  const response = await fetch(new URL(name, scope), { cache: "reload" });
  if (!response.ok)
    throw new Error(`${name}: ${response.status}`);
  const bytes = await response.arrayBuffer();
  if (base64(await crypto.subtle.digest("SHA-256", bytes)) !== FILES[name])
    throw new Error(`${name} is not the one of version ${VERSION}`);
  return [name, new Response(bytes, { headers: response.headers })];
}

self.addEventListener("install", (event) => {
  event.waitUntil((async () => {
    try {
      const files = await Promise.all(Object.keys(FILES).map(fetchFile));
      const cache = await caches.open(CACHE);
      await Promise.all(files.map(([name, response]) => cache.put(new URL(name, scope), response)));
    } catch (error) {
      await caches.delete(CACHE);
      throw error;
    }
  })());
});

// Taking over: the caches of older builds of this copy of the game go, and a
// page that has no worker yet (the first visit) gets this one.
self.addEventListener("activate", (event) => {
  event.waitUntil((async () => {
    for (const name of await caches.keys()) {
      if (name.startsWith(CACHE_PREFIX) && name !== CACHE)
        await caches.delete(name);
    }
    await self.clients.claim();
  })());
});

// The player's word, from the page's update button.
self.addEventListener("message", (event) => {
  if (event.data === "take-update")
    self.skipWaiting();
});

// The site's files from the cache (the page at the site's root as well);
// anything else, and a file missing from the cache, from the network.
self.addEventListener("fetch", (event) => {
  const request = event.request;
  const url = new URL(request.url);
  if (request.method !== "GET" || url.origin !== scope.origin || !url.pathname.startsWith(scope.pathname))
    return;
  let name = decodeURIComponent(url.pathname.slice(scope.pathname.length));
  if (name === "" && request.mode === "navigate")
    name = "index.html";
  if (!Object.hasOwn(FILES, name))
    return;
  event.respondWith((async () => {
    const cached = await (await caches.open(CACHE)).match(new URL(name, scope));
    return cached ?? fetch(request);
  })());
});
