// Keeps every file of the page so that it plays offline. The build writes the
// version stamp (a hash of the files) and the file list below; each version
// has a cache of its own, filled whole before it serves anything, so a page
// is never put together from two versions. A new version waits until no page
// of the old one is open (the browser's rule), then takes over and the old
// cache goes.
const CACHE = "horalia-HORALIA_CACHE_STAMP";
// The page itself is kept once, as "./" (the address it is opened by).
const FILES = ["./", ...HORALIA_CACHE_FILES.filter((file) => file !== "index.html")];

// Each file from the browser's cache once the server confirms that it is the
// current version (a first visit has just loaded them: nothing is downloaded
// twice), and from the server otherwise; never an unconfirmed cached copy,
// which could be the previous version's.
self.addEventListener("install", (event) => {
  const current = FILES.map((file) => new Request(file, { cache: "no-cache" }));
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(current)));
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
  const page = event.request.mode === "navigate" && /\/(index\.html)?$/.test(new URL(event.request.url).pathname);
  const request = page ? "./" : event.request;
  event.respondWith(
    caches.open(CACHE)
      .then((cache) => cache.match(request, { ignoreSearch: true }))
      .then((stored) => stored || fetch(event.request)));
});
