// The settings, the scanner and the dwell tracker on a
// clock given by hand: scripts of presses and elapsed milliseconds, and the
// state seen after each step.
#include "access/AccessSettings.h"
#include "access/DwellTracker.h"
#include "access/Scanner.h"
#include "support/ScanState.h"

#include <QTest>
#include <map>

using namespace kel;
using std::chrono::milliseconds;

namespace {

Nanos ms(long long n) { return milliseconds(n); }

} // namespace

class TestAccessLogic : public QObject {
    Q_OBJECT
private slots:
    void settings_data();
    void settings();
    void scanner_data();
    void scanner();
    void dwell_data();
    void dwell();
};

void TestAccessLogic::settings_data()
{
    QTest::addColumn<QString>("stored");   // "Key=value;Key=value"
    QTest::addColumn<QString>("expected"); // "Key=value" of the fields that differ from the defaults

    QTest::newRow("nothing stored") << "" << "";
    QTest::newRow("every key in range") << "Scan=2;ScanStep=300;ScanFirst=3;ScanRounds=5;ScanOrder=1;ScanVoice=1;"
                                           "SwitchAccept=2000;SwitchLock=0;ScanMouse=1;Dwell=3000;Pace=2000"
                                        << "Scan=2;ScanStep=300;ScanFirst=3;ScanRounds=5;ScanOrder=1;ScanVoice=1;"
                                           "SwitchAccept=2000;SwitchLock=0;ScanMouse=1;Dwell=3000;Pace=2000";
    QTest::newRow("just out of range") << "Scan=3;ScanStep=299;ScanFirst=3.01;ScanRounds=0;ScanOrder=-1;"
                                          "SwitchAccept=2001;SwitchLock=-1;ScanMouse=2;Dwell=299;Pace=2001"
                                       << "";
    QTest::newRow("not numbers") << "Scan=one;ScanStep=;Pace=0x300;ScanFirst=nan;Dwell=1e9;SwitchLock=inf" << "";
    QTest::newRow("fractions where whole numbers go") << "Scan=1.5;Pace=800.5;ScanFirst=1.25" << "ScanFirst=1.25";
    QTest::newRow("dwell off is allowed, spaces ignored") << "Dwell= 0 ;Pace= 1200" << "Pace=1200";
}

void TestAccessLogic::settings()
{
    QFETCH(QString, stored);
    QFETCH(QString, expected);
    std::map<QString, QString> store;
    for (const QString &kv : stored.split(u';', Qt::SkipEmptyParts))
        store[kv.section(u'=', 0, 0)] = kv.section(u'=', 1);
    const AccessSettings s = readAccessSettings([&](const QString &key) -> std::optional<QString> {
        const auto it = store.find(key);
        return it == store.end() ? std::nullopt : std::optional(it->second);
    });
    std::map<QString, QString> written, defaults;
    saveAccessSettings(s, [&](const QString &k, const QString &v) { return written[k] = v, true; });
    saveAccessSettings(AccessSettings{}, [&](const QString &k, const QString &v) { return defaults[k] = v, true; });
    QStringList differ;
    for (const auto &[k, v] : written)
        if (defaults[k] != v)
            differ << k + u'=' + v;
    QStringList want = expected.split(u';', Qt::SkipEmptyParts);
    want.sort();
    differ.sort();
    QCOMPARE(differ, want);
}

void TestAccessLogic::scanner_data()
{
    QTest::addColumn<bool>("automatic");
    QTest::addColumn<QString>("shape");    // items per group
    QTest::addColumn<QString>("script");   // S select, M move, +ms time passes, P pause, R resume
    QTest::addColumn<QString>("trace");    // state after each step; !g.i a choice

    // Step 1000 ms, first item 1.5 x, two rounds.
    QTest::newRow("one switch: group, item, choice, back to the top")
        << true << "3 2" << "S +1499 +1 S +1500 +1000 S"
        << "g0 g0 g1 i1.0 i1.1 u1 g1";
    QTest::newRow("one switch: a choice restarts at the first group")
        << true << "3 2" << "S S +1500 S +1000 +500"
        << "g0 i0.0 i0.1 !0.1 g0 g1";
    QTest::newRow("one switch: unanswered rounds go up, then stop")
        << true << "2 2" << "S S +1500 +1000 +1000 +1500 +1000 +1000 +1500 +1000 +1500 +1000 S"
        << "g0 i0.0 i0.1 u0 i0.0 i0.1 u0 g0 g1 g0 g1 - g0";
    QTest::newRow("one switch: a group of one is chosen at once")
        << true << "1 3" << "S S" << "g0 !0.0";
    QTest::newRow("one switch: paused, the highlight stays and gets its full time")
        << true << "2 2" << "S +1000 P +5000 R +1400 +100" << "g0 g0 g0 g0 g0 g0 g1";
    QTest::newRow("two switches: Move steps, Select takes")
        << false << "2 3" << "M M S M M S M" << "g0 g1 i1.0 i1.1 i1.2 !1.2 g0";
    QTest::newRow("two switches: time never moves it; up returns")
        << false << "2 2" << "M S +9000 M M S" << "g0 i0.0 i0.0 i0.1 u0 g0";
    QTest::newRow("nothing to scan") << true << "" << "S M +2000" << "- - -";
}

