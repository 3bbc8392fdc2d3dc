// The main window as a user meets it: title, controls at their places,
// the board's modes, the text panel's two sizes, full-screen scaling, the
// ways out, and what it says at start about missing places.
#include "support/TestMain.h"
#include "samples/SampleDriving.h"

#include "frame/FrmOK.h"

#include "widgets/LineBreaks.h"

#include <QHeaderView>
#include <QScreen>
#include <QTextLayout>

using namespace kel;

namespace {

// The mode key and the board's last row, the wide key, the text panel's and
// the box's heights, where the focus is, the beeps and the ends asked for.
QString look(TalkFixture &f)
{
    const Controls &u = f.ui();
    QString row;
    for (int c = 0; c < u.grdBoard->Cols(); ++c)
        row += u.grdBoard->TextMatrix(4, c);
    const char *where = !f.win->isVisible() ? "hidden" : u.fraSet->isVisible() ? "enlarged"
                      : f.box()->hasFocus() ? "focus" : "";
    return QStringLiteral("%1 %2|%3 %4/%5|%6|%7 beeps, %8 quits")
        .arg(u.cmdKey->text(), row, u.cmdWide->text())
        .arg(f.win->layout().rect(u.fraText).height())
        .arg(f.win->layout().rect(u.txtTalk).height())
        .arg(QLatin1String(where))
        .arg(f.platform.beeps)
        .arg(f.quits);
}

} // namespace

