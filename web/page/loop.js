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
    #fields = new Map(); // field number -> { input, message }
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
            groups.get(i.group).append(element('label', { for: id }, i.label), input, message);
            this.#fields.set(i.field, { input, message, key: i.key });
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
        const button = element('button', { type: 'button', id: 'loop-design',
            'aria-description': words.designDescription }, words.design);
        button.addEventListener('click', () => {
            for (const field of core.design()) {
                const f = this.#fields.get(field);
                f.input.value = core.text(field);
                kept?.setItem(Stored + f.key, f.input.value);
            }
            this.#render();
        });
        design.append(element('label', { for: 'loop-design-by' }, words.designBy), designBy,
            element('label', { for: 'loop-series' }, words.series), series, button);

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
        this.#problem.textContent = answer.find(([kind]) => kind === 'problem')?.[1] ?? '';
        for (const [field, f] of this.#fields) {
            const need = needs.get(field) ?? '';
            f.message.textContent = need;
            if (need)
                f.input.setAttribute('aria-invalid', 'true');
            else
                f.input.removeAttribute('aria-invalid');
        }
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
