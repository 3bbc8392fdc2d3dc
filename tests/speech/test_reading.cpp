// Voice feedback and reading the text aloud, on a clock the test drives:
// what is played, when, where the highlight stands, and how a reading ends;
// and the real player where no audio server answers.
#include "support/TalkFixture.h"

#include "support/AudioCapture.h"
#include "speech/QtWavePlayer.h"
#include "speech/Speech.h"

#include <QAudioDevice>
#include <QFileInfo>
#include <QLabel>
#include <QMediaDevices>
#include <QRegularExpression>
#include <QTimer>

using namespace kel;
using namespace std::chrono_literals;

// Set before the application starts its audio backend: a server that does
// not exist, even where one is running. Nothing here plays aloud.
static const bool noAudioServer = qputenv("PULSE_SERVER", "unix:/nonexistent/kelvoran-no-audio");

// Done to the window before a reading starts, or scheduled on its clock.
using Act = std::function<void(TalkFixture &)>;
Q_DECLARE_METATYPE(Act)

namespace {

QWidget *stopPanel()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QStringLiteral("frmRead") && w->isVisible())
            return w;
    return nullptr;
}

// One entry per use of the player: the text played, or "·" for silencing it.
QStringList heard(const TalkFixture &fx)
{
    QStringList out;
    for (const QString &call : fx.player.calls)
        out << (call == u"close" ? QStringLiteral("·") : QFileInfo(call).completeBaseName());
    return out;
}

// The text with its highlight once a reading is over, " wide" when the text
// panel stayed wide.
QString afterReading(TalkFixture &fx)
{
    const int height = fx.win->layout().rect(fx.ui().txtTalk).height();
    const QString panel = height == 1455 ? "" : height == kOuterHeightTwips - 2380 ? " wide" : " height " + QString::number(height);
    return fx.marked() + panel;
}

// A touch, handled between two characters.
void touch(QWidget *w, QPoint pos = {})
{
    postPress(w, pos);
    postRelease(w, pos);
}

// `action`, 0.3 s into the first character.
Act during(Act action)
{
    return [action](TalkFixture &fx) { fx.clock.after(0.3, [action, &fx] { action(fx); }); };
}

} // namespace

class TestReading : public QObject {
    Q_OBJECT
private slots:
    void voiceFilter_data()
    {
        QTest::addColumn<QString>("opt3");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("spoken");
        // The modes each voice option lets through: "E" entry, "S" selection,
        // "1" the first of two touches.
        const struct { const char *opt3, *spokenModes; } options[] = {
            {"0", "ES1"}, {"1", "ES"}, {"2", "E"}, {"3", ""}, {"7", "ES1"}};
        for (const auto &[opt3, spokenModes] : options)
            for (const char *mode : {"E", "S", "1"})
                QTest::addRow("OPT3 %s mode %s", opt3, mode) << opt3 << mode << QByteArray(spokenModes).contains(mode);
    }

    void voiceFilter()
    {
        QFETCH(QString, opt3);
        QFETCH(QString, mode);
        QFETCH(bool, spoken);
        TalkFixture fx({{"OPT3", opt3}});
        fx.addVoices({"あ"});
        fx.st().StopRead = false;
        const double before = fx.clock.seconds();
        fx.talk().speech->SpeakChar(QStringLiteral("あ"), 0.5, mode);
        QCOMPARE(heard(fx), spoken ? QStringList{"あ"} : QStringList{});
        // A suppressed call neither waits nor touches the reading's flag.
        QCOMPARE(fx.st().StopRead, spoken);
        QCOMPARE(fx.clock.seconds() - before > 0.5, spoken);
    }

