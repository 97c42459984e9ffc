// Fuzz target: bytes from a telnet server, in pieces of any size. The client never fails,
// splits make no difference to the data nor to the answers, and data the server sends
// escaped comes back exactly.
#include "link/TelnetClient.h"

#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    owlet::TelnetClient whole;
    owlet::TelnetClient split;
    std::string answerAtOnce;
    const std::string atOnce = whole.receive(bytes, answerAtOnce);
    std::string inPieces;
    std::string answerInPieces;
    for (std::size_t at = 0, piece = 1; at < size; at += piece, piece = piece % 7 + 1)
        inPieces += split.receive(bytes.substr(at, piece), answerInPieces);
    if (atOnce != inPieces || answerAtOnce != answerInPieces ||
        whole.lineSet() != split.lineSet() || whole.setOtherwise() != split.setOtherwise() ||
        whole.problem() != split.problem())
        __builtin_trap();

    std::string answer;
    // Binary both ways, then the input as data: it comes back as it was.
    owlet::TelnetClient client;
    client.opening();
    client.receive(std::string_view("\xFF\xFB\x00\xFF\xFD\x00", 6), answer); // BINARY both ways
    if (client.receive(client.encode(bytes), answer) != bytes)
        __builtin_trap();
    return 0;
}
