// The panel's core in WebAssembly: the same model, handlers, arithmetic and layout table as
// the desktop window. This module only turns its C functions into JavaScript ones.
import createOwletCore from './owlet-core.js';

export const Kind = Object.freeze({
    TextBox: 0, MultiLineTextBox: 1, ComboBox: 2, CheckBox: 3,
    OptionButton: 4, CommandButton: 5, Label: 6, Frame: 7,
});
export const Property = Object.freeze({
    Text: 0, Visible: 1, BackColor: 2, ListIndex: 3, Value: 4, Selected: 5, Bold: 6, Note: 7,
});
export const Align = Object.freeze({ Default: 0, Left: 1, Centre: 2, Right: 3 });
export const FontRole = Object.freeze({ Window: 0, Entry: 1, Banner: 2 });
export const Trouble = Object.freeze({
    ChooserCancelled: 0, Busy: 1, Unplugged: 2, WriteFailed: 3, OpenFailed: 4, ChooserRefused: 5,
    ReadEnded: 6,
});
export const Role = Object.freeze({ Plain: 0, Response: 1, Alert: 2, PortNumber: 3 });

// The core is compiled already, or being compiled, by the time this runs: on the served page
// from the fetch early-core.js started in the head, in the page as one file from the data
// block it carries (carried-core.js). Without either, emscripten's loader fetches it.
function instantiate(host) {
    const carried = window.owletCarriedCore;
    if (!carried)
        return createOwletCore({ owletHost: host });
    let failed;
    const failure = new Promise((resolve, reject) => { failed = reject; });
    const instantiateWasm = (imports, receive) => {
        carried.then((module) => WebAssembly.instantiate(module, imports))
            .then((instance) => receive(instance), failed);
        return {};
    };
    return Promise.race([createOwletCore({ owletHost: host, instantiateWasm }), failure]);
}

// Strings between JavaScript and a WebAssembly module: `text` reads one the module handed
// out, `withText` lends one to a call and frees it once the call returns.
export function bridge(m) {
    return {
        text: (pointer) => m.UTF8ToString(pointer),
        withText: (value, call) => {
            const size = m.lengthBytesUTF8(value) + 1;
            const pointer = m._malloc(size);
            m.stringToUTF8(value, pointer, size);
            try { return call(pointer); } finally { m._free(pointer); }
        },
    };
}

// `host` receives the core's calls: changed, responseAppended, responseCleared,
// runTimeError, announced, hasSerial, allowedPorts, useAllowedPort, openChooser, openPort, writeLine.
export async function loadCore(host) {
    const m = await instantiate(host);
    const core = m._owlet_create();
    const { text, withText } = bridge(m);
    // The numbers above are the core's: each list's names in the order of their values.
    for (const [numbers, which] of [[Kind, 0], [Property, 1], [Trouble, 2], [Align, 3], [FontRole, 4], [Role, 5]]) {
        const names = text(m._owlet_enum_names(core, which));
        if (Object.entries(numbers).some(([, value], i) => value !== i) || names !== Object.keys(numbers).join(','))
            throw new Error(`the page numbers ${names} otherwise than its core`);
    }
    const layoutField = (c, f) => m._owlet_layout(c, f);
    return {
        load: () => m._owlet_load(core),
        edit: (c, value) => withText(value, (p) => m._owlet_edit(core, c, p)),
        choose: (c, index) => m._owlet_choose(core, c, index),
        clickOption: (c) => m._owlet_click_option(core, c),
        setCheck: (c, value) => m._owlet_set_check(core, c, value),
        press: (c) => m._owlet_press(core, c),
        clickField: (c) => m._owlet_click_field(core, c),

        portOpened: () => m._owlet_port_opened(core),
        portReceived: (bytes) => {
            const pointer = m._malloc(Math.max(bytes.length, 1));
            m.HEAPU8.set(bytes, pointer);
            try { m._owlet_port_received(core, pointer, bytes.length); } finally { m._free(pointer); }
        },
        portFailed: (trouble, port, words) => withText(port, (p) =>
            withText(words, (w) => m._owlet_port_failed(core, trouble, p, w))),

        text: (c) => text(m._owlet_text(core, c)),
        caption: (c) => text(m._owlet_caption(core, c)),
        note: (c) => text(m._owlet_note(core, c)),
        noteToolTip: (c) => text(m._owlet_note_tooltip(core, c)),
        edited: (c) => m._owlet_edited(core, c),
        visible: (c) => m._owlet_visible(core, c) !== 0,
        backColor: (c) => m._owlet_back_color(core, c),
        listIndex: (c) => m._owlet_list_index(core, c),
        value: (c) => m._owlet_value(core, c),
        selected: (c) => m._owlet_selected(core, c) !== 0,
        bold: (c) => m._owlet_bold(core, c) !== 0,
        list: (c) => Array.from({ length: m._owlet_list_size(core, c) },
            (_, i) => text(m._owlet_list_entry(core, c, i))),
        portNumber: () => m._owlet_port_number(core),

        controlCount: m._owlet_control_count(),
        controlName: (c) => text(m._owlet_control_name(c)),
        kind: (c) => m._owlet_control_kind(c),
        role: (c) => m._owlet_control_role(c),
        place: (c) => ({
            left: layoutField(c, 0), top: layoutField(c, 1),
            width: layoutField(c, 2), height: layoutField(c, 3),
            align: layoutField(c, 4), font: layoutField(c, 5),
            textColor: layoutField(c, 6), backColor: layoutField(c, 7),
        }),
        accessibleName: (c) => text(m._owlet_accessible_name(core, c)),
        frameAround: (c) => m._owlet_frame_around(c),
        editedDescription: (edited) => text(m._owlet_edited_description(edited ? 1 : 0)),
        windowCaption: text(m._owlet_window_caption()),
        noSerialNote: () => text(m._owlet_no_serial_note(core)),
        // Web Serial's open() options for the module's line, numbers as numbers.
        lineSettings: () => Object.fromEntries(text(m._owlet_line_settings(core)).split('\n')
            .filter(Boolean).map((line) => line.split(' '))
            .map(([name, value]) => [name, /^\d+$/.test(value) ? Number(value) : value])),
        adapterName: (ids) => text(m._owlet_adapter_name(core, ids?.vendor ?? -1, ids?.product ?? -1)),
        loopUnavailable: (why) => withText(why, (p) => text(m._owlet_loop_unavailable(core, p))),
        portsToolTip: (names) => withText(names.join('\n'), (p) => text(m._owlet_ports_tooltip(core, p))),
        version: text(m._owlet_version()),

        // The panel's setting for the loop module.
        loopPlan: () => text(m._owlet_loop_plan(core)),
        clientWidth: m._owlet_client_size(0),
        clientHeight: m._owlet_client_size(1),
        twipsPerPixel: m._owlet_twips_per_pixel(),
    };
}
