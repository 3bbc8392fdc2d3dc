// The settings dialogs and the highlight by switch: each dialog by its
// groups in reading order with its safe default first, drop-downs and
// number boxes stepped through their values, and the highlight frame around
// its item at every window size. (Every control offered: test_fit.)
#include "support/TestMain.h"
#include "access/SwitchUser.h"

#include "access/AccessControl.h"
#include "access/AccessOverlay.h"
#include "access/ScanOrder.h"
#include "access/ScanScreen.h"

#include <QComboBox>

using namespace kel;
using namespace kel::test;

class TestAccessDialogs : public QObject {
    Q_OBJECT
private slots:
    // Stepping through a drop-down's values shows each in the box; a
    // one-switch user who lets the rounds run out keeps the old value.
    void valuesShownInTheBox()
    {
        TalkFixture fx(settings("Scan=1;ScanSettings=1;SwitchLock=0;ScanRounds=1"));
        QStringList shown;
        ModalScript script({{"frmOPT", [&](QWidget *d) {
            auto *list = child<QComboBox>(d, "cmbSample");
            AccessControl &a = fx.win->access();
            tap(fx, Qt::Key_Space);   // "確定" first
            shown << a.screen().groups[a.scanner()->group()].items[0].text;
            // Along the groups to the drop-down's, then along its items.
            const auto [g, i] = find(a.screen(), QStringLiteral("２"));
            while (a.scanner()->group() != g)
                pass(fx, 100);
            tap(fx, Qt::Key_Space);
            while (a.scanner()->item() != i)
                pass(fx, 100);
            tap(fx, Qt::Key_Space);
            for (int k = 0; k < 5; ++k) {
                shown << list->currentText();
                pass(fx, k == 0 ? 1500 : 1000);
            }
            shown << (a.editing() ? "editing" : "left") << list->currentText();
            click(child(d, "cmdOK1"));
        }}});
        TalkFixture::click(fx.ui().cmdOpt);
        QVERIFY(script.done());
        QCOMPARE(shown.join(u' '), QStringLiteral("確定 ２ ３ ４ ５ １ left ２"));
        QCOMPARE(fx.store->value("Sample"), std::optional<QString>("2"));
    }

    // The frame shows on all four sides of its item, in the frame colour
    // just outside the item's edge, or inside the window where the window's
    // edge cuts the item: the あ column of a window twice the design size,
    // and the question's buttons near the dialog's bottom and right edges.
    // Its thickness grows with the window. (That it hides no caption:
    // test_fit.)
    void frameOnEverySide()
    {
        TalkFixture fx(settings("Scan=2;SwitchLock=0"));
        tap(fx, Qt::Key_Space);
        const int thin = fx.win->access().overlay()->thickness();
        fx.win->resize(FrmTalk::designSize() * 2);
        QCoreApplication::processEvents();
        pass(fx, 10);
        QCOMPARE(fx.win->access().overlay()->thickness(), thin * 2);
        const auto framed = [&fx](QWidget *w) {
            const AccessOverlay *o = w->findChild<AccessOverlay *>();
            const QRect h = o->highlight();
            const int m = o->thickness() + 6;
            const QImage shot = w->grab().toImage();
            const QRect in = shot.rect();
            // Along the middle lines across each edge, from outside (or the window's edge) in.
            QString sides;
            const QPoint c = h.center();
            for (auto [from, step] : {std::pair{QPoint(std::max(h.left() - m, in.left()), c.y()), QPoint(1, 0)},
                                      {QPoint(std::min(h.right() + m, in.right()), c.y()), QPoint(-1, 0)},
                                      {QPoint(c.x(), std::max(h.top() - m, in.top())), QPoint(0, 1)},
                                      {QPoint(c.x(), std::min(h.bottom() + m, in.bottom())), QPoint(0, -1)}}) {
                bool shows = false;
                for (int k = 0; k <= 2 * m; ++k)
                    shows = shows || shot.pixelColor(from + k * step) == AccessOverlay::kFrameColour;
                sides += shows ? u'1' : u'0';
            }
            const AccessControl &a = fx.win->access();
            return QStringLiteral("%1 %2 %3").arg(a.screen().groups[a.scanner()->group()].items[0].text.trimmed())
                .arg(h.right() > in.right() ? "cut" : "whole").arg(sides);
        };
        QStringList seen{framed(fx.win.get())};
        ModalScript script({{"frmOK", [&](QWidget *d) {
            seen << framed(d);   // the scan goes on from ＯＫ, then to キャンセル
            tap(fx, Qt::Key_Space);
            seen << framed(d);
            tap(fx, Qt::Key_Return);
        }}});
        fx.setText(QStringLiteral("あ_"), 1, 1);
        TalkFixture::click(fx.ui().cmdStart);
        QVERIFY(script.done());
        QCOMPARE(seen, (QStringList{"あ cut 1111", "ＯＫ whole 1111", "キャンセル whole 1111"}));
        QCOMPARE(fx.box()->text(), QStringLiteral("あ_"));   // キャンセル kept the text
    }

