// Every screen of the window, reached as a user reaches it, and the controls
// a finger can touch there: each one the screen needs must be on top at its
// centre. The lists name the reachable controls in reading order.

#include "frame/Reachable.h"
#include "frame/ScreenStates.h"
#include "samples/SampleDriving.h"

using namespace kel;

namespace {

// Talk.txt with sentences that か offers; day.txt with 04.09.24 朝ごはん,
// so that today, 04.09.25, heads the diary list with an empty entry.
std::map<QString, QByteArray> folder()
{
    return {{kSampleFileName, records({kPlaceholder, "かさ", "かばん"})},
            {"day.txt", QByteArray::fromHex("22 30 34 2E 30 39 2E 32 34 20 92 A9 82 B2 82 CD 82 F1 22 0D 0A")}};
}

// Steps by caption; "@か" touches the cell showing か on the board, or on the
// enlarged screen when that shows.
void touchText(TalkFixture &f, const QString &text)
{
    FlexGrid *g = f.ui().fraSet->isVisible() ? f.ui().grdBoard2 : f.ui().grdBoard;
    for (int r = 0; r < g->Rows(); ++r)
        for (int c = 0; c < g->Cols(); ++c)
            if (g->TextMatrix(r, c) == text)
                return f.touchCell(g, r, c);
    QFAIL(qPrintable("no cell " + text));
}

// "1920x1080" resizes the window, as full screen on such a display does.
void walk(TalkFixture &f, const QString &steps)
{
    for (const QString &step : steps.split(u' ', Qt::SkipEmptyParts)) {
        if (step.startsWith(u'@'))
            touchText(f, step.mid(1));
        else if (step == u"1920x1080")
            f.win->resize(1920, 1080);
        else
            drive(f, step);
    }
}

QString reachable(QWidget *window)
{
    QStringList names;
    for (const QWidget *w : reachableControls(window))
        names << w->objectName();
    return names.join(u' ');
}

// What the user sees besides the controls: "cmdSamp|cmdWide|text", and
// " green" when the text box is.
QString after(TalkFixture &f)
{
    const Controls &u = f.ui();
    return u.cmdSamp->text() + u'|' + u.cmdWide->text() + u'|' + f.marked()
        + (u.txtTalk->backColor() == kGreen ? " green" : "");
}

} // namespace

