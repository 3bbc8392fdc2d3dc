// Every screen of the window, reached as a user reaches it, and the controls
// a finger can touch there: each one the screen needs must be on top at its
// centre. The lists name the reachable controls in reading order.

#include "support/TestMain.h"
#include "samples/SampleDriving.h"

#include <QRandomGenerator>

using namespace kel;

namespace {

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

// The screen events a press of each control may ask (none for a control
// not named); where each leads is the program's own transition table.
const std::map<QString, QList<ScreenEvent>> &mayAsk()
{
    using E = ScreenEvent;
    static const std::map<QString, QList<ScreenEvent>> table{
        {"grdBoard", {E::CellOpened, E::SuggestionsFound, E::NoSuggestions}},
        {"grdBoard2", {E::EnlargedLeft, E::SuggestionsFound, E::NoSuggestions}},
        {"cmdEnd2", {E::EnlargedLeft}},
        {"cmdDec", {E::SuggestionTaken, E::SentenceTaken, E::DiaryOpened, E::EntryOpened}},
        {"cmdSamp", {E::TextNarrowed, E::ExamplesOpened, E::ExamplesClosed, E::DiaryClosed}},
        {"cmdSampADD", {E::ExamplesOpened}},
        {"cmdRevise", {E::RevisionStarted}},
        {"cmdBack", {E::BackToDiaryList}},
        {"cmdWide", {E::WideToggled}},
        {"cmdRead", {E::ReadingStarted, E::ReadingEnded}},
    };
    return table;
}

// The events the screens took since the last press, and the moves of the
// table taken so far ("from screen, event").
struct Asked {
    QList<std::pair<Screen, ScreenEvent>> events;
    QStringList refused;
    QSet<std::pair<int, int>> moves;
    explicit Asked(TalkFixture &f)
    {
        f.talk().screens->setListener([this](Screen from, ScreenEvent e, bool moved) {
            events.append({from, e});
            if (!moved)
                refused << QStringLiteral("%1 on event %2").arg(nameOf(from)).arg(int(e));
            moves.insert({int(from), int(e)});
        });
    }
};

// A touch of 0.1 s at the control's centre: the release comes through the
// clock, so that a key that repeats while held stops as a finger lifts.
void tap(TalkFixture &f, QWidget *w)
{
    f.clock.after(0.1, [w] { postRelease(w); });
    press(w);
    f.clock.sleepFor(std::chrono::milliseconds(100));
    settle();
}

// The checks after every press of `control`: it asked only the events it
// may, each one the table has a move for; exactly the panels of the screen
// reached show, those it needs are on top; nothing of another screen can
// take a touch.
void checkScreen(TalkFixture &f, Asked &asked, const QString &control, const QString &where)
{
    for (const auto &[from, e] : std::exchange(asked.events, {}))
        QVERIFY2(mayAsk().contains(control) && mayAsk().at(control).contains(e),
                 qPrintable(QStringLiteral("%1: event %2 on %3").arg(where).arg(int(e)).arg(nameOf(from))));
    QVERIFY2(asked.refused.isEmpty(), qPrintable(where + ": no move for " + asked.refused.join(", ")));
    const Screens &sc = *f.talk().screens;
    const ScreenRow &row = sc.row();
    for (int p = 0; p < kPanelCount; ++p) {
        const bool shown = sc.widget(Panel(p))->isVisible();
        QVERIFY2(shown == row.shown.contains(Panel(p)),
                 qPrintable(where + ": " + sc.widget(Panel(p))->objectName() + (shown ? " shows" : " hidden")));
    }
    QVERIFY2(unreachableNeeds(f.talk()).isEmpty(), qPrintable(where + ": " + unreachableNeeds(f.talk()).join(u' ')));
    // What lies under an overlay belongs to the screen underneath.
    const QStringList allowed = screenNeeds().at(qsizetype(sc.current())).needs + needsNow(f.talk());
    for (QWidget *w : reachableControls(f.win.get()))
        QVERIFY2(allowed.contains(w->objectName()) || w->objectName() == u"lblLabel",
                 qPrintable(where + ": " + w->objectName() + " takes a touch"));
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
        // These rows pin the reading order of what a finger reaches and what
        // the user sees; then each control reached is pressed in turn.
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
        QTest::newRow("wide text") << "広げる" << "wide text" << wide + QString(board).section(' ', 3) << "例文表示|狭める||";
        QTest::newRow("wide text over the example list") << "例文表示 広げる" << "wide text"
                                                         << wide + list("grdEx", "cmdSampDel ").section(' ', 3) << "";
        // The enlarged screen covers the bottom band too.
        QTest::newRow("enlarged") << "@た" << "enlarged" << "cmdWide txtTalk grdBoard2 cmdspace cmdEnd2" << "";
        QTest::newRow("enlarged, then wide: the text panel in front") << "@た 広げる" << "wide text"
                                                                      << wide + "cmdspace cmdEnd2" << "";
        QTest::newRow("suggestions") << "@か @か" << "suggestions" << list("grdSp", "cmdSampADD ") << "例文表示|広げる|か|_";
        QTest::newRow("suggestion taken (▽ held to the last)") << "@か @か ▽ 決定" << "board" << board << "例文表示|広げる|かばん[_]";
        QTest::newRow("example list") << "例文表示" << "example list" << list("grdEx", "cmdSampDel ") << "例文終了|広げる||_";
        QTest::newRow("diary list") << "例文表示 決定" << "diary list" << list("grdDay", "") << "日記終了|広げる||_";
        // The example list, not the suggestions behind it, is what shows and
        // what "決定" takes: かばん goes in at the caret.
        QTest::newRow("例文追加 over suggestions") << "@か @か 例文追加" << "example list" << list("grdEx", "cmdSampDel ")
                                                   << "例文終了|広げる|か[_]";
        QTest::newRow("例文追加 over suggestions, 決定") << "@か @か 例文追加 ▽ 決定" << "board" << board
                                                         << "例文表示|広げる|かかばん[_]";
        QTest::newRow("entry open") << "例文表示 決定 決定" << "entry open"
                                    << wide + "cmdOpt cmdRead cmdRevise cmdBack cmdEnd cmdSamp cmdKey" << "日記終了|狭める|| green";
        // "戻る" takes the place of "例文追加" while the editing keys show.
        QTest::newRow("revising") << "例文表示 決定 決定 修正する" << "revising" << revising << "日記終了|広げる|| green";
        QTest::newRow("revising, enlarged") << "例文表示 決定 決定 修正する @た" << "revising, enlarged"
                                            << "cmdWide txtTalk grdBoard2 cmdspace cmdEnd2" << "";
        QTest::newRow("revising, full screen") << "1920x1080 例文表示 決定 決定 修正する" << "revising" << revising << "";
        QTest::newRow("revising, suggestions") << "例文表示 決定 決定 修正する @か @か" << "revising with suggestions"
                                               << list("grdSp", "cmdBack ") << "日記終了|広げる|か|_ green";
        QTest::newRow("revising, suggestion taken") << "例文表示 決定 決定 修正する @か @か 決定" << "revising" << revising
                                                    << "日記終了|広げる|か[_] green";
        // The stop panel, a window of the main window, lies over the bottom band.
        QTest::newRow("reading") << "@た @た 読む" << "reading" << wide + "lblLabel" << "例文表示|広げる|た[_]";
    }

