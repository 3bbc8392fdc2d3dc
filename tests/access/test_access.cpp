// Using the whole program by one switch, by two switches and by resting the
// pointer: switch presses are key events delivered to the window, dwell is
// real pointer moves, and the clock is the test's.
#include "SwitchUser.h"

#include "access/AccessControl.h"
#include "access/AccessOverlay.h"
#include "access/AccessSettingsPage.h"
#include "base/AnsiText.h"
#include "base/Autostart.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QLabel>
#include <QTimer>
#include <QWindow>

using namespace kel;
using namespace kel::test;
using std::chrono::milliseconds;


class TestAccess : public QObject {
    Q_OBJECT
private slots:
    void composeArigatou_data();
    void composeArigatou();
    void everyTaskWithoutTouch_data();
    void everyTaskWithoutTouch();
    void switchPresses_data();
    void switchPresses();
    void namesAndDevices_data();
    void namesAndDevices();
    void settingsPage();
    void pausesWhileSpeaking();
    void switchStopsReading();
    void dwell_data();
    void dwell();
    void storedValues_data();
    void storedValues();
    void highlightScalesWithWindow();
};

void TestAccess::composeArigatou_data()
{
    QTest::addColumn<int>("way");
    QTest::addColumn<int>("presses");
    QTest::newRow("one switch") << int(Way::OneSwitch) << 21;
    QTest::newRow("two switches") << int(Way::TwoSwitches) << 58;
}

void TestAccess::composeArigatou()
{
    QFETCH(int, way);
    QFETCH(int, presses);
    // Every pick goes through the enlarged screen (the default touch rule);
    // no suggestions cover the board.
    TalkFixture fx(settings(::way(Way(way)) << "SwitchLock=0" << "ScanStep=300", {{"Samp", "0"}}));
    User user(fx, Way(way), QString("あ あ り り か が と と う う").split(u' '));
    run(user);
    QTRY_COMPARE(fx.box()->text(), QStringLiteral("ありがとう_"));
    QCOMPARE(user.presses, presses);
}

void TestAccess::everyTaskWithoutTouch_data()
{
    QTest::addColumn<int>("way");
    QTest::newRow("one switch") << int(Way::OneSwitch);
    QTest::newRow("two switches") << int(Way::TwoSwitches);
    QTest::newRow("dwell") << int(Way::Dwell);
}

void TestAccess::everyTaskWithoutTouch()
{
    QFETCH(int, way);
    TalkFixture fx(settings(::way(Way(way)) << "SwitchLock=0" << "ScanStep=300"),
                   {{QStringLiteral("Talk.txt"), *encodeRecord(QStringLiteral("ありがとうございます"))}});
    fx.addVoices(QString("あ り が と う ご ざ い ま す ね").split(u' '));
    User user(fx, Way(way),
              QString("あ あ 決定 り り ありがとうございます 決定 読む ね ね 例文追加 例文終了 例文表示 決定 決定 修正する "
                      "あ あ 日記終了 ＹＥＳ")
                  .split(u' '));
    run(user);
    // Written with a suggestion and read aloud...
    QVERIFY(fx.voiced().join(QString()).contains(QStringLiteral("りありがとうございますね")));
    // ...added as an example...
    QVERIFY(fx.readFile("Talk.txt").contains(*encodeRecord(QStringLiteral("ありがとうございますね"))));
    // ...and a diary entry stored.
    QCOMPARE(fx.readFile("day.txt"), *encodeRecord(QStringLiteral("04.09.25 あ_")));
    QCOMPARE(fx.ui().cmdSamp->text(), QStringLiteral("例文表示"));
}

void TestAccess::switchPresses_data()
{
    QTest::addColumn<QString>("access");
    QTest::addColumn<QString>("script");   // d down, r repeat, u up, +ms
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("text");

    // The board enters at once; each highlight stays 5 s.
    QTest::newRow("three presses enter あ") << "SwitchLock=0" << "d u d u d u" << "g0" << "あ_";
    QTest::newRow("a held switch takes the group once, not its first cell")
        << "SwitchLock=0" << "d u d r r +1000 r r u" << "i0.0" << "";
    QTest::newRow("a bounce inside the lock is swallowed") << "SwitchLock=300" << "d u +20 d u" << "g0" << "";
    QTest::newRow("after the lock the next press counts") << "SwitchLock=300" << "d u +400 d u" << "i0.0" << "";
    QTest::newRow("shorter than the accept time") << "SwitchAccept=500" << "d +300 u" << "-" << "";
    QTest::newRow("held for the accept time") << "SwitchAccept=500" << "d +600 u" << "g0" << "";
}

