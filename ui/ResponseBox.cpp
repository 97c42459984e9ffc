#include "ui/ResponseBox.h"

#include <QScrollBar>
#include <QTextCursor>

namespace owlet {

ResponseBox::ResponseBox(QWidget* parent)
    : QPlainTextEdit(parent) {
    setReadOnly(true);
    // Read-only, yet a caret and keyboard selection show where the focus is, and the
    // replies can be copied.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setUndoRedoEnabled(false);
    setTabChangesFocus(true); // Tab moves on to Fref, the next control
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

void ResponseBox::append(const QString& received) {
    // CR LF, a lone CR and a lone LF each end a line.
    QString text;
    text.reserve(received.size());
    for (const QChar c : received) {
        if (c == u'\n' && lastWasCarriageReturn_) {
            lastWasCarriageReturn_ = false;
            continue;
        }
        lastWasCarriageReturn_ = c == u'\r';
        text += (c == u'\r') ? QChar(u'\n') : c;
    }
    if (text.isEmpty())
        return;
    QScrollBar* bar = verticalScrollBar();
    const bool following = bar->value() == bar->maximum();
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    end.insertText(text);
    if (following)
        bar->setValue(bar->maximum());
}

void ResponseBox::clearText() {
    clear();
    lastWasCarriageReturn_ = false;
}

} // namespace owlet
