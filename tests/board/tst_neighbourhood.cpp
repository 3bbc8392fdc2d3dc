// The enlarged grid filled around a chosen board cell.

#include "board/Neighbourhood.h"

#include <QTest>

namespace {

// Boards written out as rows of cells, as the user sees them.
using Board = QList<QStringList>;

QStringList cellsOf(const QString& row)
{
    QStringList cells;
    for (const QChar ch : row)
        cells.append(QString(ch));
    return cells;
}

const Board& hiragana10()
{
    static const Board board{
        cellsOf(QStringLiteral("わらやまはなたさかあ")), cellsOf(QStringLiteral("をりゆみひにちしきい")),
        cellsOf(QStringLiteral("んるよむふぬつすくう")), cellsOf(QStringLiteral("。れーめへねてせけえ")),
        cellsOf(QStringLiteral("、ろ？もほのとそこお"))};
    return board;
}

const Board& katakana10()
{
    static const Board board{
        cellsOf(QStringLiteral("ワラヤマハナタサカア")), cellsOf(QStringLiteral("ヲリユミヒニチシキイ")),
        cellsOf(QStringLiteral("ンルヨムフヌツスクウ")), cellsOf(QStringLiteral("。レーメヘネテセケエ")),
        cellsOf(QStringLiteral("、ロ？モホノトソコオ"))};
    return board;
}

// Voiced columns 0..4, then the ten hiragana columns.
const Board& hiragana15()
{
    static const Board board = [] {
        const QStringList voiced{QStringLiteral("ぱばだざが"), QStringLiteral("ぴびぢじぎ"), QStringLiteral("ぷぶづずぐ"),
                                 QStringLiteral("ぺべでぜげ"), QStringLiteral("ぽぼどぞご")};
        Board rows;
        for (int r = 0; r < 5; ++r)
            rows.append(cellsOf(voiced[r]) + hiragana10()[r]);
        return rows;
    }();
    return board;
}

const Board& alphanumeric10()
{
    static const Board board{
        cellsOf(QStringLiteral("1234567890")), cellsOf(QStringLiteral("QWERTYUIOP")), cellsOf(QStringLiteral("ASDFGHJKL;")),
        cellsOf(QStringLiteral("/ZXCVBNM,.")),
        cellsOf(QStringLiteral(":%+-?@。!")) + QStringList{QStringLiteral("(^_^)"), QStringLiteral("(T_T)")}};
    return board;
}

// The letters keep to columns 0..9; columns 10..14 of a wide board are empty.
const Board& alphanumeric15()
{
    static const Board board = [] {
        Board rows = alphanumeric10();
        for (QStringList& row : rows)
            row += QStringList(5, QString());
        return rows;
    }();
    return board;
}

const Board& boardNamed(const QString& name)
{
    if (name == u"hiragana10") return hiragana10();
    if (name == u"katakana10") return katakana10();
    if (name == u"hiragana15") return hiragana15();
    if (name == u"alphanumeric15") return alphanumeric15();
    return alphanumeric10();
}

// The grid as three lines of three cells, "" for an empty cell:
// "\"\" \"\" \"\" / さ か が / し き ぎ".
QString describe(const kel::Cells3x3& cells)
{
    QStringList rows;
    for (const auto& row : cells) {
        QStringList shown;
        for (const QString& cell : row)
            shown.append(cell.isEmpty() ? QStringLiteral("\"\"") : cell);
        rows.append(shown.join(u' '));
    }
    return rows.join(QStringLiteral(" / "));
}

} // namespace

class TestNeighbourhood : public QObject {
    Q_OBJECT

private slots:
    void pickBoardCell_data();
    void pickBoardCell();
    void readsOnlyCellsInsideTheBoard_data();
    void readsOnlyCellsInsideTheBoard();
};

