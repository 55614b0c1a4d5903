// How large the game is drawn, and where its dialogs may stand. One scale serves the title
// picture, the main window and every dialog: the stylesheet gives all their sizes in --u,
// one window pixel at that scale, so the browser lays them out again and text stays sharp.
// By default the scale follows the screen: the widest dialog fits with a margin, and a large
// screen draws the game larger. The player may choose a size instead; this browser keeps it.
const KEY = "tolvi.size";
const MARGIN = 8;  // CSS pixels kept free beside a dialog
// Up to this size of screen the windows keep their own pixels; beyond it they grow with it.
const ROOMY_WIDTH = 1280;
const ROOMY_HEIGHT = 640;
const SMALLEST = 0.5;
// Where the dialogs open at the scale of one: the main window's client area on the desktop.
const CLIENT_LEFT = 26;
const CLIENT_TOP = 64;
const DESKTOP_MARGIN = 24;

const root = document.documentElement;
const control = document.getElementById("size");
const listeners = [];
let largest = null;  // the widest and the tallest dialog at the scale of one
let scale = 1;

// Every dialog template with a size of its own, drawn once off screen at the scale of one.
function measureTemplates() {
  const box = document.createElement("div");
  box.style.cssText = "position: absolute; left: 0; top: 0; visibility: hidden; --u: 1px";
  document.body.append(box);
  let width = 0;
  let height = 0;
  for (const template of document.querySelectorAll("template")) {
    const dialog = template.content.firstElementChild;
    if (dialog?.tagName !== "DIALOG" || !dialog.style.getPropertyValue("--cx")) continue;
    const copy = dialog.cloneNode(true);
    copy.removeAttribute("data-window");
    copy.removeAttribute("id");
    for (const named of copy.querySelectorAll("[id]")) named.removeAttribute("id");
    copy.style.display = "block";
    box.append(copy);
    width = Math.max(width, copy.offsetWidth);
    height = Math.max(height, copy.offsetHeight);
  }
  box.remove();
  return { width, height };
}

function chosen() {
  try {
    return localStorage.getItem(KEY) ?? "auto";
  } catch {
    return "auto";
  }
}

function keep(value) {
  try {
    if (value === "auto") {
      localStorage.removeItem(KEY);
    } else {
      localStorage.setItem(KEY, value);
    }
  } catch {
    // A browser that keeps nothing for the page still draws the size for this visit.
  }
}

// The layout viewport, which an on-screen keyboard leaves alone: the scale does not jump
// while the player types.
function automatic() {
  const width = root.clientWidth;
  const fit = (width - 2 * MARGIN) / largest.width;
  const roomy = Math.max(1, Math.min(width / ROOMY_WIDTH, window.innerHeight / ROOMY_HEIGHT));
  return Math.max(SMALLEST, Math.min(fit, roomy));
}

function apply() {
  const value = chosen();
  const wanted = value === "auto" ? automatic() : Number(value);
  scale = Number.isFinite(wanted) && wanted > 0 ? wanted : automatic();
  root.style.setProperty("--u", `${scale}px`);
  for (const listener of listeners) listener(scale);
}

// CSS pixels to a window pixel, now.
export function currentScale() {
  return scale;
}

// Calls listener(scale) whenever the scale changes or the visible part of the page moves.
export function onRescale(listener) {
  listeners.push(listener);
}

// left and top moved as little as needed for a box of width × height to lie within the
// part of the page that shows, an on-screen keyboard left out; a box larger than that
// keeps its top-left corner in sight.
export function keepInView(left, top, width, height) {
  const view = window.visualViewport ??
      { offsetLeft: 0, offsetTop: 0, width: root.clientWidth, height: window.innerHeight };
  const within = (at, start, length, size) =>
    Math.max(start + Math.min(MARGIN, Math.max(0, (length - size) / 2)),
             Math.min(at, start + length - MARGIN - size));
  return [within(left, view.offsetLeft, view.width, width),
          within(top, view.offsetTop, view.height, height)];
}

// Measures the dialogs, sets the scale and keeps it up to date; wires the player's control.
export function startScreen() {
  largest = measureTemplates();
  root.style.setProperty("--desktop-width",
                         String(CLIENT_LEFT + largest.width + DESKTOP_MARGIN));
  root.style.setProperty("--desktop-height",
                         String(CLIENT_TOP + largest.height + DESKTOP_MARGIN));
  control.value = chosen();
  if (control.selectedIndex < 0) control.value = "auto";
  control.addEventListener("change", () => {
    keep(control.value);
    apply();
  });
  window.addEventListener("resize", apply);
  // A scroll bar that comes narrows the page without resizing the window. Only growing
  // smaller here: a scroll bar that the smaller game no longer needs leaves it so, rather
  // than come and go.
  new ResizeObserver(() => {
    if (chosen() === "auto" && automatic() < scale) apply();
  }).observe(root);
  window.visualViewport?.addEventListener("resize", () => listeners.forEach((l) => l(scale)));
  window.visualViewport?.addEventListener("scroll", () => listeners.forEach((l) => l(scale)));
  apply();
}
