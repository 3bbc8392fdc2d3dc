// Prediction: the contract every predictor keeps, the candidates for
// typed text against a small history (matching across voicing marks and
// small kana, kanji learned by their reading), the file of texts read
// aloud and the --predict command; and in the window: taking a candidate
// by touch, by one switch and by resting the pointer, from the enlarged
// screen or the strip above the board; the automatic list left as it was
// with prediction off and kept out of the way with it on; the texts read
// aloud kept in read.txt.
#include "support/TestMain.h"
#include "access/SwitchUser.h"
#include "support/Files.h"

#include "base/AnsiText.h"
#include "predict/BlendPredictor.h"
#include "predict/CandidateRow.h"
#include "predict/HistoryModel.h"
#include "predict/KanaFold.h"
#include "predict/PackagedModel.h"
#include "predict/Prediction.h"
#include "predict/ReadHistory.h"
#include "reading/Dictionary.h"
#include "samples/SampleFile.h"

#include <QFrame>
#include <QProcess>
#include <QTemporaryDir>

using namespace kel;
using namespace kel::test;

namespace {

const QStringList kHistory{
    QStringLiteral("窓を開けてください"), QStringLiteral("まどをしめてください"),
    QStringLiteral("みずをください"),     QStringLiteral("コーヒーが飲みたいです"),
    QStringLiteral("がっこうにいきたい"), QStringLiteral("みずをください"),
};
// "窓を開けてください" and "まどをしめてください" as Talk.txt holds them.
const QByteArray kTalk("\"\x91\x8b\x82\xf0\x8a\x4a\x82\xaf\x82\xc4\x82\xad\x82\xbe\x82\xb3\x82\xa2\"\r\n"
                       "\"\x82\xdc\x82\xc7\x82\xf0\x82\xb5\x82\xdf\x82\xc4\x82\xad\x82\xbe\x82\xb3\x82\xa2\"\r\n");
const QString kWanted = QStringLiteral("まどをあけてください");
const QString kTaken = QStringLiteral("まどをしめてください");
const QStringList kAnything{QStringLiteral("*")};

QStringList texts(const QList<Candidate> &cs)
{
    QStringList out;
    for (const Candidate &c : cs)
        out << c.text;
    return out;
}

// ま on the hiragana board: the enlarged screen opens, its "スペース"
// giving way to the candidates; `enter`: ま there too, entering it.
void touchMa(TalkFixture &fx, bool enter)
{
    FlexGrid *g = fx.ui().grdBoard;
    TalkFixture::click(g->viewport(), g->cellRect(0, 3).center());
    QVERIFY(!fx.ui().cmdspace->isVisible());
    FlexGrid *z = fx.ui().grdBoard2;
    if (enter)
        TalkFixture::click(z->viewport(), z->cellRect(1, 1).center());
}

} // namespace

class TestPredict : public QObject {
    Q_OBJECT
    HistoryModel history_;
    std::unique_ptr<PackagedModel> packaged_;
    std::unique_ptr<BlendPredictor> blend_;

private slots:
    void initTestCase()
    {
        Dictionary::shared().waitUntilReady();
        QVERIFY(Dictionary::shared().analyser());
        history_.learn(kanaSentences(kHistory + QStringList{QStringLiteral("ああ\tいい\x01")},
                                     Dictionary::shared().analyser()));
        QString why;
        packaged_ = PackagedModel::open(PackagedModel::defaultFolder(), &why);
        blend_ = std::make_unique<BlendPredictor>(&history_, packaged_.get());
    }

