// The built panel driven through a real X server with XTEST pointer and key events, a
// pseudo-terminal as the module, and the panel's trace as the user's eyes: each step in
// the order a user takes it.
#include "link/PortHolders.h"
#include "panel/InitialState.h"
#include "panel/Layout.h"
#include "tests/app/XDriver.h"
#include "tests/support/PseudoTerminal.h"

#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using owlet::Control;
using owlet::test::PseudoTerminal;
using C = Control;

namespace {

// The panel as a running program, with what it has shown so far.
class Panel {
public:
    Panel(XDriver& x, const QString& device)
        : x_(x) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("OWLET_COM1", device);
        env.insert("OWLET_TRACE", dir_.filePath("trace"));
        env.insert("XDG_CONFIG_HOME", dir_.filePath("config")); // the loop window's parts
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.remove("QT_ACCESSIBILITY");
        process_.setProcessEnvironment(env);
        process_.setProcessChannelMode(QProcess::ForwardedChannels);
        process_.start(QStringLiteral(OWLET_BINARY), {});
        trace_.setFileName(dir_.filePath("trace"));
        // Before the trace says otherwise, every control shows its state at start-up.
        const owlet::ControlStates initial = owlet::initialControlStates();
        for (std::size_t i = 0; i < owlet::ControlCount; ++i) {
            const QString name = QString::fromLatin1(owlet::controlName(Control(i)).data());
            state_[name + " visible"] = initial[i].visible ? "1" : "0";
            state_[name + " listindex"] = QString::number(initial[i].listIndex);
        }
    }
    ~Panel() {
        process_.terminate();
        if (!process_.waitForFinished(3000))
            process_.kill();
        process_.waitForFinished(1000);
    }

    // Waits for the window and activates it with a click on the banner.
    bool start() {
        origin_ = x_.waitForWindow(QString::fromUtf8(owlet::WindowCaption.data()), 10000);
        if (origin_.x() < 0)
            return false;
        click(C::Label7);
        return waitFor("focus", "Fref");
    }

    QPoint centre(Control control) const {
        const owlet::Placement& p = owlet::placementOf(control);
        return origin_ +
               QPoint(owlet::pixels(p.left + p.width / 2), owlet::pixels(p.top + p.height / 2));
    }
    QPoint bottomLeft(Control control) const {
        const owlet::Placement& p = owlet::placementOf(control);
        return origin_ + QPoint(owlet::pixels(p.left), owlet::pixels(p.top + p.height));
    }

    void click(Control control) { clickAt(centre(control)); }
    void clickAt(QPoint screen) {
        x_.click(screen);
        settle();
    }
    void key(const char* keysym, std::initializer_list<const char*> modifiers = {}) {
        x_.key(keysym, modifiers);
        settle();
    }
    void type(std::string_view text) {
        x_.type(text);
        settle();
    }
    // Replaces the whole text of the focused field.
    void retype(std::string_view text) {
        x_.key("a", {"Control_L"});
        x_.key("BackSpace");
        type(text);
    }

