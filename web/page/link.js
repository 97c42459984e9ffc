// The page's side of the module link: the adapters this page may use, the browser's
// chooser, and the port the core picked among them. What the port does goes back to the
// core, which numbers the ports and words every failure.
import { Trouble } from './core.js';
import { serial } from './serial.js';

export class PageLink {
    #core = null;
    #allowed = [];
    #chosen = null;   // the port, or a promise of the chooser's answer
    #port = null;     // the open port
    #writing = Promise.resolve();
    #failed = false;

    async start(core) {
        this.#core = core;
        serial.watchPorts(() => this.#refresh(), (port) => {
            if (port === this.#port)
                this.#fail(Trouble.Unplugged); // the browser's event, with no words of its own
        });
        await this.#refresh();
    }

    // The allowed adapters' names, in order, as the core names them: "USB 0403:6001".
    allowedNames() {
        return this.#allowed.map((port) => this.#name(port));
    }

    allowedPorts() {
        return this.#allowed.length;
    }

    async #refresh() {
        this.#allowed = await serial.allowedPorts();
    }

    // Called by the core inside the click on COM Port.
    useAllowedPort(index) {
        this.#chosen = this.#allowed[index];
    }

    openChooser() {
        this.#chosen = serial.choosePort();
        this.#chosen.catch(() => {}); // answered in openPort
    }

    openPort() {
        this.#open();
    }

    async #open() {
        let port;
        try {
            port = await this.#chosen;
        } catch (error) {
            // Only NotFoundError is the user closing the chooser; anything else the browser
            // refused, and is told in its own words.
            return this.#fail(error.name === 'NotFoundError' ? Trouble.ChooserCancelled
                : Trouble.ChooserRefused, error);
        }
        await this.#refresh(); // a port chosen now is one the page may use from now on
        try {
            await serial.openPort(port, this.#core.lineSettings());
        } catch (error) {
            const busy = error.name === 'NetworkError' || error.name === 'InvalidStateError';
            return this.#fail(busy ? Trouble.Busy : Trouble.OpenFailed, error, port);
        }
        this.#port = port;
        this.#core.portOpened();
        // The page never closes its port: reading that ends, however, is a lost port.
        serial.readPort(port, (bytes) => this.#core.portReceived(bytes)).then(
            () => this.#fail(Trouble.ReadEnded, null, port),
            (error) => this.#fail(Trouble.Unplugged, error, port));
    }

    // Lines go out whole and in order, one after the other.
    writeLine(bytes) {
        const port = this.#port;
        this.#writing = this.#writing
            .then(() => (this.#failed ? undefined : serial.writePort(port, bytes)))
            .catch((error) => this.#fail(Trouble.WriteFailed, error, port));
    }

    #fail(trouble, error = null, port = this.#port) {
        if (this.#failed)
            return;
        this.#failed = true;
        const words = error ? [error.name, error.message].filter(Boolean).join(': ') : '';
        this.#core.portFailed(trouble, port ? this.#name(port) : '', words);
    }

    #name(port) {
        return this.#core.adapterName(serial.portIds(port));
    }
}
