// The program's dialogs: made anew from their templates for each showing, filled with the
// program's texts and fields, modal over the main window until a button, Enter, Esc or the
// close box ends them, as the dialog manager of the Windows program does. Each is named by
// its caption for screen readers, kept within the part of the page that shows, and its
// texts drawn narrower where the player's fonts are wider than the template's.
import { drawChart } from "./chart.js";
import { keepInView, onRescale } from "./screen.js";
import { fillTexts } from "./texts.js";

// What each dialog does with its keys: the control that has the focus at first (none: the
// dialog itself), what Enter and Esc end it with (null: Esc and the close box do nothing),
// whether its buttons answer to their plain access keys, and whether it opens centred.
const kinds = {
  name: { focus: 1001, enter: 1, escape: 2 },
  typing: { focus: 1006, enter: 1, escape: 2 },
  result: { focus: 1, enter: 1, escape: 2, accessKeys: true },
  highscore: { enter: 1, escape: 2 },
  progress: { focus: 1, enter: 1, escape: 2 },
  about: { enter: 1, escape: null },
  version: { enter: 1, escape: null },
  message: { focus: 1, enter: 1, escape: 1, centred: true },
};

// How far letters may close up before a text too wide for its control is drawn smaller; in
// ems, so that what fits at one scale fits at all.
const CLOSEST = -0.05;
const ruler = document.createElement("canvas").getContext("2d");

let lastEntry = "";
let shown = null;  // the dialog on the screen, and how it is placed: [dialog, owner, centred]

// What the entry of the last dialog that had one held when it ended.
export function entryText() {
  return lastEntry;
}

function control(dialog, id) {
  return dialog.querySelector(`[data-id="${id}"]`);
}

// At the top-left corner of the owner's client area, as a template at 0, 0 opens; or over
// the middle of the owner, as a message box does. Like the dialog manager, which keeps a
// dialog on its monitor, it moves the dialog into sight: on a narrow screen, and above an
// on-screen keyboard.
function place(dialog, owner, centred) {
  const area = (centred ? owner : owner.querySelector(".client")).getBoundingClientRect();
  let left = area.left;
  let top = area.top;
  if (centred) {
    left += (area.width - dialog.offsetWidth) / 2;
    top += (area.height - dialog.offsetHeight) / 2;
  }
  [left, top] = keepInView(left, top, dialog.offsetWidth, dialog.offsetHeight);
  dialog.style.left = `${left}px`;
  dialog.style.top = `${top}px`;
}

onRescale(() => {
  if (shown) place(...shown);
});

// A button's or a read-only field's text that is wider than its control, in the player's
// fonts, has its letters closed up, then is drawn smaller, until it fits.
function fitText(control) {
  control.style.letterSpacing = "";
  control.style.fontSize = "";
  const text = control.tagName === "INPUT" ? control.value : control.textContent;
  if (text === "") return;
  const style = getComputedStyle(control);
  const size = parseFloat(style.fontSize);
  ruler.font = `${style.fontWeight} ${style.fontSize} ${style.fontFamily}`;
  const natural = ruler.measureText(text).width;
  const edges = ["borderLeftWidth", "borderRightWidth", "paddingLeft", "paddingRight"]
    .reduce((sum, edge) => sum + parseFloat(style[edge]), 0);
  // A little to spare for the rounding to the screen's pixels.
  const room = 0.98 * (control.getBoundingClientRect().width - edges);
  if (natural <= room) return;
  const letters = [...text].length;
  const spacing = Math.max(CLOSEST, (room - natural) / letters / size);
  control.style.letterSpacing = `${spacing}em`;
  const closed = natural + letters * spacing * size;
  if (closed > room) control.style.fontSize = `${room / closed}em`;
}

