// The program's texts as the program hands them over at start-up, by key, and how a text
// with an access key ("&Retry") is shown: the key's letter underlined.
export const texts = new Map();

export function showText(element, text) {
  const at = text.indexOf("&");
  if (at < 0 || at + 1 >= text.length) {
    element.textContent = text;
    return;
  }
  const key = document.createElement("u");
  key.textContent = text[at + 1];
  element.replaceChildren(text.slice(0, at), key, text.slice(at + 2));
  element.dataset.text = element.textContent;
  element.dataset.accessKey = text[at + 1].toLowerCase();
}

// Fills every element under root that names a text, and root's caption.
export function fillTexts(root) {
  for (const element of root.querySelectorAll("[data-t]")) {
    showText(element, texts.get(element.dataset.t) ?? "");
  }
  const caption = root.dataset.tCaption;
  if (caption !== undefined) showCaption(root, texts.get(caption) ?? "");
}

export function showCaption(window, caption) {
  window.dataset.caption = caption;
  window.querySelector(".titlebar .caption").textContent = caption;
}
