// The page around the game, which runs in keyhaven.wasm: the main window on a
// canvas, the dialogs and message boxes, the popup menu, the keys, the timer,
// the sounds and the record files' links. The page only draws and asks; it
// hands every key, click and tick back to the game.
import { accelerators, dialogs as templates, menu } from "./resources.js";

const canvas = document.getElementById("main-window");
const recordLinks = document.getElementById("records");
const popupMenu = document.getElementById("menu");
const context = canvas.getContext("2d");
const fonts = getComputedStyle(document.documentElement).getPropertyValue("--fonts");
const pageTitle = document.title;

// The canvas is the main window from its top-left corner to a little beyond
// the right and bottom of its ellipse; only the ellipse shows. Its client area
// begins below the frame, caption and menu bar, as with the desktop's classic look.
const WINDOW_WIDTH = 855, WINDOW_HEIGHT = 610;
const CLIENT_X = 4, CLIENT_Y = 42;

// The characters that the desktop gets from keys without a letter of their own.
const CONTROL_CHARACTERS = { Enter: 13, Backspace: 8, Tab: 9, Escape: 27 };

// A dialog's scroll bar: Windows' scroll codes, the width of its arrows and
// thumb, the keys that step it, and the pauses of an arrow or the track held down.
const SB = {
  LINELEFT: 0, LINERIGHT: 1, PAGELEFT: 2, PAGERIGHT: 3, THUMBPOSITION: 4, THUMBTRACK: 5, LEFT: 6, RIGHT: 7, ENDSCROLL: 8,
};
const SCROLL_BOX = 16;
const SCROLL_KEYS = {
  ArrowLeft: SB.LINELEFT, ArrowRight: SB.LINERIGHT, PageUp: SB.PAGELEFT, PageDown: SB.PAGERIGHT, Home: SB.LEFT, End: SB.RIGHT,
};
const FIRST_REPEAT_MS = 200, REPEAT_MS = 50;

let game = null;
// What the game tells the page of itself (KeyhavenSettings): the main window's
// ellipse, where the popup menu opens, the name one game at a time holds, the
// record files' names and the largest record file it reads.
let settings = null;
let timer = null;
let paintAsked = false;
let drawnTexts = [];
let ended = false;
const openDialogs = [];  // every open dialog and message box, the newest last
const dialogsByName = new Map();

// Shows "&N" as an underlined N, the mnemonic; "&&" is one "&".
function setText(element, text) {
  element.replaceChildren();
  const parts = text.split(/&(.)/s);
  for (let i = 0; i < parts.length; ++i) {
    if (i % 2 === 0) {
      element.append(parts[i]);
    } else if (parts[i] === "&") {
      element.append("&");
    } else {
      const letter = document.createElement("u");
      letter.textContent = parts[i];
      element.append(letter);
      element.dataset.mnemonic = parts[i].toUpperCase();
    }
  }
}

// A window with its caption bar; the close box, where the desktop's has one,
// does nothing there either.
function makeModal(title, closeBox = false) {
  const dialog = document.createElement("dialog");
  dialog.className = "window";
  const caption = document.createElement("div");
  caption.className = "caption";
  caption.append(document.createElement("span"));
  if (closeBox)
    caption.append(icon("0 0 8 7", '<path d="M0 0h2l2 2 2-2h2L5 3.5 8 7H6L4 5 2 7H0l3-3.5z"/>', "close-box"));
  dialog.append(caption);
  setModalTitle(dialog, title);
  return dialog;
}

function setModalTitle(dialog, title) {
  dialog.firstChild.firstChild.textContent = title;
  dialog.setAttribute("aria-label", title);
}

function openModal(dialog) {
  dialog.addEventListener("cancel", (event) => event.preventDefault());
  document.body.append(dialog);
  openDialogs.push(dialog);
  dialog.showModal();
}

// A dialog asked to close goes once every dialog or box opened after it has
// gone, as a modal dialog ends only when the one opened from it has returned.
function closeModal(dialog) {
  dialog.closing = true;
  while (openDialogs.length > 0 && openDialogs.at(-1).closing) {
    const top = openDialogs.pop();
    top.close();
    top.remove();
  }
  requestPaint();  // the main window repaints what the dialog covered
}

