// The response box: the module's replies, paragraph by paragraph, kept scrolled to its end
// while the user has not scrolled away from it.
export class ResponseBox {
    #following = true; // the box shows its end, so new text scrolls into view
    #scrollPending = false;

    constructor(id) {
        const box = document.createElement('div');
        box.id = id;
        box.className = 'response';
        box.tabIndex = 0;
        box.setAttribute('role', 'textbox');
        box.setAttribute('aria-multiline', 'true');
        box.setAttribute('aria-readonly', 'true');
        box.addEventListener('scroll', () => {
            this.#following = box.scrollTop + box.clientHeight >= box.scrollHeight - 2;
        });
        // Select all selects the box's text, not the whole page.
        box.addEventListener('keydown', (e) => {
            if ((e.ctrlKey || e.metaKey) && !e.altKey && e.key.toLowerCase() === 'a') {
                e.preventDefault();
                getSelection().selectAllChildren(box);
            }
        });
        this.element = box;
        this.cleared();
    }

    // `dropped` paragraphs go from the top, `text` is appended. Paragraphs stand in groups of
    // Group, so a reply lays out one group and not every paragraph the box holds; and the box
    // is laid out once a frame, not once a reply: nothing here reads the layout.
    appended(dropped, text) {
        const Group = 64;
        const box = this.element;
        for (let i = 0; i < dropped; ++i) {
            const group = box.firstElementChild;
            if (group === box.lastElementChild && group.childElementCount === 1)
                break; // the last paragraph stays
            group.firstElementChild.remove();
            if (!group.childElementCount)
                group.remove();
        }
        const [first, ...rest] = text.split('\n');
        box.lastElementChild.lastElementChild.append(first);
        for (const paragraph of rest) {
            if (box.lastElementChild.childElementCount >= Group)
                box.append(document.createElement('div'));
            const line = document.createElement('div');
            line.textContent = paragraph;
            box.lastElementChild.append(line);
        }
        if (this.#following && !this.#scrollPending) {
            this.#scrollPending = true;
            requestAnimationFrame(() => {
                this.#scrollPending = false;
                box.scrollTop = box.scrollHeight;
            });
        }
    }

    cleared() {
        const group = document.createElement('div');
        group.append(document.createElement('div'));
        this.element.replaceChildren(group);
    }
}