void TestAccess::switchPresses()
{
    QFETCH(QString, access);
    QFETCH(QString, script);
    QFETCH(QString, state);
    QFETCH(QString, text);
    TalkFixture fx(settings({"Scan=1", "ScanStep=5000", access}, {{"OPT1", "2"}}));
    for (const QString &s : script.split(u' ')) {
        if (s.startsWith(u'+'))
            pass(fx, s.mid(1).toInt());
        else
            key(fx, Qt::Key_Return, s == u"u" ? QEvent::KeyRelease : QEvent::KeyPress, s == u"r");
        QCoreApplication::processEvents();
    }
    QCOMPARE(scanState(*fx.win->access().scanner()), state);
    QCOMPARE(fx.box()->text(), text);
}

void TestAccess::namesAndDevices_data()
{
    QTest::addColumn<QString>("access");
    QTest::addColumn<QString>("script");   // k the space bar, m a mouse click, +ms
    QTest::addColumn<QString>("voiced");

    // The first group, then the second 1.5 s later.
    QTest::newRow("columns named by their first kana") << "ScanVoice=1" << "k +1600" << "あ か";
    QTest::newRow("rows named by their first kana") << "ScanVoice=1;ScanOrder=1" << "k +1600" << "あ い";
    QTest::newRow("silent without the naming") << "" << "k +1600" << "";
    QTest::newRow("a mouse button is a switch when asked") << "ScanVoice=1;ScanMouse=1" << "m +1600" << "あ か";
    QTest::newRow("otherwise a click is a touch") << "ScanVoice=1" << "m +1600" << "";
}

void TestAccess::namesAndDevices()
{
    QFETCH(QString, access);
    QFETCH(QString, script);
    QFETCH(QString, voiced);
    TalkFixture fx(settings(QStringList{"Scan=1"} + access.split(u';', Qt::SkipEmptyParts)));
    fx.addVoices(QString("あ い か").split(u' '));
    for (const QString &s : script.split(u' ')) {
        if (s == u"k")
            tap(fx, Qt::Key_Space);
        else if (s == u"m")
            QTest::mouseClick(fx.win->windowHandle(), Qt::LeftButton, {}, QPoint(2, 2));
        else
            pass(fx, s.mid(1).toInt());
    }
    QCOMPARE(fx.voiced().join(u' '), voiced);
}

void TestAccess::settingsPage()
{
    // "設定" → "その他": the page shows what is stored; what it holds when
    // "閉じる" is touched is stored and in force at once, the options' own
    // group untouched. The login entry is written and taken away there too.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    TalkFixture fx(settings({"Scan=2", "ScanFirst=2.5", "Dwell=1200", "Pace=100"}));
    AccessSettings want;
    want.Scan = 2;
    want.ScanFirst = 2.5;
    want.Dwell = 1200;
    AccessSettings shown;
    QStringList seen;
    QList<bool> entryAfterTouch;
    auto touchIn = [](QWidget *d, const char *name) {
        QTimer::singleShot(0, d, [d, name] { TalkFixture::click(d->findChild<QWidget *>(QString::fromLatin1(name))); });
    };
    QTimer driver;
    QObject::connect(&driver, &QTimer::timeout, [&] {
        QWidget *d = QApplication::activeModalWidget();
        if (!d || !d->isVisible() || (!seen.isEmpty() && seen.last() == d->objectName()))
            return;
        seen << d->objectName();
        if (d->objectName() == u"frmMore") {
            auto *page = d->findChild<AccessSettingsPage *>();
            shown = page->values();
            AccessSettings changed = shown;
            changed.ScanStep = 700;
            changed.SwitchLock = 0;
            page->setValues(changed);
            // Touched on the box itself, as a finger would.
            auto *autostart = d->findChild<QCheckBox *>(QStringLiteral("chkAutostart"));
            for (int i = 0; i < 3; ++i) {
                TalkFixture::click(autostart, QPoint(10, autostart->height() / 2));
                entryAfterTouch << QFileInfo(autostartFile()).isFile();
            }
            touchIn(d, "cmdClose");
        } else if (seen.count(QStringLiteral("frmOPT")) == 1) {
            touchIn(d, "cmdMore");
        } else {
            touchIn(d, "cmdOK0");   // キャンセル
        }
    });
    driver.start(10);
    TalkFixture::click(fx.ui().cmdOpt);
    QCOMPARE(seen, (QStringList{"frmOPT", "frmMore", "frmOPT"}));
    QVERIFY(shown == want);
    want.ScanStep = 700;
    want.SwitchLock = 0;
    QCOMPARE(fx.store->valueIn("ACCESS", "ScanStep"), std::optional<QString>("700"));
    QVERIFY(fx.win->access().settings() == want);
    QCOMPARE(fx.store->value("OPT1"), std::nullopt);
    QCOMPARE(entryAfterTouch, (QList<bool>{true, false, true}));
    QFile entry(autostartFile());
    QVERIFY(entry.open(QIODevice::ReadOnly));
    const QByteArray text = entry.readAll();
    QVERIFY2(text.contains("--fullscreen --home " + fx.home.path().toUtf8() + '\n'), text.constData());
    qunsetenv("XDG_CONFIG_HOME");
}

