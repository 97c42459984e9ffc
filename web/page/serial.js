// The one module that touches the browser's serial ports (Web Serial). Tests put a double
// of navigator.serial in place before the page loads; nothing else here knows the API.

// The line the module speaks: 1200 baud, 8 data bits, no parity, 1 stop bit, no flow control.
const Line = Object.freeze({
    baudRate: 1200, dataBits: 8, parity: 'none', stopBits: 1, flowControl: 'none',
});

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

// "USB 0403:6001" for an adapter the browser knows by its USB ids.
function describePort(port) {
    const info = port.getInfo ? port.getInfo() : {};
    const hex = (n) => n.toString(16).toUpperCase().padStart(4, '0');
    return info.usbVendorId === undefined ? 'serial port'
        : `USB ${hex(info.usbVendorId)}:${hex(info.usbProductId)}`;
}

const openPort = (port) => port.open({ ...Line });

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
    hasSerial, allowedPorts, choosePort, watchPorts, describePort, openPort, readPort, writePort,
});
