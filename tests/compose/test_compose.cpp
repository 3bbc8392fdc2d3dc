// The composed text through the real main window: the editing keys under the
// text pressed and held, copy and paste, and picks from the board with the
// suggestions they offer. Held buttons run their repeat loop on the fake
// clock; a release is scheduled on it before the press. Texts are written
// with the block in brackets: "あ[い]う_".

#include "compose/Composer.h"
#include "samples/SampleDriving.h"
#include "support/TextInto.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QFrame>
#include <optional>

using namespace kel;

namespace {

void setMarked(TalkFixture &fx, const QString &marked)
{
    const qsizetype open = marked.indexOf(u'['), close = marked.indexOf(u']');
    fx.setText(QString(marked).remove(close, 1).remove(open, 1), open, close - open - 1);
}

// A quick touch on the button showing `caption`, grey while held and white
// once released whatever its colour before. A repeating key sees the release
// in its first wait; one that acted at once returns first, and the clock is
// run on to the release.
void tap(TalkFixture &fx, const QString &caption)
{
    ColorButton *b = button(fx, caption);
    b->setBackColor(QColor(1, 2, 3));
    std::optional<QColor> whileHeld;
    fx.clock.after(0.1, [&whileHeld, b] { whileHeld = b->backColor(); postRelease(b); });
    fx.press(b);
    if (!whileHeld)
        fx.clock.sleepFor(std::chrono::milliseconds(100));
    fx.settle();
    QVERIFY2(whileHeld == QColor(128, 128, 128) && b->backColor() == kWhite, qPrintable(caption));
}

// Enters each character of `text` with a touch on the board, which enters at
// once with "OPT1" = "2". The character is written into the touched cell
// first, so that any, a space included, is picked the way a cell's own is.
void enter(TalkFixture &fx, const QString &text)
{
    for (const QChar ch : text) {
        fx.ui().grdBoard->setTextMatrix(0, 0, ch);
        fx.touchCell(fx.ui().grdBoard, 0, 0);
        fx.settle();
    }
}

} // namespace

class TestCompose : public QObject {
    Q_OBJECT

private slots:
    void keys_data();
    void keys();
    void holdRight();
    void paste_tenMegabytes_data();
    void paste_tenMegabytes();
    void entering_data();
    void entering();
};

void TestCompose::keys_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("keys");       // tapped in turn
    QTest::addColumn<QString>("clipboard");  // before the taps
    QTest::addColumn<QString>("after");

    QTest::newRow("ＢＳ on a middle character") << "あ[い]う_" << "ＢＳ" << "" << "[あ]う_";
    QTest::newRow("ＢＳ on the marker: the last character goes") << "あいう[_]" << "ＢＳ" << "" << "あい[_]";
    QTest::newRow("→ moves the block") << "[あ]いう_" << "→" << "" << "あ[い]う_";
    QTest::newRow("→ without a marker appends and selects it") << "あ[い]" << "→" << "" << "あい[_]";
    QTest::newRow("← moves the block") << "あい[う]_" << "←" << "" << "あ[い]う_";
    QTest::newRow("← at the start does nothing") << "[あ]いう_" << "←" << "" << "[あ]いう_";
    // On the first and last line the block stays where it is, as in a
    // Windows edit box: the box's own key rules, not the toolkit's.
    QTest::newRow("↓ to the next line") << "あ[い]う\nかきく_" << "↓" << "" << "あいう\nか[き]く_";
    QTest::newRow("↓ on the last line stays") << "あいう\nか[き]く_" << "↓" << "" << "あいう\nか[き]く_";
    QTest::newRow("↑ to the previous line") << "あいう\nか[き]く_" << "↑" << "" << "あい[う]\nかきく_";
    QTest::newRow("↑ on the first line") << "あ[い]う\nかきく_" << "↑" << "" << "あい[う]\nかきく_";
    // A paste takes the clipboard's text off it.
    QTest::newRow("copy, in place of what was there, then paste")
        << "あい[_]" << "コピ｜ 貼る" << "old" << "あい[_]あい_";
    QTest::newRow("an empty clipboard pastes nothing") << "あい[_]" << "貼る" << "" << "あい[_]";
}

void TestCompose::keys()
{
    QFETCH(QString, before);
    QFETCH(QString, keys);
    QFETCH(QString, clipboard);

    TalkFixture fx;
    setMarked(fx, before);
    QGuiApplication::clipboard()->setText(clipboard);
    if (keys.contains(u"貼る"))
        fx.click(fx.ui().cmdWide); // copy and paste lie below the narrow text panel
    for (const QString &key : keys.split(u' '))
        tap(fx, key);

    QTEST(fx.marked(), "after");
    QCOMPARE(QGuiApplication::clipboard()->text(), QString());
}

