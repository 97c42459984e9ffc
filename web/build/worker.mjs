#!/usr/bin/env node
// Writes the page's service worker with the files it keeps and the build it serves:
//   node web/build/worker.mjs TEMPLATE SITE LIST   (writes SITE/sw.js)
// LIST names the site's files, one a line (web/page/site-files.txt). The build is the first
// 16 hex digits of SHA-256 over their bytes, one after the other in that order: the worker
// checks the same at install.
import { createHash } from 'node:crypto';
import fs from 'node:fs';
import path from 'node:path';

const [template, site, list] = process.argv.slice(2);
const source = fs.readFileSync(template, 'utf8');
const files = fs.readFileSync(list, 'utf8').split(/\r?\n/).filter(Boolean);
const placeholders = ["const Build = 'development';", 'const Files = [];'];
if (!placeholders.every((p) => source.includes(p)))
    throw new Error(`${template}: no Build or Files placeholder`);
const hash = createHash('sha256');
for (const file of files)
    hash.update(fs.readFileSync(path.join(site, file)));
const build = hash.digest('hex').slice(0, 16);
fs.writeFileSync(path.join(site, 'sw.js'), source
    .replace(placeholders[0], `const Build = '${build}';`)
    .replace(placeholders[1], `const Files = ${JSON.stringify(files)};`));
