// Voice feedback and reading the text aloud, on a clock the test drives:
// what is played, when, where the highlight stands, and how a reading stops.
#include "support/TalkFixture.h"

#include "speech/Speech.h"

#include <QFrame>
#include <QLabel>

using namespace kel;

namespace {

QWidget *stopPanel()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QStringLiteral("frmRead") && w->isVisible())
            return w;
    return nullptr;
}

} // namespace

class TestReading : public QObject {
    Q_OBJECT
private slots:
    void voiceFilter_data();
    void voiceFilter();
    void readsEachCharacterAtItsPace();
    void emptyTextLeavesTheMarker();
    void markerAppendedOnlyWhenMissing();
    void stopLabelEndsAfterCurrentCharacter();
    void stopPanelRefusesItsCloseCommand();
    void boardPickDuringReadingStopsIt_data();
    void boardPickDuringReadingStopsIt();
    void textChangedDuringReading_data();
    void textChangedDuringReading();
    void staysWideWhileDiaryShows();
    void unnameableAndMissingSoundsAreSilent();
    void endButtonEndsTheReading();
};

void TestReading::voiceFilter_data()
{
    QTest::addColumn<QString>("opt3");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<bool>("spoken");
    const struct { const char *opt3, *mode; bool spoken; } table[] = {
        {"0", "E", true}, {"0", "S", true}, {"0", "1", true},
        {"1", "E", true}, {"1", "S", true}, {"1", "1", false},
        {"2", "E", true}, {"2", "S", false}, {"2", "1", false},
        {"3", "E", false}, {"3", "S", false}, {"3", "1", false},
        {"7", "E", true}, {"7", "S", true}, {"7", "1", true},
    };
    for (const auto &row : table)
        QTest::addRow("OPT3 %s mode %s", row.opt3, row.mode) << row.opt3 << row.mode << row.spoken;
}

void TestReading::voiceFilter()
{
    QFETCH(QString, opt3);
    QFETCH(QString, mode);
    QFETCH(bool, spoken);
    TalkFixture fx({{"OPT3", opt3}});
    fx.addVoices({"あ"});
    fx.st().StopRead = false;
    const double before = fx.clock.seconds();
    fx.talk().speech->SpeakChar(QStringLiteral("あ"), 0.5, mode);
    QCOMPARE(fx.voiced(), spoken ? QStringList{"あ"} : QStringList{});
    // A suppressed call neither waits nor touches the reading's flag.
    QCOMPARE(fx.st().StopRead, spoken);
    QCOMPARE(fx.clock.seconds() - before > 0.5, spoken);
}

void TestReading::readsEachCharacterAtItsPace()
{
    TalkFixture fx({{"Beep", "1"}});
    fx.addVoices({"あ", "い"});
    fx.setText(QStringLiteral("あい_"), 0);
    QStringList seen;
    bool panelOnTop = false;
    const double start = fx.clock.seconds();
    fx.clock.after(0.4, [&] {
        QWidget *p = stopPanel();
        panelOnTop = p && p->windowFlags().testFlag(Qt::WindowStaysOnTopHint)
                     && p->windowFlags().testFlag(Qt::FramelessWindowHint)
                     && p->findChild<QLabel *>(QStringLiteral("lblLabel"))->text() == u"読み上げ中止";
        seen << fx.ui().cmdRead->text() + (fx.ui().cmdRead->isEnabled() ? "+" : "-");
    });
    fx.clock.after(1.0, [&] { seen << fx.marked(); });
    fx.clock.after(1.9, [&] { seen << fx.marked(); });
    TalkFixture::click(fx.ui().cmdRead);

    QVERIFY(panelOnTop);
    QCOMPARE(seen, (QStringList{"♪-", "あ[い]_", "あい[_]"}));
    QCOMPARE(fx.voiced(), (QStringList{"あ", "い"}));
    QCOMPARE(fx.player.calls.last(), QStringLiteral("close"));   // "_" has no sound: silence
    const double took = fx.clock.seconds() - start;
    QVERIFY2(took > 2.4 && took < 2.41, qPrintable(QString::number(took)));
    QCOMPARE(fx.marked(), QStringLiteral("あい[_]"));
    QCOMPARE(fx.ui().cmdRead->text(), QStringLiteral("読む"));
    QVERIFY(fx.ui().cmdRead->isEnabled());
    QCOMPARE(fx.ui().cmdWide->text(), QStringLiteral("広げる"));
    QCOMPARE(fx.win->layout().rect(fx.ui().txtTalk).height(), 1455);
    QVERIFY(!stopPanel());
    QCOMPARE(fx.platform.beeps, 1);
}

void TestReading::emptyTextLeavesTheMarker()
{
    TalkFixture fx;
    TalkFixture::click(fx.ui().cmdRead);
    QCOMPARE(fx.player.plays(), QStringList{});
    QCOMPARE(fx.marked(), QStringLiteral("[_]"));
}

void TestReading::markerAppendedOnlyWhenMissing()
{
    TalkFixture fx;
    fx.setText(QStringLiteral("あ"), 0);
    TalkFixture::click(fx.ui().cmdRead);
    QCOMPARE(fx.marked(), QStringLiteral("あ[_]"));
    TalkFixture::click(fx.ui().cmdRead);
    QCOMPARE(fx.marked(), QStringLiteral("あ[_]"));
}

