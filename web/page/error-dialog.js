// The run-time error dialog: modal, one error after the other; the focus goes back to where
// it was once the last is closed.
export class ErrorDialog {
    #dialog;
    #errors = [];
    #returnFocus = null;

    constructor(dialog) {
        this.#dialog = dialog;
        dialog.addEventListener('close', () => this.#next());
    }

    show(kind, message) {
        this.#errors.push(`${kind}\n\n${message}`);
        if (!this.#dialog.open)
            this.#next();
    }

    #next() {
        if (!this.#errors.length) {
            this.#returnFocus?.focus();
            this.#returnFocus = null;
            return;
        }
        if (!this.#dialog.open) {
            this.#returnFocus ??= document.activeElement;
            this.#dialog.querySelector('#error-text').textContent = this.#errors.shift();
            this.#dialog.showModal();
            this.#dialog.querySelector('#error-ok').focus();
        }
    }
}
