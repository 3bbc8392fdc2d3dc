// A file another program changed since this one read it (an editor, a sync
// tool, a second copy): what a save then writes, what it keeps beside and
// what it says. Plain functions and the settings store, on a real folder.

#include "support/TestMain.h"
#include "base/OutsideChange.h"
#include "base/SettingsStore.h"
#include "support/Files.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace kel;
using namespace kel::test;

namespace {

// "a b c" -> "a\r\nb\r\nc\r\n"; "-" is an empty file.
QByteArray lines(const char *words, const char *end = "\r\n")
{
    QByteArray out;
    for (const QByteArray &w : QByteArray(words).split(' '))
        if (!w.isEmpty() && w != "-")
            out += w + end;
    return out;
}

} // namespace

class TestOutsideChange : public QObject {
    Q_OBJECT

private slots:
    void merge_data()
    {
        QTest::addColumn<QByteArray>("base");
        QTest::addColumn<QByteArray>("theirs");
        QTest::addColumn<QByteArray>("ours");
        QTest::addColumn<QByteArray>("merged");   // "!" when theirs is no plain change
        // (Both added at the end, theirs after ours, and a line they changed,
        // through the list's own saves: test_samplescreens; a file made
        // elsewhere since: save.)
        QTest::newRow("they added a line, we added one") << lines("a b c") << lines("a x b c") << lines("a b c y")
                                                         << lines("a x b c y");
        QTest::newRow("they removed a line, ours is reordered") << lines("a b c") << lines("a c") << lines("c a b")
                                                                << lines("c a");
        QTest::newRow("both added the same line: once") << lines("a b") << lines("a b x") << lines("a b x")
                                                        << lines("a b x");
        QTest::newRow("they added at the front") << lines("a b") << lines("x a b") << lines("a b y") << lines("x a b y");
        QTest::newRow("the line they added after is gone from ours: before the next")
            << lines("a b") << lines("a x b") << lines("b") << lines("x b");
        QTest::newRow("the line after it gone from ours: after the one before")
            << lines("a b") << lines("a x b") << lines("a y") << lines("a x y");
        QTest::newRow("both lines around it gone from ours: at the end")
            << lines("a b") << lines("a x b") << lines("c") << lines("c x");
        QTest::newRow("they removed the line we changed: ours stays") << lines("a b") << lines("a") << lines("a B")
                                                                      << lines("a B");
        QTest::newRow("LF from an editor merges with our CR LF") << lines("a b") << lines("a b x", "\n")
                                                                 << lines("a b y") << lines("a b y x");
        QTest::newRow("a removal and an addition in one place") << lines("a b c") << lines("a x y c") << lines("a b c")
                                                                << QByteArray("!");
        QTest::newRow("re-encoded whole") << lines("a b") << QByteArray("\xef\xbb\xbf") + lines("a b") << lines("a b")
                                          << QByteArray("!");
    }

    void merge()
    {
        QFETCH(QByteArray, base);
        QFETCH(QByteArray, theirs);
        QFETCH(QByteArray, ours);
        const std::optional<QByteArray> merged = mergeOutsideChange(base, theirs, ours);
        QTEST(merged.value_or("!"), "merged");
    }

