// The three board layouts in both widths, read row by row. (The mode
// button's captions are pressed through in test_frmtalk.)
#include "board/BoardLayout.h"
#include "board/Variants.h"

#include <QTest>

using namespace kel;

namespace {
QString row(BoardMode mode, int maxC, int r)
{
    QString s;
    for (int c = 0; c <= maxC; ++c) {
        const QString cell = boardCellText(mode, maxC, r, c);
        s += cell.isEmpty() ? QStringLiteral("·") : cell;
    }
    return s;
}
} // namespace

class TestBoardLayout : public QObject {
    Q_OBJECT
private slots:
    void rows_data();
    void rows();
    void columnWidths();
    void variantForms_data();
    void variantForms();
};

void TestBoardLayout::rows_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("maxC");
    QTest::addColumn<int>("r");
    QTest::addColumn<QString>("expected");
    const int H = int(BoardMode::Hiragana), K = int(BoardMode::Katakana), A = int(BoardMode::Alphanumeric);
    QTest::newRow("hiragana 10 row 0") << H << 9 << 0 << "わらやまはなたさかあ";
    QTest::newRow("hiragana 15 row 0") << H << 14 << 0 << "ぱばだざがわらやまはなたさかあ";
    QTest::newRow("hiragana 15 row 4") << H << 14 << 4 << "ぽぼどぞご、ろ？もほのとそこお";
    QTest::newRow("katakana 10 row 3") << K << 9 << 3 << "。レーメヘネテセケエ";
    QTest::newRow("katakana 15 row 1") << K << 14 << 1 << "ピビヂジギヲリユミヒニチシキイ";
    QTest::newRow("letters row 3") << A << 9 << 3 << "/ZXCVBNM,.";
    QTest::newRow("letters row 4") << A << 9 << 4 << ":%+-?@。!(^_^)(T_T)";
    QTest::newRow("letters 15 leave 10..14 empty") << A << 14 << 1 << "QWERTYUIOP·····";
}

void TestBoardLayout::rows()
{
    QFETCH(int, mode);
    QFETCH(int, maxC);
    QFETCH(int, r);
    QTEST(row(BoardMode(mode), maxC, r), "expected");
}

void TestBoardLayout::columnWidths()
{
    QCOMPARE(boardColumnTwips(9), 1180);
    QCOMPARE(boardColumnTwips(14), 773);
}

void TestBoardLayout::variantForms_data()
{
    QTest::addColumn<QString>("chars");
    QTest::addColumn<QString>("left");    // "·": none
    QTest::addColumn<QString>("right");
    QTest::newRow("た row") << "たちつてと" << "··っ··" << "だぢづでど";
    QTest::newRow("は row") << "はひふへほ" << "ぱぴぷぺぽ" << "ばびぶべぼ";
    QTest::newRow("や row") << "やゆよ" << "···" << "ゃゅょ";
    QTest::newRow("タ row") << "タチツテト" << "··ッ··" << "ダヂヅデド";
    QTest::newRow("ハ row") << "ハヒフヘホ" << "パピプペポ" << "バビブベボ";
    QTest::newRow("letters") << "AMZ" << "···" << "amz";
    QTest::newRow("no variants") << "aがぁな0。ー" << "·······" << "·······";
}

void TestBoardLayout::variantForms()
{
    QFETCH(QString, chars);
    QString left, right;
    for (QChar c : chars) {
        const auto v = variantsOf(QString(c));
        left += v && !v->left.isEmpty() ? v->left : QStringLiteral("·");
        right += v ? v->right : QStringLiteral("·");
    }
    QTEST(left, "left");
    QTEST(right, "right");
    QVERIFY(!variantsOf(QStringLiteral("(^_^)")));
}

QTEST_APPLESS_MAIN(TestBoardLayout)
#include "test_boardlayout.moc"
