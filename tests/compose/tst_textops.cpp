// Insertion at the caret, the end marker, the suggestion key and lookup, and
// the replacement of the key by a chosen sentence. Texts in the tables mark
// the caret with "|": "あ|い_" is the text "あい_" with the caret after "あ".

#include "compose/TextOps.h"

#include <QTest>

using kel::TextEdit;

namespace {

// "あ|い_" -> {"あい_", 1}
TextEdit marked(const QString& withCaret)
{
    const qsizetype caret = withCaret.indexOf(u'|');
    Q_ASSERT(caret >= 0);
    QString text = withCaret;
    text.remove(caret, 1);
    return {text, caret};
}

// {"あい_", 1} -> "あ|い_"; a caret outside the text shows as "<caret N>".
QString showCaret(const TextEdit& edit)
{
    if (edit.caret < 0 || edit.caret > edit.text.size())
        return edit.text + QStringLiteral("<caret %1>").arg(edit.caret);
    QString shown = edit.text;
    shown.insert(edit.caret, u'|');
    return shown;
}

QString repeated(QChar ch, qsizetype count)
{
    return QString(count, ch);
}

} // namespace

class TestTextOps : public QObject {
    Q_OBJECT

private slots:
    void putText_data();
    void putText();
    void putText_clampsCaret_data();
    void putText_clampsCaret();
    void putText_beyond16BitPositions();

    void insertAtCaret_data();
    void insertAtCaret();

    void suggestionKey_data();
    void suggestionKey();
    void suggestionKey_longText();
    void suggestionKeyOf_data();
    void suggestionKeyOf();

    void matchSamples_data();
    void matchSamples();
    void matchSamples_thirtyThousandSentences();

    void takeSuggestion_data();
    void takeSuggestion();
    void takeSuggestion_outOfRange_data();
    void takeSuggestion_outOfRange();
    void takeSuggestion_afterKeyOfLongText();
};

void TestTextOps::putText_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("insert");
    QTest::addColumn<QString>("after");

    QTest::newRow("first pick into an empty text gets the marker") << "|" << "あ" << "あ|_";
    QTest::newRow("typing at the end keeps one marker") << "あ|_" << "い" << "あい|_";
    QTest::newRow("inside the text: in front of the block") << "あ|いう_" << "か" << "あか|いう_";
    QTest::newRow("at the start") << "|あい_" << "か" << "か|あい_";
    QTest::newRow("text without marker gets it back") << "あい|" << "う" << "あいう|_";
    QTest::newRow("marker appended after the rest, not at the caret")
        << "あ|いう" << "か" << "あか|いう_";
    QTest::newRow("caret after the marker: a second marker") << "あ_|" << "い" << "あ_い|_";
    QTest::newRow("face text inserted whole") << "あ|_" << "(^_^)" << "あ(^_^)|_";
    QTest::newRow("inserted text ending in marker adds none") << "|" << "_" << "_|";
    QTest::newRow("empty insert only restores the marker") << "あ|" << "" << "あ|_";
    QTest::newRow("empty insert keeps a present marker") << "あ|_" << "" << "あ|_";
    QTest::newRow("full-width space from an empty cell") << "あ|_" << "　" << "あ　|_";
}

void TestTextOps::putText()
{
    QFETCH(QString, before);
    QFETCH(QString, insert);
    QFETCH(QString, after);

    const TextEdit in = marked(before);
    QCOMPARE(showCaret(kel::putText(in.text, in.caret, insert)), after);
}

void TestTextOps::putText_clampsCaret_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qsizetype>("caret");
    QTest::addColumn<QString>("after");

    QTest::newRow("negative caret counts as the start") << "あい_" << qsizetype(-5) << "う|あい_";
    QTest::newRow("caret beyond the end counts as the end") << "あい" << qsizetype(10) << "あいう|_";
    QTest::newRow("any caret into an empty text") << "" << qsizetype(3) << "う|_";
}

void TestTextOps::putText_clampsCaret()
{
    QFETCH(QString, text);
    QFETCH(qsizetype, caret);
    QFETCH(QString, after);

    QCOMPARE(showCaret(kel::putText(text, caret, QStringLiteral("う"))), after);
}

