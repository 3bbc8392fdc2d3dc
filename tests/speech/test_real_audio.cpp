// What the player really sounds like, heard through a null sink: run it
// under tools/with-pulse; without a server it is skipped, and fails on CI.
// The waits hold the test thread without processing events, as the reading
// loop does: the sounds must play all the same.
//
// Run as "test_real_audio --read-and-quit DIR" it is the program itself: it
// reads "あかい" from DIR through "読む", then touches "終了", and must end.
// Run as "test_real_audio --switch-output DIR" it plays DIR/a.wav, makes the
// sink "second" the default output, and plays it again.

#include "support/AudioCapture.h"
#include "support/RealProgram.h"
#include "speech/QtWavePlayer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

using namespace kel;
using namespace kel::test;

namespace {

int readAndQuit(int argc, char **argv)
{
    QApplication app(argc, argv);
    RealProgram program(QString::fromLocal8Bit(argv[2]));
    QTimer::singleShot(0, &program.win, [&] {
        program.read(QStringLiteral("あかい"));
        click(program.win.controls().cmdEnd);
    });
    return app.exec();
}

int switchOutput(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString wav = QString::fromLocal8Bit(argv[2]) + QStringLiteral("/a.wav");
    QtWavePlayer player;
    if (!QTest::qWaitFor([&] { return !player.outputDevice().isEmpty(); }, 5000))
        return 1;
    player.play(wav);
    QTest::qWait(600);
    if (!runTool(QStringLiteral("pactl"), {QStringLiteral("set-default-sink"), QStringLiteral("second")}))
        return 1;
    // Taken up within its check interval, without a restart.
    if (!QTest::qWaitFor([&] { return player.outputDevice() == QStringLiteral("Second"); }, 3000))
        return 1;
    player.play(wav);
    QTest::qWait(600);
    return 0;
}

} // namespace

class TestRealAudio : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString file(const QString &name) const { return dir_.filePath(name); }

