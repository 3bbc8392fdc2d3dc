// Where the user's files live and how the login entry starts the program:
// plain functions, driven here by tables. (Which file voices a character is
// heard in test_reading; the installed set is found in test_installed.)

#include "base/Autostart.h"
#include "base/DataHome.h"

#include <QTest>

using namespace kel;

class TestPlaces : public QObject {
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
        QTest::newRow("nothing set: ~/.local/share") << "" << "" << "" << none << none << homeK << homeK << true;
        QTest::newRow("XDG_DATA_HOME") << "" << "" << "/x" << none << none << xdgK << xdgK << true;
        QTest::newRow("relative XDG_DATA_HOME is ignored")
            << "" << "" << "x" << none << none << homeK << homeK << true;
        QTest::newRow("--home wins over everything")
            << "/o/" << "/e" << "/x" << QStringList{"/p/Talk.txt"} << none << "/o" << "/o" << true;
        QTest::newRow("KELVORAN_HOME over the program folder")
            << "" << "/e" << "/x" << QStringList{"/p/Talk.txt"} << none << "/e" << "/e" << true;
        QTest::newRow("copied folder with Talk.txt")
            << "" << "" << "/x" << QStringList{"/p/Talk.txt"} << none << "/p" << "/p" << true;
        QTest::newRow("read-only copied folder gives way")
            << "" << "" << "/x" << QStringList{"/p/Talk.txt"} << QStringList{"/p"} << xdgK << "/p" << true;
        QTest::newRow("unwritable --home gives way to KELVORAN_HOME")
            << "/o" << "/e" << "" << none << QStringList{"/o"} << "/e" << "/o" << true;
        QTest::newRow("XDG folder is a file: ~/.local/share")
            << "" << "" << "/x" << none << QStringList{xdgK} << homeK << xdgK << true;
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

    void autostartExec_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("exec");
        // Plain arguments and quoted ones with a space: see test_installed.
        QTest::newRow("percent") << "/k" << QStringList{"--home", "/srv/50%"} << "Exec=/k --home /srv/50%%";
        QTest::newRow("quote, dollar, backslash")
            << "/k" << QStringList{"--home", "/a\"$b\\c"} << "Exec=/k --home \"/a\\\\\"\\\\$b\\\\\\\\c\"";
        QTest::newRow("line break refused") << "/k" << QStringList{"--home", "/a\nb"} << "";
    }

    void autostartExec()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, args);
        QFETCH(QString, exec);
        const std::optional<QString> entry = autostartEntry(program, args);
        QCOMPARE(entry.has_value(), !exec.isEmpty());
        if (entry) {
            QVERIFY(entry->startsWith("[Desktop Entry]\n"));
            QVERIFY2(entry->split('\n').contains(exec), qPrintable(*entry));
        }
    }
};

QTEST_GUILESS_MAIN(TestPlaces)
#include "test_places.moc"
