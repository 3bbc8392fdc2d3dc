// The default sound set: which characters it holds, what the synthesiser is
// told to say for them, and what the make-voices tool leaves on disk.

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

bool isSmallKana(QChar c)
{
    static const QString small = QStringLiteral("ぁぃぅぇぉっゃゅょゎァィゥェォッャュョヮ");
    return small.contains(c);
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

    void everyCharacterHasASpeakableReading_data()
    {
        QTest::addColumn<QString>("character");
        for (const QString &ch : soundSetCharacters())
            QTest::newRow(qPrintable(ch == kFullWidthSpace ? QStringLiteral("full-width space") : ch)) << ch;
    }

    // The Japanese voice reads hiragana reliably and falls back to English or
    // silence on most else; a small kana or "ー" at the start is mute.
    void everyCharacterHasASpeakableReading()
    {
        QFETCH(QString, character);
        const QString reading = readingFor(character);
        QVERIFY2(!reading.isEmpty(), "no reading");
        for (QChar c : reading) {
            const bool hiragana = c >= QChar(0x3041) && c <= QChar(0x3096);
            QVERIFY2(hiragana || c == u'ー' || c == u' ', qPrintable(QStringLiteral("not hiragana: ") + reading));
        }
        QVERIFY2(!isSmallKana(reading.front()) && reading.front() != u'ー' && reading.front() != u' ',
                 qPrintable(QStringLiteral("mute start: ") + reading));
    }

    void readings_data()
    {
        QTest::addColumn<QString>("character");
        QTest::addColumn<QString>("reading");
        QTest::newRow("small tsu, silent when read as itself") << "っ" << "ちいさい つ";
        QTest::newRow("small a, English when read as itself") << "ぁ" << "ちいさい あ";
        QTest::newRow("small ya, a plain や when read as itself") << "ゃ" << "ちいさい や";
        QTest::newRow("long-vowel mark") << "ー" << "のばす";
        QTest::newRow("full stop") << "。" << "まる";
        QTest::newRow("comma") << "、" << "てん";
        QTest::newRow("full-width question mark") << "？" << "はてな";
        QTest::newRow("ASCII question mark") << "?" << "はてな";
        QTest::newRow("exclamation mark") << "!" << "びっくり";
        QTest::newRow("at sign") << "@" << "あっと";
        QTest::newRow("percent") << "%" << "ぱーせんと";
        QTest::newRow("plus") << "+" << "ぷらす";
        QTest::newRow("minus") << "-" << "まいなす";
        QTest::newRow("colon") << ":" << "ころん";
        QTest::newRow("semicolon") << ";" << "せみころん";
        QTest::newRow("ASCII comma") << "," << "かんま";
        QTest::newRow("period") << "." << "ぴりおど";
        QTest::newRow("digit one") << "1" << "いち";
        QTest::newRow("digit zero") << "0" << "ぜろ";
        QTest::newRow("letter A") << "A" << "えー";
        QTest::newRow("letter W, not garbled りゅ") << "W" << "だぶる ゆー";
        QTest::newRow("plain kana as itself") << "か" << "か";
        QTest::newRow("slash has no sound") << "/" << "";
        QTest::newRow("text outside the set") << "漢" << "";
        QTest::newRow("empty text") << "" << "";
    }

    void readings()
    {
        QFETCH(QString, character);
        QFETCH(QString, reading);
        QCOMPARE(readingFor(character), reading);
    }

    void pairsReadAlike_data()
    {
        QTest::addColumn<QString>("character");
        QTest::addColumn<QString>("model");
        for (const QString &ch : soundSetCharacters()) {
            const char16_t c = ch.front().unicode();
            if (ch.size() == 1 && c >= u'ァ' && c <= u'ヶ')
                QTest::newRow(qPrintable(QStringLiteral("katakana ") + ch)) << ch << QString(QChar(c - 0x60));
            else if (ch.size() == 1 && c >= u'a' && c <= u'z')
                QTest::newRow(qPrintable(QStringLiteral("small letter ") + ch)) << ch << ch.toUpper();
        }
    }

    // Katakana sound like their hiragana, small letters like capitals; they
    // still get files of their own, since file names here tell case apart.
    void pairsReadAlike()
    {
        QFETCH(QString, character);
        QFETCH(QString, model);
        QVERIFY(soundSetCharacters().contains(model));
        QCOMPARE(readingFor(character), readingFor(model));
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

    void makeVoicesFails_data()
    {
        QTest::addColumn<QString>("problem");
        QTest::newRow("folder cannot be made") << "folder";
        QTest::newRow("no synthesiser") << "synthesiser";
        QTest::newRow("no folder given") << "usage";
    }

    void makeVoicesFails()
    {
        QFETCH(QString, problem);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QString out = dir.filePath(QStringLiteral("voices"));
        QStringList args{out};
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (problem == u"folder") {
            QFile blocker(dir.filePath(QStringLiteral("file")));
            QVERIFY(blocker.open(QIODevice::WriteOnly));
            args = QStringList{blocker.fileName() + QStringLiteral("/voices")};
        } else if (problem == u"synthesiser") {
            env.insert(QStringLiteral("PATH"), dir.filePath(QStringLiteral("empty")));
        } else {
            args.clear();
        }
        const ToolRun run = runMakeVoices(args, env);
        QVERIFY2(run.exitCode > 0, qPrintable(run.output));
        // Nothing half-made is left for a later run to keep.
        QCOMPARE(allFileNames(out), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestSoundSet)
#include "test_sound_set.moc"
