// The site's service worker: every file of the site kept in a cache named for this version of
// the site (cmake/SiteVersion.cmake writes the version and the list in), so the game starts with
// the network off after one visit. A new site has a new sw.js, which the browser installs on the
// next visit: it fills its own cache, takes over, and deletes the caches of older versions.
"use strict";
const CACHE = "hopla-@HOPLA_SITE_VERSION@";
const FILES = [@HOPLA_SITE_FILES@];

// From the server itself, not the browser's HTTP cache, which may still hold the older files.
self.addEventListener("install", (event) => {
  event.waitUntil(caches.open(CACHE)
                    .then((cache) => cache.addAll(FILES.map((f) => new Request(f, { cache: "reload" }))))
                    .then(() => self.skipWaiting()));
});

// Having replaced an older version, it tells the pages it now serves, which were loaded from
// that version's files (index.html loads again if its game has not started).
self.addEventListener("activate", (event) => {
  event.waitUntil(caches.keys()
    .then((keys) => Promise.all(keys.filter((k) => k.startsWith("hopla-") && k !== CACHE)
                                    .map((k) => caches.delete(k))))
    .then((older) => self.clients.claim().then(() => older.length &&
      self.clients.matchAll({ type: "window" })
        .then((pages) => pages.forEach((page) => page.postMessage("hopla-replaced"))))));
});

// The site's own files from the cache (the page whatever its query: ?play=, ?record=1);
// anything else, a demo to play for one, from the network.
self.addEventListener("fetch", (event) => {
  const request = event.request;
  if (request.method !== "GET" || new URL(request.url).origin !== location.origin) return;
  event.respondWith(caches.open(CACHE)
    .then((cache) => cache.match(request, { ignoreSearch: request.mode === "navigate" }))
    .then((kept) => kept || fetch(request)));
});
