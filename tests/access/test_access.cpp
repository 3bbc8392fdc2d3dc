// Using the whole program by one switch, by two switches and by resting the
// pointer: switch presses are key events delivered to the window, dwell is
// real pointer moves, and the clock is the test's. The settings dialogs by
// switch: each dialog by its groups in reading order with its safe default
// first, drop-downs and number boxes stepped through their values, and the
// highlight frame around its item at every window size. (Every control
// offered: test_fit.)
#include "support/TestMain.h"
#include "access/SwitchUser.h"

#include "access/AccessControl.h"
#include "access/AccessOverlay.h"
#include "access/ScanOrder.h"
#include "access/ScanScreen.h"
#include "base/AnsiText.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>
#include <QWindow>

using namespace kel;
using namespace kel::test;

namespace {

// What a session left, as a row names it: "what=value", or "what∋value"
// for a part of it. A file ("Talk.txt", "day.txt") holds the record of the
// value, byte for byte; "box" is the text, "quits" the ends asked for,
// "asked" the last question (title|message), "voiced" what was heard,
// "cmdSamp" that button's caption, "exact" 1 when the presses were just the
// fewest the layout asks for, "echo" 1 when some came while a pick was
// voiced, "ScanRounds in force" the scan's own; any other name a stored
// option ("ACCESS/Key" in its group).
void checkLeft(TalkFixture &fx, const User &user, const QString &asked, const QStringList &left)
{
    for (const QString &check : left) {
        const bool part = check.contains(u'∋');
        const QString what = check.section(part ? u'∋' : u'=', 0, 0), want = check.section(part ? u'∋' : u'=', 1);
        if (what.endsWith(u".txt")) {
            const QByteArray bytes = fx.readFile(what), record = encodeRecord(want).value();
            QVERIFY2(part ? bytes.contains(record) : bytes == record, qPrintable(check));
            continue;
        }
        const std::map<QString, QString> seen{
            {"box", fx.box()->text()}, {"quits", QString::number(fx.quits)}, {"asked", asked},
            {"voiced", fx.voiced().join(QString())}, {"cmdSamp", fx.ui().cmdSamp->text()},
            {"exact", QString::number(user.presses == user.bound)}, {"echo", QString::number(user.duringEcho > 0)},
            {"ScanRounds in force", QString::number(fx.win->access().settings().ScanRounds)}};
        const QString got = seen.contains(what) ? seen.at(what)
            : (what.contains(u'/') ? fx.store->valueIn(what.section(u'/', 0, 0), what.section(u'/', 1)) : fx.store->value(what))
                  .value_or("(none)");
        QVERIFY2(part ? got.contains(want) : got == want, qPrintable(check + " but " + got));
    }
}

} // namespace

