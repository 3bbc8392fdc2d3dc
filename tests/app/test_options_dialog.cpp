// The options dialog driven as a caregiver uses it: "設定" on the main
// window, touches on its buttons, boxes and list, then "確定" or
// "キャンセル"; checked against Talk.ini on disk and the main window.

#include "support/TestMain.h"
#include "support/TalkFixture.h"

#include <QComboBox>
#include <QDialog>
#include <QDir>

using namespace kel;
using namespace Qt::StringLiterals;

namespace {

using Stored = std::map<QString, QString>;

// The checked buttons and boxes, then the list's item: a group without a
// choice has no name here.
QString shown(QDialog &d)
{
    QStringList on;
    for (QAbstractButton *b : d.findChildren<QAbstractButton *>())
        if (b->isChecked())
            on << b->objectName();
    on.sort();
    return on.join(u' ') + u' ' + d.findChild<QComboBox *>(u"cmbSample"_s)->currentText();
}

// Touches controls at their centre ("cmbSample=４" opens the list and
// touches the item). That each touch takes its choice is test_fit's to
// show; here what the choices store.
void touch(QDialog &d, const QStringList &actions)
{
    for (const QString &action : actions) {
        QWidget *w = d.findChild<QWidget *>(action.section(u'=', 0, 0));
        QVERIFY2(w, qPrintable(action));
        if (auto *list = qobject_cast<QComboBox *>(w))
            pickItem(list, action.section(u'=', 1));
        else
            TalkFixture::click(w);
    }
}

// Opens the dialog with "設定" and, as soon as it shows, notes what it shows
// in `opened` and makes the touches. One that the touches leave open is
// closed and fails the test, so nothing can hang.
void withOptions(TalkFixture &fx, const QString &touches, QString *opened = nullptr)
{
    bool closed = false;
    ModalScript script({{u"frmOPT"_s, [&](QWidget *w) {
                             auto *d = static_cast<QDialog *>(w);
                             if (opened)
                                 *opened = shown(*d);
                             touch(*d, touches.split(u' '));
                             closed = !d->isVisible();
                             if (!closed)
                                 d->reject();
                         }}});
    TalkFixture::click(fx.ui().cmdOpt);
    QVERIFY2(closed, "the options dialog did not open, or stayed open");
}

const QString kFirstRun = u"Option10 Option20 Option30 chkSamp ２"_s;
const QByteArray kFirstRunIni("[OPT]\nBeep=0\nMoji=0\nOPT1=0\nOPT2=0\nOPT3=0\nSamp=1\nSample=2\ngMaxC=9\n");

} // namespace

class TestOptionsDialog : public QObject {
    Q_OBJECT

private slots:
    void storesWhatIsShown_data()
    {
        QTest::addColumn<Stored>("stored");
        QTest::addColumn<QString>("opensWith");
        QTest::addColumn<QString>("touches");        // the last one closes the dialog
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("window");        // columns, first cell, key, text size

        QTest::newRow("濁点表示文字 and 文字を拡大する。: 15 columns and 55 pt at once")
            << Stored{} << kFirstRun << u"chkMaxC chkMoji cmdOK1"_s
            << QByteArray(kFirstRunIni).replace("gMaxC=9", "gMaxC=14").replace("Moji=0", "Moji=1")
            << u"15 あ ひら, 34 -> 55 pt"_s;
        QTest::newRow("every value at its other end; 文字を拡大する。 cleared: 34 pt")
            << Stored{{"OPT1", "3"}, {"OPT2", "1"}, {"OPT3", "3"}, {"Beep", "1"}, {"Moji", "1"},
                      {"Samp", "0"}, {"gMaxC", "14"}, {"Sample", "5"}}
            << u"Option13 Option21 Option33 chkBeep chkMaxC chkMoji ５"_s
            << u"chkMoji Option32 cmbSample=１ cmdOK1"_s
            << QByteArray("[OPT]\nBeep=1\nMoji=0\nOPT1=3\nOPT2=1\nOPT3=2\nSamp=0\nSample=1\ngMaxC=14\n")
            << u"15 あ ひら, 55 -> 34 pt"_s;
        // Values no choice stands for read as their defaults, so the dialog
        // shows the default chosen and 確定 stores it; gMaxC 10 reads as 9.
        for (const char *v : {"-1", "4", "7"})
            QTest::addRow("OPT1 %s shows and stores the default; gMaxC 10 saved back as 9", v)
                << Stored{{"OPT1", v}, {"OPT2", v}, {"OPT3", v}, {"gMaxC", "10"}, {"Beep", "2"}, {"Moji", v},
                          {"Samp", v}, {"Sample", "9"}}
                << kFirstRun << u"cmdOK1"_s << kFirstRunIni << u"10 あ ひら, 34 -> 34 pt"_s;
        QTest::newRow("キャンセル after changing every control")
            << Stored{{"OPT1", "1"}, {"Sample", "3"}} << u"Option11 Option20 Option30 chkSamp ３"_s
            << u"Option13 Option21 Option32 chkSamp chkMaxC chkBeep chkMoji cmbSample=５ cmdOK0"_s
            << QByteArray("[OPT]\nOPT1=1\nSample=3\n") << u"10 ア カタ, 34 -> 34 pt"_s;
    }

    // Every row starts with the board switched to katakana.
    void storesWhatIsShown()
    {
        QFETCH(Stored, stored);
        QFETCH(QString, touches);
        TalkFixture fx(stored);
        TalkFixture::click(fx.ui().cmdKey);
        const double before = fx.talk().layout.fontPoints(fx.box());

        QString seen;
        withOptions(fx, touches, &seen);
        QTEST(seen, "opensWith");
        QFile ini(fx.store->path());
        QVERIFY(ini.open(QIODevice::ReadOnly));
        QTEST(ini.readAll(), "ini");
        const FlexGrid *grid = fx.ui().grdBoard;
        const double after = fx.talk().layout.fontPoints(fx.box());
        QTEST(u"%1 %2 %3, %4 -> %5 pt"_s.arg(grid->Cols()).arg(grid->TextMatrix(0, grid->Cols() - 1))
                  .arg(fx.ui().cmdKey->text()).arg(before).arg(after), "window");
        QCOMPARE(fx.box()->font().pixelSize(), fx.talk().layout.map().fontPx(after));
    }

    void unwritableStoreGivesNotice()
    {
        TalkFixture fx;
        // Root may write anywhere, so the store is blocked by a folder in its place.
        QVERIFY(QDir(fx.config.path()).mkdir(u"Talk.ini"_s));
        const Questions notice({0});
        withOptions(fx, u"chkMaxC cmdOK1"_s);
        QCOMPARE(notice.asked, QStringList{u"オプション|設定を保存できませんでした。\nディスクを確かめてください|OK"_s});
        // Nothing was stored, so the board keeps the width the store still says.
        QCOMPARE(fx.ui().grdBoard->Cols(), 10);
    }
};

KEL_TEST(test_options_dialog, TestOptionsDialog)
#include "test_options_dialog.moc"
