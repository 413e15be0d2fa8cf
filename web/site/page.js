// The page around the game, which runs in keyhaven.wasm: the main window on a
// canvas, the dialogs and message boxes, the keys and the timer. The page only
// draws and asks; it hands every key, click and tick back to the game.
import { accelerators, dialogs as templates } from "./resources.js";

const canvas = document.getElementById("main-window");
const context = canvas.getContext("2d");
const fonts = getComputedStyle(document.documentElement).getPropertyValue("--fonts");
const pageTitle = document.title;

// The canvas is the main window from its top-left corner to the right and
// bottom of its ellipse; only the ellipse shows. Its client area begins below
// the frame, caption and menu bar, as with the desktop's classic look.
const WINDOW_WIDTH = 855, WINDOW_HEIGHT = 610;
const ELLIPSE = { left: 10, top: 50, right: 845, bottom: 600 };
const CLIENT_X = 4, CLIENT_Y = 42;

// The characters that the desktop gets from keys without a letter of their own.
const CONTROL_CHARACTERS = { Enter: 13, Backspace: 8, Tab: 9, Escape: 27 };

let game = null;
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

function makeModal(title) {
  const dialog = document.createElement("dialog");
  dialog.className = "window";
  const caption = document.createElement("div");
  caption.className = "caption";
  dialog.append(caption);
  setModalTitle(dialog, title);
  return dialog;
}

function setModalTitle(dialog, title) {
  dialog.firstChild.textContent = title;
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

function makeControl(name, control) {
  let element;
  if (control.kind === "button") {
    element = document.createElement("button");
    element.type = "button";
    element.classList.toggle("default", Boolean(control.default));
    element.addEventListener("click", () =>
      game.ccall("KeyhavenDialogCommand", null, ["string", "number"], [name, control.id]));
  } else if (control.kind === "edit") {
    element = document.createElement("input");
    element.type = "text";
  } else {
    element = document.createElement("div");
    element.className = "text";
  }
  element.classList.toggle("right", Boolean(control.right));
  element.dataset.control = control.id;
  if (element.tagName === "INPUT")
    element.value = control.text;
  else
    setText(element, control.text);
  Object.assign(element.style, {
    left: `${control.x}px`, top: `${control.y}px`, width: `${control.width}px`, height: `${control.height}px`,
  });
  return element;
}

function control(name, id) {
  return dialogsByName.get(name).querySelector(`[data-control="${id}"]`);
}

function warningIcon() {
  const icon = document.createElementNS("http://www.w3.org/2000/svg", "svg");
  icon.setAttribute("viewBox", "0 0 32 32");
  icon.setAttribute("width", "32");
  icon.setAttribute("height", "32");
  icon.setAttribute("aria-hidden", "true");
  icon.innerHTML = '<path d="M16 2 31 29H1z" fill="#ffd800" stroke="#000"/>' +
    '<path d="M14.5 10h3l-.7 11h-1.6zM14.5 23h3v3h-3z"/>';
  return icon;
}

function paint() {
  paintAsked = false;
  if (canvas.hidden || ended)
    return;
  context.setTransform(devicePixelRatio, 0, 0, devicePixelRatio, 0, 0);
  context.clearRect(0, 0, WINDOW_WIDTH, WINDOW_HEIGHT);
  context.save();
  context.beginPath();
  context.ellipse((ELLIPSE.left + ELLIPSE.right) / 2, (ELLIPSE.top + ELLIPSE.bottom) / 2,
                  (ELLIPSE.right - ELLIPSE.left) / 2, (ELLIPSE.bottom - ELLIPSE.top) / 2, 0, 0, 2 * Math.PI);
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
  },
  stopTimer() { clearInterval(timer); },
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
    canvas.focus();
    requestPaint();
  },

  showEnd() {
    ended = true;
    for (const dialog of openDialogs.splice(0))
      dialog.remove();
    canvas.hidden = true;
    document.getElementById("end").hidden = false;
    document.title = pageTitle;
  },

  openDialog(name) {
    const template = templates[name];
    const dialog = makeModal(template.title);
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
// button, and the rest is the dialog's own.
function dialogKey(dialog, event) {
  if (event.key === "Escape") {
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

// Keys that an input method is composing with are its own.
document.addEventListener("keydown", (event) => {
  if (event.isComposing)
    return;
  if (/^F\d+$/.test(event.key))
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
game._KeyhavenStart();
