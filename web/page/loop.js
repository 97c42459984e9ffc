// The loop designer's section below the panel: nothing is loaded, built or computed until
// the user first opens it. The inputs, their labels and groups, every figure, problem and
// warning, and the drawings all come from the loop module; this only places them, hands it
// the panel's setting, and keeps the user's inputs in localStorage for the next visit.
import { loadLoopCore } from './loop-core.js';

const Stored = 'owlet.loop.';

// localStorage where the browser allows it (some refuse it to pages from disk).
function storage() {
    try {
        return window.localStorage;
    } catch {
        return null;
    }
}

function element(tag, attributes = {}, ...children) {
    const e = document.createElement(tag);
    for (const [name, value] of Object.entries(attributes))
        e.setAttribute(name, value);
    e.append(...children);
    return e;
}

export class LoopSection {
    #panel;
    #core = null;
    #body;
    #fields = new Map(); // field number -> { input, message, key, shown: [elements] }
    #profiles = new Map(); // field number -> { body, message, key, focused row }
    #problem;
    #figures;
    #warnings;
    #drawings = [];

    #loading = false;
    #results = null;
    #pending = false;

    // `panel`: the panel's core, whose setting the designer follows.
    constructor(panel, details) {
        this.#panel = panel;
        this.#body = details.querySelector('.loop-body');
        details.addEventListener('toggle', () => {
            if (details.open && !this.#loading)
                this.#open();
        });
    }

    // The panel's setting changed: followed at once once the section has been opened.
    planChanged() {
        if (this.#problem && this.#core.follow(this.#panel.loopPlan()))
            this.#render();
    }

    async #open() {
        this.#loading = true;
        try {
            this.#core = await loadLoopCore();
        } catch (error) {
            this.#body.append(element('p', { class: 'loop-problem', role: 'alert' },
                this.#panel.loopUnavailable(`${error?.message ?? error}`)));
            return;
        }
        this.#core.follow(this.#panel.loopPlan());
        this.#build();
    }

    #build() {
        const core = this.#core;
        const words = core.words;
        const kept = storage();
        const inputs = core.inputs();
        core.restore(inputs.map((i) => [i.field, kept?.getItem(Stored + i.key)])
            .filter(([, text]) => text !== null && text !== undefined));
        const form = element('div', { class: 'loop-inputs' });
        const groups = new Map();
        for (const i of inputs) {
            if (!groups.has(i.group)) {
                const set = element('fieldset', {}, element('legend', {}, i.group));
                groups.set(i.group, set);
                form.append(set);
            }
            if (i.profile) {
                groups.get(i.group).append(...this.#profileTable(i));
                continue;
            }
            const id = `loop-${i.key}`;
            const input = element('input', {
                id, type: 'text', placeholder: i.hint, autocomplete: 'off', spellcheck: 'false',
                'aria-describedby': `${id}-need`,
            });
            input.value = core.text(i.field);
            const message = element('span', { id: `${id}-need`, class: 'loop-need' });
            input.addEventListener('input', () => {
                core.set(i.field, input.value);
                kept?.setItem(Stored + i.key, input.value);
                this.#render();
            });
            const label = element('label', { for: id }, i.label);
            groups.get(i.group).append(label, input, message);
            this.#fields.set(i.field, { input, message, key: i.key, shown: [label, input, message] });
        }
        // The design's choice, the series and the button close the design's group.
        const design = groups.get(words.designGroup);
        const designBy = element('select', { id: 'loop-design-by' },
            ...words.designChoices.map((name) => element('option', { value: name }, name)));
        core.setDesignBy(kept?.getItem(`${Stored}design-by`) ?? '');
        designBy.value = core.designBy();
        designBy.addEventListener('change', () => {
            core.setDesignBy(designBy.value);
            kept?.setItem(`${Stored}design-by`, designBy.value);
        });
        const series = element('select', { id: 'loop-series' },
            ...words.seriesChoices.map((name) => element('option', { value: name }, name)));
        core.setSeries(kept?.getItem(`${Stored}series`) ?? '');
        series.value = core.series();
        series.addEventListener('change', () => {
            core.setSeries(series.value);
            kept?.setItem(`${Stored}series`, series.value);
        });
        const button = (id, name, description, run) => {
            const b = element('button', { type: 'button', id, 'aria-description': description }, name);
            b.addEventListener('click', () => {
                for (const field of run()) {
                    const f = this.#fields.get(field);
                    f.input.value = core.text(field);
                    kept?.setItem(Stored + f.key, f.input.value);
                }
                this.#render();
            });
            return b;
        };
        design.append(element('label', { for: 'loop-design-by' }, words.designBy), designBy,
            element('label', { for: 'loop-series' }, words.series), series,
            element('div', { class: 'loop-buttons' },
                button('loop-design', words.design, words.designDescription, () => core.design()),
                button('loop-lowest-noise', words.lowestNoise, words.lowestNoiseDescription,
                    () => core.lowestNoise())));

        this.#problem = element('p', { class: 'loop-problem', role: 'status' });
        this.#figures = element('table', { class: 'loop-figures' }, element('caption', {}, words.figures));
        this.#warnings = element('ul', { class: 'loop-warnings', 'aria-label': words.warnings });
        const results = element('div', { class: 'loop-results' }, this.#problem, this.#figures,
            this.#warnings);
        for (const name of words.drawings) {
            const drawing = element('div', { class: 'loop-drawing', role: 'img', 'aria-label': name });
            this.#drawings.push(drawing);
            results.append(drawing);
        }
        this.#results = results;
        this.#body.append(form, results);
        this.#render();
    }

    // A profile as a table of (offset, level) rows, with buttons to add and remove a row; a
    // line typed or pasted into a cell becomes the rows it holds.
    #profileTable(i) {
        const core = this.#core;
        const words = core.words;
        const id = `loop-${i.key}`;
        const label = element('span', { id: `${id}-label`, class: 'loop-profile-label' }, i.label);
        const body = element('tbody');
        const table = element('table', { id, class: 'loop-profile', 'aria-labelledby': `${id}-label`,
            'aria-describedby': `${id}-need` },
            element('thead', {}, element('tr', {},
                element('th', { scope: 'col' }, words.offsetColumn),
                element('th', { scope: 'col' }, words.levelColumn))), body);
        const message = element('span', { id: `${id}-need`, class: 'loop-need' });
        const profile = { body, message, key: i.key, label: i.label, focused: -1 };
        const edited = () => {
            const rows = [...body.rows].map((r) => [...r.querySelectorAll('input')].map((c) => c.value));
            if (core.setProfile(i.field, rows))
                this.#fillProfile(i.field, profile, Math.max(0, profile.focused));
            storage()?.setItem(Stored + i.key, core.text(i.field));
            this.#render();
        };
        body.addEventListener('input', edited);
        body.addEventListener('focusin', (event) => {
            profile.focused = event.target.closest('tr')?.sectionRowIndex ?? -1;
        });
        const add = element('button', { type: 'button', 'aria-description': i.label }, words.addRow);
        add.addEventListener('click', () => {
            body.append(this.#profileRow(profile, body.rows.length, ['', '']));
            body.rows[body.rows.length - 1].querySelector('input').focus();
        });
        const remove = element('button', { type: 'button', 'aria-description': i.label },
            words.removeRow);
        remove.addEventListener('click', () => {
            const at = profile.focused >= 0 && profile.focused < body.rows.length
                ? profile.focused : body.rows.length - 1;
            body.rows[at]?.remove();
            edited();
            this.#fillProfile(i.field, profile);
            body.rows[Math.min(at, body.rows.length - 1)]?.querySelector('input').focus();
        });
        this.#profiles.set(i.field, profile);
        this.#fillProfile(i.field, profile);
        const shown = [label, table, element('div', { class: 'loop-buttons' }, add, remove), message];
        this.#fields.set(i.field, { input: table, message, key: i.key, shown, profile: true });
        return shown;
    }

    // The rows as the designer holds them, one blank row at least to type the first point.
    // After a line became rows (`from`: the row it was typed in), typing goes on in the first
    // empty cell from there, or at the end of the last.
    #fillProfile(field, profile, from = null) {
        const rows = this.#core.profile(field);
        profile.body.replaceChildren(...(rows.length ? rows : [['', '']])
            .map((cells, n) => this.#profileRow(profile, n, cells)));
        if (from === null)
            return;
        const cells = [...profile.body.querySelectorAll('input')];
        const next = cells.slice(2 * from).find((c) => c.value === '') ?? cells.at(-1);
        next.focus();
        next.setSelectionRange(next.value.length, next.value.length);
    }

    #profileRow(i, n, cells) {
        const words = this.#core.words;
        const need = `loop-${i.key}-row-need-${n}`;
        const cell = (value, column, last) => element('td', {}, element('input', {
            type: 'text', autocomplete: 'off', spellcheck: 'false', value,
            'aria-label': `${i.label} ${column}, row ${n + 1}`, 'aria-describedby': need,
        }), ...(last ? [element('span', { id: need, class: 'loop-need' })] : []));
        return element('tr', {}, cell(cells[0], words.offsetColumn, false),
            cell(cells[1], words.levelColumn, true));
    }

    // The simulation after an edit runs a few milliseconds at a time between events, and is
    // shown once done; an edit meanwhile starts it anew.
    #simulate() {
        this.#pending = false;
        const state = this.#core.simulate(8);
        if (state === 1)
            this.#render();
        else if (state === 0)
            this.#schedule();
    }

    #schedule() {
        this.#results.toggleAttribute('data-simulating', true);
        if (!this.#pending) {
            this.#pending = true;
            setTimeout(() => this.#simulate(), 0);
        }
    }

    #render() {
        const core = this.#core;
        const answer = core.answer();
        const needs = new Map(answer.filter(([kind]) => kind === 'invalid')
            .map(([, field, need]) => [Number(field), need]));
        const hidden = new Set(answer.filter(([kind]) => kind === 'hidden')
            .map(([, field]) => Number(field)));
        const badRows = answer.filter(([kind]) => kind === 'badrow');
        this.#problem.textContent = answer.find(([kind]) => kind === 'problem')?.[1] ?? '';
        for (const [field, f] of this.#fields) {
            const need = needs.get(field) ?? '';
            f.message.textContent = need;
            if (need && !f.profile)
                f.input.setAttribute('aria-invalid', 'true');
            else
                f.input.removeAttribute('aria-invalid');
            for (const e of f.shown)
                e.hidden = hidden.has(field);
        }
        for (const [field, profile] of this.#profiles)
            [...profile.body.rows].forEach((row, n) => {
                const bad = badRows.find(([, f, r]) => Number(f) === field && Number(r) === n);
                row.querySelector('.loop-need').textContent = bad?.[3] ?? '';
                for (const input of row.querySelectorAll('input'))
                    if (bad)
                        input.setAttribute('aria-invalid', 'true');
                    else
                        input.removeAttribute('aria-invalid');
            });
        const rows = answer.filter(([kind]) => kind === 'row').map(([, label, value]) =>
            element('tr', {}, element('th', { scope: 'row' }, label), element('td', {}, value)));
        this.#figures.replaceChildren(this.#figures.caption, ...rows);
        this.#figures.hidden = rows.length === 0;
        const warnings = answer.filter(([kind]) => kind === 'warning');
        this.#warnings.replaceChildren(...warnings.map(([, text]) => element('li', {}, text)));
        this.#warnings.hidden = warnings.length === 0;
        this.#drawings.forEach((drawing, which) => {
            const svg = core.drawing(which);
            drawing.innerHTML = svg;
            drawing.hidden = svg === '';
            drawing.firstElementChild?.setAttribute('aria-hidden', 'true');
            drawing.setAttribute('aria-description', core.summary(which));
        });
        if (core.simulating())
            this.#schedule();
        else
            this.#results.removeAttribute('data-simulating');
    }
}
