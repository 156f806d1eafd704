// Put in place of the app's service-worker.js, it takes the app away from every browser
// that kept it: at a pupil's next visit it deletes this folder's caches, gives up its
// place, and reloads the pupil's window from the server, which has the page no more.
'use strict';
const PREFIX = 'kestramo ' + self.registration.scope + ' ';

self.addEventListener('install', (event) => event.waitUntil(self.skipWaiting()));

self.addEventListener('activate', (event) => {
    event.waitUntil((async () => {
        await self.clients.claim();
        const keys = await caches.keys();
        await Promise.all(keys.filter((key) => key.startsWith(PREFIX))
                              .map((key) => caches.delete(key)));
        const windows = await self.clients.matchAll({type: 'window'});
        await self.registration.unregister();
        await Promise.all(windows.map((window) => window.navigate(window.url).catch(() => {})));
    })());
});
