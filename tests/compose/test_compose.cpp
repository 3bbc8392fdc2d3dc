// The composed text through the real main window: the editing keys under the
// text pressed and held, copy and paste, picks from the board with the
// suggestions they offer, "△", "▽", a touch on a row and "決定" on the lists.
// Held buttons run their repeat loop on the fake clock.

#include "support/TestMain.h"
#include "compose/Composer.h"
#include "samples/SampleDriving.h"
#include "support/TextInto.h"

using namespace kel;

class TestCompose : public QObject {
    Q_OBJECT

private slots:
    void visits_data();
    void visits() { QFETCH(Visit, v); visit(v); }
    void paste_tenMegabytes_data();
    void paste_tenMegabytes();
};

void TestCompose::visits_data()
{
    QTest::addColumn<Visit>("v");
    const auto keys = [](const char *before, QStringList steps, const char *after) {
        return Visit{.text = before, .steps = steps, .after = after};
    };
    QTest::newRow("ＢＳ on a middle character") << keys("あ[い]う_", {"ＢＳ"}, "[あ]う_");
    QTest::newRow("ＢＳ on the marker: the last character goes") << keys("あいう[_]", {"ＢＳ"}, "あい[_]");
    QTest::newRow("→ without a marker appends and selects it") << keys("あ[い]", {"→"}, "あい[_]");
    QTest::newRow("← moves the block") << keys("あい[う]_", {"←"}, "あ[い]う_");
    QTest::newRow("← at the start does nothing") << keys("[あ]いう_", {"←"}, "[あ]いう_");
    // On the first and last line the block stays where it is, as in a
    // Windows edit box: the box's own key rules, not the toolkit's.
    QTest::newRow("↓ to the next line") << keys("あ[い]う\nかきく_", {"↓"}, "あいう\nか[き]く_");
    QTest::newRow("↓ on the last line stays") << keys("あいう\nか[き]く_", {"↓"}, "あいう\nか[き]く_");
    QTest::newRow("↑ to the previous line") << keys("あいう\nか[き]く_", {"↑"}, "あい[う]\nかきく_");
    QTest::newRow("↑ on the first line") << keys("あ[い]う\nかきく_", {"↑"}, "あい[う]\nかきく_");
    // Held: a step at the press and one every 0.23 s, up to the marker.
    QTest::newRow("→ held 0.22 s: one step") << keys("[あ]いうえ_", {"→0.22"}, "あ[い]うえ_");
    QTest::newRow("→ held 0.24 s: two steps") << keys("[あ]いうえ_", {"→0.24"}, "あい[う]え_");
    QTest::newRow("→ held on: the repeat ends at the marker") << keys("[あ]いう_", {"→…"}, "あいう[_]");
    // Copy and paste lie below the narrow text panel; a paste takes the
    // clipboard's text off it.
    QTest::newRow("copy, in place of what was there, then paste")
        << Visit{.text = "あい[_]", .clipboard = "old", .steps = {"広げる", "コピ｜", "貼る"}, .after = "あい[_]あい_",
                 .screen = "wide text"};
    QTest::newRow("an empty clipboard pastes nothing")
        << Visit{.text = "あい[_]", .steps = {"広げる", "貼る"}, .after = "あい[_]", .screen = "wide text"};

    // A pick on the board; up to "Sample" typed characters are the key, from
    // one more on the last ones, and the sentences they begin are offered.
    const auto pick = [](const char *n, QStringList samples, const QString &before, const QString &entered,
                         const QString &after, QStringList listed) {
        return Visit{.options = {{"Sample", n}}, .talk = records(QStringList{kPlaceholder} + samples),
                     .text = before, .steps = {'+' + entered}, .after = after,
                     .listed = listed, .screen = listed.isEmpty() ? "board" : "suggestions"};
    };
    // Insertion positions of 16 bits would stop at 32,766.
    const QString many(40'000, u'あ');
    QTest::newRow("past position 32,766")
        << pick("2", {}, many.left(35'000) + "[あ]" + many.left(4'999) + '_', "い",
                many.left(35'000) + "い[あ]" + many.left(4'999) + '_', {});
    const QStringList kana{"かさ", "きく", "か", "かきくけ", "きくこ"};
    QTest::newRow("N=1, one typed") << pick("1", kana, "[_]", "か", "か[_]", {"[か]", "かさ", "か", "かきくけ"});
    QTest::newRow("N=2, two typed: both") << pick("2", kana, "か[_]", "き", "かき[_]", {"[かき]", "かきくけ"});
    QTest::newRow("N=2, three typed: the last two")
        << pick("2", kana, "かき[_]", "く", "かきく[_]", {"[きく]", "きく", "きくこ"});
    QTest::newRow("a sentence stored twice is listed twice")
        << pick("2", {"おはよう", "あさ", "おはよう"}, "[_]", "お", "お[_]", {"[お]", "おはよう", "おはよう"});
    QTest::newRow("trailing space: only the sentence equal to the trimmed key")
        << pick("2", {"あいう", "あ", "あい"}, "あ[_]", " ", "あ [_]", {"[あ]", "あ"});
    // Entered in front of the block, which stays; a key cut from the end,
    // "いう", would match.
    // The diary's placeholder line begins with "あ" but is no sentence.
    QTest::newRow("あ: the diary placeholder is never offered")
        << pick("1", {"あさ"}, "[_]", "あ", "あ[_]", {"[あ]", "あさ"});
    QTest::newRow("typing in the middle: no suggestions") << pick("2", {"あさ", "いうえ"}, "[い]う_", "あ", "あ[い]う_", {});
    for (const char *zero : {"0", "0.0"}) {
        Visit off = pick("2", {"あさ"}, "[_]", "あ", "あ[_]", {});
        off.options["Samp"] = zero;
        QTest::addRow("\"Samp\" %s: off", zero) << off;
    }

    // Sixty sentences あり00..あり59: the list from row `top` on, `green` highlighted.
    QStringList sixty;
    for (int i = 0; i < 60; ++i)
        sixty << QStringLiteral("あり%1").arg(i, 2, 10, QLatin1Char('0'));
    const auto view = [&sixty](const QString &key, int top, int green) {
        QStringList out;
        for (int r = top; r <= 60; ++r) {
            const QString s = r ? sixty[r - 1] : key.isEmpty() ? "日記" : key;
            out << (key.isEmpty() ? (r ? "|" : "あ行|") : "") + (r == green ? '[' + s + ']' : s);
        }
        return out;
    };
    // A step at the press and one every 0.23 s while held; nothing is taken.
    const auto nav = [&](const char *before, QStringList steps, const char *after, int top, int green) {
        const bool example = steps.front() == u"例文表示";
        return Visit{.talk = records(QStringList{kPlaceholder} + sixty), .text = before, .steps = steps,
                     .after = after, .listed = view(example ? "" : "あり", top, green),
                     .screen = example ? "example list" : "suggestions"};
    };
    QTest::newRow("▽: second row, no scroll yet") << nav("あ[い]_", {"例文表示", "▽0.3"}, "あ[い]_", 0, 2);
    QTest::newRow("▽: third visible row reached, list scrolls") << nav("あ[い]_", {"例文表示", "▽0.5"}, "あ[い]_", 1, 3);
    QTest::newRow("▽: highlight stays on the third visible row") << nav("あ[い]_", {"例文表示", "▽1"}, "あ[い]_", 3, 5);
    // The highlight goes on up to the key row while the list keeps it out of sight.
    QTest::newRow("△ in the suggestions stops scrolling at row 1") << nav("あ[_]", {"+り", "▽4.5", "△10"}, "あり[_]", 1, 0);
    QTest::newRow("a touch moves only the highlight") << nav("あ[い]_", {"例文表示", "@4"}, "あ[い]_", 0, 4);

    // "決定": a suggestion takes the place of its key ("Sample" is 2: the
    // last two typed, or all when fewer were typed); an example sentence goes in at the caret.
    const auto decide = [](const char *before, QStringList steps, const char *after) {
        return Visit{.talk = records({kPlaceholder, "ありがとう", "おはよう"}), .text = before,
                     .steps = steps << "決定", .after = after};
    };
    QTest::newRow("key after other text") << decide("わたしはあ[_]", {"+り", "@1"}, "わたしはありがとう[_]");
    QTest::newRow("key is the whole text") << decide("あ[_]", {"+り", "@1"}, "ありがとう[_]");
    QTest::newRow("one character typed") << decide("[_]", {"+お", "@1"}, "おはよう[_]");
    QTest::newRow("row 0, the key itself") << decide("わたしはあ[_]", {"+り", "@0"}, "わたしはあり[_]");
    QTest::newRow("example sentence at the caret") << decide("あ[い]_", {"例文表示", "@2"}, "あおはよう[い]_");
}

void TestCompose::paste_tenMegabytes_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<bool>("lines");
    // One route per way in: the program's own button, the box's paste and
    // drop (Ctrl+V takes the drop's way), an input method, a key.
    QTest::newRow("貼る") << "貼る" << true;
    QTest::newRow("drag and drop") << "drop" << true;
    QTest::newRow("input method") << "input method" << false;
    QTest::newRow("typing at the limit") << "typing" << false;
}

