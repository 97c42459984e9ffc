// The core's face to the page's JavaScript: plain C functions over the panel, its layout
// and its module link, and the page's functions the core calls. Plain functions rather
// than generated bindings, which would need eval and so a weaker Content-Security-Policy.
#include "link/LineSettings.h"
#include "loop/PanelSetting.h"
#include "owlet/Version.h"
#include "panel/Captions.h"
#include "panel/InitialState.h"
#include "panel/Layout.h"
#include "web/BrowserMessages.h"
#include "web/HandOut.h"
#include "web/WebPanel.h"

#include <emscripten/em_js.h>
#include <emscripten/emscripten.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace owlet;
using namespace owlet::web;

// The page's side, in Module.owletHost (page/core.js).
EM_JS(void, js_changed, (int control, int property),
      { Module.owletHost.changed(control, property); });
// By length, not up to a NUL: the module's replies may hold any byte, NUL included. One
// decoder serves every reply.
EM_JS(void, js_response_appended, (int dropped, const char* text, int size), {
    if (!Module.replyDecoder)
        Module.replyDecoder = new TextDecoder();
    Module.owletHost.responseAppended(
        dropped, Module.replyDecoder.decode(HEAPU8.subarray(text, text + size)));
});
EM_JS(void, js_response_cleared, (), { Module.owletHost.responseCleared(); });
EM_JS(void, js_run_time_error, (const char* kind, const char* message),
      { Module.owletHost.runTimeError(UTF8ToString(kind), UTF8ToString(message)); });
EM_JS(void, js_announced, (const char* words),
      { Module.owletHost.announced(UTF8ToString(words)); });
EM_JS(int, js_has_serial, (), { return Module.owletHost.hasSerial() ? 1 : 0; });
EM_JS(int, js_allowed_ports, (), { return Module.owletHost.allowedPorts(); });
EM_JS(void, js_use_allowed_port, (int index), { Module.owletHost.useAllowedPort(index); });
EM_JS(void, js_open_chooser, (), { Module.owletHost.openChooser(); });
EM_JS(void, js_open_port, (), { Module.owletHost.openPort(); });
EM_JS(void, js_write_line, (const char* line, int size),
      { Module.owletHost.writeLine(HEAPU8.slice(line, line + size)); });

namespace {

class Page final : public PageHost {
public:
    void propertyChanged(Control control, Property property) override {
        js_changed(static_cast<int>(control), static_cast<int>(property));
    }
    void responseAppended(std::size_t dropped, std::string_view text) override {
        js_response_appended(static_cast<int>(dropped), text.data(), static_cast<int>(text.size()));
    }
    void responseCleared() override { js_response_cleared(); }
    void runTimeError(std::string_view kind, std::string_view message) override {
        const std::string k(kind), m(message);
        js_run_time_error(k.c_str(), m.c_str());
    }
    void announced(std::string_view words) override {
        const std::string w(words);
        js_announced(w.c_str());
    }
    bool hasSerial() override { return js_has_serial() != 0; }
    int allowedPorts() override { return js_allowed_ports(); }
    void useAllowedPort(int index) override { js_use_allowed_port(index); }
    void openChooser() override { js_open_chooser(); }
    void openPort() override { js_open_port(); }
    void writeLine(std::string_view line) override {
        js_write_line(line.data(), static_cast<int>(line.size()));
    }
};

// The one panel of the page, with the text last handed out (valid until the next call).
struct Core {
    Page page;
    WebPanel web{page};
    std::string handedOut;
};

Control control(int c) {
    return static_cast<Control>(c);
}

} // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE Core* owlet_create() {
    return makeForPage<Core>();
}
EMSCRIPTEN_KEEPALIVE void owlet_load(Core* core) {
    core->web.panel().load();
}

// What the user does.
EMSCRIPTEN_KEEPALIVE void owlet_edit(Core* core, int c, const char* text) {
    core->web.panel().userEditedText(control(c), text);
}
EMSCRIPTEN_KEEPALIVE void owlet_choose(Core* core, int c, int index) {
    core->web.panel().userChoseListEntry(control(c), index);
}
EMSCRIPTEN_KEEPALIVE void owlet_click_option(Core* core, int c) {
    core->web.panel().userClickedOption(control(c));
}
EMSCRIPTEN_KEEPALIVE void owlet_set_check(Core* core, int c, int value) {
    core->web.panel().userSetCheck(control(c), static_cast<std::int16_t>(value));
}
EMSCRIPTEN_KEEPALIVE void owlet_press(Core* core, int c) {
    core->web.panel().userPressedButton(control(c));
}
EMSCRIPTEN_KEEPALIVE void owlet_click_field(Core* core, int c) {
    core->web.panel().userClickedField(control(c));
}

