// The same action trace through the WebAssembly core: owlet_trace(bytes, size) returns it,
// owlet_trace_size() its length.
#include "tests/support/ActionTrace.h"

#include <emscripten/emscripten.h>

namespace {
std::string& lastTrace() {
    static std::string trace; // handed to the caller until the next call
    return trace;
}
} // namespace

extern "C" EMSCRIPTEN_KEEPALIVE const char* owlet_trace(const char* data, int size) {
    lastTrace() = owlet::test::traceActions(std::string_view(data, static_cast<std::size_t>(size)));
    return lastTrace().data();
}

extern "C" EMSCRIPTEN_KEEPALIVE int owlet_trace_size() {
    return static_cast<int>(lastTrace().size());
}
