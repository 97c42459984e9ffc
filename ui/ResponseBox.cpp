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
    // CR LF, a lone CR and a lone LF each end a line.
    QString text;
    text.reserve(received.size() + received.size() / MaxParagraph + 1);
    for (const QChar c : received) {
        if (c == u'\n' && lastWasCarriageReturn_) {
            lastWasCarriageReturn_ = false;
            continue;
        }
        lastWasCarriageReturn_ = c == u'\r';
        if (c == u'\r' || c == u'\n') {
            text += QChar(u'\n');
            paragraphLength_ = 0;
            continue;
        }
        if (paragraphLength_ == MaxParagraph) {
            text += QChar(u'\n');
            paragraphLength_ = 0;
        }
        text += c;
        ++paragraphLength_;
    }
    if (text.isEmpty())
        return;
    QScrollBar* bar = verticalScrollBar();
    const bool following = bar->value() == bar->maximum();
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    end.insertText(text);
    characters_ += text.size();
    trimToLimit();
    if (following)
        bar->setValue(bar->maximum());
}

void ResponseBox::trimToLimit() {
    if (characters_ <= static_cast<qsizetype>(ResponseLimit))
        return;
    const auto kept = static_cast<qsizetype>(ResponseKept);
    qsizetype dropped = 0;
    QTextBlock block = document()->firstBlock();
    // Each paragraph with its line break; the last one is never dropped.
    while (block.isValid() && block.next().isValid() && characters_ - dropped > kept) {
        dropped += block.length();
        block = block.next();
    }
    QTextCursor top(document());
    top.movePosition(QTextCursor::Start);
    top.setPosition(static_cast<int>(dropped), QTextCursor::KeepAnchor);
    top.removeSelectedText();
    characters_ -= dropped;
}

void ResponseBox::clearText() {
    clear();
    lastWasCarriageReturn_ = false;
    paragraphLength_ = 0;
    characters_ = 0;
}

} // namespace owlet
