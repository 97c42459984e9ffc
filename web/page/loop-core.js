// The loop designer's WebAssembly module, loaded the first time the Loop filter section is
// opened: on the served page fetched beside the core, in the page as one file decoded from
// the data block it carries. This module only turns its C functions into JavaScript ones.
import createOwletLoop from './owlet-loop.js';
import { bridge } from './core.js';

// The page as one file carries the module as base64; nothing decodes it before it is needed.
function carried() {
    const block = document.getElementById('owlet-loop-wasm');
    if (!block)
        return {};
    return {
        instantiateWasm: (imports, receive) => {
            const base64 = block.textContent.trim();
            const bytes = Uint8Array.fromBase64 ? Uint8Array.fromBase64(base64)
                : Uint8Array.from(atob(base64), (c) => c.charCodeAt(0));
            // Carried gzip-compressed: inflated by the browser's own stream.
            const module = block.dataset.encoding === 'gzip'
                ? new Response(new Blob([bytes]).stream()
                    .pipeThrough(new DecompressionStream('gzip'))).arrayBuffer()
                : Promise.resolve(bytes);
            module.then((wasm) => WebAssembly.instantiate(wasm, imports))
                .then((result) => receive(result.instance));
            return {};
        },
    };
}

export async function loadLoopCore() {
    const m = await createOwletLoop(carried());
    const designer = m._owlet_loop_create();
    const { text, withText } = bridge(m);
    const lines = (pointer) => text(pointer).split('\n').filter(Boolean).map((l) => l.split('\t'));
    const words = Object.fromEntries(lines(m._owlet_loop_words(designer))
        .map(([name, ...texts]) => [name, texts.length === 1 ? texts[0] : texts]));
    return {
        words,
        follow: (plan) => withText(plan, (p) => m._owlet_loop_follow(designer, p)) !== 0,
        inputs: () => lines(m._owlet_loop_inputs(designer))
            .map(([field, key, label, hint, group, profile]) =>
                ({ field: Number(field), key, label, hint, group, profile: profile === '1' })),
        restore: (stored) => withText(stored.map(([f, t]) => `${f}\t${t}`).join('\n'),
            (p) => m._owlet_loop_restore(designer, p)),
        set: (field, value) => withText(value, (p) => m._owlet_loop_set(designer, field, p)),
        text: (field) => text(m._owlet_loop_text(designer, field)),
        setSeries: (name) => withText(name, (p) => m._owlet_loop_set_series(designer, p)),
        series: () => text(m._owlet_loop_series(designer)),
        setDesignBy: (name) => withText(name, (p) => m._owlet_loop_set_design_by(designer, p)),
        designBy: () => text(m._owlet_loop_design_by(designer)),
        simulating: () => m._owlet_loop_simulating(designer) !== 0,
        // 1 done, 0 running on, -1 nothing to run.
        simulate: (milliseconds) => m._owlet_loop_simulate(designer, milliseconds),
        design: () => lines(m._owlet_loop_design(designer, 0)).map(([field]) => Number(field)),
        lowestNoise: () => lines(m._owlet_loop_design(designer, 1)).map(([field]) => Number(field)),
        // A profile's rows as [offset, level] pairs; setting them answers whether they changed.
        profile: (field) => text(m._owlet_loop_profile(designer, field)).split('\n')
            .slice(0, -1).map((l) => l.split('\t')),
        setProfile: (field, rows) => withText(rows.map((r) => r.join('\t')).join('\n'),
            (p) => m._owlet_loop_set_profile(designer, field, p)) !== 0,
        answer: () => lines(m._owlet_loop_answer(designer)),
        drawing: (which) => text(m._owlet_loop_drawing(designer, which, 0)),
        summary: (which) => text(m._owlet_loop_drawing(designer, which, 1)),
    };
}
