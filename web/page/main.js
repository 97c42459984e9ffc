// Starts the page: the core, the serial link, the view, then the panel's start-up.
import { loadCore } from './core.js';
import { PageLink } from './link.js';
import { serial } from './serial.js';
import { PanelView } from './view.js';

const panel = document.getElementById('panel');
const link = new PageLink();
let view = null;
let core = null;
try {
    core = await loadCore({
        changed: (c, p) => view?.changed(c, p),
        responseAppended: (dropped, text) => view?.responseAppended(dropped, text),
        responseCleared: () => view?.responseCleared(),
        runTimeError: (kind, message) => view?.runTimeError(kind, message),
        choosePort: (n) => link.choosePort(n),
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
    document.querySelector('title').textContent = core.caption;
    document.getElementById('version').textContent = `OWLET ${core.version}`;
    const portsText = () => {
        const ports = link.describeAllowed();
        return (ports.length ? `Ports this page may use:\n${ports.join('\n')}`
            : 'This page may use no port yet.') +
            '\nA number past them opens the browser\'s port chooser; 0 works without a port.';
    };
    view = new PanelView(core, panel, document.getElementById('error'), portsText);
    view.mirrorAll();
    core.load();
    if (!serial.hasSerial()) {
        const note = document.getElementById('no-serial');
        note.textContent = 'This browser has no Web Serial, so OWLET works here as a calculator, as ' +
            'with port 0. Chrome, Edge, Opera and Brave reach the module.';
        note.hidden = false;
    }
    view.focusFirst();
    panel.removeAttribute('aria-busy');
    performance.mark('owlet-ready');
    // The ports this page may use are asked for meanwhile; the panel needs them only at COM Port.
    await link.start(core);
    document.body.dataset.ready = 'true';

    // Offline once loaded, and installable as an app.
    if ('serviceWorker' in navigator && location.protocol !== 'file:')
        navigator.serviceWorker.register('sw.js').catch(() => {});
}