void TestCompose::paste_tenMegabytes()
{
    QFETCH(QString, way);
    QFETCH(bool, lines);
    // 10 MB of text: 5,242,880 kana, or lines of 79 kana and a line feed.
    const qsizetype count = 10 * 1024 * 1024 / 2;
    QString big(count, u'あ');
    if (lines)
        for (qsizetype i = 79; i < count - 1; i += 80)
            big[i] = u'\n';

    TalkFixture fx;
    QGuiApplication::clipboard()->setText(big);
    setMarked(fx, "あい[_]");
    fx.click(fx.ui().cmdWide);
    TalkBox *box = fx.box();
    if (way == u"貼る") {
        fx.click(fx.ui().cmdPaste);
    } else if (way == u"typing") {
        setMarked(fx, QString(TalkBox::kMaxLength - 1, u'か') + "[_]");
        QTest::keyClicks(box, QStringLiteral("abc"));
    } else {
        QVERIFY(test::textInto(box, way, big));
    }
    fx.ui().frmTalk->repaint();
    fx.ui().txtHide->setText(QStringLiteral("う"));   // and a pick after it
    fx.win->composer().PutText();
    fx.ui().frmTalk->repaint();

    const QString text = box->text();
    if (way == u"貼る") {
        // The box takes what fits; the rest stays on the clipboard, with a beep.
        QCOMPARE(text.size(), TalkBox::kMaxLength + 1 + 1);
        QCOMPARE(text.first(5), QStringLiteral("あいう_あ"));
        QCOMPARE(text.back(), QChar(u'_'));
        QCOMPARE(QGuiApplication::clipboard()->text().size(), count);
        QCOMPARE(fx.platform.beeps, 1);
    } else {
        // The same limit, whichever way the text came; the pick after it
        // still enters (with the end marker).
        QVERIFY2(text.size() >= TalkBox::kMaxLength && text.size() <= TalkBox::kMaxLength + 2 && text.contains(u'う'),
                 qPrintable(QString::number(text.size())));
    }
    // How long it takes is bench_paste's to say.
}

KEL_TEST(test_compose, TestCompose)
#include "test_compose.moc"
