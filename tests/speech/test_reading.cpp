// Reading the text aloud, on a clock the test drives: what is played, when,
// where the highlight stands, and how a reading ends; kanji heard by their
// reading a step a mora (the default), and the spoken reading on an even
// beat ([SPEECH] Spoken=1; its page: test_texts); and the real player where
// no audio server answers.
#include "support/TestMain.h"
#include "support/TalkFixture.h"

#include "support/AudioCapture.h"
#include "speech/FrmRead.h"
#include "speech/QtWavePlayer.h"
#include "speech/Speech.h"
#include "speech/SpeechSettings.h"

#include <QAudioDevice>
#include <QDir>
#include <QMediaDevices>
#include <QRegularExpression>
#include <QTimer>

using namespace kel;
using namespace std::chrono_literals;

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

// The player's calls with the program folder and ".wav" left out of each
// path: "play あ", "close", "timeline き@0 よ@3675 end 7350".
QStringList heard(const TalkFixture &fx)
{
    QStringList out;
    for (QString call : fx.player.calls)
        out << call.replace(fx.home.path() + u'/', QString()).replace(QStringLiteral(".wav"), QString());
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
public:
    // Before the application starts its audio backend: a server that does
    // not exist, even where one is running. Nothing here plays aloud.
    static void initMain() { qputenv("PULSE_SERVER", "unix:/nonexistent/kelvoran-no-audio"); }

private slots:
    void reading_data()
    {
        QTest::addColumn<QString>("settings"); // [SPEECH] keys, "Key=value;..."
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("voices");
        QTest::addColumn<Act>("act");
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QStringList>("heard");
        QTest::addColumn<QStringList>("midway"); // the highlight in the middle of each step or beat
        QTest::addColumn<QString>("after");
        const QStringList aiu{"あ", "い", "う"};
        const Act none = [](TalkFixture &) {};
        const Act paced = [](TalkFixture &fx) {
            TalkFixture::click(fx.ui().cmdWide); // the end of the reading narrows it
            fx.clock.after(0.4, [&fx] {
                QVERIFY(stopPanel() && stopPanel()->windowFlags().testFlags(Qt::WindowStaysOnTopHint | Qt::FramelessWindowHint));
                QCOMPARE(seen(fx) + " beeps " + QString::number(fx.platform.beeps), "|あい_ wide stop panel ♪ disabled 狭める beeps 1");
            });
        };
        const Act refuseClose = [](TalkFixture &fx) {
            fx.clock.after(0.3, [] { stopPanel()->close(); });
            fx.clock.after(1.0, [] { QVERIFY(stopPanel()); });
        };
        QTest::newRow("three characters, 0.8 s each") << "" << "あい_" << aiu << paced << 2.4
                                                      << QStringList{"play あ", "play い", "close"}
                                                      << QStringList{"|あい_", "あ[い]_", "あい[_]"} << "あい[_]";
        QTest::newRow("empty text") << "" << "" << aiu << none << 0.0 << QStringList{} << QStringList{} << "[_]";
        QTest::newRow("stop panel refuses its close command")
            << "" << "あい" << aiu << refuseClose << 1.6 << QStringList{"play あ", "play い"} << QStringList{} << "あい[_]";
        // The length is taken once: a shortened text still takes every counted step.
        QTest::newRow("text shortened") << "" << "あいうえ" << aiu
                                        << Act([](TalkFixture &fx) { fx.clock.after(0.3, [&fx] { fx.box()->setText("あ"); }); })
                                        << 3.2 << QStringList{"play あ", "close", "close", "close"} << QStringList{} << "あ[_]";
        QTest::newRow("text emptied") << "" << "あいうえ" << aiu
                                      << Act([](TalkFixture &fx) { fx.clock.after(0.3, [&fx] { fx.box()->setText(""); }); })
                                      << 0.8 << QStringList{"play あ"} << QStringList{} << "[_]";
        // Revising today's entry: the diary panel shows.
        const Act revising = [](TalkFixture &fx) {
            for (QWidget *b : {fx.ui().cmdSamp, fx.ui().cmdDec, fx.ui().cmdDec, fx.ui().cmdRevise})
                TalkFixture::click(b);
            fx.setText("あ", 0);
        };
        QTest::newRow("diary showing: stays wide") << "" << "あ" << aiu << revising << 0.8 << QStringList{"play あ"}
                                                   << QStringList{} << "あ[_] wide";
        // With files there that naive names of "/" and of a line break would reach.
        QTest::newRow("slash and line break are silent") << "" << "/x\nA" << QStringList{"", "\n"} << none << 3.2
                                                         << QStringList(4, "close") << QStringList{} << "/x\nA[_]";
        const Act ownFirst = [](TalkFixture &fx) { // あ recorded by the user, あ and い in the installed set, う nowhere
            QVERIFY(QDir(fx.home.path()).mkdir("set"));
            fx.addVoices({"set/あ", "set/い"});
            fx.st().SoundSetPath = fx.path("set");
        };
        // "広げる" narrows the text widened for the reading, and a pick on the
        // board then ends the reading with its own voice, after the character
        // being read.
        const Act pick = [](TalkFixture &fx) {
            fx.clock.after(0.3, [&fx] { postClick(fx.ui().cmdWide); });
            fx.clock.after(0.9, [&fx] {
                FlexGrid *g = fx.ui().grdBoard;
                for (int c = 0; c < g->Cols(); ++c)
                    if (g->TextMatrix(4, c) == u"お")
                        postClick(g->viewport(), g->cellRect(4, c).center());
            });
        };
        QTest::newRow("a pick on the board stops it") << "" << "あいうえ" << QStringList{"あ", "い", "う", "お"} << pick << 2.1
                                                      << QStringList{"play あ", "play い", "play お"} << QStringList{}
                                                      << "あいうえ[_]";
        QTest::newRow("own recording before the installed set") << "" << "あいう" << QStringList{"あ"} << ownFirst << 2.4
                                                                << QStringList{"play あ", "play set/い", "close"}
                                                                << QStringList{} << "あいう[_]";
        const QStringList kana{"き", "よ", "お", "わ", "み", "ず", "を", "は"};
        // Default: 水 has no sound, so it takes a step for み and one for ず,
        // the highlight staying put; は has its own sound and stays は.
        QTest::newRow("kanji by reading, step a mora")
            << "" << "水は_" << kana << none << 3.2 << QStringList{"play み", "play ず", "play は", "close"}
            << QStringList{"|水は_", "|水は_", "水[は]_", "水は[_]"} << "水は[_]";
        // A counter after digits says its own part: the digits their own
        // sounds, 人 its にん (not the last mora of さんにん).
        QTest::newRow("digits and a counter, step a mora")
            << "" << "3人_" << QStringList{"3", "に", "ん"} << none << 3.2
            << QStringList{"play 3", "play に", "play ん", "close"}
            << QStringList{"|3人_", "3[人]_", "3[人]_", "3人[_]"} << "3人[_]";
        // Spoken: one timeline at 8 beats a second (5512.5 samples); きょ has
        // no sound of its own, so the nearest one, き, takes its beat.
        QTest::newRow("spoken, pair without a sound")
            << "Spoken=1;Accent=0" << "きょうは水_" << kana << none << 5 / 8.0
            << QStringList{"timeline き@0 お@5513 わ@11025 み@16538 ず@22050 end 27563"}
            << QStringList{"[きょ]うは水_", "きょ[う]は水_", "きょう[は]水_", "きょうは[水]_", "きょうは[水]_"} << "きょうは水[_]";
        // A mora the set lacks sounds as its nearest, step by step (ゔぁ as ば,
        // てょ as ちょ or else ち, a pair outside the table as its first kana),
        // and never as two kana; ぬ, with nothing near, is silent.
        QTest::newRow("spoken, the nearest sound")
            << "Spoken=1;Accent=0" << "ゔぁてょさぃぬ_" << QStringList{"ば", "ち", "さ"} << none << 4 / 8.0
            << QStringList{"timeline ば@0 ち@5513 さ@11025 ·@16538 end 22050"} << QStringList{} << "ゔぁてょさぃぬ[_]";
        QTest::newRow("spoken, pair with its own sound, rate 10")
            << "Spoken=1;Rate=10;Accent=0" << "きょう、_" << QStringList{"きょ", "お"} << none << 0.5
            << QStringList{"timeline きょ@0 お@4410 ·@8820 end 22050"}
            << QStringList{"[きょ]う、_", "きょ[う]、_", "きょう[、]_"} << "きょう、[_]";
        // With its accent (the default): はし low-high before を, high-low
        // before で, each mora from its height beside it or, lacking one,
        // its own sound a step off; the statement falls at its end.
        const QStringList heights{"は", "は.high", "は.low", "し", "し.high", "し.low", "お", "で", "わ", "た", "る", "べ"};
        QTest::newRow("accent: 橋を渡る")
            << "Spoken=1" << "橋を渡る_" << heights << none << 6 / 8.0
            << QStringList{"timeline は.low@0 し.high@5513 お@11025^-2 わ@16538^-2.7*0.95 た@22050^1.3*0.95 る@27563^-0.2*0.807 end 33075"}
            << QStringList{"[橋]を渡る_", "[橋]を渡る_", "橋[を]渡る_", "橋を[渡]る_", "橋を[渡]る_", "橋を渡[る]_"} << "橋を渡る[_]";
        QTest::newRow("accent: 箸で食べる, a step lower after an accented phrase")
            << "Spoken=1" << "箸で食べる_" << heights << none << 6 / 8.0
            << QStringList{"timeline は.high@0 し.low@5513 で@11025^-2 た@16538^-2.7*0.95 べ@22050^1.3*0.95 "
                           "る@27563^-4.2*0.807 end 33075"}
            << QStringList{"[箸]で食べる_", "[箸]で食べる_", "箸[で]食べる_", "箸で[食]べる_", "箸で食[べ]る_", "箸で食べ[る]_"}
            << "箸で食べる[_]";
        // A folder holding a mora at one height only: that height, shifted
        // to the height wanted, to no height without the accent, and as it
        // is a step a mora.
        QTest::newRow("accent: 橋を渡る from the other heights")
            << "Spoken=1" << "橋を渡る_" << QStringList{"は.high", "し.low", "お", "わ", "た", "る"} << none << 6 / 8.0
            << QStringList{"timeline は.high@0^-4 し.low@5513^4 お@11025^-2 わ@16538^-2.7*0.95 た@22050^1.3*0.95 る@27563^-0.2*0.807 end 33075"}
            << QStringList{} << "橋を渡る[_]";
        QTest::newRow("heights only, no accent") << "Spoken=1;Accent=0" << "はし_" << QStringList{"は.high", "し.low"} << none
                                                 << 2 / 8.0 << QStringList{"timeline は.high@0^-2 し.low@5513^2 end 11025"}
                                                 << QStringList{} << "はし[_]";
        QTest::newRow("height only, step a character") << "" << "は_" << QStringList{"は.low"} << none << 1.6
                                                       << QStringList{"play は.low", "close"} << QStringList{} << "は[_]";
        // A question rises at its end; す before か is short and soft.
        QTest::newRow("accent: 雨ですか？")
            << "Spoken=1" << "雨ですか？_" << QStringList{"あ", "め", "で", "す", "か"} << none << 11 / 8.0
            << QStringList{"timeline あ@0^2 め@5513^-2 で@11025^-2 す@16538^-2*0.35 ·@19294 か@22050^3.5 ·@27563 end 60638"} << QStringList{"[雨]ですか？_"} << "雨ですか？[_]";
        // A pause ends the run of downsteps: the second 雨が降る as high as the first.
        QTest::newRow("accent: a pause ends the downsteps")
            << "Spoken=1" << "雨が降る、雨が降る_" << QStringList{"あ", "め", "が", "ふ", "る"} << none << 13 / 8.0
            << QStringList{"timeline あ@0^2 め@5513^-2 が@11025^-2 ふ@16538^1.3*0.95 る@22050^-2.7*0.95 ·@27563 "
                           "あ@44100^2 め@49613^-2 が@55125^-2 ふ@60638^1.3*0.95 る@66150^-4.2*0.807 end 71663"}
            << QStringList{} << "雨が降る、雨が降る[_]";
        // The stop label touched in the second beat ends the reading at its end.
        const Act stop = [](TalkFixture &fx) {
            fx.clock.after(0.2, [] { postClick(stopPanel()->findChild<QWidget *>(QStringLiteral("lblLabel"))); });
        };
        QTest::newRow("spoken, stopped within a beat")
            << "Spoken=1" << "わわわわわ_" << kana << stop << 2 / 8.0
            << QStringList{"timeline わ@0^-2 わ@5513^2 わ@11025^2 わ@16538^2 わ@22050^0.5*0.85 end 27563", "close"}
            << QStringList{"[わ]わわわわ_", "わ[わ]わわわ_"} << "わわわわわ[_]";
    }

    void reading()
    {
        QFETCH(QString, settings);
        QFETCH(QString, text);
        QFETCH(QStringList, voices);
        QFETCH(Act, act);
        QFETCH(double, seconds);
        QFETCH(QStringList, midway);
        std::map<QString, QString> stored{{"Beep", "1"}};
        for (const QString &kv : settings.split(u';', Qt::SkipEmptyParts))
            stored["SPEECH/" + kv.section(u'=', 0, 0)] = kv.section(u'=', 1);
        TalkFixture fx(stored);
        fx.addVoices(voices);
        fx.setText(text, 0);
        act(fx);
        const double step = settings.contains("Spoken=1") ? 1.0 / (settings.contains("Rate=10") ? 10 : 8) : 0.8;
        QStringList shown;
        for (int i = 0; i < midway.size(); ++i)
            fx.clock.after(step * (i + 0.5), [&] { shown << fx.marked(); });
        const double start = fx.clock.seconds();
        TalkFixture::click(fx.ui().cmdRead);
        const double took = fx.clock.seconds() - start;
        QVERIFY2(took >= seconds && took < seconds + 0.01, qPrintable(QString::number(took)));
        QTEST(heard(fx), "heard");
        QCOMPARE(shown, midway);
        QTEST(seen(fx), "after");
    }

    // Where the stop panel goes: within the main window's width and on its
    // screen, however narrow the window or wherever it stands.
    void stopPanelPlace_data()
    {
        QTest::addColumn<QRect>("wanted");
        QTest::addColumn<QRect>("window");
        QTest::addColumn<QRect>("placed"); // on a screen of 1024 x 768
        // (A panel wider than the window, over it: test_stop_panel_wm.)
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
        QVERIFY2(QMediaDevices::audioOutputs().isEmpty(), "an audio output answered");
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

    void settings_data()
    {
        QTest::addColumn<QString>("spoken");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<bool>("isSpoken");
        QTest::addColumn<int>("isRate");
        // (Nothing stored: the reading rows without settings.)
        QTest::newRow("spoken at 2") << "1" << "2" << true << 2;
        QTest::newRow("out of range and not numbers") << "2" << "1" << false << 8;
        QTest::newRow("fractions") << "1.0" << "7.5" << false << 8;
        QTest::newRow("12 is the fastest") << "1" << "12" << true << 12;
        QTest::newRow("13 is too fast") << "1" << "13" << true << 8;
        QTest::newRow("spaces") << " 1 " << "10 " << true << 10;
    }
    void settings()
    {
        QFETCH(QString, spoken);
        QFETCH(QString, rate);
        const SpeechSettings s = readSpeechSettings([&](const QString &key) -> std::optional<QString> {
            const QString v = key == u"Spoken" ? spoken : rate;
            return v.isNull() ? std::nullopt : std::optional(v);
        });
        QTEST(s.spoken, "isSpoken");
        QTEST(s.rate, "isRate");
    }

    // A dictionary that cannot be opened: the window starts, kana read as
    // before, the kanji takes its silent step, and one line says why.
    void missingDictionary()
    {
        QTemporaryDir dir;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("KELVORAN_DICDIR", dir.filePath("none"));
        const test::Ran child = test::runProgram(QCoreApplication::applicationFilePath(), {"--read-without-dictionary"}, env);
        QCOMPARE(child.code, 0);
        QCOMPARE(child.out, "close play を close\n");
        const QStringList said = QString::fromUtf8(child.err).split(u'\n').filter("漢字");
        QVERIFY2(said.size() == 1 && said[0].contains("漢字は読み上げません"), qPrintable(said.join(u'\n')));
    }
};

// The child of missingDictionary(): reads "水を" in a window on fakes and
// prints what was played.
int readWithoutDictionary(int argc, char **argv)
{
    QApplication app(argc, argv);
    TalkFixture fx;
    fx.addVoices({"み", "ず", "を"});
    fx.setText("水を_", 0);
    TalkFixture::click(fx.ui().cmdRead);
    std::puts(qPrintable(heard(fx).join(u' ')));
    return 0;
}

KEL_TEST_CHILD("--read-without-dictionary", readWithoutDictionary)
KEL_TEST(test_reading, TestReading)
#include "test_reading.moc"