// A push-like radio button stays pressed in while checked; checking one
// clears the others of its dialog.
function check(radio) {
  for (const other of radio.parentElement.querySelectorAll('[role="radio"]'))
    other.setAttribute("aria-checked", String(other === radio));
}

function makeControl(name, control) {
  let element;
  if (control.kind === "button" || control.kind === "radio") {
    element = document.createElement("button");
    element.type = "button";
    element.classList.toggle("default", Boolean(control.default));
    if (control.kind === "radio") {
      element.setAttribute("role", "radio");
      element.setAttribute("aria-checked", "false");
    }
    element.addEventListener("click", () => {
      if (control.kind === "radio")
        check(element);
      game.ccall("KeyhavenDialogCommand", null, ["string", "number"], [name, control.id]);
    });
  } else if (control.kind === "edit") {
    element = document.createElement("input");
    element.type = "text";
    element.value = control.text;
  } else if (control.kind === "bitmap") {
    element = document.createElement("img");  // as large as its bitmap
    element.src = control.text;
    element.alt = "";
  } else {
    element = document.createElement("div");
    element.className = "text";
  }
  if (element.tagName === "BUTTON" || element.tagName === "DIV")
    setText(element, control.text);
  element.classList.toggle("right", Boolean(control.right));
  element.dataset.control = control.id;
  Object.assign(element.style, { left: `${control.x}px`, top: `${control.y}px` });
  if (element.tagName !== "IMG")
    Object.assign(element.style, { width: `${control.width}px`, height: `${control.height}px` });
  return element;
}

function control(name, id) {
  return dialogsByName.get(name).querySelector(`[data-control="${id}"]`);
}

function icon(viewBox, paths, className) {
  const picture = document.createElementNS("http://www.w3.org/2000/svg", "svg");
  picture.setAttribute("viewBox", viewBox);
  picture.setAttribute("class", className);
  picture.setAttribute("aria-hidden", "true");
  picture.innerHTML = paths;
  return picture;
}

function warningIcon() {
  return icon("0 0 32 32", '<path d="M16 2 31 29H1z" fill="#ffd800" stroke="#000"/>' +
    '<path d="M14.5 10h3l-.7 11h-1.6zM14.5 23h3v3h-3z"/>', "warning");
}

// A dialog's own horizontal scroll bar along the bottom of its client area,
// as Windows draws one: two arrows, the track and a square thumb. Its actions
// go to the game as Windows' scroll codes, each one ending with SB_ENDSCROLL:
// an arrow steps a line, the track a page, again and again while held down;
// dragging the thumb tells the game each new position and the last one.
function makeScrollBar(name) {
  const bar = document.createElement("div");
  bar.className = "scrollbar";
  bar.setAttribute("role", "scrollbar");
  bar.setAttribute("aria-orientation", "horizontal");
  bar.innerHTML = '<div class="arrow"></div><div class="track"></div><div class="thumb"></div><div class="arrow"></div>';
  const [leftArrow, track, thumb, rightArrow] = bar.children;
  // Once the bar has left the page, its dialog has closed: nothing more goes.
  const send = (code, pos = 0) => {
    if (bar.isConnected)
      game.ccall("KeyhavenDialogScroll", null, ["string", "number", "number"], [name, code, pos]);
  };
  bar.step = (code) => {
    send(code);
    send(SB.ENDSCROLL);
  };
  bar.placeThumb = (pos) => {
    const [first, last] = bar.range;
    const room = track.clientWidth - SCROLL_BOX;
    thumb.style.left = `${SCROLL_BOX + (last > first ? Math.round((pos - first) * room / (last - first)) : 0)}px`;
  };
  // An arrow or the track held repeats until it is let go or can no longer
  // be held: the pointer is lost, the page loses the focus, the dialog
  // closes, or the bar leaves the page in any other way (no event comes then;
  // the next repeat sees it).
  const hold = (event, code) => {
    event.preventDefault();
    const part = event.currentTarget;
    part.setPointerCapture(event.pointerId);
    const held = new AbortController();
    let repeat;
    const letGo = () => {
      held.abort();
      clearTimeout(repeat);
      send(SB.ENDSCROLL);
    };
    for (const type of ["pointerup", "pointercancel", "lostpointercapture"])
      part.addEventListener(type, letGo, { signal: held.signal });
    addEventListener("blur", letGo, { signal: held.signal });
    bar.closest("dialog").addEventListener("close", letGo, { signal: held.signal });
    send(code);
    repeat = setTimeout(function again() {
      if (!bar.isConnected)
        return letGo();
      send(code);
      repeat = setTimeout(again, REPEAT_MS);
    }, FIRST_REPEAT_MS);
  };
  leftArrow.onpointerdown = (event) => hold(event, SB.LINELEFT);
  rightArrow.onpointerdown = (event) => hold(event, SB.LINERIGHT);
  track.onpointerdown = (event) =>
    hold(event, event.offsetX < thumb.offsetLeft - SCROLL_BOX ? SB.PAGELEFT : SB.PAGERIGHT);
  thumb.onpointerdown = (event) => {
    event.preventDefault();
    thumb.setPointerCapture(event.pointerId);
    const grip = event.clientX - thumb.getBoundingClientRect().left;
    let pos = bar.pos;
    thumb.onpointermove = (move) => {
      const [first, last] = bar.range;
      const x = move.clientX - grip - track.getBoundingClientRect().left;
      const next = Math.min(last, Math.max(first, first + Math.round(x * (last - first) / (track.clientWidth - SCROLL_BOX))));
      bar.placeThumb(next);
      if (next !== pos)
        send(SB.THUMBTRACK, pos = next);
    };
    thumb.onpointerup = thumb.onpointercancel = () => {
      thumb.onpointermove = thumb.onpointerup = thumb.onpointercancel = null;
      send(SB.THUMBPOSITION, pos);
      send(SB.ENDSCROLL);
    };
  };
  return bar;
}

