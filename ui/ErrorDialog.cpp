#include "ui/ErrorDialog.h"

#include <QMessageBox>

namespace owlet {

void ErrorDialog::report(const RunTimeError& error) {
    const QString text = QString::fromStdString(error.kind) + QStringLiteral("\n\n") +
                         QString::fromStdString(error.message);
    if (answerer_) {
        answerer_(title(), text);
        return;
    }
    QMessageBox box(QMessageBox::Critical, title(), text, QMessageBox::Ok, parent_);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace owlet