    // The last value the panel showed for "Control property", or of "focus".
    QString shown(const QString& what) {
        read();
        return state_.value(what);
    }
    QString shown(Control control, const char* property) {
        return shown(QString::fromLatin1(owlet::controlName(control).data()) + ' ' + property);
    }
    QString listIndex(Control control) { return shown(control, "listindex"); }
    bool visible(Control control) { return shown(control, "visible") == "1"; }
    bool waitFor(const QString& what, const QString& value, int timeoutMs = 5000) {
        return QTest::qWaitFor([&] { return shown(what) == value; }, timeoutMs);
    }
    // Where the focus goes at each Tab: every press moves it to another control.
    QStringList focusCycle(int presses) {
        QStringList cycle;
        for (int i = 0; i < presses; ++i) {
            const QString before = shown("focus");
            key("Tab");
            const bool moved = QTest::qWaitFor([&] { return shown("focus") != before; }, 5000);
            cycle << (moved ? shown("focus") : "still " + before);
        }
        return cycle;
    }
    void signal(int number) { ::kill(static_cast<pid_t>(process_.processId()), number); }
    // The exit code of a normal exit, or -1.
    int waitForExit() {
        if (!process_.waitForFinished(5000) || process_.exitStatus() != QProcess::NormalExit)
            return -1;
        return process_.exitCode();
    }

private:
    // Lets the panel take the events: waits until its trace has been quiet for a while.
    void settle() {
        qint64 size = -1;
        for (int quiet = 0; quiet < 3;) {
            QTest::qWait(10);
            const qint64 now = QFileInfo(trace_.fileName()).size();
            quiet = now == size ? quiet + 1 : 0;
            size = now;
        }
    }
    void read() {
        if (!trace_.isOpen() && !trace_.open(QIODevice::ReadOnly))
            return;
        pending_ += trace_.readAll();
        qsizetype end = 0;
        while ((end = pending_.indexOf('\n')) >= 0) {
            const QString line = QString::fromUtf8(pending_.left(end));
            pending_.remove(0, end + 1);
            const qsizetype first = line.indexOf(' ');
            const qsizetype second =
                line.startsWith("focus ") ? first : line.indexOf(' ', first + 1);
            if (second > 0)
                state_[line.left(second)] = line.mid(second + 1);
        }
    }

    XDriver& x_;
    QTemporaryDir dir_;
    QProcess process_;
    QFile trace_;
    QByteArray pending_;
    QMap<QString, QString> state_;
    QPoint origin_;
};

} // namespace

class XTestEndToEndTest : public QObject {
    Q_OBJECT

    XDriver x_;
    std::unique_ptr<PseudoTerminal> module_;
    std::unique_ptr<Panel> panel_;

    // Every byte the module received since the last look.
    QByteArray received(int atLeast = 1, int timeoutMs = 10000) {
        QByteArray bytes = module_->read(atLeast, timeoutMs);
        return bytes + module_->read(4096, 50); // and whatever follows at once
    }
    QByteArray nothingReceived() { return module_->read(4096, 150); }

    static void leaveRows() {
        QTest::addColumn<QString>("leave");
        QTest::newRow("Tab") << "Tab";
        QTest::newRow("click elsewhere") << "click";
        QTest::newRow("Return") << "Return";
        QTest::newRow("list opened and closed") << "Alt+Down Escape";
    }
    void leaveField(const QString& how) {
        if (how == "Tab") {
            panel_->key("Tab");
        } else if (how == "click") {
            panel_->click(C::Label7);
        } else if (how == "Return") {
            panel_->key("Return");
        } else {
            panel_->key("Down", {"Alt_L"});
            panel_->key("Escape");
        }
    }
    void openPort() {
        panel_->click(C::SetCP);
        QVERIFY(panel_->waitFor("Update visible", "1"));
    }
    void setDividers() {
        panel_->click(C::Fref);
        panel_->type("10");
        panel_->click(C::SetR);
        QCOMPARE(received(7), QByteArray("R0190\r\n"));
        panel_->click(C::Fout);
        panel_->type("145");
        panel_->click(C::SetN);
        QCOMPARE(received(7), QByteArray("N16A8\r\n"));
    }

    // Fref 10, Fout 145, then in the loop window opened by Ctrl+L: Kvco 8 and the filter's
    // R1, R2 and C2, by the keyboard.
    void typeTheLoop() {
        panel_->click(C::Fref);
        panel_->type("10");
        panel_->click(C::Fout);
        panel_->type("145");
        panel_->key("l", {"Control_L"});
        QVERIFY(x_.waitForWindow(QStringLiteral("Loop filter"), 10000).x() >= 0);
        QTRY_VERIFY(panel_->shown("loop problem").startsWith("Kvco: needs"));
        panel_->type("8");          // the focus starts in Kvco
        for (int i = 0; i < 8; ++i) // past the VCO's points, VDD, the tuning voltage, the
            panel_->key("Tab");     // op-amp's output, the step and its tolerance
        panel_->type("18k");
        panel_->key("Tab");
        panel_->type("3k3");
        panel_->key("Tab");
        panel_->type("1u");
    }

private slots:
    void initTestCase() {
        if (!x_.problem().isEmpty())
            QSKIP(qPrintable(x_.problem()));
    }

