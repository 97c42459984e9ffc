// The web page's figures for make bench: what it loads (gzip), how long from navigation to
// the panel ready against a static page showing one line of text, and the cost of 200
// replies after 1 MiB in one line against the same with an empty box; and the page as one
// file opened from disk against a static one-line file from disk. Prints one line:
//   "<gzip bytes> <ready ms> <static ms> <replies ms after 1 MiB> <replies ms empty>
//    <one file gzip bytes> <one file ready ms> <static file ms>"
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import zlib from 'node:zlib';
import { serve } from '../../web/build/serve.mjs';
import {
    openPage, singleFile, site, startBrowser, startServer, startSite,
} from '../../tests/web/support.mjs';

const median = (values) => values.sort((a, b) => a - b)[Math.floor(values.length / 2)];
const runs = 11;

// Everything the page loads at the start, each file compressed as a server would send it:
// the loop designer's module comes only when its section is opened.
const gzip = fs.readdirSync(site).filter((file) => file !== 'owlet-loop.wasm').reduce((sum, file) =>
    sum + zlib.gzipSync(fs.readFileSync(path.join(site, file)), { level: 9 }).length, 0);

const owlet = await startServer();
const staticFolder = fs.mkdtempSync(path.join(os.tmpdir(), 'owlet-static-'));
fs.writeFileSync(path.join(staticFolder, 'index.html'),
    '<!doctype html><html lang="en"><head><meta charset="utf-8"><title>Static</title></head>' +
    '<body><p>Minimal page</p></body></html>');
const staticServer = await serve(staticFolder, 0);
const oneFile = await startSite('file');
const singleGzip = zlib.gzipSync(fs.readFileSync(singleFile), { level: 9 }).length;
let browser = await startBrowser();

// From navigation start to the panel ready (core instantiated, start-up drawn), or to the
// static page's load event, in a fresh profile each time.
async function readyMs(url, owletPage) {
    const context = await browser.createBrowserContext();
    const page = await context.newPage();
    await page.goto(url, { waitUntil: 'load' });
    if (owletPage)
        await page.waitForSelector('body[data-ready="true"]');
    const ms = await page.evaluate((isOwlet) => {
        const load = performance.getEntriesByType('navigation')[0].loadEventEnd;
        const mark = performance.getEntriesByName('owlet-ready')[0]?.startTime ?? 0;
        return isOwlet ? Math.max(load, mark) : load;
    }, owletPage);
    await context.close();
    return ms;
}
// Now and then Chromium drops its DevTools session between two fresh profiles; such a load
// is measured again in a new browser, at most twice.
async function measured(url, owletPage) {
    for (let attempt = 1; ; ++attempt) {
        try {
            return await readyMs(url, owletPage);
        } catch (error) {
            if (attempt === 3)
                throw error;
            await browser.close().catch(() => {});
            browser = await startBrowser();
        }
    }
}
const ready = [];
const plain = [];
const fromDisk = [];
const plainFromDisk = [];
const staticFile = pathToFileURL(path.join(staticFolder, 'index.html')).href;
for (let i = 0; i < runs; ++i) { // interleaved, so drift hits all alike
    ready.push(await measured(owlet.url, true));
    plain.push(await measured(`http://127.0.0.1:${staticServer.address().port}/`, false));
    fromDisk.push(await measured(oneFile.url, true));
    plainFromDisk.push(await measured(staticFile, false));
}

// Main-thread time for 200 short replies, with the response box empty or holding 1 MiB in
// one line without CR LF; each reply is a task of its own, as from a serial port.
async function repliesMs(filled) {
    const sink = { open() {}, write() {} };
    const page = await openPage(browser, owlet.url, { module: sink, ports: [{ usbVendorId: 1, usbProductId: 2, allowed: true }] });
    await page.click('#SetCP');
    await page.waitForSelector('#Text1:not([hidden])');
    await page.waitForFunction(() => window.__serialDouble.state.opened.length === 1);
    if (filled)
        await page.evaluate(() => window.__serialDouble.deliver(new Array(1024 * 1024).fill(120)));
    await page.waitForFunction((n) => document.querySelectorAll('#Text1 > div > div').length >= n,
        { timeout: 60000 }, filled ? 2048 : 1);
    // The filled box drawn, and the page idle, before the count starts.
    await page.evaluate(() => new Promise((done) =>
        requestAnimationFrame(() => requestAnimationFrame(() => setTimeout(done, 300)))));
    const cdp = await page.createCDPSession();
    await cdp.send('Performance.enable');
    const metric = async (name) => (await cdp.send('Performance.getMetrics')).metrics
        .find((m) => m.name === name).value * 1000;
    const busy = () => metric('TaskDuration');
    const parts = async () => Promise.all(['ScriptDuration', 'LayoutDuration', 'RecalcStyleDuration'].map(metric));
    const partsBefore = await parts();
    const before = await busy();
    await page.evaluate(async () => {
        const reply = [...new TextEncoder().encode('OK R0190\r\n')];
        for (let i = 0; i < 200; ++i) {
            window.__serialDouble.deliver(reply);
            await new Promise((done) => setTimeout(done, 2));
        }
    });
    // The last reply shown; read from the last two groups alone, not the whole box.
    await page.waitForFunction(() => {
        const box = document.getElementById('Text1');
        const near = [box.lastElementChild.previousElementSibling, box.lastElementChild];
        const lines = near.flatMap((g) => (g ? [...g.children] : [])).map((l) => l.textContent);
        return lines.at(-1) === '' && lines.at(-2) === 'OK R0190';
    });
    const spent = (await busy()) - before;
    if (process.env.DETAIL) console.error(filled, (await parts()).map((v, i) => (v - partsBefore[i]).toFixed(1)).join(' '), spent.toFixed(1));
    await page.done();
    return spent;
}
const full = [];
const empty = [];
for (let i = 0; i < 5; ++i) {
    full.push(await repliesMs(true));
    empty.push(await repliesMs(false));
}
await browser.close();
owlet.close();
oneFile.close();
staticServer.close();
fs.rmSync(staticFolder, { recursive: true });
console.log([gzip, median(ready), median(plain), median(full), median(empty), singleGzip,
    median(fromDisk), median(plainFromDisk)]
    .map((v) => (Number.isInteger(v) ? v : v.toFixed(1))).join(' '));
