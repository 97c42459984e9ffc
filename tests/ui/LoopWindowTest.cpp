// The loop window over the panel: opened by Ctrl+L, every input named by its label, the
// user's inputs kept for the next start, and one answer for the window, owlet-cli --loop
// and the page.
#include "ui/LoopWindow.h"
#include "tests/support/WindowFixture.h"
#include "ui/ProfileTable.h"

#include <QAccessible>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace owlet;
using namespace owlet::test;
using loop::LoopField;

namespace {

// One setting, as the three views take it: the panel's boxes and the loop's inputs.
const QList<QPair<Control, QString>> Panel{
    {Control::Fref, "10"}, {Control::Fcomp2, "12.5"}, {Control::Fout, "145.0125"}};
const QList<QPair<LoopField, QString>> Loop{{LoopField::Kvco, "8"},
                                            {LoopField::R1, "18k"},
                                            {LoopField::R2, "3k3"},
                                            {LoopField::C2, "1u"},
                                            {LoopField::C1, "100n"},
                                            {LoopField::R3, "4k7"},
                                            {LoopField::C3, "10n"},
                                            {LoopField::RefNoise, "100:-130,1k:-150,10k:-160"},
                                            {LoopField::VcoNoise, "1k:-70,10k:-95,100k:-118"},
                                            {LoopField::Floor, "-212"},
                                            {LoopField::OpampNoise, "10n"},
                                            {LoopField::Leakage, "1n"}};

QString keyOf(LoopField f) {
    return QString::fromUtf8(loop::RowOf(f).key.data(), qsizetype(loop::RowOf(f).key.size()));
}

// Rows as "label<TAB>value", the value's own blanks folded (the spot table's columns).
QStringList rowsOf(const QString& table, const QRegularExpression& between) {
    QStringList rows;
    for (const QString& line : table.split(u'\n', Qt::SkipEmptyParts)) {
        const QString row = line.trimmed();
        const QRegularExpressionMatch gap = between.match(row);
        rows << (gap.hasMatch() ? row.left(gap.capturedStart()) + u'\t' +
                                      row.mid(gap.capturedEnd()).simplified()
                                : row);
    }
    return rows;
}

// A profile's points into its table's cells, "Add row" pressed for each row past the first.
void typeProfile(ProfileTable& table, const QString& points) {
    QPushButton* add = nullptr;
    for (QPushButton* b : table.findChildren<QPushButton*>())
        if (b->text() == QString::fromUtf8(loop::LoopDesigner::Words.addRow.data()))
            add = b;
    const QStringList rows = points.split(u',');
    for (int r = 0; r < rows.size(); ++r) {
        if (r >= table.table()->rowCount())
            QTest::mouseClick(add, Qt::LeftButton);
        table.table()->item(r, 0)->setText(rows[r].section(u':', 0, 0));
        table.table()->item(r, 1)->setText(rows[r].section(u':', 1, 1));
    }
}

} // namespace

class LoopWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir config_;
    std::unique_ptr<WindowFixture> f_;

    LoopWindow& openWithTheSetting() {
        for (const auto& [control, text] : Panel) {
            QWidget* w = f_->widget(control);
            QLineEdit* edit = qobject_cast<QLineEdit*>(w) ? qobject_cast<QLineEdit*>(w)
                                                          : w->findChild<QLineEdit*>();
            edit->setFocus();
            edit->selectAll();
            QTest::keyClicks(edit, text);
        }
        QTest::keyClick(&f_->window, Qt::Key_L, Qt::ControlModifier);
        LoopWindow* window = f_->window.loopWindow();
        if (!window)
            qFatal("Ctrl+L opened no loop window");
        for (const auto& [field, text] : Loop) {
            if (loop::RowOf(field).profile) {
                typeProfile(*window->profile(field), text);
                continue;
            }
            window->field(field)->selectAll();
            QTest::keyClicks(window->field(field), text);
        }
        // The simulation runs between events after the last key.
        if (!QTest::qWaitFor([window] { return !window->designer().simulating(); }, 10000))
            qFatal("the loop window's simulation did not finish");
        return *window;
    }