class TestReach : public QObject {
    Q_OBJECT
private slots:
    void screens_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("reachable");
        QTest::addColumn<QString>("after");
        // Reading order: by top edge, then left to right. The bottom band:
        // 設定, 例文追加 (or what takes its place), 読む, the middle panel's
        // upper row, 終了, 例文表示, 英数 and the middle panel's lower row.
        const QString board = "cmdWide txtTalk grdBoard cmdOpt cmdSampADD cmdRead cmdRes2 cmdRes4 cmdRes0 cmdRes1 "
                              "cmdEnd cmdSamp cmdRes3 cmdStart cmdKey";
        const QString revising = QString(board).replace("cmdSampADD", "cmdBack");
        const auto list = [](const char *grid, const char *left) {
            return QStringLiteral("cmdWide txtTalk %1 cmdOpt %2cmdRead cmdUp cmdDown cmdDec cmdEnd cmdSamp cmdKey")
                .arg(QLatin1String(grid), QLatin1String(left));
        };
        const QString wide = "cmdWide txtTalk cmdCopy cmdPaste ";
        QTest::newRow("board") << "" << "board" << board << "例文表示|広げる||";
        QTest::newRow("board, full screen") << "1920x1080" << "board" << board << "例文表示|広げる||";
        QTest::newRow("enlarged, 戻る") << "@た 戻る" << "board" << board << "例文表示|広げる||";
        QTest::newRow("wide text") << "広げる" << "wide text" << wide + QString(board).section(' ', 3) << "例文表示|狭める||";
        QTest::newRow("narrow again") << "広げる 狭める" << "board" << board << "例文表示|広げる||";
        // The enlarged screen covers the bottom band too.
        QTest::newRow("enlarged") << "@た" << "enlarged" << "cmdWide txtTalk grdBoard2 cmdspace cmdEnd2" << "";
        QTest::newRow("enlarged, then wide: the text panel in front") << "@た 広げる" << "wide text"
                                                                      << wide + "cmdspace cmdEnd2" << "";
        QTest::newRow("suggestions") << "@か @か" << "suggestions" << list("grdSp", "cmdSampADD ") << "例文表示|広げる|か|_";
        QTest::newRow("suggestion taken (▽ held to the last)") << "@か @か ▽ 決定" << "board" << board << "例文表示|広げる|かばん[_]";
        QTest::newRow("example list closed") << "例文表示 例文終了" << "board" << board << "例文表示|広げる||_";
        QTest::newRow("example list") << "例文表示" << "example list" << list("grdEx", "cmdSampDel ") << "例文終了|広げる||_";
        // The example list, not the suggestions behind it, is what shows and
        // what "決定" takes: かばん goes in at the caret.
        QTest::newRow("例文追加 over suggestions") << "@か @か 例文追加" << "example list" << list("grdEx", "cmdSampDel ")
                                                   << "例文終了|広げる|か[_]";
        QTest::newRow("例文追加 over suggestions, 決定") << "@か @か 例文追加 ▽ 決定" << "board" << board
                                                         << "例文表示|広げる|かかばん[_]";
        QTest::newRow("diary list") << "例文表示 決定" << "diary list" << list("grdDay", "") << "日記終了|広げる||_";
        QTest::newRow("entry open") << "例文表示 決定 決定" << "entry open"
                                    << wide + "cmdOpt cmdRead cmdRevise cmdBack cmdEnd cmdSamp cmdKey" << "日記終了|狭める|| green";
        // "戻る" takes the place of "例文追加" while the editing keys show.
        QTest::newRow("revising") << "例文表示 決定 決定 修正する" << "revising" << revising << "日記終了|広げる|| green";
        QTest::newRow("revising, full screen") << "1920x1080 例文表示 決定 決定 修正する" << "revising" << revising << "";
        QTest::newRow("revising, suggestions") << "例文表示 決定 決定 修正する @か @か" << "suggestions"
                                               << list("grdSp", "cmdBack ") << "日記終了|広げる|か|_ green";
        QTest::newRow("revising, suggestion taken") << "例文表示 決定 決定 修正する @か @か 決定" << "revising" << revising
                                                    << "日記終了|広げる|か[_] green";
        QTest::newRow("revising, back to the list") << "例文表示 決定 決定 修正する 戻る" << "diary list" << list("grdDay", "")
                                                    << "日記終了|広げる|| green";
        // The stop panel, a window of the main window, lies over the bottom band.
        QTest::newRow("reading") << "@た @た 読む" << "reading" << wide + "lblLabel" << "例文表示|広げる|た[_]";
        QTest::newRow("diary closed") << "例文表示 決定 決定 修正する 日記終了" << "board" << board << "";
    }

    void screens()
    {
        QFETCH(QString, steps);
        QFETCH(QString, reachable);
        QFETCH(QString, after);
        TalkFixture f({}, folder());
        QString screen = "not reached", reach;
        QStringList missing;
        auto look = [&] {
            screen = screenOf(f.ui());
            missing = unreachableNeeds(f.ui());
            reach = ::reachable(f.win.get());
        };
        // A reading is looked at during its first character.
        const bool reading = steps.endsWith(u"読む");
        walk(f, reading ? steps.chopped(2) : steps);
        if (reading) {
            f.clock.after(0.3, look);
            walk(f, "読む");
        } else {
            look();
        }

        QTEST(screen, "screen");
        QCOMPARE(missing, QStringList());
        QCOMPARE(reach, reachable);
        if (!after.isEmpty())
            QCOMPARE(::after(f), after);
    }

    // The fixture refuses to press what a finger cannot reach.
    void aCoveredControlCannotBePressed()
    {
        TalkFixture f({}, folder());
        walk(f, "@た"); // the enlarged screen covers the bottom band
        QEXPECT_FAIL("", "読む lies under the enlarged screen", Continue);
        TalkFixture::press(f.ui().cmdRead);
        QCOMPARE(f.box()->text(), QString()); // a reading would leave "_"
    }
};

QTEST_MAIN(TestReach)
#include "test_reach.moc"