function setScrollPos(bar, pos) {
  const [first, last] = bar.range;
  bar.pos = Math.min(last, Math.max(first, pos));
  bar.setAttribute("aria-valuenow", bar.pos);
  bar.placeThumb(bar.pos);
}

// The game's sounds, each fetched and decoded once. A sound cuts off the one
// still playing, as on the desktop. Browsers start a page's audio only at the
// player's first click or key: a sound started before then plays from then.
// Making the audio context takes a tenth of a second, so it is made once the
// first sound has arrived, after the opening dialog is on the screen.
let audio = null;
const sounds = new Map();  // file -> promise of its samples, null when it has none
let newestSound = null;    // the sound asked for last: its source once it has started

function audioContext() {
  audio ??= new AudioContext();
  return audio;
}

for (const type of ["pointerdown", "keydown"]) {
  addEventListener(type, () => {
    if (audio?.state === "suspended")
      audio.resume();
  }, true);
}

async function playSound(file) {
  const asked = {};
  if (newestSound instanceof AudioBufferSourceNode)
    newestSound.stop();
  newestSound = asked;
  const buffer = await sounds.get(file);
  if (newestSound !== asked || !buffer)
    return;
  const source = newestSound = audio.createBufferSource();
  source.buffer = buffer;
  source.connect(audio.destination);
  source.start();
}

function paint() {
  paintAsked = false;
  if (canvas.hidden || ended)
    return;
  context.setTransform(devicePixelRatio, 0, 0, devicePixelRatio, 0, 0);
  context.clearRect(0, 0, WINDOW_WIDTH, WINDOW_HEIGHT);
  context.save();
  context.beginPath();
  const { left, top, right, bottom } = settings.ellipse;
  context.ellipse((left + right) / 2, (top + bottom) / 2, (right - left) / 2, (bottom - top) / 2, 0, 0, 2 * Math.PI);
  context.fillStyle = "#000";
  context.fill();
  context.clip();
  context.translate(CLIENT_X, CLIENT_Y);
  drawnTexts = [];
  game._KeyhavenPaint();
  context.restore();
  // What the canvas shows, line by line, for screen readers and tests.
  canvas.setAttribute("aria-label", drawnTexts.join("\n"));
}

function requestPaint() {
  if (!paintAsked) {
    paintAsked = true;
    requestAnimationFrame(paint);
  }
}

