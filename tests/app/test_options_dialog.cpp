// The options dialog driven as a caregiver uses it: "設定" on the main
// window, touches on its buttons, boxes and list, then "確定", "キャンセル"
// or the close box; checked against Talk.ini on disk and the main window.

#include "app/FrmOPT.h"
#include "options_driver.h"
#include "support/TalkFixture.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QScreen>

using namespace kel;

namespace {

using Stored = std::map<QString, QString>;

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString copies(const AppState &st)
{
    return st.Options.join(QLatin1Char(',')) + QStringLiteral(" MaxC=%1 SampleChars=%2").arg(st.MaxC).arg(st.SampleChars);
}

// Every control of the dialog but "確定" and "キャンセル", each moved away
// from the first-run choice.
const QStringList kChangeEverything{
    QStringLiteral("Option13"), QStringLiteral("Option21"), QStringLiteral("Option32"),
    QStringLiteral("chkSamp"),  QStringLiteral("chkMaxC"),  QStringLiteral("chkBeep"),
    QStringLiteral("chkMoji"),  QStringLiteral("cmbSample=５"),
};

} // namespace

Q_DECLARE_METATYPE(Stored)

class TestOptionsDialog : public QObject {
    Q_OBJECT

private slots:
    void opensWithTheStoredChoices_data();
    void opensWithTheStoredChoices();
    void confirmStoresEveryValue_data();
    void confirmStoresEveryValue();
    void confirmSwitchesTextSizeAtOnce_data();
    void confirmSwitchesTextSizeAtOnce();
    void confirmBringsTheBoardBackInHiragana();
    void cancelChangesNothing_data();
    void cancelChangesNothing();
    void unwritableStoreGivesNotice_data();
    void unwritableStoreGivesNotice();
    void growsWithFullScreenWindowButStaysOnScreen();
    void everyCaptionFits_data();
    void everyCaptionFits();

private:
    // Opens the dialog with "設定" and lets `drive` work it; returns when the
    // dialog and anything it led to are closed.
    static void withOptions(TalkFixture &fx, std::function<void(QDialog &)> drive)
    {
        WhenModal dialog("frmOPT", std::move(drive));
        TalkFixture::click(fx.ui().cmdOpt);
        QVERIFY2(dialog.ran(), "the options dialog did not open");
        QVERIFY2(!dialog.leftOpen(), "the options dialog stayed open");
    }
};

void TestOptionsDialog::opensWithTheStoredChoices_data()
{
    QTest::addColumn<Stored>("stored");
    QTest::addColumn<QString>("expected");

    QTest::newRow("first run, empty store")
        << Stored{}
        << "Option1=0 Option2=0 Option3=0 chkSamp=1 chkMaxC=0 chkBeep=0 chkMoji=0 cmbSample=２";
    QTest::newRow("every value at its other end")
        << Stored{{"OPT1", "3"}, {"OPT2", "1"}, {"OPT3", "3"}, {"Beep", "1"}, {"Moji", "1"},
                  {"Samp", "0"}, {"gMaxC", "14"}, {"Sample", "5"}}
        << "Option1=3 Option2=1 Option3=3 chkSamp=0 chkMaxC=1 chkBeep=1 chkMoji=1 cmbSample=５";
    QTest::newRow("gMaxC 10 is the 10-column board")
        << Stored{{"gMaxC", "10"}}
        << "Option1=0 Option2=0 Option3=0 chkSamp=1 chkMaxC=0 chkBeep=0 chkMoji=0 cmbSample=２";
    // No button stands for these; the program reads Sample 9 as 2.
    QTest::newRow("OPT1 7, OPT2 5, OPT3 9, Sample 9")
        << Stored{{"OPT1", "7"}, {"OPT2", "5"}, {"OPT3", "9"}, {"Sample", "9"}}
        << "Option1=- Option2=- Option3=- chkSamp=1 chkMaxC=0 chkBeep=0 chkMoji=0 cmbSample=２";
}

void TestOptionsDialog::opensWithTheStoredChoices()
{
    QFETCH(Stored, stored);
    QFETCH(QString, expected);
    TalkFixture fx(stored);
    const QByteArray before = readAll(fx.store->path());

    QString seen, title;
    withOptions(fx, [&](QDialog &d) {
        seen = shown(d);
        title = d.windowTitle();
        touch(d, QStringLiteral("cmdOK0"));
    });
    QCOMPARE(seen, expected);
    QCOMPARE(title, QStringLiteral("オプション"));
    QCOMPARE(readAll(fx.store->path()), before);
    QCOMPARE(QFile::exists(fx.store->path()), !stored.empty());
}

