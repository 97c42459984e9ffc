// The panel's window as a page: every control from the core's layout table, at its place,
// mirrored from the core's model, its input handed to the core's handlers. No rule of the
// panel lives here.
import { ComboBox } from './combobox.js';
import { Align, FontRole, Kind, Property, Role } from './core.js';
import { ErrorDialog } from './error-dialog.js';
import { ResponseBox } from './response-box.js';

// The core's alignments and font roles as the style sheet writes them.
const TextAlign = { [Align.Left]: 'left', [Align.Centre]: 'center', [Align.Right]: 'right' };
const FontClass = { [FontRole.Entry]: 'entry', [FontRole.Banner]: 'banner' };
const rgb = (value) => `#${value.toString(16).padStart(6, '0')}`;

export class PanelView {
    #core;
    #elements = [];   // by control: the element placed and shown
    #inputs = [];     // by control: the element that takes the input and the focus
    #combos = [];
    #errors;
    #response = null;
    #portsText;
    #announcement = document.getElementById('announcement');

    constructor(core, root, dialog, portsText) {
        this.#core = core;
        this.#errors = new ErrorDialog(dialog);
        this.#portsText = portsText;
        const px = (twips) => `${twips / core.twipsPerPixel}px`;
        root.style.width = px(core.clientWidth);
        root.style.height = px(core.clientHeight);
        // In tab order: the controls are numbered so.
        for (let c = 0; c < core.controlCount; ++c) {
            const element = this.#make(c);
            const place = core.place(c);
            Object.assign(element.style, {
                left: px(place.left), top: px(place.top),
                width: px(place.width), height: px(place.height),
            });
            if (place.align)
                element.style.textAlign = TextAlign[place.align];
            if (place.font)
                element.classList.add(FontClass[place.font]);
            if (place.textColor >= 0)
                (this.#inputs[c] ?? element).style.color = rgb(place.textColor);
            if (place.backColor >= 0)
                (this.#inputs[c] ?? element).style.backgroundColor = rgb(place.backColor);
            element.dataset.control = core.controlName(c);
            this.#elements[c] = element;
        }
        // Frames beneath the controls inside them; for a screen reader each frame is a group,
        // named by its caption, of the controls that stand inside its rectangle.
        root.append(...this.#elements.filter((e) => e.classList.contains('frame')),
            ...this.#elements.filter((e) => !e.classList.contains('frame')));
        for (let c = 0; c < core.controlCount; ++c) {
            const frame = this.#elements[core.frameAround(c)];
            if (frame) {
                this.#elements[c].id ||= `${core.controlName(c)}-control`;
                const owned = frame.getAttribute('aria-owns');
                frame.setAttribute('aria-owns', owned ? `${owned} ${this.#elements[c].id}` : this.#elements[c].id);
            }
        }
        for (let c = 0; c < core.controlCount; ++c) {
            const name = core.accessibleName(c);
            if (name && this.#inputs[c])
                this.#inputs[c].setAttribute('aria-label', name);
        }
    }

    // Everything the model holds, as at start-up; no control starts with a note, and the
    // descriptions the controls have of their own stay.
    mirrorAll() {
        for (let c = 0; c < this.#core.controlCount; ++c)
            for (const p of Object.values(Property))
                if (p !== Property.Note)
                    this.changed(c, p);
    }

    focusFirst() {
        this.#inputs.find((input) => input && !input.closest('[hidden]'))?.focus();
    }

    changed(c, property) {
        const core = this.#core;
        const element = this.#elements[c];
        const input = this.#inputs[c] ?? element;
        const kind = core.kind(c);
        switch (property) {
        case Property.Text:
            this.#showText(c, kind, core.text(c));
            break;
        case Property.Visible: {
            const hadFocus = element.contains(document.activeElement);
            element.hidden = !core.visible(c);
            if (hadFocus && element.hidden)
                this.#focusAfter(c);
            break;
        }
        case Property.BackColor: {
            const color = core.backColor(c);
            if (color >= 0) {
                input.style.backgroundColor = rgb(color);
                input.setAttribute('aria-description', core.editedDescription(core.edited(c) === 1));
            }
            break;
        }
        case Property.ListIndex:
            this.#combos[c]?.setIndex(core.listIndex(c));
            break;
        case Property.Value:
            if (kind === Kind.CheckBox) {
                input.checked = core.value(c) === 1;
                input.indeterminate = core.value(c) === 2;
            }
            break;
        case Property.Selected:
            if (kind === Kind.OptionButton)
                input.checked = core.selected(c);
            break;
        case Property.Bold:
            if (kind === Kind.CommandButton)
                input.style.fontWeight = core.bold(c) ? 'bold' : '';
            break;
        case Property.Note: {
            const note = core.note(c);
            for (const [attribute, value] of [['title', core.noteToolTip(c)], ['aria-description', note]])
                value ? input.setAttribute(attribute, value) : input.removeAttribute(attribute);
            input.classList.toggle('marked', note !== '' && kind === Kind.TextBox);
            break;
        }
        }
    }

    responseAppended(dropped, text) {
        this.#response.appended(dropped, text);
    }

    responseCleared() {
        this.#response.cleared();
    }

    // A control that hides itself while it has the focus hands it on to the next control in
    // tab order that can take it, as the desktop window does, so a screen reader keeps its
    // place.
    #focusAfter(c) {
        const count = this.#core.controlCount;
        for (let k = 1; k < count; ++k) {
            const input = this.#inputs[(c + k) % count];
            if (input && !input.closest('[hidden]') && !input.disabled) {
                input.focus();
                return;
            }
        }
    }

    runTimeError(kind, message) {
        this.#errors.show(kind, message);
    }

    // The core's words after a press, in the page's live region: a new node each time, so
    // the same words after the next press are read again.
    announce(words) {
        const said = document.createElement('span');
        said.textContent = words;
        this.#announcement.replaceChildren(said);
    }

    #showText(c, kind, text) {
        const input = this.#inputs[c];
        switch (kind) {
        case Kind.TextBox:
            if (input.value !== text)
                input.value = text;
            break;
        case Kind.ComboBox:
            this.#combos[c].setText(text);
            break;
        case Kind.MultiLineTextBox:
            break; // the response box follows responseAppended
        case Kind.CommandButton:
            input.textContent = text;
            break;
        case Kind.CheckBox:
        case Kind.OptionButton:
        case Kind.Frame:
            this.#elements[c].querySelector('span').textContent = text;
            break;
        default:
            this.#elements[c].textContent = this.#core.caption(c);
        }
    }

    // The element of one control, bound to the core's handlers.
    #make(c) {
        const core = this.#core;
        const name = core.controlName(c);
        const after = (act) => () => { act(); this.#remirror(c); };
        switch (core.kind(c)) {
        case Kind.TextBox: {
            const input = document.createElement('input');
            input.type = 'text';
            input.id = name;
            input.spellcheck = false;
            input.autocomplete = 'off';
            input.addEventListener('input', after(() => core.edit(c, input.value)));
            input.addEventListener('click', (e) => e.button === 0 && after(() => core.clickField(c))());
            if (core.role(c) === Role.PortNumber)
                for (const type of ['mouseenter', 'focus'])
                    input.addEventListener(type, () => { input.title = this.#portsText(); });
            this.#inputs[c] = input;
            return input;
        }
        case Kind.MultiLineTextBox: {
            this.#response = new ResponseBox(name);
            this.#inputs[c] = this.#response.element;
            return this.#response.element;
        }
        case Kind.ComboBox: {
            const root = document.createElement('div');
            root.className = 'combo';
            const combo = new ComboBox(root, name, {
                onType: (text) => { core.edit(c, text); this.#remirror(c); },
                onChoose: (index) => { core.choose(c, index); this.#remirror(c); },
            });
            combo.setEntries(core.list(c));
            this.#combos[c] = combo;
            this.#inputs[c] = combo.input;
            return root;
        }
        case Kind.CheckBox:
        case Kind.OptionButton: {
            const label = document.createElement('label');
            label.className = 'check';
            const input = document.createElement('input');
            input.id = name;
            const check = core.kind(c) === Kind.CheckBox;
            input.type = check ? 'checkbox' : 'radio';
            if (!check)
                input.name = 'phase-detector';
            input.addEventListener('click', after(() =>
                (check ? core.setCheck(c, input.checked ? 1 : 0) : core.clickOption(c))));
            label.append(input, document.createElement('span'));
            this.#inputs[c] = input;
            return label;
        }
        case Kind.CommandButton: {
            const button = document.createElement('button');
            button.type = 'button';
            button.id = name;
            button.addEventListener('click', after(() => core.press(c)));
            if (core.place(c).backColor >= 0)
                button.classList.add('solid');
            this.#inputs[c] = button;
            return button;
        }
        case Kind.Frame: {
            const frame = document.createElement('div');
            frame.className = 'frame';
            frame.id = name;
            frame.setAttribute('role', 'group');
            const caption = document.createElement('span');
            caption.id = `${name}-caption`;
            frame.setAttribute('aria-labelledby', caption.id);
            frame.append(caption);
            return frame;
        }
        default: {
            // The banner is the page's heading.
            const label = document.createElement(core.place(c).font === FontRole.Banner ? 'h1' : 'div');
            label.className = 'label';
            label.id = name;
            return label; // the warning is read out with the press's words (announce)
        }
        }
    }

    // After the user's input the control shows the model again, whatever the browser did.
    #remirror(c) {
        for (const p of [Property.Text, Property.ListIndex, Property.Value, Property.Selected])
            this.changed(c, p);
    }
}