    void readingOrder_data()
    {
        QTest::addColumn<QList<QRect>>("rects");
        QTest::addColumn<QString>("lines");
        QTest::newRow("a line by overlapping middles, left to right")
            << QList<QRect>{{0, 40, 100, 30}, {120, 35, 100, 40}, {0, 0, 50, 20}} << "2|0 1";
        QTest::newRow("a column of radio buttons") << QList<QRect>{{0, 60, 80, 20}, {0, 0, 80, 20}, {0, 30, 80, 20}} << "1|2|0";
        QTest::newRow("a tall box beside two short ones") << QList<QRect>{{0, 0, 50, 100}, {60, 0, 50, 20}, {60, 70, 50, 20}}
                                                           << "0 1|2";
        QTest::newRow("nothing") << QList<QRect>{} << "";
    }

    void readingOrder()
    {
        QFETCH(QList<QRect>, rects);
        QFETCH(QString, lines);
        QStringList out;
        for (const auto &line : readingLines(std::vector<QRect>(rects.begin(), rects.end()))) {
            QStringList l;
            for (int i : line)
                l << QString::number(i);
            out << l.join(u' ');
        }
        QCOMPARE(out.join(u'|'), lines);
    }

    void valueSteps_data()
    {
        QTest::addColumn<QList<double>>("box");   // low, high, step, current
        QTest::addColumn<QString>("offered");
        QTest::newRow("every value, the current first") << QList<double>{1, 5, 1, 3} << "3 4 5 1 2";
        QTest::newRow("a long range in round steps, its ends and the current value kept")
            << QList<double>{300, 5000, 1, 1050}
            << "1050 1200 1400 1600 1800 2000 2200 2400 2600 2800 3000 3200 3400 3600 3800 4000 4200 4400 4600 4800 5000 "
               "300 400 600 800 1000";
        QTest::newRow("tenths") << QList<double>{1, 1.5, 0.1, 1.5} << "1.5 1 1.1 1.2 1.3 1.4";
        QTest::newRow("a current value out of range is clamped") << QList<double>{0, 2, 1, 9} << "2 0 1";
    }

    void valueSteps()
    {
        QFETCH(QList<double>, box);
        QFETCH(QString, offered);
        QStringList out;
        for (double v : numberSteps(box[0], box[1], box[2], box[3], 40))
            out << QString::number(v);
        QCOMPARE(out.join(u' '), offered);
        QCOMPARE(listSteps(5, 2), (std::vector<int>{2, 3, 4, 0, 1}));
        QCOMPARE(listSteps(3, -1), (std::vector<int>{0, 1, 2}));
    }
};

KEL_TEST(test_access_dialogs, TestAccessDialogs)
#include "test_access_dialogs.moc"
