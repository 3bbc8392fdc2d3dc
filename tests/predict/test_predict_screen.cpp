// Prediction in the window: taking a candidate from the enlarged screen by
// touch, by one switch and by resting the pointer; the automatic list left
// as it was with prediction off and kept out of the way with it on; and
// the texts read aloud kept in read.txt.
#include "support/TestMain.h"
#include "access/SwitchUser.h"

#include "base/AnsiText.h"
#include "predict/CandidateRow.h"
#include "predict/Prediction.h"
#include "predict/ReadHistory.h"

#include <QFrame>

using namespace kel;
using namespace kel::test;

namespace {

// "窓を開けてください" and "まどをしめてください" as Talk.txt holds them.
const QByteArray kTalk("\"\x91\x8b\x82\xf0\x8a\x4a\x82\xaf\x82\xc4\x82\xad\x82\xbe\x82\xb3\x82\xa2\"\r\n"
                       "\"\x82\xdc\x82\xc7\x82\xf0\x82\xb5\x82\xdf\x82\xc4\x82\xad\x82\xbe\x82\xb3\x82\xa2\"\r\n");
const QString kWanted = QStringLiteral("まどをあけてください");
const QString kTaken = QStringLiteral("まどをしめてください");

QStringList texts(const QList<Candidate> &cs)
{
    QStringList out;
    for (const Candidate &c : cs)
        out << c.text;
    return out;
}

// ま on the hiragana board.
void touchMa(TalkFixture &fx)
{
    FlexGrid *g = fx.ui().grdBoard;
    TalkFixture::click(g->viewport(), g->cellRect(0, 3).center());
}

void waitForHistory(TalkFixture &fx)
{
    // The history is learned on a thread once the window is up.
    QTRY_VERIFY_WITH_TIMEOUT(fx.talk().prediction->active(), 60000);
}

} // namespace

class TestPredictScreen : public QObject {
    Q_OBJECT
private slots:
    void takeCandidate_data()
    {
        QTest::addColumn<int>("way"); // -1 touch
        QTest::addColumn<QString>("where");
        QTest::newRow("touch, enlarged screen") << -1 << "enlarged";
        QTest::newRow("one switch, enlarged screen") << int(Way::OneSwitch) << "enlarged";
        QTest::newRow("dwell, enlarged screen") << int(Way::Dwell) << "enlarged";
        // The row above the board: asked for, or the only place a touch
        // rule that enters at once leaves the candidates.
        QTest::newRow("touch, strip asked for") << -1 << "Strip=1";
        QTest::newRow("one switch, strip") << int(Way::OneSwitch) << "OPT1=2";
        QTest::newRow("two switches, strip") << int(Way::TwoSwitches) << "OPT1=2";
        QTest::newRow("dwell, strip") << int(Way::Dwell) << "OPT1=2";
    }
    // Two sentences said before: ま, then the whole second one at once; it is
    // offered higher from then on, as the user chose it.
    void takeCandidate()
    {
        QFETCH(int, way);
        QFETCH(QString, where);
        const bool strip = where != u"enlarged";
        std::map<QString, QString> stored{{QStringLiteral("PREDICT/On"), QStringLiteral("1")},
                                          {QStringLiteral("PREDICT/Count"), QStringLiteral("8")}};
        if (where == u"Strip=1")
            stored[QStringLiteral("PREDICT/Strip")] = QStringLiteral("1");
        else if (strip)
            stored.merge(settings(where));
        if (way >= 0)
            stored.merge(settings(QStringLiteral("Scan=%1;Dwell=%2;SwitchLock=0;ScanStep=300").arg(way).arg(way ? 0 : 1000)));
        TalkFixture fx(stored, {{QStringLiteral("Talk.txt"), kTalk}});
        waitForHistory(fx);
        auto *row = (strip ? fx.ui().canvas : fx.ui().fraSet)->findChild<CandidateRow *>(strip ? "rowStrip" : "rowPredict");
        QVERIFY(row);
        const QStringList before = texts(fx.talk().prediction->candidates(QStringLiteral("ま")));
        QVERIFY2(before.indexOf(kTaken) > before.indexOf(kWanted), qPrintable(before.join(u' ')));
        if (way < 0) {
            touchMa(fx);
            QVERIFY(!fx.ui().cmdspace->isVisible());
            if (strip) {
                // ま entered; the strip above the board, a row shorter, offers what follows.
                FlexGrid *z = fx.ui().grdBoard2;
                TalkFixture::click(z->viewport(), z->cellRect(1, 1).center());
                QTRY_VERIFY(row->isVisible());
                QVERIFY(qAbs(row->geometry().bottom() + 1 - fx.ui().grdBoard->geometry().top()) <= 1);
            }
            QVERIFY(row->isVisible());
            QPushButton *wanted = nullptr;
            for (QPushButton *b : row->findChildren<QPushButton *>())
                if (b->isVisible() && b->text() == kTaken)
                    wanted = b;
            QVERIFY(wanted);
            TalkFixture::click(wanted);
        } else {
            User user(fx, Way(way), {QStringLiteral("ま"), kTaken});
            QTRY_VERIFY_WITH_TIMEOUT(user.done(), 60000);
            QCOMPARE(user.stuck, QString());
        }
        QTRY_COMPARE(fx.box()->text(), kTaken + u'_'); // the touch's release may still be on its way
        QVERIFY(!fx.ui().fraSet->isVisible());
        QVERIFY(!fx.ui().grdSp->isVisible());
        const QStringList after = texts(fx.talk().prediction->candidates(QStringLiteral("ま")));
        QVERIFY2(after.indexOf(kTaken) < after.indexOf(kWanted), qPrintable(after.join(u' ')));
    }

