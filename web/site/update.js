// The site as an app: the service worker (sw.js) that keeps this build's files
// for playing offline, and the news of a newer build beside the record links.
// A newer build is taken only when the player presses the button, never by
// itself and never in the middle of a stage: the page marks a run in progress
// with data-run on its body, and while it is there the button waits.
const bar = document.getElementById("update");
const button = bar.querySelector("button");
let waiting = null;  // the newer build's worker
let taking = false;

function announce(worker) {
  waiting = worker;
  bar.hidden = false;
}

function runInProgress() {
  return document.body.hasAttribute("data-run");
}

function followRun() {
  button.disabled = runInProgress();
}
new MutationObserver(followRun).observe(document.body, { attributes: true, attributeFilter: ["data-run"] });
followRun();

button.addEventListener("click", () => {
  if (!waiting || runInProgress())
    return;
  taking = true;
  button.disabled = true;
  waiting.postMessage("take-update");
});

async function start() {
  const workers = navigator.serviceWorker;
  // The page reloads only when the player has taken the newer build: the
  // first visit's worker taking the page over changes nothing on it.
  workers.addEventListener("controllerchange", () => {
    if (taking)
      location.reload();
  });
  const registration = await workers.register("sw.js");
  const newer = (worker) => {
    if (worker.state === "installed" && workers.controller)
      announce(worker);
  };
  if (registration.waiting)
    newer(registration.waiting);
  registration.addEventListener("updatefound", () => {
    const worker = registration.installing;
    worker.addEventListener("statechange", () => newer(worker));
  });
  // The browser looks for a newer build at every visit; a page left open
  // looks when the network comes back, when it is shown again, and hourly.
  const check = () => registration.update().catch(() => {});
  addEventListener("online", check);
  document.addEventListener("visibilitychange", () => {
    if (document.visibilityState === "visible")
      check();
  });
  setInterval(check, 60 * 60 * 1000);
}

// Service workers need HTTPS, or a page of this machine (localhost). The
// worker's install fetches the whole site: it starts once the game has put
// its first window on the screen (the opening dialog, or the warning of a
// second page), so that it never slows the page's start.
function firstWindowShown() {
  return new Promise((shown) => {
    const look = () => {
      if (!document.querySelector("dialog[open]"))
        return false;
      requestAnimationFrame(() => setTimeout(shown));
      return true;
    };
    if (look())
      return;
    const watch = new MutationObserver(() => look() && watch.disconnect());
    watch.observe(document.body, { childList: true });
    setTimeout(() => {
      watch.disconnect();
      shown();
    }, 10000);
  });
}

// A site whose worker cannot be registered is a page as before.
if ("serviceWorker" in navigator)
  firstWindowShown().then(start).catch((error) => console.warn("ぱたたん: no service worker:", error));