void TestAccessLogic::scanner()
{
    QFETCH(bool, automatic);
    QFETCH(QString, shape);
    QFETCH(QString, script);
    QFETCH(QString, trace);
    Scanner s(automatic, ScanTiming{ms(1000), 1.5, 2});
    std::vector<int> items;
    for (const QString &n : shape.split(u' ', Qt::SkipEmptyParts))
        items.push_back(n.toInt());
    Nanos now = ms(10000);
    s.setShape(items, now);
    QStringList seen;
    for (const QString &step : script.split(u' ')) {
        QString out;
        if (step == u"S" || step == u"M") {
            const Scanner::Chosen c = s.press(step == u"S" ? Switch::Select : Switch::Move, now);
            if (c.valid())
                out = QStringLiteral("!%1.%2").arg(c.group).arg(c.item);
        } else if (step == u"P") {
            s.pause();
        } else if (step == u"R") {
            s.resume(now);
        } else {
            now += ms(step.mid(1).toInt());
            s.tick(now);
        }
        seen << (out.isEmpty() ? scanState(s) : out);
    }
    QCOMPARE(seen.join(u' '), trace);
}

void TestAccessLogic::dwell_data()
{
    QTest::addColumn<QString>("script");   // x,y:target@ms (target 0 = nothing; * doubled)
    QTest::addColumn<QString>("selected"); // the moments a selection happened

    QTest::newRow("rest selects once") << "10,10:1@0 10,10:1@999 11,10:1@1000 11,10:1@5000" << "1000";
    QTest::newRow("must leave before selecting again")
        << "10,10:1@0 10,10:1@1000 50,50:0@1100 10,10:1@1200 10,10:1@2200" << "1000 2200";
    QTest::newRow("wandering during lock-on starts over")
        << "10,10:1@0 30,10:1@100 30,10:1@1050 30,10:1@1100" << "1100";
    QTest::newRow("moving on the target after lock-on keeps the time")
        << "10,10:1@0 10,10:1@200 40,10:1@600 41,10:1@1000" << "1000";
    QTest::newRow("screen changed under a resting pointer: dead until it moves")
        << "10,10:1@0 10,10:2@500 10,10:2@3000 12,10:2@3100 30,10:2@3200 30,10:2@4200" << "4200";
    QTest::newRow("doubled time") << "10,10:*1@0 10,10:*1@1999 10,10:*1@2000" << "2000";
    QTest::newRow("over nothing nothing happens") << "10,10:0@0 10,10:0@5000" << "";
}

void TestAccessLogic::dwell()
{
    QFETCH(QString, script);
    QFETCH(QString, selected);
    DwellTracker d(ms(1000));
    QStringList seen;
    for (const QString &step : script.split(u' ')) {
        const QStringList xy = step.section(u':', 0, 0).split(u',');
        QString target = step.section(u':', 1).section(u'@', 0, 0);
        const bool doubled = target.startsWith(u'*');
        const int id = target.remove(u'*').toInt();
        const QString at = step.section(u'@', 1);
        if (d.sample(QPoint(xy[0].toInt(), xy[1].toInt()), DwellKey{quintptr(id), -1, -1}, doubled, ms(at.toInt())))
            seen << at;
    }
    QCOMPARE(seen.join(u' '), selected);
}

QTEST_APPLESS_MAIN(TestAccessLogic)
#include "test_access_logic.moc"
