#pragma once

#include "link/LinkFailure.h"
#include "link/ModuleLink.h"

#include <string>
#include <vector>

// A module link for window tests: records the lines and answers nothing.
class NullLink : public owlet::ModuleLink {
public:
    std::vector<std::string> written;
    void setReceiveThreshold(std::int16_t) override {}
    void setPortNumber(std::int16_t) override {}
    void open() override {}
    void write(std::string_view line) override { written.emplace_back(line); }
    std::string readAll() override { return {}; }
    void setCommEventHandler(std::function<void()>) override {}
};
