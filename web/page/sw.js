// Keeps the page working offline once it has loaded. The cache is named after the build
// (a hash of the page's files, written in by the build), and install takes every file of
// the page only when together they are that build, so an answer that is no file of it (a
// captive portal's page, a half-finished upload) never enters the cache. The page's own
// files are then always answered from this one build, whatever the address's query string;
// a new build is a new worker with a cache of its own, taken on the next visit.
const Build = 'development';
const Files = []; // web/page/site-files.txt, written in by the build
// This copy's caches: its scope in the name, so another app on the origin, or another copy
// of OWLET at another path, keeps its own.
const Prefix = `owlet ${self.registration.scope} `;
const Cache = `${Prefix}${Build}`;

// The first 16 hex digits of SHA-256 over the files' bytes, one after the other in order.
async function buildOf(bodies) {
    const all = await new Blob(bodies).arrayBuffer();
    const digest = new Uint8Array(await crypto.subtle.digest('SHA-256', all));
    return [...digest.slice(0, 8)].map((b) => b.toString(16).padStart(2, '0')).join('');
}

// A host may answer index.html by redirecting to the folder's address. A browser refuses a
// redirected response to a navigation, so the cache keeps the bytes as a plain answer.
function plain(response, body) {
    return response.redirected
        ? new Response(body, { status: response.status, statusText: response.statusText, headers: response.headers })
        : response.clone();
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
        await Promise.all(Files.map((file, i) => cache.put(file, plain(responses[i], bodies[i]))));
        // The page's own address is its index.html.
        await cache.put('./', plain(responses[0], bodies[0]));
    })());
});

// Only this copy's caches of other builds go.
self.addEventListener('activate', (event) => {
    event.waitUntil(caches.keys().then((keys) => Promise.all(keys
        .filter((key) => key.startsWith(Prefix) && key !== Cache)
        .map((key) => caches.delete(key)))));
});

self.addEventListener('fetch', (event) => {
    if (event.request.method !== 'GET')
        return;
    event.respondWith(caches.open(Cache)
        .then((cache) => cache.match(event.request, { ignoreSearch: true }))
        .then((hit) => hit ?? fetch(event.request)));
});
