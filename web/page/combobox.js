// An editable combo box after the WAI-ARIA combobox pattern: a text field with a list of
// entries. Typing and choosing an entry are two different events, as on the desktop: typing
// calls onType; a choice (a click on an entry, Enter on the open list, or the arrow keys on
// the closed box) calls onChoose with its index. Alt+Down or the arrow button opens the
// list, Escape or Alt+Up closes it.
export class ComboBox {
    constructor(root, id, { onType, onChoose }) {
        this.root = root;
        this.onType = onType;
        this.onChoose = onChoose;
        this.index = -1;      // the model's list index
        this.active = -1;     // the entry the keyboard is on while the list is open
        this.input = document.createElement('input');
        this.input.type = 'text';
        this.input.id = id;
        this.input.setAttribute('role', 'combobox');
        this.input.setAttribute('aria-autocomplete', 'none');
        this.input.setAttribute('aria-expanded', 'false');
        this.input.setAttribute('aria-controls', `${id}-list`);
        this.input.autocomplete = 'off';
        this.button = document.createElement('button');
        this.button.type = 'button';
        this.button.tabIndex = -1;
        this.button.setAttribute('aria-label', 'Open the list');
        this.button.setAttribute('aria-controls', `${id}-list`);
        this.button.textContent = '▾';
        this.list = document.createElement('ul');
        this.list.id = `${id}-list`;
        this.list.setAttribute('role', 'listbox');
        this.list.hidden = true;
        root.append(this.input, this.button, this.list);

        this.input.addEventListener('input', () => this.onType(this.input.value));
        this.input.addEventListener('keydown', (e) => this.#key(e));
        this.input.addEventListener('blur', () => this.close());
        this.button.addEventListener('mousedown', (e) => e.preventDefault()); // focus stays
        this.button.addEventListener('click', () => {
            this.input.focus();
            this.isOpen ? this.close() : this.open();
        });
        this.list.addEventListener('mousedown', (e) => e.preventDefault());
        this.list.addEventListener('click', (e) => {
            const item = e.target.closest('li');
            if (item)
                this.#choose(Number(item.dataset.index));
        });
    }

    get isOpen() { return !this.list.hidden; }

    setEntries(entries) {
        this.list.replaceChildren(...entries.map((entry, i) => {
            const item = document.createElement('li');
            item.id = `${this.list.id}-${i}`;
            item.dataset.index = i;
            item.setAttribute('role', 'option');
            item.setAttribute('aria-selected', 'false');
            item.textContent = entry;
            return item;
        }));
    }

    setText(text) {
        if (this.input.value !== text)
            this.input.value = text;
    }

    setIndex(index) {
        this.index = index;
        [...this.list.children].forEach((item, i) =>
            item.setAttribute('aria-selected', String(i === index)));
    }

    // Opens on the entry the box shows, else on the chosen one, else on the first.
    open() {
        this.list.hidden = false;
        this.input.setAttribute('aria-expanded', 'true');
        const shown = [...this.list.children].findIndex((item) => item.textContent === this.input.value.trim());
        this.#activate(shown >= 0 ? shown : Math.max(this.index, 0));
    }

    close() {
        this.list.hidden = true;
        this.input.setAttribute('aria-expanded', 'false');
        this.input.removeAttribute('aria-activedescendant');
        this.active = -1;
    }

    #activate(i) {
        const items = this.list.children;
        if (!items.length)
            return;
        this.active = Math.max(0, Math.min(items.length - 1, i));
        [...items].forEach((item, k) => item.classList.toggle('active', k === this.active));
        this.input.setAttribute('aria-activedescendant', items[this.active].id);
        items[this.active].scrollIntoView({ block: 'nearest' });
    }

    #choose(i) {
        this.close();
        this.onChoose(i);
    }

    #key(e) {
        const down = e.key === 'ArrowDown';
        const up = e.key === 'ArrowUp';
        if (e.altKey && (down || up)) {
            down && !this.isOpen ? this.open() : this.close();
        } else if (this.isOpen && (down || up)) {
            this.#activate(this.active + (down ? 1 : -1));
        } else if (this.isOpen && e.key === 'Enter') {
            this.#choose(this.active);
        } else if (this.isOpen && e.key === 'Escape') {
            this.close();
        } else if (down || up) { // the closed box steps through its entries
            const last = this.list.children.length - 1;
            const next = this.index < 0 ? (down ? 0 : last) : this.index + (down ? 1 : -1);
            if (next >= 0 && next <= last)
                this.onChoose(next);
        } else {
            return;
        }
        e.preventDefault();
    }
}
