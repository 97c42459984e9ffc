#!/usr/bin/env node
// Writes the page as one self-contained HTML file that opens from disk (file://), where
// Chromium refuses module scripts from other files and fetches of the core:
//   node web/build/single.mjs OUT SITE CARRIER
// (SITE: the served page, as make web builds it; CARRIER: web/page/carried-core.js)
// Style and scripts go inline, allowed by their sha256 hashes in the page's own
// Content-Security-Policy; the WebAssembly core rides along as base64 in a data block at the
// top of the body, which the carrier script compiles at once, and the loop designer's module
// in one at the end, gzip-compressed, decoded only when its section opens; the icon is a data URL. The
// manifest, the preload and the service worker have no meaning on file:// and are left out
// (the script skips the worker there).
import { createHash } from 'node:crypto';
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';

const [out, site, carrier] = process.argv.slice(2);
if (!out || !site || !carrier) {
    console.error('usage: node web/build/single.mjs OUT SITE CARRIER');
    process.exit(2);
}
const read = (name, encoding) => fs.readFileSync(path.join(site, name), encoding);
// Line breaks as a browser reads them (CR LF and a lone CR become LF) before anything is
// hashed: the policy's hashes are of the text the browser hashes, whatever the checkout's
// line endings.
const lines = (text) => text.replace(/\r\n?/g, '\n');
const hash = (text) => `'sha256-${createHash('sha256').update(text, 'utf8').digest('base64')}'`;

const style = lines(read('style.css', 'utf8'));
const script = lines(read('app.js', 'utf8'));
const carry = lines(fs.readFileSync(carrier, 'utf8'));
// Inline text ends at the first "</script" or "</style"; "<!--" changes how a script is read.
for (const [name, text, end] of [['app.js', script, '</script'], ['carrier', carry, '</script'],
    ['style.css', style, '</style']])
    if (text.toLowerCase().includes(end) || text.includes('<!--'))
        throw new Error(`${name} holds ${end} or <!--, which cannot stand inline`);

const policy = [
    "default-src 'none'", `script-src ${hash(script)} ${hash(carry)} 'wasm-unsafe-eval'`,
    `style-src ${hash(style)}`, 'img-src data:', "object-src 'none'", "base-uri 'none'",
    "form-action 'none'",
].join('; ');
const icon = `data:image/png;base64,${read('owlet-32.png').toString('base64')}`;
const core = read('owlet-core.wasm').toString('base64');
// The loop's module gzip-compressed before base64, which the page inflates with the browser's
// own DecompressionStream: base64 hides the module's repeats from the file's own
// compression, so this carries it in about a quarter fewer bytes.
const loop = zlib.gzipSync(read('owlet-loop.wasm'), { level: 9 }).toString('base64');

// Each piece of the served page replaced exactly once, so a change there that this does
// not know fails the build instead of leaving a fetch behind.
const replacements = [
    [/<meta http-equiv="Content-Security-Policy" content="[^"]*">/, `<meta http-equiv="Content-Security-Policy" content="${policy}">`],
    [/<link rel="manifest"[^>]*>\n/, ''],
    [/<link rel="icon" href="owlet-32.png"/, `<link rel="icon" href="${icon}"`],
    [/<link rel="stylesheet" href="style.css">/, () => `<style>${style}</style>`],
    [/<link rel="preload"[^>]*>\n/, ''],
    [/<script async src="early-core.js"><\/script>\n/, ''],
    [/<script type="module" src="app.js"><\/script>/, () => `<script type="module">${script}</script>`],
    [/<body>\n/, () => `<body>\n<script type="application/octet-stream" id="owlet-core-wasm">${core}</script>\n<script>${carry}</script>\n`],
    // The loop designer's module last: read by the page only when its section opens.
    [/<\/body>/, () => `<script type="application/octet-stream" id="owlet-loop-wasm" data-encoding="gzip">${loop}</script>\n</body>`],
];
let page = lines(read('index.html', 'utf8'));
for (const [pattern, replacement] of replacements) {
    if ((page.match(new RegExp(pattern, 'g')) ?? []).length !== 1)
        throw new Error(`index.html: ${pattern} is not there exactly once`);
    page = page.replace(pattern, replacement);
}
if (/\b(src|href)="(?!data:)/.test(page.replace(/<script( type="module")?>[\s\S]*?<\/script>/g, '')))
    throw new Error('index.html refers to another file');
fs.writeFileSync(out, page);
