// The diary screens through their real buttons: every control on each
// screen, the list read from day.txt, and what "日記終了" stores.

#include "diary/DiaryDriving.h"

using namespace kel;

namespace {

// The controls the diary screens switch, by name.
QStringList shownControls(TalkFixture &f)
{
    Controls &u = f.ui();
    const std::pair<const char *, QWidget *> tracked[] = {
        {"grdDay", u.grdDay}, {"grdEx", u.grdEx},   {"grdSp", u.grdSp},
        {"grdBoard", u.grdBoard}, {"fraRes", u.fraRes}, {"fraTalk", u.fraTalk},
        {"fraDay", u.fraDay}, {"cmdSampADD", u.cmdSampADD}, {"cmdSampDel", u.cmdSampDel},
    };
    QStringList shown;
    for (const auto &[name, w] : tracked)
        if (w->isVisible())
            shown << QString::fromLatin1(name);
    return shown;
}

// Presses the buttons named in `steps`; "日記終了:YES"/":NO" answer the question.
void drive(TalkFixture &f, const QStringList &steps)
{
    Controls &u = f.ui();
    for (const QString &step : steps) {
        if (step == u"例文表示")
            f.click(u.cmdSamp);
        else if (step == u"日記終了")
            endDiary(f, {});
        else if (step == u"日記終了:YES")
            endDiary(f, {0});
        else if (step == u"日記終了:NO")
            endDiary(f, {1});
        else if (step == u"決定")
            f.click(u.cmdDec);
        else if (step == u"修正する")
            f.click(u.cmdRevise);
        else if (step == u"戻る")
            f.click(u.cmdBack);
        else
            QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
        f.settle();
    }
}

} // namespace

class TestDiaryScreens : public QObject {
    Q_OBJECT

private slots:
    void screens_data();
    void screens();
    void listIsReadFromFile_data();
    void listIsReadFromFile();
    void touchedRowOpens();

    void roundTripThroughButtons_data();
    void roundTripThroughButtons();
    void storesOnlyTheOpenedRow();
    void declinedQuestionStoresNothing_data();
    void declinedQuestionStoresNothing();
    void closingFromListAsksNothing();
    void backShowsListAsStored();
    void revisingBringsTheEditingKeysToTheFront();
};

void TestDiaryScreens::screens_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QString>("sampCaption");
    QTest::addColumn<QString>("wideCaption");
    QTest::addColumn<int>("panelHeight");
    QTest::addColumn<int>("textHeight");
    QTest::addColumn<QColor>("back");
    QTest::addColumn<QString>("text");

    // The stored entry of today is 朝ごはん; the window is 8670 twips high
    // outside, so the wide state is 8670 - 2230 and 8670 - 2380.
    const QString diaryEnd = QStringLiteral("日記終了"), board = QStringLiteral("例文表示");
    const QString widen = QStringLiteral("広げる"), narrow = QStringLiteral("狭める");
    const QStringList list{"例文表示", "決定"};
    const QStringList boardMode{"grdBoard", "fraRes", "cmdSampADD"};

    QTest::newRow("diary list opened") << list << QStringList{"grdDay", "fraTalk"} << diaryEnd
                                       << widen << 1635 << 1455 << kWhite << "|_";
    QTest::newRow("entry open") << list + QStringList{"決定"} << QStringList{"fraDay"} << diaryEnd
                                << narrow << 6440 << 6290 << kGreen << "朝ごはん|";
    QTest::newRow("revising") << list + QStringList{"決定", "修正する"}
                              << QStringList{"grdBoard", "fraRes", "fraDay"} << diaryEnd << widen
                              << 1635 << 1455 << kGreen << "朝ごは[ん]";
    QTest::newRow("back to the list from the entry")
        << list + QStringList{"決定", "戻る"} << QStringList{"grdDay", "fraTalk"} << diaryEnd
        << widen << 1635 << 1455 << kGreen << "朝ごはん|";
    QTest::newRow("back to the list while revising")
        << list + QStringList{"決定", "修正する", "戻る"}
        << QStringList{"grdDay", "grdBoard", "fraRes", "fraTalk"} << diaryEnd << widen << 1635
        << 1455 << kGreen << "朝ごは[ん]";
    QTest::newRow("closed from the list") << list + QStringList{"日記終了"} << boardMode << board
                                          << widen << 1635 << 1455 << kWhite << "|_";
    QTest::newRow("closed from the wide entry, YES")
        << list + QStringList{"決定", "日記終了:YES"} << boardMode << board << widen << 1635
        << 1455 << kWhite << "朝ごはん|_";
    QTest::newRow("closed from the wide entry, NO")
        << list + QStringList{"決定", "日記終了:NO"} << boardMode << board << widen << 1635
        << 1455 << kWhite << "朝ごはん|_";
    QTest::newRow("closed while revising, YES")
        << list + QStringList{"決定", "修正する", "日記終了:YES"} << boardMode << board << widen
        << 1635 << 1455 << kWhite << "朝ごは[ん]_";
}

