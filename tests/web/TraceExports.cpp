// The same action trace through the WebAssembly core: owlet_trace(bytes, size) returns it.
#include "tests/support/ActionTrace.h"

#include <emscripten/emscripten.h>

extern "C" EMSCRIPTEN_KEEPALIVE const char* owlet_trace(const char* data, int size) {
    static std::string trace; // handed to the caller until the next call
    trace = owlet::test::traceActions(std::string_view(data, static_cast<std::size_t>(size)));
    return trace.c_str();
}