void TestReading::stopLabelEndsAfterCurrentCharacter()
{
    TalkFixture fx;
    fx.addVoices({"あ", "い", "う"});
    fx.setText(QStringLiteral("あいう_"), 0);
    fx.clock.after(0.3, [&] {
        QWidget *label = stopPanel()->findChild<QLabel *>(QStringLiteral("lblLabel"));
        postPress(label);
        postRelease(label);
    });
    TalkFixture::click(fx.ui().cmdRead);
    QCOMPARE(fx.voiced(), QStringList{"あ"});
    QVERIFY(!stopPanel());
    QCOMPARE(fx.marked(), QStringLiteral("あいう[_]"));
}

void TestReading::stopPanelRefusesItsCloseCommand()
{
    TalkFixture fx;
    fx.addVoices({"あ", "い"});
    fx.setText(QStringLiteral("あい"), 0);
    bool stillOpen = false;
    fx.clock.after(0.3, [&] { stopPanel()->close(); });
    fx.clock.after(1.0, [&] { stillOpen = stopPanel() != nullptr; });
    TalkFixture::click(fx.ui().cmdRead);
    QVERIFY(stillOpen);
    QCOMPARE(fx.voiced(), (QStringList{"あ", "い"}));
}

void TestReading::boardPickDuringReadingStopsIt_data()
{
    QTest::addColumn<QString>("opt3");
    QTest::addColumn<QStringList>("voiced");
    QTest::newRow("voiced pick stops the reading") << "0" << QStringList{"あ", "か"};
    // The silent pick still enters か at the caret, in front of the text.
    QTest::newRow("silent pick does not") << "3" << QStringList{"あ", "あ", "い"};
}

void TestReading::boardPickDuringReadingStopsIt()
{
    QFETCH(QString, opt3);
    TalkFixture fx({{"OPT1", "2"}, {"OPT3", opt3}});
    fx.addVoices({"あ", "い", "う", "か"});
    fx.setText(QStringLiteral("あいう"), 0);
    FlexGrid *b = fx.ui().grdBoard;
    fx.clock.after(0.3, [&] {
        postPress(b->viewport(), b->cellRect(0, 8).center());     // か
        postRelease(b->viewport(), b->cellRect(0, 8).center());
    });
    TalkFixture::click(fx.ui().cmdRead);
    QTEST(fx.voiced(), "voiced");
}

void TestReading::textChangedDuringReading_data()
{
    QTest::addColumn<QString>("changedTo");
    QTest::addColumn<int>("steps");
    QTest::addColumn<QString>("after");
    // The length is taken once: a shortened text still takes every counted step.
    QTest::newRow("shortened") << "あ" << 4 << "あ[_]";
    QTest::newRow("emptied") << "" << 1 << "[_]";
}

void TestReading::textChangedDuringReading()
{
    QFETCH(QString, changedTo);
    TalkFixture fx;
    fx.setText(QStringLiteral("あいうえ"), 0);
    fx.clock.after(0.3, [&] { fx.box()->setText(changedTo); });
    const double start = fx.clock.seconds();
    TalkFixture::click(fx.ui().cmdRead);
    QFETCH(int, steps);
    const double took = fx.clock.seconds() - start;
    QVERIFY2(took > 0.8 * steps && took < 0.8 * steps + 0.01, qPrintable(QString::number(took)));
    QTEST(fx.marked(), "after");
}

void TestReading::staysWideWhileDiaryShows()
{
    TalkFixture fx;
    fx.ui().fraDay->show();
    fx.setText(QStringLiteral("あ"), 0);
    TalkFixture::click(fx.ui().cmdRead);
    QCOMPARE(fx.win->layout().rect(fx.ui().txtTalk).height(), kOuterHeightTwips - 2380);
    QCOMPARE(fx.ui().cmdWide->text(), QStringLiteral("広げる"));   // a reading never sets it
}

void TestReading::unnameableAndMissingSoundsAreSilent()
{
    TalkFixture fx;
    // A file that the naive name of "/" would reach must stay unplayed.
    fx.writeFile(QStringLiteral(".wav"), "RIFF");
    fx.setText(QStringLiteral("/x\nA"), 0);
    TalkFixture::click(fx.ui().cmdRead);
    QCOMPARE(fx.player.plays(), QStringList{});
    QCOMPARE(fx.player.calls.size(), 4);   // one silent step per character
}

void TestReading::endButtonEndsTheReading()
{
    TalkFixture fx;
    fx.addVoices({"あ", "い", "う"});
    fx.setText(QStringLiteral("あいう"), 0);
    fx.clock.after(0.3, [&] { postPress(fx.ui().cmdEnd); postRelease(fx.ui().cmdEnd); });
    TalkFixture::click(fx.ui().cmdRead);
    QCOMPARE(fx.quits, 1);
    QCOMPARE(fx.voiced(), QStringList{"あ"});
}

QTEST_MAIN(TestReading)
#include "test_reading.moc"
