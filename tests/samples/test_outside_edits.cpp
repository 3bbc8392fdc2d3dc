// Talk.txt and day.txt changed by another program while the window is open
// (a second copy's save, a caregiver's editor, a sync tool): the user's
// sentence and the other program's change both survive, and the user is
// told which way.

#include "support/TestMain.h"
#include "samples/SampleDriving.h"
#include "support/Files.h"

using namespace kel;

namespace {

// What another program does to a file: "+x" adds the record x at the end,
// "-x" removes it, "x>y" changes it to y.
QByteArray edited(QByteArray file, const QString &edit)
{
    if (edit.startsWith(u'+'))
        return file + records({edit.mid(1)});
    if (edit.startsWith(u'-'))
        return file.replace(records({edit.mid(1)}), "");
    return file.replace(records({edit.section(u'>', 0, 0)}), records({edit.section(u'>', 1)}));
}

const QString kMerged = "%1|%2 はほかのプログラムでも変更されていました。その変更と合わせて保存しました。|OK";
const QString kKept = "%1|%2 はほかのプログラムで書き換えられていました。その内容は「%3」に残し、こちらの内容を保存しました。|OK";

} // namespace

class TestOutsideEdits : public QObject {
    Q_OBJECT

private slots:
    void sentences_data()
    {
        QTest::addColumn<QString>("first");     // added before the other program's edit; empty: none
        QTest::addColumn<QString>("edit");      // see edited()
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<bool>("kept");         // the other program's file kept beside
        const QString hello = "こんにちは";
        // A second copy added さかな after this one read Talk.txt; this one
        // adds ねこ: without the check, さかな would be lost.
        QTest::newRow("lost update: another copy's sentence stays")
            << "" << "+さかな" << records({kPlaceholder, hello, "ねこ", "さかな"}) << false;
        QTest::newRow("a line added between two saves: merged")
            << "いぬ" << "+さかな" << records({kPlaceholder, "いぬ", hello, "ねこ", "さかな"}) << false;
        QTest::newRow("a line removed between two saves: merged")
            << "いぬ" << "-" + hello << records({kPlaceholder, "いぬ", "ねこ"}) << false;
        QTest::newRow("a line changed between two saves: both kept")
            << "いぬ" << hello + ">こんばんは" << records({kPlaceholder, "いぬ", hello, "ねこ"}) << true;
    }

    void sentences()
    {
        QFETCH(QString, first);
        QFETCH(QString, edit);
        QFETCH(bool, kept);
        TalkFixture f({{"OPT1", "2"}}, {{kSampleFileName, records({kPlaceholder, "こんにちは"})}});
        Questions questions({0, 0});
        if (!first.isEmpty()) {
            setMarked(f, '|' + first + '_');
            play(f, {"例文追加", "例文終了"});
        }
        const QByteArray theirs = edited(f.readFile(kSampleFileName), edit);
        f.writeFile(kSampleFileName, theirs);
        setMarked(f, "|ねこ_");
        play(f, {"例文追加"});

        QTEST(f.readFile(kSampleFileName), "after");
        const QStringList copies = test::keptBeside(f.path(kSampleFileName));
        QCOMPARE(copies.size(), kept ? 1 : 0);
        QCOMPARE(questions.asked, QStringList{kept ? kKept.arg("例文登録", kSampleFileName, copies.value(0))
                                                   : kMerged.arg("例文登録", kSampleFileName)});
        if (kept)
            QCOMPARE(f.readFile(copies[0]), theirs);
        // The list shows what the file holds, so the next save keeps it too.
        QStringList shown;
        for (int r = 1; r < f.ui().grdEx->Rows(); ++r)
            shown << f.ui().grdEx->TextMatrix(r, 1);
        const QStringList stored = parseSamples(decodeTextFile(f.readFile(kSampleFileName)).text).mid(1);
        QCOMPARE(QSet<QString>(shown.begin(), shown.end()), QSet<QString>(stored.begin(), stored.end()));
    }

    // A caregiver adds yesterday's entry in an editor while the diary is open.
    void diary()
    {
        const QByteArray breakfast = records({"04.09.24 朝ごはん"});
        TalkFixture f({{"OPT1", "2"}}, {{kSampleFileName, records({kPlaceholder})}, {"day.txt", breakfast}});
        Questions questions({0, 0});
        play(f, {"例文表示", "決定", "@0", "決定", "修正する", "+はれ"});
        f.writeFile("day.txt", breakfast + records({"04.09.20 むかし"}));
        play(f, {"日記終了"});
        QCOMPARE(f.readFile("day.txt"), records({"04.09.25 はれ_", "04.09.24 朝ごはん", "04.09.20 むかし"}));
        QCOMPARE(questions.asked, (QStringList{"日記の終了|日記を登録して終了します|ＹＥＳ|ＮＯ",
                                               kMerged.arg("日記の終了", "day.txt")}));
    }
};

KEL_TEST(test_outside_edits, TestOutsideEdits)
#include "test_outside_edits.moc"
