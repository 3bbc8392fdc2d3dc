// Reading a list's text file and storing it, or saying why not: the rules
// the diary shares with the example sentences.

#include "app/TextFileIO.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace kel;

Q_DECLARE_METATYPE(kel::ListFileText::Status)
Q_DECLARE_METATYPE(kel::StoreProblem::Kind)
Q_DECLARE_METATYPE(kel::SaveFault)

namespace {

const QByteArray kCp932Asa = QByteArray::fromHex("22 82 A0 82 B3 22 0D 0A"); // "あさ"

void write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray read(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

EncodedFile encoded(const QByteArray &bytes)
{
    return {bytes, std::nullopt};
}

} // namespace

class TestListFile : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { setSaveFaultForTesting(SaveFault::None); }

    void reads_data();
    void reads();
    void readsDirectoryAsUnreadable();
    void stores_data();
    void stores();
};

void TestListFile::reads_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<ListFileText::Status>("status");
    QTest::addColumn<QString>("text");
    QTest::newRow("missing") << QByteArray() << ListFileText::Missing << QString();
    QTest::newRow("empty") << QByteArray("") << ListFileText::Read << QString();
    QTest::newRow("code page 932") << kCp932Asa << ListFileText::Read << "\"あさ\"\r\n";
    QTest::newRow("UTF-8 with BOM") << "\xEF\xBB\xBF\"あさ\"\r\n"_qba << ListFileText::Read
                                    << "\"あさ\"\r\n";
    QTest::newRow("UTF-8 without BOM") << "\"あさ\"\r\n"_qba << ListFileText::Read << "\"あさ\"\r\n";
    QTest::newRow("lone lead byte at the end") << QByteArray::fromHex("82A082") << ListFileText::Invalid
                                               << "あ\x1A";
}

void TestListFile::reads()
{
    QFETCH(QByteArray, bytes);
    QFETCH(ListFileText::Status, status);
    QFETCH(QString, text);
    QTemporaryDir dir;
    const QString path = dir.filePath("day.txt");
    if (!bytes.isNull())
        write(path, bytes);

    const ListFileText file = readListFile(path);

    QCOMPARE(file.status, status);
    if (status != ListFileText::Invalid)
        QCOMPARE(file.text, text);
    else
        QVERIFY(file.text.startsWith(u'あ'));
    QCOMPARE(file.mayOverwrite(), status == ListFileText::Missing || status == ListFileText::Read);
}

void TestListFile::readsDirectoryAsUnreadable()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("day.txt"));
    const ListFileText file = readListFile(dir.filePath("day.txt"));
    QCOMPARE(file.status, ListFileText::Unreadable);
    QVERIFY(!file.mayOverwrite());
}

void TestListFile::stores_data()
{
    QTest::addColumn<QByteArray>("before");  // null: no file
    QTest::addColumn<ListFileText::Status>("asRead");
    QTest::addColumn<bool>("encodable");
    QTest::addColumn<SaveFault>("fault");
    QTest::addColumn<int>("problem");        // -1: stored
    const QByteArray old = kCp932Asa;
    const int stored = -1;
    QTest::newRow("creates a missing file") << QByteArray() << ListFileText::Missing << true
                                            << SaveFault::None << stored;
    QTest::newRow("replaces a file read correctly") << old << ListFileText::Read << true
                                                    << SaveFault::None << stored;
    QTest::newRow("never over an invalid file") << old << ListFileText::Invalid << true
                                                << SaveFault::None << int(StoreProblem::FileProtected);
    QTest::newRow("never over an unreadable file") << old << ListFileText::Unreadable << true
                                                   << SaveFault::None << int(StoreProblem::FileProtected);
    QTest::newRow("unencodable text") << old << ListFileText::Read << false << SaveFault::None
                                      << int(StoreProblem::Unencodable);
    QTest::newRow("disk full") << old << ListFileText::Read << true << SaveFault::Write
                               << int(StoreProblem::WriteFailed);
    QTest::newRow("rename fails") << old << ListFileText::Read << true << SaveFault::BeforeRename
                                  << int(StoreProblem::WriteFailed);
}

void TestListFile::stores()
{
    QFETCH(QByteArray, before);
    QFETCH(ListFileText::Status, asRead);
    QFETCH(bool, encodable);
    QFETCH(SaveFault, fault);
    QFETCH(int, problem);
    QTemporaryDir dir;
    const QString path = dir.filePath("day.txt");
    if (!before.isNull())
        write(path, before);
    const QByteArray next = QByteArray::fromHex("22 82 D0 82 E9 22 0D 0A"); // "ひる"
    const EncodedFile file = encodable ? encoded(next)
                                       : EncodedFile{{}, EncodeFailure{"あ😀", "😀"}};
    setSaveFaultForTesting(fault);

    const std::optional<StoreProblem> result = storeListFile(path, {asRead, {}}, file);

    QCOMPARE(result ? int(result->kind) : -1, problem);
    QCOMPARE(read(path), problem < 0 ? next : before);
    if (problem == StoreProblem::Unencodable)
        QCOMPARE(result->character, QStringLiteral("😀"));
    // Nothing but the file itself is ever left in the folder.
    const QStringList entries = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden
                                                           | QDir::NoDotAndDotDot);
    QCOMPARE(entries, (read(path).isNull() ? QStringList{} : QStringList{"day.txt"}));
}

QTEST_MAIN(TestListFile)
#include "test_listfile.moc"
