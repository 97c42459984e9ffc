#pragma once

#include "link/LinkFailure.h"
#include "link/ModuleLink.h"
#include "panel/ErrorReporter.h"
#include "panel/PanelView.h"
#include "panel/SynthPanel.h"

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

// A module link that records every call and can be told to fail.
class FakeLink : public owlet::ModuleLink {
public:
    std::vector<std::string> calls;
    std::vector<std::string> written;
    std::string waiting;
    bool refusePort = false;
    bool refuseOpen = false;
    bool refuseWrite = false;
    std::function<void()> onWrite;

    void setReceiveThreshold(std::int16_t n) override {
        calls.push_back("threshold " + std::to_string(n));
    }
    void setPortNumber(std::int16_t port) override {
        calls.push_back("port " + std::to_string(port));
        if (refusePort || port < 0)
            throw owlet::LinkFailure(owlet::LinkFailureKind::BadPortNumber, "no such port");
    }
    void open() override {
        calls.push_back("open");
        if (refuseOpen)
            throw owlet::LinkFailure(owlet::LinkFailureKind::PortBusy, "busy");
    }
    void write(std::string_view line) override {
        calls.push_back("write " + std::string(line));
        if (onWrite)
            onWrite();
        if (refuseWrite)
            throw owlet::LinkFailure(owlet::LinkFailureKind::NotOpen, "not open");
        written.emplace_back(line);
    }
    std::string readAll() override { return std::exchange(waiting, {}); }
    void setCommEventHandler(std::function<void()> handler) override {
        commEvent = std::move(handler);
    }

    std::function<void()> commEvent;
};

class RecordingReporter : public owlet::ErrorReporter {
public:
    std::vector<owlet::RunTimeError> errors;
    void report(const owlet::RunTimeError& error) override { errors.push_back(error); }
};

// Records "Control.Property" for every change, and "Control+=text" for appends.
class RecordingView : public owlet::PanelView {
public:
    QStringList changes;
    void propertyChanged(owlet::Control control, owlet::Property property) override {
        static const char* names[] = {"Text",  "Visible",  "BackColor", "ListIndex",
                                      "Value", "Selected", "Bold"};
        changes << QString::fromStdString(std::string(owlet::controlName(control))) + "." +
                       names[static_cast<int>(property)];
    }
    void textAppended(owlet::Control control, std::string_view appended) override {
        changes << QString::fromStdString(std::string(owlet::controlName(control))) +
                       "+=" + QString::fromStdString(std::string(appended));
    }
};

// A panel after start-up, with its fake link, reporter and view.
struct PanelFixture {
    FakeLink link;
    RecordingReporter reporter;
    RecordingView view;
    owlet::SynthPanel panel{link, reporter};

    PanelFixture() {
        panel.setView(&view);
        panel.load();
    }

    // Types a whole new text into a field, as a paste would.
    void type(owlet::Control control, const std::string& text) {
        panel.userEditedText(control, text);
    }
    void press(owlet::Control control) { panel.userPressedButton(control); }
    const std::string& text(owlet::Control control) const { return panel.text(control); }
    bool shown(owlet::Control control) const { return panel.visible(control); }

    // Chooses port `port` with the port button.
    void choosePort(const std::string& port) {
        type(owlet::Control::CPNo, port);
        press(owlet::Control::SetCP);
    }

    std::string lastErrorKind() const {
        return reporter.errors.empty() ? "" : reporter.errors.back().kind;
    }
};
