// Keeps the page working offline once it has loaded: every file of the page is cached at
// install. The network is asked first, so a new version shows at once; the cache answers
// when the network does not.
const Cache = 'owlet-v1';
const Files = [
    './', 'index.html', 'style.css', 'app.js', 'owlet-core.wasm', 'manifest.webmanifest',
    'owlet-32.png', 'owlet-192.png', 'owlet-512.png',
];

self.addEventListener('install', (event) => {
    event.waitUntil(caches.open(Cache).then((cache) => cache.addAll(Files)));
});

self.addEventListener('activate', (event) => {
    event.waitUntil(caches.keys().then((keys) =>
        Promise.all(keys.filter((key) => key !== Cache).map((key) => caches.delete(key)))));
});

self.addEventListener('fetch', (event) => {
    if (event.request.method !== 'GET')
        return;
    event.respondWith(fetch(event.request).then((response) => {
        if (response.ok) {
            const copy = response.clone();
            caches.open(Cache).then((cache) => cache.put(event.request, copy));
        }
        return response;
    }).catch(() => caches.match(event.request).then((hit) => hit ?? Response.error())));
});
