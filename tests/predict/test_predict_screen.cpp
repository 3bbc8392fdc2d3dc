// Prediction in the window: taking a candidate from the enlarged screen by
// touch, by one switch and by resting the pointer; the automatic list left
// as it was with prediction off and kept out of the way with it on; and
// the texts read aloud kept in read.txt.
#include "support/TestMain.h"
#include "access/SwitchUser.h"

#include "base/AnsiText.h"
#include "predict/CandidateRow.h"
#include "predict/Prediction.h"

#include <QFrame>

using namespace kel;
using namespace kel::test;

namespace {

// "窓を開けてください" and "まどをしめてください" as Talk.txt holds them.
const QByteArray kTalk("\"\x91\x8b\x82\xf0\x8a\x4a\x82\xaf\x82\xc4\x82\xad\x82\xbe\x82\xb3\x82\xa2\"\r\n"
                       "\"\x82\xdc\x82\xc7\x82\xf0\x82\xb5\x82\xdf\x82\xc4\x82\xad\x82\xbe\x82\xb3\x82\xa2\"\r\n");
const QString kWanted = QStringLiteral("まどをあけてください");

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
        QTest::newRow("touch") << -1;
        QTest::newRow("one switch") << int(Way::OneSwitch);
        QTest::newRow("dwell") << int(Way::Dwell);
    }
    // "窓を開けてください" said before: ま, then the whole sentence at once.
    void takeCandidate()
    {
        QFETCH(int, way);
        std::map<QString, QString> stored{{QStringLiteral("PREDICT/On"), QStringLiteral("1")}};
        if (way >= 0)
            stored.merge(settings(QStringLiteral("Scan=%1;Dwell=%2;SwitchLock=0;ScanStep=300").arg(way).arg(way ? 0 : 1000)));
        TalkFixture fx(stored, {{QStringLiteral("Talk.txt"), kTalk}});
        waitForHistory(fx);
        if (way < 0) {
            touchMa(fx);
            QVERIFY(!fx.ui().cmdspace->isVisible());
            auto *row = fx.ui().fraSet->findChild<CandidateRow *>();
            QVERIFY(row && row->isVisible());
            QPushButton *wanted = nullptr;
            for (QPushButton *b : row->findChildren<QPushButton *>())
                if (b->isVisible() && b->text() == kWanted)
                    wanted = b;
            QVERIFY(wanted);
            TalkFixture::click(wanted);
        } else {
            User user(fx, Way(way), {QStringLiteral("ま"), kWanted});
            QTRY_VERIFY_WITH_TIMEOUT(user.done(), 60000);
            QCOMPARE(user.stuck, QString());
        }
        QCOMPARE(fx.box()->text(), kWanted + u'_');
        QVERIFY(!fx.ui().fraSet->isVisible());
        QVERIFY(!fx.ui().grdSp->isVisible());
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
    }

    // What is read aloud is kept (and offered at once); "履歴を消す" empties
    // the file after asking.
    void readAloudKept()
    {
        TalkFixture fx({{QStringLiteral("PREDICT/On"), QStringLiteral("1")}});
        waitForHistory(fx);
        fx.box()->setText(QStringLiteral("のどがかわいた_"));
        TalkFixture::click(fx.ui().cmdRead);
        QTRY_VERIFY_WITH_TIMEOUT(fx.ui().cmdRead->isEnabled(), 60000);
        QCOMPARE(fx.readFile(QStringLiteral("read.txt")), *encodeRecord(QStringLiteral("のどがかわいた")));
        QCOMPARE(fx.talk().prediction->candidates(QStringLiteral("のと")).value(0).text, QStringLiteral("のどが"));
    }
};

KEL_TEST(test_predict_screen, TestPredictScreen)
#include "test_predict_screen.moc"
