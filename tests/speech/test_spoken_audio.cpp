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

    void beatAndOrder()
    {
        QTemporaryDir home;
        // Each mora a tone of its own pitch; う (0.5 s) outlasts its beat.
        const QMap<QString, double> tones{{"あ", 300}, {"い", 500}, {"う", 700}, {"え", 900}, {"お", 1100}};
        for (auto t = tones.cbegin(); t != tones.cend(); ++t)
            QVERIFY(writeFile(home.filePath(t.key() + ".wav"), toneWav(t.value(), t.key() == u"う" ? 0.5 : 0.08)));
        QVERIFY(writeFile(home.filePath("Talk.ini"), "[SPEECH]\nSpoken=1\nRate=6\nAccent=0\n"));
        RealProgram program(home.path());
        const QList<qint16> heard = recordingWhile(home.filePath("capture"), [&] {
            program.win.controls().txtTalk->setText(QStringLiteral("あえう、いお_"));
            click(program.win.controls().cmdRead);
            QTest::qWait(200); // the output's last block
        });
        // あ え う, the pause (three beats), い お.
        const QList<Onset> onsets = onsetsIn(heard);
        QString got;
        for (const Onset &o : onsets)
            got += QStringLiteral(" %1Hz@%2").arg(qRound(o.hertz / 100) * 100).arg((o.at - onsets.value(0).at) * 6, 0, 'f', 3);
        QVERIFY2(onsets.size() == 5, qPrintable(got));
        const QStringList order{"あ", "え", "う", "い", "お"};
        for (qsizetype i = 0; i < onsets.size(); ++i)
            QVERIFY2(std::abs(onsets[i].hertz - tones[order[i]]) < 60, qPrintable(got));
    }
};

KEL_TEST(test_spoken_audio, TestSpokenAudio)
#include "test_spoken_audio.moc"
