// Keeps the files of the page that it needs in its language so that it
// plays offline. The build writes the version stamp (a hash of the files)
// and the list of the files that every language needs; the page names its
// language when it registers the worker, whose own words, pack and manifest
// are kept too. Any other file of the page (another language's, the large
// icons, the licences) is kept once something asks for it. Each version has
// a cache of its own, filled before it serves anything, so a page is never
// put together from two versions. A new version waits until no page of the
// old one is open (the browser's rule), then takes over and the old cache goes.
const CACHE = "horalia-HORALIA_CACHE_STAMP";
const LANGUAGE = new URL(location.href).searchParams.get("language") || "en";
const EVERY_VISIT = HORALIA_CACHE_FILES;
// The page itself is kept once, as "./" (the address it is opened by).
const FILES = ["./", ...EVERY_VISIT.filter((file) => file !== "index.html"), "words/" + LANGUAGE + ".js",
  "manifests/" + LANGUAGE + ".webmanifest", ...(LANGUAGE === "en" ? [] : ["languages/" + LANGUAGE + ".res"])];

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
    caches.open(CACHE).then((cache) => cache.match(request, { ignoreSearch: true }).then((stored) => {
      if (stored) return stored;
      return fetch(event.request).then((response) => {
        if (response.ok && new URL(event.request.url).origin === location.origin) cache.put(event.request, response.clone());
        return response;
      });
    })));
});
