#pragma once

#include "panel/ReplyLines.h"
#include "panel/ResponseParagraphs.h"

#include <QPlainTextEdit>

namespace owlet {

// The module's replies as plain text, never markup. CR LF starts a new line, also when
// the two bytes arrive in different pieces. New text goes in at the end without laying
// out what is already there, and the view follows the end unless the user scrolled up.
//
// Taking in a reply costs the same however much the box holds: a line without line
// breaks is shown in paragraphs of bounded length (ReplyLines; the text box lays out a
// whole paragraph again on every insert), and the box keeps the most recent text within
// the same limit as the panel's model of it, dropping whole paragraphs from the top.
class ResponseBox final : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit ResponseBox(QWidget* parent = nullptr);

    void append(const QString& received);
    void clearText();

private:
    void dropParagraphs(std::size_t count);

    ReplyLines lines_;
    ResponseParagraphs paragraphs_;
};

} // namespace owlet