void TestOptionsDialog::confirmStoresEveryValue_data()
{
    QTest::addColumn<Stored>("stored");
    QTest::addColumn<QStringList>("touches");
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("copies");
    QTest::addColumn<int>("columns");

    QTest::newRow("nothing changed on an empty store")
        << Stored{} << QStringList{}
        << QByteArray("[OPT]\nBeep=0\nMoji=0\nOPT1=0\nOPT2=0\nOPT3=0\nSamp=1\nSample=2\ngMaxC=9\n")
        << "0,0,0,0,0,1 MaxC=9 SampleChars=2" << 10;
    QTest::newRow("濁点表示文字 checked: 15 columns at once")
        << Stored{} << QStringList{"chkMaxC"}
        << QByteArray("[OPT]\nBeep=0\nMoji=0\nOPT1=0\nOPT2=0\nOPT3=0\nSamp=1\nSample=2\ngMaxC=14\n")
        << "0,0,0,0,0,1 MaxC=14 SampleChars=2" << 15;
    QTest::newRow("濁点表示文字 cleared: 10 columns again")
        << Stored{{"gMaxC", "14"}} << QStringList{"chkMaxC"}
        << QByteArray("[OPT]\nBeep=0\nMoji=0\nOPT1=0\nOPT2=0\nOPT3=0\nSamp=1\nSample=2\ngMaxC=9\n")
        << "0,0,0,0,0,1 MaxC=9 SampleChars=2" << 10;
    QTest::newRow("stored 10 shown clear and saved back as 9")
        << Stored{{"gMaxC", "10"}} << QStringList{}
        << QByteArray("[OPT]\nBeep=0\nMoji=0\nOPT1=0\nOPT2=0\nOPT3=0\nSamp=1\nSample=2\ngMaxC=9\n")
        << "0,0,0,0,0,1 MaxC=9 SampleChars=2" << 10;
    QTest::newRow("every control changed")
        << Stored{} << kChangeEverything
        << QByteArray("[OPT]\nBeep=1\nMoji=1\nOPT1=3\nOPT2=1\nOPT3=2\nSamp=0\nSample=5\ngMaxC=14\n")
        << "3,1,2,1,1,0 MaxC=14 SampleChars=5" << 15;
    QTest::newRow("each group's last button and ４")
        << Stored{{"OPT1", "3"}, {"OPT2", "1"}, {"OPT3", "3"}}
        << QStringList{"Option11", "Option20", "Option30", "cmbSample=４"}
        << QByteArray("[OPT]\nBeep=0\nMoji=0\nOPT1=1\nOPT2=0\nOPT3=0\nSamp=1\nSample=4\ngMaxC=9\n")
        << "1,0,0,0,0,1 MaxC=9 SampleChars=4" << 10;
    // No button is chosen, so the odd values stay as they were; Sample 9 was
    // shown as ２ and is stored so.
    QTest::newRow("OPT1 7 and Sample 9 untouched")
        << Stored{{"OPT1", "7"}, {"OPT3", "9"}, {"Sample", "9"}} << QStringList{}
        << QByteArray("[OPT]\nBeep=0\nMoji=0\nOPT1=7\nOPT2=0\nOPT3=9\nSamp=1\nSample=2\ngMaxC=9\n")
        << "7,0,9,0,0,1 MaxC=9 SampleChars=2" << 10;
    QTest::newRow("OPT1 7 replaced by a choice")
        << Stored{{"OPT1", "7"}} << QStringList{"Option12"}
        << QByteArray("[OPT]\nBeep=0\nMoji=0\nOPT1=2\nOPT2=0\nOPT3=0\nSamp=1\nSample=2\ngMaxC=9\n")
        << "2,0,0,0,0,1 MaxC=9 SampleChars=2" << 10;
}

void TestOptionsDialog::confirmStoresEveryValue()
{
    QFETCH(Stored, stored);
    QFETCH(QStringList, touches);
    QFETCH(QByteArray, ini);
    QFETCH(QString, copies);
    QFETCH(int, columns);
    TalkFixture fx(stored);

    withOptions(fx, [&](QDialog &d) {
        touchAll(d, touches);
        touch(d, QStringLiteral("cmdOK1"));
    });
    QCOMPARE(readAll(fx.store->path()), ini);
    QCOMPARE(::copies(fx.st()), copies);
    QCOMPARE(fx.ui().grdBoard->Cols(), columns);
    QCOMPARE(fx.ui().grdBoard->TextMatrix(0, columns - 1), QStringLiteral("あ"));
    QVERIFY(!fx.win->findChild<FrmOPT *>());   // discarded
}

