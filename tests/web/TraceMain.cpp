// owlet-trace-actions FILE...: the trace of each action sequence through the native core,
// for the comparison with the WebAssembly core.
#include "tests/support/ActionTrace.h"

#include <cstdio>
#include <fstream>
#include <iterator>

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        std::ifstream file(argv[i], std::ios::binary);
        const std::string data{std::istreambuf_iterator<char>(file), {}};
        const std::string trace = owlet::test::traceActions(data);
        std::fwrite(trace.data(), 1, trace.size(), stdout); // whole, whatever bytes it holds
        std::fputs("end\n", stdout);
    }
    return 0;
}
