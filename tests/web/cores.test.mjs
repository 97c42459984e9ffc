// The panel-action sequences of the fuzz corpus, and more made from a fixed seed, through
// the native core and the WebAssembly core: the same states and the same lines at every step.
// The two toolchains convert numbers with different libraries; a difference would show here.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import { createRequire } from 'node:module';
import os from 'node:os';
import path from 'node:path';
import { test } from 'node:test';
import { site } from './support.mjs';

const testBuild = path.join(path.dirname(site), 'test');

// Sequences of bytes: the corpus, then ones made from a fixed seed the way a user works the
// panel (numbers typed digit by digit into the frequency fields, a list choice, Set R, Set N,
// Set C, the port), with random actions between, so the number conversions are met often.
function sequences() {
    const corpus = process.env.OWLET_FUZZ_CORPUS;
    const found = fs.readdirSync(corpus).map((f) => fs.readFileSync(path.join(corpus, f)));
    let seed = 20261208;
    const byte = () => (seed = (seed * 1103515245 + 12345) % 2147483648) >> 23;
    const typed = (field) => {
        const length = byte() % 10;
        const digits = Array.from({ length: length + 1 }, () => (byte() % 7 ? byte() % 10 : 10));
        return [0, field, 128 + length, ...digits]; // 10 is the period
    };
    const Fref = 0, Fout = 1, Fcomp2 = 2, SetR = 0, SetN = 1, SetC = 2, SetCP = 3;
    for (let n = 0; n < 600; ++n) {
        const bytes = [...typed(Fref), 4, SetR, ...typed(Fout), 4, SetN];
        if (n % 3 === 0)
            bytes.push(...typed(Fcomp2), 4, SetR, 4, SetN);
        if (n % 4 === 0)
            bytes.push(1, 1, byte() % 9, 4, SetR, 4, SetN); // a list entry for Fcomp2
        for (let s = byte() % 12; s > 0; --s)
            bytes.push(byte() % 8, byte(), byte() % 24);
        bytes.push(4, SetC, 4, SetCP, 4, SetR, 4, SetN);
        found.push(Buffer.from(bytes));
    }
    return found;
}

test('the native and the WebAssembly core agree on every step', async () => {
    const all = sequences();
    const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'owlet-cores-'));
    const files = all.map((bytes, i) => {
        const file = path.join(folder, `sequence-${i}`);
        fs.writeFileSync(file, bytes);
        return file;
    });
    const native = execFileSync(process.env.OWLET_TRACE_ACTIONS, files, { maxBuffer: 1 << 30 })
        .toString('latin1').split('end\n');
    fs.rmSync(folder, { recursive: true });

    const require = createRequire(import.meta.url);
    const createTrace = require(path.join(testBuild, 'owlet-trace.cjs'));
    const m = await createTrace({ wasmBinary: fs.readFileSync(path.join(testBuild, 'owlet-trace.wasm')) });
    let steps = 0;
    all.forEach((bytes, i) => {
        const pointer = m._malloc(bytes.length || 1);
        m.HEAPU8.set(bytes, pointer);
        const pointerToTrace = m._owlet_trace(pointer, bytes.length);
        m._free(pointer);
        // The trace is Latin-1 in UTF-8, taken whole by its length; compare bytes for bytes.
        const end = pointerToTrace + m._owlet_trace_size();
        const wasm = Buffer.from(m.HEAPU8.subarray(pointerToTrace, end)).toString('latin1');
        if (wasm !== native[i]) {
            const a = native[i].split('\n');
            const b = wasm.split('\n');
            const at = a.findIndex((line, k) => line !== b[k]);
            assert.fail(`sequence ${i}, line ${at}: native ${a[at]} | WebAssembly ${b[at]}`);
        }
        steps += (wasm.match(/^step /gm) ?? []).length;
    });
    assert.ok(steps > 4000, `only ${steps} steps`);
    assert.ok(all.length > 400);
});
