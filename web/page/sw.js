// Keeps the page working offline once it has loaded. The cache is named after the build
// (a hash of the page's files, written in by the build), and install takes every file of
// the page only when together they are that build, so an answer that is no file of it (a
// captive portal's page, a half-finished upload) never enters the cache. The page's own
// files are then always answered from this one build, whatever the address's query string;
// a new build is a new worker with a cache of its own, taken on the next visit.
const Build = 'development';
const Cache = `owlet-${Build}`;
const Files = [
    'index.html', 'style.css', 'app.js', 'owlet-core.wasm', 'manifest.webmanifest',
    'owlet-32.png', 'owlet-192.png', 'owlet-512.png',
];

// The first 16 hex digits of SHA-256 over the files' bytes, one after the other in order.
async function buildOf(bodies) {
    const all = await new Blob(bodies).arrayBuffer();
    const digest = new Uint8Array(await crypto.subtle.digest('SHA-256', all));
    return [...digest.slice(0, 8)].map((b) => b.toString(16).padStart(2, '0')).join('');
}

self.addEventListener('install', (event) => {
    event.waitUntil((async () => {
        const responses = await Promise.all(Files.map(async (file) => {
            const response = await fetch(file, { cache: 'no-cache' });
            if (!response.ok)
                throw new Error(`${file}: ${response.status}`);
            return response;
        }));
        const bodies = await Promise.all(responses.map((r) => r.clone().arrayBuffer()));
        if (await buildOf(bodies) !== Build)
            throw new Error('the files served are not one build of the page');
        const cache = await caches.open(Cache);
        await Promise.all(Files.map((file, i) => cache.put(file, responses[i].clone())));
        await cache.put('./', responses[0]); // the page's own address is its index.html
    })());
});

self.addEventListener('activate', (event) => {
    event.waitUntil(caches.keys().then((keys) =>
        Promise.all(keys.filter((key) => key !== Cache).map((key) => caches.delete(key)))));
});

self.addEventListener('fetch', (event) => {
    if (event.request.method !== 'GET')
        return;
    event.respondWith(caches.open(Cache)
        .then((cache) => cache.match(event.request, { ignoreSearch: true }))
        .then((hit) => hit ?? fetch(event.request)));
});
