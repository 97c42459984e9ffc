#!/usr/bin/env node
// Serves a folder of static files on 127.0.0.1, a secure context for Web Serial, and prints
// its address:  node web/build/serve.mjs FOLDER [PORT]   (PORT 0 or none: a free one).
// Only files inside the folder are served; it listens on the loopback address alone. A
// malformed address is answered 400 and the server goes on; text files go gzip-compressed
// to clients that accept it.
import { realpathSync } from 'node:fs';
import { readFile } from 'node:fs/promises';
import { createServer } from 'node:http';
import { extname, join, normalize, resolve, sep } from 'node:path';
import { fileURLToPath } from 'node:url';
import { gzipSync } from 'node:zlib';

const Types = {
    '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8',
    '.css': 'text/css; charset=utf-8', '.wasm': 'application/wasm', '.png': 'image/png',
    '.webmanifest': 'application/manifest+json', '.json': 'application/json',
};
const Compressible = new Set(['.html', '.js', '.css', '.wasm', '.webmanifest', '.json']);

// The file an address names inside `root`, or null when it names none there.
function fileOf(root, url) {
    let path;
    try {
        path = decodeURIComponent(new URL(url, 'http://x').pathname);
    } catch {
        return null;
    }
    const file = normalize(join(root, path.endsWith('/') ? `${path}index.html` : path));
    return file.startsWith(root + sep) && !path.includes('\0') ? file : null;
}

export function serve(folder, port = 0) {
    const root = resolve(folder);
    // file -> { body, gzip }: compressed again whenever the bytes differ, whatever the
    // file's time says (a rebuild within one tick of a FAT clock keeps it).
    const compressed = new Map();
    const server = createServer(async (request, response) => {
        try {
            const file = fileOf(root, request.url);
            if (!file) {
                response.writeHead(400).end('bad address');
                return;
            }
            let body;
            try {
                body = await readFile(file);
            } catch {
                response.writeHead(404).end('not found');
                return;
            }
            const headers = {
                'Content-Type': Types[extname(file)] ?? 'application/octet-stream',
                'Cache-Control': 'no-cache',
                Vary: 'Accept-Encoding',
            };
            if (Compressible.has(extname(file)) && /\bgzip\b/.test(request.headers['accept-encoding'] ?? '')) {
                if (!compressed.get(file)?.body.equals(body))
                    compressed.set(file, { body, gzip: gzipSync(body) });
                body = compressed.get(file).gzip;
                headers['Content-Encoding'] = 'gzip';
            }
            response.writeHead(200, headers);
            response.end(body);
        } catch {
            if (!response.headersSent)
                response.writeHead(500);
            response.end();
        }
    });
    return new Promise((done) => server.listen(port, '127.0.0.1', () => done(server)));
}

// Started as a program (from any path, through a symlink too), not imported.
const started = process.argv[1] && realpathSync(process.argv[1]) === realpathSync(fileURLToPath(import.meta.url));
if (started) {
    const [folder, port] = process.argv.slice(2);
    if (!folder) {
        console.error('usage: node web/build/serve.mjs FOLDER [PORT]');
        process.exit(2);
    }
    const server = await serve(folder, Number(port ?? 0));
    console.log(`OWLET is served at http://127.0.0.1:${server.address().port}/ (Ctrl-C ends it)`);
}
