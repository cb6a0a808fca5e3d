// Keeps the page and the calculator on the phone, so that it computes with no network.
// The cache is named after the release and the build (scripts/build_web replaces @VERSION@ with
// the version and a digest of the files), so that a new release replaces an old offline copy.
const CACHE = "siacci-@VERSION@";
const FILES = ["./", "index.html", "style.css", "app.js", "session.js", "siacci.js", "siacci.wasm",
               "manifest.webmanifest", "icon.svg", "apple-touch-icon.png", "icon-192.png", "icon-512.png"];

self.addEventListener("install", (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES)).then(() => self.skipWaiting()));
});

self.addEventListener("activate", (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((n) => n !== CACHE).map((n) => caches.delete(n))))
    .then(() => self.clients.claim()));
});

// The cache first: the files of one build never change.
self.addEventListener("fetch", (event) => {
  if (event.request.method !== "GET") return;
  event.respondWith(caches.match(event.request, { ignoreSearch: true })
    .then((hit) => hit || fetch(event.request)));
});
