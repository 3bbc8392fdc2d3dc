// What the program really sounds like, heard through a null sink of the
// sound server ctest starts (alone: under tools/with-pulse); without a
// server it fails, saying so.
// The reading holds the program's thread without processing events between
// characters: the sounds must play all the same.
//
// Run as "kel_tests_ui --read-and-quit DIR TEXT" it is the program itself:
// it reads each "|"-separated part of TEXT through "読む", after each part
// putting every file "X.new" in DIR in the place of "X" (a new recording),
// then touches "終了", and must end.

#include "support/TestMain.h"
#include "support/AudioCapture.h"
#include "support/RealProgram.h"
#include "speech/QtWavePlayer.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

using namespace kel;
using namespace kel::test;

using Files = QMap<QString, QByteArray>;

namespace {

int readAndQuit(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QDir home(QString::fromLocal8Bit(argv[2]));
    RealProgram program(home.path());
    QTimer::singleShot(0, &program.win, [&] {
        for (const QString &text : QString::fromUtf8(argv[3]).split(u'|')) {
            program.win.controls().txtTalk->setText(text);
            click(program.win.controls().cmdRead);
            for (const QString &name : home.entryList({QStringLiteral("*.new")}))
                std::rename(QFile::encodeName(home.filePath(name)), QFile::encodeName(home.filePath(name.chopped(4))));
        }
        click(program.win.controls().cmdEnd);
    });
    return app.exec();
}

} // namespace

class TestRealAudio : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { KEL_REQUIRE_NULL_SINK(); }

    void reading_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Files>("files"); // besides あ and い (0.3 s) and う (2 s)
        QTest::addColumn<QList<double>>("heard"); // each sound's onset after the first one's, and its length
        // A character each 0.8 s; a broken file is refused like every other
        // (test_sound_files), and the reading goes on.
        QTest::newRow("a header claiming 2 GB is skipped")
            << "あかい" << Files{{"か.wav", toneWav(550, 0.5).replace(4, 4, QByteArray::fromHex("f0ffff7f")).replace(40, 4, QByteArray::fromHex("c0ffff7f"))}}
            << QList<double>{0, 0.3, 1.6, 0.3};
        QTest::newRow("the next character cuts a sound off") << "うい" << Files{} << QList<double>{0, 1.1};
        QTest::newRow("a character without a sound cuts it off") << "う_" << Files{} << QList<double>{0, 0.8};
        QTest::newRow("a replaced file is heard at the next reading")
            << "あ|あ" << Files{{"あ.wav.new", toneWav(660, 0.5)}} << QList<double>{0, 0.3, 0.8, 0.5};
    }

    // A whole reading through the "読む" button of the program, with its real
    // player and clock; then "終了" ends the process.
    void reading()
    {
        QFETCH(QString, text);
        QFETCH(Files, files);
        QFETCH(QList<double>, heard);
        QTemporaryDir home;
        files.insert(Files{{"あ.wav", toneWav(440, 0.3)}, {"い.wav", toneWav(660, 0.3)}, {"う.wav", toneWav(330, 2.0)}});
        for (auto f = files.cbegin(); f != files.cend(); ++f)
            QVERIFY(writeFile(home.filePath(f.key()), f.value()));
        QProcess program;
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        const QList<Sound> sounds = soundsWhile(home.filePath(QStringLiteral("capture")), [&] { // not a "*.wav" the program reads
            program.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--read-and-quit"), home.path(), text});
            QVERIFY(program.waitForFinished(10'000));
        });
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QVERIFY2(sounds.size() * 2 == heard.size(), describe(sounds));
        for (qsizetype i = 0; i < sounds.size(); ++i)
            QVERIFY2(std::abs(sounds[i].onset - sounds[0].onset - heard[2 * i]) <= 0.1
                         && std::abs(sounds[i].end - sounds[i].onset - heard[2 * i + 1]) <= 0.1, describe(sounds));
    }

    // A new default output (a USB speaker plugged in) is used from the next
    // sound on, without a restart. On an audio server of the test's own, so
    // that changing its default disturbs nobody: this process has played
    // nothing yet, and its player is the first to connect.
    void aNewDefaultOutputIsTakenUp()
    {
        QTemporaryDir runtime;
        QVERIFY(writeFile(runtime.filePath(QStringLiteral("a.wav")), toneWav(440, 0.3)));
        const QByteArray server = qgetenv("PULSE_SERVER");
        const auto restore = qScopeGuard([&] { qputenv("PULSE_SERVER", server); qunsetenv("PULSE_RUNTIME_PATH"); });
        qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(runtime.filePath(QStringLiteral("native"))));
        qputenv("PULSE_RUNTIME_PATH", QFile::encodeName(runtime.path()));
        QProcess daemon;
        daemon.start(QStringLiteral("pulseaudio"), {"-n", "--daemonize=no", "--use-pid-file=no", "--log-level=error",
                                                     "-L", "module-null-sink sink_name=first norewinds=1",
                                                     "-L", "module-null-sink sink_name=second norewinds=1 sink_properties=device.description=Second",
                                                     "-L", "module-native-protocol-unix socket=" + runtime.filePath(QStringLiteral("native"))});
        const auto stop = qScopeGuard([&] { daemon.kill(); daemon.waitForFinished(2000); });
        QVERIFY(QTest::qWaitFor([&] { return bool(runTool(QStringLiteral("pactl"), {QStringLiteral("set-default-sink"), QStringLiteral("first")})); }, 5000));
        // Heard on "second" once: the sound after the switch.
        const QList<Sound> sounds = soundsWhile(runtime.filePath(QStringLiteral("second.wav")), [&] {
            QtWavePlayer player;
            QTRY_COMPARE(player.outputDevice().isEmpty(), false);
            player.play(runtime.filePath(QStringLiteral("a.wav")));
            QTest::qWait(600);
            QVERIFY(runTool(QStringLiteral("pactl"), {QStringLiteral("set-default-sink"), QStringLiteral("second")}));
            QTRY_COMPARE_WITH_TIMEOUT(player.outputDevice(), QStringLiteral("Second"), 3000); // its check interval
            player.play(runtime.filePath(QStringLiteral("a.wav")));
            QTest::qWait(600);
        }, QStringLiteral("second.monitor"));
        QVERIFY2(sounds.size() == 1, describe(sounds));
    }
};

KEL_TEST_CHILD("--read-and-quit", readAndQuit)
KEL_TEST(test_real_audio, TestRealAudio)

#include "test_real_audio.moc"