// What the game asks of the page (web/page.h).
const page = {
  setTitle(text) { document.title = text; },
  startTimer() {
    clearInterval(timer);
    timer = setInterval(() => game._KeyhavenTick(), 50);
    document.body.toggleAttribute("data-run", true);  // a run in progress, for update.js
  },
  stopTimer() {
    clearInterval(timer);
    document.body.toggleAttribute("data-run", false);
  },
  now() { return performance.now(); },
  requestPaint,

  // The font's cell is as tall as its size: the text's top is the cell's top.
  drawText(x, y, height, weight, colour, text) {
    context.font = `${weight} ${height}px ${fonts}`;
    context.fillStyle = `rgb(${colour & 0xff}, ${(colour >> 8) & 0xff}, ${(colour >> 16) & 0xff})`;
    context.fillText(text, x, y + context.measureText(text).fontBoundingBoxAscent);
    drawnTexts.push(text);
  },

  showMainWindow() {
    canvas.hidden = false;
    recordLinks.hidden = false;
    canvas.focus();
    requestPaint();
  },

  showEnd() {
    ended = true;
    // The game's sound goes with it, as the desktop's goes with its process;
    // one still on its way does not start.
    if (newestSound instanceof AudioBufferSourceNode)
      newestSound.stop();
    newestSound = null;
    for (const dialog of openDialogs.splice(0))
      dialog.remove();
    canvas.parentElement.hidden = true;  // the main window and the links under it
    document.getElementById("end").hidden = false;
    document.title = pageTitle;
  },

  openDialog(name) {
    const template = templates[name];
    const dialog = makeModal(template.title, template.closeBox);
    const client = document.createElement("div");
    client.className = "client";
    client.style.width = `${template.width}px`;
    client.style.height = `${template.height}px`;
    client.append(...template.controls.map((c) => makeControl(name, c)));
    dialog.append(client);
    dialogsByName.set(name, dialog);
    openModal(dialog);
  },
  closeDialog(name) {
    closeModal(dialogsByName.get(name));
    dialogsByName.delete(name);
  },
  setDialogTitle(name, text) { setModalTitle(dialogsByName.get(name), text); },
  setItemText(name, id, text) {
    const element = control(name, id);
    if (element.tagName === "INPUT")
      element.value = text;
    else
      setText(element, text);
  },
  itemText(name, id) {
    const element = control(name, id);
    return element.tagName === "INPUT" ? element.value : element.textContent;
  },
  addText(name, id, x, y, width, height, fontHeight, text) {
    const client = dialogsByName.get(name).querySelector(".client");
    client.append(makeControl(name, { id, kind: "text", text, x, y, width, height }));
    Object.assign(control(name, id).style, { font: `${fontHeight}px/${fontHeight}px ${fonts}` });
  },
  checkItem(name, id) { check(control(name, id)); },
  setScrollRange(name, first, last) {
    const dialog = dialogsByName.get(name);
    if (!dialog.scrollBar) {
      dialog.scrollBar = makeScrollBar(name);
      dialog.querySelector(".client").append(dialog.scrollBar);
      dialog.scrollBar.pos = first;
    }
    const bar = dialog.scrollBar;
    bar.range = [first, last];
    bar.hidden = last <= first;
    bar.setAttribute("aria-valuemin", first);
    bar.setAttribute("aria-valuemax", last);
    setScrollPos(bar, bar.pos);
  },
  setScrollPos(name, pos) { setScrollPos(dialogsByName.get(name).scrollBar, pos); },

  loadSound(file) {
    if (globalThis.AudioContext) {
      sounds.set(file, fetch(file).then((response) => response.ok ? response.arrayBuffer() : Promise.reject())
        .then((data) => audioContext().decodeAudioData(data)).catch(() => null));
    }
  },
  playSound,

  openLink(link) {
    const anchor = document.createElement("a");
    anchor.href = link;
    anchor.target = "_blank";
    anchor.rel = "noopener";
    anchor.click();
  },
  download(file, bytes) {
    const anchor = document.createElement("a");
    anchor.href = URL.createObjectURL(new Blob([bytes], { type: "application/octet-stream" }));
    anchor.download = file;
    anchor.click();
    setTimeout(() => URL.revokeObjectURL(anchor.href), 40000);  // long after the download has begun
  },

  // The buttons and the answers of the desktop's message boxes: OK, or はい and いいえ.
  messageBox(box, text, caption, style) {
    const dialog = makeModal(caption);
    const message = document.createElement("div");
    message.className = "message";
    const body = document.createElement("div");
    body.className = "body";
    const paragraph = document.createElement("p");
    paragraph.textContent = text;
    if (style === "warning")
      body.append(warningIcon());
    body.append(paragraph);
    const buttons = document.createElement("div");
    buttons.className = "buttons";
    const answers = style === "yesno" ? [["はい(&Y)", 1], ["いいえ(&N)", 0]] : [["OK", 1]];
    for (const [label, answer] of answers) {
      const button = document.createElement("button");
      button.type = "button";
      setText(button, label);
      button.addEventListener("click", () => {
        closeModal(dialog);
        game._KeyhavenMessageBoxAnswer(box, answer);
      });
      buttons.append(button);
    }
    dialog.escapeAnswers = style !== "yesno";  // Esc is OK where OK is the only answer
    message.append(body, buttons);
    dialog.append(message);
    openModal(dialog);
  },
};

