// Using the whole program by one switch, by two switches and by resting the
// pointer: switch presses are key events delivered to the window, dwell is
// real pointer moves, and the clock is the test's.
#include "support/TalkFixture.h"

#include "access/AccessControl.h"
#include "access/AccessOverlay.h"
#include "access/AccessSettingsPage.h"
#include "access/ScanOrder.h"
#include "access/ScanScreen.h"
#include "base/AnsiText.h"
#include "base/Autostart.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

using namespace kel;
using std::chrono::milliseconds;

namespace {

enum class Way { Dwell, OneSwitch, TwoSwitches };   // in the order of the stored "Scan"

// "Key=value;..." of the access group; the OPT and Samp keys are the options'.
std::map<QString, QString> settings(const QString &stored)
{
    std::map<QString, QString> out;
    for (const QString &kv : stored.split(u';', Qt::SkipEmptyParts))
        out[(kv.startsWith(u"OPT") || kv.startsWith(u"Samp") ? "" : "ACCESS/") + kv.section(u'=', 0, 0)] = kv.section(u'=', 1);
    return out;
}

// Where a scan is, in a word: "-" idle, "g2" on group 2, "i2.3" on its item
// 3, "u2" on the way back up from group 2.
QString scanState(TalkFixture &fx)
{
    const Scanner &s = *fx.win->access().scanner();
    if (s.level() == Scanner::Level::Idle)
        return QStringLiteral("-");
    if (s.level() == Scanner::Level::Groups)
        return QStringLiteral("g%1").arg(s.group());
    return s.onUp() ? QStringLiteral("u%1").arg(s.group()) : QStringLiteral("i%1.%2").arg(s.group()).arg(s.item());
}

// A switch edge, to the question in front of the window when there is one.
void key(TalkFixture &fx, Qt::Key k, QEvent::Type type = QEvent::KeyPress, bool repeat = false)
{
    QWidget *modal = QApplication::activeModalWidget();
    QKeyEvent e(type, k, Qt::NoModifier, k == Qt::Key_Space ? QStringLiteral(" ") : QStringLiteral("\r"), repeat);
    QApplication::sendEvent(modal ? modal : fx.win.get(), &e);
}

void tap(TalkFixture &fx, Qt::Key k)
{
    key(fx, k);
    key(fx, k, QEvent::KeyRelease);
}

// Lets `ms` pass on the test's clock, as the program's timer sees it; what
// that sets off runs at once or, with `later`, from the event loop.
void pass(TalkFixture &fx, int ms, bool later = false)
{
    for (int t = 0; t < ms; t += 10) {
        fx.clock.sleepFor(milliseconds(std::min(10, ms - t)));
        fx.win->access().poll();
    }
    if (!later)
        QCoreApplication::processEvents();
}

// A pointer move to `pos` of `w`: the screen's pointer and the event agree.
void moveTo(QWindow *w, QPoint pos)
{
    QCursor::setPos(w->mapToGlobal(pos));
    QTest::mouseMove(w, pos);
}

// The group and item of the first target showing `text`; -1, -1 when none does.
std::pair<int, int> find(const ScanScreen &screen, const QString &text)
{
    for (int g = 0; g < int(screen.groups.size()); ++g)
        for (int i = 0; i < int(screen.groups[g].items.size()); ++i)
            if (screen.groups[g].items[i].text.trimmed() == text)
                return {g, i};
    return {-1, -1};
}

// A user who wants to touch the targets named in turn (cell texts and
// captions) and can only use the switches or the resting pointer: watches
// the highlight and presses when it is on the way to the target. Runs from
// a timer, so that it goes on inside the question dialog's own loop.
class User {
public:
    // `listens`: waits while something is said before pressing; otherwise
    // presses as soon as the highlight is right, the echo of a pick or not
    // (and, once pressed, waits for that press to act).
    User(TalkFixture &fx, Way way, QStringList targets, bool listens = true)
        : fx_(fx), way_(way), targets_(std::move(targets)), listens_(listens)
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] { step(); });
        timer_.start(0);
    }
    bool done() const { return targets_.isEmpty() || !stuck.isEmpty(); }
    int presses = 0;
    // The fewest presses the layout asks for: for each target, from where
    // the scan stood when it came into view.
    int bound = 0;
    QString stuck;
    // Each target with its presses / the fewest, for a failure's message.
    QStringList trace;
    int duringEcho = 0;   // presses made while a pick was voiced

