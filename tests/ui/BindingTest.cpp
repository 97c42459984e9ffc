#include "tests/support/FrequencyCases.h"
#include "tests/support/WindowFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHelpEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolTip>

using namespace owlet;
using namespace owlet::test;
using C = Control;

class BindingTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> f_;
    QStringList dialogs_;

    QWidget* w(C c) { return f_->widget(c); }
    QLineEdit* edit(C c) { return qobject_cast<QLineEdit*>(w(c)); }
    QComboBox* combo(C c) { return qobject_cast<QComboBox*>(w(c)); }
    SynthPanel& panel() { return f_->panel(); }
    void click(C c) { f_->click(c); }

private slots:
    void init() {
        dialogs_.clear();
        f_ = std::make_unique<WindowFixture>();
        QVERIFY(f_->open());
        f_->window.errorDialog().setAnswerer(
            [this](const QString& title, const QString& text) { dialogs_ << title + ": " + text; });
    }

    void cleanup() { f_.reset(); }

    void clickAndTypeInFref() {
        click(C::Fref);
        QCOMPARE(edit(C::Fref)->text(), "");
        QCOMPARE(edit(C::Fref)->palette().color(QPalette::Base), QColor(Qt::white));
        QVERIFY(w(C::SetR)->isVisible());
        QTest::keyClicks(edit(C::Fref), "1045");
        edit(C::Fref)->setCursorPosition(2);
        QTest::keyClicks(edit(C::Fref), "x");
        QCOMPARE(panel().text(C::Fref), "10x45");
        QCOMPARE(edit(C::Fref)->cursorPosition(), 3); // typing is never disturbed
        // A click while editing empties the field again.
        click(C::Fref);
        QCOMPARE(panel().text(C::Fref), "");
    }

    void keyboardFocusIsNoClick() {
        edit(C::Fref)->setFocus();
        QTest::keyClick(edit(C::Fref), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w(C::Fout));
        QCOMPARE(panel().text(C::Fout), "Enter value");
        QVERIFY(!w(C::SetN)->isVisible());
        click(C::Fout);
        QCOMPARE(panel().text(C::Fout), "");
        QVERIFY(w(C::SetN)->isVisible());
    }

    void fcomp2ListChoiceOnly() {
        QTest::keyClicks(edit(C::Rreg), "0190");
        QTest::keyClicks(combo(C::Fcomp2)->lineEdit(), "5");
        QTest::keyClick(combo(C::Fcomp2)->lineEdit(), Qt::Key_Return); // Enter picks nothing
        QCOMPARE(panel().text(C::Fcomp2), "255");
        QCOMPARE(panel().text(C::Rreg), "0190");
        QCOMPARE(combo(C::Fcomp2)->count(), 7); // typing adds no entry
        // Choosing with the keyboard is a list choice.
        QTest::keyClick(combo(C::Fcomp2), Qt::Key_Down);
        QCOMPARE(panel().text(C::Rreg), "");
        QCOMPARE(panel().state(C::Fcomp2).listIndex, combo(C::Fcomp2)->currentIndex());
        QCOMPARE(panel().text(C::Fcomp2), combo(C::Fcomp2)->currentText().toStdString());
    }

    void setRWritesFcomp2WithoutAChoice() {
        click(C::Fref);
        QTest::keyClicks(edit(C::Fref), "10");
        QTest::keyClicks(edit(C::Nreg), "16A8");
        click(C::SetR);
        QCOMPARE(combo(C::Fcomp2)->currentText(), " 25");
        QCOMPARE(edit(C::Rreg)->text(), "0190");
        QCOMPARE(edit(C::Nreg)->text(), "16A8"); // no list-choice rule ran
    }

    void refOutTypingRevealsSetC() {
        QComboBox* box = combo(C::RefOut);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Down);
        QCOMPARE(panel().state(C::RefOut).listIndex, 0);
        QVERIFY(!w(C::SetC)->isVisible());
        box->lineEdit()->end(false);
        QTest::keyClicks(box->lineEdit(), "x");
        QVERIFY(w(C::SetC)->isVisible());
        QCOMPARE(panel().state(C::RefOut).listIndex, -1);
        QCOMPARE(box->currentIndex(), -1);
        QCOMPARE(box->lineEdit()->text(), "DC Staticx");
        QCOMPARE(box->lineEdit()->cursorPosition(), 10);
        QCOMPARE(box->count(), 6);
    }

    void optionsAndChecks() {
        click(C::PD1);
        QVERIFY(panel().state(C::PD1).selected && !panel().state(C::PD0).selected);
        QVERIFY(w(C::SetC)->isVisible());
        click(C::InvertPD);
        QCOMPARE(panel().state(C::InvertPD).value, 1);
        click(C::SetC);
        QCOMPARE(edit(C::Creg)->text(), "E3");
        click(C::InvertPD); // unticking gives 0, never the greyed 2
        click(C::LDE);
        QCOMPARE(panel().state(C::InvertPD).value, 0);
        QCOMPARE(panel().state(C::LDE).value, 0);
        click(C::SetC);
        QCOMPARE(edit(C::Creg)->text(), "43");
    }

    void portEditAndButton() {
        QTest::keyClicks(edit(C::CPNo), "0");
        auto* button = qobject_cast<QPushButton*>(w(C::SetCP));
        QCOMPARE(button->text(), "Set");
        QVERIFY(button->font().bold());
        click(C::SetCP); // "10": the fake link has that port, it opens
        QVERIFY(!w(C::SetCP)->isVisible() && !w(C::CPNo)->isVisible());
        QVERIFY(w(C::Text1)->isVisible() && w(C::Label8)->isVisible());
    }

    // The tooltip lists the ports as they are when it opens, not as they were at start-up.
    void portTooltipListsThePortsOfTheMoment() {
        int listings = 0;
        WindowFixture f([&] { return QStringLiteral("listing %1").arg(++listings); });
        for (const char* expected : {"listing 1", "listing 2"}) {
            QHelpEvent help(QEvent::ToolTip, QPoint(2, 2),
                            f.widget(C::CPNo)->mapToGlobal(QPoint(2, 2)));
            QApplication::sendEvent(f.widget(C::CPNo), &help);
            QCOMPARE(QToolTip::text(), QStringLiteral("Port numbers now:\n") + expected);
        }
    }

    // A divider the chip cannot count with is shown and sent as ever, and its box says so
    // in red, in its tooltip and to a screen reader, until the box is emptied.
    void chipLimitsMarkTheRegisterBox_data() { addRows(ChipLimitCases); }
    void chipLimitsMarkTheRegisterBox() {
        const ChipLimitCase& c = currentRow(ChipLimitCases);
        const bool isR = c.divider == 'R';
        QLineEdit* box = edit(isR ? C::Rreg : C::Nreg);
        const QColor plain = box->palette().color(QPalette::Text);
        click(C::SetCP);
        panel().userEditedText(isR ? C::Fref : C::Fout, c.frequency);
        click(isR ? C::SetR : C::SetN);
        QCOMPARE(f_->link.written.size(), 1u);
        QCOMPARE(box->accessibleDescription(), QString(c.advice));
        QCOMPARE(box->toolTip().replace(";\n", "; "), QString(c.advice));
        QCOMPARE(box->palette().color(QPalette::Text), *c.advice ? QColor(Qt::red) : plain);
        panel().userChoseListEntry(C::Fcomp2, 3); // empties the register boxes
        QVERIFY(box->toolTip().isEmpty() && box->accessibleDescription().isEmpty());
        QCOMPARE(box->palette().color(QPalette::Text), plain);
    }

    // The warning names the setting that makes the output exact; its caption stays.
    void warningNamesTheExactSetting_data() { addRows(ExactCases); }
    void warningNamesTheExactSetting() {
        const ExactCase& c = currentRow(ExactCases);
        panel().userEditedText(C::Fref, c.fref);
        panel().userEditedText(C::Fcomp2, "7.3"); // no output of the table is exact at it
        panel().userEditedText(C::Fout, c.fout);
        click(C::SetN);
        QVERIFY(w(C::Warn)->isVisible());
        QVERIFY(panel().text(C::Warn).starts_with("Non-integer ratio: \r\nFreq error "));
        QCOMPARE(w(C::Warn)->accessibleDescription(), QString(c.setting));
        QCOMPARE(w(C::Warn)->toolTip().replace(";\n", "; "), QString(c.setting));
    }

    void runTimeErrorDialog() {
        click(C::Fout);
        QTest::keyClicks(edit(C::Fout), "1e999");
        click(C::Fout);
        QCOMPARE(dialogs_.size(), 1);
        QVERIFY(dialogs_[0].startsWith("Run-time error: Overflow\n\nClicking into Fout"));
        // The panel keeps working.
        QTest::keyClick(edit(C::Fout), Qt::Key_Backspace);
        QCOMPARE(panel().text(C::Fout), "1e99");
    }
};

QTEST_MAIN(BindingTest)
#include "BindingTest.moc"
