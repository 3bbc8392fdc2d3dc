// What a start works out before the window shows: where the user's files
// live, and the option copies read from what Talk.ini stores, including
// values a user or an older version may have left there. Plain functions,
// driven here by tables. (The plain places, a copied folder with its
// Talk.txt, a data folder that is a file and a read-only copy, each giving
// way to the next place, are started for real in test_package, with the
// login entry; every option set, OPT1 7 and Sample 9 are opened and stored back
// through the dialog in test_options_dialog.)

#include "support/TestMain.h"
#include "base/AppState.h"
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

    // The copies hold the stored text; `read` is how the handlers take it:
    // touch rule, enlarged rule, voice, beep, large text, suggestions.
    void optionCopies_data()
    {
        QTest::addColumn<Stored>("stored");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("read");
        QTest::addColumn<int>("maxC");
        QTest::addColumn<int>("sampleChars");

        const QStringList defaults{"0", "0", "0", "0", "0", "1"};
        const QString plain = "0 0 0 off off on";
        QTest::newRow("empty store") << Stored{} << defaults << plain << 9 << 2;
        // Only 9 and 14 make boards whose every column can be touched.
        for (const char *v : {"10", "11", "13", "15", "29", "3", "-1", "2000000000", "wide"})
            QTest::addRow("gMaxC %s reads as 9", v) << Stored{{"gMaxC", v}} << defaults << plain << 9 << 2;
        QTest::newRow("gMaxC 14.0") << Stored{{"gMaxC", "14.0"}} << defaults << plain << 14 << 2;
        // Values no handler can read take the defaults.
        for (auto [key, v] : {std::pair{"Sample", "0"}, {"Sample", "two"}, {"Sample", "2.5"}, {"OPT1", "abc"},
                              {"OPT3", "loud"}, {"Samp", ""}, {"Samp", "on"}, {"OPT1", "-1"}, {"OPT1", "4"},
                              {"OPT1", "7"}, {"OPT1", "1.5"}, {"OPT2", "2"}, {"OPT3", "4"}, {"OPT3", "inf"}})
            QTest::addRow("%s \"%s\"", key, v) << Stored{{key, v}} << defaults << plain << 9 << 2;
        // Any other text of "Beep" and "Moji" is off, as written.
        for (auto [key, v] : {std::pair{"Beep", "01"}, {"Beep", "yes"}, {"Beep", "2"}, {"Moji", "-1"}, {"Moji", "1.0"}})
            QTest::addRow("%s \"%s\": off", key, v) << Stored{{key, v}}
                << QStringList{"0", "0", "0", key == QByteArray("Beep") ? v : "0", key == QByteArray("Moji") ? v : "0", "1"}
                << plain << 9 << 2;
        QTest::newRow("Samp \"0.0\": no suggestions") << Stored{{"Samp", "0.0"}}
                                                      << QStringList{"0", "0", "0", "0", "0", "0.0"} << "0 0 0 off off off" << 9 << 2;
        QTest::newRow("Samp \"2\": suggestions") << Stored{{"Samp", "2"}} << QStringList{"0", "0", "0", "0", "0", "2"} << plain
                                               << 9 << 2;
        QTest::newRow("Sample 1") << Stored{{"Sample", "1"}} << defaults << plain << 9 << 1;
        QTest::newRow("every value at its other end, written loosely")
            << Stored{{"OPT1", " 3"}, {"OPT2", "01"}, {"OPT3", "3.0"}, {"Beep", "1"}, {"Moji", "1"}, {"Samp", "00"}, {"Sample", "5 "}}
            << QStringList{" 3", "01", "3.0", "1", "1", "00"} << "3 1 3 on on off" << 9 << 5;
    }

    void optionCopies()
    {
        QFETCH(Stored, stored);
        const OptionCopies c = readOptionCopies([&](const QString &key) -> std::optional<QString> {
            auto it = stored.find(key);
            return it == stored.end() ? std::nullopt : std::optional(it->second);
        });
        QTEST(c.options, "options");
        AppState st;
        st.Options = c.options;
        const auto onOff = [](bool on) { return on ? QStringLiteral("on") : QStringLiteral("off"); };
        QTEST(QStringLiteral("%1 %2 %3 %4 %5 %6")
                  .arg(st.number(OPT1)).arg(st.number(OPT2)).arg(st.number(OPT3))
                  .arg(onOff(st.beepOn()), onOff(st.option(Moji) == "1"), onOff(st.number(Samp) != 0)),
              "read");
        QTEST(c.maxC, "maxC");
        QTEST(c.sampleChars, "sampleChars");
    }
};

KEL_TEST(test_startup, TestStartup)
#include "test_startup.moc"
