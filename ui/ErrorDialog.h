#pragma once

#include "panel/ErrorReporter.h"

#include <QString>

#include <functional>

class QWidget;

namespace owlet {

// Shows a handler's failure as a modal "Run-time error" dialog; the panel goes on
// afterwards. Tests answer the dialog through setAnswerer instead, so none ever blocks.
class ErrorDialog final : public ErrorReporter {
public:
    using Answerer = std::function<void(const QString& title, const QString& text)>;

    explicit ErrorDialog(QWidget* parent)
        : parent_(parent) {}

    void report(const RunTimeError& error) override;
    void setAnswerer(Answerer answerer) { answerer_ = std::move(answerer); }

    static QString title() { return QStringLiteral("Run-time error"); }

private:
    QWidget* parent_;
    Answerer answerer_;
};

} // namespace owlet