class TestFrmTalk : public QObject {
    Q_OBJECT
private slots:
    // Steps as drive() takes them, or "close", the window's close box, from
    // `text` in the box ("": as at start; else only the end is looked at),
    // the end's question answered with キャンセル (answered ＯＫ, by a
    // resting pointer: test_access).
    // "Beep" is on, so that every beep counts.
    // "終了" asks before words not yet read aloud or stored are lost, with
    // "キャンセル" the default, the answer Enter takes; otherwise it ends at once.
    void touches_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("shows");
        const QString hira = "ひら 、ろ？もほのとそこお|", narrow = "広げる 1515/1455|", at = hira + narrow;
        QTest::newRow("at start") << "" << "" << at + "focus|0 beeps, 0 quits";
        // One touch's mode: test_options_dialog (the key), test_boardtouch (the cells).
        QTest::newRow("ひら カタ 英数: hiragana again") << "" << "ひら カタ 英数" << at + "focus|0 beeps, 0 quits";
        // From the design height of 1515 to the window's height less 2230,
        // and back to 1635.
        QTest::newRow("広げる") << "" << "広げる" << hira + "狭める 6440/6290|focus|0 beeps, 0 quits";
        QTest::newRow("狭める") << "" << "広げる 狭める" << hira + "広げる 1635/1455|focus|0 beeps, 0 quits";
        // One beep as it opens (the rest of opening: test_boardtouch), one at 戻る.
        QTest::newRow("か opens the enlarged screen, its 戻る beeps and closes it")
            << "" << "#0,8 戻る" << at + "focus|2 beeps, 0 quits";
        QTest::newRow("終了, empty box: ends unasked") << "" << "終了" << at + "hidden|0 beeps, 1 quits";
        QTest::newRow("the close box") << "" << "close" << at + "hidden|0 beeps, 1 quits";
        QTest::newRow("終了, only spaces: ends") << "  _" << "終了" << "1 quits";
        QTest::newRow("終了, unread words: asks, キャンセル stays") << "みず_" << "終了" << "0 quits, asked";
        QTest::newRow("終了, read aloud: ends") << "みず_" << "読む 終了" << "1 quits";
        QTest::newRow("終了, changed after reading: asks") << "みず_" << "読む ＢＳ 終了" << "0 quits, asked";
        QTest::newRow("終了, stored as an example: ends") << "みず_" << "例文追加 例文終了 終了" << "1 quits";
    }

    void touches()
    {
        QFETCH(QString, text);
        QFETCH(QString, steps);
        TalkFixture f({{"Beep", "1"}});
        if (!text.isEmpty())
            f.setText(text, text.size() - 1, 1);
        QStringList asked;
        if (steps == u"close")
            f.win->close();
        else
            asked = drive(f, steps, {1}, true);
        const QString question = "終了|終了してもよろしいですか？|ＯＫ|[キャンセル]";
        QVERIFY2(asked.isEmpty() || asked == QStringList{question}, qPrintable(asked.join(u'\n')));
        QTEST((text.isEmpty() ? look(f) : look(f).section(u' ', -2)) + (asked.isEmpty() ? "" : ", asked"), "shows");
    }

    // The title and the fonts at the design size, then everything scaled to
    // full screen. (Which controls show and can be touched: test_reach; the
    // text size the options set: test_options_dialog; the text box's type
    // bold: test_fit.)
    void fullScreenScalesEverything()
    {
        TalkFixture fx;
        QCOMPARE(fx.win->windowTitle(), QStringLiteral("Kelvoran!  Ver 1.3"));
        // Points become pixels explicitly, whatever the display's DPI.
        QCOMPARE(fx.ui().cmdKey->font().pixelSize(), 37);          // 27.75 pt
        QCOMPARE(fx.ui().grdBoard->font().pixelSize(), 59);        // 44.25 pt
        fx.win->resize(1920, 1080);
        settle();
        // The design's 8160 twips high fill the screen's height, centred across.
        const double scale = fx.win->twips().scale();
        QWidget *canvas = fx.ui().canvas;
        QCOMPARE(canvas->height(), 1080);
        QCOMPARE(canvas->x(), (1920 - canvas->width()) / 2);
        FlexGrid *g = fx.ui().grdBoard;
        QCOMPARE(g->geometry(), fx.win->twips().px(QRect(60, 1620, 11685, 4695)));
        QCOMPARE(fx.ui().cmdKey->font().pixelSize(), qRound(27.75 * 20 * scale / 15));
        QCOMPARE(g->horizontalHeader()->sectionSize(3), qRound(1180 * scale / 15));

        // A touch anywhere in a cell takes that cell: near its corner, too.
        const QRect cell = g->cellRect(3, 2);
        press(g->viewport(), cell.topLeft() + QPoint(2, 2));
        QCOMPARE(fx.st().BoardRow, 3);
        QCOMPARE(fx.st().BoardCol, 2);
        release(g->viewport(), cell.topLeft() + QPoint(2, 2));
    }

    // The question dialog's buttons, call after call: caption and design
    // rectangle (twips) of each button shown. A notice centres its one
    // button; the next question puts both back; a long message wraps in its
    // label and moves nothing. The first button answers True.
    void questionButtons_data()
    {
        QTest::addColumn<QList<int>>("codes");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("shown");
        const QString ok = "ＯＫ 300,2280,4365,1635 キャンセル 5460,2280,4365,1635";
        // Three sentences, on lines of their own: both dialogs grow alike.
        QTest::newRow("notice, then a question")
            << QList<int>{kAskNotice, kAskOkCancel}
            << "例文を保存できませんでした。\nディスクがいっぱいです。いらないファイルを消して、もう一度お試しください。\n何も変えていません。"
            << QStringList{"OK 3500,2280,4365,1635", ok};
        QTest::newRow("yes and no") << QList<int>{kAskYesNo} << "日記を登録して終了します"
                                    << QStringList{"ＹＥＳ 300,2280,4365,1635 ＮＯ 5460,2280,4365,1635"};
        QTest::newRow("a long message") << QList<int>{kAskOkCancel} << QString(60, u'あ') << QStringList{ok};
        QTest::newRow("a message longer than the screen") << QList<int>{kAskOkCancel} << QString(900, u'あ') << QStringList{ok};
    }

    void questionButtons()
    {
        QFETCH(QList<int>, codes);
        QFETCH(QString, message);
        TalkFixture fx;
        QStringList shown;
        for (const int code : codes) {
            // Looks, then answers: a failed check must not leave the dialog open.
            const ModalScript script({{"frmOK", [&](QWidget *dialog) {
                const TwipsMap &map = fx.win->twips();
                const auto *label = dialog->findChild<QLabel *>("lblOK");
                QStringList seen;
                // A long message grows the label downwards (or scrolls in
                // it), the buttons with it; its text is never cut.
                const QRect area = label->parentWidget() == dialog ? label->geometry()
                                                                   : label->parentWidget()->parentWidget()->geometry();
                const QRect designed = map.px(QRect(240, 120, 9645, 1965));
                const int grown = area.height() - designed.height();
                if (area.topLeft() != designed.topLeft() || area.width() != designed.width() || grown < 0)
                    seen << "label moved";
                if (label->height() < label->heightForWidth(label->width()))
                    seen << "text cut";
                if (!dialog->screen()->availableGeometry().contains(dialog->frameGeometry()))
                    seen << "off the screen";
                for (const QRect design : {QRect(300, 2280, 4365, 1635), QRect(3500, 2280, 4365, 1635), QRect(5460, 2280, 4365, 1635)})
                    for (auto *b : dialog->findChildren<QPushButton *>())
                        if (b->isVisible() && b->geometry() == map.px(design).translated(0, grown))
                            seen << b->text() + QStringLiteral(" %1,%2,%3,%4").arg(design.x()).arg(design.y()).arg(design.width()).arg(design.height());
                shown << seen.join(u' ');
                click(dialog->findChild<QPushButton *>("cmdOK0"));
            }}});
            AskUser(fx.talk(), message, code, QStringLiteral("例文登録"));
            QVERIFY(fx.st().AskAnswer);
        }
        QTEST(shown, "shown");
    }

    // A wrapped question never leaves the end of its sentence alone on a
    // line: laid out at every width from three characters up, no line starts
    // inside the kept ending.
    void sentenceEndsStayTogether_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("ending");
        QTest::newRow("ですか？") << "終了してもよろしいですか？" << "ですか？";
        QTest::newRow("戻しました。") << "バックアップから元に戻しました。" << "戻しました。";
        QTest::newRow("two sentences") << "書けませんでした。もう一度お試しください。" << "ください。";
    }

    void sentenceEndsStayTogether()
    {
        QFETCH(QString, message);
        QFETCH(QString, ending);
        QFont font;
        font.setPixelSize(48);
        const QString joined = keepSentenceEndsTogether(message);
        QCOMPARE(QString(joined).remove(QChar(0x2060)), message);
        for (int width = 3 * 48; width < 48 * int(message.size()); width += 7) {
            QTextLayout layout(joined, font);
            layout.beginLayout();
            for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
                line.setLineWidth(width);
                const QString rest = joined.mid(line.textStart()).remove(QChar(0x2060));
                for (qsizetype k = 1; k < ending.size() && line.textStart() > 0; ++k)
                    QVERIFY2(!rest.startsWith(ending.mid(k)) || !message.endsWith(rest),
                             qPrintable(QStringLiteral("line starts with %1 at %2 px").arg(rest).arg(width)));
            }
            layout.endLayout();
        }
    }
};

KEL_TEST(test_frmtalk, TestFrmTalk)
#include "test_frmtalk.moc"
