// The main window as a user meets it: title, controls at their places,
// the board's modes, the text panel's two sizes, full-screen scaling and
// the ways out.
#include "support/TalkFixture.h"

#include "frame/TextPanel.h"

#include <QFrame>
#include <QHeaderView>
#include <QLabel>

using namespace kel;

class TestFrmTalk : public QObject {
    Q_OBJECT
private slots:
    void titleAndStartState();
    void textSizeFromStore_data();
    void textSizeFromStore();
    void modeButtonCyclesBoard();
    void widenToggle();
    void enlargedBackButton();
    void endButtonAndCloseBox();
    void fullScreenScalesEverything();
};

namespace {
QString boardRow(FlexGrid *g, int r)
{
    QString s;
    for (int c = 0; c < g->Cols(); ++c)
        s += g->TextMatrix(r, c).isEmpty() ? QStringLiteral("·") : g->TextMatrix(r, c);
    return s;
}
} // namespace

void TestFrmTalk::titleAndStartState()
{
    TalkFixture fx;
    QCOMPARE(fx.win->windowTitle(), QStringLiteral("Kelvoran!  Ver 1.3"));
    QCOMPARE(fx.box()->text(), QString());
    QVERIFY(fx.box()->hasFocus());
    // Which controls show and can be touched: test_reach; the stored
    // options read back: test_options.
    Controls &u = fx.ui();
    QCOMPARE(u.cmdKey->text(), QStringLiteral("ひら"));
    // Points become pixels explicitly, whatever the display's DPI.
    QCOMPARE(u.cmdKey->font().pixelSize(), 37);          // 27.75 pt
    QCOMPARE(u.grdBoard->font().pixelSize(), 59);        // 44.25 pt
    QCOMPARE(u.cmdRes[1]->backColor(), QColor(255, 224, 192));
    QCOMPARE(u.grdBoard->cellAlignment(2, 3), int(Qt::AlignHCenter | Qt::AlignBottom));
}

void TestFrmTalk::textSizeFromStore_data()
{
    QTest::addColumn<QString>("moji");
    QTest::addColumn<int>("pixels");
    QTest::newRow("Moji 1: 55 pt") << "1" << 73;
    QTest::newRow("Moji 0: 34 pt") << "0" << 45;
    QTest::newRow("no value: 34 pt") << "" << 45;
}

void TestFrmTalk::textSizeFromStore()
{
    QFETCH(QString, moji);
    std::map<QString, QString> options;
    if (!moji.isEmpty())
        options["Moji"] = moji;
    TalkFixture fx(options);
    QTEST(fx.box()->font().pixelSize(), "pixels");
    QVERIFY(fx.box()->font().bold());
}

void TestFrmTalk::modeButtonCyclesBoard()
{
    TalkFixture fx;
    Controls &u = fx.ui();
    TalkFixture::click(u.cmdKey);
    QCOMPARE(u.cmdKey->text(), QStringLiteral("カタ"));
    QCOMPARE(boardRow(u.grdBoard, 4), QStringLiteral("、ロ？モホノトソコオ"));
    TalkFixture::click(u.cmdKey);
    QCOMPARE(u.cmdKey->text(), QStringLiteral("英数"));
    QCOMPARE(boardRow(u.grdBoard, 4), QStringLiteral(":%+-?@。!(^_^)(T_T)"));
    TalkFixture::click(u.cmdKey);
    QCOMPARE(u.cmdKey->text(), QStringLiteral("ひら"));
    QCOMPARE(boardRow(u.grdBoard, 0), QStringLiteral("わらやまはなたさかあ"));
    QCOMPARE(u.grdBoard->ColWidth(0), 1180);
}

void TestFrmTalk::widenToggle()
{
    TalkFixture fx;
    Controls &u = fx.ui();
    TalkFixture::click(u.cmdWide);   // from the design height 1515
    QCOMPARE(u.cmdWide->text(), QStringLiteral("狭める"));
    QCOMPARE(fx.win->layout().rect(u.fraText).height(), kOuterHeightTwips - 2230);
    QCOMPARE(fx.win->layout().rect(u.txtTalk).height(), kOuterHeightTwips - 2380);
    QVERIFY(fx.box()->hasFocus());

    TalkFixture::click(u.cmdWide);
    QCOMPARE(u.cmdWide->text(), QStringLiteral("広げる"));
    QCOMPARE(fx.win->layout().rect(u.fraText).height(), 1635);
    QCOMPARE(fx.win->layout().rect(u.txtTalk).height(), 1455);
}

void TestFrmTalk::enlargedBackButton()
{
    TalkFixture fx({{"Beep", "1"}});
    TalkFixture::touchCell(fx.ui().grdBoard, 0, 8); // か opens the enlarged screen
    const int beeps = fx.platform.beeps;
    TalkFixture::click(fx.ui().cmdEnd2);
    QCOMPARE(fx.platform.beeps - beeps, 1);
    QVERIFY(!fx.ui().fraSet->isVisible());
    QVERIFY(fx.box()->hasFocus());
}

void TestFrmTalk::endButtonAndCloseBox()
{
    {
        TalkFixture fx;
        TalkFixture::click(fx.ui().cmdEnd);
        QCOMPARE(fx.quits, 1);
        QVERIFY(fx.st().Quitting);
        QVERIFY(!fx.win->isVisible());
    }
    {
        TalkFixture fx;
        fx.win->close();
        QCOMPARE(fx.quits, 1);
    }
}

void TestFrmTalk::fullScreenScalesEverything()
{
    TalkFixture fx;
    fx.win->resize(1920, 1080);
    TalkFixture::settle();
    const double scale = fx.win->twips().scale();
    QVERIFY(qAbs(scale - 1080.0 * 15 / 8160) < 1e-9);
    QWidget *canvas = fx.ui().canvas;
    QCOMPARE(canvas->height(), 1080);
    QCOMPARE(canvas->x(), (1920 - canvas->width()) / 2);
    FlexGrid *g = fx.ui().grdBoard;
    QCOMPARE(g->geometry(), fx.win->twips().px(QRect(60, 1620, 11685, 4695)));
    QCOMPARE(fx.ui().cmdKey->font().pixelSize(), qRound(27.75 * 20 * scale / 15));
    QCOMPARE(g->horizontalHeader()->sectionSize(3), qRound(1180 * scale / 15));

    // A touch anywhere in a cell takes that cell: near its corner, too.
    const QRect cell = g->cellRect(3, 2);
    fx.press(g->viewport(), cell.topLeft() + QPoint(2, 2));
    QCOMPARE(fx.st().BoardRow, 3);
    QCOMPARE(fx.st().BoardCol, 2);
    fx.release(g->viewport(), cell.topLeft() + QPoint(2, 2));
}

QTEST_MAIN(TestFrmTalk)
#include "test_frmtalk.moc"