void TestAccess::pausesWhileSpeaking()
{
    TalkFixture fx(settings({"Scan=1", "SwitchLock=0"}, {{"OPT1", "2"}}));
    fx.addVoices({QStringLiteral("あ")});
    for (int i = 0; i < 3; ++i)
        tap(fx, Qt::Key_Space);
    QCoreApplication::processEvents();
    QCOMPARE(fx.voiced(), QStringList{QStringLiteral("あ")});
    // The first group is highlighted again; its 1.5 s start after the 0.5 s
    // the voice held the window.
    pass(fx, 1400);
    QCOMPARE(scanState(*fx.win->access().scanner()), QStringLiteral("g0"));
    pass(fx, 200);
    QCOMPARE(scanState(*fx.win->access().scanner()), QStringLiteral("g1"));
}

void TestAccess::switchStopsReading()
{
    TalkFixture fx(settings({"Scan=2"}));
    fx.addVoices(QString("あ い う え").split(u' '));
    fx.setText(QStringLiteral("あいうえ_"), 0);
    fx.clock.after(1.0, [&fx] {
        QCoreApplication::postEvent(fx.win.get(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " "));
    });
    TalkFixture::click(fx.ui().cmdRead);
    QCOMPARE(fx.voiced(), (QStringList{"あ", "い"}));
    QCOMPARE(fx.box()->text(), QStringLiteral("あいうえ_"));
}

void TestAccess::dwell_data()
{
    QTest::addColumn<QString>("target");   // a board cell's text or a caption
    QTest::addColumn<QString>("script");   // +ms resting, ~ a small move, > a move of 20 pixels, c a click
    QTest::addColumn<int>("selections");

    QTest::newRow("resting selects once") << "す" << "+990 +20 +3000" << 1;
    QTest::newRow("the enlarged screen under the pointer is dead until it moves")
        << "す" << "+1000 +3000 ~ +3000 > +1000" << 2;
    QTest::newRow("a click where it rests is the only touch") << "ひら" << "c +1500" << 0;
    QTest::newRow("resting on a button selects it") << "ひら" << "+1500" << 1;
    QTest::newRow("始め needs twice the time") << "始め" << "+1500" << 0;
    QTest::newRow("始め after twice the time") << "始め" << "+2010" << 1;
}

void TestAccess::dwell()
{
    QFETCH(QString, target);
    QFETCH(QString, script);
    QFETCH(int, selections);
    TalkFixture fx(settings({"Dwell=1000"}));
    const Questions closed(QList<int>{}); // the question "始め" asks is answered with cancel
    QWindow *w = fx.win->windowHandle();
    QPoint at;
    for (const ScanGroup &g : currentScanScreen(fx.talk(), false).groups)
        for (const ScanTarget &t : g.items)
            if (t.text == target)
                at = t.centre();
    QVERIFY(!at.isNull());
    moveTo(w, QPoint(1, 1));
    moveTo(w, at);
    for (const QString &s : script.split(u' ')) {
        if (s == u"c")
            QTest::mouseClick(w, Qt::LeftButton, {}, at);
        else if (s == u"~")
            moveTo(w, at += QPoint(2, 0));
        else if (s == u">")
            moveTo(w, at += QPoint(20, 0));
        else
            pass(fx, s.mid(1).toInt());
    }
    QCOMPARE(fx.win->access().selections(), selections);
}

void TestAccess::storedValues_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("spaceTypes");
    QTest::addColumn<double>("reading");   // seconds to read "あい_"

    QTest::newRow("nothing stored") << "" << true << 2.4;
    QTest::newRow("a faster pace") << "Pace=500" << true << 1.5;
    QTest::newRow("pace out of range") << "Pace=100" << true << 2.4;
    QTest::newRow("unreadable or out of range") << "Pace=fast;Scan=3;Dwell=-5" << true << 2.4;
    QTest::newRow("scanning takes the space bar") << "Scan=1" << false << 2.4;
}

void TestAccess::storedValues()
{
    QFETCH(QString, stored);
    QFETCH(bool, spaceTypes);
    QFETCH(double, reading);
    TalkFixture fx(settings(stored.split(u';', Qt::SkipEmptyParts), {{"OPT1", "2"}}));
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

void TestAccess::highlightScalesWithWindow()
{
    TalkFixture fx(settings({"Scan=1"}));
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
    // Drawn in the frame colour over the あ column.
    const QImage shot = fx.win->grab().toImage();
    const QRect h = o->highlight();
    QCOMPARE(shot.pixelColor(h.left() - 1 - o->thickness() / 2, h.center().y()), AccessOverlay::kFrameColour);
}

QTEST_MAIN(TestAccess)
#include "test_access.moc"
