// "△", "▽", a touch on a row and "決定" on the lists, through the real
// buttons and grid cells: the highlight and the scrolling while a button is
// held, a suggestion taking the place of its key, and an example sentence
// inserted at the caret.

#include "frame/ScreenStates.h"
#include "samples/SampleDriving.h"

using namespace kel;

namespace {

// A window whose Talk.txt holds the placeholder and `sentences`, with
// `typed` left at the end of the text as typing leaves it: all but its last
// character set with the block on the marker, the last one entered with a
// touch on the board ("OPT1" = "2"), written into the touched cell first.
// Without `typed`, the example list is opened over "あ[い]_".
std::unique_ptr<TalkFixture> windowWith(const QStringList &sentences, const QString &typed)
{
    auto f = std::make_unique<TalkFixture>(std::map<QString, QString>{{"OPT1", "2"}},
                                           std::map<QString, QByteArray>{
                                               {kSampleFileName, records(QStringList{kPlaceholder} + sentences)}});
    if (typed.isEmpty()) {
        f->click(f->ui().cmdSamp);
        f->setText(QStringLiteral("あい_"), 1, 1);
        return f;
    }
    f->setText(typed.chopped(1) + u'_', typed.size() - 1, 1);
    f->ui().grdBoard->setTextMatrix(0, 0, typed.right(1));
    f->touchCell(f->ui().grdBoard, 0, 0);
    f->settle();
    return f;
}

} // namespace

class TestListNav : public QObject {
    Q_OBJECT

private slots:
    void highlight_data();
    void highlight();
    void decision_data();
    void decision();
};

void TestListNav::highlight_data()
{
    QTest::addColumn<QString>("typed");  // none: the example list
    QTest::addColumn<QString>("steps");  // "▽0.3": "▽" held 0.3 s; "4": a touch on row 4
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("top");
    // A step at the press and one every 0.23 s while held.
    QTest::newRow("▽: second row, no scroll yet") << "" << "▽0.3" << 2 << 0;
    QTest::newRow("▽: third visible row reached, list scrolls") << "" << "▽0.5" << 3 << 1;
    QTest::newRow("▽: highlight stays on the third visible row") << "" << "▽1" << 5 << 3;
    // The highlight goes on up to the key row while the list keeps it out of sight.
    QTest::newRow("△ in the suggestions stops scrolling at row 1") << "あり" << "▽4.5 △10" << 0 << 1;
    QTest::newRow("a touch moves only the highlight") << "" << "4" << 4 << 0;
}

void TestListNav::highlight()
{
    QFETCH(QString, typed);
    QFETCH(QString, steps);
    QStringList sentences;
    for (int i = 0; i < 60; ++i)
        sentences << QStringLiteral("あり%1").arg(i, 2, 10, QLatin1Char('0'));
    const auto f = windowWith(sentences, typed);
    FlexGrid *list = typed.isEmpty() ? f->ui().grdEx : f->ui().grdSp;
    const int sentenceCol = list->Cols() - 1;
    const QString text = f->marked();

    for (const QString &step : steps.split(u' ')) {
        if (step.front().isDigit()) {
            f->touchCell(list, step.toInt(), sentenceCol);
            f->settle();
            continue;
        }
        // A hold that ends by itself returns before the release; the clock
        // is then run on to it.
        const double seconds = step.mid(1).toDouble();
        ColorButton *b = button(*f, step.left(1));
        f->clock.after(seconds, [b] { postRelease(b); });
        f->press(b);
        if (f->st().ButtonHeld)
            f->clock.sleepFor(std::chrono::duration_cast<Nanos>(std::chrono::duration<double>(seconds)));
        f->settle();
    }

    QTEST(f->st().ListRow, "row");
    QTEST(list->TopRow(), "top");
    QList<int> green;
    for (int r = 0; r < list->Rows(); ++r)
        if (list->cellBackColor(r, sentenceCol) == kGreen)
            green << r;
    QCOMPARE(green, QList<int>{f->st().ListRow});
    // Nothing was taken: the list and the text are as they were.
    QVERIFY(list->isVisible());
    QCOMPARE(f->marked(), text);
}

void TestListNav::decision_data()
{
    QTest::addColumn<QString>("typed");  // none: the example list over "あ[い]_"
    QTest::addColumn<int>("row");        // touched before "決定"
    QTest::addColumn<QString>("after");
    // "Sample" is 2: the key is the last two typed characters, or all of
    // them when fewer were typed.
    QTest::newRow("key after other text") << "わたしはあり" << 1 << "わたしはありがとう[_]";
    QTest::newRow("key is the whole text") << "あり" << 1 << "ありがとう[_]";
    QTest::newRow("one character typed") << "お" << 1 << "おはよう[_]";
    QTest::newRow("row 0, the key itself") << "わたしはあり" << 0 << "わたしはあり[_]";
    QTest::newRow("example sentence at the caret") << "" << 2 << "あおはよう[い]_";
}

void TestListNav::decision()
{
    QFETCH(QString, typed);
    QFETCH(int, row);
    const auto f = windowWith({QStringLiteral("ありがとう"), QStringLiteral("おはよう")}, typed);
    Controls &u = f->ui();
    FlexGrid *list = typed.isEmpty() ? u.grdEx : u.grdSp;
    f->touchCell(list, row, list->Cols() - 1);

    f->click(u.cmdDec);
    f->settle();

    QTEST(f->marked(), "after");
    QCOMPARE(screenOf(u), QStringLiteral("board"));
    QCOMPARE(u.cmdSamp->text(), QStringLiteral("例文表示"));
}

QTEST_MAIN(TestListNav)
#include "test_listnav.moc"