private:
    void press(Qt::Key k)
    {
        ++presses;
        duringEcho += fx_.st().Speaking > 0;
        tap(fx_, k);
    }
    void step()
    {
        // Something is being said (a listening user waits), a press is still
        // to act, or the last choice's touch has not gone through: watch.
        const AccessControl &a = fx_.win->access();
        if (busy_ || done() || (listens_ && fx_.st().Speaking > 0) || a.keptPresses() > 0 || a.touchUnderway())
            return;
        busy_ = true;
        const int before = fx_.win->access().selections();
        if (++steps_ > 4000)
            stuck = QStringLiteral("never reached ") + targets_.first();
        else if (way_ == Way::Dwell)
            dwellStep();
        else
            scanStep();
        if (fx_.win->access().selections() != before) {
            trace << QStringLiteral("%1:%2/%3").arg(targets_.first()).arg(presses - pressesBefore_).arg(bound - boundBefore_);
            pressesBefore_ = presses;
            boundBefore_ = bound;
            targets_.removeFirst();
            steps_ = 0;
            costed_ = false;
            at_ = QPoint(-1, -1);
        }
        busy_ = false;
    }
    void scanStep()
    {
        AccessControl &a = fx_.win->access();
        a.poll();   // what the program's timer does meanwhile
        const Scanner &s = *a.scanner();
        const bool one = way_ == Way::OneSwitch;
        // Before the first press the program has not looked at the screen yet.
        const ScanScreen screen = s.level() == Scanner::Level::Idle
            ? currentScanScreen(fx_.talk(), a.settings().ScanOrder == 1, a.settings().ScanSettings == 1)
            : a.screen();
        const auto [g, i] = find(screen, targets_.first());
        if (!costed_ && g >= 0) {
            bound += fewestPresses(s, screen, g, i, one);
            costed_ = true;
        }
        if (s.level() == Scanner::Level::Idle)
            return press(Qt::Key_Space);
        const bool onWay = g >= 0 && s.group() == g && (s.level() == Scanner::Level::Groups || s.item() == i);
        if (onWay || (s.level() == Scanner::Level::Items && s.group() != g && s.onUp()))
            return press(one ? Qt::Key_Space : Qt::Key_Return);
        if (one)
            pass(fx_, 50, true);
        else
            press(Qt::Key_Space);
    }
    void dwellStep()
    {
        const ScanScreen screen = currentScanScreen(fx_.talk(), false);
        const auto [g, i] = find(screen, targets_.first());
        QWindow *w = screen.window->windowHandle();
        if (g >= 0 && (at_ != screen.groups[g].items[i].centre() || window_ != w)) {
            moveTo(w, QPoint(2, 2));   // away first, so that the same place twice is a new rest
            moveTo(w, at_ = screen.groups[g].items[i].centre());
            window_ = w;
        }
        pass(fx_, 50, true);
    }

    // From the scan's state to the choice of item i of group g.
    static int fewestPresses(const Scanner &s, const ScanScreen &screen, int g, int i, bool oneSwitch)
    {
        const bool multi = screen.groups[g].items.size() > 1;
        const int groups = int(screen.groups.size());
        auto dist = [](int from, int to, int n) { return ((to - from) % n + n) % n; };
        auto fromGroups = [&](int at) { return (oneSwitch ? 0 : dist(at, g, groups)) + 1 + (multi ? (oneSwitch ? 0 : i) + 1 : 0); };
        switch (s.level()) {
        case Scanner::Level::Idle:
            return 1 + fromGroups(0);
        case Scanner::Level::Groups:
            return fromGroups(s.group());
        case Scanner::Level::Items:
            if (s.group() == g)
                return (oneSwitch ? 0 : dist(s.item(), i, s.itemCount(g))) + 1;
            return (oneSwitch ? 0 : dist(s.item(), s.itemCount(s.group()) - 1, s.itemCount(s.group()))) + 1 + fromGroups(s.group());
        }
        return 0;
    }

    TalkFixture &fx_;
    Way way_;
    QStringList targets_;
    bool listens_;
    bool costed_ = false;
    int pressesBefore_ = 0, boundBefore_ = 0;
    QTimer timer_;
    bool busy_ = false;
    int steps_ = 0;
    QPoint at_{-1, -1};
    QWindow *window_ = nullptr;
};

} // namespace

