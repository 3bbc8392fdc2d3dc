// Ten years of diary (3,650 days) in day.txt: how long "決定" on the "日記"
// row takes to show the list, and how long storing an entry takes.
// Run by hand: QT_QPA_PLATFORM=offscreen ./bench/bench_diary

#include "base/AnsiText.h"
#include "base/OutsideChange.h"
#include "diary/DiaryFile.h"
#include "diary/DiaryScreens.h"
#include "samples/SampleFile.h"
#include "support/TalkFixture.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>

using namespace kel;

namespace {

constexpr int kDays = 3650;
constexpr int kRuns = 21;

QByteArray tenYears(QDate newest)
{
    const QString entry = QStringLiteral("きょうはあさごはんのあとでさんぽにいきました。ゆうがたはれ");
    QByteArray bytes;
    for (int i = 0; i < kDays; ++i)
        bytes += encodeRecord(diaryDate(newest.addDays(-i)) + u' ' + entry).value();
    return bytes;
}

double median(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

template <typename Setup, typename Action>
double measure(Setup setup, Action action)
{
    std::vector<double> ms;
    for (int i = 0; i < kRuns; ++i) {
        setup();
        QElapsedTimer timer;
        timer.start();
        action();
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return median(ms);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QByteArray day = tenYears(QDate(2004, 9, 24));
    TalkFixture f({}, {{QStringLiteral("Talk.txt"), encodeRecord(kPlaceholder).value()},
                       {QStringLiteral("day.txt"), day}});
    Controls &u = f.ui();
    DiaryScreens &diary = f.win->diary();

    // "決定" on "日記", as the user waits for it: the handler and the repaint.
    const double open = measure(
        [&] {
            if (u.cmdSamp->text() == QStringLiteral("日記終了"))
                f.click(u.cmdSamp); // from the list: closes without a question
            f.click(u.cmdSamp);     // "例文表示"
            settle();
        },
        [&] {
            f.click(u.cmdDec);
            settle();
        });
    const int rows = u.grdDay->Rows();

    const double load = measure([] {}, [&] {
        diary.LoadDiary();
        diary.ShowDiaryList();
    });

    f.st().DiaryRow = 0;
    const double store = measure([] {}, [&] {
        if (!diary.SaveDiary(QStringLiteral("はれ_")))
            std::fprintf(stderr, "store failed\n");
    });
    const qint64 bytes = f.readFile(QStringLiteral("day.txt")).size();

    // Another program's change met at a store: a day added at the end (merged)
    // and the whole file in the opposite order (no plain change: kept beside).
    const QByteArray ours = f.readFile(QStringLiteral("day.txt"));
    const QByteArray added = day + encodeRecord(QStringLiteral("04.01.01 むかし")).value();
    QList<QByteArray> lines = day.split('\n');
    std::reverse(lines.begin(), lines.end());
    const QByteArray reversed = lines.join('\n');
    const double merge = measure([] {}, [&] {
        if (!mergeOutsideChange(day, added, ours))
            std::fprintf(stderr, "no merge\n");
    });
    const double refuse = measure([] {}, [&] {
        if (mergeOutsideChange(day, reversed, ours))
            std::fprintf(stderr, "merged a reordered file\n");
    });

    std::printf("day.txt: %d records read, %d list rows, %lld bytes after storing\n", kDays, rows,
                bytes);
    std::printf("open the diary list (\"決定\" on \"日記\", with repaint): median %.2f ms\n", open);
    std::printf("LoadDiary + ShowDiaryList:                        median %.2f ms\n", load);
    std::printf("SaveDiary (store an entry):                       median %.2f ms\n", store);
    std::printf("merge another program's added day:                median %.2f ms\n", merge);
    std::printf("find a reordered file is no plain change:         median %.2f ms\n", refuse);
    return 0;
}
