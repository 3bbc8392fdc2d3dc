// Where the user's files live, which file voices a character, and the login
// entry: each decided by a plain function, driven here by tables.

#include "base/Autostart.h"
#include "base/DataHome.h"
#include "speech/WavName.h"

#include <QSet>
#include <QTest>

using namespace kel;

Q_DECLARE_METATYPE(std::optional<QString>)

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

    void soundFile_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("userFolder");
        QTest::addColumn<QString>("ch");
        QTest::addColumn<std::optional<QString>>("expected");
        const QString own = "/u/か.wav", set = "/s/か.wav";
        QTest::newRow("own recording wins") << QStringList{own, set} << "/u" << "か" << std::optional(own);
        QTest::newRow("default set fills in") << QStringList{set} << "/u" << "か" << std::optional(set);
        QTest::newRow("neither: silence") << QStringList{"/u/が.wav"} << "/u" << "か" << std::optional<QString>();
        QTest::newRow("no file name possible") << QStringList{"/u/.wav", "/s/.wav"} << "/u" << "/"
                                               << std::optional<QString>();
        QTest::newRow("no user folder") << QStringList{"/s/か.wav"} << "" << "か" << std::optional(set);
    }

    void soundFile()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, userFolder);
        QFETCH(QString, ch);
        const auto isFile = [&](const QString &p) { return files.contains(p); };
        QTEST(soundFileFor(userFolder, "/s", ch, isFile), "expected");
    }

    void soundSetFolder_data()
    {
        QTest::addColumn<QStringList>("dirs");
        QTest::addColumn<QString>("expected");
        QTest::newRow("installed") << QStringList{"/usr/share/kelvoran/voices", "/usr/bin/voices"}
                                   << "/usr/share/kelvoran/voices";
        QTest::newRow("build folder") << QStringList{"/usr/bin/voices"} << "/usr/bin/voices";
        QTest::newRow("removed by hand") << QStringList{} << "/usr/share/kelvoran/voices";
    }

    void soundSetFolder()
    {
        QFETCH(QStringList, dirs);
        QTEST(defaultSoundSetFolder("/usr/bin", [&](const QString &d) { return dirs.contains(d); }), "expected");
    }

    void autostartExec_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("exec");
        QTest::newRow("installed") << "/usr/bin/kelvoran" << QStringList{"--fullscreen"}
                                   << "Exec=/usr/bin/kelvoran --fullscreen";
        QTest::newRow("space and percent") << "/opt/my talk/kelvoran" << QStringList{"--home", "/srv/50%"}
                                           << "Exec=\"/opt/my talk/kelvoran\" --home /srv/50%%";
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
