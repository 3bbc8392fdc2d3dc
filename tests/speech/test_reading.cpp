// Reading the text aloud, on a clock the test drives:
// what is played, when, where the highlight stands, and how a reading ends;
// and the real player where no audio server answers.
#include "support/TalkFixture.h"

#include "support/AudioCapture.h"
#include "speech/FrmRead.h"
#include "speech/QtWavePlayer.h"
#include "speech/Speech.h"

#include <QAudioDevice>
#include <QDir>
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

// One entry per use of the player: the file played, without ".wav" and
// from the program folder, or "·" for silencing it.
QStringList heard(const TalkFixture &fx)
{
    QStringList out;
    for (const QString &call : fx.player.calls)
        out << (call == u"close" ? QStringLiteral("·") : call.mid(6 + fx.home.path().size()).chopped(4));
    return out;
}

// What the user sees of a reading: the text with its highlight, " wide" when
// the text panel is wide, the stop panel while it shows, and the buttons
// "読む" and "広げる" when they are anything else.
QString seen(TalkFixture &fx)
{
    const int height = fx.win->layout().rect(fx.ui().txtTalk).height();
    const QString panel = height == 1455 ? "" : height == kOuterHeightTwips - 2380 ? " wide" : " height " + QString::number(height);
    const QString buttons = fx.ui().cmdRead->text() + (fx.ui().cmdRead->isEnabled() ? "" : " disabled") + " " + fx.ui().cmdWide->text();
    return fx.marked() + panel + (stopPanel() ? " stop panel" : "") + (buttons == u"読む 広げる" ? "" : " " + buttons);
}

} // namespace

