// Keeps the page's files so that Tolvi plays with no network after the first visit. The
// build names the cache by a hash of the files and lists them, so a new build replaces the
// old files in one step.
const CACHE = "@CACHE@";
const FILES = @FILES@;

self.addEventListener("install", (event) => {
  // Past the browser's own cache, which may still hold files of the build before.
  const requests = FILES.map((file) => new Request(file, { cache: "reload" }));
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(requests)).then(() => self.skipWaiting()));
});

self.addEventListener("activate", (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((name) => name.startsWith("tolvi-") && name !== CACHE).map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

self.addEventListener("fetch", (event) => {
  if (event.request.method !== "GET") return;
  event.respondWith(caches.open(CACHE)
    .then((cache) => cache.match(event.request, { ignoreSearch: true }))
    .then((kept) => kept || fetch(event.request)));
});