void TestCompose::holdRight()
{
    // Held: a step at the press and one every 0.23 s, up to the marker.
    TalkFixture fx;
    ColorButton *right = button(fx, "→");
    setMarked(fx, "[あ]いう_");
    const std::map<double, QString> expected{{0.1, "あ[い]う_"}, {0.22, "あ[い]う_"}, {0.24, "あい[う]_"},
                                             {0.45, "あい[う]_"}, {0.47, "あいう[_]"}};
    std::map<double, QString> seen;
    for (const auto &[at, _] : expected)
        fx.clock.after(at, [&fx, &seen, at = at] { seen[at] = fx.marked(); });

    fx.press(right);  // never released: the loop must end by itself

    QCOMPARE(seen, expected);
    QCOMPARE(fx.marked(), QStringLiteral("あいう[_]"));
    QVERIFY(fx.st().ButtonHeld);
    fx.release(right);

    // Released after the second step: the loop ends in its wait.
    setMarked(fx, "[あ]いうえおかきく_");
    fx.clock.after(0.3, [right] { postRelease(right); });
    fx.press(right);
    QCOMPARE(fx.marked(), QStringLiteral("あい[う]えおかきく_"));
    QVERIFY(!fx.st().ButtonHeld);
}

void TestCompose::paste_tenMegabytes_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<bool>("lines");
    QTest::newRow("貼る, text of lines") << "貼る" << true;
    QTest::newRow("貼る, one line") << "貼る" << false;
    QTest::newRow("keyboard Ctrl+V") << "Ctrl+V" << false;
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
    QElapsedTimer timer;
    timer.start();
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
    fx.talk().compose->PutText();
    fx.ui().frmTalk->repaint();
    const qint64 ms = timer.elapsed();

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
        QVERIFY2(text.size() <= TalkBox::kMaxLength + 2, qPrintable(QString::number(text.size())));
        QVERIFY2(text.size() >= TalkBox::kMaxLength, qPrintable(QString::number(text.size())));
        QVERIFY(text.contains(u'う'));
    }
    // Generous: a frozen window (seconds) is the fault looked for.
    QVERIFY2(ms < 1500, qPrintable(QString::number(ms)));
}

void TestCompose::entering_data()
{
    QTest::addColumn<QString>("n");  // "Sample"
    QTest::addColumn<QString>("samp");
    QTest::addColumn<QStringList>("samples");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("entered");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QStringList>("listed");  // the key, then the matches; none: the board stays

    QTest::newRow("at the end: block on the marker") << "2" << "1" << QStringList() << "あ[_]" << "い"
                                                     << "あい[_]" << QStringList();
    QTest::newRow("in the middle: in front of the block, which stays")
        << "2" << "1" << QStringList() << "あ[う]_" << "い" << "あい[う]_" << QStringList();
    // Insertion positions of 16 bits would stop at 32,766.
    const QString many(40'000, u'あ');
    QTest::newRow("past position 32,766") << "2" << "1" << QStringList()
                                          << many.left(35'000) + "[あ]" + many.left(4'999) + u'_' << "い"
                                          << many.left(35'000) + "い[あ]" + many.left(4'999) + u'_' << QStringList();
    // Up to N typed characters are the key; from N + 1 on, the last N.
    const QStringList kana{"かさ", "きく", "か", "かきくけ", "きくこ"};
    QTest::newRow("N=1, one typed") << "1" << "1" << kana << "[_]" << "か" << "か[_]"
                                    << QStringList{"か", "かさ", "か", "かきくけ"};
    QTest::newRow("N=1, two typed: the last") << "1" << "1" << kana << "か[_]" << "き" << "かき[_]"
                                              << QStringList{"き", "きく", "きくこ"};
    QTest::newRow("N=2, two typed: both") << "2" << "1" << kana << "か[_]" << "き" << "かき[_]"
                                          << QStringList{"かき", "かきくけ"};
    QTest::newRow("N=2, three typed: the last two") << "2" << "1" << kana << "かき[_]" << "く" << "かきく[_]"
                                                    << QStringList{"きく", "きく", "きくこ"};
    QTest::newRow("a sentence stored twice is listed twice")
        << "2" << "1" << QStringList{"おはよう", "あさ", "おはよう"} << "[_]" << "お" << "お[_]"
        << QStringList{"お", "おはよう", "おはよう"};
    QTest::newRow("trailing space: only the sentence equal to the trimmed key")
        << "2" << "1" << QStringList{"あいう", "あ", "あい"} << "あ[_]" << " " << "あ [_]" << QStringList{"あ", "あ"};
    // A key cut from the end, "いう", would match.
    QTest::newRow("typing in the middle: no suggestions") << "2" << "1" << QStringList{"あさ", "いうえ"}
                                                          << "[い]う_" << "あ" << "あ[い]う_" << QStringList();
    QTest::newRow("\"Samp\" off") << "2" << "0" << QStringList{"あさ"} << "[_]" << "あ" << "あ[_]" << QStringList();
}

void TestCompose::entering()
{
    QFETCH(QString, n);
    QFETCH(QString, samp);
    QFETCH(QStringList, samples);
    QFETCH(QString, before);
    QFETCH(QString, entered);
    QFETCH(QStringList, listed);

    TalkFixture fx({{"OPT1", "2"}, {"Sample", n}, {"Samp", samp}});
    fx.st().Samples = samples;
    setMarked(fx, before);
    enter(fx, entered);

    QTEST(fx.marked(), "after");
    const Controls &u = fx.ui();
    QStringList offered;
    for (int r = 0; u.grdSp->isVisible() && r < u.grdSp->Rows(); ++r)
        offered << u.grdSp->TextMatrix(r, 0);
    QCOMPARE(offered, listed);
    QCOMPARE(u.grdBoard->isVisible() && u.fraRes->isVisible(), listed.isEmpty());
}

QTEST_MAIN(TestCompose)
#include "test_compose.moc"
