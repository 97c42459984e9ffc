#include "ui/ResponseBox.h"

#include "panel/ResponseLimit.h"

#include <QScrollBar>
#include <QTextBlock>
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
    const std::u16string lines =
        lines_.take(std::u16string_view(reinterpret_cast<const char16_t*>(received.utf16()),
                                        static_cast<std::size_t>(received.size())));
    const QString text = QString::fromStdU16String(lines);
    if (text.isEmpty())
        return;
    QScrollBar* bar = verticalScrollBar();
    const bool following = bar->value() == bar->maximum();
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    end.insertText(text);
    trimToLimit();
    if (following)
        bar->setValue(bar->maximum());
}

void ResponseBox::trimToLimit() {
    // The document counts one paragraph separator more than the text holds.
    const qsizetype characters = document()->characterCount() - 1;
    if (characters <= static_cast<qsizetype>(ResponseLimit))
        return;
    const auto kept = static_cast<qsizetype>(ResponseKept);
    qsizetype dropped = 0;
    QTextBlock block = document()->firstBlock();
    // Each paragraph with its line break; the last one is never dropped.
    while (block.isValid() && block.next().isValid() && characters - dropped > kept) {
        dropped += block.length();
        block = block.next();
    }
    QTextCursor top(document());
    top.movePosition(QTextCursor::Start);
    top.setPosition(static_cast<int>(dropped), QTextCursor::KeepAnchor);
    top.removeSelectedText();
}

void ResponseBox::clearText() {
    clear();
    lines_.reset();
}

} // namespace owlet
