// The program: tolvi.js and tolvi.wasm, and what they call on the page (Module.page): the
// splash, the texts and menu, the main window, the commands one at a time, the dialogs and
// the end. Changes to the folder wait until the program waits for a command.
import { entryText, runDialog } from "./dialogs.js";
import { buildMenu } from "./menu.js";
import { closePanel, mountFolder, openPanel, showFolder } from "./folder.js";
import { showCaption, texts } from "./texts.js";

const mainWindow = document.querySelector('[data-window="TOLVI"]');

let waiter = null;  // resolves the program's wait for its next command
let command = 0;  // given while a change of the folder was under way
const chores = [];  // changes of the folder waiting for the program to wait
let choring = false;
let ended = false;

function pump() {
  if (!waiter || choring) return;
  if (chores.length > 0) {
    choring = true;
    const { task, resolve, reject } = chores.shift();
    Promise.resolve().then(task).then(resolve, reject).finally(() => {
      choring = false;
      showFolder();
      pump();
    });
    return;
  }
  if (command === 0) return;
  const resolve = waiter;
  const given = command;
  waiter = null;
  command = 0;
  resolve(given);
}

// A command from the menu or a key; the main window takes none while one runs.
function give(id) {
  if (!waiter || command !== 0) return;
  command = id;
  pump();
}

function runWhenIdle(task) {
  if (ended) return Promise.reject(new Error("Tolvi has ended: the folder can no longer change"));
  return new Promise((resolve, reject) => {
    chores.push({ task, resolve, reject });
    pump();
  });
}

// Loads and runs the program; resolves when it has ended.
export function runProgram(splash) {
  const menu = [];
  return new Promise((resolve) => {
    const end = () => {
      if (ended) return;
      ended = true;
      mainWindow.remove();
      splash.remove();
      closePanel();
      for (const chore of chores.splice(0)) chore.reject(new Error("Tolvi has ended"));
      resolve();
    };
    const page = {
      text(key, text) {
        texts.set(key, text);
      },
      menuEntry(place, text, id) {
        menu.push([place, text, id]);
      },
      splash: (milliseconds) => splash.wait(milliseconds),
      showMain() {
        showCaption(mainWindow, texts.get("main.caption"));
        buildMenu(mainWindow, menu, give);
        splash.remove();
        mainWindow.hidden = false;
        mainWindow.focus();
        document.documentElement.dataset.state = "running";
      },
      nextCommand() {
        return new Promise((resolve) => {
          waiter = resolve;
          showFolder();
          pump();
        });
      },
      dialog: (name, fields) => runDialog(name, fields, mainWindow),
      entry: entryText,
      end,
    };
    globalThis.Module = {
      page,
      preRun: [() => {
        const FS = globalThis.Module.FS;
        globalThis.Module.addRunDependency("folder");
        // A folder that cannot be read back still lets the program run, in memory.
        mountFolder(FS, runWhenIdle).catch(() => {}).then(() => {
          openPanel();
          globalThis.Module.removeRunDependency("folder");
        });
      }],
      onAbort: end,
    };
    const script = document.createElement("script");
    script.src = "tolvi.js";
    script.onerror = end;
    document.head.append(script);
  });
}