    void init() {
        module_ = std::make_unique<PseudoTerminal>();
        panel_ = std::make_unique<Panel>(x_, module_->slavePath());
        QVERIFY2(panel_->start(), "the panel's window did not come up and take the focus");
    }

    void cleanup() {
        panel_.reset();
        module_.reset();
    }

    // Each command button, pressed right after the step that reveals it.
    void buttonsWorkRightAfterTheyAppear() {
        openPort();
        panel_->click(C::Update);
        QCOMPARE(received(3), QByteArray("U\r\n"));
        panel_->click(C::StoreEE);
        QCOMPARE(received(3), QByteArray("W\r\n"));

        setDividers();
        QTRY_VERIFY(panel_->visible(C::Update));
        panel_->click(C::Update);
        QCOMPARE(received(3), QByteArray("U\r\n"));
        panel_->click(C::PD1);
        panel_->click(C::SetC);
        QCOMPARE(received(5), QByteArray("C63\r\n"));
    }

    void buttonsWorkAfterARunTimeError() {
        openPort();
        setDividers();
        panel_->click(C::Fcomp2);
        panel_->retype("");
        panel_->click(C::SetR); // a comparison frequency of 0: division by zero
        QPoint dialog = x_.waitForWindow("Run-time error", 5000);
        QVERIFY2(dialog.x() >= 0, "no run-time error dialog");
        x_.click(dialog + QPoint(20, 20)); // the dialog takes the keys
        panel_->key("Return");
        QVERIFY2(x_.waitForWindowGone("Run-time error", 10000), "the dialog stayed open");
        QCOMPARE(nothingReceived(), QByteArray());
        panel_->click(C::Update);
        QCOMPARE(received(3), QByteArray("U\r\n"));
        panel_->click(C::Fcomp2);
        panel_->retype("25");
        panel_->click(C::SetR);
        QCOMPARE(received(7), QByteArray("R0190\r\n"));
        panel_->click(C::StoreEE);
        QCOMPARE(received(3), QByteArray("W\r\n"));
        panel_->click(C::SetN);
        QCOMPARE(received(7), QByteArray("N16A8\r\n"));
        QCOMPARE(panel_->focusCycle(all().size()), all());
    }

    void tabFollowsTheLayoutInEveryState() {
        const QStringList before{"Fout", "Nreg",     "Rreg",   "SetCP", "CPNo", "Fcomp2", "Creg",
                                 "PD0",  "InvertPD", "RefOut", "FvE",   "FrE",  "LDE",    "Fref"};
        QCOMPARE(panel_->focusCycle(before.size()), before);
        openPort();
        panel_->click(C::Fref);
        panel_->type("10");
        const QStringList linked{"Fout",     "Nreg",   "Rreg", "SetR", "Fcomp2", "Creg",  "PD0",
                                 "InvertPD", "RefOut", "FvE",  "FrE",  "LDE",    "Text1", "Fref"};
        QCOMPARE(panel_->focusCycle(linked.size()), linked);
        panel_->click(C::SetR);
        panel_->click(C::Fout);
        panel_->type("145");
        panel_->click(C::SetN);
        QTRY_VERIFY(panel_->visible(C::Update));
        QTRY_COMPARE(panel_->shown("focus"), "SetN");
        QCOMPARE(panel_->focusCycle(all().size()), all());
    }

    // COM Port pressed from the keyboard hides itself: the focus goes on to the next control
    // in tab order, so a screen reader keeps its place.
    void focusMovesOnWhenCOMPortHidesItself() {
        QCOMPARE(panel_->focusCycle(4), QStringList({"Fout", "Nreg", "Rreg", "SetCP"}));
        panel_->key("space");
        QVERIFY(panel_->waitFor("Update visible", "1"));
        QTRY_COMPARE(panel_->shown("focus"), "Fcomp2");
    }