void TestDiaryScreens::screens()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, shown);
    QFETCH(QString, sampCaption);
    QFETCH(QString, wideCaption);
    QFETCH(int, panelHeight);
    QFETCH(int, textHeight);
    QFETCH(QColor, back);
    QFETCH(QString, text);
    TalkFixture f({}, diaryFolder(kBreakfast0924));
    f.today = QDate(2004, 9, 24);

    drive(f, steps);

    Controls &u = f.ui();
    QCOMPARE(shownControls(f), shown);
    QCOMPARE(u.cmdSamp->text(), sampCaption);
    QCOMPARE(u.cmdWide->text(), wideCaption);
    QCOMPARE(f.talk().layout.rect(u.fraText).height(), panelHeight);
    QCOMPARE(f.talk().layout.rect(u.txtTalk).height(), textHeight);
    QCOMPARE(u.txtTalk->backColor(), back);
    QCOMPARE(f.marked(), text);
    QVERIFY(u.frmTalk->isEnabled());
    QVERIFY(u.canvas->isEnabled());
    // The window's own focus: after a question the platform gives the
    // window back its activation, which an offscreen test cannot see.
    QCOMPARE(u.frmTalk->focusWidget(), u.txtTalk);
}

void TestDiaryScreens::listIsReadFromFile_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QStringList>("rows");

    const QDate d0924(2004, 9, 24), d0925(2004, 9, 25);
    const QStringList yesterday{"04.09.25|", "04.09.24|朝ごはん"};
    const QByteArray utf8 = QStringLiteral("\"04.09.24 朝ごはん\"\r\n").toUtf8();

    QTest::newRow("newest record yesterday: today's row first") << kBreakfast0924 << d0925
                                                                << yesterday;
    QTest::newRow("newest record today: no row added") << kBreakfast0924 << d0924
                                                       << QStringList{"04.09.24|朝ごはん"};
    QTest::newRow("oldest first: a second row for today")
        << dayRecord("04.09.23", "あ") + dayRecord("04.09.25", "い") << d0925
        << QStringList{"04.09.25|", "04.09.25|い", "04.09.23|あ"};
    QTest::newRow("blank lines skipped, quotes dropped")
        << "\r\n  \r\n" + kBreakfast0924 + "\"04.09.23 \"a\"b\"\r\n" << d0924
        << QStringList{"04.09.24|朝ごはん", "04.09.23|ab"};
    QTest::newRow("no file: today's row") << QByteArray() << d0925 << QStringList{"04.09.25|"};
    QTest::newRow("empty file: today's row") << QByteArray("") << d0925 << QStringList{"04.09.25|"};
    QTest::newRow("UTF-8 with a byte-order mark") << "\xEF\xBB\xBF" + utf8 << d0925 << yesterday;
    QTest::newRow("UTF-8 without a byte-order mark") << utf8 << d0925 << yesterday;
}