void TestNeighbourhood::pickBoardCell_data()
{
    QTest::addColumn<QString>("board");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("grid");

    QTest::newRow("か: top row empty, voiced form on the right")
        << "hiragana10" << 0 << 8 << "\"\" \"\" \"\" / さ か が / し き ぎ";
    QTest::newRow("つ: small form on the left, voiced on the right")
        << "hiragana10" << 2 << 6 << "に ち ぢ / っ つ づ / ね て で";
    QTest::newRow("ほ: semi-voiced left, voiced right, bottom row empty")
        << "hiragana10" << 4 << 4 << "ぺ へ べ / ぽ ほ ぼ / \"\" \"\" \"\"";
    QTest::newRow("あ: last column has no right neighbour, small forms")
        << "hiragana10" << 0 << 9 << "\"\" \"\" \"\" / か あ ぁ / き い ぃ";
    QTest::newRow("ん: column 0 leaves the left column empty")
        << "hiragana10" << 2 << 0 << "\"\" を り / \"\" ん る / \"\" 。 れ";
    QTest::newRow("に: neighbours only, no variants")
        << "hiragana10" << 1 << 5 << "は な た / ひ に ち / ふ ぬ つ";
    QTest::newRow("ツ on the katakana board")
        << "katakana10" << 2 << 6 << "ニ チ ヂ / ッ ツ ヅ / ネ テ デ";
    QTest::newRow("ヤ: small forms")
        << "katakana10" << 0 << 2 << "\"\" \"\" \"\" / ラ ヤ ャ / リ ユ ュ";
    QTest::newRow("A: lower-case letters on the right")
        << "alphanumeric10" << 2 << 0 << "\"\" Q q / \"\" A a / \"\" / Z";
    QTest::newRow("(^_^): face texts have no variants")
        << "alphanumeric10" << 4 << 8 << "M , . / ! (^_^) (T_T) / \"\" \"\" \"\"";
    QTest::newRow("15 columns: な at column 10 shows no right neighbour")
        << "hiragana15" << 0 << 10 << "\"\" \"\" \"\" / は な \"\" / ひ に \"\"";
    QTest::newRow("15 columns: か at column 13 shows only its voiced form")
        << "hiragana15" << 0 << 13 << "\"\" \"\" \"\" / さ か が / し き ぎ";
    QTest::newRow("15 columns: ひ at column 9 shows variants, no right neighbour")
        << "hiragana15" << 1 << 9 << "ぱ は ば / ぴ ひ び / ぷ ふ ぶ";
    QTest::newRow("15 columns: a voiced column reads its right neighbour")
        << "hiragana15" << 0 << 4 << "\"\" \"\" \"\" / ざ が わ / じ ぎ を";
    QTest::newRow("15 columns: empty letter cell")
        << "alphanumeric15" << 1 << 10 << "0 \"\" \"\" / P \"\" \"\" / ; \"\" \"\"";
}

void TestNeighbourhood::pickBoardCell()
{
    QFETCH(QString, board);
    QFETCH(int, row);
    QFETCH(int, col);
    QFETCH(QString, grid);

    const Board& cells = boardNamed(board);
    const auto boardText = [&cells](int r, int c) { return cells.at(r).at(c); };
    QCOMPARE(describe(kel::pickBoardCell(boardText, col, row)), grid);
}

void TestNeighbourhood::readsOnlyCellsInsideTheBoard_data()
{
    QTest::addColumn<int>("lastCol");
    QTest::newRow("10 columns") << 9;
    QTest::newRow("15 columns") << 14;
}

void TestNeighbourhood::readsOnlyCellsInsideTheBoard()
{
    QFETCH(int, lastCol);

    // The board callback may index a real grid; a read outside it, or of a
    // right neighbour beyond the fixed bound, is a fault.
    QStringList faults;
    for (int row = 0; row < 5; ++row) {
        for (int col = 0; col <= lastCol; ++col) {
            const auto boardText = [&](int r, int c) {
                const bool inside = r >= 0 && r < 5 && c >= 0 && c <= lastCol;
                const bool allowedColumn = c <= col || col < kel::kRightNeighbourBound;
                if (!inside || !allowedColumn)
                    faults.append(QStringLiteral("(%1,%2) for (%3,%4)").arg(r).arg(c).arg(row).arg(col));
                return QStringLiteral("%1,%2").arg(r).arg(c);
            };
            const kel::Cells3x3 cells = kel::pickBoardCell(boardText, col, row);
            QCOMPARE(cells[1][1], QStringLiteral("%1,%2").arg(row).arg(col));
        }
    }
    QCOMPARE(faults, QStringList{});
}

QTEST_APPLESS_MAIN(TestNeighbourhood)
#include "tst_neighbourhood.moc"
