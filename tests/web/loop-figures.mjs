// Prints the figures the page's loop section shows, a row a line ("label<TAB>value"), for
// a setting given as JSON: { "panel": { "Fref": "10", ... }, "loop": { "kvco": "8", ... } }.
// The desktop's loop window test runs it to hold the page to the same answer.
import { openPage, startBrowser, startServer } from './support.mjs';

const setting = JSON.parse(process.argv[2]);
const browser = await startBrowser();
const site = await startServer();
try {
    const page = await openPage(browser, site.url, { serial: false });
    for (const [control, text] of Object.entries(setting.panel)) {
        const input = await page.$(`[data-control="${control}"] input, input[data-control="${control}"]`);
        await input.click({ clickCount: 3 });
        await page.keyboard.type(text);
    }
    await page.click('#loop > summary');
    await page.waitForSelector('.loop-figures');
    for (const [key, text] of Object.entries(setting.loop)) {
        // A profile's points into its table's cells, "Add row" pressed for each row past the
        // first; any other input typed over.
        if (await page.$eval(`#loop-${key}`, (e) => e.tagName === 'TABLE')) {
            for (const [row, point] of text.split(',').entries()) {
                const cells = `#loop-${key} tbody tr:nth-child(${row + 1}) input`;
                if (!await page.$(cells))
                    await page.click(`#loop-${key} + .loop-buttons button`);
                for (const [column, value] of point.split(':').entries()) {
                    await (await page.$$(cells))[column].click();
                    await page.keyboard.type(value);
                }
            }
            continue;
        }
        await page.click(`#loop-${key}`, { clickCount: 3 });
        await page.keyboard.type(text);
    }
    await page.waitForSelector('.loop-results:not([data-simulating])');
    const rows = await page.$$eval('.loop-figures tr', (trs) =>
        trs.map((tr) => [...tr.cells].map((c) => c.textContent).join('\t')));
    process.stdout.write(`${rows.join('\n')}\n`);
    await page.done();
} finally {
    site.close();
    await browser.close();
}