    // One save after another program has (or has not) written the file
    // since it was last seen: the file after, the copy kept beside, what
    // the user is told.
    void save_data()
    {
        QTest::addColumn<QByteArray>("seen");      // "-": did not exist
        QTest::addColumn<QByteArray>("disk");      // "-": none now; "link", "fifo": that, to a file outside
        QTest::addColumn<QByteArray>("ours");
        QTest::addColumn<QByteArray>("after");     // what the name holds after the save
        QTest::addColumn<QByteArray>("kept");      // "-": nothing kept beside
        QTest::addColumn<int>("kind");             // -1: the save fails
        const QByteArray ours = lines("a b y");
        // The rename that replaces the file fails inside QSaveFile::commit():
        // the old file stays whole and still the one seen, so that a retry
        // is not taken for an outside change. (What the user is told then,
        // a plain save, and a line added or changed elsewhere:
        // test_samplescreens, through the list's own saves.)
        QTest::newRow("the commit fails: the old file still the one seen")
            << lines("a b") << lines("a b") << ours << lines("a b") << QByteArray("-") << -1;
        QTest::newRow("removed elsewhere: written afresh") << lines("a b") << QByteArray("-") << ours << ours << QByteArray("-")
                                                           << int(OutsideChange::None);
        QTest::newRow("made elsewhere since: merged") << QByteArray("-") << lines("x") << ours << lines("a b y x")
                                                      << QByteArray("-") << int(OutsideChange::Merged);
        QTest::newRow("already what we write") << lines("a") << ours << ours << ours << QByteArray("-") << int(OutsideChange::None);
        // Taken as removals, these would lose the user's lines.
        QTest::newRow("emptied elsewhere: ours, the empty file beside")
            << lines("a b") << QByteArray() << ours << ours << QByteArray() << int(OutsideChange::KeptBoth);
        QTest::newRow("cut by more than half elsewhere: ours, theirs beside")
            << lines("a b c d e") << lines("a") << lines("a b c d e y") << lines("a b c d e y") << lines("a")
            << int(OutsideChange::KeptBoth);
        QTest::newRow("no longer text: ours, theirs beside")
            << lines("a b") << lines("a b") + "\xFF\xFE\r\n" << ours << ours << lines("a b") + "\xFF\xFE\r\n"
            << int(OutsideChange::KeptBoth);
        // "あ" in code page 932, "い" added in UTF-8 by an editor: stored as
        // code page 932, not as garbage.
        QTest::newRow("a UTF-8 line added to code page 932: merged as code page 932")
            << QByteArray("\x82\xA0\r\n") << QByteArray("\x82\xA0\r\n\xE3\x81\x84\r\n") << QByteArray("\x82\xA0\r\n\x82\xA4\r\n")
            << QByteArray("\x82\xA0\r\n\x82\xA4\r\n\x82\xA2\r\n") << QByteArray("-") << int(OutsideChange::Merged);
        // A link or a FIFO at the name: the file outside is never written
        // (nor read), ours goes beside.
        QTest::newRow("a link to a file outside: ours beside")
            << lines("a b") << QByteArray("link") << ours << QByteArray("link") << QByteArray("-") << int(OutsideChange::SavedBeside);
        QTest::newRow("a FIFO: ours beside")
            << lines("a b") << QByteArray("fifo") << ours << QByteArray("fifo") << QByteArray("-") << int(OutsideChange::SavedBeside);
    }

    void save()
    {
        QFETCH(QByteArray, seen);
        QFETCH(QByteArray, disk);
        QFETCH(QByteArray, ours);
        QFETCH(QByteArray, kept);
        QFETCH(int, kind);
        QTemporaryDir dir;
        const QString path = dir.filePath("Talk.txt"), outside = dir.filePath("outside/victim");
        QVERIFY(QDir().mkpath(dir.filePath("outside")) && writeFile(outside, "victim"));
        if (disk == "link")
            QVERIFY(QFile::link(outside, path));
        else if (disk == "fifo")
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        else if (disk != "-")
            QVERIFY(writeFile(path, disk));
        SeenFile seenFile = seen == "-" ? SeenFile{} : SeenFile{true, seen};
        OutsideChange change;
        setSaveFaultForTesting(kind < 0 ? SaveFault::BeforeRename : SaveFault::None);
        QCOMPARE(saveCheckingOutside(path, seenFile, ours, &change).has_value(), kind < 0);
        setSaveFaultForTesting(SaveFault::None);
        QCOMPARE(int(change.kind), std::max(kind, 0));
        QCOMPARE(readFile(outside), QByteArray("victim"));
        if (kind == OutsideChange::SavedBeside) {
            QCOMPARE(QFileInfo(path).isSymLink(), disk == "link");
            QCOMPARE(change.keptCopy, dir.filePath("Talk（このプログラムの保存）.txt"));
            QCOMPARE(readFile(change.keptCopy), ours);
            QCOMPARE(outsideChangeNotice("Talk.txt", change),
                     "Talk.txt がふつうのファイルではないため、書き換えませんでした。こちらの内容は「Talk（このプログラムの保存）.txt」に保存しました。");
            return;
        }
        QTEST(readFile(path), "after");
        QCOMPARE(seenFile.bytes, readFile(path));
        const QStringList copies = keptBeside(path);
        QCOMPARE(copies.size(), kept == "-" ? 0 : 1);
        // No temporary left beside.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1 + copies.size());
        if (kept != "-") {
            QCOMPARE(readFile(dir.filePath(copies[0])), kept);
            QCOMPARE(change.keptCopy, dir.filePath(copies[0]));
        }
        // The next save compares with what this one wrote: nothing more to say.
        QVERIFY(!saveCheckingOutside(path, seenFile, ours + "z\r\n", &change));
        QCOMPARE(int(change.kind), int(OutsideChange::None));
    }

