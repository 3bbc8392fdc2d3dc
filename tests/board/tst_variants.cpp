// The variant forms offered on the enlarged screen.

#include "board/Variants.h"

#include <QSet>
#include <QTest>

namespace {

struct VariantLine {
    const char16_t* bases;
    const char16_t* lefts;   // empty: no left-cell form
    const char16_t* rights;
};

// Every character that has variants, as the enlarged screen must offer them.
constexpr VariantLine kExpected[] = {
    {u"あいうえお", u"", u"ぁぃぅぇぉ"},
    {u"かきくけこ", u"", u"がぎぐげご"},
    {u"さしすせそ", u"", u"ざじずぜぞ"},
    {u"たちてと", u"", u"だぢでど"},
    {u"つ", u"っ", u"づ"},
    {u"はひふへほ", u"ぱぴぷぺぽ", u"ばびぶべぼ"},
    {u"やゆよ", u"", u"ゃゅょ"},
    {u"アイウエオ", u"", u"ァィゥェォ"},
    {u"カキクケコ", u"", u"ガギグゲゴ"},
    {u"サシスセソ", u"", u"ザジズゼゾ"},
    {u"タチテト", u"", u"ダヂデド"},
    {u"ツ", u"ッ", u"ヅ"},
    {u"ハヒフヘホ", u"パピプペポ", u"バビブベボ"},
    {u"ヤユヨ", u"", u"ャュョ"},
    {u"ABCDEFGHIJKLMNOPQRSTUVWXYZ", u"", u"abcdefghijklmnopqrstuvwxyz"},
};

QString formOf(const QString& forms, qsizetype i)
{
    return forms.isEmpty() ? QString() : QString(forms.at(i));
}

} // namespace

class TestVariants : public QObject {
    Q_OBJECT

private slots:
    void withVariants_data();
    void withVariants();
    void withoutVariants_data();
    void withoutVariants();
    void onlyTheListedCharactersHaveVariants();
};

void TestVariants::withVariants_data()
{
    QTest::addColumn<QString>("bases");
    QTest::addColumn<QString>("lefts");
    QTest::addColumn<QString>("rights");

    for (const VariantLine& line : kExpected) {
        const QString bases = QString::fromUtf16(line.bases);
        QTest::newRow(qPrintable(bases)) << bases << QString::fromUtf16(line.lefts)
                                         << QString::fromUtf16(line.rights);
    }
}

void TestVariants::withVariants()
{
    QFETCH(QString, bases);
    QFETCH(QString, lefts);
    QFETCH(QString, rights);

    for (qsizetype i = 0; i < bases.size(); ++i) {
        const QString base(bases.at(i));
        const std::optional<kel::VariantForms> forms = kel::variantsOf(base);
        QVERIFY2(forms.has_value(), qPrintable(base));
        QCOMPARE(forms->left, formOf(lefts, i));
        QCOMPARE(forms->right, formOf(rights, i));
    }
}

void TestVariants::withoutVariants_data()
{
    QTest::addColumn<QString>("texts");  // each character tried alone

    QTest::newRow("voiced and semi-voiced kana")
        << "がぎぐげござじずぜぞだぢづでどばびぶべぼぱぴぷぺぽガザダヅバパヴ";
    QTest::newRow("small kana") << "ぁぃぅぇぉっゃゅょゎァィゥェォッャュョ";
    QTest::newRow("kana rows without variants")
        << "なにぬねのまみむめもらりるれろわをんナニヌネノマミムメモラリルレロワヲン";
    QTest::newRow("lower-case letters") << "abcxyz";
    QTest::newRow("digits and signs") << "0123456789/;:%+-?@!.,。、ー？_ 　";
    QTest::newRow("full-width and half-width look-alikes") << "ＡＺａｶﾂｱ";
}

void TestVariants::withoutVariants()
{
    QFETCH(QString, texts);

    for (const QChar ch : std::as_const(texts))
        QVERIFY2(!kel::variantsOf(QString(ch)).has_value(), qPrintable(QString(ch)));
}

void TestVariants::onlyTheListedCharactersHaveVariants()
{
    QSet<char16_t> listed;
    for (const VariantLine& line : kExpected) {
        for (const QChar ch : QString::fromUtf16(line.bases))
            listed.insert(ch.unicode());
    }
    QCOMPARE(listed.size(), 82);

    for (char32_t code = 0; code <= 0xFFFF; ++code) {
        const char16_t ch = char16_t(code);
        const bool has = kel::variantsOf(QString(QChar(ch))).has_value();
        if (has != listed.contains(ch))
            QFAIL(qPrintable(QStringLiteral("U+%1").arg(uint(code), 4, 16, QLatin1Char('0'))));
    }

    // Texts of more than one character are compared whole.
    QVERIFY(!kel::variantsOf(QStringLiteral("(^_^)")).has_value());
    QVERIFY(!kel::variantsOf(QStringLiteral("かか")).has_value());
    QVERIFY(!kel::variantsOf(QStringLiteral("か ")).has_value());
    QVERIFY(!kel::variantsOf(QString()).has_value());
}

QTEST_APPLESS_MAIN(TestVariants)
#include "tst_variants.moc"