class TestAccess : public QObject {
    Q_OBJECT
private slots:
    // A user reaches the targets in turn (cell texts, captions, a dialog's
    // choices), in no more presses than the layout asks for, from a start
    // with `text` in the box; then what is left is as `left` says (see
    // checkLeft). A press made while a pick is voiced acts when the voice
    // ends, so a user who presses during an echo needs no press more.
    void sessions_data()
    {
        QTest::addColumn<int>("way");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("targets");
        QTest::addColumn<bool>("listens"); // waits for each echo before pressing
        QTest::addColumn<QStringList>("left");
        const int one = int(Way::OneSwitch), two = int(Way::TwoSwitches), dwell = int(Way::Dwell);
        // A whole session: a sentence with a suggestion, reading it, adding
        // it as an example and storing a diary entry. Every pick goes
        // through the enlarged screen (the default touch rule).
        const QString everyTask = "あ あ 決定 り り ありがとうございます 決定 読む ね ね 例文追加 例文終了 例文表示 決定 決定 修正する "
                                  "あ あ 日記終了 ＹＥＳ";
        const QStringList everyTaskLeft{"voiced∋りありがとうございますね", "Talk.txt∋ありがとうございますね",
                                        "day.txt=04.09.25 あ_", "cmdSamp=例文表示", "exact=1", "echo=0"};
        for (auto [name, way] : {std::pair{"one switch", one}, {"two switches", two}, {"dwell", dwell}})
            QTest::addRow("every task, %s", name) << way << QStringLiteral("Scan=%1;Dwell=%2;SwitchLock=0;ScanStep=300").arg(way).arg(way ? 0 : 1000)
                                                  << "" << everyTask << true << everyTaskLeft;
        // A word, OPT1 2: entered at once. The user is a perfect one: fewer
        // presses than the fewest is a miscount (the whole sessions above
        // are exact too). After あ the あ column is highlighted again at
        // once: the press for い comes during the echo of あ.
        const auto word = [](int way) { return QStringLiteral("Scan=%1;SwitchLock=0;OPT1=2;Samp=0").arg(way); };
        QTest::newRow("a word, one switch, pressing during the echo") << one << word(one) << "" << "あ い" << false
                                                                       << QStringList{"box=あい_", "exact=1", "echo=1"};
        QTest::newRow("a word, two switches, pressing during the echo") << two << word(two) << "" << "あ し た" << false
                                                                         << QStringList{"box=あした_", "exact=1", "echo=1"};
        // The user's own options: "設定" is offered, and in the dialogs each
        // group, then its controls; a choice, a drop-down's value ("２" →
        // "４"), a check box laid out wider than its label (touched at
        // its middle), and a number box's ("戻るまでの回数" 2 → 4) in the settings
        // beyond the options, in force at once.
        const QString options = "設定 ２回クリックで文字入力 文字を拡大する。 ２ ４ 確定 設定 その他 2 4 閉じる 確定";
        const QStringList optionsLeft{"OPT1=3", "Sample=4", "Moji=1", "ACCESS/ScanRounds=4", "ScanRounds in force=4"};
        for (auto [name, way] : {std::pair{"one switch", one}, {"two switches", two}})
            QTest::addRow("the options, %s", name) << way << QStringLiteral("Scan=%1;ScanSettings=1;SwitchLock=0").arg(way) << ""
                                                   << options << true << optionsLeft;
        // With dwell, ending asks in the question dialog, answered by resting
        // too. (始め's question, as a finger answers it: test_samplescreens.)
        const QString askEnd = "asked=終了|終了してもよろしいですか？";
        QTest::newRow("終了, キャンセル: the text stays") << dwell << "Dwell=1000" << "あい_" << "終了 キャンセル" << true
                                                         << QStringList{askEnd, "quits=0", "box=あい_"};
        QTest::newRow("終了, ＯＫ: ends") << dwell << "Dwell=1000" << "あい_" << "終了 ＯＫ" << true
                                           << QStringList{askEnd, "quits=1", "box=あい_"};
    }