// Tab and Shift+Tab go round the controls with a tab stop, in template order.
function moveFocus(dialog, backwards) {
  const stops = [...dialog.querySelectorAll("[data-id]")].filter((c) => c.tabIndex >= 0);
  if (stops.length === 0) return;
  const at = stops.indexOf(document.activeElement);
  const next = at < 0 ? 0 : (at + (backwards ? stops.length - 1 : 1)) % stops.length;
  stops[next].focus();
  if (stops[next].tagName === "INPUT") stops[next].select();
}

// Shows the dialog called name over owner with fields (control id to text) set; resolves
// with what it ended with.
export function runDialog(name, fields, owner) {
  const kind = kinds[name];
  const template = document.getElementById(`dialog-${name}`);
  const dialog = template.content.firstElementChild.cloneNode(true);
  const caption = dialog.querySelector(".titlebar .caption");
  caption.id = `${template.id}-caption`;
  dialog.setAttribute("aria-labelledby", caption.id);
  fillTexts(dialog);
  for (const [id, text] of fields) {
    const field = control(dialog, id);
    if (field.tagName === "INPUT") {
      field.value = text;
    } else if (field.classList.contains("chart")) {
      drawChart(field, text);
    } else {
      field.textContent = text;
    }
  }
  document.body.append(dialog);

  return new Promise((resolve) => {
    let ended = false;
    const end = (value) => {
      if (ended) return;
      ended = true;
      const entry = dialog.querySelector("input:not([readonly])");
      lastEntry = entry ? entry.value : "";
      shown = null;
      dialog.close();
      dialog.remove();
      owner.focus();
      resolve(value);
    };
    const cancel = () => {
      if (kind.escape !== null) end(kind.escape);
    };
    const pressAccessKey = (event) => {
      const key = event.key.toLowerCase();
      const button = [...dialog.querySelectorAll("button[data-access-key]")].find(
        (b) => b.dataset.accessKey === key);
      if (!button) return false;
      end(Number(button.dataset.id));
      return true;
    };

    // A click beside the controls leaves the focus where it was, so the keys still reach
    // the dialog.
    dialog.addEventListener("mousedown", (event) => {
      if (!event.target.closest("input, button")) event.preventDefault();
    });
    dialog.addEventListener("click", (event) => {
      if (event.target.closest(".close")) {
        cancel();
        return;
      }
      const button = event.target.closest("button[data-id]");
      if (button) end(Number(button.dataset.id));
    });
    dialog.addEventListener("keydown", (event) => {
      // Keys that finish an input method's composition belong to the input method.
      if (event.isComposing || event.keyCode === 229) return;
      const target = event.target;
      if (event.key === "Escape") {
        event.preventDefault();
        cancel();
      } else if (event.key === "Enter") {
        // A button with the focus is the one Enter presses, as on Windows.
        event.preventDefault();
        const button = target.closest?.("button[data-id]");
        end(button ? Number(button.dataset.id) : kind.enter);
      } else if (event.key === "Tab") {
        event.preventDefault();
        moveFocus(dialog, event.shiftKey);
      } else if (kind.accessKeys && !event.ctrlKey && !event.metaKey && event.key.length === 1) {
        // Plain letters press the buttons as Alt with them does, unless a field has the
        // focus, which keeps its letters as an edit control does.
        if ((event.altKey || target.tagName !== "INPUT") && pressAccessKey(event)) {
          event.preventDefault();
        }
      }
    });
    // Esc that reaches the browser's own handling, and a close that the browser forces.
    dialog.addEventListener("cancel", (event) => {
      event.preventDefault();
      cancel();
    });
    dialog.addEventListener("close", () => {
      if (ended) return;
      if (kind.escape === null) {
        dialog.showModal();
      } else {
        end(kind.escape);
      }
    });

    dialog.showModal();
    shown = [dialog, owner, kind.centred];
    place(...shown);
    for (const control of dialog.querySelectorAll("button[data-id], input[readonly][data-id]")) {
      fitText(control);
    }
    const first = kind.focus === undefined ? dialog : control(dialog, kind.focus);
    first.focus();
    // A rejected entry comes back selected, so what is typed next replaces it.
    if (first.tagName === "INPUT") first.select();
  });
}