    void keptCopyName()
    {
        QTemporaryDir dir;
        const QDateTime when(QDate(2026, 12, 7), QTime(10, 12, 0));
        const QString first = keptCopyPath(dir.filePath("Talk.ini"), when);
        QCOMPARE(first, dir.filePath("Talk（ほかのプログラムの変更 2026-12-07 101200）.ini"));
        QVERIFY(writeFile(first, "x"));
        QCOMPARE(keptCopyPath(dir.filePath("Talk.ini"), when), dir.filePath("Talk（ほかのプログラムの変更 2026-12-07 101200 2）.ini"));
    }

    // Talk.ini: an editor adds a group between two saves of the options, then
    // changes a value the program wrote.
    void settingsStore()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("Talk.ini");
        SettingsStore store(path);
        QStringList told;
        store.setOutsideChangeNotice([&](const QString &m) { told << m; });
        QVERIFY(store.save("OPT1", "1"));
        QVERIFY(writeFile(path, readFile(path) + "\n[ACCESS]\nScan=1\n"));
        QVERIFY(store.save("OPT2", "1"));
        QCOMPARE(readFile(path), QByteArray("[OPT]\nOPT1=1\nOPT2=1\n\n[ACCESS]\nScan=1\n"));
        QCOMPARE(store.valueIn("ACCESS", "Scan"), std::optional<QString>("1"));
        QCOMPARE(told, QStringList{"Talk.ini はほかのプログラムでも変更されていました。その変更と合わせて保存しました。"});

        const QByteArray edited = QByteArray(readFile(path)).replace("OPT1=1", "OPT1=3");
        QVERIFY(writeFile(path, edited));
        QVERIFY(store.save("OPT3", "2"));
        QCOMPARE(readFile(path), QByteArray("[ACCESS]\nScan=1\n\n[OPT]\nOPT1=1\nOPT2=1\nOPT3=2\n"));
        const QStringList copies = keptBeside(path);
        QCOMPARE(copies.size(), 1);
        QCOMPARE(readFile(dir.filePath(copies[0])), edited);
        QCOMPARE(told.size(), 2);
        QVERIFY(told[1].contains(copies[0]));

        // Made a FIFO: the start reads no settings (instead of waiting for
        // ever); a save is kept beside it but reported as not stored, since
        // the next start would not read it.
        QVERIFY(QFile::remove(path) && ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        SettingsStore fifo(path);
        fifo.setOutsideChangeNotice([&](const QString &m) { told << m; });
        QCOMPARE(fifo.value("OPT1"), std::nullopt);
        QVERIFY(!fifo.save("OPT1", "2"));
        QCOMPARE(readFile(dir.filePath("Talk（このプログラムの保存）.ini")), QByteArray("[OPT]\nOPT1=2\n"));
        QCOMPARE(told.size(), 2);
    }
};

KEL_TEST(test_outside_change, TestOutsideChange)
#include "test_outside_change.moc"