void TestDiaryScreens::listIsReadFromFile()
{
    QFETCH(QByteArray, file);
    QFETCH(QDate, today);
    QFETCH(QStringList, rows);
    TalkFixture f({}, diaryFolder(file));
    f.today = today;

    openDiary(f);

    FlexGrid *g = f.ui().grdDay;
    QCOMPARE(diaryRows(g), rows);
    QCOMPARE(f.st().ListRow, 0);
    QCOMPARE(g->TopRow(), 0);
    QCOMPARE(g->cellBackColor(0, 1), kGreen);
    QCOMPARE(g->cellBackColor(0, 0), kWhite);
    for (int r = 1; r < g->Rows(); ++r)
        QCOMPARE(g->cellBackColor(r, 1), kWhite);
    QCOMPARE(g->geometry(), f.ui().grdBoard->geometry());
    QCOMPARE(g->ColWidth(0), 3800);
    QCOMPARE(g->ColWidth(1), 11685 - 3800 - 350);
    // Opening the list writes nothing.
    QCOMPARE(f.readFile("day.txt"), file);
}

void TestDiaryScreens::touchedRowOpens()
{
    const QByteArray file = kBreakfast0924 + dayRecord("04.09.23", "  ひるごはん ");
    TalkFixture f({}, diaryFolder(file));
    openDiary(f);
    f.touchCell(f.ui().grdDay, 2, 0);
    QCOMPARE(f.st().ListRow, 2);
    QCOMPARE(f.ui().grdDay->cellBackColor(2, 1), kGreen);
    QCOMPARE(f.ui().grdDay->cellBackColor(0, 1), kWhite);
    QVERIFY(f.ui().grdDay->isVisible()); // a touch takes nothing

    f.click(f.ui().cmdDec);
    f.settle();

    QCOMPARE(f.marked(), QStringLiteral("ひるごはん|"));
    QCOMPARE(f.st().DiaryRow, 2);
    QCOMPARE(f.st().CellText, QStringLiteral("ひるごはん"));
}

void TestDiaryScreens::roundTripThroughButtons_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("stored");

    const QByteArray today = dayRecord("04.09.25", "はれ_");
    QTest::newRow("yesterday in the file") << kBreakfast0924 << today + kBreakfast0924;
    QTest::newRow("no file yet: storing creates it") << QByteArray() << today;
    QTest::newRow("empty file") << QByteArray("") << today;
    QTest::newRow("UTF-8 file is written back in code page 932")
        << QStringLiteral("\"04.09.24 朝ごはん\"\r\n").toUtf8() << today + kBreakfast0924;
}

void TestDiaryScreens::roundTripThroughButtons()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, stored);
    TalkFixture f({{"OPT1", "2"}}, diaryFolder(file));
    f.today = QDate(2004, 9, 25);
    Controls &u = f.ui();

    openDiary(f);
    QCOMPARE(u.grdDay->TextMatrix(0, 0), QStringLiteral("04.09.25"));
    openEntry(f, 0);
    QCOMPARE(f.marked(), QStringLiteral("|"));
    QCOMPARE(u.txtTalk->backColor(), kGreen);
    revise(f);
    QVERIFY(typeOnBoard(f, QStringLiteral("はれ")));
    QCOMPARE(f.box()->text(), QStringLiteral("はれ_"));

    QCOMPARE(endDiary(f, {0}), QList<SeenDialog>{kAskStore});

    QCOMPARE(f.readFile("day.txt"), stored);
    QCOMPARE(folderEntries(f), (QStringList{"Talk.txt", "day.txt"})); // no temporary left
    QCOMPARE(u.cmdSamp->text(), QStringLiteral("例文表示"));
    QCOMPARE(f.box()->text(), QStringLiteral("はれ_"));

    // Opened again, the list shows what was stored.
    openDiary(f);
    QCOMPARE(u.grdDay->TextMatrix(0, 1), QStringLiteral("はれ_"));
}

void TestDiaryScreens::storesOnlyTheOpenedRow()
{
    const QByteArray file = dayRecord("04.09.25", "あさ") + dayRecord("04.09.24", "")
                            + dayRecord("04.09.23", "c") + dayRecord("04.09.22", "d");
    TalkFixture f({{"OPT1", "2"}}, diaryFolder(file));
    openDiary(f);
    openEntry(f, 2);
    QCOMPARE(f.st().DiaryRow, 2);
    revise(f);
    QCOMPARE(f.marked(), QStringLiteral("[c]"));
    QVERIFY(typeOnBoard(f, QStringLiteral("あ")));

    QCOMPARE(endDiary(f, {0}), QList<SeenDialog>{kAskStore});

    // The empty entry keeps its date; only the third row changed.
    QCOMPARE(f.readFile("day.txt"), dayRecord("04.09.25", "あさ") + dayRecord("04.09.24", "")
                                        + dayRecord("04.09.23", "あc_")
                                        + dayRecord("04.09.22", "d"));
}