private slots:
    void init() {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_.path()));
        f_ = std::make_unique<WindowFixture>();
        QVERIFY(f_->open());
    }
    void cleanup() { f_.reset(); }

    // Screen readers hear each input by its label, unit included.
    void inputsNamedByTheirLabels() {
        LoopWindow& w = openWithTheSetting();
        for (const LoopField f : loop::LoopDesigner::Inputs()) {
            QWidget* edit = w.input(f);
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(edit);
            QCOMPARE(a->text(QAccessible::Name), QString::fromStdString(loop::LoopFieldLabel(f)));
            int labels = 0;
            for (const QLabel* label : w.findChildren<QLabel*>())
                labels += label->buddy() == edit && label->text() == a->text(QAccessible::Name);
            QCOMPARE(labels, 1);
        }
        // A bad field: marked, told in its description and in the line.
        QTest::keyClicks(w.field(LoopField::R2), "x");
        QVERIFY(w.field(LoopField::R2)->accessibleDescription().contains("not a number"));
    }

    // The inputs come back in a new window, from the user's configuration file.
    void remembered() {
        openWithTheSetting();
        f_ = std::make_unique<WindowFixture>();
        QVERIFY(f_->open());
        LoopWindow& again = f_->window.openLoopWindow();
        for (const auto& [field, text] : Loop)
            QCOMPARE(QString::fromStdString(again.designer().text(field)), text);
        QCOMPARE(again.field(LoopField::R3)->text(), "4k7");
        QCOMPARE(again.profile(LoopField::VcoNoise)->table()->item(2, 0)->text(), "100k");
        QVERIFY(QFile::exists(QDir(config_.path()).filePath("owlet/owlet.conf")));
    }

    // The window, owlet-cli --loop and the page show the same figures for one setting.
    void oneAnswer() {
        const QStringList window =
            rowsOf(openWithTheSetting().figuresText(), QRegularExpression("\\s{2,}"));
        QCOMPARE(window.size(), 31); // the loop, its noise by source at four offsets, the spurs
        QStringList args{"--loop", "--fref", "10", "--fcomp", "12.5", "--fout", "145.0125"};
        for (const auto& [field, text] : Loop)
            args << "--" + keyOf(field) << text;
        QProcess cli;
        cli.start(CLI_PATH, args);
        QVERIFY(cli.waitForFinished(10000));
        // Its warnings follow the figures, as the window's stand below them.
        QStringList cliRows =
            rowsOf(QString::fromUtf8(cli.readAllStandardOutput()), QRegularExpression("\\s{2,}"));
        QStringList warnings;
        for (const std::string& w : f_->window.loopWindow()->designer().warnings())
            warnings << "warning: " + QString::fromStdString(w);
        QCOMPARE(cliRows.mid(window.size()), warnings);
        QCOMPARE(cliRows.mid(0, window.size()), window);

        QString json = "{\"panel\":{";
        for (const auto& [control, text] : Panel)
            json += QString("\"%1\":\"%2\",").arg(controlName(control).data(), text);
        json.chop(1);
        json += "},\"loop\":{";
        for (const auto& [field, text] : Loop)
            json += QString("\"%1\":\"%2\",").arg(keyOf(field), text);
        json.chop(1);
        json += "}}";
        QProcess page;
        page.start("node", {PAGE_FIGURES, json});
        if (!page.waitForFinished(60000) || page.exitCode() != 0) {
            const QString why = QString::fromUtf8(page.readAllStandardError()).left(400);
            if (qEnvironmentVariableIsSet("CI"))
                QFAIL(qPrintable("the page did not answer: " + why));
            QSKIP(qPrintable("the page cannot be opened here: " + why));
        }
        QCOMPARE(rowsOf(QString::fromUtf8(page.readAllStandardOutput()), QRegularExpression("\\t")),
                 window);
    }
};

QTEST_MAIN(LoopWindowTest)
#include "LoopWindowTest.moc"
