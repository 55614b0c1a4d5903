// The main window's menu bar, built from the entries the program hands over, and its keys:
// F1 starts a game and Esc quits while the main window has the focus. The bar is a menu bar
// for screen readers too, and the keyboard walks it as on Windows: Tab reaches it (browsers
// keep F10 and Alt), the arrows move along the bar and through a popup, Enter or Space or
// Down opens a popup, Esc closes the popup and then leaves the bar.
const POPUP_IN_BAR = 0;
const COMMAND_IN_POPUP = 1;
const COMMAND_IN_BAR = 2;

const START = 40001;
const QUIT = 40004;

function closePopups(bar) {
  for (const popup of bar.querySelectorAll("[data-popup]")) {
    popup.setAttribute("aria-expanded", "false");
    popup.nextElementSibling.hidden = true;
  }
}

function entryButton(text) {
  const button = document.createElement("button");
  button.type = "button";
  button.tabIndex = -1;
  button.setAttribute("role", "menuitem");
  button.textContent = text;
  return button;
}

function commandButton(text, command) {
  const button = entryButton(text);
  button.dataset.command = command;
  return button;
}

// The entries of the bar itself, in order, and those of one popup.
function barEntries(bar) {
  return [...bar.querySelectorAll(":scope > [role=menuitem], :scope > .holder > [role=menuitem]")];
}

function popupEntries(popup) {
  return [...popup.querySelectorAll("[role=menuitem]")];
}

// The one entry of the bar that Tab reaches: the last one that had the focus.
function makeCurrent(bar, entry) {
  for (const other of barEntries(bar)) other.tabIndex = other === entry ? 0 : -1;
}

// Opens opener's popup with the focus on its first or last entry, or where it was.
function openPopup(bar, opener, entry) {
  closePopups(bar);
  opener.setAttribute("aria-expanded", "true");
  const popup = opener.nextElementSibling;
  popup.hidden = false;
  if (entry) popupEntries(popup).at(entry === "last" ? -1 : 0).focus();
}

// Moves along the bar by step; a popup that was open opens at the entry reached.
function moveInBar(bar, from, step) {
  const entries = barEntries(bar);
  const next = entries[(entries.indexOf(from) + step + entries.length) % entries.length];
  const wasOpen = bar.querySelector('[aria-expanded="true"]') !== null;
  closePopups(bar);
  makeCurrent(bar, next);
  next.focus();
  if (wasOpen && "popup" in next.dataset) openPopup(bar, next, "first");
}

function barKeys(bar, event) {
  const entry = event.target.closest("[role=menuitem]");
  if (!entry) return false;
  const popup = entry.closest("[role=menu]");
  const opener = popup ? popup.previousElementSibling : entry;
  const step = { ArrowRight: 1, ArrowLeft: -1 }[event.key];
  if (step) {
    moveInBar(bar, opener, step);
  } else if (popup && (event.key === "ArrowDown" || event.key === "ArrowUp")) {
    const entries = popupEntries(popup);
    const at = entries.indexOf(entry) + (event.key === "ArrowDown" ? 1 : -1);
    entries[(at + entries.length) % entries.length].focus();
  } else if (popup && (event.key === "Home" || event.key === "End")) {
    popupEntries(popup).at(event.key === "Home" ? 0 : -1).focus();
  } else if (!popup && (event.key === "Home" || event.key === "End")) {
    moveInBar(bar, barEntries(bar).at(event.key === "Home" ? 0 : -1), 0);
  } else if (!popup && "popup" in entry.dataset &&
             (event.key === "ArrowDown" || event.key === "ArrowUp")) {
    openPopup(bar, entry, event.key === "ArrowUp" ? "last" : "first");
  } else {
    return false;
  }
  return true;
}

// entries: [place, text, command] in the program's order; give(command) carries one out.
export function buildMenu(window, entries, give) {
  const bar = window.querySelector("[data-menu]");
  let popup = null;
  for (const [place, text, command] of entries) {
    if (place === POPUP_IN_BAR) {
      const holder = document.createElement("div");
      holder.className = "holder";
      holder.setAttribute("role", "none");
      const opener = entryButton(text);
      opener.dataset.popup = "";
      opener.setAttribute("aria-haspopup", "menu");
      opener.setAttribute("aria-expanded", "false");
      popup = document.createElement("div");
      popup.className = "popup";
      popup.setAttribute("role", "menu");
      popup.setAttribute("aria-label", text);
      popup.hidden = true;
      holder.append(opener, popup);
      bar.append(holder);
    } else if (place === COMMAND_IN_POPUP) {
      popup.append(commandButton(text, command));
    } else if (place === COMMAND_IN_BAR) {
      bar.append(commandButton(text, command));
    } else {
      const separator = document.createElement("span");
      separator.className = "separator";
      separator.setAttribute("role", "separator");
      separator.setAttribute("aria-orientation", "vertical");
      bar.append(separator);
    }
  }
  makeCurrent(bar, barEntries(bar)[0]);

  bar.addEventListener("click", (event) => {
    const opener = event.target.closest("[data-popup]");
    if (opener) {
      makeCurrent(bar, opener);
      if (opener.getAttribute("aria-expanded") === "true") {
        closePopups(bar);
      } else {
        // Enter or Space takes the focus into the popup; a click or a tap leaves it.
        openPopup(bar, opener, event.detail === 0 ? "first" : null);
      }
      return;
    }
    const entry = event.target.closest("[data-command]");
    if (!entry) return;
    closePopups(bar);
    window.focus();
    give(Number(entry.dataset.command));
  });
  bar.addEventListener("keydown", (event) => {
    if (barKeys(bar, event)) {
      event.preventDefault();
      event.stopPropagation();
    }
  });
  bar.addEventListener("focusout", (event) => {
    if (!bar.contains(event.relatedTarget)) closePopups(bar);
  });
  document.addEventListener("pointerdown", (event) => {
    if (!bar.contains(event.target)) closePopups(bar);
  });

  window.addEventListener("keydown", (event) => {
    if (event.key === "F1") {
      event.preventDefault();
      closePopups(bar);
      give(START);
    } else if (event.key === "Escape") {
      event.preventDefault();
      // In the bar, Esc closes the open popup, then leaves the bar, as on Windows; only in
      // the window itself does it quit.
      const open = bar.querySelector('[aria-expanded="true"]');
      if (open) {
        closePopups(bar);
        if (bar.contains(document.activeElement)) {
          open.focus();
        } else {
          window.focus();
        }
      } else if (bar.contains(document.activeElement)) {
        window.focus();
      } else {
        give(QUIT);
      }
    }
  });
  window.querySelector(".titlebar .close").addEventListener("click", () => give(QUIT));
}
