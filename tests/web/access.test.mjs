// Screen readers and keyboards on the page, both forms: axe-core finds nothing but the port
// box's designed colours, the focus is never lost, lists open where the box stands, select
// all stays in the response box, and no caption is cut under larger text or wider spacing.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, describe, test } from 'node:test';
import { Forms, openPage, root, startBrowser, startSite, text, until } from './support.mjs';

const axeSource = fs.readFileSync(path.join(root, 'node_modules/axe-core/axe.min.js'), 'utf8');
let browser;
before(async () => { browser = await startBrowser(); });
after(async () => { await browser?.close(); });

const altDown = async (page) => {
    await page.keyboard.down('Alt');
    await page.keyboard.press('ArrowDown');
    await page.keyboard.up('Alt');
};

// The states axe-core checks, each reached from a fresh page as a user would.
const AxeStates = [
    { name: 'at load', reach: async () => {} },
    { name: 'with a list open', reach: async (page) => { await page.click('#Fcomp2'); await altDown(page); } },
    { name: 'with the error dialog open', reach: async (page) => {
        await page.click('#Fcomp2', { clickCount: 3 });
        await page.keyboard.type('0');
        await page.click('#Fref');
        await page.keyboard.type('10');
        await page.click('#SetR');
        await until(() => page.$eval('#error', (d) => d.open), 5000, 'the dialog');
    } },
    { name: 'with the loop section open, a field wrong', reach: async (page) => {
        await page.click('#Fref');
        await page.keyboard.type('10');
        await page.click('#loop > summary');
        await page.waitForSelector('#loop-kvco');
        await page.type('#loop-kvco', '8');
        await page.type('#loop-r1', 'x');
        await until(() => page.$$eval('.loop-drawing svg', (s) => s.length === 1), 5000, 'the schematic');
    } },
    { name: 'with the noise group open, a row wrong', reach: async (page) => {
        await page.click('#Fref');
        await page.keyboard.type('10');
        await page.click('#loop > summary');
        await page.waitForSelector('#loop-kvco');
        await page.type('#loop-kvco', '8');
        await page.type('#loop-ref-noise tbody input', '1k:-150,100:-130');
        await until(() => page.$$eval('#loop-ref-noise [aria-invalid="true"]', (i) => i.length === 2),
            5000, 'the row marked');
    } },
];

// Text as WCAG 1.4.12 spaces it, and a 20 px minimum font size.
const Spacings = [
    ['text spacing', '* { line-height: 1.5 !important; letter-spacing: 0.12em !important; word-spacing: 0.16em !important; } p { margin-bottom: 2em !important; }'],
    ['a 20 px minimum font size', '* { font-size: max(20px, 1em) !important; }'],
];