private slots:
    void initTestCase()
    {
        KEL_REQUIRE_NULL_SINK();
        // Three characters as the default sound set says them.
        for (const QString ch : {QStringLiteral("あ"), QStringLiteral("か"), QStringLiteral("い")})
            QVERIFY(runTool(QStringLiteral("espeak-ng"), {QStringLiteral("-v"), QStringLiteral("ja"), QStringLiteral("-b"),
                                                          QStringLiteral("1"), QStringLiteral("-w"), file(ch + ".wav"), ch}));
        QVERIFY(readFile(file(QStringLiteral("か.wav"))).size() > 10'000);
        QVERIFY(writeFile(file(QStringLiteral("long.wav")), toneWav(440, 2.0)));
        QVERIFY(writeFile(file(QStringLiteral("short.wav")), toneWav(660, 0.2, 0.3)));
    }

    // A whole reading through the "読む" button of a real main window, with
    // the real player and the real clock.
    void readingOfTwoCharacters()
    {
        const QList<Sound> sounds = soundsWhile(file(QStringLiteral("capture.wav")), [&] {
            RealProgram program(dir_.path());
            program.read(QStringLiteral("あい"));
            QCOMPARE(program.win.controls().txtTalk->text(), QStringLiteral("あい_"));
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

    // A sound file replaced on disk (a new recording) is heard at the very
    // next reading, without a restart.
    void aReplacedFileIsHeardAtTheNextTouch()
    {
        QTemporaryDir home;
        const QString a = home.filePath(QStringLiteral("あ.wav"));
        QVERIFY(writeFile(a, toneWav(440, 0.2, 0.1)));
        RealProgram program(home.path());
        QList<double> lengths;
        for (const double seconds : {0.2, 0.5}) {
            if (seconds != 0.2) {
                QVERIFY(writeFile(a + ".new", toneWav(660, seconds, 0.1)));
                QVERIFY(QFile::remove(a) && QFile::rename(a + ".new", a));
            }
            const QList<Sound> sounds = soundsWhile(file(QStringLiteral("capture.wav")), [&] {
                program.read(QStringLiteral("あ"));
                step(0.2);
            });
            QVERIFY2(sounds.size() == 1, describe(sounds));
            lengths << sounds[0].end - sounds[0].onset;
        }
        QVERIFY2(std::abs(lengths[0] - 0.2) < 0.06 && std::abs(lengths[1] - 0.5) < 0.06,
                 qPrintable(QStringLiteral("%1 s, then %2 s").arg(lengths[0]).arg(lengths[1])));
    }

    // A broken か.wav between two good sounds: the reading goes on past it,
    // あ and い are heard 1.6 s apart, and "終了" ends the process.
    // A new default output (a USB speaker plugged in) is used from the next
    // sound on, without a restart. On an audio server of the test's own, so
    // that changing its default disturbs nobody.
    void aNewDefaultOutputIsTakenUp()
    {
        QTemporaryDir runtime;
        QVERIFY(writeFile(runtime.filePath(QStringLiteral("a.wav")), toneWav(440, 0.3)));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        env.insert(QStringLiteral("HOME"), runtime.path());
        env.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:") + runtime.filePath(QStringLiteral("native")));
        QProcess daemon;
        daemon.setProcessEnvironment(env);
        daemon.start(QStringLiteral("pulseaudio"), {"-n", "--daemonize=no", "--exit-idle-time=-1", "--system=false", "--log-level=error",
                                                     "--load=module-native-protocol-unix socket=" + runtime.filePath(QStringLiteral("native"))});
        const auto stop = qScopeGuard([&] { daemon.kill(); daemon.waitForFinished(2000); });
        const auto pactl = [&](const QStringList &args) {
            QProcess p;
            p.setProcessEnvironment(env);
            p.start(QStringLiteral("pactl"), args);
            return p.waitForFinished(5000) && p.exitCode() == 0;
        };
        QVERIFY(QTest::qWaitFor([&] { return pactl({"info"}); }, 5000));
        QVERIFY(pactl({"load-module", "module-null-sink", "sink_name=first", "norewinds=1"}));
        QVERIFY(pactl({"load-module", "module-null-sink", "sink_name=second", "norewinds=1", "sink_properties=device.description=Second"}));
        QVERIFY(pactl({"set-default-sink", "first"}));
        // Recordings of the default source follow it about; this one stays put.
        QVERIFY(pactl({"load-module", "module-null-sink", "sink_name=third"}));
        QVERIFY(pactl({"set-default-source", "third.monitor"}));
        QList<QProcess *> recorders;
        for (const QString sink : {QStringLiteral("first"), QStringLiteral("second")}) {
            auto *r = new QProcess(this);
            r->setProcessEnvironment(env);
            r->start(QStringLiteral("parecord"), {"--device=" + sink + ".monitor", "--file-format=wav", "--format=s16le", "--channels=1",
                                                  QStringLiteral("--rate=%1").arg(kCaptureRate), "--latency-msec=10",
                                                  runtime.filePath(sink + ".wav")});
            recorders << r;
        }
        QVERIFY(QTest::qWaitFor([&] { return QFileInfo(runtime.filePath("second.wav")).size() > 4410; }, 5000));
        QProcess program;
        program.setProcessEnvironment(env);
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        program.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--switch-output"), runtime.path()});
        QVERIFY(program.waitForFinished(10'000));
        QCOMPARE(program.exitCode(), 0);
        for (QProcess *r : recorders) {
            r->terminate();
            r->waitForFinished(3000);
        }
        for (const QString sink : {QStringLiteral("first"), QStringLiteral("second")}) {
            const QList<Sound> sounds = soundsIn(samples16(readFile(runtime.filePath(sink + ".wav"))).value_or(QList<qint16>()));
            QVERIFY2(sounds.size() == 1, sink.toUtf8() + ": " + describe(sounds));
        }
    }

    void aBrokenFileIsSkippedAndTheProgramEnds_data()
    {
        QTest::addColumn<QByteArray>("broken");
        const QByteArray good = readFile(file(QStringLiteral("か.wav")));
        QByteArray claims2GB = good;
        qToLittleEndian(quint32(0x7FFFFFF0), claims2GB.data() + 4);
        qToLittleEndian(quint32(0x7FFFFFC0), claims2GB.data() + 40);
        QTest::newRow("cut off at 10,000 bytes") << good.left(10'000);
        QTest::newRow("a bare \"RIFF\"") << QByteArray("RIFF");
        QTest::newRow("a header claiming 2 GB") << claims2GB;
    }

    void aBrokenFileIsSkippedAndTheProgramEnds()
    {
        QFETCH(QByteArray, broken);
        QTemporaryDir home;
        for (const QString ch : {QStringLiteral("あ"), QStringLiteral("い")})
            QVERIFY(QFile::copy(file(ch + ".wav"), home.filePath(ch + ".wav")));
        QVERIFY(writeFile(home.filePath(QStringLiteral("か.wav")), broken));
        QProcess program;
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        QElapsedTimer took;
        const QList<Sound> sounds = soundsWhile(file(QStringLiteral("capture.wav")), [&] {
            took.start();
            program.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--read-and-quit"), home.path()});
            QVERIFY(program.waitForFinished(10'000));
        });
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        // Three steps of 0.8 s, a start and an end.
        QVERIFY2(took.elapsed() < 6'000, qPrintable(QString::number(took.elapsed())));
        QVERIFY2(sounds.size() == 2 && std::abs(sounds[1].onset - sounds[0].onset - 1.6) <= 0.1, describe(sounds));
    }
};

int main(int argc, char **argv)
{
    if (argc == 3 && QByteArrayView(argv[1]) == "--read-and-quit")
        return readAndQuit(argc, argv);
    if (argc == 3 && QByteArrayView(argv[1]) == "--switch-output")
        return switchOutput(argc, argv);
    QApplication app(argc, argv);
    TestRealAudio test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_real_audio.moc"
