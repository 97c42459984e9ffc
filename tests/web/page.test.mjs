// The web page in headless Chromium, through real input events, with the Web Serial double
// carrying the bytes to the module simulator on a pseudo-terminal. Each test runs on both
// forms of the page: served, and the one file opened from disk.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { after, before, describe, test } from 'node:test';
import {
    Forms, dialogText, withModuleOn, openPage, root, shown, site as siteFolder, startBrowser, startServer,
    startSite, text, until, version, wait,
} from './support.mjs';

const Adapter = { usbVendorId: 0x0403, usbProductId: 0x6001 };
let browser;
before(async () => { browser = await startBrowser(); });
after(async () => { await browser?.close(); });

const withModule = (url, options, run) => withModuleOn(browser, url, options, run);

for (const form of Forms) describe(`the page ${form}`, () => {
    let site;
    before(async () => { site = await startSite(form); });
    after(() => site?.close());

    test('typical use: COM Port, Set R, Set N, Set C and Update reach the module at 1200 8N1', () =>
        withModule(site.url, { ports: [{ ...Adapter, allowed: true }] }, async (page, module) => {
            await page.click('#SetCP');
            await until(() => shown(page, '#Update'), 5000, 'Update');
            assert.ok(await shown(page, '#Text1'));
            await page.click('#Fref');
            assert.equal(await text(page, '#Fref'), '');
            await page.keyboard.type('10');
            await page.click('#SetR');
            assert.equal(await text(page, '#Rreg'), '0190');
            assert.equal(await text(page, '#Fcomp2'), ' 25');
            await page.click('#Fout');
            await page.keyboard.type('145.01');
            await page.click('#SetN');
            assert.equal(await text(page, '#Nreg'), '16A8');
            assert.equal(await text(page, '#Warn'), 'Non-integer ratio: \nFreq error -10000Hz');
            await page.click('#PD1');
            await page.click('#SetC');
            await page.click('#Update');
            await until(() => module.output.includes('<- U'), 5000, 'U at the module');
            assert.equal(module.received.toString('latin1'), 'R0190\r\nN16A8\r\nC63\r\nU\r\n');
            for (const line of ['<- R0190', '<- N16A8', '<- C63'])
                assert.ok(module.output.includes(line), line);
            const line = module.lineSettings();
            assert.match(line, /speed 1200 baud/);
            for (const flag of ['cs8', '-parenb', '-cstopb', '-crtscts'])
                assert.ok(line.split(/\s+/).includes(flag), flag);
            await until(async () => (await text(page, '#Text1')).includes('OK U'), 5000, 'the reply');
        }));

    test('every byte the module sends is shown, NUL and 0x80-0xFF included', () =>
        withModule(site.url, { ports: [{ ...Adapter, allowed: true }] }, async (page) => {
            await page.click('#SetCP');
            await until(() => page.evaluate(() => window.__serialDouble.state.opened.length), 5000, 'open');
            const line = [...Array(256).keys()].filter((b) => b !== 10 && b !== 13);
            await page.evaluate((b) => window.__serialDouble.deliver(b), [...line, 13, 10, 0x4F, 0x4B]);
            const paragraphs = () => page.$$eval('#Text1 > div > div', (all) => all.map((p) => p.textContent));
            await until(async () => (await paragraphs()).at(-1) === 'OK', 5000, 'the reply');
            assert.deepEqual(await paragraphs(), [String.fromCharCode(...line), 'OK']);
        }));

    test('a port number past the allowed ones opens the chooser inside the click', () =>
        withModule(site.url, { ports: [{ ...Adapter, allowed: false }] }, async (page, module) => {
            await page.click('#SetCP');
            await until(() => shown(page, '#Update'), 5000, 'Update');
            const state = await page.evaluate(() => window.__serialDouble.state);
            assert.equal(state.chooserCalls, 1);
            assert.equal(state.activationAtChooser, true);
            assert.deepEqual(state.opened, [{ baudRate: 1200, dataBits: 8, parity: 'none', stopBits: 1, flowControl: 'none' }]);
            await page.click('#Update');
            await until(() => module.received.toString() === 'U\r\n', 5000, 'U');
            await page.hover('#Fcomp2');
            await page.evaluate(() => document.getElementById('CPNo').dispatchEvent(new Event('mouseenter')));
            assert.match(await page.$eval('#CPNo', (e) => e.title), /1: USB 0403:6001/);
        }));

    // Each failure the browser can give, in the desktop panel's manner, told once.
    const Failures = [
        { name: 'chooser cancelled', ports: [], setUp: (s) => { s.chooser = 'cancel'; },
            kind: 'Bad port number', says: 'No adapter was chosen for port 1' },
        { name: 'port held elsewhere', ports: [{ ...Adapter, allowed: true }], setUp: (s) => { s.busy = true; },
            kind: 'Port busy', says: 'Port 1 (USB 0403:6001) is busy: another program or browser tab' },
        { name: 'chooser refused', ports: [], setUp: (s) => { s.chooser = 'refuse'; },
            kind: 'Bad port number', says: 'did not show its port chooser (the browser says: SecurityError: Serial access is blocked' },
        { name: 'adapter unplugged', ports: [{ ...Adapter, allowed: true }], afterOpen: 'unplug',
            kind: 'Device unavailable', says: 'went away: the adapter was unplugged' },
        { name: 'reading ends', ports: [{ ...Adapter, allowed: true }], afterOpen: 'endReading',
            kind: 'Device unavailable', says: 'it stopped giving data, and the browser ended its reading.' },
        { name: 'write fails', ports: [{ ...Adapter, allowed: true }], afterOpen: 'failWrites',
            kind: 'Device I/O error', says: 'did not take the command' },
    ];
    for (const f of Failures)
        test(`failure: ${f.name}`, () => withModule(site.url, { ports: f.ports }, async (page, module) => {
            if (f.setUp)
                await page.evaluate(`(${f.setUp})(window.__serialDouble.state)`);
            await page.click('#SetCP');
            if (f.afterOpen) {
                await until(() => shown(page, '#Update'), 5000, 'Update');
                await until(() => page.evaluate(() => window.__serialDouble.state.opened.length), 5000, 'open');
                await page.evaluate(() => window.__serialDouble.deliver([...new TextEncoder().encode('before\r\n')]));
                await until(async () => (await text(page, '#Text1')).includes('before'), 5000, 'bytes before');
                if (f.afterOpen === 'unplug' || f.afterOpen === 'endReading')
                    await page.evaluate((how) => window.__serialDouble[how](0), f.afterOpen);
                else {
                    await page.evaluate(() => { window.__serialDouble.state.failWrites = true; });
                    await page.click('#Update');
                }
            }
            const said = await dialogText(page);
            assert.ok(said.startsWith(`${f.kind}\n\n`), said);
            assert.ok(said.includes(f.says), said);
            await page.keyboard.press('Enter');
            await until(() => page.$eval('#error', (d) => !d.open), 5000, 'the dialog to close');
            await wait(300);
            assert.equal(await page.$eval('#error', (d) => d.open), false, 'told once');
            if (f.afterOpen !== undefined && f.afterOpen !== 'failWrites')
                assert.ok((await text(page, '#Text1')).includes('before'), 'nothing lost');
            assert.equal(module.received.length, 0);
        }));

    test('without Web Serial the page says so once and works as a calculator', async () => {
        const page = await openPage(browser, site.url, { serial: false });
        try {
            assert.match(await text(page, '#no-serial'), /no Web Serial.*calculator/);
            assert.ok(await shown(page, '#no-serial'));
            await page.click('#CPNo', { clickCount: 3 });
            await page.keyboard.type('0');
            await page.click('#SetCP');
            await page.click('#Fref');
            await page.keyboard.type('10');
            await page.click('#SetR');
            assert.equal(await text(page, '#Rreg'), '0190');
            assert.equal(await shown(page, '#Text1'), false);
        } finally {
            await page.done();
        }
    });

    test('a run-time error is a modal dialog, and the focus goes back to its control', async () => {
        const page = await openPage(browser, site.url, { serial: false });
        try {
            await page.click('#Fcomp2', { clickCount: 3 });
            await page.keyboard.type('0');
            await page.click('#Fref');
            await page.keyboard.type('10');
            await page.click('#SetR');
            const said = await dialogText(page);
            assert.ok(said.startsWith('Division by zero\n\n'), said);
            assert.equal(await page.$eval('#error-title', (e) => e.textContent), 'Run-time error');
            await page.keyboard.press('Enter');
            await until(() => page.evaluate(() => document.activeElement.id === 'SetR'), 5000, 'focus');
        } finally {
            await page.done();
        }
    });

    test('the combo boxes: typing and choosing stay two events; Alt+Down, Escape and the arrow', async () => {
        const page = await openPage(browser, site.url, { serial: false });
        try {
            await page.click('#Fref');
            await page.keyboard.type('10');
            await page.click('#SetR');
            assert.equal(await text(page, '#Rreg'), '0190');
            // Typing an entry's text is no choice: the registers stay.
            await page.click('#Fcomp2', { clickCount: 3 });
            await page.keyboard.type('50');
            assert.equal(await text(page, '#Rreg'), '0190');
            await page.keyboard.down('Alt');
            await page.keyboard.press('ArrowDown');
            await page.keyboard.up('Alt');
            assert.equal(await page.$eval('#Fcomp2', (e) => e.getAttribute('aria-expanded')), 'true');
            await page.keyboard.press('Escape');
            assert.equal(await page.$eval('#Fcomp2', (e) => e.getAttribute('aria-expanded')), 'false');
            assert.equal(await text(page, '#Rreg'), '0190');
            await page.click('.combo:has(#Fcomp2) > button');
            await page.click('#Fcomp2-list-6'); // "200": a choice empties the registers
            assert.equal(await text(page, '#Fcomp2'), '200');
            assert.equal(await text(page, '#Rreg'), '');
            assert.equal(await page.$eval('#Fcomp2-list-6', (e) => e.getAttribute('aria-selected')), 'true');
        } finally {
            await page.done();
        }
    });

    // What a screen reader gets: every input named by its caption, the warning an alert.
    const Names = {
        Fref: 'Reference MHz', Fout: 'Fout MHz', Fcomp2: 'Fcomp kHz', Rreg: 'R Register',
        Nreg: 'N Register', Creg: 'C Register', RefOut: 'REFout frequency', CPNo: 'COM port number',
        SetCP: 'COM Port', PD0: 'PhV/PhR', PD1: 'PDout', InvertPD: 'Invert PD', FvE: 'Fv Enable',
        FrE: 'Fr Enable', LDE: 'LD Enable', Text1: 'Response from Synth Module', Update: 'Update',
        StoreEE: 'Store to EE', SetR: 'Set R', SetN: 'Set N', SetC: 'Set C',
    };
    test('the accessibility tree names every input by its caption', () =>
        withModule(site.url, { ports: [{ ...Adapter, allowed: true }] }, async (page) => {
            const cdp = await page.createCDPSession();
            const interactive = ['textbox', 'combobox', 'checkbox', 'radio', 'button', 'alert'];
            const name = (n) => (n?.name?.value ?? '').replace(/\s+/g, ' ').trim();
            // The tree as a screen reader gets it: its nodes by the id of their element.
            const tree = async () => {
                const { nodes } = await cdp.send('Accessibility.getFullAXTree');
                const byId = new Map();
                const byNode = new Map(nodes.map((n) => [n.nodeId, n]));
                byId.ancestors = (node) => {
                    const chain = [];
                    for (let n = byNode.get(node.parentId); n; n = byNode.get(n.parentId))
                        chain.push(n);
                    return chain;
                };
                byId.roles = new Set(nodes.filter((n) => !n.ignored).map((n) => n.role?.value));
                for (const node of nodes.filter((n) => !n.ignored && n.backendDOMNodeId)) {
                    const { node: dom } = await cdp.send('DOM.describeNode', { backendNodeId: node.backendDOMNodeId });
                    const at = dom.attributes?.indexOf('id') ?? -1;
                    if (at >= 0)
                        byId.set(dom.attributes[at + 1], node);
                    if (interactive.slice(0, -1).includes(node.role?.value))
                        assert.ok(name(node), `a nameless ${node.role.value}`);
                }
                return byId;
            };
            // At load: the frequency fields say they still show the prompt; the options stand
            // in groups named by their frames; the panel is the main landmark, its banner the
            // heading.
            const atLoad = await tree();
            for (const id of ['Fref', 'Fout'])
                assert.equal(atLoad.get(id).description?.value, 'Not edited yet: shows the prompt Enter value', id);
            for (const [frame, caption, inside] of [['Frame1', 'Phase Detector', ['PD0', 'PD1', 'InvertPD']],
                ['Frame2', 'Options', ['FvE', 'FrE', 'LDE', 'RefOut']]]) {
                assert.equal(atLoad.get(frame).role.value, 'group');
                assert.equal(name(atLoad.get(frame)), caption);
                for (const id of inside)
                    assert.ok(atLoad.ancestors(atLoad.get(id)).includes(atLoad.get(frame)), `${id} in ${caption}`);
            }
            assert.ok(atLoad.roles.has('main'));
            assert.equal(atLoad.get('Label7').role.value, 'heading');
            assert.match(name(atLoad.get('Label7')), /^Remote programming for VHF/);
            await page.click('#Fref');
            await page.click('#Fout');
            await page.click('#PD1');
            const before = await tree();
            await page.click('#SetCP');
            await until(() => shown(page, '#Text1'), 5000, 'Text1');
            const afterPort = await tree();
            for (const [id, caption] of Object.entries(Names))
                assert.equal(name(afterPort.get(id) ?? before.get(id)), caption, id);
            assert.equal(afterPort.get('Fref').description?.value, 'Edited');
            assert.equal(before.get('Warn'), undefined); // hidden until Set N warns
            await page.click('#Fref');
            await page.keyboard.type('10');
            await page.click('#Fout');
            await page.keyboard.type('145.01');
            // The press's words and the warning, read once from the page's live region
            // (the warning itself is no alert, which would say it twice); again for the
            // same words after the next press.
            await page.evaluate(() => {
                window.announced = [];
                new MutationObserver((changes) => window.announced.push(
                    ...changes.flatMap((c) => [...c.addedNodes].map((n) => n.textContent))))
                    .observe(document.getElementById('announcement'), { childList: true });
            });
            await page.click('#SetN');
            await page.click('#SetN');
            const warned = await tree();
            assert.notEqual(warned.get('Warn')?.role?.value, 'alert');
            assert.match(warned.get('Warn')?.description?.value ?? '', /Exact with Fcomp/);
            assert.equal(await page.$eval('#announcement', (e) => e.getAttribute('role')), 'status');
            const words = 'N 16A8 sent. Non-integer ratio: Freq error -10000Hz';
            await until(async () => (await page.evaluate(() => window.announced.length)) === 2,
                5000, 'two announcements');
            assert.deepEqual(await page.evaluate(() => window.announced), [words, words]);
        }));

    // Every control where the window's table puts it: read here from panel/Layout.h itself.
    test('the loop section: built when opened, fed by the panel, figures and plots, kept', async () => {
        const page = await openPage(browser, site.url, { serial: false });
        try {
            // Collapsed, and nothing of it built, until opened by the keyboard.
            assert.equal(await page.$$eval('#loop input', (i) => i.length), 0);
            await page.focus('#loop > summary');
            await page.keyboard.press('Enter');
            await page.waitForSelector('#loop-kvco');
            assert.match(await text(page, '.loop-problem'), /^Fref: needs/);
            await page.click('#Fref');
            await page.keyboard.type('10');
            await page.click('#Fout');
            await page.keyboard.type('145');
            for (const [key, value] of [['kvco', '8'], ['r1', '18k'], ['r2', '3k3'], ['c2', '1u']])
                await page.type(`#loop-${key}`, value);
            await page.waitForSelector('.loop-results:not([data-simulating])');
            const figures = await text(page, '.loop-figures');
            assert.match(figures, /Phase margin\s*76\.9°/);
            assert.equal(await page.$$eval('.loop-drawing svg', (s) => s.length), 4);
            assert.match(await page.$eval('.loop-drawing:nth-of-type(1)', (d) => d.getAttribute('aria-description')), /φR\/φV filter/);
            // A field wrong: marked, told, the other figures kept.
            await page.type('#loop-r2', 'x');
            assert.equal(await page.$eval('#loop-r2', (i) => i.getAttribute('aria-invalid')), 'true');
            assert.match(await text(page, '#loop-r2-need'), /not a number/);
            assert.equal(await text(page, '.loop-figures'), figures);
            // The panel's comparison frequency, typed, reaches the figures.
            await page.click('#Fcomp2', { clickCount: 3 });
            await page.keyboard.type('12.5');
            await page.click('#loop-r2', { clickCount: 3 });
            await page.keyboard.type('3k3');
            assert.match(await text(page, '.loop-figures'), /N = 11600 at 12\.5 kHz/);
            // Kept for the next visit.
            await page.reload();
            await page.waitForSelector('body[data-ready="true"]');
            await page.click('#loop > summary');
            await page.waitForSelector('#loop-kvco');
            assert.equal(await page.$eval('#loop-kvco', (i) => i.value), '8');
            assert.deepEqual(page.problems, []);
        } finally {
            await page.done();
        }
    });

    test('the noise by the keyboard: a profile typed row by row gives owlet-cli\'s figures', async () => {
        const page = await openPage(browser, site.url, { serial: false });
        try {
            await page.click('#Fref');
            await page.keyboard.type('10');
            await page.click('#Fout');
            await page.keyboard.type('145');
            await page.focus('#loop > summary');
            await page.keyboard.press('Enter');
            await page.waitForSelector('#loop-kvco');
            for (const [key, value] of [['kvco', '8'], ['r1', '18k'], ['r2', '3k3'], ['c2', '1u']])
                await page.type(`#loop-${key}`, value);
            // C1, Cc, R3, C3, the design's four, its choice, the series, Design, Lowest noise.
            for (let i = 0; i < 13; ++i)
                await page.keyboard.press('Tab');
            const points = [['100', '-130'], ['1k', '-150'], ['10k', '-160']];
            for (const [n, [offset, level]] of points.entries()) {
                if (n > 0)
                    await page.keyboard.press('Enter'); // "Add row": the focus into the new row
                assert.equal(await page.evaluate(() => document.activeElement.getAttribute('aria-label')),
                    `Reference noise (Hz:dBc/Hz) Offset (Hz), row ${n + 1}`);
                await page.keyboard.type(offset);
                await page.keyboard.press('Tab');
                await page.keyboard.type(level);
                await page.keyboard.press('Tab');
            }
            await page.waitForSelector('.loop-results:not([data-simulating])');
            const figures = await page.$$eval('.loop-figures tr', (trs) =>
                trs.map((tr) => [...tr.cells].map((c) => c.textContent.trim().replace(/\s+/g, ' ')).join(' ')));
            const cli = execFileSync(process.env.OWLET_CLI, ['--loop', '--fref', '10', '--fout', '145',
                '--kvco', '8', '--r1', '18k', '--r2', '3k3', '--c2', '1u',
                '--ref-noise', '100:-130,1k:-150,10k:-160'], { encoding: 'utf8' })
                .split('\n').map((l) => l.trim().replace(/\s+/g, ' '));
            for (const row of [/^Phase noise at 10 kHz /, /^reference /])
                assert.equal(figures.find((f) => row.test(f)), cli.find((l) => row.test(l)));
            assert.equal(await page.$$eval('#loop-ref-noise tbody tr', (r) => r.length), 3);
            assert.equal(await page.$$eval('.loop-drawing svg', (s) => s.length), 5);
            assert.match(await page.$eval('.loop-drawing:nth-of-type(5)', (d) => d.getAttribute('aria-description')),
                /at 10 kHz, the resistors' noise leading/);
            // A line pasted into a cell becomes the rows it holds.
            await page.click('#loop-vco-noise tbody input');
            await page.keyboard.type('1k:-70,10k:-95,100k:-118');
            assert.equal(await page.$$eval('#loop-vco-noise tbody tr', (r) => r.length), 3);
            await page.waitForSelector('.loop-results:not([data-simulating])');
            assert.match(await text(page, '.loop-figures'), /VCO\s+-51\.1/);
            assert.deepEqual(page.problems, []);
        } finally {
            await page.done();
        }
    });

    test('every control stands where the layout table puts it', async () => {
        const table = fs.readFileSync(path.join(root, 'panel/Layout.h'), 'utf8');
        const rows = [...table.matchAll(/\{C::(\w+), (\d+), (\d+), (\d+), (\d+)/g)]
            .map(([, name, ...twips]) => ({ name, box: twips.map((t) => Number(t) / 15) }));
        assert.equal(rows.length, 32);
        const page = await openPage(browser, site.url, { serial: false });
        try {
            const placed = await page.evaluate(() => {
                const panel = document.getElementById('panel');
                const origin = panel.getBoundingClientRect();
                const result = {};
                for (const e of panel.children) {
                    e.hidden = false;
                    const r = e.getBoundingClientRect();
                    result[e.dataset.control] = [r.left - origin.left - panel.clientLeft,
                        r.top - origin.top - panel.clientTop, r.width, r.height];
                }
                return result;
            });
            for (const { name, box } of rows)
                box.forEach((value, i) => assert.ok(Math.abs(placed[name][i] - value) < 0.5,
                    `${name}: ${placed[name]} against ${box}`));
            assert.equal(await page.$eval('title', (e) => e.textContent), 'Quartzel      OWLET');
            assert.equal(await text(page, '#version'), `OWLET ${version}`);
            // The focus starts in Fref and Tab follows the window's tab order, hidden controls passed.
            await page.reload();
            await page.waitForSelector('body[data-ready="true"]');
            const order = [];
            for (let i = 0; i < 14; ++i) {
                order.push(await page.evaluate(() => document.activeElement.id));
                await page.keyboard.press('Tab');
            }
            assert.deepEqual(order, ['Fref', 'Fout', 'Nreg', 'Rreg', 'SetCP', 'CPNo', 'Fcomp2', 'Creg',
                'PD0', 'InvertPD', 'RefOut', 'FvE', 'FrE', 'LDE']);
        } finally {
            await page.done();
        }
    });
});

// The worker on hosts as they are: the page opens again with the worker active, online and
// offline; only this copy's old caches go; files that are not one build never enter.
const Hosts = [
    { name: 'as served' },
    { name: 'on a host that redirects /index.html to /', redirectIndex: true },
    { name: 'with files that are not one build', tamper: true },
];
for (const host of Hosts) test(`the worker ${host.name}: nothing from other sites, offline from one build`, async () => {
    // A copy of the site, so a new file can be put on the server under the page.
    const copy = fs.mkdtempSync(path.join(os.tmpdir(), 'owlet-site-'));
    fs.cpSync(siteFolder, copy, { recursive: true });
    if (host.tamper)
        fs.appendFileSync(path.join(copy, 'style.css'), '\n/* not this build */\n');
    fs.writeFileSync(path.join(copy, 'blank.html'), '<!doctype html><title>x</title><link rel="icon" href="data:,">');
    const own = await startServer(copy, host); // stopped below: the page must do without it
    // Before the first visit: another app's cache on the origin, and one of an old build.
    const stale = `owlet ${own.url} 0000000000000000`;
    const page = await openPage(browser, `${own.url}blank.html`, { serial: false, ready: false });
    try {
        await page.evaluate(async (old) => {
            await (await caches.open('another app')).put('x', new Response('kept'));
            await caches.open(old);
        }, stale);
        await page.goto(own.url);
        await page.waitForSelector('body[data-ready="true"]');
        const policy = await page.$eval('meta[http-equiv="Content-Security-Policy"]', (e) => e.content);
        assert.match(policy, /default-src 'self'/);
        const loaded = await page.evaluate(() => performance.getEntriesByType('resource').map((r) => r.name));
        for (const url of loaded)
            assert.ok(url.startsWith(own.url), url);
        const manifest = await page.evaluate(async () => (await fetch('manifest.webmanifest')).json());
        assert.ok(manifest.icons.some((i) => i.sizes === '192x192'));
        // How the page's worker ends its install: activated, or thrown away.
        const state = await page.evaluate(async () => {
            const registration = await navigator.serviceWorker.register('sw.js');
            const worker = registration.installing ?? registration.waiting ?? registration.active;
            const ended = () => ['activated', 'redundant'].includes(worker.state);
            await new Promise((done) => (ended() ? done()
                : worker.addEventListener('statechange', () => ended() && done())));
            return worker.state;
        });
        if (host.tamper) {
            // Install refuses the files: nothing of this copy is kept.
            assert.equal(state, 'redundant');
            assert.deepEqual((await page.evaluate(() => caches.keys())).sort(), ['another app', stale]);
            return;
        }
        assert.equal(state, 'activated');
        // The worker's cache is named after its scope and build, and answers for that build
        // alone; the old build's cache is gone, the other app's kept.
        const keys = await page.evaluate(() => caches.keys());
        assert.deepEqual(keys.filter((k) => k !== 'another app'), [keys.find((k) => /^owlet \S+ [0-9a-f]{16}$/.test(k))]);
        assert.ok(keys.includes('another app'));
        fs.writeFileSync(path.join(copy, 'app.js'), 'throw new Error("another build");');
        await page.reload();
        await page.waitForSelector('body[data-ready="true"]');
        assert.ok(await page.evaluate(() => navigator.serviceWorker.controller !== null));
        // Offline: the worker answers without the network, a query string too.
        own.close();
        await page.goto(`${own.url}?source=pwa`);
        await page.waitForSelector('body[data-ready="true"]');
        assert.equal(await page.$eval('#Creg', (e) => e.value), '00000');
        assert.deepEqual(page.problems, []);
    } finally {
        await page.done();
        own.close();
        fs.rmSync(copy, { recursive: true, force: true });
    }
});

// The one file as make web builds it, and built again from sources with CR LF line endings,
// as a checkout on Windows may have them: the policy's hashes must be the browser's.
const OneFiles = [
    { name: 'as built' },
    { name: 'built from CR LF sources', crlf: true },
];
for (const oneFile of OneFiles) test(`the one file ${oneFile.name} opens from disk alone: nothing fetched, a strict policy, no service worker`, async () => {
    let site;
    if (oneFile.crlf) {
        const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'owlet-crlf-'));
        fs.cpSync(siteFolder, path.join(folder, 'site'), { recursive: true });
        const crlf = (file) => fs.writeFileSync(file, fs.readFileSync(file, 'utf8').replace(/\n/g, '\r\n'));
        for (const name of ['app.js', 'style.css', 'index.html'])
            crlf(path.join(folder, 'site', name));
        fs.copyFileSync(path.join(root, 'web/page/carried-core.js'), path.join(folder, 'carried-core.js'));
        crlf(path.join(folder, 'carried-core.js'));
        const out = path.join(folder, 'owlet.html');
        execFileSync(process.execPath, [path.join(root, 'web/build/single.mjs'), out,
            path.join(folder, 'site'), path.join(folder, 'carried-core.js')]);
        site = { url: pathToFileURL(out).href, close: () => fs.rmSync(folder, { recursive: true, force: true }) };
    } else {
        site = await startSite('file');
    }
    const page = await openPage(browser, site.url, { serial: false });
    try {
        const policy = await page.$eval('meta[http-equiv="Content-Security-Policy"]', (e) => e.content);
        assert.match(policy, /default-src 'none'/);
        assert.match(policy, /script-src ('sha256-[\w+/=]+' )+'wasm-unsafe-eval'/);
        assert.doesNotMatch(policy, /'unsafe-inline'|'unsafe-eval'|\*|http/);
        const loaded = await page.evaluate(() => performance.getEntriesByType('resource')
            .map((r) => r.name).filter((name) => !name.startsWith('data:')));
        assert.deepEqual(loaded, []);
        // No worker, no install, and nothing said about either.
        assert.equal(await page.evaluate(() => navigator.serviceWorker?.getRegistrations()
            .then((r) => r.length, () => 0) ?? 0), 0);
        assert.deepEqual(page.problems, []);
    } finally {
        await page.done();
        site.close();
    }
});

test('a core that cannot load is told in one line', async () => {
    const own = await startServer();
    const page = await openPage(browser, own.url, {
        serial: false, ready: false, prepare: async (p) => {
            await p.setRequestInterception(true);
            p.on('request', (r) => (r.url().endsWith('.wasm') ? r.respond({ status: 404, body: '' }) : r.continue()));
        },
    });
    try {
        const said = await until(() => page.$eval('#load-failed', (e) => !e.hidden && e.textContent), 5000, 'the line');
        assert.match(said, /^OWLET could not start: its core did not load \(.+\)\. Reload the page/);
        assert.equal(await page.$eval('#panel', (e) => e.getAttribute('aria-busy')), null);
    } finally {
        await page.done();
        own.close();
    }
});
