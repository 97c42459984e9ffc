#pragma once

#include <memory>
#include <string>

namespace owlet::web {

// What a WebAssembly module hands the page: a text kept by `holder` until the next one, which
// JavaScript reads at once; and the module's one object, made for the page's whole life.
template <typename Holder> const char* handOut(Holder* holder, std::string text) {
    holder->handedOut = std::move(text);
    return holder->handedOut.c_str();
}

template <typename Object> Object* makeForPage() {
    return std::make_unique<Object>().release();
}

} // namespace owlet::web
