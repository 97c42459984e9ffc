// The page's server: a malformed address cannot stop it, it starts from any path, and it
// sends gzip to clients that accept it.
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { test } from 'node:test';
import { gunzipSync } from 'node:zlib';
import { root, site, startServer, until } from './support.mjs';

test('a malformed address gets 400 and the server goes on; gzip when accepted', async () => {
    const server = await startServer();
    try {
        const get = (address, headers = {}) => fetch(new URL(address, server.url), { headers });
        assert.equal((await get('%E0%A4%A')).status, 400);
        assert.equal((await get('%00')).status, 400);
        const plain = await get('app.js', { 'Accept-Encoding': 'identity' });
        assert.equal(plain.headers.get('content-encoding'), null);
        const body = Buffer.from(await plain.arrayBuffer());
        assert.deepEqual(body, fs.readFileSync(path.join(site, 'app.js')));
        // fetch would undo the compression itself: ask with the bare http client.
        const { get: httpGet } = await import('node:http');
        const zipped = await new Promise((done, fail) => httpGet(new URL('app.js', server.url),
            { headers: { 'Accept-Encoding': 'gzip, deflate' } }, (response) => {
                const parts = [];
                response.on('data', (p) => parts.push(p));
                response.on('end', () => done({ encoding: response.headers['content-encoding'], bytes: Buffer.concat(parts) }));
            }).on('error', fail));
        assert.equal(zipped.encoding, 'gzip');
        assert.ok(zipped.bytes.length < body.length / 2);
        assert.deepEqual(gunzipSync(zipped.bytes), body);
    } finally {
        server.close();
    }
});

test('the server starts through a symlink in a folder whose name has a space', async () => {
    const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'owlet serve '));
    const link = path.join(folder, 'serve.mjs');
    fs.symlinkSync(path.join(root, 'tools/web-serve.mjs'), link);
    const child = spawn(process.execPath, [link, site, '0']);
    let said = '';
    child.stdout.on('data', (d) => { said += d; });
    try {
        const url = await until(() => /http:\/\/127\.0\.0\.1:\d+\//.exec(said)?.[0], 5000, 'the address');
        assert.equal((await fetch(url)).status, 200);
    } finally {
        child.kill();
        fs.rmSync(folder, { recursive: true, force: true });
    }
});