// A letter that a button's text marks with "&" presses that button, or, where
// several buttons share it, moves the focus from one to the next. In a text
// field the letter is typed, unless Alt is held.
function pressMnemonic(dialog, event) {
  if (event.ctrlKey || event.metaKey || [...event.key].length !== 1)
    return false;
  if (document.activeElement.tagName === "INPUT" && !event.altKey)
    return false;
  const letter = event.key.toUpperCase();
  const buttons = [...dialog.querySelectorAll("button")].filter((b) => b.dataset.mnemonic === letter);
  if (buttons.length === 1)
    buttons[0].click();
  else if (buttons.length > 1)
    buttons[(buttons.indexOf(document.activeElement) + 1) % buttons.length].focus();
  return buttons.length > 0;
}

// While a dialog is open, keys stay in it: Esc closes nothing (but answers OK
// in a box that has only OK), Enter in the name field presses the default
// button, the arrows, page keys, Home and End step a scroll bar, and the rest
// is the dialog's own.
function dialogKey(dialog, event) {
  if (dialog.scrollBar && !dialog.scrollBar.hidden && event.key in SCROLL_KEYS) {
    event.preventDefault();
    dialog.scrollBar.step(SCROLL_KEYS[event.key]);
  } else if (event.key === "Escape") {
    event.preventDefault();
    if (dialog.escapeAnswers)
      dialog.querySelector("button").click();
  } else if (event.key === "Enter" && document.activeElement.tagName === "INPUT") {
    event.preventDefault();
    dialog.querySelector("button.default")?.click();
  } else if (pressMnemonic(dialog, event)) {
    event.preventDefault();
  }
}

// Every function key is the page's: F5 never reloads it. F1 to F8 are the
// game's commands while the main window has the keys, as its accelerators.
function functionKey(event) {
  event.preventDefault();
  const plain = !event.shiftKey && !event.ctrlKey && !event.altKey && !event.metaKey;
  if (plain && openDialogs.length === 0 && !canvas.hidden && event.key in accelerators)
    game._KeyhavenCommand(accelerators[event.key]);
}

// A key at the main window is a character, as the desktop's WM_CHAR: its
// code page 932 bytes one after the other.
function mainWindowKey(event) {
  if (event.ctrlKey || event.altKey || event.metaKey)
    return;
  let bytes;
  if (event.key in CONTROL_CHARACTERS)
    bytes = [CONTROL_CHARACTERS[event.key]];
  else if ([...event.key].length === 1)
    bytes = game.cp932Bytes(event.key);
  else
    return;
  event.preventDefault();
  for (const byte of bytes)
    game._KeyhavenCharacter(byte);
}

// The popup menu of a right click on the main window: the resource script's
// first popup. Its top-left corner is where the desktop puts it, with the
// page's top-left corner for the screen's.
for (const item of menu) {
  const element = document.createElement(item.separator ? "div" : "button");
  if (item.separator) {
    element.setAttribute("role", "separator");
  } else {
    const [text, key] = item.text.split("\t");
    element.type = "button";
    element.tabIndex = -1;
    element.setAttribute("role", "menuitem");
    element.setAttribute("aria-label", `${text} ${key}`);
    element.append(text, Object.assign(document.createElement("span"), { textContent: key }));
    element.addEventListener("click", () => {
      popupMenu.hidePopover();
      game._KeyhavenCommand(item.command);
    });
  }
  popupMenu.append(element);
}