class TestAccess : public QObject {
    Q_OBJECT
private slots:
    // A whole session: a sentence with a suggestion, reading it, adding it
    // as an example and storing a diary entry, in no more presses than the
    // layout asks for.
    void everyTaskWithoutTouch_data()
    {
        QTest::addColumn<int>("way");
        QTest::newRow("one switch") << int(Way::OneSwitch);
        QTest::newRow("two switches") << int(Way::TwoSwitches);
        QTest::newRow("dwell") << int(Way::Dwell);
    }

    void everyTaskWithoutTouch()
    {
        QFETCH(int, way);
        // Every pick goes through the enlarged screen (the default touch rule).
        TalkFixture fx(settings(QStringLiteral("Scan=%1;Dwell=%2;SwitchLock=0;ScanStep=300").arg(way).arg(way ? 0 : 1000)),
                       {{QStringLiteral("Talk.txt"), *encodeRecord(QStringLiteral("ありがとうございます"))}});
        fx.addVoices(QString("あ り が と う ご ざ い ま す ね").split(u' '));
        User user(fx, Way(way),
                  QString("あ あ 決定 り り ありがとうございます 決定 読む ね ね 例文追加 例文終了 例文表示 決定 決定 修正する "
                          "あ あ 日記終了 ＹＥＳ")
                      .split(u' '));
        QTRY_VERIFY_WITH_TIMEOUT(user.done(), 60000);
        QCOMPARE(user.stuck, QString());
        QVERIFY2(user.presses <= user.bound,
                 qPrintable(QStringLiteral("the session in at most %1 presses, not %2: %3").arg(user.bound).arg(user.presses).arg(user.trace.join(u' '))));
        // The last selection's release is still queued when its press counted.
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
        // Written with a suggestion and read aloud...
        QVERIFY(fx.voiced().join(QString()).contains(QStringLiteral("りありがとうございますね")));
        // ...added as an example...
        QVERIFY(fx.readFile("Talk.txt").contains(*encodeRecord(QStringLiteral("ありがとうございますね"))));
        // ...and a diary entry stored.
        QCOMPARE(fx.readFile("day.txt"), *encodeRecord(QStringLiteral("04.09.25 あ_")));
        QCOMPARE(fx.ui().cmdSamp->text(), QStringLiteral("例文表示"));
    }

    // A word, by a user who waits for each echo and by one who presses
    // during it: a press made while a pick is voiced acts when the voice
    // ends, so neither needs a press more than the layout asks for.
    void wordInAtMost_data()
    {
        QTest::addColumn<int>("way");
        QTest::addColumn<QString>("rule");   // OPT1: 0 through the enlarged screen, 2 entered at once
        QTest::addColumn<bool>("listens");
        QTest::addColumn<QString>("word");
        QTest::newRow("one switch, enlarged screen") << int(Way::OneSwitch) << "0" << true << "あした";
        // After あ the あ column is highlighted again at once: the press for
        // い comes during the echo of あ.
        QTest::newRow("one switch, pressing during the echo") << int(Way::OneSwitch) << "2" << false << "あい";
        QTest::newRow("two switches, enlarged screen") << int(Way::TwoSwitches) << "0" << true << "あした";
        QTest::newRow("two switches, pressing during the echo") << int(Way::TwoSwitches) << "2" << false << "あした";
    }

    void wordInAtMost()
    {
        QFETCH(int, way);
        QFETCH(QString, rule);
        QFETCH(bool, listens);
        QFETCH(QString, word);
        auto stored = settings(QStringLiteral("Scan=%1;SwitchLock=0;OPT1=%2").arg(way).arg(rule));
        stored["Samp"] = "0";   // no suggestions in the board's place
        TalkFixture fx(stored);
        fx.addVoices(QString("あ い し た").split(u' '));
        QStringList picks;
        for (const QChar c : word)
            picks << QString(c) << (rule == "0" ? QStringList{c} : QStringList{});   // the enlarged screen's pick too
        User user(fx, Way(way), picks, listens);
        QTRY_VERIFY_WITH_TIMEOUT(user.done(), 60000);
        QCOMPARE(user.stuck, QString());
        QVERIFY2(user.presses <= user.bound,
                 qPrintable(QStringLiteral("%1 in at most %2 presses, not %3: %4").arg(word).arg(user.bound).arg(user.presses).arg(user.trace.join(u' '))));
        QCOMPARE(user.presses, user.bound);   // the user is a perfect one: a smaller count is a miscount
        QCOMPARE(user.duringEcho > 0, !listens);
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
        QCOMPARE(fx.box()->text(), word + u'_');
    }

