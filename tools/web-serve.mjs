#!/usr/bin/env node
// Serves a folder of static files on 127.0.0.1, a secure context for Web Serial, and prints
// its address:  node tools/web-serve.mjs FOLDER [PORT]   (PORT 0 or none: a free one).
// Only files inside the folder are served; it listens on the loopback address alone.
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { extname, join, normalize, resolve, sep } from 'node:path';

const Types = {
    '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8',
    '.css': 'text/css; charset=utf-8', '.wasm': 'application/wasm', '.png': 'image/png',
    '.webmanifest': 'application/manifest+json', '.json': 'application/json',
};

export function serve(folder, port = 0) {
    const root = resolve(folder);
    const server = createServer(async (request, response) => {
        const path = decodeURIComponent(new URL(request.url, 'http://x').pathname);
        const file = normalize(join(root, path.endsWith('/') ? `${path}index.html` : path));
        if (!file.startsWith(root + sep)) {
            response.writeHead(403).end();
            return;
        }
        try {
            const body = await readFile(file);
            response.writeHead(200, {
                'Content-Type': Types[extname(file)] ?? 'application/octet-stream',
                'Cache-Control': 'no-cache',
            });
            response.end(body);
        } catch {
            response.writeHead(404).end('not found');
        }
    });
    return new Promise((done) => server.listen(port, '127.0.0.1', () => done(server)));
}

if (import.meta.url === `file://${process.argv[1]}`) {
    const [folder, port] = process.argv.slice(2);
    if (!folder) {
        console.error('usage: node tools/web-serve.mjs FOLDER [PORT]');
        process.exit(2);
    }
    const server = await serve(folder, Number(port ?? 0));
    console.log(`OWLET is served at http://127.0.0.1:${server.address().port}/ (Ctrl-C ends it)`);
}
