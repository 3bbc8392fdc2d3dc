// What the user reads: a file fault told by its reason and what to do (the
// system's own words only in the log), the notices at start, times in
// seconds; and what the settings pages store. (Japanese on every screen and
// the settings dialogs' type and size: test_fit.)
#include "support/TestMain.h"
#include "access/AccessControl.h"
#include "access/AccessSettings.h"
#include "app/StartPlaces.h"
#include "base/Autostart.h"
#include "base/FileErrors.h"
#include "base/StoredFile.h"
#include "samples/SampleDriving.h"
#include "speech/SoundSet.h"
#include "support/Files.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QScopeGuard>
#include <QSpinBox>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>

using namespace kel;

class TestTexts : public QObject {
    Q_OBJECT
private slots:
    // The system's words for a fault, as Qt passes them on.
    void fileFaults_data()
    {
        QTest::addColumn<QString>("words");
        QTest::addColumn<QString>("shown");
        const auto sys = [](int code) { return QString::fromLocal8Bit(std::strerror(code)); };
        const QString full = "ディスクがいっぱいです。いらないファイルを消して、もう一度お試しください。";
        const QString refused = "書き込みが許されていない場所です。書き込める場所か、別のディスクをお使いください。";
        QTest::newRow("quota") << sys(EDQUOT) << full;
        QTest::newRow("no permission, within a sentence") << "Cannot open /a/b: " + sys(EACCES) << refused;
        QTest::newRow("read-only disk") << sys(EROFS) << refused;
        QTest::newRow("missing") << sys(ENOENT)
                                 << "ファイルかフォルダが見つかりません。ディスクがつながっているか確かめてください。";
        QTest::newRow("name too long") << sys(ENAMETOOLONG) << "名前が長すぎます。短い名前にしてください。";
    }

    void fileFaults()
    {
        QFETCH(QString, words);
        // The original goes to the log, word for word.
        QTest::ignoreMessage(QtWarningMsg, qPrintable("kelvoran: " + words));
        QTEST(japaneseReason(words), "shown");
    }

    // What the window says at start, once it is up: one notice per problem,
    // one line each, in the program's own dialog, nothing when every place is
    // in order. A stored file it leaves unread stays what it was (a link: its
    // target too). (Which problem is found where, row by row: test_package,
    // from the same checks.)
    void startNotices_data()
    {
        QTest::addColumn<bool>("broken"); // XDG_DATA_HOME/kelvoran a file, no sound set beside the program
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("made"); // as TalkFixture makes it; "@link": to a file elsewhere
        QTest::addColumn<QStringList>("shown");
        const QString unread = "Kelvoran|%1 がふつうのファイルではないため、読まずにそのままにしてあります。|OK";
        QTest::newRow("all in order: nothing") << false << "" << QByteArray() << QStringList{};
        // Paths as the dialog's two lines hold them: home as "~", a long one
        // by its end.
        QTest::newRow("both places, one after the other")
            << true << "" << QByteArray()
            << QStringList{"Kelvoran|ここに保存できません：\n~/data/kelvoran|OK",
                           "Kelvoran|代わりにここに保存します：\n~/.local/share/kelvoran|OK",
                           "Kelvoran|音声がありません：\n…/share/kelvoran/voices|OK"};
        QTest::newRow("Talk.txt a FIFO") << false << "Talk.txt" << QByteArray("@fifo") << QStringList{unread.arg("Talk.txt")};
        QTest::newRow("day.txt a link") << false << "day.txt" << QByteArray("@link") << QStringList{unread.arg("day.txt")};
        QTest::newRow("Talk.txt over its limit")
            << false << "Talk.txt" << QByteArray(kMaxListFileBytes + 1, 'a')
            << QStringList{"Kelvoran|Talk.txt が 16 MB を超えているため、読まずにそのままにしてあります。|OK"};
    }

    void startNotices()
    {
        QFETCH(bool, broken);
        QFETCH(QString, name);
        QFETCH(QByteArray, made);
        QTemporaryDir t;
        const QByteArray home = qgetenv("HOME");
        const auto restore = qScopeGuard([&] { qputenv("HOME", home), qunsetenv("XDG_DATA_HOME"); });
        qputenv("HOME", t.path().toUtf8());
        qputenv("XDG_DATA_HOME", t.filePath("data").toUtf8());
        qunsetenv("KELVORAN_HOME");
        QVERIFY(QDir().mkpath(t.filePath("longer/bin")));
        const QString voices = t.filePath("longer/share/kelvoran/voices");
        if (broken) {
            QVERIFY(QDir().mkpath(t.filePath("data")) && QFile(t.filePath("data/kelvoran")).open(QIODevice::WriteOnly));
        } else {
            QVERIFY(QDir().mkpath(voices));
            for (const QString &ch : soundSetCharacters())
                QVERIFY(QFile(voices + '/' + ch + ".wav").open(QIODevice::WriteOnly));
        }
        StartPlaces places = findStartPlaces({}, t.filePath("longer/bin"));
        const QString target = t.filePath("day.txt");
        const QByteArray targetBytes = "\"2004/09/24\",\"外の日記\"\r\n";
        QVERIFY(test::writeFile(target, targetBytes));
        if (made == "@link")
            made += ' ' + QFile::encodeName(target);
        std::map<QString, QByteArray> files;
        if (!name.isEmpty())
            files[name] = made;
        Questions questions({0, 0, 0});
        TalkFixture f({}, files);
        places.dataFolder = f.home.path();
        showStartNotices(f.talk(), windowNotices(places, f.store->path()));
        // The notices come once the event loop runs, each answered in turn.
        QCoreApplication::processEvents();
        QTEST(questions.asked, "shown");
        const QFileInfo left(f.path(name));
        if (made == "@fifo")
            QVERIFY(!left.isSymLink() && !left.isFile() && left.exists());
        else if (left.isSymLink())
            QCOMPARE(left.symLinkTarget(), target);
        else if (!name.isEmpty())
            QVERIFY(f.readFile(name) == made);
        QCOMPARE(test::readFile(target), targetBytes);
    }

