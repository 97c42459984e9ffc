// node same-json.mjs A B TOLERANCE: the same keys, strings, booleans and integers, other
// numbers within a relative tolerance (each architecture's libm and libgcc may round the
// loop's logarithms and complex divisions one unit apart: fused multiply-adds on arm64).
import { readFileSync } from 'node:fs';

const [first, second, tolerance] = process.argv.slice(2);
const read = (path) => JSON.parse(readFileSync(path, 'utf8'));
const differences = [];

const compare = (a, b, path) => {
    if (typeof a === 'number' && typeof b === 'number') {
        const apart = Math.abs(a - b);
        const exact = Number.isInteger(a) && Number.isInteger(b);
        const allowed = exact ? 0 : Number(tolerance) * Math.max(Math.abs(a), Math.abs(b));
        if (apart > allowed) differences.push(`${path}: ${a} and ${b}`);
        return;
    }
    if (typeof a !== typeof b || Array.isArray(a) !== Array.isArray(b) || a === null || b === null ||
        typeof a !== 'object') {
        if (a !== b) differences.push(`${path}: ${JSON.stringify(a)} and ${JSON.stringify(b)}`);
        return;
    }
    const keys = new Set([...Object.keys(a), ...Object.keys(b)]);
    for (const key of keys) compare(a[key], b[key], `${path}/${key}`);
};

compare(read(first), read(second), '');
for (const line of differences) console.log(line);
process.exit(differences.length ? 1 : 0);
