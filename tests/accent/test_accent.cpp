// Pitch accent: whole sentences through both dictionaries with their
// heights, phrase boundaries and intonation marks; each combination rule
// and phrase boundary is met in a sentence here.
#include "support/TestMain.h"
#include "accent/AccentCommand.h"
#include "accent/AccentDictionary.h"
#include "accent/AccentedReading.h"
#include "reading/Dictionary.h"

#include <QTest>

using namespace kel;

class TestAccent : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        Dictionary::shared().waitUntilReady();
        QVERIFY2(Dictionary::shared().analyser(), qPrintable(Dictionary::shared().problem()));
        QString problem;
        QVERIFY2(accentAnalyser(&problem), qPrintable(problem));
    }

    void sentences_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("accent");
        QTest::newRow("flat noun, particle, verb") << "水をください" << "み/L ず/H お/H | く/L だ/H さ/H い/L";
        // (橋を渡る and 箸で食べる, told apart by their pitch alone, 雨ですか？ and
        // a pause ending the downsteps are heard as spoken in test_reading.)
        QTest::newRow("compound noun") << "東京都知事" << "と/L お/H きょ/H お/H と/H ち/H じ/L";
        QTest::newRow("compound noun falling on the latter's first mora") << "英語時計" << "え/L え/H ご/H と/H け/L え/L";
        QTest::newRow("a prefix keeps the noun's nucleus") << "ご両親" << "ご/L りょ/H お/L し/L ん/L";
        QTest::newRow("number with a counter, nucleus off ん") << "三本" << "さ/H ん/L ぼ/L ん/L";
        QTest::newRow("digits with a counter") << "3本" << "さ/H ん/L ぼ/L ん/L";
        QTest::newRow("verb ending") << "行きました" << "い/L き/H ま/H し/L た/L";
        QTest::newRow("a pause ends a noun run") << "東京、大阪" << "と/L お/H きょ/H お/H 、 | お/L お/H さ/H か/H";
        QTest::newRow("number with a counter, nucleus kept") << "十五人" << "じゅ/L う/H ご/H に/L ん/L";
        // Verbs with their endings after flat and accented phrases, asked and said.
        QTest::newRow("accented noun, polite verb") << "本を読みますが" << "ほ/H ん/L お/L | よ/L み/H ま/H す/L が/L";
        QTest::newRow("flat noun, polite verb") << "学校に行きますが" << "が/L っ/H こ/H お/H に/H | い/L き/H ま/H す/L が/L";
        QTest::newRow("ます ending a statement: no fall heard") << "思います。" << "お/L も/H い/H ま/H す/H 。";
        QTest::newRow("ます ending a statement after an accented verb") << "あります。" << "あ/L り/H ま/H す/H 。";
        QTest::newRow("なければ after an accented verb") << "考えなければ" << "か/L ん/H が/H え/H な/L け/L れ/L ば/L";
        QTest::newRow("verb asked") << "行きますか？" << "い/L き/H ま/H す/L か/L 。";
        QTest::newRow("accented verb after an accented noun") << "雨が降る" << "あ/H め/L が/L | ふ/H る/L";
        // Phrases as they are said apart or together.
        QTest::newRow("compound verb") << "知りすぎる" << "し/L り/H す/H ぎ/H る/L";
        QTest::newRow("a noun said as an adverb stands apart") << "午後四時に会う" << "ご/H ご/L | よ/H じ/L に/L | あ/H う/L";
        QTest::newRow("いい after a particle stands apart") << "行けばいい" << "い/L け/H ば/L | い/H い/L";
        QTest::newRow("formal noun after an accented verb") << "出るときに" << "で/H る/L | と/H き/L に/L";
        QTest::newRow("formal noun after a flat verb") << "するときに" << "す/L る/H と/H き/L に/L";
        QTest::newRow("する after an accented verbal noun stands apart") << "用意した" << "よ/H お/L い/L | し/L た/H";
        QTest::newRow("する after a flat verbal noun leans") << "勉強した" << "べ/L ん/H きょ/H お/H し/H た/H";
        QTest::newRow("an interrogative with も is flat") << "何もない" << "な/L に/H も/H | な/H い/L";
        QTest::newRow("an accented prefix of two morae stands apart") << "本論文" << "ほ/H ん/L | ろ/L ん/H ぶ/H ん/H";
        QTest::newRow("は after a case particle on a flat noun") << "学校には" << "が/L っ/H こ/H お/H に/H わ/L";
        QTest::newRow("だと after a flat noun falls on its だ") << "時間だと" << "じ/L か/H ん/H だ/H と/L";
        QTest::newRow("だった after a flat noun falls on its だ") << "非番だった" << "ひ/L ば/H ん/H だ/H っ/L た/L";
        QTest::newRow("だけ before a particle falls on its け") << "それだけでは" << "そ/L れ/H だ/H け/H で/L わ/L";
        QTest::newRow("an interrogative with に and も is flat") << "どこにも" << "ど/L こ/H に/H も/H";
        QTest::newRow("何の is flat") << "何の話" << "な/L ん/H の/H | は/L な/H し/H";
        QTest::newRow("いる with ます after an accented verb stands apart") << "思っています" << "お/L も/H っ/L て/L | い/L ま/H す/H";
        QTest::newRow("である after an accented noun stands apart") << "真実である" << "し/H ん/L じ/L つ/L で/L | あ/H る/L";
        QTest::newRow("ように after an accented の stands apart") << "いつものように" << "い/H つ/L も/L の/L | よ/H お/L に/L";
        QTest::newRow("てしまう keeps an accented verb's nucleus") << "なってしまった" << "な/H っ/L て/L し/L ま/L っ/L た/L";
        QTest::newRow("compound verb with a flat latter verb") << "吠えまくる" << "ほ/L え/H ま/H く/H る/L";
        QTest::newRow("ないと falls on な") << "しないと" << "し/L な/H い/L と/L";
        QTest::newRow("という after an accented と stands apart") << "あるということだ" << "あ/H る/L と/L | ゆ/L う/H こ/H と/H だ/L";
        QTest::newRow("ある leans on が after a flat noun") << "必要がある" << "ひ/L つ/H よ/H お/H が/H あ/H る/L";
        QTest::newRow("する leans on と after a flat noun") << "必要とする" << "ひ/L つ/H よ/H お/H と/H す/H る/H";
        QTest::newRow("a number said by its places") << "１４７３年" << "せ/H ん/L | よ/H ん/L ひゃ/L く/L | な/L な/H じゅ/L う/L | さ/H ん/L ね/L ん/L";
        QTest::newRow("一人 read ひとり") << "一人で" << "ひ/L と/H り/L で/L";
        QTest::newRow("なので after a flat noun falls on な") << "問題なので" << "も/L ん/H だ/H い/H な/H の/L で/L";
        QTest::newRow("けれども stands apart") << "悪かったけれども" << "わ/L る/H か/L っ/L た/L | け/H れ/L ど/L も/L";
        QTest::newRow("a compound in 的 is flat") << "効果的な方法" << "こ/L お/H か/H て/H き/H な/H | ほ/L お/H ほ/H お/H";
    }

    void sentences()
    {
        QFETCH(QString, text);
        QFETCH(QString, accent);
        QCOMPARE(accentedLine(text), accent);
    }

    void unknownWordsAreFlat()
    {
        const QString text = QStringLiteral("ぬぺりょぽ");
        const QList<Morpheme> unknown{{0, text.size(), text, {"名詞", "一般", "*", "*", "*", "*", "*"}}};
        QCOMPARE(accentLine(accentUnits(text, spokenUnits(text, nullptr), unknown)), "ぬ/L ぺ/H りょ/H ぽ/H");
    }
};

KEL_TEST(test_accent, TestAccent)
#include "test_accent.moc"