// What the browser's serial port does.
EMSCRIPTEN_KEEPALIVE void owlet_port_opened(Core* core) {
    core->web.link().opened();
}
EMSCRIPTEN_KEEPALIVE void owlet_port_received(Core* core, const char* bytes, int size) {
    core->web.link().received(std::string_view(bytes, static_cast<std::size_t>(size)));
}
EMSCRIPTEN_KEEPALIVE void owlet_port_failed(Core* core, int trouble, const char* port,
                                            const char* words) {
    core->web.link().failed(static_cast<SerialTrouble>(trouble), port, words);
}

// What the panel holds.
EMSCRIPTEN_KEEPALIVE const char* owlet_text(Core* core, int c) {
    return handOut(core, core->web.panel().text(control(c)));
}
EMSCRIPTEN_KEEPALIVE const char* owlet_note(Core* core, int c) {
    return handOut(core, core->web.panel().state(control(c)).note);
}
EMSCRIPTEN_KEEPALIVE const char* owlet_note_tooltip(Core* core, int c) {
    return handOut(core, noteToolTip(core->web.panel().state(control(c)).note));
}
EMSCRIPTEN_KEEPALIVE const char* owlet_caption(Core* core, int c) {
    return handOut(core, captionText(core->web.panel().text(control(c))));
}
// 1 edited, 0 still showing the prompt, -1 a control without a background of its own.
EMSCRIPTEN_KEEPALIVE int owlet_edited(Core* core, int c) {
    const auto& color = core->web.panel().state(control(c)).backColor;
    return color ? static_cast<int>(isEdited(*color)) : -1;
}
EMSCRIPTEN_KEEPALIVE int owlet_visible(Core* core, int c) {
    return core->web.panel().visible(control(c));
}
EMSCRIPTEN_KEEPALIVE int owlet_back_color(Core* core, int c) {
    const auto& color = core->web.panel().state(control(c)).backColor;
    return color ? static_cast<int>(*color) : -1;
}
EMSCRIPTEN_KEEPALIVE int owlet_list_index(Core* core, int c) {
    return core->web.panel().state(control(c)).listIndex;
}
EMSCRIPTEN_KEEPALIVE int owlet_value(Core* core, int c) {
    return core->web.panel().state(control(c)).value;
}
EMSCRIPTEN_KEEPALIVE int owlet_selected(Core* core, int c) {
    return core->web.panel().state(control(c)).selected;
}
EMSCRIPTEN_KEEPALIVE int owlet_bold(Core* core, int c) {
    return core->web.panel().state(control(c)).bold;
}
EMSCRIPTEN_KEEPALIVE int owlet_list_size(Core* core, int c) {
    return static_cast<int>(core->web.panel().state(control(c)).list.size());
}
EMSCRIPTEN_KEEPALIVE const char* owlet_list_entry(Core* core, int c, int index) {
    return handOut(core,
                   core->web.panel().state(control(c)).list.at(static_cast<std::size_t>(index)));
}
EMSCRIPTEN_KEEPALIVE int owlet_port_number(Core* core) {
    return core->web.panel().portNumber();
}