    // "設定" → "その他", opened twice: the pages show what is stored, times
    // in seconds. Left
    // untouched, it stores nothing new; then the pace one step longer, the spoken reading on and the login entry
    // touched: stored in their own groups and in force at once, a time left
    // as shown keeping its milliseconds, the options' group untouched.
    void moreDialog()
    {
        QTemporaryDir autostartHome;
        qputenv("XDG_CONFIG_HOME", autostartHome.path().toLocal8Bit());
        const auto unset = qScopeGuard([] { qunsetenv("XDG_CONFIG_HOME"); });
        TalkFixture fx({{"ACCESS/ScanStep", "750"}, {"ACCESS/Pace", "900"}, {"ACCESS/Scan", "2"}, {"ACCESS/ScanFirst", "2.5"},
                        {"ACCESS/Dwell", "1200"}, {"SPEECH/Rate", "8"}});
        for (const bool touch : {false, true}) {
            QStringList order, seconds;
            QList<bool> entryAfterTouch;
            int rate = 0;
            ModalScript script({{"frmOPT", [&](QWidget *d) { click(child(d, "cmdMore")); }},
                                {"frmMore",
                                 [&](QWidget *d) {
                                     for (QComboBox *c : d->findChildren<QComboBox *>())
                                         if (c->itemText(0).startsWith(u"縦"))
                                             order << c->itemText(0) << c->itemText(1);
                                     const auto boxes = child(d, "pageAccess")->findChildren<QAbstractSpinBox *>();
                                     for (auto *s : boxes)
                                         seconds << s->text();
                                     rate = child<QSpinBox>(d, "spnRate")->value();
                                     if (touch) {
                                         boxes.last()->stepUp(); // the pace, as a finger would set it
                                         auto *spoken = child<QCheckBox>(d, "chkSpoken");
                                         click(spoken, QPoint(10, spoken->height() / 2));
                                         // Touched on the box itself, as a finger would.
                                         auto *autostart = child<QCheckBox>(d, "chkAutostart");
                                         for (int i = 0; i < 3; ++i) {
                                             click(autostart, QPoint(10, autostart->height() / 2));
                                             entryAfterTouch << QFileInfo(autostartFile()).isFile();
                                         }
                                     }
                                     click(child(d, "cmdClose"));
                                 }},
                                {"frmOPT", [](QWidget *d) { click(child(d, "cmdOK0")); }}}); // キャンセル
            click(fx.ui().cmdOpt);
            QVERIFY(script.done());
            QCOMPARE(order, (QStringList{"縦（あかさたな…の列ごと）", "横（あいうえお…の段ごと）"}));
            // Step, first item, rounds, accept, lock, dwell, pace.
            QCOMPARE(seconds, (QStringList{"0.8", "2.5", "2", "0.0", "0.3", "1.2", "0.9"}));
            QCOMPARE(rate, 8);
            QCOMPARE(fx.store->valueIn("SPEECH", "Spoken"), touch ? std::optional<QString>("1") : std::nullopt);
            QCOMPARE(fx.store->valueIn("ACCESS", "Pace"), std::optional<QString>(touch ? "1000" : "900"));
            QCOMPARE(entryAfterTouch, touch ? (QList<bool>{true, false, true}) : QList<bool>());
        }
        QCOMPARE(fx.store->valueIn("ACCESS", "ScanStep"), std::optional<QString>("750"));
        QCOMPARE(fx.store->valueIn("SPEECH", "Rate"), std::optional<QString>("8"));
        QVERIFY(fx.win->access().settings() == (AccessSettings{.Scan = 2, .ScanStep = 750, .ScanFirst = 2.5, .Dwell = 1200, .Pace = 1000}));
        QCOMPARE(fx.store->value("OPT1"), std::nullopt);
        QFile entry(autostartFile());
        QVERIFY(entry.open(QIODevice::ReadOnly) && entry.readAll().contains("--fullscreen --home " + fx.home.path().toUtf8() + '\n'));
    }
};

KEL_TEST(test_texts, TestTexts)
#include "test_texts.moc"
