// What QtWavePlayer really sounds like, heard through a null sink: run it
// under tools/with-pulse; without a server it is skipped, and fails on CI.
// The waits hold the test thread without processing events, as the reading
// loop does: the sounds must play all the same.

#include "AudioCapture.h"
#include "app/FrmTalk.h"
#include "support/TalkFixture.h"
#include "base/SettingsStore.h"
#include "speech/QtWavePlayer.h"
#include "widgets/ColorButton.h"
#include "widgets/Platform.h"
#include "widgets/TalkBox.h"

#include <QDate>
#include <QTemporaryDir>

using namespace kel;
using namespace kel::test;

class TestRealAudio : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    SteadyClock clock_;
    QString file(const QString &name) const { return dir_.filePath(name); }

private slots:
    void initTestCase()
    {
        if (const auto sink = runTool(QStringLiteral("pactl"), {QStringLiteral("get-default-sink")});
            !sink || sink->trimmed() != "kelvoran_null") {
            const char *why = "no PulseAudio server with the default sink \"kelvoran_null\" (run under tools/with-pulse)";
            if (qEnvironmentVariableIsSet("CI"))
                QFAIL(why);
            QSKIP(why);
        }
        // Two characters as the default sound set says them.
        for (const QString ch : {QStringLiteral("あ"), QStringLiteral("い")})
            QVERIFY(runTool(QStringLiteral("espeak-ng"), {QStringLiteral("-v"), QStringLiteral("ja"), QStringLiteral("-b"),
                                                          QStringLiteral("1"), QStringLiteral("-w"), file(ch + ".wav"), ch}));
        QVERIFY(writeFile(file(QStringLiteral("long.wav")), toneWav(440, 2.0)));
        // Like a recorded character, the short sound ends in silence: an
        // effect stops its output as soon as it has handed over the last
        // sample, which drops the last ~150 ms still buffered.
        QVERIFY(writeFile(file(QStringLiteral("short.wav")), toneWav(660, 0.2, 0.3)));
    }

    // A whole reading through the "読む" button of a real main window, with
    // the real player and the real clock.
    void readingOfTwoCharacters()
    {
        const QList<Sound> sounds = soundsWhile(file(QStringLiteral("capture.wav")), [&] {
            QtWavePlayer player;
            Platform platform;
            SettingsStore store(file(QStringLiteral("Talk.ini")));
            FrmTalk win(Services{&clock_, &player, &platform, &store, [] { return QDate::currentDate(); }});
            win.Form_Load(dir_.path());
            win.show();
            win.controls().txtTalk->setText(QStringLiteral("あい"));
            TalkFixture::click(win.controls().cmdRead);
            QCOMPARE(win.controls().txtTalk->text(), QStringLiteral("あい_"));
            step(0.3); // let the last sound reach the sink
        });
        QVERIFY2(sounds.size() == 2 && std::abs(sounds[1].onset - sounds[0].onset - 0.8) <= 0.1, describe(sounds));
        for (const Sound &s : sounds)
            QVERIFY2(s.end - s.onset >= 0.1, describe(sounds));
    }

    void theNextSoundOrCloseCutsTheOnePlaying_data()
    {
        QTest::addColumn<bool>("playNext");
        QTest::addColumn<double>("heardSeconds");
        // A two-second tone is interrupted after 0.5 s.
        QTest::newRow("play() of a 0.2 s tone") << true << 0.7;
        QTest::newRow("close()") << false << 0.5;
    }

    void theNextSoundOrCloseCutsTheOnePlaying()
    {
        QFETCH(bool, playNext);
        QFETCH(double, heardSeconds);
        const QList<Sound> sounds = soundsWhile(file(QStringLiteral("capture.wav")), [&] {
            QtWavePlayer player;
            player.play(file(QStringLiteral("long.wav")));
            step(0.5);
            playNext ? player.play(file(QStringLiteral("short.wav"))) : player.close();
            step(0.8);
        });
        QVERIFY2(sounds.size() == 1 && std::abs(sounds[0].end - sounds[0].onset - heardSeconds) <= 0.1, describe(sounds));
    }
};

QTEST_MAIN(TestRealAudio)
#include "test_real_audio.moc"
