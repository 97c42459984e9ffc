#pragma once

#include "panel/Control.h"
#include "panel/ControlState.h"
#include "panel/InitialState.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace owlet {

enum class ModuleCommand : char;
class ErrorReporter;
class ModuleLink;
class PanelView;

// What happens to a control: the events the panel has handlers for.
enum class Event {
    Load,       // the panel itself, once at start-up
    TextChange, // text boxes on every change; combo boxes on typing only
    Click,      // buttons, options, check boxes; a pointer click into a text box
    ListChoice, // an entry chosen from a combo box's list
    Comm,       // the serial control's communication event
};

// The panel: every control's state, PortNumber, and the handlers that react to the
// user's edits, button presses and the module link's communication event.
//
// The user-input entry points (user...) and commEvent() each run one handler to
// completion. A failing step (ArithmeticFault, LinkFailure) ends it there; what it wrote
// stays written, the failure goes to the ErrorReporter, and the panel takes the next
// event as usual. The handlers themselves catch nothing, so a failure in a nested change
// handler ends the outer handler too.
class SynthPanel {
public:
    SynthPanel(ModuleLink& link, ErrorReporter& reporter);
    ~SynthPanel();
    SynthPanel(const SynthPanel&) = delete;
    SynthPanel& operator=(const SynthPanel&) = delete;

    void setView(PanelView* view) { view_ = view; }

    const ControlState& state(Control control) const { return controls_[indexOf(control)]; }
    const std::string& text(Control control) const { return state(control).text; }
    bool visible(Control control) const { return state(control).visible; }
    std::int16_t portNumber() const { return portNumber_; }

    // Start-up, once the window exists and before it takes user input.
    void load();

    // What the user does. Input to a hidden control, or of a kind the control does not
    // take, is ignored.
    void userEditedText(Control control, std::string text);
    void userChoseListEntry(Control control, int index);
    void userClickedOption(Control control);
    void userSetCheck(Control control, std::int16_t value);
    void userPressedButton(Control control);
    void userClickedField(Control control);
    // The module link's communication event.
    void commEvent();

private:
    // The handlers, run only through the entry points above by way of the event table,
    // which turn their failures into reports.
    void Form_Load();
    void Fref_Change();
    void Fref_Click();
    void Fout_Change();
    void Fout_Click();
    void Fcomp2_Click();
    void RevealSetC(); // PD0_Click, PD1_Click, the check boxes' clicks and RefOut_Change
    void SetR_Click();
    void SetN_Click();
    void SetC_Click();
    void RevealUpdateStore();
    void CPNo_Change();
    void SetCP_Click();
    void Update_Click();
    void StoreEE_Click();
    void MSComm1_OnComm();

    ControlState& mutableState(Control control) { return controls_[indexOf(control)]; }

    // Writes that tell the view; a text write raises the control's change handler
    // whenever the text really changes, as typing does.
    void setText(Control control, std::string text);
    void appendText(Control control, std::string_view appended);
    void setVisible(Control control, bool visible);
    void setBackColor(Control control, unsigned rgb);
    void setBold(Control control, bool bold);
    void setListIndex(Control control, std::int16_t index);
    void setSelected(Control control, bool selected);
    void setValue(Control control, std::int16_t value);
    void setNote(Control control, std::string note);
    void changed(Control control, Property property);
    // Writes one property and tells the view when its value really changed.
    template <typename T>
    void assign(Control control, T ControlState::*member, T value, Property property) {
        if (std::exchange(mutableState(control).*member, value) != value)
            changed(control, property);
    }

    // One row of the event table: which handler runs when `event` happens to `control`.
    // The load and communication events come from no control of the window.
    struct Binding {
        std::optional<Control> control;
        Event event;
        void (SynthPanel::*handler)();
    };
    static const Binding Bindings[];
    // Runs the handler bound to the event, if any.
    void raise(std::optional<Control> control, Event event);

    void showAndSendDivider(Control box, ModuleCommand command, const std::string& hex);
    void markChipLimit(Control box);
    std::string exactSettingNote() const;
    void sendLine(const std::string& line);
    double readNumber(Control control) const;

    // Runs one entry point, reporting a failure as a run-time error of `doing`; true when
    // the handler ran to its end.
    bool run(const std::string& doing, const std::function<void()>& handler);

    ModuleLink& link_;
    ErrorReporter& reporter_;
    PanelView* view_ = nullptr;
    ControlStates controls_ = initialControlStates();
    std::int16_t portNumber_ = 0;
    std::vector<std::string> sentByPress_; // the lines the press being handled sent
};

} // namespace owlet
