#include "tests/support/WindowFixture.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

using namespace owlet;
using namespace owlet::test;
using C = Control;

namespace {

QString accessible(QWidget* w, QAccessible::Text text) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
    return face ? face->text(text) : QString();
}

} // namespace

// What a screen reader learns of the window, asked through Qt's accessibility interfaces.
class AccessibilityTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> f_;

    QWidget* w(C c) { return f_->widget(c); }

private slots:
    // A screen reader that listens from the start, before the first window is made, hears
    // the combo boxes by their captions and the warning as an alert. Qt keeps every
    // interface it makes, so this runs before any other window of this program exists.
    void initTestCase() {
        QAccessible::installUpdateHandler([](QAccessibleEvent*) {}); // a listener
        QAccessible::setActive(true);
        WindowFixture f;
        QVERIFY(f.open());
        QCOMPARE(accessible(f.widget(C::Fcomp2), QAccessible::Name), "Fcomp kHz");
        QCOMPARE(accessible(f.widget(C::RefOut), QAccessible::Name), "REFout frequency");
        QCOMPARE(QAccessible::queryAccessibleInterface(f.widget(C::Warn))->role(),
                 QAccessible::AlertMessage);
    }

    void init() {
        f_ = std::make_unique<WindowFixture>();
        QVERIFY(f_->open());
        f_->panel().userPressedButton(C::SetCP); // Text1 and the port's buttons appear
    }

    void cleanup() { f_.reset(); }

    void everyInputHasItsCaptionAsName_data() {
        QTest::addColumn<int>("control");
        QTest::addColumn<QString>("name");
        QTest::newRow("Fref") << int(C::Fref) << "Reference MHz";
        QTest::newRow("Fout") << int(C::Fout) << "Fout  MHz";
        QTest::newRow("Fcomp2") << int(C::Fcomp2) << "Fcomp kHz";
        QTest::newRow("Rreg") << int(C::Rreg) << "R Register";
        QTest::newRow("Nreg") << int(C::Nreg) << "N Register";
        QTest::newRow("Creg") << int(C::Creg) << "C Register";
        QTest::newRow("RefOut") << int(C::RefOut) << "REFout frequency";
        QTest::newRow("Text1") << int(C::Text1) << "Response from Synth Module";
        QTest::newRow("Update") << int(C::Update) << "Update";
        QTest::newRow("LDE") << int(C::LDE) << "LD Enable";
        QTest::newRow("PD1") << int(C::PD1) << "PDout";
    }
    void everyInputHasItsCaptionAsName() {
        QFETCH(int, control);
        QFETCH(QString, name);
        QWidget* input = w(static_cast<C>(control));
        QCOMPARE(accessible(input, QAccessible::Name), name);
        // The focus may rest on a combo box's own field: it carries the name too.
        if (QWidget* proxy = input->focusProxy())
            QCOMPARE(accessible(proxy, QAccessible::Name), name);
    }

    void noFocusableControlIsNameless() {
        for (std::size_t i = 0; i < ControlCount; ++i) {
            QWidget* input = w(static_cast<C>(i));
            if (input && input->focusPolicy() != Qt::NoFocus)
                QVERIFY2(!accessible(input, QAccessible::Name).trimmed().isEmpty(),
                         controlName(static_cast<C>(i)).data());
        }
        QCOMPARE(accessible(w(C::Fcomp2), QAccessible::Value), "25"); // the text is its value
    }

    // A screen reader browses the entries and opens the list, as on any combo box.
    void comboBoxesOfferTheirList_data() {
        QTest::addColumn<int>("control");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("Fcomp2") << int(C::Fcomp2)
                                << QStringList{"6.25", "10", "12.5", "25", "50", "100", "200"};
        QTest::newRow("RefOut") << int(C::RefOut)
                                << QStringList{"DC Static", "= OscIn",  "OscIn /2",
                                               "OscIn /4",  "OscIn /8", "OscIn /16"};
    }
    void comboBoxesOfferTheirList() {
        QFETCH(int, control);
        QFETCH(QStringList, entries);
        auto* box = qobject_cast<QComboBox*>(w(static_cast<C>(control)));
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(box);
        QAccessibleInterface* list = face->child(0);
        QVERIFY(list && list->role() == QAccessible::List);
        QCOMPARE(face->indexOfChild(list), 0);
        // Both children as a screen reader walks them: the list and the text field.
        QCOMPARE(face->childCount(), 2);
        QAccessibleInterface* field = face->child(1);
        QCOMPARE(field->role(), QAccessible::EditableText);
        QCOMPARE(face->indexOfChild(field), 1);
        QCOMPARE(field->text(QAccessible::Value), box->currentText());
        QStringList heard;
        for (int i = 0; i < list->childCount(); ++i)
            heard << list->child(i)->text(QAccessible::Name);
        QCOMPARE(heard, entries);
        QAccessibleActionInterface* actions = face->actionInterface();
        QVERIFY(actions &&
                actions->actionNames().contains(QAccessibleActionInterface::showMenuAction()));
        actions->doAction(QAccessibleActionInterface::showMenuAction());
        QTRY_VERIFY(box->view()->isVisible());
        actions->doAction(QAccessibleActionInterface::showMenuAction());
        QTRY_VERIFY(!box->view()->isVisible());
    }

    // The options stand in groups named by their frames' captions.
    void framesAreNamedGroups() {
        const std::pair<C, std::vector<C>> groups[] = {
            {C::Frame1, {C::PD0, C::PD1, C::InvertPD}},
            {C::Frame2, {C::FvE, C::FrE, C::LDE, C::RefOut}}};
        for (const auto& [frame, inside] : groups) {
            QAccessibleInterface* group = QAccessible::queryAccessibleInterface(w(frame));
            QCOMPARE(group->role(), QAccessible::Grouping);
            QCOMPARE(group->text(QAccessible::Name),
                     frame == C::Frame1 ? "Phase Detector" : "Options");
            for (C c : inside)
                QCOMPARE(QAccessible::queryAccessibleInterface(w(c))->parent(), group);
        }
    }

    void frequencyFieldsSayWhetherEdited() {
        QVERIFY(accessible(w(C::Fref), QAccessible::Description).startsWith("Not edited yet"));
        QVERIFY(accessible(w(C::Fout), QAccessible::Description).startsWith("Not edited yet"));
        f_->panel().userClickedField(C::Fref);
        QCOMPARE(accessible(w(C::Fref), QAccessible::Description), "Edited");
        QVERIFY(accessible(w(C::Fout), QAccessible::Description).startsWith("Not edited yet"));
    }

    void warningIsAnAlert() {
        SynthPanel& panel = f_->panel();
        QAccessibleInterface* warn = QAccessible::queryAccessibleInterface(w(C::Warn));
        QCOMPARE(warn->role(), QAccessible::AlertMessage);
        QVERIFY(warn->state().invisible);
        panel.userEditedText(C::Fref, "10");
        panel.userPressedButton(C::SetR);
        panel.userEditedText(C::Fout, "145.01");
        panel.userPressedButton(C::SetN);
        QVERIFY(!warn->state().invisible);
        QCOMPARE(warn->text(QAccessible::Name), "Non-integer ratio: \nFreq error -10000Hz");
    }

    void responseBoxShowsItsFocus() {
        auto* box = qobject_cast<QPlainTextEdit*>(w(C::Text1));
        QVERIFY(box->isReadOnly());
        f_->panel().userPressedButton(C::Update);
        w(C::Fref)->setFocus();
        const QImage unfocused = box->grab().toImage();
        box->setFocus();
        QTRY_VERIFY(box->hasFocus());
        QVERIFY2(box->grab().toImage() != unfocused, "the focused box looks the same");
    }
};

QTEST_MAIN(AccessibilityTest)
#include "AccessibilityTest.moc"
