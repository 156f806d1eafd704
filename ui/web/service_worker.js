// The hosted page's service worker: it keeps the page and what it needs, so that a pupil
// opens it again with no network, as he would a program. Each build names its own cache;
// a new build's worker takes over at once and deletes the caches of older builds in its
// scope, so a page is never more than one visit behind its server.
'use strict';
const VERSION = '@VERSION@';
const FILES = @FILES@;  // beside this script
const PREFIX = 'kestramo ' + self.registration.scope + ' ';
const CACHE = PREFIX + VERSION;

self.addEventListener('install', (event) => {
    // From the server itself, never from the browser's own cache of an older build.
    const requests = FILES.map((file) => new Request(file, {cache: 'reload'}));
    event.waitUntil(caches.open(CACHE)
        .then((cache) => cache.addAll(requests))
        .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
    // Only this scope's caches: another copy on the same server keeps its own.
    event.waitUntil(caches.keys()
        .then((keys) => Promise.all(keys
            .filter((key) => key.startsWith(PREFIX) && key !== CACHE)
            .map((key) => caches.delete(key))))
        .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
    const request = event.request;
    if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin)
        return;
    // Every page of the scope is the one page, whatever its address or query.
    const key = request.mode === 'navigate' ? new URL('./', self.registration.scope).href
                                            : request;
    event.respondWith(caches.open(CACHE)
        .then((cache) => cache.match(key, {ignoreSearch: true}))
        .then((kept) => kept || fetch(request)));
});
