// The example list's order and its kana-row labels.

#include "samples/KanaLabels.h"
#include "samples/SampleFile.h"

#include <QTest>

using namespace kel;

Q_DECLARE_METATYPE(std::vector<int>)

class TestKanaLabels : public QObject {
    Q_OBJECT

private slots:
    void labelsFirstCharacter_data();
    void labelsFirstCharacter();
    void labelsOnlyFirstRowOfRun_data();
    void labelsOnlyFirstRowOfRun();
    void sortsWithPlaceholderFirst_data();
    void sortsWithPlaceholderFirst();
    void digitFirstSentenceStaysAfterDiaryRow();
};

void TestKanaLabels::labelsFirstCharacter_data()
{
    QTest::addColumn<QChar>("first");
    QTest::addColumn<QString>("label");

    const auto row = [](const char *name, char16_t ch, const char16_t *label) {
        QTest::newRow(name) << QChar(ch) << QString::fromUtf16(label);
    };
    row("あ opens あ行", u'あ', u"あ行");
    row("small ぃ lies inside あ..お", u'ぃ', u"あ行");
    row("お closes あ行", u'お', u"あ行");
    row("か", u'か', u"か行");
    row("が falls inside か..こ", u'が', u"か行");
    row("げ falls inside か..こ", u'げ', u"か行");
    row("ご reaches が行", u'ご', u"が行");
    row("ぞ reaches ざ行", u'ぞ', u"ざ行");
    row("ど reaches だ行", u'ど', u"だ行");
    row("ぼ reaches ば行", u'ぼ', u"ば行");
    row("ぽ reaches ぱ行", u'ぽ', u"ぱ行");
    row("ぱ falls inside は..ほ", u'ぱ', u"は行");
    row("を inside わ..ん", u'を', u"わ行");
    row("ん closes わ行", u'ん', u"わ行");
    row("ア", u'ア', u"ア行");
    row("ガ falls inside カ..コ", u'ガ', u"カ行");
    row("ゴ reaches ガ行", u'ゴ', u"ガ行");
    row("ポ reaches パ行", u'ポ', u"パ行");
    row("ン closes ワ行", u'ン', u"ワ行");
    row("small ぁ matches nothing", u'ぁ', u"");
    row("small ゎ matches nothing", u'ゎ', u"");
    row("ヴ matches nothing", u'ヴ', u"");
    row("long vowel mark matches nothing", u'ー', u"");
    row("kanji matches nothing", u'水', u"");
    row("Latin letter matches nothing", u'A', u"");
    row("digit matches nothing", u'1', u"");
}

void TestKanaLabels::labelsFirstCharacter()
{
    QFETCH(QChar, first);
    QFETCH(QString, label);
    QCOMPARE(kanaRowLabel(first), label);
}

void TestKanaLabels::labelsOnlyFirstRowOfRun_data()
{
    QTest::addColumn<QStringList>("sentences");
    QTest::addColumn<QStringList>("labels");

    QTest::newRow("か, が, ご")
        << QStringList{kPlaceholder, "かさ", "がっこう", "ごはん"}
        << QStringList{"あ行", "か行", "", "が行"};
    QTest::newRow("kanji in the middle neither labels nor ends the run")
        << QStringList{"かさ", "水", "きって", "さる"} << QStringList{"か行", "", "", "さ行"};
    QTest::newRow("kanji after the last run repeats nothing")
        << QStringList{kPlaceholder, "ありがとう", "わかった", "家族", "水"}
        << QStringList{"あ行", "", "わ行", "", ""};
    QTest::newRow("unmatched first row gets nothing")
        << QStringList{"ABC", "あさ", "いぬ"} << QStringList{"", "あ行", ""};
    QTest::newRow("empty sentence keeps the run")
        << QStringList{"あさ", "", "いぬ"} << QStringList{"あ行", "", ""};
    QTest::newRow("hiragana and katakana rows differ")
        << QStringList{"かさ", "カメラ"} << QStringList{"か行", "カ行"};
    QTest::newRow("no rows") << QStringList() << QStringList();
}

void TestKanaLabels::labelsOnlyFirstRowOfRun()
{
    QFETCH(QStringList, sentences);
    QFETCH(QStringList, labels);
    QCOMPARE(runLabels(sentences), labels);
}

void TestKanaLabels::sortsWithPlaceholderFirst_data()
{
    QTest::addColumn<QStringList>("sentences");
    QTest::addColumn<std::vector<int>>("order");

    QTest::newRow("kana by character code")
        << QStringList{"ごはん", "かさ", kPlaceholder, "がっこう"} << std::vector<int>{2, 1, 3, 0};
    QTest::newRow("hiragana, katakana, kanji")
        << QStringList{"水", "テレビ", "はい", kPlaceholder} << std::vector<int>{3, 2, 1, 0};
    QTest::newRow("digit, Latin, symbol, ぁ and empty stay after the placeholder")
        << QStringList{"123", "ABC", kPlaceholder, "!", "ぁ", "", "あい"}
        << std::vector<int>{2, 5, 3, 0, 1, 4, 6};
    QTest::newRow("case-sensitive: capitals before lower case")
        << QStringList{"b", "a", "B"} << std::vector<int>{2, 1, 0};
    QTest::newRow("equal texts keep file order")
        << QStringList{"はい", kPlaceholder, "はい", "いいえ"} << std::vector<int>{1, 3, 0, 2};
    QTest::newRow("two placeholders keep file order")
        << QStringList{"あ", kPlaceholder, "1", kPlaceholder} << std::vector<int>{1, 3, 2, 0};
    QTest::newRow("no placeholder") << QStringList{"c", "a"} << std::vector<int>{1, 0};
    QTest::newRow("no rows") << QStringList() << std::vector<int>{};
}

void TestKanaLabels::sortsWithPlaceholderFirst()
{
    QFETCH(QStringList, sentences);
    QFETCH(std::vector<int>, order);
    QCOMPARE(sampleOrder(sentences), order);
}

void TestKanaLabels::digitFirstSentenceStaysAfterDiaryRow()
{
    const QStringList sorted = sortSamples({"3時に起こしてください", kPlaceholder, "ありがとう"});
    QCOMPARE(sorted, (QStringList{kPlaceholder, "3時に起こしてください", "ありがとう"}));
    // The digit row matches no range, so the placeholder's あ行 run goes on.
    QCOMPARE(runLabels(sorted), (QStringList{"あ行", "", ""}));
}

QTEST_APPLESS_MAIN(TestKanaLabels)
#include "test_kanalabels.moc"
