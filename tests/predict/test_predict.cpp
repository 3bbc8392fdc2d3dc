// Prediction without a window: the contract every predictor keeps, the
// candidates for typed text against a small history, matching across
// voicing marks and small kana, kanji learned by their reading, the file
// of texts read aloud, and the --predict command.
#include "support/TestMain.h"
#include "predict/BlendPredictor.h"
#include "predict/HistoryModel.h"
#include "predict/KanaFold.h"
#include "predict/PackagedModel.h"
#include "predict/Prediction.h"
#include "predict/ReadHistory.h"
#include "reading/Dictionary.h"
#include "support/Files.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace kel;
using kel::test::readFile;
using kel::test::writeFile;

namespace {

const QStringList kHistory{
    QStringLiteral("窓を開けてください"), QStringLiteral("まどをしめてください"),
    QStringLiteral("みずをください"),     QStringLiteral("コーヒーが飲みたいです"),
    QStringLiteral("がっこうにいきたい"), QStringLiteral("みずをください"),
};

QStringList texts(const QList<Candidate> &cs)
{
    QStringList out;
    for (const Candidate &c : cs)
        out << c.text;
    return out;
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

    void contract_data()
    {
        QTest::addColumn<QString>("predictor");
        QTest::addColumn<QString>("context");
        for (const char *p : {"history", "packaged", "blend"}) {
            for (const char *c : {"", "ま", "まと", "こ", "きょうは。か", "ああ", "★", "わたしは"})
                QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(p, QString::fromUtf8(c))))
                    << QString::fromLatin1(p) << QString::fromUtf8(c);
        }
    }
    // Every candidate continues the context, within Count, with no control
    // character, best first.
    void contract()
    {
        QFETCH(QString, predictor);
        QFETCH(QString, context);
        const Predictor *p = predictor == u"history" ? &history_
                             : predictor == u"blend" ? static_cast<const Predictor *>(blend_.get()) : packaged_.get();
        if (!p)
            QSKIP("libkkc-data is not installed");
        for (int count : {1, 3, 8}) {
            const QList<Candidate> cs = p->predict(context, count);
            QVERIFY(cs.size() <= count);
            for (qsizetype i = 0; i < cs.size(); ++i) {
                const QString &t = cs[i].text;
                QVERIFY2(t.size() > context.size() && foldKana(t).startsWith(foldKana(context)), qPrintable(t));
                QVERIFY2(std::none_of(t.begin(), t.end(), isControl), qPrintable(t));
            }
        }
    }

    void offered_data()
    {
        QTest::addColumn<QString>("predictor");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("first");
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
        const Predictor *p = predictor == u"history" ? &history_ : static_cast<const Predictor *>(packaged_.get());
        if (!p)
            QSKIP("libkkc-data is not installed");
        const QStringList got = texts(p->predict(typed, count));
        for (const QString &want : first)
            QVERIFY2(got.contains(want), qPrintable(got.join(u' ') + QStringLiteral(" lacks ") + want));
        if (first.isEmpty())
            QVERIFY2(got.isEmpty(), qPrintable(got.join(u' ')));
    }

    void fold_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("folded");
        QTest::newRow("voiced and semi-voiced") << "がばぱ" << "かはは";
        QTest::newRow("small kana") << "ぁっゃゅょゎ" << "あつやゆよわ";
        QTest::newRow("katakana") << "ガッコウヴ" << "かつこうう";
        QTest::newRow("others as they are") << "ー漢A。" << "ー漢A。";
    }
    void fold()
    {
        QFETCH(QString, text);
        QTEST(foldKana(text), "folded");
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

    // read.txt: each text read aloud appended as a quoted CP932 line. (A
    // file another program broke is kept as it was: test_predict_screen.)
    void readHistoryFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(kReadHistoryFileName);
        ReadHistory h(path);
        QVERIFY(h.load().isEmpty());
        QVERIFY(!h.add(QStringLiteral("みず")));
        QVERIFY(!h.add(QStringLiteral("はい\r\nいいえ")));
        QCOMPARE(readFile(path), QByteArray("\"\x82\xdd\x82\xb8\"\r\n\"\x82\xcd\x82\xa2 \x82\xa2\x82\xa2\x82\xa6\"\r\n"));
        QCOMPARE(ReadHistory(path).load(), QStringList({"みず", "はい いいえ"}));
    }

    // kelvoran --predict answers each line at once, from the data folder's
    // files, never offering the list's placeholder record.
    void predictCommand()
    {
        QTemporaryDir home;
        QVERIFY(writeFile(home.filePath(QStringLiteral("Talk.txt")), "\"\x82\xa0\x82\xa0\x82\xa0\x82\xa0\x93\xfa\x8b\x4c\x83\x5f\x83\x7e\x81\x5b\x8f\xc1\x82\xb3"
                   "\x82\xc8\x82\xa2\x82\xc5\x82\xcb\x81\x49\"\r\n\"\x91\x8b\x82\xf0\x8a\x4a\x82\xaf\x82\xc4"
                   "\x82\xad\x82\xbe\x82\xb3\x82\xa2\"\r\n"));
        QProcess p;
        p.start(QStringLiteral(KELVORAN_PATH), {QStringLiteral("--home"), home.path(), QStringLiteral("--predict"),
                                                QStringLiteral("2")});
        QVERIFY(p.waitForStarted());
        p.write(QStringLiteral("まと\n").toUtf8());
        QVERIFY(p.waitForReadyRead());
        while (!p.canReadLine())
            QVERIFY(p.waitForReadyRead());
        const QStringList first = QString::fromUtf8(p.readLine()).chopped(1).split(u'\t');
        QCOMPARE(first.size(), 2);
        QVERIFY2(first.contains(QStringLiteral("まどを")), qPrintable(first.join(u' ')));
        p.write(QStringLiteral("ああ\n").toUtf8());
        p.closeWriteChannel();
        QVERIFY(p.waitForFinished());
        QVERIFY(!QString::fromUtf8(p.readAll()).contains(u"ダミー"));
        QCOMPARE(p.exitCode(), 0);
    }
};

KEL_TEST(test_predict, TestPredict)
#include "test_predict.moc"
