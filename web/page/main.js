// Start-up of the page: the game's size, the lock across tabs, then the splash, drawn while
// the program loads, and the program; at its end one line saying so, or, when another tab
// runs Tolvi, one line saying that.
import { whileHoldingLock } from "./lock.js";
import { startScreen } from "./screen.js";
import { showSplash } from "./splash.js";

const root = document.documentElement;
startScreen();

function showLine(state) {
  root.dataset.state = state;
  document.getElementById(state).hidden = false;
}

// Browsers keep F1 for their help; here it starts a game.
document.addEventListener("keydown", (event) => {
  if (event.key === "F1") event.preventDefault();
});
document.querySelector("#ended button").addEventListener("click", () => location.reload());

// Keeps the page's files for play without a network.
if ("serviceWorker" in navigator) {
  navigator.serviceWorker.register("sw.js").catch(() => {});
}

const ran = await whileHoldingLock(async () => {
  const splash = showSplash();
  const { runProgram } = await import("./program.js");
  const { folder } = await import("./folder.js");
  window.tolvi = { folder };
  navigator.storage?.persist?.();
  await runProgram(splash);
});
showLine(ran ? "ended" : "elsewhere");