    // What each predictor offers for what was typed: every candidate
    // continues it, within the count, with no control character; and these
    // among them (none: nothing is offered; kAnything: not looked at).
    void offered_data()
    {
        QTest::addColumn<QString>("predictor");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("first");
        for (const char *p : {"history", "packaged", "blend"})
            for (const char *typed : {"", "ま", "まと", "こ", "きょうは。か", "ああ", "★", "わたしは"})
                for (int count : {1, 8})
                    QTest::addRow("%s %s, %d", p, typed, count) << QString::fromLatin1(p) << QString::fromUtf8(typed) << count << kAnything;
        QTest::newRow("kanji learned by reading") << "history" << "まどを" << 3
            << QStringList{"まどをあけてください", "まどをしめてください"};
        QTest::newRow("voicing and small kana ignored") << "history" << "かつ" << 3
            << QStringList{"がっこうに", "がっこうにいきたい"};
        QTest::newRow("katakana kept as stored") << "history" << "こー" << 3 << QStringList{"コーヒーが"};
        QTest::newRow("within a sentence") << "history" << "きょうは。みす" << 3
            << QStringList{"きょうは。みずを", "きょうは。みずをください"};
        QTest::newRow("the next phrase after a taken one") << "history" << "みずを" << 3
            << QStringList{"みずをください"};
        QTest::newRow("nothing like it") << "history" << "ぬ" << 3 << QStringList{};
        // The model's words are pieces (ござ|い|ます, くださ|い): a
        // candidate joins them into what the user means to say.
        QTest::newRow("model pieces joined into a word") << "packaged" << "ありがとうござ" << 1
            << QStringList{"ありがとうございます"};
        QTest::newRow("model word after the words typed") << "packaged" << "ちょっとまってく" << 1
            << QStringList{"ちょっとまってください"};
        QTest::newRow("model phrase after a whole word") << "packaged" << "ありがとう" << 3
            << QStringList{"ありがとうございます", "ありがとうございました"};
        QTest::newRow("model phrase of four pieces") << "packaged" << "おねがい" << 3
            << QStringList{"おねがいします", "おねがいいたします"};
    }
    void offered()
    {
        QFETCH(QString, predictor);
        QFETCH(QString, typed);
        QFETCH(int, count);
        QFETCH(QStringList, first);
        const Predictor *p = predictor == u"history" ? &history_
                             : predictor == u"blend" ? static_cast<const Predictor *>(blend_.get()) : packaged_.get();
        if (!p)
            QSKIP("libkkc-data is not installed");
        const QStringList got = texts(p->predict(typed, count));
        QVERIFY(got.size() <= count);
        for (const QString &t : got) {
            QVERIFY2(t.size() > typed.size() && foldKana(t).startsWith(foldKana(typed)), qPrintable(t));
            QVERIFY2(std::none_of(t.begin(), t.end(), isControl), qPrintable(t));
        }
        if (first == kAnything)
            return;
        for (const QString &want : first)
            QVERIFY2(got.contains(want), qPrintable(got.join(u' ') + QStringLiteral(" lacks ") + want));
        if (first.isEmpty())
            QVERIFY2(got.isEmpty(), qPrintable(got.join(u' ')));
    }

    void packagedModelRefusesDamage()
    {
        QTemporaryDir dir;
        QString why;
        QVERIFY(!PackagedModel::open(dir.path(), &why));
        QVERIFY(why.contains(u"辞書"));
        QVERIFY(writeFile(dir.filePath(QStringLiteral("data.1gram.index")), "not a trie at all"));
        QVERIFY(!PackagedModel::open(dir.path(), &why));

        // The pairs and triples: missing, or not whole records.
        const QString real = PackagedModel::defaultFolder();
        if (real.isEmpty())
            return;
        QTemporaryDir partial;
        for (const char *name : {"data.1gram.index", "data.1gram", "data.2gram"})
            QVERIFY(QFile::link(real + u'/' + QLatin1String(name), partial.filePath(QLatin1String(name))));
        QVERIFY(!PackagedModel::open(partial.path(), &why));
        QVERIFY2(why.contains(u"data.3gram"), qPrintable(why));
        QVERIFY(writeFile(partial.filePath(QStringLiteral("data.3gram")), "0123456789012"));
        QVERIFY(!PackagedModel::open(partial.path(), &why));
        QVERIFY2(why.contains(u"版が違います"), qPrintable(why));
    }

