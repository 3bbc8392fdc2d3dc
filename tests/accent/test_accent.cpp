// Pitch accent: the combination rules on words as the dictionary gives
// them, and whole sentences through both dictionaries with their heights,
// phrase boundaries and intonation marks.
#include "support/TestMain.h"
#include "accent/AccentCommand.h"
#include "accent/AccentDictionary.h"
#include "accent/AccentedReading.h"
#include "reading/Dictionary.h"

#include <QTest>

using namespace kel;

namespace {

// "名詞 C1 3 2": part of speech, rule, morae, nucleus.
AccentWord word(const QString &fields)
{
    const QStringList f = fields.split(u' ');
    AccentWord w;
    const QStringList pos = f.value(0).split(u',');
    w.pos = pos.value(0);
    w.pos1 = pos.value(1);
    w.rule = f.value(1) == u"-" ? QString() : f.value(1);
    w.morae = f.value(2).toInt();
    w.nucleus = f.value(3).toInt();
    return w;
}

} // namespace

class TestAccent : public QObject {
    Q_OBJECT
private slots:
    void phraseNucleus_data()
    {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<int>("nucleus");
        // Particles and auxiliaries after flat and accented phrases.
        QTest::newRow("水を: flat stays flat") << QStringList{"名詞 C3 2 0", "助詞 名詞%F1/動詞%F5 1 0"} << 0;
        QTest::newRow("橋を: accented keeps its nucleus") << QStringList{"名詞 C3 2 2", "助詞 名詞%F1 1 0"} << 2;
        QTest::newRow("駅まで: F2 gives a flat noun the particle's") << QStringList{"名詞 C3 2 0", "助詞 名詞%F2@1 2 1"} << 3;
        QTest::newRow("行くのに: F2@0 on a flat verb's last mora") << QStringList{"動詞 - 2 0", "助詞 動詞%F2@0 2 1"} << 2;
        // Verb and adjective endings.
        QTest::newRow("行きます: F4 shifts") << QStringList{"動詞 - 2 0", "助動詞 動詞%F4@1/助詞%F2@1 2 1"} << 3;
        QTest::newRow("見ない: F3 on an accented verb") << QStringList{"動詞 - 1 1", "助動詞 動詞%F3@0 2 1"} << 1;
        QTest::newRow("行かない: F3 leaves a flat verb flat") << QStringList{"動詞 - 2 0", "助動詞 動詞%F3@0 2 1"} << 0;
        QTest::newRow("美しかった: a negative shift") << QStringList{"形容詞 - 6 4", "助動詞 動詞%F2@1/形容詞%F4@-2 1 0"} << 4;
        QTest::newRow("no rule for the part of speech: unchanged") << QStringList{"助動詞 - 3 2", "助動詞 動詞%F4@1 1 0"} << 2;
        // Compound nouns by the rule of the latter.
        QTest::newRow("C1 keeps the latter's nucleus") << QStringList{"名詞 C2 4 0", "名詞 C1 3 2"} << 6;
        QTest::newRow("C2 on the latter's first mora") << QStringList{"名詞 C3 3 0", "名詞 C2 3 0"} << 4;
        QTest::newRow("C3 on the former's last mora") << QStringList{"名詞 C3 2 1", "名詞 C3 2 1"} << 2;
        QTest::newRow("C4 flat") << QStringList{"名詞 C3 2 1", "名詞 C4 2 1"} << 0;
        // Numbers with counters.
        QTest::newRow("三本") << QStringList{"名詞,数 C3 2 0", "名詞,接尾 C3 2 1"} << 2;
        QTest::newRow("a prefix keeps the noun's nucleus") << QStringList{"接頭詞 P2 1 1", "名詞 C1 4 1"} << 2;
    }

    void phraseNucleus()
    {
        QFETCH(QStringList, words);
        QFETCH(int, nucleus);
        QList<AccentWord> w;
        for (const QString &fields : words)
            w << word(fields);
        const QList<AccentPhrase> phrases = accentPhrases(w);
        QCOMPARE(phrases.size(), 1);
        QCOMPARE(phrases[0].nucleus, nucleus);
    }

    void phrasesStandAlone()
    {
        // An adverb, a pause and a verb after a noun each begin a phrase;
        // the words alone are a phrase each.
        const QList<AccentWord> w{word("副詞 - 3 1"), word("名詞 C3 2 0"), word("動詞 - 3 0")};
        QCOMPARE(accentPhrases(w).size(), 3);
        QList<AccentWord> paused{word("名詞 C3 2 0"), word("名詞 C3 2 0")};
        paused[0].pauseAfter = true;
        QCOMPARE(accentPhrases(paused).size(), 2);
        QCOMPARE(wordAccentsAlone({word("名詞 C3 2 0"), word("助詞 名詞%F1 1 0")}).size(), 2);
    }

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
        // はし told apart by their pitch alone.
        QTest::newRow("bridge") << "橋を渡る" << "は/L し/H お/L | わ/L た/H る/H";
        QTest::newRow("chopsticks") << "箸で食べる" << "は/H し/L で/L | た/L べ/H る/L";
        QTest::newRow("compound noun") << "東京都知事" << "と/L お/H きょ/H お/H と/H ち/H じ/L";
        QTest::newRow("number with a counter, nucleus off ん") << "三本" << "さ/H ん/L ぼ/L ん/L";
        QTest::newRow("digits with a counter") << "3本" << "さ/H ん/L ぼ/L ん/L";
        QTest::newRow("verb ending") << "行きました" << "い/L き/H ま/H し/L た/L";
        QTest::newRow("question") << "雨ですか？" << "あ/H め/L で/L す/L か/L 。";
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

    void intonation()
    {
        const auto units = [](const QString &text) {
            return accentUnits(text, spokenUnits(text, Dictionary::shared().analyser()),
                               accentAnalyser()->analyse(text));
        };
        // 雨が降る: the phrase after the accented あめが is a step lower.
        const QList<AccentedUnit> rain = units(QStringLiteral("雨が降る"));
        QCOMPARE(rain.first().downsteps, 0);
        QCOMPARE(rain.last().downsteps, 1);
        QCOMPARE(rain.last().ending, AccentedUnit::Fall);
        // A pause ends the downstep; a question rises at its end.
        const QList<AccentedUnit> asked = units(QStringLiteral("雨が、降りますか？"));
        QCOMPARE(asked[4].downsteps, 0);
        QCOMPARE(asked[asked.size() - 2].ending, AccentedUnit::Rise);
        // き before た loses its vowel; す before the voiced な keeps it.
        const QList<AccentedUnit> heard = units(QStringLiteral("きたすな"));
        QVERIFY(heard[0].devoiced);
        QVERIFY(!heard[1].devoiced);
        QVERIFY(!heard[2].devoiced);
    }
};

KEL_TEST(test_accent, TestAccent)
#include "test_accent.moc"