    // A user who sets their own options: "設定" is offered, and in the
    // dialogs each group is offered, then its controls; a drop-down and a
    // number box step through their values. Changes an option of each kind
    // and closes both dialogs.
    void changeAnOptionAndClose_data()
    {
        QTest::addColumn<int>("way");
        QTest::newRow("one switch") << int(Way::OneSwitch);
        QTest::newRow("two switches") << int(Way::TwoSwitches);
    }

    void changeAnOptionAndClose()
    {
        QFETCH(int, way);
        TalkFixture fx(settings(QStringLiteral("Scan=%1;ScanSettings=1;SwitchLock=0").arg(way)));
        // A choice, a drop-down's value ("２" → "４") and a number box's
        // ("戻るまでの回数" 2 → 4) in the settings beyond the options.
        User user(fx, Way(way), QString("設定 ２回クリックで文字入力 ２ ４ 確定").split(u' '));
        const double started = fx.clock.seconds();
        QTRY_VERIFY_WITH_TIMEOUT(user.done(), 60000);
        QCOMPARE(user.stuck, QString());
        QVERIFY2(user.presses <= user.bound,
                 qPrintable(QStringLiteral("at most %1 presses, not %2: %3").arg(user.bound).arg(user.presses).arg(user.trace.join(u' '))));
        qInfo("options: %d presses, %.1f s on the scan's clock (%s)", user.presses, fx.clock.seconds() - started, qPrintable(user.trace.join(u' ')));
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QCOMPARE(fx.store->value("OPT1"), std::optional<QString>("3"));
        QCOMPARE(fx.store->value("Sample"), std::optional<QString>("4"));

        User more(fx, Way(way), QString("設定 その他 2 4 閉じる 確定").split(u' '));
        const double again = fx.clock.seconds();
        QTRY_VERIFY_WITH_TIMEOUT(more.done(), 60000);
        QCOMPARE(more.stuck, QString());
        QVERIFY2(more.presses <= more.bound,
                 qPrintable(QStringLiteral("at most %1 presses, not %2").arg(more.bound).arg(more.presses)));
        qInfo("その他: %d presses, %.1f s on the scan's clock (%s)", more.presses, fx.clock.seconds() - again, qPrintable(more.trace.join(u' ')));
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QCOMPARE(fx.store->valueIn("ACCESS", "ScanRounds"), std::optional<QString>("4"));
        QCOMPARE(fx.win->access().settings().ScanRounds, 4);
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
            tap(fx, Qt::Key_Space);   // "確定" first
            shown << a.screen().groups[a.scanner()->group()].items[0].text;
            // Along the groups to the drop-down's, then along its items.
            const auto [g, i] = find(a.screen(), QStringLiteral("２"));
            while (a.scanner()->group() != g)
                pass(fx, 100);
            tap(fx, Qt::Key_Space);
            while (a.scanner()->item() != i)
                pass(fx, 100);
            tap(fx, Qt::Key_Space);
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

    void scripts_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("target");   // where the pointer rests first: a cell's text or a caption
        // E the Enter switch (d, u, r: down, up, a key repeat), S the space bar,
        // m a click where the pointer is, +ms time passes, ~ the pointer moves by
        // 2 pixels, > by 20, o off any target, b back; R "読む" over "あいうえ"
        // with the space bar pressed 1 s in; =x the scan state (as scanState) or
        // the number of selections so far.
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
        // P: a Move 0.2 s into the next wait, during the echo of the pick.
        QTest::newRow("two switches: a press during the echo acts when it ends")
            << "Scan=2;SwitchLock=0;OPT1=2;Samp=0" << "" << "S =g0 E =i0.0 P E =g0 +10 =g1" << "あ" << "あ_";
        QTest::newRow("one switch: a press during the echo acts when it ends")
            << "Scan=1;SwitchLock=0;OPT1=2;Samp=0" << "" << "E =g0 E =i0.0 P E =g0 +10 =i0.0" << "あ" << "あ_";
        // The enlarged screen opens after the echo: a Select kept from the
        // board's screen takes nothing there, it only shows the highlight.
        QTest::newRow("one switch: a press kept across a change of screen takes nothing")
            << "Scan=1;SwitchLock=0;Samp=0" << "" << "E =g0 E =i0.0 P E =g0 +10 =g0 =1" << "あ" << "";
        QTest::newRow("a switch stops the reading") << "Scan=2" << "" << "R" << "あ い" << "あいうえ_";
        // Switch edges, with highlights that stay 5 s.
        QTest::newRow("a held switch takes the group once, not its first cell")
            << "Scan=1;ScanStep=5000;SwitchLock=0" << "" << "d u d r r +1000 r r u =i0.0" << "" << "";
        QTest::newRow("a bounce inside the lock is swallowed; after it a press counts")
            << "Scan=1;ScanStep=5000;SwitchLock=300" << "" << "d u +20 d u =g0 +400 d u =i0.0" << "" << "";
        QTest::newRow("a press counts once held for the accept time")
            << "Scan=1;ScanStep=5000;SwitchAccept=500" << "" << "d +300 u =- d +600 u =g0" << "" << "";
        // The first group named, then the second 1.5 s later.
        QTest::newRow("rows named by their first kana") << "Scan=1;ScanVoice=1;ScanOrder=1" << "" << "S +1600" << "あ い" << "";
        QTest::newRow("a mouse button is a switch when asked") << "Scan=1;ScanVoice=1;ScanMouse=1" << "" << "m +1600" << "あ か" << "";
        QTest::newRow("otherwise a click is a touch") << "Scan=1;ScanVoice=1" << "" << "m +1600" << "" << "";
        // Resting 1 s selects.
        QTest::newRow("resting selects once") << "Dwell=1000" << "す" << "+990 =0 +10 =1 +3000 =1" << "" << "";
        QTest::newRow("the enlarged screen under the pointer is dead until it moves")
            << "Dwell=1000" << "す" << "+1000 =1 +3000 ~ +3000 =1 > +1000 =2" << "" << "ず_";
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
        fx.addVoices(QString("あ い う え か").split(u' '));
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
                fx.clock.after(0.2, [&fx] {
                    for (auto type : {QEvent::KeyPress, QEvent::KeyRelease})
                        QCoreApplication::postEvent(fx.win.get(), new QKeyEvent(type, Qt::Key_Space, Qt::NoModifier, " "));
                });
            } else if (c == u'm') {
                QTest::mouseClick(w, Qt::LeftButton, {}, at);
            } else if (c == u'R') {
                fx.setText(QStringLiteral("あいうえ_"), 0);
                fx.clock.after(1.0, [&fx] {
                    QCoreApplication::postEvent(fx.win.get(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " "));
                });
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
        double start = fx.clock.seconds();
        TalkFixture::click(fx.ui().cmdRead);
        QVERIFY(qAbs(fx.clock.seconds() - start - reading) < 0.01);
        // The pause after a voiced pick keeps its half second.
        start = fx.clock.seconds();
        TalkFixture::touchCell(fx.ui().grdBoard, 0, 9);
        QVERIFY(qAbs(fx.clock.seconds() - start - 0.5) < 0.01);
    }

