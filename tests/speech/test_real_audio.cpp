// What QtWavePlayer really sounds like, heard through a null sink. Needs a
// PulseAudio server with the sink "kelvoran_null" as default: run it under
// tools/with-pulse. Without one it is skipped, and fails on CI.
//
// The waits hold the test thread without processing events, as the reading
// loop does: the sounds must play all the same.

#include "AudioCapture.h"
#include "app/FrmTalk.h"
#include "app/Platform.h"
#include "app/SettingsStore.h"
#include "app/TalkBox.h"
#include "app/ColorButton.h"
#include "speech/QtWavePlayer.h"

#include <QDate>

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace kel;
using namespace kel::test;

namespace {

// A tone at a quarter of full scale, `seconds` long, followed by
// `quietSeconds` of silence, as a WAV file.
QByteArray toneWav(double hertz, double seconds, double quietSeconds = 0.0)
{
    constexpr int rate = 22050;
    QList<qint16> samples(qsizetype((seconds + quietSeconds) * rate), 0);
    for (qsizetype i = 0; i < qsizetype(seconds * rate); ++i)
        samples[i] = qint16(8000 * std::sin(2 * M_PI * hertz * double(i) / rate));
    return wav16(rate, samples);
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString describe(const QList<Sound> &sounds)
{
    QStringList parts;
    for (const Sound &s : sounds)
        parts.append(QStringLiteral("%1-%2 s (peak %3)").arg(s.onset, 0, 'f', 3).arg(s.end, 0, 'f', 3).arg(s.peak, 0, 'f', 2));
    return QStringLiteral("sounds: ") + (parts.isEmpty() ? QStringLiteral("none") : parts.join(u", "));
}

} // namespace

class TestRealAudio : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    SteadyClock clock_;

    QString file(const QString &name) const { return dir_.filePath(name); }

    // Holds this thread for `seconds` from `start`, then lets pending events
    // run once, the way each step of a reading ends.
    void step(Nanos start, double seconds)
    {
        waitMoreThan(clock_, start, seconds);
        QCoreApplication::processEvents();
    }

private slots:
    void initTestCase()
    {
        const QString why = audioCaptureUnavailable();
        if (!why.isEmpty()) {
            if (qEnvironmentVariableIsSet("CI"))
                QFAIL(qPrintable(why));
            QSKIP(qPrintable(why));
        }
        QVERIFY(dir_.isValid());
        // Two characters as the default sound set says them.
        for (const auto &[name, reading] : {std::pair{"あ.wav", "あ"}, std::pair{"い.wav", "い"}}) {
            QVERIFY2(runTool(QStringLiteral("espeak-ng"),
                             {QStringLiteral("-v"), QStringLiteral("ja"), QStringLiteral("-b"), QStringLiteral("1"),
                              QStringLiteral("-w"), file(QString::fromUtf8(name)), QString::fromUtf8(reading)}),
                     "espeak-ng could not record a test sound");
        }
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
        NullSinkRecorder recorder;
        QVERIFY(recorder.start(file(QStringLiteral("capture.wav"))));
        {
            QtWavePlayer player;
            Platform platform;
            SettingsStore store(file(QStringLiteral("Talk.ini")));
            Services sv{&clock_, &player, &platform, &store, [] { return QDate::currentDate(); }};
            FrmTalk win(sv);
            win.Form_Load(dir_.path());
            win.show();
            win.controls().txtTalk->setText(QStringLiteral("あい"));
            QTest::mouseClick(win.controls().cmdRead, Qt::LeftButton);
            QCOMPARE(win.controls().txtTalk->text(), QStringLiteral("あい_"));
            step(clock_.now(), 0.3);   // let the last sound reach the sink
        }
        const auto pcm = recorder.stop();
        QVERIFY(pcm);
        const QList<Sound> sounds = soundsIn(*pcm);
        qInfo("%s", qPrintable(describe(sounds)));
        QVERIFY2(sounds.size() == 2, qPrintable(describe(sounds)));
        const double gap = sounds[1].onset - sounds[0].onset;
        QVERIFY2(std::abs(gap - 0.8) <= 0.1, qPrintable(describe(sounds)));
        for (const Sound &s : sounds)
            QVERIFY2(s.peak >= 0.1 && s.end - s.onset >= 0.1, qPrintable(describe(sounds)));
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
        NullSinkRecorder recorder;
        QVERIFY(recorder.start(file(QStringLiteral("capture.wav"))));
        {
            QtWavePlayer player;
            Nanos start = clock_.now();
            player.play(file(QStringLiteral("long.wav")));
            step(start, 0.5);
            start = clock_.now();
            if (playNext)
                player.play(file(QStringLiteral("short.wav")));
            else
                player.close();
            step(start, 0.8);
        }
        const auto pcm = recorder.stop();
        QVERIFY(pcm);
        const QList<Sound> sounds = soundsIn(*pcm);
        qInfo("%s", qPrintable(describe(sounds)));
        QVERIFY2(sounds.size() == 1, qPrintable(describe(sounds)));
        QVERIFY2(std::abs(sounds[0].end - sounds[0].onset - heardSeconds) <= 0.1, qPrintable(describe(sounds)));
    }
};

QTEST_MAIN(TestRealAudio)
#include "test_real_audio.moc"
