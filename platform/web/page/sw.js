// Keeps every file of the page so that it plays offline. The build writes the
// version stamp (a hash of the files) and the file list below; each version
// has a cache of its own, filled whole before it serves anything, so a page
// is never put together from two versions. A new version waits until no page
// of the old one is open (the browser's rule), then takes over and the old
// cache goes.
const CACHE = "horalia-HORALIA_CACHE_STAMP";
const FILES = ["./", ...HORALIA_CACHE_FILES];

// Straight from the server: a file from the browser's HTTP cache could be
// the previous version's.
self.addEventListener("install", (event) => {
  const fresh = FILES.map((file) => new Request(file, { cache: "reload" }));
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(fresh)));
});

self.addEventListener("activate", (event) => {
  event.waitUntil(
    caches.keys()
      .then((names) => Promise.all(names.filter((name) => name.startsWith("horalia-") && name !== CACHE)
                                        .map((name) => caches.delete(name))))
      .then(() => self.clients.claim()));
});

self.addEventListener("fetch", (event) => {
  if (event.request.method !== "GET") return;
  event.respondWith(
    caches.open(CACHE)
      .then((cache) => cache.match(event.request, { ignoreSearch: true }))
      .then((stored) => stored || fetch(event.request)));
});