    // Alt+Down on the box showing 25 opens the list on 25: Return keeps it.
    void listOpensOnTheEntryShown() {
        panel_->click(C::Fcomp2);
        panel_->key("Down", {"Alt_L"});
        panel_->key("Return");
        QTRY_COMPARE(panel_->shown(C::Fcomp2, "listindex"), "3"); // 6.25, 10, 12.5, 25
    }

    // Every focusable control once the port is open and the dividers are set, from SetN on.
    static QStringList all() {
        return {"Nreg",   "Rreg", "SetR", "Update", "StoreEE", "Fcomp2", "Creg", "PD0", "InvertPD",
                "RefOut", "FvE",  "FrE",  "LDE",    "Text1",   "Fref",   "Fout", "SetN"};
    }

    // Typing an entry's exact text is typing, however the user leaves the field.
    void typedComboTextIsNoListChoice_data() { leaveRows(); }
    void typedComboTextIsNoListChoice() {
        QFETCH(QString, leave);
        panel_->click(C::Fcomp2); // at start-up: Creg keeps its 00000 until an edit
        leaveField(leave);
        QTRY_VERIFY2(panel_->shown(C::Creg, "text").isEmpty(), "Creg lost its start-up text");

        openPort();
        setDividers();
        panel_->click(C::PD0);
        panel_->click(C::SetC);
        QCOMPARE(received(5), QByteArray("C23\r\n"));
        panel_->click(C::Fcomp2);
        panel_->retype("50");
        leaveField(leave);
        QTRY_COMPARE(panel_->shown(C::Rreg, "text"), "0190");
        QTRY_COMPARE(panel_->shown(C::Nreg, "text"), "16A8");
        QTRY_COMPARE(panel_->shown(C::Creg, "text"), "23");
        QTRY_VERIFY(panel_->visible(C::Update) && panel_->visible(C::StoreEE));
        QTRY_COMPARE(panel_->listIndex(C::Fcomp2), "-1");
        panel_->click(C::Update);
        QCOMPARE(received(3), QByteArray("U\r\n"));
        panel_->click(C::SetR);
        QCOMPARE(received(7), QByteArray("R00C8\r\n"));
        QTRY_COMPARE(panel_->shown(C::Nreg, "text"), "16A8");
        QTRY_COMPARE(panel_->shown(C::Creg, "text"), "23");
    }

    // A typed REFout text selects no entry, so the control byte carries none.
    void typedRefOutTextSelectsNoEntry_data() { leaveRows(); }
    void typedRefOutTextSelectsNoEntry() {
        QFETCH(QString, leave);
        openPort();
        panel_->click(C::RefOut);
        panel_->retype("OscIn /2");
        leaveField(leave);
        QTRY_COMPARE(panel_->listIndex(C::RefOut), "-1");
        panel_->click(C::PD1);
        panel_->click(C::SetC);
        QCOMPARE(received(5), QByteArray("C63\r\n"));
    }

    // A signal ends the panel as a close of its window: port closed, lock file removed.
    void signalsCloseThePort_data() {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGHUP") << SIGHUP;
    }
    void signalsCloseThePort() {
        QFETCH(int, signal);
        openPort();
        const QString lock = owlet::lockOf(module_->slavePath()).path;
        QVERIFY2(QFile::exists(lock), qPrintable(lock));
        panel_->signal(signal);
        QCOMPARE(panel_->waitForExit(), 0);
        QVERIFY2(!QFile::exists(lock), qPrintable(lock + " left behind"));
    }

