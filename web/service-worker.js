'use strict';
// Keeps every file of the site on the first visit, so that later visits play without a
// network. Each build names its own cache: a new build's worker fetches all of its files
// afresh, takes over and drops the old build's cache.
const VERSION = '@VERSION@';
const FILES = @FILES@;
const PREFIX = 'cube4 ' + self.registration.scope + ' ';
const CACHE = PREFIX + VERSION;

self.addEventListener('install', event => {
  event.waitUntil(caches.open(CACHE)
    .then(cache => cache.addAll(FILES.map(file => new Request(file, { cache: 'reload' }))))
    .then(() => self.skipWaiting()));
});

self.addEventListener('activate', event => {
  event.waitUntil(caches.keys()
    .then(keys => Promise.all(keys.filter(key => key.startsWith(PREFIX) && key !== CACHE)
      .map(key => caches.delete(key))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', event => {
  if (event.request.method !== 'GET') return;
  event.respondWith(caches.open(CACHE)
    .then(cache => cache.match(event.request, { ignoreSearch: true }))
    .then(kept => kept || fetch(event.request)));
});
