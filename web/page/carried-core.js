// The page as one file carries its core as base64 in the data block just above. This
// classic script, unlike the deferred module, runs as soon as the browser reads it, so the
// core compiles while the rest of the page is read; core.js instantiates the result.
{
    const block = document.getElementById('owlet-core-wasm');
    const base64 = block.textContent.trim();
    block.remove(); // 160 KB of text the page no longer needs
    const bytes = Uint8Array.fromBase64 ? Uint8Array.fromBase64(base64)
        : Uint8Array.from(atob(base64), (c) => c.charCodeAt(0));
    window.owletCarriedCore = WebAssembly.compile(bytes);
    window.owletCarriedCore.catch(() => {}); // told where core.js waits for it
}
