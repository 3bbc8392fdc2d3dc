#pragma once
// Driving the real window as a user does, for the example list, the diary,
// the composing and the screen tests: buttons found by their captions and
// board cells by their text, the question dialogs, the files a test starts
// from, a walk to a screen, and a visit as one scripted row.
// Texts are written with the block in brackets, "あ[い]う_", or a bare
// caret, "あ|い".

#include "samples/SampleFile.h"
#include "support/ScreenNames.h"
#include "support/TalkFixture.h"

#include <QClipboard>
#include <QDir>
#include <QHeaderView>
#include <algorithm>
#include <optional>

namespace kel {

const QColor kGreen(128, 255, 128);

// The visible button showing `caption` ("決定", "例文追加", "日記終了" ...);
// none fails the test.
inline ColorButton *button(TalkFixture &f, const QString &caption)
{
    for (ColorButton *b : f.win->findChildren<ColorButton *>())
        if (b->isVisible() && b->text() == caption)
            return b;
    QTest::qFail(qPrintable(QStringLiteral("no visible button \"%1\"").arg(caption)), __FILE__, __LINE__);
    return nullptr;
}

// The records of `sentences` in order, each as the program writes one (the
// record format itself is pinned byte for byte in test_samplescreens).
inline QByteArray records(const QStringList &sentences)
{
    QByteArray bytes;
    for (const QString &s : sentences)
        bytes += encodeRecord(s).value();
    return bytes;
}

// What the user is told when a file changed by another program was merged
// with the window's own change: the dialog's title, then the file's name.
inline const QString kMerged = "%1|%2 はほかのプログラムでも変更されていました。その変更と合わせて保存しました。|OK";

// A visit from start-up: what the program folder holds, the box's text, the
// touches in turn, and what the user is left with, files byte for byte.
struct Visit {
    std::map<QString, QString> options;        // besides "OPT1" = "2": a board touch enters at once
    QByteArray talk = records({kPlaceholder}); // Talk.txt at start-up; null: none
    QByteArray day;                            // day.txt at start-up; null: none
    QByteArray dayTheirs;                      // day.txt as another program leaves it before the last touch; null: untouched
    QString text;                              // set before the first touch; none: as started
    QString clipboard;                         // likewise; a paste takes it off
    SaveFault fault = SaveFault::None;
    QStringList steps;                         // see play()
    QList<int> answers = {0, 0};               // see Questions
    QStringList asked;
    QString after;                             // the box at the end; none: not looked at
    QStringList listed;                        // the list in view from its top row; none: no list shows
    QString screen = "board";                  // see screenOf()
    std::optional<QByteArray> talkAfter, dayAfter; // none: as at start-up
    QStringList green;                         // the board's green cells, "r,c"
};

inline void setMarked(TalkFixture &f, const QString &marked)
{
    const qsizetype open = marked.indexOf(u'['), close = marked.indexOf(u']');
    if (open < 0)
        f.setText(QString(marked).remove(u'|'), marked.indexOf(u'|'));
    else
        f.setText(QString(marked).remove(close, 1).remove(open, 1), open, close - open - 1);
}

// The rows of a list from `from` on, cells joined by "|", the highlighted
// (green) last cell in brackets: "か行|[かさ]".
inline QStringList rows(const FlexGrid *g, int from = 0)
{
    QStringList out;
    const int last = g->Cols() - 1;
    for (int r = from; r < g->Rows(); ++r) {
        QStringList cells;
        for (int c = 0; c < last; ++c)
            cells << g->TextMatrix(r, c);
        const QString s = g->TextMatrix(r, last);
        out << (cells << (g->cellBackColor(r, last) == kGreen ? u'[' + s + u']' : s)).join(u'|');
    }
    return out;
}

inline FlexGrid *listInView(TalkFixture &f)
{
    for (FlexGrid *g : {f.ui().grdSp, f.ui().grdEx, f.ui().grdDay})
        if (g->isVisible())
            return g;
    return nullptr;
}

// Touches the button for `seconds` (none: until its repeat ends by itself).
// An editing key is grey while held and white once released, whatever its
// colour before.
inline void hold(TalkFixture &f, ColorButton *b, std::optional<double> seconds)
{
    const bool editKey = std::ranges::count(f.ui().cmdRes, b) || b == f.ui().cmdCopy || b == f.ui().cmdPaste;
    b->setBackColor(QColor(1, 2, 3));
    std::optional<QColor> whileHeld;
    if (seconds)
        f.clock.after(*seconds, [&whileHeld, b] { whileHeld = b->backColor(); postRelease(b); });
    press(b);
    // A repeating key sees the release in its waits; one that acted at once
    // returns first, and the clock is run on to the release.
    if (!seconds) {
        whileHeld = b->backColor();
        release(b);
    } else if (!whileHeld) {
        f.clock.sleepFor(std::chrono::duration_cast<Nanos>(std::chrono::duration<double>(*seconds)));
    }
    settle();
    if (editKey)
        QVERIFY2(whileHeld == QColor(128, 128, 128) && b->backColor() == QColor(Qt::white), qPrintable(b->text()));
}

// Steps: a caption touches the visible button showing it for 0.1 s, or for
// the seconds after it ("▽0.3"), or until its repeat ends by itself ("→…");
// "@r" touches row r of the list in view; "#r,c" a board cell; "+あ" enters
// あ with a touch on the board, written into the touched cell first, so that
// any text is picked the way a cell's own is.
inline void play(TalkFixture &f, const QStringList &steps)
{
    FlexGrid *board = f.ui().grdBoard;
    for (const QString &step : steps) {
        if (step.startsWith(u'@')) {
            FlexGrid *list = listInView(f);
            QVERIFY(list);
            touchCell(list, step.mid(1).toInt(), list->Cols() - 1);
        } else if (step.startsWith(u'#')) {
            touchCell(board, step.mid(1).section(u',', 0, 0).toInt(), step.section(u',', 1).toInt());
        } else if (step.startsWith(u'+')) {
            board->setTextMatrix(0, 0, step.mid(1));
            touchCell(board, 0, 0);
        } else {
            qsizetype n = step.size();
            while (n > 1 && (step[n - 1].isDigit() || step[n - 1] == u'.' || step[n - 1] == u'…'))
                --n;
            const QString time = step.mid(n);
            ColorButton *b = button(f, step.left(n));
            if (!b)
                return;
            hold(f, b, time == u"…" ? std::nullopt : std::optional(time.isEmpty() ? 0.1 : time.toDouble()));
        }
        settle();
        // The next touch comes after the user has seen what this one did.
        f.clock.sleepFor(std::chrono::milliseconds(400));
    }
}

// Plays `steps` (see play), separated by spaces, a caption as a click: the
// press does its work (a repeating key to its end), then the release comes.
// Answers the questions they ask with `answers` (see Questions); returns
// the questions, with their default buttons in brackets when `marksDefault`.
inline QStringList drive(TalkFixture &f, const QString &steps, QList<int> answers = {1}, bool marksDefault = false)
{
    Questions questions(std::move(answers), marksDefault);
    QStringList clicks;
    for (const QString &step : steps.split(u' ', Qt::SkipEmptyParts))
        clicks << (QStringLiteral("@#+").contains(step[0]) ? step : step + u'…');
    play(f, clicks);
    return questions.asked;
}

// Talk.txt with sentences that か offers; day.txt with 04.09.24 朝ごはん,
// so that today, 04.09.25, heads the diary list with an empty entry.
inline std::map<QString, QByteArray> screenFolder()
{
    return {{kSampleFileName, records({kPlaceholder, "かさ", "かばん"})},
            {"day.txt", QByteArray::fromHex("22 30 34 2E 30 39 2E 32 34 20 92 A9 82 B2 82 CD 82 F1 22 0D 0A")}};
}

// Steps by caption; "@か" touches the cell showing か on the board, or on the
// enlarged screen when that shows.
inline void touchText(TalkFixture &f, const QString &text)
{
    FlexGrid *g = f.ui().fraSet->isVisible() ? f.ui().grdBoard2 : f.ui().grdBoard;
    for (int r = 0; r < g->Rows(); ++r)
        for (int c = 0; c < g->Cols(); ++c)
            if (g->TextMatrix(r, c) == text)
                return touchCell(g, r, c);
    QFAIL(qPrintable("no cell " + text));
}

// "1920x1080" resizes the window, as full screen on such a display does.
inline void walk(TalkFixture &f, const QString &steps)
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

inline void visit(const Visit &v)
{
    std::map<QString, QByteArray> files{{kSampleFileName, v.talk}, {QStringLiteral("day.txt"), v.day}};
    std::erase_if(files, [](const auto &file) { return file.second.isNull(); });
    auto options = v.options;
    options.try_emplace(QStringLiteral("OPT1"), QStringLiteral("2"));
    TalkFixture f(options, files);
    if (!v.text.isEmpty())
        setMarked(f, v.text);
    QGuiApplication::clipboard()->setText(v.clipboard);
    setSaveFaultForTesting(v.fault);
    Questions questions(v.answers);
    const qsizetype last = std::max<qsizetype>(v.steps.size() - 1, 0);
    play(f, v.steps.first(last));
    if (!v.dayTheirs.isNull())
        f.writeFile(QStringLiteral("day.txt"), v.dayTheirs);
    play(f, v.steps.sliced(last));
    setSaveFaultForTesting(SaveFault::None);

    QCOMPARE(questions.asked, v.asked);
    if (!v.after.isEmpty())
        QCOMPARE(f.marked(), v.after);
    const Controls &u = f.ui();
    FlexGrid *list = listInView(f);
    QCOMPARE(list ? rows(list, list->TopRow()) : QStringList(), v.listed);
    if (list && list != u.grdSp)
        QCOMPARE(list->geometry(), u.grdBoard->geometry());
    // However the example list came (opened, after an addition, reopened),
    // its label and sentence columns keep their widths.
    if (list == u.grdEx) {
        const TwipsMap &map = f.win->twips();
        QCOMPARE(list->horizontalHeader()->sectionSize(0), map.px(1000));
        QCOMPARE(list->horizontalHeader()->sectionSize(1), map.px(11685 - 1000 - 338));
    }
    QCOMPARE(screenOf(f.talk()), v.screen);
    QStringList green;
    for (int r = 0; r < u.grdBoard->Rows(); ++r)
        for (int c = 0; c < u.grdBoard->Cols(); ++c)
            if (u.grdBoard->cellBackColor(r, c) == kGreen)
                green << QStringLiteral("%1,%2").arg(r).arg(c);
    QCOMPARE(green, v.green);
    QCOMPARE(QGuiApplication::clipboard()->text(), QString());
    const QByteArray talk = v.talkAfter.value_or(v.talk), day = v.dayAfter.value_or(v.day);
    QCOMPARE(f.readFile(QStringLiteral("Talk.txt")), talk);
    QCOMPARE(f.readFile(QStringLiteral("day.txt")), day);
    // A save must leave no temporary behind.
    const QStringList entries = QDir(f.home.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    QCOMPARE(entries, (day.isNull() ? QStringList{"Talk.txt"} : QStringList{"Talk.txt", "day.txt"}));
}

} // namespace kel
Q_DECLARE_METATYPE(kel::Visit)
