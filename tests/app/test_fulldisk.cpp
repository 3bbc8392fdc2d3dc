// A full disk on a real small file system: every store is refused with its
// notice and the old file stays whole, for small files (a new installation)
// and large ones alike; once there is room again, the same store works.

#include "support/TestMain.h"
#include "base/SettingsStore.h"
#include "samples/SampleDriving.h"
#include "support/SmallDisk.h"

using namespace kel;

class TestFullDisk : public QObject {
    Q_OBJECT
private slots:
    void storeOnFullDisk_data()
    {
        QTest::addColumn<QString>("file");     // stored by 例文追加, 日記終了 or an option
        QTest::addColumn<QByteArray>("bytes"); // what it holds before
        const QByteArray day = records({"04.09.24 朝ごはん"});
        QTest::newRow("例文追加, small Talk.txt") << "Talk.txt" << records({kPlaceholder, QStringLiteral("はい")});
        QTest::newRow("例文追加, 36 KB Talk.txt") << "Talk.txt" << records(QStringList{kPlaceholder} + QStringList(1400, "すあいうえおかきくけこ"));
        QTest::newRow("日記終了, small day.txt") << "day.txt" << day;
        QTest::newRow("日記終了, 36 KB day.txt") << "day.txt" << day + records(QStringList(1100, "04.01.01 あいうえおかきくけこ"));
        QTest::newRow("an option, small Talk.ini") << "Talk.ini" << QByteArray("[OPT]\nBeep=1\n");
    }

    void storeOnFullDisk()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        TalkFixture f({{"OPT1", "2"}});
        const QString folder = file == u"Talk.ini" ? f.config.path() : f.home.path();
        SmallDisk disk(folder);
        if (!disk.mounted())
            QFAIL("cannot mount a tmpfs here: mount needs root (run the tests as root or in a container)");
        const QString path = folder + u'/' + file;
        QVERIFY(test::writeFile(path, bytes));
        if (file != kSampleFileName)
            f.writeFile(kSampleFileName, records({kPlaceholder}));

        // One attempt on the full disk, one with room again.
        for (const bool full : {true, false}) {
            if (full)
                QVERIFY(disk.fill());
            else
                disk.free();
            bool stored = true;
            if (file == kSampleFileName) {
                drive(f, "例文表示 例文終了");
                f.setText(QStringLiteral("みず_"), 2, 1);
                QCOMPARE(drive(f, "例文追加", {0}), full ? QStringList{"例文登録|例文を保存できませんでした。\nディスクがいっぱいです。いらないファイルを消して、もう一度お試しください。|OK"} : QStringList{});
                stored = f.readFile(kSampleFileName).contains(encodeCp932(QStringLiteral("みず")).value());
                if (f.ui().cmdSamp->text() == QStringLiteral("例文終了"))
                    drive(f, "例文終了");
            } else if (file == u"day.txt") {
                drive(f, "例文表示 決定 決定 修正する");
                f.ui().grdBoard->setTextMatrix(0, 0, QStringLiteral("はれ"));
                touchCell(f.ui().grdBoard, 0, 0);
                const QStringList asked = drive(f, "日記終了", {0, 0});
                QCOMPARE(asked.mid(1), full ? QStringList{"日記の終了|日記を保存できませんでした。\nディスクがいっぱいです。いらないファイルを消して、もう一度お試しください。|OK"} : QStringList{});
                stored = f.readFile("day.txt").startsWith(records({"04.09.25 はれ_"}));
                if (full)
                    drive(f, "日記終了", {1}); // leave without storing
            } else {
                // Talk.ini was written behind the store's back: it is kept
                // beside, and the notice saying so is answered.
                const Questions told({0});
                stored = f.store->save(QStringLiteral("Beep"), QStringLiteral("0"));
                QCOMPARE(stored, f.store->value(QStringLiteral("Beep")) == QStringLiteral("0"));
            }
            QCOMPARE(stored, !full);
            if (full)
                QCOMPARE(test::readFile(path), bytes); // whole, byte for byte
            for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
                QVERIFY2(name == ".filler" || name.endsWith(".txt") || name.endsWith(".ini"), qPrintable(name));
        }
    }
};

KEL_TEST(test_fulldisk, TestFullDisk)
#include "test_fulldisk.moc"
