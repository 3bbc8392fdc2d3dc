// A full disk on a real small file system: every store is refused with its
// notice and the old file stays whole, for small files (a new installation)
// and large ones alike; once there is room again, the same store works.

#include "base/SettingsStore.h"
#include "samples/SampleDriving.h"
#include "support/SmallDisk.h"

using namespace kel;

namespace {

enum class Store { Sentence, Diary, Option };

struct Case {
    Store store;
    QString file;
    QByteArray bytes; // what the file holds before
};

QByteArray manyRecords(const QString &prefix, int count)
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines << prefix + QString::number(i).rightJustified(4, u'0') + QStringLiteral("あいうえおかきくけこ");
    return records(lines);
}

} // namespace

Q_DECLARE_METATYPE(Case)

class TestFullDisk : public QObject {
    Q_OBJECT
private slots:
    void storeOnFullDisk_data();
    void storeOnFullDisk();
};

void TestFullDisk::storeOnFullDisk_data()
{
    QTest::addColumn<Case>("c");
    const QByteArray smallSamples = records({kPlaceholder, QStringLiteral("はい")});
    QTest::newRow("例文追加, small Talk.txt") << Case{Store::Sentence, "Talk.txt", smallSamples};
    QTest::newRow("例文追加, 36 KB Talk.txt")
        << Case{Store::Sentence, "Talk.txt", records({kPlaceholder}) + manyRecords("す", 1200)};
    QTest::newRow("日記終了, small day.txt") << Case{Store::Diary, "day.txt", records({"04.09.24 朝ごはん"})};
    QTest::newRow("日記終了, 36 KB day.txt")
        << Case{Store::Diary, "day.txt", records({"04.09.24 朝ごはん"}) + manyRecords("04.01.01 ", 1000)};
    QTest::newRow("an option, small Talk.ini") << Case{Store::Option, "Talk.ini", "[OPT]\nBeep=1\n"};
}

void TestFullDisk::storeOnFullDisk()
{
    QFETCH(Case, c);
    TalkFixture f({{"OPT1", "2"}});
    SmallDisk disk(c.store == Store::Option ? f.config.path() : f.home.path());
    if (!disk.mounted())
        QSKIP("cannot mount a tmpfs here (needs root)");
    const QString path = (c.store == Store::Option ? f.config.path() : f.home.path()) + u'/' + c.file;
    auto write = [&](const QString &p, const QByteArray &b) {
        QFile out(p);
        QVERIFY(out.open(QIODevice::WriteOnly));
        QCOMPARE(out.write(b), b.size());
    };
    write(path, c.bytes);
    if (c.store != Store::Sentence)
        write(f.path(kSampleFileName), records({kPlaceholder}));
    auto read = [&] {
        QFile in(path);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    };

    // One attempt on the full disk, one with room again.
    for (const bool full : {true, false}) {
        if (full)
            QVERIFY(disk.fill());
        else
            disk.free();
        QStringList asked;
        bool stored = true;
        switch (c.store) {
        case Store::Sentence:
            drive(f, "例文表示 例文終了");
            f.setText(QStringLiteral("みず_"), 2, 1);
            asked = drive(f, "例文追加", {0});
            stored = f.readFile(kSampleFileName).contains(encodeCp932(QStringLiteral("みず")).value());
            QCOMPARE(asked, full ? QStringList{"例文登録|例文を保存できませんでした|OK"} : QStringList{});
            if (f.ui().cmdSamp->text() == QStringLiteral("例文終了"))
                drive(f, "例文終了");
            break;
        case Store::Diary:
            drive(f, "例文表示 決定 決定 修正する");
            f.ui().grdBoard->setTextMatrix(0, 0, QStringLiteral("はれ"));
            f.touchCell(f.ui().grdBoard, 0, 0);
            asked = drive(f, "日記終了", {0, 0});
            stored = f.readFile("day.txt").startsWith(records({"04.09.25 はれ_"}));
            QCOMPARE(asked.mid(1), full ? QStringList{"日記の終了|日記を保存できませんでした|OK"} : QStringList{});
            if (full)
                drive(f, "日記終了", {1}); // leave without storing
            break;
        case Store::Option:
            stored = f.store->save(QStringLiteral("Beep"), QStringLiteral("0"));
            QCOMPARE(stored, f.store->value(QStringLiteral("Beep")) == QStringLiteral("0"));
            break;
        }
        QCOMPARE(stored, !full);
        if (full)
            QCOMPARE(read(), c.bytes); // whole, byte for byte
        const QStringList left = QDir(QFileInfo(path).absolutePath())
                                     .entryList(QDir::Files | QDir::Hidden, QDir::Name);
        for (const QString &name : left)
            QVERIFY2(name == ".filler" || name.endsWith(".txt") || name.endsWith(".ini"), qPrintable(name));
    }
}

QTEST_MAIN(TestFullDisk)
#include "test_fulldisk.moc"
