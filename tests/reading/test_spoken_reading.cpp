// What a text sounds like when spoken: sentences and the units they are
// read as (the dictionary's readings with the rules on top), where each
// unit stands in the text, and the --reading command a caregiver checks a
// sentence with, also without a dictionary.
#include "support/TestMain.h"
#include "reading/Dictionary.h"
#include "reading/SpokenReading.h"
#include "support/Files.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace kel;

class TestSpokenReading : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        Dictionary::shared().waitUntilReady();
        QVERIFY2(Dictionary::shared().analyser(), qPrintable(Dictionary::shared().problem()));
    }

    void units_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("units");
        // Kanji in context, particles as pronounced.
        QTest::newRow("kanji with kana between") << "看護師さんを呼んでください" << "か ん ご し さ ん お よ ん で く だ さ い";
        QTest::newRow("今日 in context") << "今日は晴れ" << "きょ お わ は れ";
        QTest::newRow("へ as え, っ a silent beat") << "学校へ行った" << "が っ こ お え い っ た";
        // Long vowels as the vowel's own beat, pairs as one mora.
        QTest::newRow("えい in a typed noun") << "せんせい" << "せ ん せ え";
        QTest::newRow("ー and loan pairs") << "ティーカップとコーヒー" << "てぃ い か っ ぷ と こ お ひ い";
        QTest::newRow("えい in a kanji noun, not in katakana") << "計画とエイズ" << "け え か く と え い ず";
        QTest::newRow("no long vowel from kana into a kanji") << "ため息" << "た め い き";
        QTest::newRow("no suffix begins a phrase") << "誰かが、君に" << "だ れ か が 、 き み に";
        QTest::newRow("言う as ゆう") << "そう言うこと" << "そ お ゆ う こ と";
        QTest::newRow("volitional う lengthens") << "行きましょう" << "い き ま しょ お";
        QTest::newRow("何 before の, a counter") << "何の何名" << "な ん の な ん め え";
        QTest::newRow("後 as あと") << "食べた後で" << "た べ た あ と で";
        QTest::newRow("語 alone as ご, 奴 as やつ") << "この語は、パーフェクトな奴だ" << "こ の ご わ 、 ぱ あ ふぇ く と な や つ だ";
        QTest::newRow("words the dictionary cuts in pieces") << "占星学と再入とロン毛" << "せ ん せ え が く と さ い にゅ う と ろ ん げ";
        QTest::newRow("ある種 before の only, おべっか使い") << "おべっか使いのある種の人、ある種を" << "お べ っ か つ か い の あ る しゅ の ひ と 、 あ る た ね お";
        QTest::newRow("yōon") << "しゅくだいをちょっと" << "しゅ く だ い お ちょ っ と";
        // Typed kana keep their morae wherever the analyser cuts its words.
        QTest::newRow("yōon and ー across words") << "ひゅーずがとんだ" << "ひゅ う ず が と ん だ";
        QTest::newRow("ー after a yōon") << "しょーとにゃー" << "しょ お と にゃ あ";
        QTest::newRow("small kana after a one-kana word") << "きゃつは" << "きゃ つ は";
        QTest::newRow("ー after ん and at the start") << "ーうーんー" << "う う ん ん";
        QTest::newRow("ー alone and after a sign") << "ーーー★ー" << "★";
        QTest::newRow("small vowel lengthens") << "ねぇ" << "ね え";
        QTest::newRow("small kana first or after a sign") << "ぁあ★ゃ" << "あ あ ★ や";
        // Particles in kana text, decided by the analyser; never first.
        QTest::newRow("は particle in kana") << "きょうはいいてんきですね" << "きょ お わ い い て ん き で す ね";
        QTest::newRow("は first in a sentence") << "はい。はやく" << "は い 。 は や く";
        // Loan-word morae as written, whatever the set has.
        QTest::newRow("ゔ morae") << "ゔぁいおりんとヴェネツィア" << "ゔぁ い お り ん と ゔぇ ね つぃ あ";
        QTest::newRow("morae beyond the common pairs") << "テョ、キェ、スィ" << "てょ 、 きぇ 、 すぃ";
        // Numbers in their usual readings, with counters.
        QTest::newRow("people") << "1人と二人と3人" << "ひ と り と ふ た り と さ ん に ん";
        QTest::newRow("date") << "4月1日" << "し が つ つ い た ち";
        QTest::newRow("time") << "9時10分" << "く じ じゅ っ ぷ ん";
        QTest::newRow("money with a comma") << "1,000円" << "せ ん え ん";
        QTest::newRow("things") << "6本と20本と8個" << "ろ っ ぽ ん と に じゅ っ ぽ ん と は っ こ";
        QTest::newRow("full-width year") << "１４７３年" << "せ ん よ ん ひゃ く な な じゅ う さ ん ね ん";
        QTest::newRow("nights") << "一晩と二晩と3晩" << "ひ と ば ん と ふ た ば ん と さ ん ば ん";
        QTest::newRow("kanji numerals") << "三百五十円" << "さ ん びゃ く ご じゅ う え ん";
        QTest::newRow("decimal") << "3.5" << "さ ん て ん ご";
        QTest::newRow("20 digits") << "12345678901234567890"
                                   << "せ ん に ひゃ く さ ん じゅ う よ ん け い ご せ ん ろ っ ぴゃ く な な じゅ う は ち ちょ お "
                                      "きゅ う せ ん じゅ う に お く さ ん ぜ ん よ ん ひゃ く ご じゅ う ろ く ま ん "
                                      "な な せ ん は っ ぴゃ く きゅ う じゅ う";
        QTest::newRow("phone number") << "090-1234-5678"
                                      << "ぜ ろ きゅ う ぜ ろ 、 い ち に さ ん よ ん 、 ご ろ く な な は ち";
        QTest::newRow("clock time") << "10:30と9:00" << "じゅ う じ さ ん じゅ っ ぷ ん と く じ";
        QTest::newRow("dates") << "2026/4/1と4/1" << "に せ ん に じゅ う ろ く ね ん し が つ つ い た ち と し が つ つ い た ち";
        QTest::newRow("days past ten: しち, く") << "17日と29日間" << "じゅ う し ち に ち と に じゅ う く に ち か ん";
        QTest::newRow("twenty years, days, minutes") << "20歳、3日間、5分間" << "は た ち 、 み っ か か ん 、 ご ふ ん か ん";
        QTest::newRow("units") << "500ml、3kg、25℃" << "ご ひゃ く み り り っ と る 、 さ ん き ろ ぐ ら む 、 に じゅ う ご ど";
        QTest::newRow("yen sign before") << "¥500です" << "ご ひゃ く え ん で す";
        QTest::newRow("何百, 何千") << "何百人も何千も" << "な ん びゃ く に ん も な ん ぜ ん も";
        QTest::newRow("kanji digits without places") << "一二歩と二〇二六年" << "い ち に ほ と に せ ん に じゅ う ろ く ね ん";
        QTest::newRow("21 digits: one by one") << "1" + QString(20, u'0') << "い ち" + QStringLiteral(" ぜ ろ").repeated(20);
        // Pauses: one short or long pause where marks and spaces meet, none first.
        QTest::newRow("pauses") << "　はい、そう。\n\nいいえ  はい" << "は い 、 そ お 。 い い え 、 は い";
        QTest::newRow("a sentence between two") << "はい。水です。いいえ" << "は い 。 み ず で す 。 い い え";
        // Letters by their own sounds; nothing is skipped.
        QTest::newRow("Latin letters") << "ＡとBc" << "A と B c";
        QTest::newRow("symbols only") << "★☆♪" << "★ ☆ ♪";
        QTest::newRow("emoji whole") << "😀あ😀" << "😀 あ 😀";
        QTest::newRow("lone surrogate and NUL keep their places")
            << QStringLiteral("水") + QChar(0xD800) + u'の' + QChar(0) + QStringLiteral("今日")
            << QStringLiteral("み ず ") + QChar(0xD800) + QStringLiteral(" の ") + QChar(0) + QStringLiteral(" きょ お");
        QTest::newRow("half-width katakana") << "ｷｬﾝｾﾙとｶﾞｰﾄﾞ" << "きゃ ん せ る と が あ ど";
        QTest::newRow("unknown katakana word") << "ポンコツァヴィ" << "ぽ ん こ つぁ ゔぃ";
        // Where each unit stands in the text ("unit=characters"): what the
        // highlight covers. The default reading plays digits by their own
        // sounds and a character without a sound by its own part, so a
        // counter must hold its own morae.
        QTest::newRow("spans: kanji, kana, emoji") << "今日呼んで😀" << "きょ=今 お=日 よ=呼 ん=ん で=で 😀=😀";
        QTest::newRow("spans: yen") << "100円" << "ひゃ=1 く=00 え=円 ん=円";
        QTest::newRow("spans: people") << "5人" << "ご=5 に=人 ん=人";
        QTest::newRow("spans: one person") << "1人" << "ひ=1 と=人 り=人";
        QTest::newRow("spans: sound change") << "3本" << "さ=3 ん=3 ぼ=本 ん=本";
        QTest::newRow("spans: month counter of two characters") << "3ヶ月" << "さ=3 ん=3 か=ヶ げ=ヶ つ=月";
    }

    void units()
    {
        QFETCH(QString, text);
        QFETCH(QString, units);
        QStringList got;
        for (const SpokenUnit &u : spokenUnits(text, Dictionary::shared().analyser()))
            got << (units.contains(u'=') ? u.text + u'=' + text.mid(u.from, u.length) : u.text);
        QCOMPARE(got.join(u' '), units);
    }

    // --reading: TEXT, or each line of standard input. The dictionary is the
    // one the rules are written for, whatever MeCab's default is; a broken or
    // missing one still reads kana and says in one Japanese line why kanji
    // are silent.
    void command_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QString>("dictionary"); // "", "broken", "missing", or "broken default": MeCab's own
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("why");
        const QStringList water{"--reading", "水をください"};
        QTest::newRow("TEXT") << water << QByteArray() << "" << QByteArray("み ず お く だ さ い\n") << QByteArray();
        QTest::newRow("lines of input") << QStringList{"--reading"} << QByteArray("きょう\r\n\n本を2冊\n") << ""
                                        << QByteArray("きょ お\n\nほ ん お に さ つ\n") << QByteArray();
        QTest::newRow("MeCab's default broken: not used") << water << QByteArray() << "broken default"
                                                          << QByteArray("み ず お く だ さ い\n") << QByteArray();
        QTest::newRow("broken dictionary") << water << QByteArray() << "broken" << QByteArray("水 お く だ さ い\n")
                                           << QByteArray("の辞書を読めません (壊れています)");
        // Without a dictionary: kana as written (は too), ー as a vowel,
        // kanji as themselves, digits with their counter.
        QTest::newRow("missing dictionary") << QStringList{"--reading"} << QByteArray("水をください\nわたしはコーヒー\n水を3本\n")
                                            << "missing"
                                            << QByteArray("水 お く だ さ い\nわ た し は こ お ひ い\n水 お さ ん ぼ ん\n")
                                            << QByteArray("に辞書がありません");
    }
    void command()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, input);
        QFETCH(QString, dictionary);
        QFETCH(QByteArray, why);
        QTemporaryDir dir;
        // A dictionary folder holding a damaged dictionary.
        QVERIFY(test::writeFile(dir.filePath("mecabrc"), "dicdir = " + QFile::encodeName(dir.path()) + "\n"));
        QVERIFY(test::writeFile(dir.filePath("sys.dic"), QByteArray(4096, 'x')));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("KELVORAN_DICDIR");
        if (dictionary == u"broken default")
            env.insert("MECABRC", dir.filePath("mecabrc"));
        else if (!dictionary.isEmpty())
            env.insert("KELVORAN_DICDIR", dictionary == u"broken" ? dir.path() : dir.filePath("none"));
        const test::Ran p = test::runProgram(KELVORAN_PATH, args, env, input, 30'000);
        QTEST(p.out, "out");
        QCOMPARE(p.code, why.isEmpty() ? 0 : 1);
        if (why.isEmpty()) {
            QCOMPARE(p.err, QByteArray());
        } else {
            // One line, in Japanese but for the program's, the folder's and MeCab's names.
            QCOMPARE(p.err.count('\n'), 1);
            QVERIFY2(p.err.contains("漢字は読み上げません") && p.err.contains(why), p.err.constData());
            QVERIFY2(!QString::fromUtf8(p.err).remove(QRegularExpression("kelvoran|MeCab|mecab-ipadic-utf8|/[^ ]*"))
                          .contains(QRegularExpression("[A-Za-z]")), p.err.constData());
        }
    }
};

KEL_TEST(test_spoken_reading, TestSpokenReading)
#include "test_spoken_reading.moc"
