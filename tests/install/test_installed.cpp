// The program installed into a prefix of its own, started as a user would:
// where it keeps the user's files, whether it finds its default sound set,
// what it says when a place is missing, what it answers without a display,
// and the login entry for kiosk use.

#include "support/TestMain.h"
#include "speech/SoundSet.h"
#include "support/Files.h"
#include "support/SmallDisk.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

struct Run {
    int exitCode = -1;
    QString out, err;
};

int kAll() { return int(kel::soundSetCharacters().size()); }

} // namespace

class TestInstalled : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(prefix.isValid());
        const kel::test::Ran install = kel::test::runProgram("cmake", {"--install", KEL_BUILD_DIR, "--prefix", prefix.path()});
        QVERIFY2(install.code == 0, install.err.constData());
        program = prefix.filePath("bin/kelvoran");
        voices = prefix.filePath("share/kelvoran/voices");
        QVERIFY(QFileInfo(program).isExecutable());
    }

    void installedProgram_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("files");    // the data folder, under the test's home <T>
        QTest::addColumn<int>("silent");       // characters without a sound
        QTest::addColumn<QString>("problems"); // what the start says, "" for nothing
        QTest::newRow("XDG_DATA_HOME") << "xdg" << "<T>/xdg/kelvoran" << 0 << "";
        QTest::newRow("no XDG_DATA_HOME") << "" << "<T>/home/.local/share/kelvoran" << 0 << "";
        QTest::newRow("data folder is a file")
            << "xdg file" << "<T>/home/.local/share/kelvoran" << 0
            << "kelvoran: cannot store in <T>/xdg/kelvoran; storing in <T>/home/.local/share/kelvoran\n";
        QTest::newRow("default sound set removed by hand")
            << "xdg bare" << "<T>/xdg/kelvoran" << kAll()
            << QStringLiteral("kelvoran: no sound for %1 of %1 characters (missing: <S>)\n").arg(kAll());
        QTest::newRow("own recordings make up for a removed set") << "xdg bare own" << "<T>/xdg/kelvoran" << 0 << "";
        QTest::newRow("read-only copied folder gives way, its sentences come along")
            << "xdg stick" << "<T>/xdg/kelvoran" << 0
            << "kelvoran: cannot store in <T>/copy/bin; storing in <T>/xdg/kelvoran\n";
        // Its settings folder cannot be made (the path runs through a file).
        QTest::newRow("no folders yet, no settings folder") << "blocked" << "<T>/missing/home" << 0 << "";
    }

    void installedProgram()
    {
        QFETCH(QString, setup);
        QFETCH(QString, files);
        QFETCH(int, silent);
        QFETCH(QString, problems);
        QTemporaryDir t;
        const QStringList flags = setup.split(' ');
        QProcessEnvironment env = baseEnv(t);
        QString bin = program, set = voices;
        if (flags.contains("xdg"))
            env.insert("XDG_DATA_HOME", t.filePath("xdg"));
        if (flags.contains("file"))
            QVERIFY(QDir().mkpath(t.filePath("xdg")) && QFile(t.filePath("xdg/kelvoran")).open(QIODevice::WriteOnly));
        if (flags.contains("own"))
            QVERIFY(copyAll(voices, t.filePath("xdg/kelvoran")));
        if (flags.contains("blocked")) {
            QVERIFY(QFile(t.filePath("not-a-folder")).open(QIODevice::WriteOnly));
            env.insert("XDG_CONFIG_HOME", t.filePath("not-a-folder/config"));
            env.insert("KELVORAN_HOME", t.filePath("missing/home"));
        }
        // The program copied alone ("bare"), or with its set and a Talk.txt
        // onto a disk that is then made read-only (a write-protected stick).
        const QByteArray sentences = "\"\x82\xa0\"\r\n"; // "あ" in code page 932
        std::unique_ptr<kel::SmallDisk> stick;
        if (flags.contains("stick")) {
            stick = std::make_unique<kel::SmallDisk>(t.filePath("copy"), "size=128m");
            if (!stick->mounted())
                QFAIL("cannot mount a tmpfs here: mount needs root (run the tests as root or in a container)");
        }
        if (stick || flags.contains("bare")) {
            bin = t.filePath("copy/bin/kelvoran");
            set = t.filePath("copy/share/kelvoran/voices");
            QVERIFY(QDir().mkpath(t.filePath("copy/bin")) && QFile::copy(program, bin));
        }
        if (stick) {
            QFile talk(t.filePath("copy/bin/Talk.txt"));
            QVERIFY(talk.open(QIODevice::WriteOnly) && talk.write(sentences) == sentences.size());
            talk.close();
            QVERIFY(copyAll(voices, set) && stick->makeReadOnly());
        }
        const auto expand = [&](QString s) {
            // Placeholders no temporary path can hold: the folder names end in
            // random letters, so "T/" or "S/" could turn up inside them.
            return s.replace("<T>", t.path()).replace("<S>", set);
        };

        // Only looks: not a folder made, not a file written or copied.
        const QStringList before = allIn(t.path());
        const Run where = run(env, {"--where"}, bin);
        QCOMPARE(allIn(t.path()), before);
        QCOMPARE(where.exitCode, 0);
        QCOMPARE(where.out.section('\n', 0, 2) + '\n',
                 QStringLiteral("files:     %1\nsounds:    %1, then %2\nsilent:    %3 of %4 characters\n")
                     .arg(expand(files), set).arg(silent).arg(kAll()));
        // Installed or copied somewhere alone, it has all of itself: kanji
        // are read by their reading, with no part looked for elsewhere.
        const Run reading = run(env, {"--reading", "水を"}, bin);
        QCOMPARE(reading.out, "み ず お\n");
        const Run start = run(env, {"--quit-when-shown"}, bin);
        QCOMPARE(start.exitCode, 0);
        QCOMPARE(start.err, expand(problems));
        // The first start writes the sentence file where the user's files
        // live; a copied one comes along unchanged.
        QFile talk(expand(files) + "/Talk.txt");
        QVERIFY(talk.open(QIODevice::ReadOnly));
        if (stick)
            QCOMPARE(talk.readAll(), sentences);
        // The writing test leaves nothing behind.
        QCOMPARE(QDir(expand(files)).entryList(QDir::Files | QDir::Hidden).filter(".kelvoran-probe"),
                 QStringList());
    }

    // Answers without a display: a command line (with "|" between the
    // arguments and <T> for the test's home), its exit code, what standard
    // output says (these pieces in this order), and the login entry's Exec
    // line it leaves (<P> for the program), "" for none.
    void commands_data()
    {
        QTest::addColumn<QString>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("says");
        QTest::addColumn<QString>("exec");
        const QStringList on{"autostart on: <T>/config/autostart/kelvoran.desktop\n"};
        QTest::newRow("--version") << "--version" << 0 << QStringList{"Kelvoran 1.3\n"} << "";
        QTest::newRow("--help: the options, and where the files go, in order")
            << "--help" << 0
            << QStringList{"Usage: kelvoran [options]\nKelvoran: a Japanese talking board.", "--home <DIR>",
                           "$KELVORAN_HOME", "Talk.txt", "$XDG_DATA_HOME/kelvoran", "~/.local/share/kelvoran",
                           "default set", "--fullscreen"} << "";
        QTest::newRow("--autostart maybe") << "--autostart|maybe" << 2 << QStringList{} << "";
        QTest::newRow("autostart, a space: quoted") << "--autostart|on|--home|<T>/my data" << 0 << on
                                                    << "Exec=<P> --fullscreen --home \"<T>/my data\"";
        QTest::newRow("autostart, percent") << "--autostart|on|--home|<T>/50%" << 0 << on
                                            << "Exec=<P> --fullscreen --home <T>/50%%";
        QTest::newRow("autostart, quote, dollar, backslash") << "--autostart|on|--home|<T>/a\"$b\\c" << 0 << on
            << "Exec=<P> --fullscreen --home \"<T>/a\\\\\"\\\\$b\\\\\\\\c\"";
        QTest::newRow("autostart, line break refused") << "--autostart|on|--home|<T>/a\nb" << 1 << QStringList{} << "";
    }

    void commands()
    {
        QFETCH(QString, args);
        QFETCH(QStringList, says);
        QFETCH(QString, exec);
        QTemporaryDir t;
        QProcessEnvironment env = baseEnv(t);
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.remove("DISPLAY");
        const auto expand = [&](QString s) { return s.replace("<T>", t.path()).replace("<P>", program); };
        const Run r = run(env, expand(args).split('|'));
        QTEST(r.exitCode, "exitCode");
        qsizetype at = 0;
        for (const QString &piece : says) {
            at = r.out.indexOf(expand(piece), at);
            QVERIFY2(at >= 0, qPrintable(piece + " missing or out of order:\n" + r.out));
        }
        const QString entry = t.filePath("config/autostart/kelvoran.desktop");
        QCOMPARE(QFileInfo::exists(entry), !exec.isEmpty());
        if (exec.isEmpty())
            return;
        QFile file(entry);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
        QCOMPARE(lines.first(), "[Desktop Entry]");
        QVERIFY2(lines.contains(expand(exec)), qPrintable(lines.join('\n')));
        QVERIFY(run(env, {"--where"}).out.contains("autostart: " + entry + '\n'));
        QCOMPARE(run(env, {"--autostart", "off"}).exitCode, 0);
        QVERIFY(!QFileInfo::exists(entry));
    }

    // The installed manual page lists in its OPTIONS exactly the options
    // --help lists.
    void manualListsEveryOption()
    {
        QTemporaryDir t;
        const QRegularExpression helpOption(QStringLiteral("^  (?:-\\w, )?--([a-z][a-z-]*)"),
                                            QRegularExpression::MultilineOption);
        QStringList inHelp;
        for (const auto &m : helpOption.globalMatch(run(baseEnv(t), {"--help"}).out))
            inHelp << m.captured(1);
        const kel::test::Ran gunzip = kel::test::runProgram("gzip", {"-dc", prefix.filePath("share/man/man1/kelvoran.1.gz")});
        QVERIFY(gunzip.code == 0);
        const QString page = QString::fromUtf8(gunzip.out);
        const QString options = page.section(QStringLiteral(".SH OPTIONS"), 1).section(QStringLiteral("\n.SH "), 0, 0);
        // Each entry: ".TP", then its option line (".B \-\-where", ".BI \-\-home " DIR"").
        const QRegularExpression manOption(QStringLiteral("^\\.TP\n\\.B[RI]? (?:\\\\-\\w, )?\\\\-\\\\-([a-z][a-z\\\\-]*)"),
                                           QRegularExpression::MultilineOption);
        QStringList inManual;
        for (const auto &m : manOption.globalMatch(options))
            inManual << m.captured(1).remove(QLatin1Char('\\'));
        QVERIFY(inHelp.size() > 5);
        inHelp.sort();
        inManual.sort();
        QCOMPARE(inManual, inHelp);
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

    // The program's own lines of standard error only: Qt's libraries may add
    // theirs (an audio client that finds no server, for one).
    Run run(const QProcessEnvironment &env, const QStringList &args, const QString &bin = {}) const
    {
        const kel::test::Ran ran = kel::test::runProgram(bin.isEmpty() ? program : bin, args, env, {}, 30'000);
        Run r{ran.code, QString::fromUtf8(ran.out), {}};
        for (const QString &line : QString::fromUtf8(ran.err).split(u'\n'))
            if (line.startsWith(QLatin1String("kelvoran: ")))
                r.err += line + u'\n';
        return r;
    }

    // Every folder and file under `root`, with its size.
    static QStringList allIn(const QString &root)
    {
        QStringList all;
        QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo info = it.nextFileInfo();
            all << info.filePath() + (info.isDir() ? QStringLiteral("/") : QStringLiteral(" %1").arg(info.size()));
        }
        all.sort();
        return all;
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

KEL_TEST(test_installed, TestInstalled)
#include "test_installed.moc"