for (const form of Forms) describe(`accessibility, the page ${form}`, () => {
    let site;
    before(async () => { site = await startSite(form); });
    after(() => site?.close());
    const withPage = async (run) => {
        const page = await openPage(browser, site.url, { ports: [{ usbVendorId: 1, usbProductId: 2, allowed: true }],
            module: { open() {}, write() {} } });
        try {
            await run(page);
        } finally {
            await page.done();
        }
    };

    for (const state of AxeStates)
        test(`axe-core ${state.name}: no violation but the port box's designed colours`, () => withPage(async (page) => {
            await state.reach(page);
            await page.evaluate(axeSource);
            const violations = await page.evaluate(async () => (await window.axe.run(document,
                { resultTypes: ['violations'] })).violations.flatMap((v) =>
                v.nodes.map((n) => `${v.id} ${n.target.join(' ')}`)));
            assert.deepEqual(violations.filter((v) => v !== 'color-contrast #CPNo'), []);
        }));

    test('COM Port pressed by keyboard hands the focus on, as the desktop does', () => withPage(async (page) => {
        for (let i = 0; i < 4; ++i)
            await page.keyboard.press('Tab');
        assert.equal(await page.evaluate(() => document.activeElement.id), 'SetCP');
        await page.keyboard.press('Space');
        await until(() => page.evaluate(() => document.activeElement.id === 'Fcomp2'), 5000, 'the focus on Fcomp2');
    }));

    test('a list opens on the entry the box shows; the keyboard\'s entry has a look of its own', () => withPage(async (page) => {
        await page.click('#Fcomp2');
        await altDown(page);
        assert.equal(await page.$eval('#Fcomp2-list li.active', (e) => e.textContent), '25');
        await page.keyboard.press('Enter');
        assert.equal(await text(page, '#Fcomp2'), '25');
        await altDown(page);
        await page.keyboard.press('ArrowDown'); // the chosen 25 and the keyboard's entry apart
        const cdp = await page.createCDPSession();
        for (const colours of ['none', 'active']) {
            await cdp.send('Emulation.setEmulatedMedia', { features: [{ name: 'forced-colors', value: colours }] });
            assert.equal(await page.evaluate(() => matchMedia('(forced-colors: active)').matches), colours === 'active');
            // A colour's alpha left out: forced colours keep it though the eye cannot see it.
            const looks = await page.$$eval('#Fcomp2-list li', (items) => items.map((e) => {
                const s = getComputedStyle(e);
                const background = s.backgroundColor.replace(/rgba\((\d+), (\d+), (\d+), [\d.]+\)/, 'rgb($1, $2, $3)');
                return `${background} ${s.color} ${s.outlineStyle} ${s.borderLeftWidth}`;
            }));
            const active = await page.$eval('#Fcomp2-list li.active', (e) => Number(e.dataset.index));
            const chosen = await page.$eval('#Fcomp2-list li[aria-selected="true"]', (e) => Number(e.dataset.index));
            const plain = looks.findIndex((_, i) => i !== active && i !== chosen);
            assert.equal(new Set([looks[active], looks[chosen], looks[plain]]).size, 3, `${colours}: ${looks}`);
        }
    }));

    test('select all in the response box selects its text only', () => withPage(async (page) => {
        await page.click('#SetCP');
        await until(() => page.evaluate(() => window.__serialDouble.state.opened.length), 5000, 'open');
        await page.evaluate(() => window.__serialDouble.deliver([...new TextEncoder().encode('OK R0190\r\nOK N16A8')]));
        await until(async () => (await text(page, '#Text1')).includes('N16A8'), 5000, 'the reply');
        await page.focus('#Text1');
        await page.keyboard.down('Control');
        await page.keyboard.press('KeyA');
        await page.keyboard.up('Control');
        assert.match(await page.evaluate(() => getSelection().toString()), /^OK R0190\s*OK N16A8\s*$/);
    }));

    for (const [name, css] of Spacings)
        test(`no caption is cut off under ${name}`, () => withPage(async (page) => {
            const cut = await page.evaluate((rules) => {
                const sheet = new CSSStyleSheet();
                sheet.replaceSync(rules);
                document.adoptedStyleSheets = [sheet];
                const found = [];
                const captions = '#panel .label, #panel button, #panel .check span, #panel .frame > span';
                for (const e of document.querySelectorAll(captions)) {
                    if (e.closest('[hidden]') || !e.textContent.trim())
                        continue;
                    const range = document.createRange();
                    range.selectNodeContents(e);
                    const r = range.getBoundingClientRect();
                    for (let a = e; a && a !== document.documentElement; a = a.parentElement) {
                        const s = getComputedStyle(a);
                        const b = a.getBoundingClientRect();
                        if ((s.overflowX !== 'visible' && (r.left < b.left - 1 || r.right > b.right + 1)) ||
                            (s.overflowY !== 'visible' && (r.top < b.top - 1 || r.bottom > b.bottom + 1)))
                            found.push(e.textContent);
                    }
                }
                return found;
            }, css);
            assert.deepEqual(cut, []);
        }));
});
