// The one module that touches the browser's serial ports (Web Serial). Tests put a double
// of navigator.serial in place before the page loads; nothing else here knows the API.

const hasSerial = () => 'serial' in navigator;

// The ports this page has been allowed to use, in the order they were allowed.
const allowedPorts = () => (hasSerial() ? navigator.serial.getPorts() : Promise.resolve([]));

// The browser's port chooser; it must be called while a click is being handled.
const choosePort = () => navigator.serial.requestPort();

function watchPorts(onChange, onDisconnect) {
    if (!hasSerial())
        return;
    navigator.serial.addEventListener('connect', onChange);
    navigator.serial.addEventListener('disconnect', (event) => {
        onDisconnect(event.target);
        onChange();
    });
}

// The adapter's USB ids, where the browser knows them.
function portIds(port) {
    const info = port.getInfo ? port.getInfo() : {};
    return info.usbVendorId === undefined ? null
        : { vendor: info.usbVendorId, product: info.usbProductId ?? 0 };
}

// `line`: the module's line settings, as the core gives them.
const openPort = (port, line) => port.open({ ...line });

// Reads until the port goes away, handing on every chunk; ends (resolves) when the port
// has no more to read. A line error (break, framing, parity, overrun) ends one stream only:
// reading goes on with the next, unless errors keep coming with no data between them.
async function readPort(port, onBytes) {
    let errorsInARow = 0;
    while (port.readable) {
        const reader = port.readable.getReader();
        try {
            for (;;) {
                const { value, done } = await reader.read();
                if (done)
                    return;
                if (value && value.length) {
                    errorsInARow = 0;
                    onBytes(value);
                }
            }
        } catch (error) {
            if (error.name === 'NetworkError' || ++errorsInARow > 10)
                throw error; // the adapter is gone, or the line gives nothing but errors
        } finally {
            reader.releaseLock();
        }
    }
}

// Writes one whole line.
async function writePort(port, bytes) {
    const writer = port.writable.getWriter();
    try {
        await writer.write(bytes);
    } finally {
        writer.releaseLock();
    }
}

export const serial = Object.freeze({
    hasSerial, allowedPorts, choosePort, watchPorts, portIds, openPort, readPort, writePort,
});
