// The studio without a sound server: what its list says of each character,
// and Qt's own dialogs in Japanese (the test line's pace: test_voice_backup).
// Run under tools/with-wm (WM_SCREEN=800x600) it also checks that the studio
// fits the smallest screen with every control on it.
#include "support/TestMain.h"
#include "support/AudioCapture.h"
#include "support/TalkFixture.h"

#include "speech/SoundSet.h"
#include "voice/FrmStudio.h"
#include "widgets/QtJapanese.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QScreen>
#include <QTreeWidget>

using namespace kel;

namespace {

// The "声" column of the studio's list for `ch`.
QString shownState(QWidget *studio, const QString &ch)
{
    auto *list = child<QTreeWidget>(studio, "lstSounds");
    for (int g = 0; g < list->topLevelItemCount(); ++g)
        for (int i = 0; i < list->topLevelItem(g)->childCount(); ++i)
            if (list->topLevelItem(g)->child(i)->text(0) == ch)
                return list->topLevelItem(g)->child(i)->text(1);
    return QStringLiteral("(not listed)");
}

} // namespace

class TestStudioFlow : public QObject {
    Q_OBJECT
private slots:
    // Own sound in the user's folder (recorded or put there by hand), a
    // file there that plays nothing, the installed voice, or nothing at all.
    void fourStates()
    {
        TalkFixture fx;
        QTemporaryDir installed;
        fx.st().SoundSetPath = installed.path();
        fx.writeFile("あ.wav", test::toneWav(300, 0.2));
        fx.writeFile("え.wav", "RIFF");
        QDir(fx.home.path()).mkpath("voice/takes");
        fx.writeFile("voice/takes/い.wav", "RIFF");   // a take without its sound is no recording
        for (const QString ch : {"あ", "い", "か"}) {
            QFile f(installed.filePath(ch + ".wav"));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        FrmStudio studio(fx.talk());
        QStringList shown;
        for (const QString ch : {"あ", "い", "か", "う", "え"})
            shown << ch + ':' + shownState(&studio, ch);
        QCOMPARE(shown.join(u' '), QStringLiteral("あ:自分の声 い:標準の声 か:標準の声 う:なし え:使えない録音"));
        QCOMPARE(child<QLabel>(&studio, "lblProgress")->text(),
                 QStringLiteral("1 / %1 録音済み").arg(soundSetCharacters().size()));
        // A sound put there by hand is the user's: the studio offers no
        // "元に戻す" that would delete it.
        studio.show();
        QCOMPARE(studio.character(), QStringLiteral("い"));   // the first without an own sound
        auto *list = child<QTreeWidget>(&studio, "lstSounds");
        const QTreeWidgetItem *own = list->findItems(QStringLiteral("あ"), Qt::MatchExactly | Qt::MatchRecursive).value(0);
        QVERIFY(own);
        click(list->viewport(), list->visualItemRect(own).center());
        QCOMPARE(studio.character(), QStringLiteral("あ"));
        QVERIFY(!child(&studio, "cmdRestore")->isEnabled());
    }

    // Qt's own texts, as in the studio's file dialogs, are Japanese.
    void standardDialogsInJapanese()
    {
        QVERIFY(loadQtJapanese());
        QFileDialog dialog(nullptr, QStringLiteral("声を書き出す"));
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        QStringList buttons;
        for (QAbstractButton *b : dialog.findChild<QDialogButtonBox *>()->buttons())
            buttons << b->text().remove(u'&');
        buttons.sort();
        QCOMPARE(buttons.join(u' '), QStringLiteral("キャンセル 保存(S)"));
        QVERIFY(!dialog.findChild<QLabel *>(QStringLiteral("lookInLabel"))->text().contains(QStringLiteral("Look")));
    }

    // On the smallest screen the program supports (the offscreen screen is
    // 800 x 600; test_studio_flow_wm runs it again under a window manager,
    // frame included), the studio's frame and every control are on the
    // screen and reachable.
    void fitsTheScreen()
    {
        TalkFixture fx;
        FrmStudio studio(fx.talk());
        fitStudio(studio);
        studio.show();
        QVERIFY(QTest::qWaitForWindowExposed(&studio));
        const QRect screen = studio.screen()->availableGeometry();
        QTRY_VERIFY2(screen.contains(studio.frameGeometry()),
                     qPrintable(QStringLiteral("%1x%2 frame on a %3x%4 screen")
                                    .arg(studio.frameGeometry().width()).arg(studio.frameGeometry().height())
                                    .arg(screen.width()).arg(screen.height())));
        for (const char *name : {"cmdRecord", "cmdSave", "cmdRetry", "cmdNext", "cmdRestore", "cmdTest", "cmdClose",
                                 "cmdExport", "cmdImport", "cmbInput", "lstSounds", "optHeightOwn", "optHeightHigh", "optHeightLow"}) {
            QWidget *w = child(&studio, name);
            QVERIFY2(w && onTopAtCentre(w) && screen.contains(QRect(w->mapToGlobal(QPoint()), w->size())), name);
        }
    }
};

KEL_TEST(test_studio_flow, TestStudioFlow)
#include "test_studio_flow.moc"
