#!/usr/bin/env node
// Writes the page's service worker with the build it serves:
//   node tools/web-worker.mjs TEMPLATE SITE   (writes SITE/sw.js)
// The build is the first 16 hex digits of SHA-256 over the bytes of the files the worker
// lists, one after the other in its order: the worker checks the same at install.
import { createHash } from 'node:crypto';
import fs from 'node:fs';
import path from 'node:path';

const [template, site] = process.argv.slice(2);
const source = fs.readFileSync(template, 'utf8');
const list = /^const Files = \[([^\]]*)\];$/m.exec(source);
const placeholder = "const Build = 'development';";
if (!list || !source.includes(placeholder))
    throw new Error(`${template}: no Files list or Build placeholder`);
const files = [...list[1].matchAll(/'([^']+)'/g)].map((m) => m[1]);
const hash = createHash('sha256');
for (const file of files)
    hash.update(fs.readFileSync(path.join(site, file)));
const build = hash.digest('hex').slice(0, 16);
fs.writeFileSync(path.join(site, 'sw.js'), source.replace(placeholder, `const Build = '${build}';`));
