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
            QTest::qWait(300); // the output's last blocks
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
        QTest::addColumn<Files>("files"); // else あ (440 Hz) and い (660 Hz), 0.3 s, and う (330 Hz), 2 s
        QTest::addColumn<QList<int>>("pitches"); // of the sounds heard, in order; none: not looked at
        QTest::addColumn<bool>("cut");           // う heard for less than its 2 s, the next step on
        // A broken file is refused like every other (test_sound_files), and
        // the reading goes on. (How even the pace is: bench_latency.)
        QTest::newRow("a header claiming 2 GB is skipped")
            << "あかい" << Files{{"か.wav", toneWav(550, 0.5).replace(4, 4, QByteArray::fromHex("f0ffff7f")).replace(40, 4, QByteArray::fromHex("c0ffff7f"))}}
            << QList<int>{440, 660} << false;
        QTest::newRow("the next character cuts a sound off") << "うい" << Files{} << QList<int>{} << true;
        QTest::newRow("a character without a sound cuts it off") << "う_" << Files{} << QList<int>{330} << true;
        QTest::newRow("a replaced file is heard at the next reading")
            << "あ|あ" << Files{{"あ.wav.new", toneWav(660, 0.5)}} << QList<int>{440, 660} << false;
        // The spoken reading: every mora in order, each a tone of its own
        // pitch (う outlasting its beat). How each sound is placed and cut
        // is test_playback's to say, on the rendering; how close each mora
        // comes to its beat bench_playback's: a busy machine can hold the
        // output up.
        Files spoken{{"あ.wav", toneWav(300, 0.05)}, {"い.wav", toneWav(500, 0.05)}, {"う.wav", toneWav(700, 0.5)},
                     {"え.wav", toneWav(900, 0.05)}, {"お.wav", toneWav(1100, 0.05)}};
        spoken["Talk.ini"] = "[SPEECH]\nSpoken=1\nRate=6\nAccent=0\n";
        QTest::newRow("spoken, a sentence with a pause") << "あえう、いお_" << spoken << QList<int>{300, 900, 700, 500, 1100} << false;
        spoken["Talk.ini"] = "[SPEECH]\nSpoken=1\nRate=12\nAccent=0\n";
        QTest::newRow("spoken, one mora, shorter than the output holds") << "い" << spoken << QList<int>{500} << false;
    }

    // A whole reading through the "読む" button of the program, with its real
    // player and clock; then "終了" ends the process.
    void reading()
    {
        QFETCH(QString, text);
        QFETCH(Files, files);
        QFETCH(QList<int>, pitches);
        QFETCH(bool, cut);
        QTemporaryDir home;
        for (const auto &[name, bytes] : Files{{"あ.wav", toneWav(440, 0.3)}, {"い.wav", toneWav(660, 0.3)}, {"う.wav", toneWav(330, 2.0)}}.asKeyValueRange())
            files.insert(name, files.value(name, bytes)); // a row's own file first
        for (auto f = files.cbegin(); f != files.cend(); ++f)
            QVERIFY(writeFile(home.filePath(f.key()), f.value()));
        Ran ran;
        const QList<qint16> heard = recordingWhile(home.filePath(QStringLiteral("capture")), [&] { // not a "*.wav" the program reads
            ran = runProgram(QCoreApplication::applicationFilePath(), {QStringLiteral("--read-and-quit"), home.path(), text});
        });
        QVERIFY2(ran.code == 0, ran.err.constData()); // ended by "終了", neither crashed nor hung
        // Each mora its own onset (after 20 ms of quiet); a sound's end, after 0.15 s.
        const QList<Sound> sounds = soundsIn(heard), onsets = soundsIn(heard, 0.02);
        const QByteArray got = describe(onsets);
        if (!pitches.isEmpty()) {
            QVERIFY2(onsets.size() == pitches.size(), got);
            for (qsizetype i = 0; i < onsets.size(); ++i)
                QVERIFY2(std::abs(onsets[i].hertz - pitches[i]) < 60, got);
        }
        // Cut off at its next step, whenever that comes, not played whole.
        QVERIFY2(!sounds.isEmpty() && (!cut || sounds.last().end - sounds[0].onset < 1.7), describe(sounds));
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
        const QList<Sound> sounds = soundsIn(recordingWhile(runtime.filePath(QStringLiteral("second.wav")), [&] {
            QtWavePlayer player;
            QTRY_COMPARE(player.outputDevice().isEmpty(), false);
            player.play(runtime.filePath(QStringLiteral("a.wav")));
            QTest::qWait(600);
            QVERIFY(runTool(QStringLiteral("pactl"), {QStringLiteral("set-default-sink"), QStringLiteral("second")}));
            QTRY_COMPARE_WITH_TIMEOUT(player.outputDevice(), QStringLiteral("Second"), 3000); // its check interval
            player.play(runtime.filePath(QStringLiteral("a.wav")));
            QTest::qWait(600);
        }, QStringLiteral("second.monitor")));
        QVERIFY2(sounds.size() == 1, describe(sounds));
    }
};

KEL_TEST_CHILD("--read-and-quit", readAndQuit)
KEL_TEST(test_real_audio, TestRealAudio)

#include "test_real_audio.moc"