class TestReading : public QObject {
    Q_OBJECT
private slots:
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
                QVERIFY(stopPanel() && stopPanel()->windowFlags().testFlags(Qt::WindowStaysOnTopHint | Qt::FramelessWindowHint));
                QCOMPARE(seen(fx) + " beeps " + QString::number(fx.platform.beeps), "|あい_ wide stop panel ♪ disabled 狭める beeps 1");
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
        QTest::newRow("stop panel refuses its close command") << "あい" << refuseClose << 1.6 << QStringList{"あ", "い"} << "あい[_]";
        // The length is taken once: a shortened text still takes every counted step.
        QTest::newRow("text shortened") << "あいうえ" << Act([](TalkFixture &fx) { fx.clock.after(0.3, [&fx] { fx.box()->setText("あ"); }); })
                                        << 3.2 << QStringList{"あ", "·", "·", "·"} << "あ[_]";
        QTest::newRow("text emptied") << "あいうえ" << Act([](TalkFixture &fx) { fx.clock.after(0.3, [&fx] { fx.box()->setText(""); }); })
                                      << 0.8 << QStringList{"あ"} << "[_]";
        QTest::newRow("diary showing: stays wide") << "あ" << Act([](TalkFixture &fx) { fx.talk().screens->show(Screen::EntryOpen); })
                                                   << 0.8 << QStringList{"あ"} << "あ[_] wide";
        // With files there that naive names of "/" and of a line break would reach.
        QTest::newRow("slash and line break are silent") << "/x\nA" << Act([](TalkFixture &fx) { fx.addVoices({"", "\n"}); })
                                                         << 3.2 << QStringList{"·", "·", "·", "·"} << "/x\nA[_]";
        const Act ownFirst = [](TalkFixture &fx) { // あ recorded by the user, あ and い in the installed set, う nowhere
            QVERIFY(QFile::remove(fx.path("い.wav")) && QFile::remove(fx.path("う.wav")) && QDir(fx.home.path()).mkdir("set"));
            fx.addVoices({"set/あ", "set/い"});
            fx.st().SoundSetPath = fx.path("set");
        };
        // "広げる" narrows the text widened for the reading, and a pick on the
        // board then ends the reading with its own voice, after the character
        // being read.
        const Act pick = [](TalkFixture &fx) {
            fx.addVoices({"お"});
            fx.clock.after(0.3, [&fx] { postClick(fx.ui().cmdWide); });
            fx.clock.after(0.9, [&fx] {
                FlexGrid *g = fx.ui().grdBoard;
                for (int c = 0; c < g->Cols(); ++c)
                    if (g->TextMatrix(4, c) == u"お")
                        postClick(g->viewport(), g->cellRect(4, c).center());
            });
        };
        QTest::newRow("a pick on the board stops it") << "あいうえ" << pick << 2.1 << QStringList{"あ", "い", "お"} << "あいうえ[_]";
        QTest::newRow("own recording before the installed set") << "あいう" << ownFirst << 2.4 << QStringList{"あ", "set/い", "·"} << "あいう[_]";
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
        QTEST(seen(fx), "after");
    }

    // Where the stop panel goes: within the main window's width and on its
    // screen, however narrow the window or wherever it stands.
    void stopPanelPlace_data()
    {
        QTest::addColumn<QRect>("wanted");
        QTest::addColumn<QRect>("window");
        QTest::addColumn<QRect>("placed"); // on a screen of 1024 x 768
        QTest::newRow("wider than the window: as wide, over it") << QRect(2, 550, 790, 128) << QRect(0, 0, 786, 570) << QRect(0, 550, 786, 128);
        QTest::newRow("window at the screen's right edge") << QRect(250, 600, 790, 128) << QRect(234, 0, 790, 600) << QRect(234, 600, 790, 128);
        QTest::newRow("narrow window: as narrow") << QRect(900, 700, 300, 128) << QRect(800, 0, 224, 768) << QRect(800, 640, 224, 128);
        QTest::newRow("below the screen: moved up") << QRect(0, 700, 786, 128) << QRect(0, 0, 786, 900) << QRect(0, 640, 786, 128);
        QTest::newRow("no window known: the screen only") << QRect(500, 0, 790, 128) << QRect() << QRect(234, 0, 790, 128);
    }

    void stopPanelPlace()
    {
        QFETCH(QRect, wanted);
        QFETCH(QRect, window);
        QTEST(FrmRead::placed(wanted, window, QRect(0, 0, 1024, 768)), "placed");
    }

    // The real clock and player where no audio server answers: playing
    // hands the sound over without waiting on the event loop, during each
    // wait (0.8 s per character read, 0.15 s here) the window is painted and
    // timers run, and the player shuts down. How long each step takes is
    // bench_limits' to say: a busy machine may stretch it.
    void realWaitsWithoutAudioServer()
    {
        QVERIFY2(noAudioServer && QMediaDevices::audioOutputs().isEmpty(), "an audio output answered");
        struct Painted : QWidget {
            int paints = 0;
            void paintEvent(QPaintEvent *) override { ++paints; }
        } w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTemporaryDir dir;
        QVERIFY(test::writeFile(dir.filePath(QStringLiteral("あ.wav")), test::toneWav(440, 1.0)));
        // Whatever the backend said while it found no server belongs to
        // start-up; playing says nothing.
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
        SteadyClock clock;
        {
            QtWavePlayer player;
            // Each step long enough for the sound to load and an output to be sought.
            for (const char *name : {"あ.wav", "missing.wav", "あ.wav", "あ.wav"}) {
                const int paints = w.paints;
                bool timerRan = false;
                QTimer::singleShot(0, &w, [&timerRan] { timerRan = true; });
                w.update();
                const Nanos start = clock.now();
                player.play(dir.filePath(QString::fromUtf8(name)));
                // play runs no event loop of its own: the window's turn comes in the wait.
                QVERIFY(w.paints == paints && !timerRan);
                waitMoreThan(clock, start, 0.15);
                QVERIFY(w.paints > paints && timerRan);
                QVERIFY(clock.now() - start > 150ms);
            }
            player.close();
        }
    }
};

QTEST_MAIN(TestReading)
#include "test_reading.moc"
