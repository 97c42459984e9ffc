// The Loop filter window's cost for one edit: R2 typed anew, the designer's figures, noise,
// plots and simulation recomputed and the whole window painted. Prints the median milliseconds
// of 51 edits (run under an X server or offscreen).
#include "tests/support/FakeLink.h"
#include "ui/LoopWindow.h"
#include "ui/ProfileTable.h"
#include "ui/SynthWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
    QTemporaryDir config; // the user's own configuration stays untouched
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    QApplication app(argc, argv);
    owlet::test::FakeLink link;
    owlet::SynthWindow panel(link);
    panel.show();
    panel.activateWindow(); // by hand: no window manager under the bench's X server
    if (!QTest::qWaitForWindowActive(&panel))
        return 1;
    const std::pair<owlet::Control, const char*> setting[] = {{owlet::Control::Fref, "10"},
                                                              {owlet::Control::Fout, "145.0125"}};
    for (const auto& [control, text] : setting) {
        // The panel's box itself, which holds the focus while typed into.
        QWidget* box = panel.widget(control);
        auto* edit = qobject_cast<QLineEdit*>(box) ? qobject_cast<QLineEdit*>(box)
                                                   : box->findChild<QLineEdit*>();
        edit->setFocus();
        edit->selectAll(); // over "Enter value"
        QTest::keyClicks(edit, text);
    }
    owlet::LoopWindow& window = panel.openLoopWindow();
    using F = owlet::loop::LoopField;
    const std::pair<F, const char*> parts[] = {
        {F::Kvco, "8"},  {F::R1, "18k"},     {F::R2, "3k3"},        {F::C2, "1u"},
        {F::C1, "100n"}, {F::Floor, "-212"}, {F::OpampNoise, "10n"}};
    for (const auto& [field, text] : parts)
        QTest::keyClicks(window.field(field), text);
    // The noise too, so each edit recomputes it and paints its plot: both profiles, a line
    // put in a cell becoming their rows.
    for (const auto& [field, text] : {std::pair{F::RefNoise, "100:-130,1k:-150,10k:-160"},
                                      {F::VcoNoise, "1k:-70,10k:-95,100k:-118"}})
        window.profile(field)->table()->item(0, 0)->setText(QString::fromLatin1(text));
    QApplication::processEvents();
    QApplication::processEvents();
    std::vector<double> ms;
    QLineEdit* edit = window.field(F::R2);
    edit->setFocus();
    edit->end(false);
    for (int i = 0; i < 51; ++i) {
        QElapsedTimer timer;
        timer.start();
        // One key: R2 between 3k3 and 3k, recomputed, shown and painted.
        if (i % 2)
            QTest::keyClick(edit, Qt::Key_3);
        else
            QTest::keyClick(edit, Qt::Key_Backspace);
        window.repaint();
        ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%.3f\n", ms[ms.size() / 2]);
}