void TestOptionsDialog::confirmSwitchesTextSizeAtOnce_data()
{
    QTest::addColumn<QString>("storedMoji");
    QTest::addColumn<double>("before");
    QTest::addColumn<double>("after");

    QTest::newRow("文字を拡大する。 checked: 55 pt") << "0" << 34.0 << 55.0;
    QTest::newRow("文字を拡大する。 cleared: 34 pt") << "1" << 55.0 << 34.0;
}

void TestOptionsDialog::confirmSwitchesTextSizeAtOnce()
{
    QFETCH(QString, storedMoji);
    QFETCH(double, before);
    QFETCH(double, after);
    TalkFixture fx({{QStringLiteral("Moji"), storedMoji}});
    TalkBox *box = fx.ui().txtTalk;
    QCOMPARE(fx.talk().layout.fontPoints(box), before);

    withOptions(fx, [&](QDialog &d) {
        touch(d, QStringLiteral("chkMoji"));
        touch(d, QStringLiteral("cmdOK1"));
    });
    QCOMPARE(fx.talk().layout.fontPoints(box), after);
    QCOMPARE(box->font().pixelSize(), fx.talk().layout.map().fontPx(after));
}

void TestOptionsDialog::confirmBringsTheBoardBackInHiragana()
{
    TalkFixture fx;
    TalkFixture::click(fx.ui().cmdKey);   // hiragana -> katakana
    QCOMPARE(fx.ui().cmdKey->text(), QStringLiteral("カタ"));
    QCOMPARE(fx.ui().grdBoard->TextMatrix(0, 9), QStringLiteral("ア"));

    withOptions(fx, [](QDialog &d) { touch(d, QStringLiteral("cmdOK1")); });
    QCOMPARE(fx.ui().cmdKey->text(), QStringLiteral("ひら"));
    QCOMPARE(fx.ui().grdBoard->TextMatrix(0, 9), QStringLiteral("あ"));
    QCOMPARE(fx.ui().grdBoard->TextMatrix(0, 8), QStringLiteral("か"));
}

void TestOptionsDialog::cancelChangesNothing_data()
{
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("キャンセル") << false;
    QTest::newRow("close box") << true;
}

void TestOptionsDialog::cancelChangesNothing()
{
    QFETCH(bool, closeBox);
    TalkFixture fx({{"OPT1", "1"}, {"Beep", "0"}, {"gMaxC", "9"}, {"Sample", "3"}});
    TalkFixture::click(fx.ui().cmdKey);   // the board in katakana
    const QByteArray ini = readAll(fx.store->path());
    const QString copiesBefore = copies(fx.st());
    const QString caption = fx.ui().cmdKey->text();
    const QString firstCell = fx.ui().grdBoard->TextMatrix(0, 9);

    QString changed;
    withOptions(fx, [&](QDialog &d) {
        touchAll(d, kChangeEverything);
        changed = shown(d);
        if (closeBox)
            d.close();
        else
            touch(d, QStringLiteral("cmdOK0"));
    });
    QCOMPARE(changed, QStringLiteral("Option1=3 Option2=1 Option3=2 chkSamp=0 chkMaxC=1 chkBeep=1 chkMoji=1 cmbSample=５"));
    QCOMPARE(readAll(fx.store->path()), ini);
    QCOMPARE(copies(fx.st()), copiesBefore);
    QCOMPARE(fx.ui().grdBoard->Cols(), 10);
    QCOMPARE(fx.ui().cmdKey->text(), caption);
    QCOMPARE(fx.ui().grdBoard->TextMatrix(0, 9), firstCell);
    QCOMPARE(fx.talk().layout.fontPoints(fx.ui().txtTalk), 34.0);
}

void TestOptionsDialog::unwritableStoreGivesNotice_data()
{
    QTest::addColumn<bool>("iniIsFolder");
    QTest::newRow("Talk.ini is a folder") << true;
    QTest::newRow("the settings folder is a file") << false;
}

