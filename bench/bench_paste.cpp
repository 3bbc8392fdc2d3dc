// From handing the text box 5,242,880 characters (10 MB of kana, in one line
// or in lines of 80) to the moment "読む" starts the first sound, with one
// board touch in between: each way text comes in, median of the runs.
#include "BenchUtil.h"
#include "support/TalkFixture.h"
#include "support/TextInto.h"

#include <QClipboard>

using namespace kel;

namespace {

// Ends the reading at its first sound: only the start is measured.
class FirstSoundPlayer final : public WavePlayer {
public:
    void play(const QString &) override
    {
        if (!started) {
            started = true;
            *stop = true;
        }
    }
    void close() override {}
    bool *stop = nullptr;
    bool started = false;
};

void hand(TalkFixture &fx, const QString &way, const QString &big)
{
    TalkBox *box = fx.box();
    if (way == u"貼る") {
        QGuiApplication::clipboard()->setText(big);
        TalkFixture::click(fx.ui().cmdPaste);
    } else {
        test::textInto(box, way, big);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    constexpr int kRuns = 7;
    const qsizetype count = 10 * 1024 * 1024 / 2;
    for (const bool lines : {false, true}) {
        QString big(count, u'あ');
        if (lines)
            for (qsizetype i = 79; i < count - 1; i += 80)
                big[i] = u'\n';
        for (const QString way : {"貼る", "Ctrl+V", "drop", "input method"}) {
            std::vector<double> ms, handMs, touchMs;
            for (int run = 0; run < kRuns; ++run) {
                TalkFixture fx({{"OPT1", "2"}, {"OPT3", "3"}});
                FirstSoundPlayer player;
                player.stop = &fx.st().StopRead;
                fx.win->talk().sv.player = &player;
                fx.addVoices({QStringLiteral("あ")});
                fx.setText(QStringLiteral("あい_"), 2, 1);
                QGuiApplication::clipboard()->clear();
                QCoreApplication::processEvents();

                // "貼る" shows with the wide text panel only, as a user finds it.
                if (way == u"貼る")
                    TalkFixture::click(fx.ui().cmdWide);
                QElapsedTimer t;
                t.start();
                hand(fx, way, big);
                fx.win->repaint();
                handMs.push_back(t.nsecsElapsed() / 1e6);
                touchCell(fx.ui().grdBoard, 0, 0);
                fx.win->repaint();
                touchMs.push_back(t.nsecsElapsed() / 1e6);
                QTest::mousePress(fx.ui().cmdRead, Qt::LeftButton);
                QTest::mouseRelease(fx.ui().cmdRead, Qt::LeftButton);
                ms.push_back(t.nsecsElapsed() / 1e6);
                if (!player.started || fx.box()->text().size() > TalkBox::kMaxLength + 2)
                    std::printf("  (run %d: no sound started or the limit did not hold)\n", run);
            }
            const QString what = QStringLiteral("%1, %2: to the first sound").arg(way, lines ? "lines" : "one line");
            bench::report(qPrintable(what), ms);
            bench::report("    of which: the text handed in and drawn", handMs);
            bench::report("    of which: and the touch", touchMs);
        }
    }
    return 0;
}
