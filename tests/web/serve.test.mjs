// The page's server: a malformed address cannot stop it, it starts from any path, and it
// sends gzip to clients that accept it, of the bytes as they stand.
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import { test } from 'node:test';
import { gunzipSync } from 'node:zlib';
import { root, site, startServer, until } from './support.mjs';

// The bare http client: fetch would undo the compression itself.
const getBytes = (url, encoding) => new Promise((done, fail) => http.get(url,
    { headers: { 'Accept-Encoding': encoding } }, (response) => {
        const parts = [];
        response.on('data', (p) => parts.push(p));
        response.on('end', () => done({ encoding: response.headers['content-encoding'], bytes: Buffer.concat(parts) }));
    }).on('error', fail));

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
        const zipped = await getBytes(new URL('app.js', server.url), 'gzip, deflate');
        assert.equal(zipped.encoding, 'gzip');
        assert.ok(zipped.bytes.length < body.length / 2);
        assert.deepEqual(gunzipSync(zipped.bytes), body);
    } finally {
        server.close();
    }
});

// A rebuild within one tick of the file system's clock, same size: the new bytes, both ways.
test('a file changed with the same time and size is served as it now stands', async () => {
    const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'owlet-tick-'));
    const file = path.join(folder, 'app.js');
    const server = await startServer(folder);
    try {
        fs.writeFileSync(file, 'const build = "first";\n');
        const { mtime } = fs.statSync(file);
        assert.equal(gunzipSync((await getBytes(new URL('app.js', server.url), 'gzip')).bytes).toString(), 'const build = "first";\n');
        fs.writeFileSync(file, 'const build = "again";\n');
        fs.utimesSync(file, mtime, mtime);
        for (const encoding of ['gzip', 'identity']) {
            const { encoding: sent, bytes } = await getBytes(new URL('app.js', server.url), encoding);
            assert.equal((sent === 'gzip' ? gunzipSync(bytes) : bytes).toString(), 'const build = "again";\n');
        }
    } finally {
        server.close();
        fs.rmSync(folder, { recursive: true, force: true });
    }
});

test('the server starts through a symlink in a folder whose name has a space', async () => {
    const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'owlet serve '));
    const link = path.join(folder, 'serve.mjs');
    fs.symlinkSync(path.join(root, 'web/build/serve.mjs'), link);
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
