// Keeps the served page for offline use. Every file is asked of the network first, so that a
// page on a host always shows its newest build; the copy kept here answers only when the network
// does not, as in a classroom without it.
"use strict";

const CACHE = "bitwatch";
const FILES = [
  "./",
  "index.html",
  "bitwatch.js",
  "page.js",
  "style.css",
  "fonts.css",
  "logo.png",
  "icon-32.png",
  "icon-128.png",
  "icon-256.png",
  "manifest.webmanifest",
];

self.addEventListener("install", (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES)).then(() => self.skipWaiting()));
});

self.addEventListener("activate", (event) => {
  event.waitUntil(self.clients.claim());
});

self.addEventListener("fetch", (event) => {
  const request = event.request;
  if (request.method !== "GET" || new URL(request.url).origin !== self.location.origin) {
    return;
  }
  event.respondWith(
    fetch(request)
      .then((response) => {
        if (response.ok) {
          const copy = response.clone();
          event.waitUntil(caches.open(CACHE).then((cache) => cache.put(request, copy)));
        }
        return response;
      })
      .catch(() => caches.match(request, { ignoreSearch: true }).then((kept) => kept || Response.error())),
  );
});
