#include "panel/Layout.h"
#include "tests/support/WindowFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace owlet;
using namespace owlet::test;
using C = Control;

namespace {

QString captionOf(QWidget* w) {
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        return button->text();
    return {};
}

} // namespace

class LayoutTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> f_;

    QWidget* w(Control c) { return f_->widget(c); }
    // Where a widget stands in the window, inside a frame or not.
    static QRect placed(const QWidget* x) { return {x->mapTo(x->window(), QPoint()), x->size()}; }

private slots:
    void init() {
        f_ = std::make_unique<WindowFixture>();
        QVERIFY(f_->open());
    }

    void cleanup() { f_.reset(); }

    void window() {
        QCOMPARE(f_->window.windowTitle(), "Quartzel      OWLET");
        QCOMPARE(f_->window.size(), QSize(406, 386));
        QCOMPARE(f_->window.minimumSize(), f_->window.maximumSize());
        const QImage icon = f_->window.windowIcon().pixmap(32, 32).toImage();
        QCOMPARE(icon.size(), QSize(32, 32));
        QCOMPARE(icon.pixelColor(0, 0), QColor(0xCC, 0xFF, 0xCC));
        QCOMPARE(icon.pixelColor(11, 5), QColor(Qt::black));         // the N
        QCOMPARE(icon.pixelColor(5, 15), QColor(Qt::black));         // the bar
        QCOMPARE(icon.pixelColor(16, 15), QColor(0xCC, 0xFF, 0xCC)); // its break
        QCOMPARE(icon.pixelColor(11, 28), QColor(Qt::black));        // the R
    }

    void geometryAndLook() {
        QVERIFY(!w(Control::Text1)); // made when a port opens
        f_->panel().userPressedButton(Control::SetCP);
        for (const Placement& p : Layout) {
            const char* name = controlName(p.control).data();
            QWidget* widget = w(p.control);
            QVERIFY2(widget, name);
            QCOMPARE(widget->objectName(), QString(name));
            QVERIFY2(placed(widget).right() < 406 && placed(widget).bottom() < 386, name);
            const int pixelSize = p.font == FontRole::Window ? 11 : 13;
            QVERIFY2(widget->font().pixelSize() == pixelSize, name);
            QVERIFY2(widget->font().bold() == (p.font == FontRole::Banner), name);
            QVERIFY2(!widget->font().italic() && !widget->font().underline(), name);
            QVERIFY2(widget->isVisible() == f_->panel().visible(p.control), name);
        }
        // Frames lie beneath the controls they frame.
        QCOMPARE(f_->window.childAt(QPoint(500 / 15 + 2, 2520 / 15 + 8)), w(Control::PD0));
    }

    // What the eye checks: rows line up, columns align, nothing overlaps.
    void rowsAndColumnsLineUp_data() {
        QTest::addColumn<QList<int>>("controls");
        QTest::addColumn<QString>("edge");
        const auto row = [](const char* name, std::initializer_list<Control> cs, const char* edge) {
            QList<int> list;
            for (Control c : cs)
                list << int(c);
            QTest::newRow(name) << list << QString(edge);
        };
        row("Fref row", {C::Label1, C::Fref, C::SetR, C::Rreg}, "top");
        row("Fout row", {C::Label2, C::Fout, C::SetN, C::Nreg}, "top");
        row("C row", {C::SetC, C::Creg}, "top");
        row("Fcomp row", {C::Label3, C::Fcomp2}, "top");
        row("module commands", {C::Update, C::StoreEE}, "top");
        row("port row", {C::SetCP, C::CPNo, C::Label8}, "top");
        row("captions end together", {C::Label1, C::Label2, C::Label3}, "right");
        row("entry column", {C::Fref, C::Fout, C::Fcomp2}, "left");
        row("set-button column", {C::SetR, C::SetN, C::SetC}, "left");
        row("register column", {C::Rreg, C::Nreg, C::Creg}, "left");
        row("register right edge", {C::Rreg, C::Nreg, C::Creg, C::Text1}, "right");
        row("register captions", {C::Label5, C::Label4, C::Label13}, "left");
        row("phase detector stack", {C::PD0, C::PD1, C::InvertPD}, "left");
        row("options stack", {C::FvE, C::FrE, C::LDE, C::RefOut}, "left");
    }
    void rowsAndColumnsLineUp() {
        QFETCH(QList<int>, controls);
        QFETCH(QString, edge);
        f_->panel().userPressedButton(C::SetCP);
        const auto at = [&](int c) {
            const QRect r = placed(w(static_cast<Control>(c)));
            return edge == "top" ? r.top() : edge == "left" ? r.left() : r.right();
        };
        for (int c : controls)
            QVERIFY2(at(c) == at(controls.first()), controlName(static_cast<Control>(c)).data());
    }

    void nothingOverlaps() {
        f_->panel().userPressedButton(C::SetCP);
        QList<QWidget*> shown;
        for (std::size_t i = 0; i < ControlCount; ++i) {
            QWidget* widget = w(static_cast<Control>(i));
            if (widget && !qobject_cast<QGroupBox*>(widget))
                shown << widget;
        }
        shown << w(C::Warn) << w(C::SetR) << w(C::SetN) << w(C::SetC); // hidden now, shown later
        for (QWidget* a : shown)
            for (QWidget* b : shown) {
                if (a == b)
                    continue;
                // A caption may touch the top pixel row of the box under it.
                const QRect overlap = placed(a).intersected(placed(b));
                QVERIFY2(overlap.isEmpty() || overlap.height() <= 1,
                         qPrintable(a->objectName() + " overlaps " + b->objectName()));
            }
        // Each caption sits right above its box, on the box's top pixel row.
        for (auto [label, box] : {std::pair{C::Label5, C::Rreg},
                                  {C::Label4, C::Nreg},
                                  {C::Label13, C::Creg},
                                  {C::Label8, C::Text1}}) {
            QCOMPARE(placed(w(label)).bottom(), placed(w(box)).top());
        }
        // The option controls lie inside their frames.
        for (Control c : {C::PD0, C::PD1, C::InvertPD})
            QVERIFY(placed(w(C::Frame1)).contains(placed(w(c))));
        for (Control c : {C::FvE, C::FrE, C::LDE, C::RefOut})
            QVERIFY(placed(w(C::Frame2)).contains(placed(w(c))));
    }

    void colours() {
        QCOMPARE(w(Control::Fref)->palette().color(QPalette::Base), QColor(0xFF0000));
        QCOMPARE(w(Control::Fout)->palette().color(QPalette::Base), QColor(0xFF0000));
        QCOMPARE(w(Control::CPNo)->palette().color(QPalette::Base), QColor(0xFF0000));
        QCOMPARE(w(Control::CPNo)->palette().color(QPalette::Text), QColor(0xFFFFC0));
        QCOMPARE(w(Control::SetCP)->palette().color(QPalette::Button), QColor(0xFF0000));
        QCOMPARE(w(Control::Label7)->palette().color(QPalette::WindowText), QColor(0x800080));
        QCOMPARE(w(Control::Label7)->palette().color(QPalette::Window), QColor(0xC0C0C0));
        QVERIFY(w(Control::Label7)->autoFillBackground());
        QCOMPARE(w(Control::Warn)->palette().color(QPalette::WindowText), QColor(0xFF0000));
        // The red button really paints red under the default style.
        const QImage button = w(Control::SetCP)->grab().toImage();
        int red = 0; // solid FF0000, not a gradient near it
        for (int y = 0; y < button.height(); ++y)
            for (int x = 0; x < button.width(); ++x)
                red += button.pixelColor(x, y) == QColor(0xFF0000);
        QVERIFY2(red > button.width() * button.height() / 2, qPrintable(QString::number(red)));
    }

    void captions_data() {
        QTest::addColumn<int>("control");
        QTest::addColumn<QString>("caption");
        QTest::newRow("SetR") << int(Control::SetR) << "Set R ";
        QTest::newRow("Label2") << int(Control::Label2) << "Fout  MHz";
        QTest::newRow("Label8") << int(Control::Label8) << "Response from Synth Module";
        QTest::newRow("StoreEE") << int(Control::StoreEE) << "Store to EE";
        QTest::newRow("Label7")
            << int(Control::Label7)
            << "Remote programming for VHF synthsizer modules running ''LARKSPUR\" software.";
    }

    void captions() {
        QFETCH(int, control);
        QFETCH(QString, caption);
        QCOMPARE(captionOf(w(static_cast<Control>(control))), caption);
    }

    // Every caption fits its control with the window's font; the banner wraps to two lines.
    void captionsFit() {
        for (const Placement& p : Layout) {
            QWidget* widget = w(p.control);
            if (!widget)
                continue;
            const QString text = captionOf(widget);
            if (text.isEmpty() || p.control == Control::Label7 || p.control == Control::Warn)
                continue;
            const int advance = widget->fontMetrics().horizontalAdvance(text.trimmed());
            int room = widget->width();
            if (qobject_cast<QPushButton*>(widget))
                room -= 4;
            else if (qobject_cast<QCheckBox*>(widget) || qobject_cast<QRadioButton*>(widget))
                room -= 20; // the box or circle and its spacing
            QVERIFY2(advance <= room,
                     qPrintable(text + QString(": %1 > %2").arg(advance).arg(room)));
        }
        const QWidget* banner = w(Control::Label7);
        const QFontMetrics metrics = banner->fontMetrics();
        const QRect needed = metrics.boundingRect(QRect(0, 0, banner->width(), 1000),
                                                  Qt::TextWordWrap, captionOf(w(Control::Label7)));
        QVERIFY(needed.height() >= 2 * metrics.height() && needed.height() <= banner->height());
    }

    void warningShowsTwoCentredLines() {
        auto& panel = f_->panel();
        panel.userEditedText(Control::Fout, "145.01");
        panel.userPressedButton(Control::SetN);
        auto* warn = qobject_cast<QLabel*>(w(Control::Warn));
        QVERIFY(warn->isVisible());
        QCOMPARE(warn->text(), "Non-integer ratio: \nFreq error -10000Hz");
        QVERIFY(warn->alignment() & Qt::AlignHCenter);
    }

    void tabOrderAndFocus() {
        f_->window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f_->window));
        QCOMPARE(QApplication::focusWidget(), w(Control::Fref));
        const QList<Control> expected{
            Control::Fout,   Control::Nreg, Control::Rreg, Control::SetCP,    Control::CPNo,
            Control::Fcomp2, Control::Creg, Control::PD0,  Control::InvertPD, Control::RefOut,
            Control::FvE,    Control::FrE,  Control::LDE,  Control::Fref};
        for (Control next : expected) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* focus = QApplication::focusWidget();
            if (qobject_cast<QComboBox*>(focus->parentWidget()))
                focus = focus->parentWidget();
            QVERIFY2(focus == w(next), qPrintable(focus->objectName() + " instead of " +
                                                  QString(controlName(next).data())));
        }
        // Once a port is open the response box leads the order.
        f_->panel().userPressedButton(Control::SetCP);
        w(Control::Text1)->setFocus();
        QTest::keyClick(w(Control::Text1), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w(Control::Fref));
    }
};

QTEST_MAIN(LayoutTest)
#include "LayoutTest.moc"