    void automaticList_data()
    {
        QTest::addColumn<QString>("on");
        QTest::addColumn<bool>("listShown");
        QTest::newRow("prediction off: as always") << "0" << true;
        QTest::newRow("prediction on: no list") << "1" << false;
    }
    void automaticList()
    {
        QFETCH(QString, on);
        QFETCH(bool, listShown);
        TalkFixture fx({{QStringLiteral("PREDICT/On"), on}}, {{QStringLiteral("Talk.txt"), kTalk}});
        if (on == u"1")
            waitForHistory(fx);
        touchMa(fx);
        QCOMPARE(fx.ui().cmdspace->isVisible(), listShown); // "スペース" gives way to the candidates
        FlexGrid *z = fx.ui().grdBoard2;
        TalkFixture::click(z->viewport(), z->cellRect(1, 1).center());
        QCOMPARE(fx.box()->text(), QStringLiteral("ま_"));
        QCOMPARE(fx.ui().grdSp->isVisible(), listShown);
        // Without the strip the board keeps its place and size.
        QVERIFY(!fx.ui().canvas->findChild<CandidateRow *>("rowStrip")->isVisible());
        QCOMPARE(fx.talk().layout.rect(fx.ui().grdBoard), QRect(60, 1620, 11685, 4695));
    }

    void readAloudKept_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("damaged");
        QTest::newRow("none yet") << QByteArray() << false;
        QTest::newRow("changed by another program") << QByteArray("\"\x82\xdd\x82\"\r\n\xff\xff") << true;
    }
    // What is read aloud is kept (and offered at once); a read.txt that
    // cannot be read is told of at the start and never written over; what a
    // restore puts back is offered at once.
    void readAloudKept()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, damaged);
        std::map<QString, QByteArray> files;
        if (damaged)
            files[QStringLiteral("read.txt")] = file;
        Questions notices(QList<int>{});
        TalkFixture fx({{QStringLiteral("PREDICT/On"), QStringLiteral("1")}}, files);
        waitForHistory(fx);
        const QString notice = QStringLiteral("言葉の予測|") + readHistoryNotices().fileProtected + QStringLiteral("|OK");
        QTRY_COMPARE(notices.asked, damaged ? QStringList{notice} : QStringList{});
        fx.box()->setText(QStringLiteral("のどがかわいた_"));
        TalkFixture::click(fx.ui().cmdRead);
        QTRY_VERIFY_WITH_TIMEOUT(fx.ui().cmdRead->isEnabled(), 60000);
        QCOMPARE(fx.readFile(QStringLiteral("read.txt")), damaged ? file : *encodeRecord(QStringLiteral("のどがかわいた")));
        QCOMPARE(fx.talk().prediction->candidates(QStringLiteral("のと")).value(0).text, QStringLiteral("のどが"));

        fx.writeFile(QStringLiteral("Talk.txt"), kTalk);
        fx.talk().reloadSamples(); // as a restore does once the files are back
        QTRY_COMPARE_WITH_TIMEOUT(fx.talk().prediction->candidates(QStringLiteral("まと")).value(0).text,
                                  QStringLiteral("まどを"), 60000);
    }
};

KEL_TEST(test_predict_screen, TestPredictScreen)
#include "test_predict_screen.moc"
