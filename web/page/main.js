// Starts the page: the core, the serial link, the view, then the panel's start-up.
import { loadCore } from './core.js';
import { PageLink } from './link.js';
import { LoopSection } from './loop.js';
import { serial } from './serial.js';
import { PanelView } from './view.js';

const panel = document.getElementById('panel');
const link = new PageLink();
let view = null;
let loop = null;
let core = null;
try {
    core = await loadCore({
        changed: (c, p) => {
            view?.changed(c, p);
            loop?.planChanged();
        },
        responseAppended: (dropped, text) => view?.responseAppended(dropped, text),
        responseCleared: () => view?.responseCleared(),
        runTimeError: (kind, message) => view?.runTimeError(kind, message),
        announced: (words) => view?.announce(words),
        hasSerial: () => serial.hasSerial(),
        allowedPorts: () => link.allowedPorts(),
        useAllowedPort: (index) => link.useAllowedPort(index),
        openChooser: () => link.openChooser(),
        openPort: () => link.openPort(),
        writeLine: (bytes) => link.writeLine(bytes),
    });
} catch (error) {
    // Without its core the page can do nothing: say so, and why, in one line.
    const note = document.getElementById('load-failed');
    note.textContent = `OWLET could not start: its core did not load (${error?.message ?? error}). ` +
        'Reload the page; if this stays, the page\'s files are incomplete or this browser has no WebAssembly.';
    note.hidden = false;
    panel.removeAttribute('aria-busy');
}

if (core) {
    document.querySelector('title').textContent = core.windowCaption;
    document.getElementById('version').textContent = `OWLET ${core.version}`;
    const portsText = () => core.portsToolTip(link.allowedNames());
    view = new PanelView(core, panel, document.getElementById('error'), portsText);
    view.mirrorAll();
    core.load();
    if (!serial.hasSerial()) {
        const note = document.getElementById('no-serial');
        note.textContent = core.noSerialNote();
        note.hidden = false;
    }
    view.focusFirst();
    loop = new LoopSection(core, document.getElementById('loop'));
    panel.removeAttribute('aria-busy');
    performance.mark('owlet-ready');
    // The ports this page may use are asked for meanwhile; the panel needs them only at COM Port.
    await link.start(core);
    document.body.dataset.ready = 'true';

    // Offline once loaded, and installable as an app.
    if ('serviceWorker' in navigator && location.protocol !== 'file:')
        navigator.serviceWorker.register('sw.js').catch(() => {});
}