void TestDiaryScreens::declinedQuestionStoresNothing_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("NO") << kBreakfast0924 << false;
    QTest::newRow("question box closed") << kBreakfast0924 << true;
    QTest::newRow("NO with no file yet") << QByteArray() << false;
}

void TestDiaryScreens::declinedQuestionStoresNothing()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, closeBox);
    TalkFixture f({{"OPT1", "2"}}, diaryFolder(file));
    openDiary(f);
    openEntry(f, 0);
    revise(f);
    QVERIFY(typeOnBoard(f, QStringLiteral("はれ")));

    const QList<SeenDialog> seen = closeBox ? endDiary(f, {}) : endDiary(f, {1});

    QCOMPARE(seen, QList<SeenDialog>{kAskStore});
    QCOMPARE(f.readFile("day.txt"), file);
    QCOMPARE(QFileInfo::exists(f.path("day.txt")), !file.isNull());
    QCOMPARE(f.box()->text(), QStringLiteral("はれ_"));
    QCOMPARE(f.ui().cmdSamp->text(), QStringLiteral("例文表示"));
}

void TestDiaryScreens::closingFromListAsksNothing()
{
    TalkFixture f({}, diaryFolder(kBreakfast0924));
    openDiary(f);
    f.touchCell(f.ui().grdDay, 1, 1);

    QCOMPARE(endDiary(f, {0}), QList<SeenDialog>{});

    QCOMPARE(f.readFile("day.txt"), kBreakfast0924);
    QCOMPARE(f.ui().cmdSamp->text(), QStringLiteral("例文表示"));
}

void TestDiaryScreens::backShowsListAsStored()
{
    TalkFixture f({{"OPT1", "2"}}, diaryFolder(kBreakfast0924));
    f.today = QDate(2004, 9, 24);
    openDiary(f);
    openEntry(f, 0);
    revise(f);
    QVERIFY(typeOnBoard(f, QStringLiteral("は")));
    QCOMPARE(f.box()->text(), QStringLiteral("朝ごははん_"));

    f.click(f.ui().cmdBack);
    f.settle();

    QCOMPARE(diaryRows(f.ui().grdDay), QStringList{"04.09.24|朝ごはん"});
    QCOMPARE(f.st().ListRow, 0);
    QCOMPARE(f.box()->text(), QStringLiteral("朝ごははん_"));
    // From the list "日記終了" neither asks nor stores.
    QCOMPARE(endDiary(f, {0}), QList<SeenDialog>{});
    QCOMPARE(f.readFile("day.txt"), kBreakfast0924);
}

QTEST_MAIN(TestDiaryScreens)
#include "test_diaryscreens.moc"

void TestDiaryScreens::revisingBringsTheEditingKeysToTheFront()
{
    TalkFixture f({}, diaryFolder(kBreakfast0924));
    f.today = QDate(2004, 9, 24);
    Controls &u = f.ui();
    auto topmostAt = [&](QWidget *w) {
        return u.canvas->childAt(w->mapTo(u.canvas, w->rect().center()));
    };
    openDiary(f);
    openEntry(f, 0);
    QCOMPARE(topmostAt(u.cmdRevise), u.cmdRevise);   // the entry shows "修正する", "戻る"
    revise(f);
    QCOMPARE(topmostAt(u.cmdRes[1]), u.cmdRes[1]);   // revising shows the editing keys
    QCOMPARE(f.marked(), QStringLiteral("朝ごは[ん]"));
    f.press(u.cmdRes[1]);                           // "ＢＳ" deletes under the block
    f.release(u.cmdRes[1]);
    f.settle();
    QCOMPARE(f.box()->text(), QStringLiteral("朝ごは"));
}
