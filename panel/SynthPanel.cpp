#include "panel/SynthPanel.h"

#include "link/LinkFailure.h"
#include "link/ModuleLink.h"
#include "math/ArithmeticFault.h"
#include "math/ReadNumber.h"
#include "panel/ErrorReporter.h"
#include "panel/PanelView.h"
#include "panel/PressWords.h"
#include "panel/ResponseLimit.h"

#include <algorithm>
#include <utility>

namespace owlet {

namespace {

// What the user can do about an arithmetic fault; the message before it says what happened.
std::string adviceFor(FaultKind kind) {
    if (kind == FaultKind::DivisionByZero)
        return "Enter a comparison frequency above 0 (and a reference that gives R of at least "
               "1), then press the button again.";
    return "Correct the number: frequencies must give R and N from 0 to 65535, port numbers lie "
           "from -32768 to 32767, and no number may exceed 1.8E+308. Then try again.";
}

} // namespace

SynthPanel::SynthPanel(ModuleLink& link, ErrorReporter& reporter)
    : link_(link)
    , reporter_(reporter) {
    link_.setCommEventHandler([this] { commEvent(); });
}

// The link may outlive the panel: it must not raise events into a panel that is gone.
SynthPanel::~SynthPanel() {
    link_.setCommEventHandler({});
}

void SynthPanel::load() {
    run("Starting the panel", [this] { raise(std::nullopt, Event::Load); });
}

void SynthPanel::Form_Load() {
    link_.setReceiveThreshold(1);
    portNumber_ = 0;
}

// ---- user input ----------------------------------------------------------------------
// Each entry point changes the control as the toolkit would, then raises its event.

void SynthPanel::userEditedText(Control control, std::string text) {
    const ControlKind kind = controlKind(control);
    if (!visible(control) || (kind != ControlKind::TextBox && kind != ControlKind::ComboBox))
        return;
    run("Editing " + std::string(controlName(control)), [&] {
        if (kind == ControlKind::TextBox)
            return setText(control, std::move(text)); // raises the change when there is one
        // Typing in a combo box's field leaves no list entry selected.
        assign(control, &ControlState::text, std::move(text), Property::Text);
        setListIndex(control, -1);
        raise(control, Event::TextChange);
    });
}

void SynthPanel::userChoseListEntry(Control control, int index) {
    if (!visible(control) || controlKind(control) != ControlKind::ComboBox || index < 0 ||
        index >= static_cast<int>(state(control).list.size()))
        return;
    run("Choosing from " + std::string(controlName(control)), [&] {
        const std::string entry = state(control).list[static_cast<std::size_t>(index)];
        assign(control, &ControlState::text, entry, Property::Text);
        setListIndex(control, static_cast<std::int16_t>(index));
        raise(control, Event::ListChoice);
    });
}

// A click on the option that is already selected counts as a click too: it offers
// "Set C", the one way to send an unchanged control byte again.
void SynthPanel::userClickedOption(Control control) {
    if (!visible(control) || controlKind(control) != ControlKind::OptionButton)
        return;
    run("Clicking " + std::string(controlName(control)), [&] {
        const Control partner = control == Control::PD0 ? Control::PD1 : Control::PD0;
        setSelected(partner, false);
        setSelected(control, true);
        raise(control, Event::Click);
    });
}

void SynthPanel::userSetCheck(Control control, std::int16_t value) {
    if (!visible(control) || controlKind(control) != ControlKind::CheckBox)
        return;
    run("Clicking " + std::string(controlName(control)), [&] {
        setValue(control, value);
        raise(control, Event::Click);
    });
}

void SynthPanel::userPressedButton(Control control) {
    if (!visible(control) || controlKind(control) != ControlKind::CommandButton)
        return;
    sentByPress_.clear();
    if (!run("Pressing \"" + text(control) + "\"", [&] { raise(control, Event::Click); }) || !view_)
        return;
    PressOutcome outcome{control, std::move(sentByPress_), portNumber_, {}, {}};
    if (const std::optional<Control> box = RegisterBoxOf(control))
        outcome.shownRegister = text(*box);
    if (control == Control::SetN && visible(Control::Warn))
        outcome.warning = text(Control::Warn);
    view_->announce(PressWords(outcome));
}

void SynthPanel::userClickedField(Control control) {
    if (!visible(control) || controlKind(control) != ControlKind::TextBox)
        return;
    run("Clicking into " + std::string(controlName(control)),
        [&] { raise(control, Event::Click); });
}

void SynthPanel::commEvent() {
    run("The link to the module", [this] { raise(std::nullopt, Event::Comm); });
}

bool SynthPanel::run(const std::string& doing, const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const ArithmeticFault& fault) {
        reporter_.report({faultKindName(fault.kind()),
                          doing + ": " + fault.what() + ".\n" + adviceFor(fault.kind())});
    } catch (const LinkFailure& failure) {
        reporter_.report({linkFailureKindName(failure.kind()), doing + ": " + failure.what()});
    }
    return false;
}

// ---- writes --------------------------------------------------------------------------

void SynthPanel::setText(Control control, std::string text) {
    ControlState& s = mutableState(control);
    if (s.text == text)
        return;
    s.text = std::move(text);
    changed(control, Property::Text);
    if (controlKind(control) == ControlKind::ComboBox) {
        // A written text selects the list entry it equals, if any.
        const auto entry = std::find(s.list.begin(), s.list.end(), s.text);
        setListIndex(control, entry == s.list.end()
                                  ? std::int16_t{-1}
                                  : static_cast<std::int16_t>(entry - s.list.begin()));
    }
    if (control == Control::Rreg || control == Control::Nreg)
        markChipLimit(control);
    // A combo box's change event is the user's typing alone: a written text raises none.
    if (controlKind(control) == ControlKind::TextBox)
        raise(control, Event::TextChange);
}

void SynthPanel::appendText(Control control, std::string_view appended) {
    if (appended.empty())
        return;
    std::string& text = mutableState(control).text;
    text.append(appended);
    trimResponse(text); // the view keeps the same limit on its own
    if (view_)
        view_->textAppended(control, appended);
}

void SynthPanel::setVisible(Control control, bool visible) {
    assign(control, &ControlState::visible, visible, Property::Visible);
}

void SynthPanel::setBackColor(Control control, unsigned rgb) {
    assign(control, &ControlState::backColor, std::optional<unsigned>(rgb), Property::BackColor);
}

void SynthPanel::setBold(Control control, bool bold) {
    assign(control, &ControlState::bold, bold, Property::Bold);
}

void SynthPanel::setListIndex(Control control, std::int16_t index) {
    assign(control, &ControlState::listIndex, index, Property::ListIndex);
}

void SynthPanel::setSelected(Control control, bool selected) {
    assign(control, &ControlState::selected, selected, Property::Selected);
}

void SynthPanel::setValue(Control control, std::int16_t value) {
    assign(control, &ControlState::value, value, Property::Value);
}

void SynthPanel::setNote(Control control, std::string note) {
    assign(control, &ControlState::note, std::move(note), Property::Note);
}

void SynthPanel::changed(Control control, Property property) {
    if (view_)
        view_->propertyChanged(control, property);
}

double SynthPanel::readNumber(Control control) const {
    return ReadNumber(text(control));
}

void SynthPanel::sendLine(const std::string& line) {
    link_.write(line);
    sentByPress_.push_back(line);
}

} // namespace owlet
