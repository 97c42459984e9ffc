#!/usr/bin/env node
// Joins the page's ES modules into one, so the browser fetches one script instead of a
// chain of imports (each costs a round trip before the next is known):
//   node web/build/bundle.mjs OUT MODULE...   (modules in dependency order)
// The page's modules import one another by relative name only, and share no top-level name;
// the imports between them are dropped and their exports made plain declarations.
import fs from 'node:fs';

const [out, ...modules] = process.argv.slice(2);
const parts = modules.map((file) => {
    const source = fs.readFileSync(file, 'utf8').replace(/\r\n?/g, '\n')
        .replace(/^import [^;]* from '\.\/[\w-]+\.js';$/gm, '')
        .replace(/^export default \w+;$/gm, '')
        .replace(/^export (const|let|class|function|async function) /gm, '$1 ');
    if (/^\s*(import|export)\b/m.test(source))
        throw new Error(`${file}: an import or export the bundler does not know`);
    return `// ---- ${file.split('/').pop()}\n${source}`;
});
fs.writeFileSync(out, `${parts.join('\n')}\n`);