void TestOptionsDialog::unwritableStoreGivesNotice()
{
    QFETCH(bool, iniIsFolder);
    TalkFixture fx;
    // Root may write anywhere, so the store is blocked by what stands in its path.
    const QString blocker = fx.config.path() + QStringLiteral("/blocked");
    if (iniIsFolder) {
        QVERIFY(QDir().mkpath(blocker + QStringLiteral("/Talk.ini")));
    } else {
        QFile f(blocker);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("x");
    }
    SettingsStore blocked(blocker + QStringLiteral("/Talk.ini"));
    fx.talk().sv.store = &blocked;

    QString title, message, optionsState, keyCaption;
    bool secondButton = true;
    WhenModal notice("frmOK", [&](QDialog &d) {
        title = d.windowTitle();
        message = d.findChild<QLabel *>(QStringLiteral("lblOK"))->text();
        secondButton = d.findChild<QWidget *>(QStringLiteral("cmdOK1"))->isVisible();
        optionsState = fx.win->findChild<FrmOPT *>() ? QStringLiteral("still there") : QStringLiteral("gone");
        keyCaption = fx.ui().cmdKey->text();
        touch(d, QStringLiteral("cmdOK0"));
    });
    withOptions(fx, [&](QDialog &d) {
        touch(d, QStringLiteral("chkMaxC"));
        touch(d, QStringLiteral("cmdOK1"));
    });
    QVERIFY2(notice.ran(), "no notice");
    QCOMPARE(title, QStringLiteral("オプション"));
    QCOMPARE(message, QStringLiteral("設定を保存できませんでした"));
    QVERIFY(!secondButton);
    // The notice follows the finished "確定": dialog gone, board rebuilt.
    QCOMPARE(optionsState, QStringLiteral("gone"));
    QCOMPARE(keyCaption, QStringLiteral("ひら"));
    // Nothing was stored, so the board keeps the width the store still says.
    QCOMPARE(fx.st().MaxC, 9);
    QCOMPARE(fx.ui().grdBoard->Cols(), 10);
    QCOMPARE(QFileInfo(blocker).isDir(), iniIsFolder);
    if (!iniIsFolder)
        QCOMPARE(readAll(blocker), QByteArray("x"));
}

void TestOptionsDialog::growsWithFullScreenWindowButStaysOnScreen()
{
    TalkFixture fx;
    // A main window of 1920 x 1080 on a screen lower than the dialog would
    // be at the window's own factor.
    fx.win->resize(1920, 1080);
    QCoreApplication::processEvents();
    const double mainScale = fx.talk().layout.map().scale();
    const int screenHeight = fx.win->screen()->availableGeometry().height();
    QVERIFY(8040 * mainScale / 15 > screenHeight);

    QSize size;
    withOptions(fx, [&](QDialog &d) {
        size = d.size();
        touch(d, QStringLiteral("cmdOK0"));
    });
    const QString got = QStringLiteral("%1 x %2").arg(size.width()).arg(size.height());
    QVERIFY2(size.height() > 8040 / 15 * 1.3, qPrintable(got));
    QVERIFY2(size.height() + 30 < screenHeight, qPrintable(got));
}

void TestOptionsDialog::everyCaptionFits_data()
{
    QTest::addColumn<double>("scale");
    QTest::newRow("design size") << 1.0;
    // A 1920 x 1080 main window: the height limits the factor.
    QTest::newRow("full screen") << 1080 * 15.0 / kDesignHeightTwips;
}

// Each caption fits its control whole; with KEL_SCREENSHOT_DIR set the
// dialog is also saved there as a picture to look at.
void TestOptionsDialog::everyCaptionFits()
{
    QFETCH(double, scale);
    TalkFixture fx({{"Sample", "3"}, {"Moji", "1"}});
    FrmOPT dialog(fx.talk(), scale);
    dialog.Form_Load();
    dialog.show();
    QCoreApplication::processEvents();
    QCOMPARE(dialog.size(), QSize(qRound(7140 * scale / 15), qRound(8040 * scale / 15)));

    const QImage picture = dialog.grab().toImage();
    QCOMPARE(picture.pixelColor(2, picture.height() / 2), QColor(192, 192, 255));
    const QString dir = qEnvironmentVariable("KEL_SCREENSHOT_DIR");
    if (!dir.isEmpty())
        QVERIFY(picture.save(dir + QStringLiteral("/options-%1.png").arg(scale, 0, 'f', 2)));

    int checked = 0;
    for (QAbstractButton *b : dialog.findChildren<QAbstractButton *>()) {
        if (!qobject_cast<QRadioButton *>(b) && !qobject_cast<QCheckBox *>(b))
            continue;
        QVERIFY2(b->sizeHint().width() <= b->width(), qPrintable(b->objectName()));
        QVERIFY2(b->fontMetrics().tightBoundingRect(b->text()).height() <= b->height(),
                 qPrintable(b->objectName()));
        ++checked;
    }
    QCOMPARE(checked, 14);
    for (QGroupBox *g : dialog.findChildren<QGroupBox *>())
        QVERIFY2(g->minimumSizeHint().width() <= g->width(), qPrintable(g->objectName()));
    auto *label = dialog.findChild<QLabel *>(QStringLiteral("lblSample"));
    QVERIFY(label->sizeHint().width() <= label->width());
    for (auto *button : dialog.findChildren<ColorButton *>())
        QVERIFY(button->fontMetrics().horizontalAdvance(button->text()) < button->width());
}

QTEST_MAIN(TestOptionsDialog)
#include "test_options_dialog.moc"