void TestTextOps::putText_beyond16BitPositions()
{
    // A 16-bit insertion position would stop working past 32,766 characters.
    const QString typed = repeated(u'あ', 40'000);

    const TextEdit atEnd = kel::putText(typed + u'_', typed.size(), QStringLiteral("い"));
    QCOMPARE(atEnd.caret, qsizetype(40'001));
    QCOMPARE(atEnd.text, typed + QStringLiteral("い_"));

    const TextEdit inside = kel::putText(typed + u'_', 35'000, QStringLiteral("い"));
    QCOMPARE(inside.caret, qsizetype(35'001));
    QCOMPARE(inside.text.size(), qsizetype(40'002));
    QCOMPARE(inside.text.at(35'000), QChar(u'い'));
    QCOMPARE(inside.text.at(34'999), QChar(u'あ'));
    QCOMPARE(inside.text.at(35'001), QChar(u'あ'));
}

void TestTextOps::insertAtCaret_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("sentence");
    QTest::addColumn<QString>("after");

    QTest::newRow("caret at the start: sentence in front of all")
        << "|あい_" << "おはよう" << "おはよう|あい_";
    QTest::newRow("caret in the middle") << "あ|い_" << "おはよう" << "あおはよう|い_";
    QTest::newRow("caret before the marker") << "あい|_" << "おはよう" << "あいおはよう|_";
    QTest::newRow("no marker is added") << "あい|" << "おはよう" << "あいおはよう|";
    QTest::newRow("into an empty text") << "|" << "おはよう" << "おはよう|";
    QTest::newRow("sentence inserted as given, spaces kept") << "|_" << " お " << " お |_";
}

void TestTextOps::insertAtCaret()
{
    QFETCH(QString, before);
    QFETCH(QString, sentence);
    QFETCH(QString, after);

    const TextEdit in = marked(before);
    QCOMPARE(showCaret(kel::insertAtCaret(in.text, in.caret, sentence)), after);
    QCOMPARE(showCaret(kel::insertAtCaret(in.text, -1, sentence)),
             showCaret(kel::insertAtCaret(in.text, 0, sentence)));
    QCOMPARE(showCaret(kel::insertAtCaret(in.text, in.text.size() + 7, sentence)),
             showCaret(kel::insertAtCaret(in.text, in.text.size(), sentence)));
}

void TestTextOps::suggestionKey_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("n");
    QTest::addColumn<bool>("offered");
    QTest::addColumn<QString>("key");

    // Typing at the end, marker present.
    QTest::newRow("one typed, n=2: already a key") << "か|_" << 2 << true << "か";
    QTest::newRow("exactly n typed: all of them") << "あい|_" << 2 << true << "あい";
    QTest::newRow("n+1 typed: only the last n") << "あいう|_" << 2 << true << "いう";
    QTest::newRow("n=1") << "あいう|_" << 1 << true << "う";
    QTest::newRow("n=5, fewer typed") << "あいう|_" << 5 << true << "あいう";
    QTest::newRow("n=5, more typed") << "わたしはありがとう|_" << 5 << true << "ありがとう";
    QTest::newRow("marker alone: empty key") << "|_" << 2 << true << "";
    QTest::newRow("spaces belong to the key") << "あ |_" << 2 << true << "あ ";
    QTest::newRow("n=0 gives an empty key") << "あい|_" << 0 << true << "";
    QTest::newRow("negative n counts as 0") << "あい|_" << -3 << true << "";

    // Caret before the last character, which is not the marker.
    QTest::newRow("no marker: last n characters") << "あい|う" << 2 << true << "いう";
    QTest::newRow("no marker, shorter than n: whole text") << "|あ" << 2 << true << "あ";
    QTest::newRow("no marker, n=3") << "わたしは|あ" << 3 << true << "しはあ";

    // Any other caret.
    QTest::newRow("typing in the middle offers nothing") << "あ|いう_" << 2 << false << "";
    QTest::newRow("caret after the marker") << "あい_|" << 2 << false << "";
    QTest::newRow("caret at the start of a longer text") << "|あい_" << 2 << false << "";
    QTest::newRow("empty text") << "|" << 2 << false << "";
}

void TestTextOps::suggestionKey()
{
    QFETCH(QString, text);
    QFETCH(int, n);
    QFETCH(bool, offered);
    QFETCH(QString, key);

    const TextEdit in = marked(text);
    const std::optional<QString> found = kel::suggestionKey(in.text, in.caret, n);
    QCOMPARE(found.has_value(), offered);
    if (offered)
        QCOMPARE(*found, key);
}

void TestTextOps::suggestionKey_longText()
{
    const QString text = repeated(u'あ', 40'000) + QStringLiteral("いう_");
    QCOMPARE(kel::suggestionKey(text, text.size() - 1, 2), std::optional<QString>(QStringLiteral("いう")));
    QCOMPARE(kel::suggestionKey(text, text.size() - 2, 2), std::nullopt);
    QCOMPARE(kel::suggestionKey(text, -1, 2), std::nullopt);
}

void TestTextOps::suggestionKeyOf_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("marker");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("key");

    // Around the n+2 boundary: below it the whole typed text, from it the last n.
    QTest::newRow("n=1, one typed") << "か_" << true << 1 << "か";
    QTest::newRow("n=1, two typed") << "かき_" << true << 1 << "き";
    QTest::newRow("n=2, two typed") << "かき_" << true << 2 << "かき";
    QTest::newRow("n=2, three typed") << "かきく_" << true << 2 << "きく";
    QTest::newRow("n=5, five typed") << "あいうえお_" << true << 5 << "あいうえお";
    QTest::newRow("n=5, six typed") << "かあいうえお_" << true << 5 << "あいうえお";
    QTest::newRow("marker alone") << "_" << true << 2 << "";
    // The marker flag comes from the box: the text's own last character is
    // then cut off as typed text would be.
    QTest::newRow("marker flag with another last character") << "あいう" << true << 2 << "あい";
    QTest::newRow("no marker: the last n") << "あいう" << false << 2 << "いう";
    QTest::newRow("no marker, a marker-like last character kept") << "あい_" << false << 2 << "い_";
    QTest::newRow("no marker, shorter than n") << "あ" << false << 5 << "あ";
    QTest::newRow("empty text") << "" << true << 2 << "";
}

void TestTextOps::suggestionKeyOf()
{
    QFETCH(QString, text);
    QFETCH(bool, marker);
    QFETCH(int, n);
    QFETCH(QString, key);

    QCOMPARE(kel::suggestionKeyOf(text, marker, n), key);
}

void TestTextOps::matchSamples_data()
{
    QTest::addColumn<QStringList>("samples");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("matches");

    const QStringList greetings{"ありがとう", "あさ", "おはよう", "ありがとうございます"};

    QTest::newRow("sentences beginning with the key, in stored order")
        << greetings << "あり" << QStringList{"ありがとう", "ありがとうございます"};
    QTest::newRow("a one-character key") << greetings << "あ"
                                          << QStringList{"ありがとう", "あさ", "ありがとうございます"};
    QTest::newRow("the key only inside a sentence does not match")
        << QStringList{"わたしはありがとう"} << "あり" << QStringList{};
    QTest::newRow("a sentence stored twice is listed twice")
        << QStringList{"おはよう", "あさ", "おはよう"} << "お" << QStringList{"おはよう", "おはよう"};
    QTest::newRow("a sentence equal to the key matches")
        << QStringList{"あり"} << "あり" << QStringList{"あり"};
    QTest::newRow("a sentence shorter than the key does not match")
        << QStringList{"あ"} << "あり" << QStringList{};
    QTest::newRow("letter case counts") << QStringList{"Abc", "abc", "ABC"} << "ab"
                                        << QStringList{"abc"};
    QTest::newRow("trailing space: only the sentence equal to the trimmed key")
        << QStringList{"あいう", "あ", "あい"} << "あ " << QStringList{"あ"};
    QTest::newRow("leading space: only the sentence equal to the trimmed key")
        << QStringList{"あいう", "あ", "あい"} << " あ" << QStringList{"あ"};
    QTest::newRow("full-width space is content, not trimmed")
        << QStringList{"あいう", "あ", "あ　か"} << "あ　" << QStringList{"あ　か"};
    QTest::newRow("only ASCII spaces are trimmed around a full-width one")
        << QStringList{"あ　", "あ　か", "あ"} << "あ　 " << QStringList{"あ　"};
    QTest::newRow("tab is content") << QStringList{"あ", "あ\tい"} << "あ\t" << QStringList{"あ\tい"};
    QTest::newRow("no sentences") << QStringList{} << "あ" << QStringList{};
    QTest::newRow("an empty key matches every sentence")
        << QStringList{"あ", ""} << "" << QStringList{"あ", ""};
}

void TestTextOps::matchSamples()
{
    QFETCH(QStringList, samples);
    QFETCH(QString, key);
    QFETCH(QStringList, matches);

    QCOMPARE(kel::matchSamples(samples, key), matches);
}

void TestTextOps::matchSamples_thirtyThousandSentences()
{
    // One sentence in ten begins with the key; the others differ in their
    // first character, in their second, or are shorter than the key.
    QStringList samples;
    samples.reserve(30'000);
    for (int i = 0; i < 30'000; ++i) {
        const QString number = QString::number(i);
        switch (i % 10) {
        case 0: samples.append(QStringLiteral("ありがとう") + number); break;
        case 1: samples.append(QStringLiteral("あさ") + number); break;
        case 2: samples.append(QStringLiteral("あ")); break;
        default: samples.append(QStringLiteral("おはよう") + number); break;
        }
    }
    const QString key = QStringLiteral("あり");

    QStringList matches;
    QBENCHMARK {
        matches = kel::matchSamples(samples, key);
    }

    QCOMPARE(matches.size(), 3'000);
    QCOMPARE(matches.first(), QStringLiteral("ありがとう0"));
    QCOMPARE(matches.last(), QStringLiteral("ありがとう29990"));
}

void TestTextOps::takeSuggestion_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("after");

    // Caret before the marker, as typing at the end leaves it.
    QTest::newRow("key after earlier text replaced")
        << "わたしはあり|_" << 2 << "ありがとう" << "わたしはありがとう|_";
    QTest::newRow("key was the whole text")
        << "あり|_" << 2 << "ありがとう" << "ありがとう|_";
    QTest::newRow("fewer typed than n")
        << "お|_" << 2 << "おはよう" << "おはよう|_";
    QTest::newRow("the key row itself puts the key back")
        << "わたしはあり|_" << 2 << "あり" << "わたしはあり|_";
    QTest::newRow("n=1") << "あいう|_" << 1 << "うみ" << "あいうみ|_";
    QTest::newRow("n=5") << "わたしはありがと|_" << 5 << "はありがとう" << "わたしはありがとう|_";
    QTest::newRow("only the marker, n=1") << "|_" << 1 << "あ" << "あ|_";
    QTest::newRow("empty text: caret after the new marker") << "|" << 2 << "あさ" << "あさ_|";

    // Without the marker the last n characters are the key, and the text from
    // the caret, the character under the block, follows the sentence.
    QTest::newRow("no marker: the block character stays after the sentence")
        << "わたしはあ|り" << 2 << "ありがとう" << "わたしはありがとう|り";
    QTest::newRow("no marker, shorter than n+1")
        << "|お" << 2 << "おはよう" << "おはよう|_";
}

void TestTextOps::takeSuggestion()
{
    QFETCH(QString, before);
    QFETCH(int, n);
    QFETCH(QString, chosen);
    QFETCH(QString, after);

    const TextEdit in = marked(before);
    QCOMPARE(showCaret(kel::takeSuggestion(in.text, in.caret, chosen, n)), after);
}

void TestTextOps::takeSuggestion_outOfRange_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qsizetype>("caret");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("after");

    QTest::newRow("caret below 0 counts as 0")
        << "あり_" << qsizetype(-4) << 2 << "ありがとう" << "ありが|とうあり_";
    QTest::newRow("caret beyond the end counts as the end; result caret clamped")
        << "あり_" << qsizetype(99) << 2 << "ありがとう" << "ありがとう|";
    QTest::newRow("arithmetic below 0 clamped to the start")
        << "あいう_" << qsizetype(0) << 2 << "" << "|ああいう_";
    QTest::newRow("negative n counts as 0")
        << "あり_" << qsizetype(2) << -1 << "ありがとう" << "ありありがとう|_";
    QTest::newRow("huge n: the whole text is the key")
        << "あり_" << qsizetype(2) << 1'000'000 << "ありがとう" << "ありがとう|_";
}

void TestTextOps::takeSuggestion_outOfRange()
{
    QFETCH(QString, text);
    QFETCH(qsizetype, caret);
    QFETCH(int, n);
    QFETCH(QString, chosen);
    QFETCH(QString, after);

    QCOMPARE(showCaret(kel::takeSuggestion(text, caret, chosen, n)), after);
}

void TestTextOps::takeSuggestion_afterKeyOfLongText()
{
    // The key and the decision work together past 16-bit positions.
    const QString earlier = repeated(u'あ', 40'000);
    const QString text = earlier + QStringLiteral("ありがと_");
    const qsizetype caret = text.size() - 1;

    const std::optional<QString> key = kel::suggestionKey(text, caret, 2);
    QCOMPARE(key, std::optional<QString>(QStringLiteral("がと")));

    const TextEdit taken = kel::takeSuggestion(text, caret, QStringLiteral("がとう"), 2);
    QCOMPARE(taken.text, earlier + QStringLiteral("ありがとう_"));
    QCOMPARE(taken.caret, taken.text.size() - 1);
}

QTEST_APPLESS_MAIN(TestTextOps)
#include "tst_textops.moc"
