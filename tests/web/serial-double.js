// A double of Web Serial (navigator.serial), put in place before the page's own scripts.
// It implements what the page uses: getPorts, requestPort, SerialPort.open with its options,
// readable, writable, close, getInfo and the disconnect event, with the errors each raises
// in Chromium. Bytes go to the test through window.__bridgeOpen/__bridgeWrite (functions the
// test exposes) and come back through __serialDouble.deliver. __serialDouble lets a test set
// what the browser would do: the allowed ports, the chooser's answer, a busy port, failing
// writes, an unplugged adapter.
(() => {
    const error = (name, message) => new DOMException(message, name);
    const serial = new EventTarget();
    const state = {
        ports: [],         // every adapter, allowed or not
        allowed: [],       // those this page may use, in the order they were allowed
        chooser: 'first not allowed', // or 'cancel', or 'refuse'
        chooserCalls: 0,
        activationAtChooser: null,
        busy: false,
        failWrites: false,
        opened: [],        // the options of each open
    };

    class SerialPort extends EventTarget {
        #info; #readable = null; #writable = null; #controller = null; #open = false;
        constructor(info) { super(); this.#info = info; }
        getInfo() { return { ...this.#info }; }
        get readable() { return this.#readable; }
        get writable() { return this.#writable; }

        async open(options) {
            if (!options || !(options.baudRate > 0))
                throw new TypeError("Failed to execute 'open' on 'SerialPort': Requested baud rate must be greater than zero.");
            const checks = [['dataBits', [7, 8]], ['stopBits', [1, 2]],
                ['parity', ['none', 'even', 'odd']], ['flowControl', ['none', 'hardware']]];
            for (const [key, values] of checks)
                if (options[key] !== undefined && !values.includes(options[key]))
                    throw new TypeError(`Failed to read the '${key}' property: invalid value.`);
            if (this.#open)
                throw error('InvalidStateError', 'The port is already open.');
            if (state.busy)
                throw error('NetworkError', 'Failed to open serial port.');
            state.opened.push({ ...options });
            await window.__bridgeOpen(options);
            this.#open = true;
            this.#readable = new ReadableStream({ start: (c) => { this.#controller = c; } });
            this.#writable = new WritableStream({
                write: async (chunk) => {
                    if (state.failWrites)
                        throw error('NetworkError', 'The device has been lost.');
                    await window.__bridgeWrite(Array.from(chunk));
                },
            });
        }

        async close() {
            if (!this.#open)
                throw error('InvalidStateError', 'The port is already closed.');
            this.#open = false;
            this.#readable = this.#writable = null;
        }

        deliver(bytes) { this.#controller?.enqueue(new Uint8Array(bytes)); }

        endReading() { this.#controller?.close(); }

        unplug() {
            this.#controller?.error(error('NetworkError', 'The device has been lost.'));
            this.#readable = null;
            const event = new Event('disconnect');
            Object.defineProperty(event, 'target', { value: this });
            serial.dispatchEvent(event);
        }
    }

    serial.getPorts = async () => [...state.allowed];
    serial.requestPort = async () => {
        state.chooserCalls += 1;
        state.activationAtChooser = navigator.userActivation.isActive;
        if (!navigator.userActivation.isActive)
            throw error('SecurityError', 'Must be handling a user gesture to show a permission request.');
        const port = state.ports.find((p) => !state.allowed.includes(p));
        if (state.chooser === 'refuse')
            throw error('SecurityError', 'Serial access is blocked for this page.');
        if (state.chooser === 'cancel' || !port)
            throw error('NotFoundError', 'No port selected by the user.');
        state.allowed.push(port);
        return port;
    };

    window.__serialDouble = {
        state,
        addPort(info, allowed) {
            const port = new SerialPort(info);
            state.ports.push(port);
            if (allowed)
                state.allowed.push(port);
            return state.ports.length - 1;
        },
        deliver: (bytes) => state.ports.forEach((p) => p.deliver(bytes)),
        unplug: (index) => state.ports[index].unplug(),
        endReading: (index) => state.ports[index].endReading(),
    };
    Object.defineProperty(Navigator.prototype, 'serial', { get: () => serial, configurable: true });
})();