    // kelvoran --predict answers each line at once, from the data folder's
    // files, never offering the list's placeholder record.
    void predictCommand()
    {
        QTemporaryDir home;
        QVERIFY(writeFile(home.filePath(QStringLiteral("Talk.txt")), *encodeRecord(kPlaceholder) + kTalk));
        QProcess p;
        p.start(QStringLiteral(KELVORAN_PATH), {QStringLiteral("--home"), home.path(), QStringLiteral("--predict"),
                                                QStringLiteral("2")});
        QVERIFY(p.waitForStarted());
        p.write(QStringLiteral("まと\n").toUtf8());
        QTRY_VERIFY_WITH_TIMEOUT(p.canReadLine(), 30000);
        const QStringList first = QString::fromUtf8(p.readLine()).chopped(1).split(u'\t');
        QCOMPARE(first.size(), 2);
        QVERIFY2(first.contains(QStringLiteral("まどを")), qPrintable(first.join(u' ')));
        p.write(QStringLiteral("ああ\n").toUtf8());
        p.closeWriteChannel();
        QVERIFY(p.waitForFinished());
        QVERIFY(!QString::fromUtf8(p.readAll()).contains(u"ダミー"));
        QCOMPARE(p.exitCode(), 0);
    }

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
        // The history is learned on a thread once the window is up.
        QTRY_VERIFY_WITH_TIMEOUT(fx.talk().prediction->active(), 60000);
        auto *row = (strip ? fx.ui().canvas : fx.ui().fraSet)->findChild<CandidateRow *>(strip ? "rowStrip" : "rowPredict");
        QVERIFY(row);
        const QStringList before = texts(fx.talk().prediction->candidates(QStringLiteral("ま")));
        QVERIFY2(before.indexOf(kTaken) > before.indexOf(kWanted), qPrintable(before.join(u' ')));
        if (way < 0) {
            // ま entered for the strip above the board, a row shorter, to offer what follows.
            touchMa(fx, strip);
            if (strip) {
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

    void readAloudKept_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("damaged");
        QTest::newRow("none yet") << QByteArray() << false;
        QTest::newRow("one text read before") << QByteArray("\"\x82\xdd\x82\xb8\"\r\n") << false;
        QTest::newRow("changed by another program") << QByteArray("\"\x82\xdd\x82\"\r\n\xff\xff") << true;
    }
    // With prediction on, the automatic list of suggestions and its
    // "スペース" give way to the candidates (as they show with it off:
    // test_reach), and without the strip the board keeps its place and size.
    // What is read aloud is kept in read.txt after what was there, on one
    // line (and offered at once); a read.txt that cannot be read is told of
    // at the start and never written over; what a restore puts back is
    // offered at once.
    void readAloudKept()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, damaged);
        std::map<QString, QByteArray> files{{QStringLiteral("Talk.txt"), kTalk}};
        if (!file.isEmpty())
            files[QStringLiteral("read.txt")] = file;
        Questions notices(QList<int>{});
        TalkFixture fx({{QStringLiteral("PREDICT/On"), QStringLiteral("1")}}, files);
        QTRY_VERIFY_WITH_TIMEOUT(fx.talk().prediction->active(), 60000);
        const QString notice = QStringLiteral("言葉の予測|") + readHistoryNotices().fileProtected + QStringLiteral("|OK");
        QTRY_COMPARE(notices.asked, damaged ? QStringList{notice} : QStringList{});
        touchMa(fx, true);
        QCOMPARE(fx.box()->text(), QStringLiteral("ま_"));
        QVERIFY(!fx.ui().grdSp->isVisible());
        QVERIFY(!fx.ui().canvas->findChild<CandidateRow *>("rowStrip")->isVisible());
        QCOMPARE(fx.talk().layout.rect(fx.ui().grdBoard), QRect(60, 1620, 11685, 4695));

        fx.box()->setText(QStringLiteral("のどが\nかわいた_"));
        TalkFixture::click(fx.ui().cmdRead);
        QTRY_VERIFY_WITH_TIMEOUT(fx.ui().cmdRead->isEnabled(), 60000);
        QCOMPARE(fx.readFile(QStringLiteral("read.txt")), damaged ? file : file + *encodeRecord(QStringLiteral("のどが かわいた")));
        QCOMPARE(fx.talk().prediction->candidates(QStringLiteral("のと")).value(0).text, QStringLiteral("のどが"));

        fx.writeFile(QStringLiteral("Talk.txt"), "\"\x82\xdd\x82\xb8\x82\xf0\x82\xad\x82\xbe\x82\xb3\x82\xa2\"\r\n");
        fx.talk().reloadSamples(); // as a restore does once the files are back
        QTRY_COMPARE_WITH_TIMEOUT(fx.talk().prediction->candidates(QStringLiteral("みす")).value(0).text,
                                  QStringLiteral("みずを"), 60000);
    }
};

KEL_TEST(test_predict, TestPredict)
#include "test_predict.moc"