    void screens()
    {
        QFETCH(QString, steps);
        QFETCH(QString, reachable);
        QFETCH(QString, after);
        {
            TalkFixture f({}, screenFolder());
            QString screen = "not reached", reach;
            QStringList slivers;
            auto look = [&] {
                screen = screenOf(f.talk());
                reach = ::reachable(f.win.get());
                // Over the bottom band the stop panel leaves no edge of a button
                // showing, which a finger could catch.
                for (QWidget *b : {(QWidget *)f.ui().cmdOpt, (QWidget *)f.ui().cmdEnd, (QWidget *)f.ui().cmdSamp, (QWidget *)f.ui().cmdKey})
                    for (const QPoint corner : {b->rect().topLeft(), b->rect().topRight(), b->rect().bottomLeft(), b->rect().bottomRight()})
                        if (screen == u"reading" && widgetAt(f.win.get(), b->mapToGlobal(corner)) == b)
                            slivers << b->objectName();
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
            QCOMPARE(slivers, QStringList());
            QCOMPARE(reach, reachable);
            if (!after.isEmpty())
                QCOMPARE(::after(f), after);
            if (reading) // the stop panel ends with the reading
                return;
        }
        // Every control it offers, pressed at its centre through whatever is
        // on top there, each from a fresh start.
        for (const QString &control : reachable.split(u' ')) {
            TalkFixture f({}, screenFolder());
            walk(f, steps);
            Asked asked(f);
            checkScreen(f, asked, {}, "reached");
            Questions answers([](bool) { return 0; });
            ModalScript options({{"frmOPT", [](QWidget *d) { d->close(); }}});
            tap(f, f.win->findChild<QWidget *>(control));
            if (control == u"cmdEnd")
                QCOMPARE(f.quits, 1);
            else
                checkScreen(f, asked, control, control);
            if (QTest::currentTestFailed())
                return;
        }
    }

    // Two seeded random walks (each comes to every screen); between them,
    // and with two moves they seldom make (a suggestion taken and the diary
    // closed while revising, the screen left at once), they take every
    // move of the table.
    void randomWalk()
    {
        QSet<std::pair<int, int>> moves;
        for (quint32 seed : {2u, 5u}) {
            walkRandomly(seed, moves);
            if (QTest::currentTestFailed())
                return;
        }
        for (const char *steps : {"例文表示 決定 決定 修正する @か @か 決定", "例文表示 決定 決定 修正する @か @か 日記終了"}) {
            TalkFixture f({}, screenFolder());
            Questions answers([](bool) { return 0; });
            Asked asked(f);
            walk(f, QString::fromUtf8(steps));
            moves.unite(asked.moves);
        }
        for (const Transition &t : transitionTable())
            QVERIFY2(moves.contains({int(t.from), int(t.event)}),
                     qPrintable(QStringLiteral("%1 on event %2").arg(nameOf(t.from)).arg(int(t.event))));
    }

private:
    // A seeded random walk: any reachable control, any cell of a list or
    // board, any answer; the same checks after every press, and the files
    // on disk at the end. Adds the moves it took to `moves`.
    void walkRandomly(quint32 seed, QSet<std::pair<int, int>> &moves)
    {
        QRandomGenerator rng(seed);
        // One typed character is a key, and sentences begin with the kana
        // of many cells, so that suggestions come often.
        std::map<QString, QByteArray> files = screenFolder();
        files[kSampleFileName] = records({kPlaceholder, "かさ", "かばん", "あめ", "いす", "たこ", "なつ", "はる", "まど",
                                          "やま", "アイス", "カメラ", "0てん", "1ばん", "2ばん", "3じ", "Aさん"});
        TalkFixture f({{"Sample", "1"}}, files);
        Questions answers([&rng](bool twoButtons) { return twoButtons ? int(rng.bounded(2)) : 0; });
        QStringList stored;                   // diary texts 日記終了 stored
        QSet<int> seen;                       // the screens the walk came to
        Asked asked(f);
        for (int i = 0; i < 2000; ++i) {
            const Screen from = f.talk().screens->current();
            QStringList offered;
            for (QWidget *w : reachableControls(f.win.get()))
                // Not the end of the program, nor the options dialog.
                if (w->objectName() != u"cmdEnd" && w->objectName() != u"cmdOpt")
                    // The board and the enlarged grid three times over: a
                    // user mostly picks characters.
                    for (int n = w->objectName().startsWith(u"grdBoard") ? 3 : 1; n > 0; --n)
                        offered << w->objectName();
            const QString control = offered.at(rng.bounded(int(offered.size())));
            const QString text = f.box()->text();
            const QString where = QStringLiteral("seed %1, press %2 on %3: %4").arg(seed).arg(i).arg(nameOf(from), control);
            const qsizetype askedBefore = answers.asked.size();
            if (auto *g = qobject_cast<FlexGrid *>(f.win->findChild<QWidget *>(control))) {
                const int row = g->TopRow() + rng.bounded(qMax(1, qMin(3, g->Rows() - g->TopRow())));
                touchCell(g, row, rng.bounded(g->Cols()));
            } else {
                tap(f, f.win->findChild<QWidget *>(control));
            }
            settle();
            checkScreen(f, asked, control, where);
            if (QTest::currentTestFailed())
                return;
            seen.insert(int(f.talk().screens->current()));
            const QStringList asked = answers.asked.mid(askedBefore);
            // A diary stored on ＹＥＳ is on disk at once (most texts stored are
            // empty, so the end's check alone would prove little).
            if (asked.size() == 1 && asked[0].startsWith(u"日記の終了|日記を登録して終了します|") && answers.answered.last() == 0) {
                stored << text;
                QVERIFY2(decodeTextFile(f.readFile("day.txt")).text.contains(text), qPrintable(where + ": " + text));
            }
        }
        for (const ScreenNeeds &r : screenNeeds())
            QVERIFY2(seen.contains(int(r.screen)), qPrintable(QStringLiteral("seed %1: %2").arg(seed).arg(r.name)));
        QVERIFY2(!stored.isEmpty(), qPrintable(QStringLiteral("seed %1").arg(seed)));
        // Talk.txt holds what the example list shows; day.txt the text stored
        // last.
        QStringList onDisk = parseSamples(decodeTextFile(f.readFile("Talk.txt")).text), listed;
        onDisk.removeAll(kPlaceholder);
        for (int r = 0; r < f.ui().grdEx->Rows(); ++r)
            if (const QString cell = trimSpaces(f.ui().grdEx->TextMatrix(r, 1)); !cell.isEmpty() && cell != kDiaryCell)
                listed << cell;
        onDisk.sort();
        listed.sort();
        QCOMPARE(onDisk, listed);
        QVERIFY2(decodeTextFile(f.readFile("day.txt")).text.contains(stored.last()), qPrintable(stored.last()));
        moves.unite(asked.moves);
    }
};

KEL_TEST(test_reach, TestReach)
#include "test_reach.moc"
