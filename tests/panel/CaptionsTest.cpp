#include "panel/Captions.h"
#include "panel/Control.h"
#include "panel/Latin1.h"

#include <QTest>

#include <string>

using namespace owlet;

// The texts both views take from the panel: every byte's character through the codecs
// and back, notes as tooltips, captions as labels, and what counts as edited.
class CaptionsTest : public QObject {
    Q_OBJECT

private slots:
    void everyByteThroughTheCodecs() {
        std::string bytes;
        for (int b = 0; b < 256; ++b)
            bytes += static_cast<char>(b);
        const std::string utf8 = Latin1ToUtf8(bytes);
        const std::u16string text = Latin1Utf8ToUtf16(utf8);
        QCOMPARE(text.size(), 256u);
        for (int b = 0; b < 256; ++b)
            QCOMPARE(int(text[static_cast<std::size_t>(b)]), b);
        QCOMPARE(Latin1Utf16ToUtf8(text), utf8);
    }

    void textsAsShown() {
        QCOMPARE(noteToolTip("R = 4; choose a smaller one; or not"),
                 std::string("R = 4;\nchoose a smaller one;\nor not"));
        QCOMPARE(captionText("Remote programming\r\nsoftware\r\n"),
                 std::string("Remote programming\nsoftware\n"));
        QCOMPARE(captionText("no break\r"), std::string("no break\r"));
        QVERIFY(!isEdited(Red));
        QVERIFY(isEdited(White));
    }
};

QTEST_GUILESS_MAIN(CaptionsTest)
#include "CaptionsTest.moc"
