// Runs the page's tests when the page is built and Chromium is there; says why and exits 77
// (skipped) when not, except in CI, where make test has built and installed both.
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

// As support.mjs finds them, without loading it: it needs the npm packages checked here.
const here = path.dirname(fileURLToPath(import.meta.url));
const root = path.resolve(here, '../..');
const site = path.join(process.env.OWLET_WEB_BUILD ?? path.join(root, 'build-web'), 'site');

const missing = [
    [path.join(site, 'owlet-core.wasm'), 'the page is not built (make web)'],
    [path.join(path.dirname(site), `owlet-${process.env.OWLET_VERSION}.html`),
        'the page as one file is not built (make web)'],
    [process.env.CHROMIUM ?? '/usr/bin/chromium', 'Chromium is not installed (make test installs it)'],
    [path.join(root, 'node_modules/puppeteer-core'), 'the npm packages are not installed (npm ci)'],
    [path.join(root, 'node_modules/axe-core'), 'the npm packages are not installed (npm ci)'],
].filter(([file]) => !fs.existsSync(file)).map(([, why]) => why);
if (missing.length) {
    console.error(`web tests: ${missing.join('; ')}`);
    process.exit(process.env.CI ? 1 : 77);
}
const files = fs.readdirSync(here).filter((f) => f.endsWith('.test.mjs')).map((f) => path.join(here, f));
const run = spawnSync(process.execPath, ['--test', '--test-concurrency=1', ...files], { stdio: 'inherit' });
process.exit(run.status ?? 1);
