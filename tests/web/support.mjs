// What the page's tests share: the built page served on 127.0.0.1, headless Chromium with
// the Web Serial double in place, and the module simulator on a pseudo-terminal standing in
// for the adapter at the far end of the double.
import assert from 'node:assert/strict';
import { execFileSync, spawn } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import tty from 'node:tty';
import { fileURLToPath, pathToFileURL } from 'node:url';
import puppeteer from 'puppeteer-core';
import { serve } from '../../web/build/serve.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
export const root = path.resolve(here, '../..');
export const site = path.join(process.env.OWLET_WEB_BUILD ?? path.join(root, 'build-web'), 'site');
// The project's version, as ctest hands it, or as the page's build wrote it down.
export const version = process.env.OWLET_VERSION ??
    fs.readFileSync(path.join(path.dirname(site), 'version.txt'), 'utf8').trim();
export const singleFile = path.join(path.dirname(site), `owlet-${version}.html`);
const doubleSource = fs.readFileSync(path.join(here, 'serial-double.js'), 'utf8');

// With `redirectIndex`, as some static hosts do, /index.html answers 301 to the folder's
// address, in front of the page's own server.
export async function startServer(folder = site, { redirectIndex = false } = {}) {
    const server = await serve(folder, 0);
    const servers = [server];
    const inside = server.address().port;
    let port = inside;
    if (redirectIndex) {
        const front = http.createServer((request, response) => {
            if (new URL(request.url, 'http://x').pathname === '/index.html') {
                response.writeHead(301, { Location: '/' }).end();
                return;
            }
            const inner = http.request({ host: '127.0.0.1', port: inside, path: request.url, method: request.method,
                headers: request.headers }, (answer) => {
                response.writeHead(answer.statusCode, answer.headers);
                answer.pipe(response);
            });
            inner.on('error', () => response.destroy());
            request.pipe(inner);
        });
        await new Promise((done) => front.listen(0, '127.0.0.1', done));
        servers.push(front);
        port = front.address().port;
    }
    return {
        url: `http://127.0.0.1:${port}/`,
        close: () => servers.forEach((s) => { s.close(); s.closeAllConnections(); }),
    };
}

// The page in either of its forms: served on 127.0.0.1, or the one file copied alone into an
// empty folder and opened from disk.
export const Forms = ['served', 'file'];
export async function startSite(form) {
    if (form === 'served')
        return startServer();
    const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'owlet-file-'));
    const file = path.join(folder, path.basename(singleFile));
    fs.copyFileSync(singleFile, file);
    return {
        url: pathToFileURL(file).href,
        close: () => fs.rmSync(folder, { recursive: true, force: true }),
    };
}

export function startBrowser() {
    return puppeteer.launch({
        executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
        headless: true,
        args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking',
            '--disable-component-update', '--no-first-run', '--disable-dev-shm-usage'],
    });
}

export const wait = (ms) => new Promise((done) => setTimeout(done, ms));

// Polls `check` until it returns something true, at most `ms`.
export async function until(check, ms = 5000, what = 'a condition') {
    const end = Date.now() + ms;
    for (;;) {
        const result = await check();
        if (result)
            return result;
        if (Date.now() > end)
            throw new Error(`timed out waiting for ${what}`);
        await wait(20);
    }
}

// owlet-module-sim on a pseudo-terminal; the double's port opens its line side here, and
// sets the line from the page's open options as an adapter's driver would.
export class Module {
    output = '';
    received = Buffer.alloc(0);
    #process;
    #fd = -1;
    #stream = null;

    static async start(args = []) {
        const module = new Module();
        module.#process = spawn(process.env.OWLET_SIMULATOR, args);
        module.#process.stdout.on('data', (d) => { module.output += d; });
        module.device = await until(() => /Module simulator on (\S+)/.exec(module.output)?.[1],
            5000, 'the simulator');
        return module;
    }

    open(options, onBytes) {
        this.#fd = fs.openSync(this.device, fs.constants.O_RDWR | fs.constants.O_NOCTTY);
        execFileSync('stty', ['-F', this.device, String(options.baudRate), `cs${options.dataBits}`,
            options.parity === 'none' ? '-parenb' : 'parenb', options.stopBits === 2 ? 'cstopb' : '-cstopb',
            options.flowControl === 'hardware' ? 'crtscts' : '-crtscts', 'raw', '-echo', '-ixon', '-ixoff']);
        this.#stream = new tty.ReadStream(this.#fd);
        this.#stream.on('data', (bytes) => onBytes(bytes));
        this.#stream.on('error', () => {});
    }

    write(bytes) {
        this.received = Buffer.concat([this.received, Buffer.from(bytes)]);
        fs.writeSync(this.#fd, Buffer.from(bytes));
    }

    lineSettings() {
        return execFileSync('stty', ['-F', this.device, '-a']).toString();
    }

    stop() {
        this.#stream?.destroy();
        this.#process.kill();
    }
}

// The page in a fresh profile, with the double in place and `ports` as the adapters the
// browser knows ({usbVendorId, usbProductId, allowed}); `serial: false` is a browser
// without Web Serial.
export async function openPage(browser, url, { module = null, ports = [], serial = true, ready = true,
    prepare = null } = {}) {
    const context = await browser.createBrowserContext();
    const page = await context.newPage();
    page.problems = [];
    page.on('pageerror', (e) => page.problems.push(String(e)));
    page.on('console', (m) => m.type() === 'error' && page.problems.push(m.text()));
    if (!serial)
        await page.evaluateOnNewDocument(() => { delete Navigator.prototype.serial; });
    if (serial) {
        await page.exposeFunction('__bridgeOpen', (options) => module.open(options,
            (bytes) => page.evaluate((b) => window.__serialDouble.deliver(b), [...bytes]).catch(() => {})));
        await page.exposeFunction('__bridgeWrite', (bytes) => module.write(bytes));
        await page.evaluateOnNewDocument(doubleSource);
        await page.evaluateOnNewDocument((list) => {
            for (const { allowed, ...info } of list)
                window.__serialDouble.addPort(info, allowed);
        }, ports);
    }
    await prepare?.(page);
    await page.goto(url);
    if (ready)
        await page.waitForSelector('body[data-ready="true"]');
    // A context closed while its page's worker installs can leave the browser's connection
    // unusable: the worker ends its install first (a few seconds at most).
    page.done = async () => {
        await page.evaluate(() => Promise.race([new Promise((done) => setTimeout(done, 3000)),
            (async () => {
                const worker = (await navigator.serviceWorker?.getRegistration())?.installing;
                if (worker)
                    await new Promise((done) => worker.addEventListener('statechange', done));
            })()])).catch(() => {});
        await context.close();
    };
    return page;
}

// The page with the module simulator at the far end of its port; no script error on the way.
export async function withModuleOn(browser, url, options, run) {
    const module = await Module.start();
    const page = await openPage(browser, url, { module, ...options });
    try {
        await run(page, module);
        assert.deepEqual(page.problems, []);
    } finally {
        await page.done();
        module.stop();
    }
}

export const text = (page, selector) => page.$eval(selector, (e) => e.value ?? e.textContent);
export const shown = (page, selector) => page.$eval(selector, (e) => !e.closest('[hidden]'));

// The run-time error dialog's text once it is open.
export const dialogText = (page) => until(() => page.$eval('#error',
    (d) => d.open && d.querySelector('#error-text').textContent), 5000, 'the error dialog');
