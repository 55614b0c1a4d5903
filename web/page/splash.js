// The title picture in a window of its own while the program loads and starts.
const splash = document.querySelector('[data-window="TitleWindow"]');

// Loaded at once, drawn only once the lock is held.
const picture = new Image();
picture.src = "title.png";
const decoded = picture.decode().catch(() => null);

// Draws the picture; wait(ms) resolves ms after it was first drawn.
export function showSplash() {
  const drawn = decoded.then(() => {
    splash.querySelector("canvas").getContext("2d").drawImage(picture, 0, 0);
    splash.hidden = false;
    document.documentElement.dataset.state = "splash";
    return performance.now();
  });
  return {
    wait(milliseconds) {
      return drawn.then((at) => new Promise((resolve) => {
        setTimeout(resolve, Math.max(0, at + milliseconds - performance.now()));
      }));
    },
    remove() {
      splash.remove();
    },
  };
}
