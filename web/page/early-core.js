// The served page's core, fetched and compiled from the moment the page's head is read,
// while the rest of the page and its script still load; core.js instantiates the result.
// A host that serves it under another type, or a failed stream, gets one plain fetch.
{
    const url = 'owlet-core.wasm';
    const compiled = async () => {
        const response = await fetch(url);
        if (!response.ok)
            throw new Error(`${url}: ${response.status}`);
        return WebAssembly.compile(await response.arrayBuffer());
    };
    window.owletCarriedCore = WebAssembly.compileStreaming
        ? WebAssembly.compileStreaming(fetch(url)).catch(compiled) : compiled();
    window.owletCarriedCore.catch(() => {}); // told where core.js waits for it
}
