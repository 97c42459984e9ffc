#include "tests/support/PanelFixture.h"

#include <QTest>

#include <stdexcept>

using namespace owlet;
using namespace owlet::test;

namespace {

// Steps before the press: "port N" chooses a port, "Fref=10" types into a field, "click
// PD0" clicks an option, a name alone presses that button; the last step is the press whose words
// are checked.
struct Case {
    const char* name;
    std::vector<std::string> steps;
    const char* words; // nullptr: the press failed and says nothing of its own
};

const Case Cases[] = {
    {"R sent", {"port 1", "Fref=10", "SetR"}, "R 0190 sent"},
    {"R without a port", {"port 0", "Fref=10", "SetR"}, "R 0190 computed, not sent: port 0"},
    {"N exact", {"port 1", "Fref=10", "SetR", "Fout=145", "SetN"}, "N 16A8 sent"},
    {"N with the warning",
     {"port 1", "Fref=10", "SetR", "Fout=145.01", "SetN"},
     "N 16A8 sent. Non-integer ratio: Freq error -10000Hz"},
    {"the warning once gone",
     {"port 1", "Fref=10", "Fout=145.01", "SetN", "Fout=145", "SetN"},
     "N 16A8 sent"},
    {"C without a port", {"port 0", "click PD0", "SetC"}, "C 23 computed, not sent: port 0"},
    {"Update", {"port 2", "Fref=10", "SetR", "Fout=145", "SetN", "Update"}, "U sent"},
    {"Store to EE", {"port 2", "Fref=10", "SetR", "Fout=145", "SetN", "StoreEE"}, "W sent"},
    {"a port opened", {"port 3"}, "Port 3 open"},
    {"port 0", {"port 0"}, "Port 0: the panel computes, nothing is sent"},
    {"a reference that cannot be divided", {"port 0", "Fref=1e300", "SetR"}, nullptr},
    {"a port that is not there", {"port 40"}, nullptr},
};

Control named(const std::string& name) {
    for (std::size_t i = 0; i < ControlCount; ++i)
        if (controlName(static_cast<Control>(i)) == name)
            return static_cast<Control>(i);
    throw std::invalid_argument(name);
}

} // namespace

// What a screen reader says after each press, from the panel model: the one announcement
// both views speak.
class PressWordsTest : public QObject {
    Q_OBJECT

private slots:
    void eachPressSaysWhatItDid_data() {
        QTest::addColumn<int>("index");
        for (std::size_t i = 0; i < std::size(Cases); ++i)
            QTest::newRow(Cases[i].name) << static_cast<int>(i);
    }
    void eachPressSaysWhatItDid() {
        QFETCH(int, index);
        const Case& c = Cases[index];
        PanelFixture f;
        f.link.highestPort = 4;
        int before = 0;
        for (const std::string& step : c.steps) {
            before = f.view.announcements;
            if (step.starts_with("port "))
                f.choosePort(step.substr(5));
            else if (step.starts_with("click "))
                f.panel.userClickedOption(named(step.substr(6)));
            else if (const auto eq = step.find('='); eq != std::string::npos)
                f.type(step.substr(0, eq) == "Fref" ? Control::Fref : Control::Fout,
                       step.substr(eq + 1));
            else
                f.press(named(step));
        }
        if (!c.words) {
            QCOMPARE(f.view.announcements, before); // the error dialog speaks instead
            QVERIFY(!f.lastErrorKind().empty());
            return;
        }
        QCOMPARE(f.view.announcements, before + 1); // said once
        QCOMPARE(QString::fromStdString(f.view.announced), QString::fromUtf8(c.words));
    }
};

QTEST_MAIN(PressWordsTest)
#include "PressWordsTest.moc"
