#pragma once

#include "panel/ErrorReporter.h"

#include <string>
#include <vector>

namespace owlet::test {

// Keeps every run-time error the panel reports, instead of showing it.
class RecordingReporter final : public ErrorReporter {
public:
    std::vector<RunTimeError> errors;
    void report(const RunTimeError& error) override { errors.push_back(error); }

    std::string lastKind() const { return errors.empty() ? "" : errors.back().kind; }
};

} // namespace owlet::test
