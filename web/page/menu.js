// The main window's menu bar, built from the entries the program hands over, and its keys:
// F1 starts a game and Esc quits while the main window has the focus.
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

function commandButton(text, command) {
  const button = document.createElement("button");
  button.type = "button";
  button.dataset.command = command;
  button.setAttribute("role", "menuitem");
  button.textContent = text;
  return button;
}

// entries: [place, text, command] in the program's order; give(command) carries one out.
export function buildMenu(window, entries, give) {
  const bar = window.querySelector("[data-menu]");
  let popup = null;
  for (const [place, text, command] of entries) {
    if (place === POPUP_IN_BAR) {
      const holder = document.createElement("div");
      holder.className = "holder";
      const opener = document.createElement("button");
      opener.type = "button";
      opener.dataset.popup = "";
      opener.setAttribute("aria-haspopup", "menu");
      opener.setAttribute("aria-expanded", "false");
      opener.textContent = text;
      popup = document.createElement("div");
      popup.className = "popup";
      popup.setAttribute("role", "menu");
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
      bar.append(separator);
    }
  }

  bar.addEventListener("click", (event) => {
    const opener = event.target.closest("[data-popup]");
    if (opener) {
      const open = opener.getAttribute("aria-expanded") === "true";
      closePopups(bar);
      opener.setAttribute("aria-expanded", String(!open));
      opener.nextElementSibling.hidden = open;
      return;
    }
    const entry = event.target.closest("[data-command]");
    if (!entry) return;
    closePopups(bar);
    window.focus();
    give(Number(entry.dataset.command));
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
      // Esc in an open menu closes the menu, as on Windows.
      if (bar.querySelector('[aria-expanded="true"]')) {
        closePopups(bar);
        window.focus();
      } else {
        give(QUIT);
      }
    }
  });
  window.querySelector(".titlebar .close").addEventListener("click", () => give(QUIT));
}
