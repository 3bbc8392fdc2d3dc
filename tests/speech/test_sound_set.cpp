// The default sound set: which characters it holds, and what the
// make-voices tool leaves on disk.

#include "WavPcm.h"
#include "board/BoardLayout.h"
#include "board/Variants.h"
#include "speech/SoundSet.h"
#include "speech/WavName.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace kel;
using namespace kel::test;

namespace {

const QString kFullWidthSpace = QStringLiteral("\u3000");

// Every text a touch can enter: each cell of the three boards at both widths
// (an empty cell enters a full-width space) and the variant forms the
// enlarged screen shows beside them.
QSet<QString> enterableTexts()
{
    QSet<QString> texts;
    for (BoardMode mode : {BoardMode::Hiragana, BoardMode::Katakana, BoardMode::Alphanumeric}) {
        for (int maxC : {9, 14}) {
            for (int row = 0; row < kBoardRows; ++row) {
                for (int col = 0; col <= maxC; ++col) {
                    const QString text = boardCellText(mode, maxC, row, col);
                    texts.insert(text.isEmpty() ? kFullWidthSpace : text);
                    if (const auto forms = variantsOf(text)) {
                        for (const QString &form : {forms->left, forms->right}) {
                            if (!form.isEmpty())
                                texts.insert(form);
                        }
                    }
                }
            }
        }
    }
    return texts;
}

struct ToolRun {
    int exitCode = -1;
    QString output;
};

ToolRun runMakeVoices(const QStringList &args, const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    QProcess tool;
    tool.setProcessEnvironment(env);
    tool.setProcessChannelMode(QProcess::MergedChannels);
    tool.start(QStringLiteral(MAKE_VOICES_PATH), args);
    if (!tool.waitForStarted() || !tool.waitForFinished(240'000))
        return {};
    return {tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1,
            QString::fromUtf8(tool.readAll())};
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList allFileNames(const QString &dir)
{
    QStringList names = QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System);
    names.sort();
    return names;
}

} // namespace

class TestSoundSet : public QObject {
    Q_OBJECT

private slots:
    void holdsExactlyWhatTheBoardsEnterExceptSlash()
    {
        const QStringList characters = soundSetCharacters();
        const QSet<QString> inSet(characters.cbegin(), characters.cend());
        QCOMPARE(inSet.size(), characters.size()); // no character twice

        QSet<QString> expected = enterableTexts();
        QVERIFY(expected.contains(QStringLiteral("/")));
        expected.remove(QStringLiteral("/")); // cannot be a file name
        QStringList missing = (expected - inSet).values();
        QStringList extra = (inSet - expected).values();
        missing.sort();
        extra.sort();
        QCOMPARE(missing, QStringList());
        QCOMPARE(extra, QStringList());
    }

    void makeVoicesRecordsEverySoundAndKeepsExistingFiles()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString out = dir.filePath(QStringLiteral("voices"));
        QVERIFY(QDir().mkpath(out));
        // The user's own recording of あ: a square wave no synthesiser makes.
        QList<qint16> square(8000);
        for (qsizetype i = 0; i < square.size(); ++i)
            square[i] = (i / 20) % 2 ? 12000 : -12000;
        const QByteArray own = wav16(16000, square);
        const QString ownPath = *wavPathFor(out, QStringLiteral("あ"));
        {
            QFile file(ownPath);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(own), own.size());
        }

        QElapsedTimer timer;
        timer.start();
        const ToolRun first = runMakeVoices({out});
        qInfo("make-voices recorded the set in %.1f s", timer.elapsed() / 1000.0);
        QVERIFY2(first.exitCode == 0, qPrintable(first.output));
        const QStringList characters = soundSetCharacters();
        QVERIFY(first.output.contains(QStringLiteral("[1/%1] あ (kept)").arg(characters.size())));

        QStringList expectedNames;
        for (const QString &ch : characters)
            expectedNames.append(ch + QStringLiteral(".wav"));
        expectedNames.sort();
        QCOMPARE(allFileNames(out), expectedNames); // nothing missing, no leftovers
        QCOMPARE(fileBytes(ownPath), own);

        QHash<QString, QByteArray> made;
        for (const QString &ch : characters) {
            const QString path = *wavPathFor(out, ch);
            made.insert(path, fileBytes(path));
            if (path == ownPath)
                continue;
            const auto pcm = parseWav16(made.value(path));
            QVERIFY2(pcm, qPrintable(QStringLiteral("not a 16-bit PCM WAV: ") + path));
            QVERIFY2(pcm->seconds() >= 0.15, qPrintable(QStringLiteral("too short: ") + path));
            QVERIFY2(peakOf(*pcm) >= 0.1 && rmsOf(*pcm) >= 0.01, qPrintable(QStringLiteral("silent: ") + path));
        }

        // A second run finds everything there and changes nothing.
        const ToolRun second = runMakeVoices({out});
        QVERIFY2(second.exitCode == 0, qPrintable(second.output));
        QVERIFY(second.output.contains(QStringLiteral("0 made, %1 kept").arg(characters.size())));
        for (auto it = made.cbegin(); it != made.cend(); ++it)
            QCOMPARE(fileBytes(it.key()), it.value());
        QCOMPARE(allFileNames(out), expectedNames);
    }
};

QTEST_GUILESS_MAIN(TestSoundSet)
#include "test_sound_set.moc"
