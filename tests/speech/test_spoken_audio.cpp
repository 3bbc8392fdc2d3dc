// The spoken reading as heard through the null sink of the sound server
// ctest starts: every mora, in order. How each sound is placed and cut is
// test_playback's to say, on the rendering; how close each mora comes to
// its beat bench_playback's: a busy machine can hold the output up.
#include "support/TestMain.h"
#include "support/AudioCapture.h"
#include "support/RealProgram.h"

#include <QApplication>
#include <QTemporaryDir>

using namespace kel;
using namespace kel::test;

class TestSpokenAudio : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { KEL_REQUIRE_NULL_SINK(); }

    void beatAndOrder_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("rate");
        QTest::addColumn<QString>("heard"); // the morae heard, in order
        // あ え う, the pause (three beats), い お.
        QTest::newRow("a sentence with a pause") << "あえう、いお_" << 6 << "あえういお";
        QTest::newRow("one mora, shorter than the output holds") << "い" << 12 << "い";
    }

    void beatAndOrder()
    {
        QFETCH(QString, text);
        QFETCH(int, rate);
        QFETCH(QString, heard);
        QTemporaryDir home;
        // Each mora a tone of its own pitch; う (0.5 s) outlasts its beat.
        const QMap<QString, double> tones{{"あ", 300}, {"い", 500}, {"う", 700}, {"え", 900}, {"お", 1100}};
        for (auto t = tones.cbegin(); t != tones.cend(); ++t)
            QVERIFY(writeFile(home.filePath(t.key() + ".wav"), toneWav(t.value(), t.key() == u"う" ? 0.5 : 0.05)));
        QVERIFY(writeFile(home.filePath("Talk.ini"), QStringLiteral("[SPEECH]\nSpoken=1\nRate=%1\nAccent=0\n").arg(rate).toLatin1()));
        RealProgram program(home.path());
        const QList<Onset> onsets = onsetsIn(recordingWhile(home.filePath("capture"), [&] {
            program.win.controls().txtTalk->setText(text);
            click(program.win.controls().cmdRead);
            QTest::qWait(300); // the output's last blocks
        }));
        QString got;
        for (const Onset &o : onsets)
            got += QStringLiteral(" %1Hz@%2").arg(qRound(o.hertz / 100) * 100).arg((o.at - onsets.value(0).at) * rate, 0, 'f', 3);
        QVERIFY2(onsets.size() == heard.size(), qPrintable(got));
        for (qsizetype i = 0; i < onsets.size(); ++i)
            QVERIFY2(std::abs(onsets[i].hertz - tones[heard.mid(i, 1)]) < 60, qPrintable(got));
    }
};

KEL_TEST(test_spoken_audio, TestSpokenAudio)
#include "test_spoken_audio.moc"