    // A real choice from the list, by keyboard or pointer, is one.
    void listChoicesCount() {
        openPort();
        setDividers();
        panel_->click(C::Fcomp2);
        panel_->key("Down", {"Alt_L"});
        panel_->key("Down"); // the open list starts on the entry the box shows, " 25"
        panel_->key("Return");
        QTRY_COMPARE(panel_->listIndex(C::Fcomp2), "4");
        QTRY_COMPARE(panel_->shown(C::Fcomp2, "text"), "50");
        QTRY_COMPARE(panel_->shown(C::Rreg, "text"), "");
        QVERIFY(!panel_->visible(C::Update));

        panel_->key("Down"); // arrow key on the closed box
        QTRY_COMPARE(panel_->shown(C::Fcomp2, "text"), "100");
        QTRY_COMPARE(panel_->listIndex(C::Fcomp2), "5");

        // Pointer: open the list with its arrow, pick the first entry under the box.
        panel_->click(C::RefOut);
        panel_->key("Down", {"Alt_L"});
        panel_->clickAt(panel_->bottomLeft(C::RefOut) + QPoint(20, 8));
        QTRY_COMPARE(panel_->listIndex(C::RefOut), "0");
        QTRY_COMPARE(panel_->shown(C::RefOut, "text"), "DC Static");
        QVERIFY(!panel_->visible(C::SetC)); // a list choice offers no "Set C"
    }

    // Ctrl+L opens the loop window beside the panel; what is typed there and the panel's
    // setting, as typed, both reach its figures.
    void loopWindowFollowsThePanel() {
        typeTheLoop();
        QTRY_VERIFY2(panel_->shown("loop figures").contains("Phase margin 76.9°"),
                     qPrintable(panel_->shown("loop figures")));
        QVERIFY(panel_->shown("loop figures").contains("N = 5800 at 25 kHz"));
        panel_->key("Tab", {"Shift_L"});
        panel_->key("End");
        panel_->key("BackSpace"); // R2 3k: less damping
        QTRY_VERIFY(panel_->shown("loop figures").contains("Phase margin 74.4°"));
        // Back on the panel, another comparison frequency, typed.
        panel_->click(C::Fcomp2);
        panel_->key("a", {"Control_L"});
        panel_->type("12.5");
        QTRY_VERIFY2(panel_->shown("loop figures").contains("N = 11600 at 12.5 kHz"),
                     qPrintable(panel_->shown("loop figures")));
    }

    // The reference's noise typed into its table row by row, Tab from cell to cell and on to
    // "Add row": the total at 10 kHz shown is owlet-cli's for the same loop.
    void loopNoiseTypedRowByRow() {
        typeTheLoop();
        for (int i = 0; i < 13; ++i) // C1, Cc, R3, C3, the design's four, its choice, the
            panel_->key("Tab");      // series, Design and Lowest noise: the table
        const std::pair<const char*, const char*> points[] = {
            {"100", "-130"}, {"1k", "-150"}, {"10k", "-160"}};
        for (std::size_t i = 0; i < std::size(points); ++i) {
            const auto& [offset, level] = points[i];
            if (i > 0)
                panel_->key("space"); // "Add row", which takes the focus into the new row
            panel_->type(offset);
            panel_->key("Tab");
            panel_->type(level);
            panel_->key("Tab"); // out of the last cell: "Add row"
        }
        QProcess cli;
        cli.start(QStringLiteral(OWLET_CLI),
                  {"--loop", "--fref", "10", "--fout", "145", "--kvco", "8", "--r1", "18k", "--r2",
                   "3k3", "--c2", "1u", "--ref-noise", "100:-130,1k:-150,10k:-160"});
        QVERIFY(cli.waitForFinished(10000));
        const QString expected = QString::fromUtf8(cli.readAllStandardOutput()).simplified();
        // The total at 10 kHz, and the reference's row of the spot table: every point read.
        for (const char* row :
             {"Phase noise at 10 kHz -?[0-9.]+ dBc/Hz", "reference( -?[0-9.]+){4}"}) {
            const QString figure = QRegularExpression(row).match(expected).captured();
            QVERIFY2(!figure.isEmpty(), qPrintable(expected));
            QTRY_VERIFY2(panel_->shown("loop figures").contains(figure),
                         qPrintable(figure + " / " + panel_->shown("loop figures")));
        }
        QVERIFY(panel_->shown("loop figures").contains("Noise left out"));
    }
};

QTEST_GUILESS_MAIN(XTestEndToEndTest)
#include "XTestEndToEndTest.moc"