function insideEllipse(x, y) {
  const { left, top, right, bottom } = settings.ellipse;
  const rx = (right - left) / 2, ry = (bottom - top) / 2;
  return ((x - left - rx) / rx) ** 2 + ((y - top - ry) / ry) ** 2 <= 1;
}

canvas.addEventListener("contextmenu", (event) => {
  if (!insideEllipse(event.offsetX, event.offsetY))
    return;  // outside the ellipse the main window is not there
  event.preventDefault();
  // The desktop takes the click's client position, moved, as a position on
  // the screen as it stands.
  popupMenu.style.left = `${event.offsetX - CLIENT_X + settings.menuOffset.x}px`;
  popupMenu.style.top = `${event.offsetY - CLIENT_Y + settings.menuOffset.y}px`;
  popupMenu.showPopover();
  popupMenu.focus();
});
popupMenu.addEventListener("toggle", (event) => {
  if (event.newState === "closed")
    canvas.focus();
});

// While the menu is open, keys are the menu's: the arrows move between its
// items, Enter picks one and Esc closes it; nothing reaches the game.
function menuKey(event) {
  const items = [...popupMenu.querySelectorAll("button")];
  const step = { ArrowDown: 1, ArrowUp: -1 }[event.key];
  if (step) {
    const at = items.indexOf(document.activeElement);
    items[at < 0 ? (step > 0 ? 0 : items.length - 1) : (at + step + items.length) % items.length].focus();
  }
  if (event.key !== "Escape" && event.key !== "Enter")
    event.preventDefault();
}

// The links under the stage: the record files saved as the desktop game keeps
// them, and those of a desktop game folder loaded into the page.
for (const button of recordLinks.querySelectorAll("[data-save]")) {
  button.addEventListener("click", () => {
    game.ccall("KeyhavenSaveRecordFile", null, ["string"], [button.dataset.save]);
    canvas.focus();
  });
}
const recordFiles = document.getElementById("record-files");
document.getElementById("load-records").addEventListener("click", () => recordFiles.click());
recordFiles.addEventListener("change", async () => {
  for (const file of recordFiles.files) {
    const bytes = file.size <= settings.recordFileLimit ? new Uint8Array(await file.arrayBuffer()) : null;
    const name = game.cp932Bytes(file.name);
    game.ccall("KeyhavenOfferRecordFile", null, ["array", "number", "array", "number"],
               [name, name.length, bytes ?? [], bytes ? bytes.length : -1]);
  }
  recordFiles.value = "";
  game._KeyhavenLoadOfferedRecordFiles();
  canvas.focus();
});

// Keys that an input method is composing with are its own.
document.addEventListener("keydown", (event) => {
  if (event.isComposing)
    return;
  if (popupMenu.matches(":popover-open"))
    menuKey(event);
  else if (/^F\d+$/.test(event.key))
    functionKey(event);
  else if (openDialogs.length > 0)
    dialogKey(openDialogs.at(-1), event);
  else if (!canvas.hidden && !ended)
    mainWindowKey(event);
}, true);

canvas.width = WINDOW_WIDTH * devicePixelRatio;
canvas.height = WINDOW_HEIGHT * devicePixelRatio;
canvas.style.width = `${WINDOW_WIDTH}px`;
canvas.style.height = `${WINDOW_HEIGHT}px`;

// The canvas draws only with fonts that have arrived.
const [module] = await Promise.all([
  createKeyhaven({ page }),
  document.fonts.load(`400 12px "Keyhaven PGothic"`),
  document.fonts.load(`700 18px "Keyhaven PGothic"`),
]);
game = module;
settings = JSON.parse(game.ccall("KeyhavenSettings", "string", [], []));
recordLinks.querySelectorAll("[data-save]").forEach((button, k) => {
  button.dataset.save = settings.recordFiles[k];
  button.textContent = `${settings.recordFiles[k]} を保存`;
});

// One game at a time, as the desktop's named mutex keeps it: the page that
// gets the game's lock holds it for as long as it is open, and a page that
// finds it taken warns and does not start. Without the lock (a page served
// over plain HTTP from another host), every page plays.
if (navigator.locks) {
  navigator.locks.request(settings.instanceName, { ifAvailable: true }, (lock) => {
    game._KeyhavenStart(lock ? 1 : 0);
    return lock && new Promise(() => {});
  });
} else {
  game._KeyhavenStart(1);
}
