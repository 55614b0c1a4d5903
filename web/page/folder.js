// The player's folder: the program's working directory, kept in the browser's storage
// (IDBFS), seeded with the sample files that are missing, and the panel and API through which
// the player puts files in, lists them, downloads them and removes them. The page stores
// bytes as they are: what a file means is the program's business.
const FOLDER = "/tolvi";
const SAMPLES = ["string.dat", "japanese.dat", "japanese.utf8.txt", "Gelvo.ini"];
const MAX_BYTES = 64 * 1024 * 1024;
const panel = document.getElementById("folder");

let fs = null;
// Runs a change of the folder once no game or dialog runs; set by the program.
let whenIdle = null;

function say(text) {
  panel.querySelector(".message").textContent = text;
}

function path(name) {
  return `${FOLDER}/${name}`;
}

function checkName(name) {
  if (typeof name !== "string" || name === "" || name === "." || name === ".." ||
      name.includes("/") || name.includes("\0")) {
    throw new Error(`"${name}" cannot be a file name in the folder`);
  }
}

function sync(populate) {
  return new Promise((resolve, reject) => {
    fs.syncfs(populate, (error) => (error ? reject(error) : resolve()));
  });
}

function exists(name) {
  return fs.analyzePath(path(name)).exists;
}

async function fetchSample(name) {
  try {
    const response = await fetch(`samples/${name}`);
    return response.ok ? new Uint8Array(await response.arrayBuffer()) : null;
  } catch {
    return null;
  }
}

// Mounts the folder, reads it back from storage, puts in the samples that are missing, as
// the Linux launcher does, and makes it the working directory. Where the browser keeps no
// storage for the page, the folder lives as long as the page.
export async function mountFolder(FS, runWhenIdle) {
  fs = FS;
  whenIdle = runWhenIdle;
  FS.mkdir(FOLDER);
  FS.mount(FS.filesystems.IDBFS, {}, FOLDER);
  FS.chdir(FOLDER);
  try {
    await sync(true);
  } catch {
    say("This browser keeps no storage for this page: the folder goes when the page closes.");
  }
  const missing = SAMPLES.filter((name) => !exists(name));
  const samples = await Promise.all(missing.map(fetchSample));
  missing.forEach((name, i) => {
    if (samples[i] !== null) FS.writeFile(path(name), samples[i]);
  });
  if (missing.length > 0) await sync(false).catch(() => {});
}

function fileNames() {
  return fs.readdir(FOLDER)
    .filter((name) => fs.isFile(fs.stat(path(name)).mode))
    .sort();
}

// What tests and the panel use.
export const folder = {
  async list() {
    return fs ? fileNames() : [];
  },
  async read(name) {
    checkName(name);
    return new Uint8Array(fs.readFile(path(name)));
  },
  async write(name, bytes) {
    checkName(name);
    const data = bytes instanceof Uint8Array ? bytes : new Uint8Array(bytes);
    if (data.length > MAX_BYTES) {
      throw new Error(`${name} is larger than 64 MiB: it was not put in the folder.`);
    }
    await whenIdle(() => {
      fs.writeFile(path(name), data);
      return sync(false);
    });
  },
  async remove(name) {
    checkName(name);
    await whenIdle(() => {
      fs.unlink(path(name));
      return sync(false);
    });
  },
};


function download(name) {
  const link = document.createElement("a");
  link.href = URL.createObjectURL(new Blob([fs.readFile(path(name))]));
  link.download = name;
  link.click();
  setTimeout(() => URL.revokeObjectURL(link.href), 1000);
}

function removeFile(name) {
  folder.remove(name).then(() => say(`${name} removed.`), (error) => say(error.message))
    .then(showFolder);
}

// A button of a file's row, named with the file for a screen reader that reads it alone.
function button(text, name, action) {
  const b = document.createElement("button");
  b.type = "button";
  b.textContent = text;
  b.setAttribute("aria-label", `${text} ${name}`);
  b.addEventListener("click", action);
  return b;
}

// Lists what the folder holds now.
export function showFolder() {
  if (!fs || panel.hidden) return;
  const rows = fileNames().map((name) => {
    const row = document.createElement("tr");
    const cells = [name, String(fs.stat(path(name)).size)].map((text) => {
      const cell = document.createElement("td");
      cell.textContent = text;
      return cell;
    });
    const actions = document.createElement("td");
    actions.append(button("Download", name, () => download(name)), " ",
      button("Remove", name, () => removeFile(name)));
    row.append(...cells, actions);
    return row;
  });
  panel.querySelector("tbody").replaceChildren(...rows);
}

async function putFiles(files) {
  const said = [];
  for (const file of files) {
    if (file.size > MAX_BYTES) {
      said.push(`${file.name} is larger than 64 MiB: it was not put in the folder.`);
      continue;
    }
    try {
      await folder.write(file.name, new Uint8Array(await file.arrayBuffer()));
      said.push(`${file.name} put in the folder.`);
    } catch (error) {
      said.push(error.message);
    }
  }
  say(said.join(" "));
  showFolder();
}

export function openPanel() {
  panel.hidden = false;
  const picker = panel.querySelector("input[type=file]");
  picker.addEventListener("change", () => {
    putFiles([...picker.files]).then(() => { picker.value = ""; });
  });
  panel.addEventListener("dragover", (event) => {
    event.preventDefault();
    panel.classList.add("dropping");
  });
  panel.addEventListener("dragleave", () => panel.classList.remove("dropping"));
  panel.addEventListener("drop", (event) => {
    event.preventDefault();
    panel.classList.remove("dropping");
    putFiles([...event.dataTransfer.files]);
  });
  showFolder();
}

export function closePanel() {
  panel.hidden = true;
}
