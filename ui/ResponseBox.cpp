#include "ui/ResponseBox.h"

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
    dropParagraphs(paragraphs_.append(lines));
    if (following)
        bar->setValue(bar->maximum());
}

void ResponseBox::dropParagraphs(std::size_t count) {
    if (count == 0)
        return;
    // Found by number and selected by position: stepping block by block would lay each out.
    const QTextBlock first = document()->findBlockByNumber(static_cast<int>(count));
    QTextCursor top(document());
    top.setPosition(first.position(), QTextCursor::KeepAnchor);
    top.removeSelectedText();
}

void ResponseBox::clearText() {
    clear();
    lines_.reset();
    paragraphs_.clear();
}

} // namespace owlet