    void settingsPage()
    {
        // "設定" → "その他": the page shows what is stored; what it holds when
        // "閉じる" is touched is stored and in force at once, the options' own
        // group untouched. The login entry is written and taken away there too.
        QTemporaryDir config;
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
        TalkFixture fx(settings("Scan=2;ScanFirst=2.5;Dwell=1200;Pace=100"));
        AccessSettings want{.Scan = 2, .ScanFirst = 2.5, .Dwell = 1200}, shown;
        QList<bool> entryAfterTouch;
        ModalScript script({{"frmOPT", [](QWidget *d) { click(child(d, "cmdMore")); }},
                            {"frmMore",
                             [&](QWidget *d) {
                                 auto *page = d->findChild<AccessSettingsPage *>();
                                 shown = page->values();
                                 AccessSettings changed = shown;
                                 changed.ScanStep = 700;
                                 changed.SwitchLock = 0;
                                 page->setValues(changed);
                                 // Touched on the box itself, as a finger would.
                                 auto *autostart = child<QCheckBox>(d, "chkAutostart");
                                 for (int i = 0; i < 3; ++i) {
                                     click(autostart, QPoint(10, autostart->height() / 2));
                                     entryAfterTouch << QFileInfo(autostartFile()).isFile();
                                 }
                                 click(child(d, "cmdClose"));
                             }},
                            {"frmOPT", [](QWidget *d) { click(child(d, "cmdOK0")); }}});   // キャンセル
        TalkFixture::click(fx.ui().cmdOpt);
        QVERIFY(script.done());
        QVERIFY(shown == want);
        want.ScanStep = 700;
        want.SwitchLock = 0;
        QCOMPARE(fx.store->valueIn("ACCESS", "ScanStep"), std::optional<QString>("700"));
        QVERIFY(fx.win->access().settings() == want);
        QCOMPARE(fx.store->value("OPT1"), std::nullopt);
        QCOMPARE(entryAfterTouch, (QList<bool>{true, false, true}));
        QFile entry(autostartFile());
        QVERIFY(entry.open(QIODevice::ReadOnly) && entry.readAll().contains("--fullscreen --home " + fx.home.path().toUtf8() + '\n'));
        qunsetenv("XDG_CONFIG_HOME");
    }

