// Example sentences with a Talk.txt of 30,000 sentences: loading and listing,
// an addition, opening the list, and how close reading the file comes to a
// plain read of the same bytes. Prints medians in milliseconds.
//
// Run by hand: bench_samples [sentences] [runs]

#include "samples/SampleFile.h"
#include "samples/SampleScreens.h"
#include "support/TalkFixture.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <random>

using namespace kel;

namespace {

// Sentences of 4 to 24 characters drawn from kana, a few kanji and
// punctuation, as a user's list would hold; all distinct.
QStringList makeSentences(int count)
{
    const QString pool = QStringLiteral(
        "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわをん"
        "がぎぐげござじずぜぞだでどばびぶべぼぱぴぷぺぽっゃゅょ"
        "アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモラリルレロン"
        "水食事薬手足頭痛寒暑今日明朝昼夜家族先生看護師電話窓開閉。、！？ー");
    std::mt19937 rng(20040925);
    std::uniform_int_distribution<int> length(4, 24);
    std::uniform_int_distribution<int> pick(0, int(pool.size()) - 1);
    QStringList sentences{kPlaceholder};
    for (int i = 0; i < count; ++i) {
        QString s;
        const int n = length(rng);
        for (int k = 0; k < n; ++k)
            s += pool.at(pick(rng));
        s += QString::number(i); // keeps every sentence distinct
        sentences << s;
    }
    return sentences;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// The fastest run beside the median: on a shared machine it shows what the
// code costs when nothing else competes for the processor.
void report(const char *what, const std::vector<double> &ms)
{
    std::printf("%-30s median %8.2f ms   fastest %8.2f ms\n", what, median(ms),
                *std::min_element(ms.begin(), ms.end()));
}

template <typename F>
double timeMs(F &&f)
{
    QElapsedTimer timer;
    timer.start();
    f();
    return double(timer.nsecsElapsed()) / 1e6;
}

template <typename F>
std::vector<double> repeat(int runs, F &&f)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i)
        ms.push_back(timeMs(f));
    return ms;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 30000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 15;

    const EncodedFile encoded = encodeSamples(makeSentences(count));
    const QByteArray &bytes = encoded.bytes;
    TalkFixture f({}, {{QStringLiteral("Talk.txt"), bytes}});
    SampleScreens &samples = f.win->samples();
    const QString path = f.path(QStringLiteral("Talk.txt"));
    std::printf("Talk.txt: %d sentences, %lld bytes, %d runs\n", count,
                static_cast<long long>(bytes.size()), runs);

    const auto load = repeat(runs, [&] {
        samples.LoadSamples();
        samples.ListSamples();
    });
    report("LoadSamples + ListSamples", load);

    // Opening the list: rebuild, label, highlight, show and paint once.
    std::vector<double> open;
    for (int i = 0; i < runs; ++i) {
        open.push_back(timeMs([&] {
            samples.cmdSamp_Click();
            QCoreApplication::processEvents();
        }));
        samples.cmdSamp_Click(); // "例文終了" back to the board
    }
    report("opening the list", open);

    // An addition: duplicate check, save, load, list, highlight, show, paint.
    std::vector<double> add;
    for (int i = 0; i < runs; ++i) {
        f.box()->setText(QStringLiteral("ベンチの文%1_").arg(i));
        add.push_back(timeMs([&] {
            samples.cmdSampADD_Click();
            QCoreApplication::processEvents();
        }));
    }
    report("an addition", add);

    // Reading throughput: the bytes alone, then bytes to sentences.
    const auto plain = repeat(runs, [&] {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        volatile qsizetype n = file.readAll().size();
        (void)n;
    });
    const auto decoded = repeat(runs, [&] {
        const LoadedFile file = loadTextFile(path);
        volatile qsizetype n = parseSamples(decodeTextFile(file.bytes).text).size();
        (void)n;
    });
    const double fileMb = double(QFile(path).size()) / (1024.0 * 1024.0);
    std::printf("plain read                    median %8.2f ms  %8.1f MB/s\n", median(plain),
                fileMb / (median(plain) / 1000.0));
    std::printf("read + decode + parse         median %8.2f ms  %8.1f MB/s  (%.1f%% of plain)\n",
                median(decoded), fileMb / (median(decoded) / 1000.0),
                100.0 * median(plain) / median(decoded));
    return 0;
}