    void sessions()
    {
        QFETCH(int, way);
        QFETCH(QString, stored);
        QFETCH(QString, text);
        QFETCH(QString, targets);
        QFETCH(bool, listens);
        QFETCH(QStringList, left);
        TalkFixture fx(settings(stored), {{QStringLiteral("Talk.txt"), *encodeRecord(QStringLiteral("ありがとうございます"))}});
        fx.addVoices(QString("あ い り が と う ご ざ ま す ね し た").split(u' '));
        if (!text.isEmpty())
            fx.setText(text, text.size() - 1, 1);
        QString asked;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            QWidget *w = QApplication::activeModalWidget();
            if (auto *label = w ? w->findChild<QLabel *>("lblOK") : nullptr)
                asked = w->windowTitle() + u'|' + label->text().remove(QChar(0x2060));
        });
        watch.start(0);
        if (targets.startsWith(u"終了")) { // no target of the scan: the pointer is put on it by hand
            QWindow *w = fx.win->windowHandle();
            moveTo(w, QPoint(1, 1));
            moveTo(w, fx.ui().cmdEnd->mapTo(fx.win.get(), fx.ui().cmdEnd->rect().center()));
        }
        User user(fx, Way(way), targets.split(u' '), listens);
        // Every target reached, in no more presses than the layout asks for
        // (the trace says which took more); then the last selection's
        // release, still queued when its press counted, acts.
        QTRY_VERIFY_WITH_TIMEOUT(user.done(), 60000);
        QCOMPARE(user.stuck, QString());
        QVERIFY2(user.presses <= user.bound,
                 qPrintable(QStringLiteral("%1 presses, at most %2: %3").arg(user.presses).arg(user.bound).arg(user.trace.join(u' '))));
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
        QTRY_VERIFY(!QApplication::activeModalWidget());
        checkLeft(fx, user, asked, left);
    }

    void scripts_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("target");   // where the pointer rests first: a cell's text or a caption
        // E the Enter switch (d, u, r: down, up, a key repeat), S the space bar,
        // Ps the space bar pressed s seconds into the next wait, m a click
        // where the pointer is, +ms time passes, ~ the pointer moves by 2
        // pixels, > by 20, o off any target, b back; R "読む" over "あいうえ";
        // =x the scan state (as scanState) or the number of selections so far.
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("voiced");
        QTest::addColumn<QString>("text");

        // One switch: each highlight stays 1 s, the first of a level 1.5 s.
        QTest::newRow("one switch: groups, items, the up item, a choice starts over")
            << "Scan=1;SwitchLock=0;OPT1=2" << ""
            << "E =g0 +1499 =g0 +1 =g1 E =i1.0 +1500 =i1.1 +3000 =i1.4 +1000 =u1 E =g1 E =i1.0 +1500 E =g0"
            << "" << "き_";
        // 14 groups: the board's 10 columns of 5, then the buttons.
        QTest::newRow("one switch: unanswered rounds go up, then stop") << "Scan=1;ScanStep=300;SwitchLock=0" << ""
            << "E E =i0.0 +450 =i0.1 +1200 =u0 +300 =i0.0 +1650 =u0 +300 =g0 +450 =g1 +3600 =g13 +300 =g0 +4050 =g13 "
               "+300 =- E =g0"
            << "" << "";
        QTest::newRow("one switch: paused while a pick is voiced") << "Scan=1;SwitchLock=0;OPT1=2" << ""
            << "S S S =g0 +1400 =g0 +200 =g1" << "あ" << "あ_";
        QTest::newRow("two switches: Move steps, Select takes, time never moves it")
            << "Scan=2;SwitchLock=0;OPT1=2" << ""
            << "S =g0 S =g1 E =i1.0 S =i1.1 S =i1.2 E =g0 S =g1 E =i1.0 +9000 =i1.0 S S S S S =u1 E =g1" << "" << "く_";
        QTest::newRow("two switches, rows first") << "Scan=2;SwitchLock=0;OPT1=2;ScanOrder=1" << ""
                                                  << "S =g0 S =g1 E =i1.0 S =i1.1 S =i1.2 E =g0" << "" << "し_";
        // P0.2: a Move during the echo of the pick.
        // The enlarged screen opens after the echo: a Select kept from the
        // board's screen takes nothing there, it only shows the highlight.
        QTest::newRow("one switch: a press kept across a change of screen takes nothing")
            << "Scan=1;SwitchLock=0;Samp=0" << "" << "E =g0 E =i0.0 P0.2 E =g0 +10 =g0 =1" << "あ" << "";
        QTest::newRow("a switch stops the reading") << "Scan=2" << "" << "P1 R" << "あ い" << "あいうえ_";
        // Switch edges, with highlights that stay 5 s.
        QTest::newRow("a held switch takes the group once, not its first cell")
            << "Scan=1;ScanStep=5000;SwitchLock=0" << "" << "d u d r r +1000 r r u =i0.0" << "" << "";
        QTest::newRow("a bounce inside the lock is swallowed; after it a press counts")
            << "Scan=1;ScanStep=5000;SwitchLock=300" << "" << "d u +20 d u =g0 +400 d u =i0.0" << "" << "";
        QTest::newRow("a long press: the lock runs again from its release")
            << "Scan=1;ScanStep=5000;SwitchLock=300" << "" << "d +1000 u +100 d u =g0 +400 d u =i0.0" << "" << "";
        QTest::newRow("a press counts once held for the accept time")
            << "Scan=1;ScanStep=5000;SwitchAccept=500" << "" << "d +300 u =- d +600 u =g0" << "" << "";
        // Each group is named as it is highlighted, the first at once and the
        // second 1.5 s later, as a touch would name it: "あ" from the user's
        // own recording over the installed set's, "か" from the installed set.
        QTest::newRow("a mouse button is a switch when asked") << "Scan=1;ScanVoice=1;ScanMouse=1" << "" << "m +1600"
                                                               << "あ set/か" << "";
        QTest::newRow("otherwise a click is a touch") << "Scan=1;ScanVoice=1" << "" << "m +1600" << "" << "";
        // Resting 1 s selects, once; the enlarged screen that opens under the
        // pointer is dead until it moves.
        QTest::newRow("resting selects once, then not again until the pointer moves")
            << "Dwell=1000" << "す" << "+990 =0 +10 =1 +3000 =1 ~ +3000 =1 > +1000 =2" << "" << "ず_";
        QTest::newRow("a tremor as the enlarged screen opens selects nothing")
            << "Dwell=1000" << "す" << "+1000 =1 ~ +3000 =1" << "" << "";
        QTest::newRow("a click where it rests is the only touch") << "Dwell=1000" << "ひら" << "m +1500 =0" << "" << "";
        QTest::newRow("wandering in the lock-on starts over; moving after it does not; leave to select again")
            << "Dwell=1000" << "ひら" << "+100 > +950 =0 +50 =1 o +100 b +200 > +800 =2" << "" << "";
        QTest::newRow("始め needs twice the time") << "Dwell=1000" << "始め" << "+1500 =0 +510 =1" << "" << "";
    }

    void scripts()
    {
        QFETCH(QString, stored);
        QFETCH(QString, target);
        QFETCH(QString, script);
        QFETCH(QString, voiced);
        QFETCH(QString, text);
        TalkFixture fx(settings(stored));
        QVERIFY(QDir(fx.home.path()).mkdir("set"));
        fx.addVoices(QString("あ い う え set/あ set/か").split(u' '));
        fx.st().SoundSetPath = fx.path("set");
        const Questions closed(QList<int>{}); // a question ("始め" asks one) is answered with cancel
        QWindow *w = fx.win->windowHandle();
        QPoint home(2, 2), at = home;
        if (!target.isEmpty()) {
            const ScanScreen screen = currentScanScreen(fx.talk(), false);
            const auto [g, i] = find(screen, target);
            QVERIFY(g >= 0);
            home = screen.groups[g].items[i].centre();
            moveTo(w, QPoint(1, 1));
            moveTo(w, at = home);
        }
        QStringList want, seen;
        for (const QString &s : script.split(u' ')) {
            const QChar c = s[0];
            if (c == u'=') {
                want << s.mid(1);
                seen << (s[1].isDigit() ? QString::number(fx.win->access().selections()) : scanState(fx));
            } else if (c == u'+') {
                pass(fx, s.mid(1).toInt());
            } else if (c == u'E' || c == u'S') {
                tap(fx, c == u'E' ? Qt::Key_Return : Qt::Key_Space);
            } else if (QStringLiteral("dur").contains(c)) {
                key(fx, Qt::Key_Return, c == u'u' ? QEvent::KeyRelease : QEvent::KeyPress, c == u'r');
            } else if (c == u'P') {
                fx.clock.after(s.mid(1).toDouble(), [&fx] {
                    for (auto type : {QEvent::KeyPress, QEvent::KeyRelease})
                        QCoreApplication::postEvent(fx.win.get(), new QKeyEvent(type, Qt::Key_Space, Qt::NoModifier, " "));
                });
            } else if (c == u'm') {
                QTest::mouseClick(w, Qt::LeftButton, {}, at);
            } else if (c == u'R') {
                fx.setText(QStringLiteral("あいうえ_"), 0);
                TalkFixture::click(fx.ui().cmdRead);
            } else {
                moveTo(w, at = c == u'o' ? QPoint(1, 1) : c == u'b' ? home : at + QPoint(c == u'~' ? 2 : 20, 0));
            }
            QCoreApplication::processEvents();
        }
        QCOMPARE(seen.join(u' '), want.join(u' '));
        QCOMPARE(fx.voiced().join(u' '), voiced);
        QCOMPARE(fx.box()->text(), text);
    }

    void storedValues_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("differ");   // the values in force that are not the defaults
        QTest::addColumn<bool>("spaceTypes");
        QTest::addColumn<double>("reading");   // seconds to read "あい_"

        QTest::newRow("nothing stored") << "" << "" << true << 2.4;
        const QString ends = "Scan=2;ScanStep=300;ScanFirst=3;ScanRounds=5;ScanOrder=1;ScanVoice=1;SwitchAccept=2000;"
                             "SwitchLock=0;Dwell=3000;Pace=2000";
        QTest::newRow("every key at the end of its range") << ends << ends << false << 6.0;
        QTest::newRow("just out of range") << "Scan=3;ScanStep=299;ScanFirst=3.01;ScanRounds=0;ScanOrder=-1;"
                                              "SwitchAccept=2001;SwitchLock=-1;ScanMouse=2;Dwell=299;Pace=2001"
                                           << "" << true << 2.4;
        QTest::newRow("not numbers") << "Scan=one;ScanStep=;Pace=0x300;ScanFirst=nan;Dwell=1e9;SwitchLock=inf" << ""
                                     << true << 2.4;
        QTest::newRow("fractions where whole numbers go") << "Scan=1.5;Pace=800.5;ScanFirst=1.25" << "ScanFirst=1.25"
                                                          << true << 2.4;
        QTest::newRow("spaces around a value") << "Scan= 1 ;Pace= 500" << "Scan=1;Pace=500" << false << 1.5;
    }

    void storedValues()
    {
        QFETCH(QString, stored);
        QFETCH(QString, differ);
        QFETCH(bool, spaceTypes);
        QFETCH(double, reading);
        TalkFixture fx(settings(stored + ";OPT1=2"));
        QStringList defaults, inForce;
        saveAccessSettings({}, [&](const QString &k, const QString &v) { return defaults << k + u'=' + v, true; });
        saveAccessSettings(fx.win->access().settings(), [&](const QString &k, const QString &v) { return inForce << k + u'=' + v, true; });
        inForce.removeIf([&](const QString &kv) { return defaults.contains(kv); });
        QCOMPARE(inForce.join(u';'), differ);

        fx.box()->setFocus();
        QTest::keyClick(fx.box(), Qt::Key_Space);
        QCOMPARE(fx.box()->text().contains(u' '), spaceTypes);
        fx.setText(QStringLiteral("あい_"), 0);
        const double start = fx.clock.seconds();
        TalkFixture::click(fx.ui().cmdRead);
        QVERIFY(qAbs(fx.clock.seconds() - start - reading) < 0.01);
    }

    void nothingToScan()
    {
        // A screen with nothing on it to touch (a stop panel whose label is covered): the switches do nothing.
        Scanner s(true, {});
        s.setShape({}, {});
        for (Switch w : {Switch::Select, Switch::Move, Switch::Move})
            QVERIFY(!s.press(w, {}).valid() && s.level() == Scanner::Level::Idle);
    }

    // Stepping through a drop-down's values shows each in the box; a
    // one-switch user who lets the rounds run out keeps the old value.
    void valuesShownInTheBox()
    {
        TalkFixture fx(settings("Scan=1;ScanSettings=1;SwitchLock=0;ScanRounds=1"));
        QStringList shown;
        ModalScript script({{"frmOPT", [&](QWidget *d) {
            auto *list = child<QComboBox>(d, "cmbSample");
            AccessControl &a = fx.win->access();
            shown << currentScanScreen(fx.talk(), false, true).groups[0].items[0].text;   // "確定" first
            const User user(fx, Way::OneSwitch, {QStringLiteral("２")});
            QTRY_VERIFY(user.done());
            for (int k = 0; k < 5; ++k) {
                shown << list->currentText();
                pass(fx, k == 0 ? 1500 : 1000);
            }
            shown << (a.editing() ? "editing" : "left") << list->currentText();
            click(child(d, "cmdOK1"));
        }}});
        TalkFixture::click(fx.ui().cmdOpt);
        QVERIFY(script.done());
        QCOMPARE(shown.join(u' '), QStringLiteral("確定 ２ ３ ４ ５ １ left ２"));
        QCOMPARE(fx.store->value("Sample"), std::optional<QString>("2"));
    }

    // The frame shows on all four sides of its item, in the frame colour
    // just outside the item's edge, or inside the window where the window's
    // edge cuts the item: the あ column of a window twice the design size,
    // and the question's buttons near the dialog's bottom and right edges.
    // Its thickness grows with the window. (That it hides no caption:
    // test_fit.)
    void frameOnEverySide()
    {
        TalkFixture fx(settings("Scan=2;SwitchLock=0"));
        tap(fx, Qt::Key_Space);
        const int thin = fx.win->access().overlay()->thickness();
        fx.win->resize(FrmTalk::designSize() * 2);
        QCoreApplication::processEvents();
        pass(fx, 10);
        QCOMPARE(fx.win->access().overlay()->thickness(), thin * 2);
        const auto framed = [&fx](QWidget *w) {
            const AccessOverlay *o = w->findChild<AccessOverlay *>();
            const QRect h = o->highlight();
            const int m = o->thickness() + 6;
            const QImage shot = w->grab().toImage();
            const QRect in = shot.rect();
            // Along the middle lines across each edge, from outside (or the window's edge) in.
            QString sides;
            const QPoint c = h.center();
            for (auto [from, step] : {std::pair{QPoint(std::max(h.left() - m, in.left()), c.y()), QPoint(1, 0)},
                                      {QPoint(std::min(h.right() + m, in.right()), c.y()), QPoint(-1, 0)},
                                      {QPoint(c.x(), std::max(h.top() - m, in.top())), QPoint(0, 1)},
                                      {QPoint(c.x(), std::min(h.bottom() + m, in.bottom())), QPoint(0, -1)}}) {
                bool shows = false;
                for (int k = 0; k <= 2 * m; ++k)
                    shows = shows || shot.pixelColor(from + k * step) == AccessOverlay::kFrameColour;
                sides += shows ? u'1' : u'0';
            }
            const AccessControl &a = fx.win->access();
            return QStringLiteral("%1 %2 %3").arg(a.screen().groups[a.scanner()->group()].items[0].text.trimmed())
                .arg(h.right() > in.right() ? "cut" : "whole").arg(sides);
        };
        QStringList seen{framed(fx.win.get())};
        ModalScript script({{"frmOK", [&](QWidget *d) {
            seen << framed(d);   // the scan goes on from ＯＫ, then to キャンセル
            tap(fx, Qt::Key_Space);
            seen << framed(d);
            tap(fx, Qt::Key_Return);
        }}});
        fx.setText(QStringLiteral("あ_"), 1, 1);
        TalkFixture::click(fx.ui().cmdStart);
        QVERIFY(script.done());
        QCOMPARE(seen, (QStringList{"あ cut 1111", "ＯＫ whole 1111", "キャンセル whole 1111"}));
        QCOMPARE(fx.box()->text(), QStringLiteral("あ_"));   // キャンセル kept the text
    }

    void readingOrder_data()
    {
        QTest::addColumn<QList<QRect>>("rects");
        QTest::addColumn<QString>("lines");
        QTest::newRow("a line by overlapping middles, left to right")
            << QList<QRect>{{0, 40, 100, 30}, {120, 35, 100, 40}, {0, 0, 50, 20}} << "2|0 1";
        QTest::newRow("a column of radio buttons") << QList<QRect>{{0, 60, 80, 20}, {0, 0, 80, 20}, {0, 30, 80, 20}} << "1|2|0";
        QTest::newRow("a tall box beside two short ones") << QList<QRect>{{0, 0, 50, 100}, {60, 0, 50, 20}, {60, 70, 50, 20}}
                                                           << "0 1|2";
        QTest::newRow("nothing") << QList<QRect>{} << "";
    }

    void readingOrder()
    {
        QFETCH(QList<QRect>, rects);
        QFETCH(QString, lines);
        QStringList out;
        for (const auto &line : readingLines(std::vector<QRect>(rects.begin(), rects.end()))) {
            QStringList l;
            for (int i : line)
                l << QString::number(i);
            out << l.join(u' ');
        }
        QCOMPARE(out.join(u'|'), lines);
    }

    void valueSteps_data()
    {
        QTest::addColumn<QList<double>>("box");   // low, high, step, current
        QTest::addColumn<QString>("offered");
        QTest::newRow("every value, the current first") << QList<double>{1, 5, 1, 3} << "3 4 5 1 2";
        QTest::newRow("a long range in round steps, its ends and the current value kept")
            << QList<double>{300, 5000, 1, 1050}
            << "1050 1200 1400 1600 1800 2000 2200 2400 2600 2800 3000 3200 3400 3600 3800 4000 4200 4400 4600 4800 5000 "
               "300 400 600 800 1000";
        QTest::newRow("tenths") << QList<double>{1, 1.5, 0.1, 1.5} << "1.5 1 1.1 1.2 1.3 1.4";
        QTest::newRow("a current value out of range is clamped") << QList<double>{0, 2, 1, 9} << "2 0 1";
    }

    void valueSteps()
    {
        QFETCH(QList<double>, box);
        QFETCH(QString, offered);
        QStringList out;
        for (double v : numberSteps(box[0], box[1], box[2], box[3], 40))
            out << QString::number(v);
        QCOMPARE(out.join(u' '), offered);
        // (A drop-down's values from its current one on: valuesShownInTheBox.)
        QCOMPARE(listSteps(3, -1), (std::vector<int>{0, 1, 2}));
    }
};

KEL_TEST(test_access, TestAccess)
#include "test_access.moc"