// The layout and the names, the same table the desktop window reads.
EMSCRIPTEN_KEEPALIVE int owlet_control_count() {
    return static_cast<int>(ControlCount);
}
EMSCRIPTEN_KEEPALIVE const char* owlet_control_name(int c) {
    return controlName(control(c)).data(); // names are literals, ended by NUL
}
EMSCRIPTEN_KEEPALIVE int owlet_control_kind(int c) {
    return static_cast<int>(controlKind(control(c)));
}
// 0 left, 1 top, 2 width, 3 height in twips, 4 alignment, 5 font role, 6 text colour,
// 7 background colour (-1: the page's own).
EMSCRIPTEN_KEEPALIVE int owlet_layout(int c, int field) {
    const Placement& p = placementOf(control(c));
    const auto color = [](unsigned rgb) {
        return rgb == NoColor ? -1 : static_cast<int>(rgb);
    };
    const int fields[] = {p.left,
                          p.top,
                          p.width,
                          p.height,
                          static_cast<int>(p.align),
                          static_cast<int>(p.font),
                          color(p.textColor),
                          color(p.backColor)};
    return fields[field];
}
// The frame whose group the control belongs to, or -1.
EMSCRIPTEN_KEEPALIVE int owlet_frame_around(int c) {
    const std::optional<Control> frame = frameAround(control(c));
    return frame ? static_cast<int>(*frame) : -1;
}
EMSCRIPTEN_KEEPALIVE const char* owlet_accessible_name(Core* core, int c) {
    if (const std::optional<Control> label = captionLabelOf(control(c)))
        return owlet_text(core, static_cast<int>(*label));
    return handOut(core, std::string(ownNameOf(control(c))));
}
EMSCRIPTEN_KEEPALIVE const char* owlet_edited_description(int edited) {
    return editedDescription(edited != 0).data();
}
EMSCRIPTEN_KEEPALIVE const char* owlet_window_caption() {
    return WindowCaption.data();
}
EMSCRIPTEN_KEEPALIVE const char* owlet_no_serial_note(Core* core) {
    return handOut(core, noWebSerialNote());
}
// `names`: the allowed adapters' names, one a line.
EMSCRIPTEN_KEEPALIVE const char* owlet_ports_tooltip(Core* core, const char* names) {
    std::vector<std::string> list;
    for (std::string_view rest = names; !rest.empty();) {
        const std::size_t end = std::min(rest.find('\n'), rest.size());
        list.emplace_back(rest.substr(0, end));
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    return handOut(core, portsToolTip(list));
}
// The names of an enum the page numbers as the core does, in the order of their values,
// comma-separated: 0 control kinds, 1 properties, 2 serial troubles, 3 alignments, 4 font
// roles, 5 control roles.
EMSCRIPTEN_KEEPALIVE const char* owlet_enum_names(Core* core, int which) {
    const auto name = [which](int value) -> std::string_view {
        switch (which) {
        case 0:
            return controlKindName(static_cast<ControlKind>(value));
        case 1:
            return propertyName(static_cast<Property>(value));
        case 3:
            return alignName(static_cast<Align>(value));
        case 4:
            return fontRoleName(static_cast<FontRole>(value));
        case 5:
            return controlRoleName(static_cast<ControlRole>(value));
        default:
            return troubleName(static_cast<SerialTrouble>(value));
        }
    };
    std::string names;
    for (int value = 0; !name(value).empty(); ++value)
        names += (value ? "," : "") + std::string(name(value));
    return handOut(core, names);
}
EMSCRIPTEN_KEEPALIVE int owlet_control_role(int c) {
    return static_cast<int>(controlRole(control(c)));
}
// The module's line for Web Serial's open(), "name value" lines in its own terms.
EMSCRIPTEN_KEEPALIVE const char* owlet_line_settings(Core* core) {
    static_assert(!ModuleLine.parity && !ModuleLine.flowControl);
    return handOut(core, "baudRate " + std::to_string(ModuleLine.baudRate) + "\ndataBits " +
                             std::to_string(ModuleLine.dataBits) + "\nparity none\nstopBits " +
                             std::to_string(ModuleLine.stopBits) + "\nflowControl none\n");
}
// An adapter's name from its USB ids (-1 where the browser knows none).
EMSCRIPTEN_KEEPALIVE const char* owlet_adapter_name(Core* core, int vendor, int product) {
    return handOut(core, adapterName(vendor, product));
}
EMSCRIPTEN_KEEPALIVE const char* owlet_loop_unavailable(Core* core, const char* why) {
    return handOut(core, loopUnavailable(why));
}
// The panel's setting for the page's loop module, as one line.
EMSCRIPTEN_KEEPALIVE const char* owlet_loop_plan(Core* core) {
    const SynthPanel& panel = core->web.panel();
    const loop::PanelSetting setting{panel.text(Control::Fref), panel.text(Control::Fcomp2),
                                     panel.text(Control::Fout), panel.state(Control::PD1).selected,
                                     panel.state(Control::InvertPD).value == 1};
    return handOut(core, setting.line());
}

EMSCRIPTEN_KEEPALIVE const char* owlet_version() {
    return Version.data(); // a literal, ended by NUL
}
EMSCRIPTEN_KEEPALIVE int owlet_client_size(int height) {
    return height ? ClientHeightTwips : ClientWidthTwips;
}
EMSCRIPTEN_KEEPALIVE int owlet_twips_per_pixel() {
    return TwipsPerPixel;
}

} // extern "C"
