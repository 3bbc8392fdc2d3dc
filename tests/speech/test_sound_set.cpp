// The default sound set: which characters it holds, and what the
// make-voices tool leaves on disk.

#include "support/AudioCapture.h"
#include "board/BoardLayout.h"
#include "board/Variants.h"
#include "speech/SoundSet.h"

#include <QDir>
#include <QHash>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace kel;
using namespace kel::test;

namespace {

// Every text a touch can enter: each cell of the three boards at both widths
// (an empty cell enters a full-width space) and the variant forms the
// enlarged screen shows beside them.
QSet<QString> enterableTexts()
{
    QSet<QString> texts;
    for (BoardMode mode : {BoardMode::Hiragana, BoardMode::Katakana, BoardMode::Alphanumeric})
        for (int maxC : {9, 14})
            for (int row = 0; row < kBoardRows; ++row)
                for (int col = 0; col <= maxC; ++col) {
                    const QString text = boardCellText(mode, maxC, row, col);
                    texts << (text.isEmpty() ? QStringLiteral("\u3000") : text);
                    if (const auto forms = variantsOf(text))
                        texts << forms->left << forms->right;
                }
    texts.remove(QString()); // the empty side of a character with one variant
    return texts;
}

// Runs make-voices on `dir`; then every file there, by name.
std::optional<QHash<QString, QByteArray>> makeVoices(const QString &dir)
{
    if (!runTool(QStringLiteral(MAKE_VOICES_PATH), {dir}, 240'000))
        return std::nullopt;
    QHash<QString, QByteArray> files;
    for (const QFileInfo &file : QDir(dir).entryInfoList(QDir::Files | QDir::Hidden | QDir::System))
        files.insert(file.fileName(), readFile(file.filePath()));
    return files;
}

} // namespace

class TestSoundSet : public QObject {
    Q_OBJECT

private slots:
    void holdsExactlyWhatTheBoardsEnterExceptSlash()
    {
        QSet<QString> enterable = enterableTexts();
        QVERIFY(enterable.remove(QStringLiteral("/"))); // cannot be a file name
        QStringList expected = enterable.values();
        QStringList characters = soundSetCharacters();
        expected.sort();
        characters.sort();
        QCOMPARE(characters, expected); // each once, nothing missing, nothing extra
    }

    void makeVoicesKeepsTheUsersFileAndRecordsTheRest()
    {
        QTemporaryDir dir;
        const QByteArray own = "RIFF, the user's own recording of あ";
        QVERIFY(writeFile(dir.filePath(QStringLiteral("あ.wav")), own));

        const auto made = makeVoices(dir.path());
        QVERIFY(made);
        const QStringList characters = soundSetCharacters();
        QCOMPARE(made->size(), characters.size()); // no leftovers
        // The user's own file as it was; every other one a sound.
        for (const QString &ch : characters) {
            const QByteArray bytes = made->value(ch + QStringLiteral(".wav"));
            const auto samples = samples16(bytes);
            QVERIFY2(ch == u"あ" ? bytes == own : samples && peakOf(*samples) >= 0.1, qPrintable(ch));
        }
        QVERIFY(makeVoices(dir.path()) == made); // a second run changes nothing
    }

    void makeVoicesRefusesOptionsItDoesNotHave_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("says"); // the start of what it prints
        QTest::newRow("--help") << QStringList{"--help"} << 0 << QByteArray("usage: make-voices OUTDIR");
        QTest::newRow("-v") << QStringList{"-v"} << 2 << QByteArray("make-voices: unknown option -v");
        QTest::newRow("--out x") << QStringList{"--out", "x"} << 2 << QByteArray("make-voices: unknown option --out");
    }
    void makeVoicesRefusesOptionsItDoesNotHave()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, says);
        QTemporaryDir dir;
        QProcess tool;
        tool.setWorkingDirectory(dir.path());
        tool.start(QStringLiteral(MAKE_VOICES_PATH), args);
        QVERIFY(tool.waitForFinished(10'000));
        QTEST(tool.exitCode(), "exitCode");
        QVERIFY((tool.readAllStandardOutput() + tool.readAllStandardError()).startsWith(says));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestSoundSet)
#include "test_sound_set.moc"
