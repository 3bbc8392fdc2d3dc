// What a start works out before the window shows: where the user's files
// live, and the option copies read from what Talk.ini stores, including
// values a user or an older version may have left there. Plain functions,
// driven here by tables. (The plain places, a data folder that is a file and
// a read-only copy are started for real in test_installed, with the login
// entry; every option set, OPT1 7 and Sample 9 are opened and stored back
// through the dialog in test_options_dialog.)

#include "support/TestMain.h"
#include "base/DataHome.h"
#include "base/Options.h"

#include <QTest>
#include <map>

using namespace kel;

using Stored = std::map<QString, QString>;
Q_DECLARE_METATYPE(Stored)

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void dataHome_data()
    {
        QTest::addColumn<QString>("homeOption");
        QTest::addColumn<QString>("envHome");
        QTest::addColumn<QString>("xdg");
        QTest::addColumn<QStringList>("talkFiles");    // Talk.txt files that exist
        QTest::addColumn<QStringList>("unwritable");   // folders that refuse a file
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("wanted");
        QTest::addColumn<bool>("usable");

        const QString xdgK = "/x/kelvoran", homeK = "/h/.local/share/kelvoran";
        const QStringList none;
        QTest::newRow("relative XDG_DATA_HOME is ignored")
            << "" << "" << "x" << none << none << homeK << homeK << true;
        QTest::newRow("--home wins over everything")
            << "/o/" << "/e" << "/x" << QStringList{"/p/Talk.txt"} << none << "/o" << "/o" << true;
        QTest::newRow("KELVORAN_HOME over the program folder")
            << "" << "/e" << "/x" << QStringList{"/p/Talk.txt"} << none << "/e" << "/e" << true;
        QTest::newRow("copied folder with Talk.txt")
            << "" << "" << "/x" << QStringList{"/p/Talk.txt"} << none << "/p" << "/p" << true;
        QTest::newRow("unwritable --home gives way to KELVORAN_HOME")
            << "/o" << "/e" << "" << none << QStringList{"/o"} << "/e" << "/o" << true;
        QTest::newRow("nowhere to store: the wanted one, unusable")
            << "/o" << "" << "/x" << none << QStringList{"/o", xdgK, homeK} << "/o" << "/o" << false;
    }

    void dataHome()
    {
        QFETCH(QString, homeOption);
        QFETCH(QString, envHome);
        QFETCH(QString, xdg);
        QFETCH(QStringList, talkFiles);
        QFETCH(QStringList, unwritable);
        const FolderProbe probe{[&](const QString &f) { return !unwritable.contains(f); },
                                [&](const QString &f) { return talkFiles.contains(f); }};
        const DataHome home = chooseDataHome({homeOption, envHome, "/p", xdg, "/h"}, probe);
        QTEST(home.folder, "folder");
        QTEST(home.wanted, "wanted");
        QTEST(home.usable, "usable");
    }

    void optionCopies_data()
    {
        QTest::addColumn<Stored>("stored");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("maxC");
        QTest::addColumn<int>("sampleChars");

        const QStringList defaults{"0", "0", "0", "0", "0", "1"};
        QTest::newRow("empty store") << Stored{} << defaults << 9 << 2;
        // Only 9 and 14 make boards whose every column can be touched.
        for (const char *v : {"10", "11", "13", "15", "29", "3", "-1", "2000000000", "wide"})
            QTest::addRow("gMaxC %s reads as 9", v) << Stored{{"gMaxC", v}} << defaults << 9 << 2;
        // Values no dialog stores read as the defaults.
        for (auto [key, v] : {std::pair{"Sample", "0"}, {"Sample", "two"}, {"OPT1", "abc"}, {"OPT3", "loud"}, {"Samp", ""},
                              {"OPT1", "-1"}, {"OPT1", "4"}, {"OPT1", "7"}, {"OPT2", "2"}, {"OPT3", "4"},
                              {"Beep", "yes"}, {"Beep", "2"}, {"Moji", "-1"}, {"Samp", "2"}})
            QTest::addRow("%s \"%s\"", key, v) << Stored{{key, v}} << defaults << 9 << 2;
        QTest::newRow("Sample 1") << Stored{{"Sample", "1"}} << defaults << 9 << 1;
        QTest::newRow("every value at its other end, written loosely")
            << Stored{{"OPT1", " 3"}, {"OPT2", "01"}, {"OPT3", "3 "}, {"Beep", "1"}, {"Moji", "1"}, {"Samp", "0"}}
            << QStringList{"3", "1", "3", "1", "1", "0"} << 9 << 2;
    }

    void optionCopies()
    {
        QFETCH(Stored, stored);
        const OptionCopies c = readOptionCopies([&](const QString &key) -> std::optional<QString> {
            auto it = stored.find(key);
            return it == stored.end() ? std::nullopt : std::optional(it->second);
        });
        QTEST(c.options, "options");
        QTEST(c.maxC, "maxC");
        QTEST(c.sampleChars, "sampleChars");
    }
};

KEL_TEST(test_startup, TestStartup)
#include "test_startup.moc"
