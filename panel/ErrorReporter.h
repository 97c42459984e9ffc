#pragma once

#include <string>

namespace owlet {

// A handler stopped on a failure: its kind ("Overflow", "Division by zero", "Port busy",
// ...) and a message that names what the user was doing and what went wrong.
struct RunTimeError {
    std::string kind;
    std::string message;
};

class ErrorReporter {
public:
    virtual ~ErrorReporter() = default;
    virtual void report(const RunTimeError& error) = 0;
};

} // namespace owlet
