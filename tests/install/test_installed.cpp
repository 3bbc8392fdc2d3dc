// The program installed into a prefix of its own, started as a user would:
// where it keeps the user's files, whether it finds its default sound set,
// what it says when a place is missing, and the login entry for kiosk use.

#include "speech/SoundSet.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int exitCode = -1;
    QString out, err;
};

} // namespace

class TestInstalled : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(prefix.isValid());
        QProcess install;
        install.start("cmake", {"--install", KEL_BUILD_DIR, "--prefix", prefix.path()});
        QVERIFY(install.waitForFinished(60'000));
        QVERIFY2(install.exitCode() == 0, install.readAllStandardError().constData());
        program = prefix.filePath("bin/kelvoran");
        voices = prefix.filePath("share/kelvoran/voices");
        QVERIFY(QFileInfo(program).isExecutable());
    }

    void installedProgram_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("files");   // the data folder, under the test's home <T>
        QTest::addColumn<QString>("problems"); // what the start says, "" for nothing
        const int all = int(kel::soundSetCharacters().size());
        QTest::newRow("XDG_DATA_HOME") << "xdg" << "<T>/xdg/kelvoran" << "";
        QTest::newRow("no XDG_DATA_HOME") << "" << "<T>/home/.local/share/kelvoran" << "";
        QTest::newRow("data folder is a file")
            << "xdg file" << "<T>/home/.local/share/kelvoran"
            << "kelvoran: cannot store in <T>/xdg/kelvoran; storing in <T>/home/.local/share/kelvoran\n";
        QTest::newRow("default sound set removed by hand")
            << "xdg no-voices" << "<T>/xdg/kelvoran"
            << QStringLiteral("kelvoran: no sound for %1 of %1 characters (missing: <P>/share/kelvoran/voices)\n")
                   .arg(all);
        QTest::newRow("own recordings make up for a removed set")
            << "xdg no-voices own" << "<T>/xdg/kelvoran" << "";
    }

    void installedProgram()
    {
        QFETCH(QString, setup);
        QFETCH(QString, files);
        QFETCH(QString, problems);
        QTemporaryDir t;
        const QStringList flags = setup.split(' ');
        QProcessEnvironment env = baseEnv(t);
        if (flags.contains("xdg"))
            env.insert("XDG_DATA_HOME", t.filePath("xdg"));
        if (flags.contains("file")) {
            QVERIFY(QDir().mkpath(t.filePath("xdg")));
            QVERIFY(QFile(t.filePath("xdg/kelvoran")).open(QIODevice::WriteOnly));
        }
        if (flags.contains("own"))
            QVERIFY(copyAll(voices, t.filePath("xdg/kelvoran")));
        const bool hideSet = flags.contains("no-voices");
        if (hideSet && QFileInfo(voices).isDir())
            QVERIFY(QDir().rename(voices, voices + ".removed"));
        const auto restore = qScopeGuard([&] {
            if (hideSet)
                QDir().rename(voices + ".removed", voices);
        });
        const auto expand = [&](QString s) {
            // Placeholders no temporary path can hold: the folder names end in
            // random letters, so "T/" or "P/" could turn up inside them.
            return s.replace("<T>", t.path()).replace("<P>", prefix.path());
        };

        const Run where = run(env, {"--where"});
        QCOMPARE(where.exitCode, 0);
        QVERIFY2(where.out.startsWith("files:     " + expand(files) + '\n'), qPrintable(where.out));

        const Run start = run(env, {"--quit-when-shown"});
        QCOMPARE(start.exitCode, 0);
        QCOMPARE(start.err, expand(problems));
        // The first start writes the sentence file where the user's files live.
        QVERIFY(QFileInfo(expand(files) + "/Talk.txt").isFile());
        // The writing test leaves nothing behind.
        QCOMPARE(QDir(expand(files)).entryList(QDir::Files | QDir::Hidden).filter(".kelvoran-probe"),
                 QStringList());
    }

    void defaultSetFoundFromTheInstalledPath()
    {
        // With an empty user folder every character still has a sound.
        QTemporaryDir t;
        QProcessEnvironment env = baseEnv(t);
        const Run where = run(env, {"--where"});
        QVERIFY2(where.out.contains(QStringLiteral("silent:    0 of %1 characters\n")
                                        .arg(kel::soundSetCharacters().size())),
                 qPrintable(where.out));
        QVERIFY2(where.out.contains("then " + voices + '\n'), qPrintable(where.out));
    }

    void readOnlyCopiedFolderGivesWay()
    {
        // A whole installation copied with its Talk.txt onto a disk that is
        // then made read-only (a write-protected stick).
        QTemporaryDir t;
        const QString disk = t.filePath("stick");
        QVERIFY(QDir().mkpath(disk));
        if (QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=128m", "tmpfs", disk}) != 0)
            QSKIP("cannot mount a tmpfs here (needs root)");
        const auto unmount = qScopeGuard([&] { QProcess::execute("umount", {disk}); });
        QVERIFY(QDir().mkpath(disk + "/bin"));
        QVERIFY(QFile::copy(program, disk + "/bin/kelvoran"));
        QVERIFY(copyAll(voices, disk + "/share/kelvoran/voices"));
        const QByteArray sentences = "\"\x82\xa0\"\r\n"; // "あ" in code page 932
        QFile talk(disk + "/bin/Talk.txt");
        QVERIFY(talk.open(QIODevice::WriteOnly) && talk.write(sentences) == sentences.size());
        talk.close();
        QCOMPARE(QProcess::execute("mount", {"-o", "remount,ro", disk}), 0);

        QProcessEnvironment env = baseEnv(t);
        env.insert("XDG_DATA_HOME", t.filePath("xdg"));
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(disk + "/bin/kelvoran", {"--quit-when-shown"});
        QVERIFY(p.waitForFinished(30'000));
        QCOMPARE(p.exitCode(), 0);
        QCOMPARE(ownLines(p.readAllStandardError()),
                 QStringLiteral("kelvoran: cannot store in %1/bin; storing in %2/xdg/kelvoran\n").arg(disk, t.path()));
        // The sentences came along, unchanged.
        QFile moved(t.filePath("xdg/kelvoran/Talk.txt"));
        QVERIFY(moved.open(QIODevice::ReadOnly));
        QCOMPARE(moved.readAll(), sentences);
    }

    void helpStatesTheOrder()
    {
        QTemporaryDir t;
        const Run help = run(baseEnv(t), {"--help"});
        QCOMPARE(help.exitCode, 0);
        qsizetype at = 0;
        for (const char *place : {"--home", "$KELVORAN_HOME", "Talk.txt", "$XDG_DATA_HOME/kelvoran",
                                  "~/.local/share/kelvoran", "default set"}) {
            const qsizetype next = help.out.indexOf(QLatin1String(place), at);
            QVERIFY2(next >= 0, qPrintable(QStringLiteral("%1 missing or out of order:\n").arg(place) + help.out));
            at = next;
        }
    }

    void autostart()
    {
        QTemporaryDir t;
        QProcessEnvironment env = baseEnv(t);
        const QString entry = t.filePath("config/autostart/kelvoran.desktop");

        const Run on = run(env, {"--autostart", "on", "--home", t.filePath("my data")});
        QCOMPARE(on.exitCode, 0);
        QCOMPARE(on.out, "autostart on: " + entry + '\n');
        QFile file(entry);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
        file.close();
        QVERIFY2(lines.contains(QStringLiteral("Exec=%1 --fullscreen --home \"%2\"")
                                    .arg(program, t.filePath("my data"))),
                 qPrintable(lines.join('\n')));
        QVERIFY(run(env, {"--where"}).out.contains("autostart: " + entry + '\n'));

        const Run off = run(env, {"--autostart", "off"});
        QCOMPARE(off.exitCode, 0);
        QVERIFY(!QFileInfo::exists(entry));
        QCOMPARE(run(env, {"--autostart", "maybe"}).exitCode, 2);
    }

private:
    QProcessEnvironment baseEnv(const QTemporaryDir &t) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("XDG_DATA_HOME");
        env.remove("KELVORAN_HOME");
        env.insert("HOME", t.filePath("home"));
        env.insert("XDG_CONFIG_HOME", t.filePath("config"));
        env.insert("XDG_RUNTIME_DIR", t.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        return env;
    }

    // The program's own lines only: Qt's libraries may add theirs (an audio
    // client that finds no server, for one).
    static QString ownLines(const QByteArray &err)
    {
        QString own;
        for (const QString &line : QString::fromUtf8(err).split(u'\n'))
            if (line.startsWith(QLatin1String("kelvoran: ")))
                own += line + u'\n';
        return own;
    }

    Run run(const QProcessEnvironment &env, const QStringList &args) const
    {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(program, args);
        Run r;
        if (p.waitForFinished(30'000) && p.exitStatus() == QProcess::NormalExit)
            r.exitCode = p.exitCode();
        r.out = QString::fromUtf8(p.readAllStandardOutput());
        r.err = ownLines(p.readAllStandardError());
        return r;
    }

    static bool copyAll(const QString &from, const QString &to)
    {
        QDir().mkpath(to);
        for (const QString &name : QDir(from).entryList(QDir::Files | QDir::Hidden))
            if (!QFile::copy(from + '/' + name, to + '/' + name))
                return false;
        return true;
    }

    QTemporaryDir prefix;
    QString program, voices;
};

QTEST_GUILESS_MAIN(TestInstalled)
#include "test_installed.moc"