    void reading_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Act>("act");
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QStringList>("heard");
        QTest::addColumn<QString>("after");
        const Act paced = [](TalkFixture &fx) {
            TalkFixture::click(fx.ui().cmdWide); // the end of the reading narrows it
            fx.clock.after(0.4, [&fx] {
                const QWidget *panel = stopPanel();
                QVERIFY(panel && panel->windowFlags().testFlags(Qt::WindowStaysOnTopHint | Qt::FramelessWindowHint));
                QCOMPARE(fx.ui().cmdRead->text() + (fx.ui().cmdRead->isEnabled() ? "" : " disabled"), "♪ disabled");
                QCOMPARE(fx.platform.beeps, 1);
                QCOMPARE(fx.marked(), "|あい_");
            });
            fx.clock.after(1.2, [&fx] { QCOMPARE(fx.marked(), "あ[い]_"); });
            fx.clock.after(2.0, [&fx] { QCOMPARE(fx.marked(), "あい[_]"); });
        };
        const Act refuseClose = [](TalkFixture &fx) {
            fx.clock.after(0.3, [] { stopPanel()->close(); });
            fx.clock.after(1.0, [] { QVERIFY(stopPanel()); });
        };
        QTest::newRow("three characters, 0.8 s each") << "あい_" << paced << 2.4 << QStringList{"あ", "い", "·"} << "あい[_]";
        QTest::newRow("empty text") << "" << Act([](TalkFixture &) {}) << 0.0 << QStringList{} << "[_]";
        QTest::newRow("stop label: ends after the current character") << "あいう_"
            << during([](TalkFixture &) { touch(stopPanel()->findChild<QLabel *>(QStringLiteral("lblLabel"))); })
            << 0.8 << QStringList{"あ"} << "あいう[_]";
        QTest::newRow("stop panel refuses its close command") << "あい" << refuseClose << 1.6 << QStringList{"あ", "い"} << "あい[_]";
        // The length is taken once: a shortened text still takes every counted step.
        QTest::newRow("text shortened") << "あいうえ" << during([](TalkFixture &fx) { fx.box()->setText("あ"); })
                                        << 3.2 << QStringList{"あ", "·", "·", "·"} << "あ[_]";
        QTest::newRow("text emptied") << "あいうえ" << during([](TalkFixture &fx) { fx.box()->setText(""); })
                                      << 0.8 << QStringList{"あ"} << "[_]";
        QTest::newRow("diary showing: stays wide") << "あ" << Act([](TalkFixture &fx) { fx.ui().fraDay->show(); })
                                                   << 0.8 << QStringList{"あ"} << "あ[_] wide";
        // With files there that naive names of "/" and of a line break would reach.
        QTest::newRow("slash and line break are silent") << "/x\nA" << Act([](TalkFixture &fx) { fx.addVoices({"", "\n"}); })
                                                         << 3.2 << QStringList{"·", "·", "·", "·"} << "/x\nA[_]";
    }

    void reading()
    {
        QFETCH(QString, text);
        QFETCH(Act, act);
        QFETCH(double, seconds);
        TalkFixture fx({{"Beep", "1"}});
        fx.addVoices({"あ", "い", "う"});
        fx.setText(text, 0);
        act(fx);
        const double start = fx.clock.seconds();
        TalkFixture::click(fx.ui().cmdRead);
        const double took = fx.clock.seconds() - start;
        QVERIFY2(took >= seconds && took < seconds + 0.01, qPrintable(QString::number(took)));
        QTEST(heard(fx), "heard");
        QTEST(afterReading(fx), "after");
        QVERIFY(!stopPanel());
        QCOMPARE(fx.ui().cmdRead->text(), QStringLiteral("読む"));
        QVERIFY(fx.ui().cmdRead->isEnabled());
        QCOMPARE(fx.ui().cmdWide->text(), QStringLiteral("広げる"));
    }

    void ownRecordingBeforeTheDefaultSet()
    {
        // あ recorded by the user, あ and い in the installed set, う nowhere.
        TalkFixture fx;
        fx.addVoices({"あ"});
        QTemporaryDir set;
        for (const char *name : {"あ.wav", "い.wav"})
            QVERIFY(test::writeFile(set.filePath(QString::fromUtf8(name)), "RIFF"));
        fx.st().SoundSetPath = set.path();
        fx.setText("あいう", 0);
        TalkFixture::click(fx.ui().cmdRead);
        QCOMPARE(fx.player.calls, (QStringList{"play " + fx.home.filePath("あ.wav"),
                                               "play " + set.filePath("い.wav"), "close"}));
    }

    // The program's own clock: during a wait (0.8 s per character read) the
    // window is painted and timers run, while user input waits its turn.
    void waitsKeepPainting()
    {
        struct Painted : QWidget {
            int paints = 0;
            void paintEvent(QPaintEvent *) override { ++paints; }
        } w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCoreApplication::processEvents();
        const int before = w.paints;
        bool timerRan = false;
        QTimer::singleShot(0, &w, [&timerRan] { timerRan = true; });
        w.update();
        SteadyClock clock;
        waitMoreThan(clock, clock.now(), 0.05);
        QVERIFY(w.paints > before);
        QVERIFY(timerRan);
    }

    void playerWithoutAudioServerWaitsForNothing()
    {
        QVERIFY2(noAudioServer && QMediaDevices::audioOutputs().isEmpty(), "an audio output answered");
        // Whatever the backend said while it found no server belongs to
        // start-up; playing says nothing.
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
        QTemporaryDir dir;
        QVERIFY(test::writeFile(dir.filePath(QStringLiteral("あ.wav")), test::toneWav(440, 1.0)));
        SteadyClock clock;
        const Nanos begin = clock.now();
        {
            QtWavePlayer player;
            // Each step long enough for the sound to load and an output to be sought.
            for (const char *name : {"あ.wav", "missing.wav", "あ.wav", "あ.wav"}) {
                const Nanos start = clock.now();
                player.play(dir.filePath(QString::fromUtf8(name)));
                QVERIFY(clock.now() - start < 50ms);
                test::step(0.15);
            }
            player.close();
        }
        // Four steps of 0.15 s: the shutdown, too, waits for no sound.
        QVERIFY(clock.now() - begin < 1100ms);
    }
};

QTEST_MAIN(TestReading)
#include "test_reading.moc"
