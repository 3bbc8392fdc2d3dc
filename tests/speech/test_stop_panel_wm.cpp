// "読む" in a full-screen window on a desktop with a window manager: the
// stop panel must come up above the main window, where a finger reaches it,
// and a touch there must stop the reading. The window opens as it was left.
// Run under tools/with-wm.
#include "support/TestMain.h"
#include "support/TalkFixture.h"
#include "app/WindowPlace.h"

#include <QDeadlineTimer>
#include <QScreen>
#include <QThread>

using namespace kel;

// Openbox now and then maps a new window without focusing it (its guard
// against windows stealing the focus); a user would touch it. The test asks
// again, as a program may, until the window manager gives the focus.
static bool becomesActive(QWidget *w)
{
    for (QDeadlineTimer limit(20000); !limit.hasExpired();) {
        w->activateWindow();
        if (QTest::qWaitForWindowActive(w, 500))
            return true;
    }
    return false;
}

class TestStopPanelWm : public QObject {
    Q_OBJECT
private slots:
    // Each row: the window as the user leaves it, then "読む" and a touch on
    // the stop panel; then the window closed and opened again.
    void stopPanelAndReopening_data()
    {
        QTest::addColumn<QString>("left"); // "full", a size "WxH", "right edge", or "" for a first start
        QTest::newRow("first start: the design size") << "";
        QTest::newRow("full screen") << "full";
        QTest::newRow("1000 x 700") << "1000x700";
        // Narrower than the screen, against its right edge: the panel stays
        // within the window and on the screen.
        QTest::newRow("window at the screen's right edge") << "right edge";
    }

    void stopPanelAndReopening()
    {
        QFETCH(QString, left);
        QVERIFY2(QGuiApplication::platformName() == u"xcb", "run on an X server (tools/with-wm)");
        TalkFixture fx;
        fx.addVoices({"あ", "い", "う"});
        fx.setText(QStringLiteral("あいう"), 0);
        // Full screen is asked for once the window manager has the window
        // (a request made before may be lost); then it sizes it.
        QVERIFY(becomesActive(fx.win.get()));
        const QRect free = fx.win->screen()->availableGeometry();
        QSize expected = FrmTalk::designSize();
        if (left == u"full") {
            fx.win->showFullScreen();
            expected = fx.win->screen()->geometry().size();
        } else if (left.contains(u'x')) {
            expected = QSize(left.section(u'x', 0, 0).toInt(), left.section(u'x', 1).toInt());
            fx.win->resize(expected);
        }
        QTRY_COMPARE_WITH_TIMEOUT(fx.win->size(), expected, 20000);
        if (left == u"right edge") {
            fx.win->move(free.right() + 1 - fx.win->frameGeometry().width(), free.top());
            QTRY_COMPARE_WITH_TIMEOUT(fx.win->frameGeometry().right(), free.right(), 20000);
        }

        QString onTop; // by name: the panel is gone once the reading ends
        fx.clock.after(0.3, [&] {
            auto *label = fx.win->findChild<QLabel *>(QStringLiteral("lblLabel"));
            QVERIFY(label && label->isVisible());
            // Ask the X server what lies on top at the label's centre (the
            // window manager maps and stacks the panel in its own time).
            const QPoint centre = label->mapToGlobal(label->rect().center());
            QWidget *hit = nullptr;
            for (QDeadlineTimer limit(5000); hit != label && !limit.hasExpired(); QThread::msleep(20))
                hit = QApplication::widgetAt(centre);
            onTop = hit ? hit->objectName() : QStringLiteral("nothing");
            const QRect panel = label->window()->frameGeometry();
            if (!free.contains(panel) || panel.left() < fx.win->frameGeometry().left()
                || panel.right() > fx.win->frameGeometry().right())
                onTop += QStringLiteral(" (panel at %1,%2 %3x%4 outside)").arg(panel.x()).arg(panel.y()).arg(panel.width()).arg(panel.height());
            postClick(label);
        });
        TalkFixture::click(fx.ui().cmdRead);
        QCOMPARE(onTop, QStringLiteral("lblLabel"));
        QCOMPARE(fx.voiced(), QStringList{"あ"}); // stopped after the first character

        // The window opens as it was left: its size, or full screen, kept in
        // the settings file's own group; with nothing kept, at its design size.
        if (!left.isEmpty())
            fx.win->close();
        QCOMPARE(fx.store->valueIn("OPT", "FullScreen"), std::nullopt);
        FrmTalk again(Services{&fx.clock, &fx.player, &fx.platform, fx.store.get(), [] { return QDate(2004, 9, 25); }});
        again.Form_Load(fx.home.path());
        showAtLastPlace(again, *fx.store, false);
        QVERIFY(becomesActive(&again));
        QTRY_COMPARE_WITH_TIMEOUT(again.size(), expected, 20000);
        QCOMPARE(again.isFullScreen(), left == u"full");
    }
};

KEL_TEST(test_stop_panel_wm, TestStopPanelWm)
#include "test_stop_panel_wm.moc"