    void highlightScalesWithWindow()
    {
        TalkFixture fx(settings("Scan=1"));
        tap(fx, Qt::Key_Space);
        AccessOverlay *o = fx.win->access().overlay();
        QVERIFY(o);
        const QRect small = o->highlight();
        const int thin = o->thickness();
        fx.win->resize(FrmTalk::designSize() * 2);
        QCoreApplication::processEvents();
        pass(fx, 10);
        QCOMPARE(o->thickness(), thin * 2);
        QVERIFY(o->highlight().width() > small.width() * 3 / 2);
        // Drawn in the frame colour inside the あ column's edge.
        const QRect h = o->highlight();
        QCOMPARE(fx.win->grab().toImage().pixelColor(h.left() + 2 + o->thickness() / 2, h.center().y()), AccessOverlay::kFrameColour);
    }

    // The question's buttons reach down near the dialog's bottom and right
    // edges; their frames are whole, inside the buttons.
    void frameInsideTheItem()
    {
        TalkFixture fx(settings("Scan=2;SwitchLock=0"));
        QStringList seen;
        ModalScript script({{"frmOK", [&](QWidget *d) {
            for (int i = 0; i < 2; ++i) {
                tap(fx, Qt::Key_Space);   // ＯＫ first, then キャンセル
                const AccessOverlay *o = d->findChild<AccessOverlay *>();
                const QRect h = o->highlight();
                const int w = o->thickness();
                const QImage shot = d->grab().toImage();
                int outside = 0;
                for (int y = 0; y < shot.height(); ++y)
                    for (int x = 0; x < shot.width(); ++x)
                        outside += !h.contains(x, y) && shot.pixelColor(x, y) == AccessOverlay::kFrameColour;
                const QPoint inner[] = {{h.right() - 2 - w / 2, h.center().y()}, {h.center().x(), h.bottom() - 2 - w / 2}};
                seen << QStringLiteral("%1 %2 %3 %4").arg(fx.win->access().screen().groups[fx.win->access().scanner()->group()].items[0].text)
                            .arg(outside)
                            .arg(shot.pixelColor(inner[0]) == AccessOverlay::kFrameColour)
                            .arg(shot.pixelColor(inner[1]) == AccessOverlay::kFrameColour);
            }
            tap(fx, Qt::Key_Return);
        }}});
        fx.setText(QStringLiteral("あ_"), 1, 1);
        TalkFixture::click(fx.ui().cmdStart);
        QVERIFY(script.done());
        QCOMPARE(seen, (QStringList{"ＯＫ 0 1 1", "キャンセル 0 1 1"}));
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
        QCOMPARE(listSteps(5, 2), (std::vector<int>{2, 3, 4, 0, 1}));
        QCOMPARE(listSteps(3, -1), (std::vector<int>{0, 1, 2}));
    }

    void nothingToScan()
    {
        // A screen with nothing on it to touch (a stop panel whose label is covered): the switches do nothing.
        Scanner s(true, {});
        s.setShape({}, {});
        for (Switch w : {Switch::Select, Switch::Move, Switch::Move})
            QVERIFY(!s.press(w, {}).valid() && s.level() == Scanner::Level::Idle);
    }
};

QTEST_MAIN(TestAccess)
#include "test_access.moc"
