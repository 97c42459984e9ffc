#pragma once

#include <QPlainTextEdit>

namespace owlet {

// The module's replies as plain text, never markup. CR LF starts a new line, also when
// the two bytes arrive in different pieces. New text goes in at the end without laying
// out what is already there, and the view follows the end unless the user scrolled up.
class ResponseBox final : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit ResponseBox(QWidget* parent = nullptr);

    void append(const QString& received);
    void clearText();

private:
    bool lastWasCarriageReturn_ = false;
};

} // namespace owlet
