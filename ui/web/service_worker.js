// The hosted page's service worker: it keeps the page and what it needs, so that a pupil
// opens it again with no network, as he would a program. It answers only for the app's own
// files: any other page a school keeps in the same folder or below it goes to the network
// untouched. Each build names its own cache, and takes a file from the server only when it
// is the very file the build made, so a release caught half uploaded is never installed:
// the last good build stays until the whole new one is there.
'use strict';
const VERSION = '@VERSION@';
// Each kept file beside this script: its SHA-256, its type, and whether the app needs it to
// open (the page does; the manifest and the icons are kept when they come).
const FILES = @FILES@;
const PREFIX = 'kestramo ' + self.registration.scope + ' ';
const CACHE = PREFIX + VERSION;
const addressOf = (name) => new URL(name, self.location).href;
const KEPT = new Map(Object.keys(FILES).map((name) => [addressOf(name), name]));
KEPT.set(addressOf('index.html'), './');

const hex = (buffer) => Array.from(new Uint8Array(buffer),
                                   (byte) => byte.toString(16).padStart(2, '0')).join('');

// The file as this build made it, or an error. The answer is made afresh from its bytes, so
// that one the server reached by a redirect can still answer a navigation.
async function fetchChecked(name) {
    // From the server itself, never from the browser's own cache of an older build.
    const answer = await fetch(new Request(name, {cache: 'reload'}));
    if (!answer.ok) throw new Error(name + ': ' + answer.status);
    const body = await answer.arrayBuffer();
    if (hex(await crypto.subtle.digest('SHA-256', body)) !== FILES[name].sha256)
        throw new Error(name + ': not the file of this build');
    const headers = new Headers(answer.headers);
    headers.set('Content-Type', FILES[name].type);
    return new Response(body, {status: 200, statusText: 'OK', headers: headers});
}

self.addEventListener('install', (event) => {
    event.waitUntil((async () => {
        // A needed file that fails fails the whole install: the old worker and its cache stay.
        const names = Object.keys(FILES);
        const answers = await Promise.all(names.map((name) => fetchChecked(name).catch(
            (error) => { if (FILES[name].needed) throw error; return null; })));
        const cache = await caches.open(CACHE);
        await Promise.all(names.map((name, i) => answers[i] && cache.put(addressOf(name),
                                                                           answers[i])));
        await self.skipWaiting();
    })());
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
    if (request.method !== 'GET') return;
    // The folder and its index.html are the page, whatever their query.
    const address = new URL(request.url);
    address.search = address.hash = '';
    const name = KEPT.get(address.href);
    if (!name) return;
    event.respondWith(caches.open(CACHE)
        .then((cache) => cache.match(addressOf(name)))
        .then((kept) => kept || fetch(request)));
});
