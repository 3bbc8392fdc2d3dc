// The Debian package and the program it installs. CPack makes the package
// from the build; dpkg-deb shows what apt would put on disk and what it would
// pull in, and unpacks it into a folder of its own. The program unpacked
// there is started as a user would: where it keeps the user's files,
// whether it finds its default sound set, what it says when a place is
// missing, what it answers without a display, and the login entry for kiosk
// use.

#include "support/TestMain.h"
#include "speech/MoraHeights.h"
#include "speech/SoundSet.h"
#include "support/Files.h"
#include "support/SmallDisk.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

// A tool's standard output ("" when it failed, its words in the log). cpack
// strips, asks dpkg-shlibdeps and compresses: however long a busy machine
// takes, ctest's timeout is the only bound.
QByteArray tool(const QString &program, const QStringList &args) { return kel::test::runTool(program, args, -1).value_or(""); }

int kAll() { return int(kel::soundSetCharacters().size()); }

} // namespace

class TestPackage : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(out.isValid());
        const QByteArray made = tool("cpack", {"--config", QStringLiteral(KEL_BUILD_DIR "/CPackConfig.cmake"),
                                              "-B", out.path()});
        QVERIFY2(!made.isEmpty(), "cpack failed");
        const QStringList debs = QDir(out.path()).entryList({"*.deb"});
        // The name is made of the Package, Version and Architecture fields.
        QCOMPARE(debs, QStringList{"kelvoran_1.3_amd64.deb"});
        deb = out.filePath(debs.first());
        // "-rw-r--r-- root/root  1234 2026-12-07 01:00 ./usr/bin/kelvoran"
        static const QRegularExpression line(R"(^(\S+) (\S+)\s+\d+ \S+ \S+ \.(/.*)$)");
        for (const QString &row : QString::fromUtf8(tool("dpkg-deb", {"--contents", deb})).split('\n')) {
            const auto m = line.match(row);
            if (m.hasMatch())
                contents.insert(m.captured(3), m.captured(1) + ' ' + m.captured(2));
        }
        QVERIFY(kel::test::runTool("dpkg-deb", {"-x", deb, out.filePath("root")}, -1));
        menuEntry = QString::fromUtf8(kel::test::readFile(out.filePath("root/usr/share/applications/kelvoran.desktop"))).split('\n');
        program = out.filePath("root/usr/bin/kelvoran");
        voices = out.filePath("root/usr/share/kelvoran/voices");
        QVERIFY(QFileInfo(program).isExecutable());
    }

    // Paths in the package with their mode and owner, a control field's
    // parts (patterns, each a whole item of its list), or the menu entry's lines.
    void holds_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QStringList>("what");
        const QString program = " -rwxr-xr-x root/root", data = " -rw-r--r-- root/root";
        QTest::newRow("files") << "/" << QStringList{
            "/usr/bin/kelvoran" + program, "/usr/bin/kelvoran-make-voices" + program, "/usr/share/applications/kelvoran.desktop" + data,
            "/usr/share/icons/hicolor/scalable/apps/kelvoran.svg" + data, "/usr/share/man/man1/kelvoran.1.gz" + data,
            "/usr/share/man/man1/kelvoran-make-voices.1.gz" + data};
        // Qt, its Japanese texts, the IPA fonts, the reading's dictionary and analyser.
        QTest::newRow("Depends") << "Depends" << QStringList{"libqt6widgets6 \\(>= 6", "libqt6multimedia6 \\(>= 6",
            "fonts-ipafont-gothic(,|$)", "qt6-translations-l10n(,|$)", "mecab-ipadic-utf8(,|$)", "libmecab2 \\(>= "};
        // A sound server, the synthesiser, the kana model.
        QTest::newRow("Recommends") << "Recommends" << QStringList{"pulseaudio \\| pipewire-pulse(,|$)", "espeak-ng(,|$)", "libkkc-data(,|$)"};
        // The program and the icon as installed above; a full-screen start.
        QTest::newRow("menu") << "menu" << QStringList{"Exec=kelvoran", "Icon=kelvoran", "Name[ja]=全画面で開く", "Exec=kelvoran --fullscreen"};
    }

    void holds()
    {
        QFETCH(QString, where);
        QFETCH(QStringList, what);
        const bool isField = where != "/" && where != "menu";
        const QString field = isField ? QString::fromUtf8(tool("dpkg-deb", {"--field", deb, where})).trimmed() : QString();
        for (const QString &item : what) {
            if (where == "/")
                QCOMPARE(item.section(' ', 0, 0) + ' ' + contents.value(item.section(' ', 0, 0)), item);
            else if (where == "menu")
                QVERIFY2(menuEntry.contains(item), qPrintable(menuEntry.join('\n')));
            else
                QVERIFY2(QRegularExpression("(^|, )" + item).match(field).hasMatch(), qPrintable(where + ": " + field));
        }
    }

    void wholeSoundSetAndNothingElse()
    {
        QStringList expected;
        for (const QString &ch : kel::soundSetCharacters())
            expected << "/usr/share/kelvoran/voices/" + ch + ".wav";
        QStringList voices;
        for (const QString &path : contents.keys()) {
            QVERIFY2(path.startsWith("/usr/"), qPrintable(path)); // no configuration, nothing in a home
            if (path.startsWith("/usr/share/kelvoran/voices/") && !path.endsWith('/')) {
                voices << path;
                QCOMPARE(contents.value(path), "-rw-r--r-- root/root"); // writable by root alone
            }
        }
        // Each mora's high and low beside it.
        QVERIFY(voices.contains("/usr/share/kelvoran/voices/か.high.wav") && voices.contains("/usr/share/kelvoran/voices/か.low.wav"));
        voices.removeIf([&](const QString &path) {
            const QString base = kel::heightOf(path.chopped(4));
            return !base.isEmpty() && expected.contains(base + ".wav");
        });
        expected.sort();
        voices.sort();
        QCOMPARE(voices, expected);
    }

    void installedProgram_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("files");    // the data folder, under the test's home <T>
        QTest::addColumn<int>("silent");       // characters without a sound
        QTest::addColumn<QString>("problems"); // what the start says, "" for nothing
        QTest::newRow("XDG_DATA_HOME") << "xdg" << "<T>/xdg/kelvoran" << 0 << "";
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
            QVERIFY(kel::test::writeFile(t.filePath("copy/bin/Talk.txt"), sentences));
            QVERIFY(copyAll(voices, set) && stick->makeReadOnly());
        }
        const auto expand = [&](QString s) {
            // Placeholders no temporary path can hold: the folder names end in
            // random letters, so "T/" or "S/" could turn up inside them.
            return s.replace("<T>", t.path()).replace("<S>", set);
        };

        // Only looks: not a folder made, not a file written or copied.
        const QByteArray before = allIn(t.path());
        QVERIFY(!before.isEmpty());
        const kel::test::Ran where = run(env, {"--where"}, bin);
        QCOMPARE(allIn(t.path()), before);
        QCOMPARE(where.code, 0);
        QCOMPARE(QString::fromUtf8(where.out).section('\n', 0, 2) + '\n',
                 QStringLiteral("files:     %1\nsounds:    %1, then %2\nsilent:    %3 of %4 characters\n")
                     .arg(expand(files), set).arg(silent).arg(kAll()));
        // Installed or copied somewhere alone, it has all of itself: kanji
        // are read by their reading, with no part looked for elsewhere.
        QCOMPARE(run(env, {"--reading", "水を"}, bin).out, QByteArray("み ず お\n"));
        const kel::test::Ran start = run(env, {"--quit-when-shown"}, bin);
        QCOMPARE(start.code, 0);
        QCOMPARE(QString::fromUtf8(start.err), expand(problems));
        // The first start writes the sentence file where the user's files
        // live; a copied one comes along unchanged.
        QVERIFY(QFileInfo(expand(files) + "/Talk.txt").isFile());
        if (stick)
            QCOMPARE(kel::test::readFile(expand(files) + "/Talk.txt"), sentences);
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
        const kel::test::Ran r = run(env, expand(args).split('|'));
        QTEST(r.code, "exitCode");
        qsizetype at = 0;
        for (const QString &piece : says) {
            at = r.out.indexOf(expand(piece).toUtf8(), at);
            QVERIFY2(at >= 0, qPrintable(piece + " missing or out of order:\n" + r.out));
        }
        const QString entry = t.filePath("config/autostart/kelvoran.desktop");
        QCOMPARE(QFileInfo::exists(entry), !exec.isEmpty());
        if (exec.isEmpty())
            return;
        const QStringList lines = QString::fromUtf8(kel::test::readFile(entry)).split('\n');
        QCOMPARE(lines.first(), "[Desktop Entry]");
        QVERIFY2(lines.contains(expand(exec)), qPrintable(lines.join('\n')));
        QVERIFY(run(env, {"--where"}).out.contains(("autostart: " + entry + '\n').toUtf8()));
        QCOMPARE(run(env, {"--autostart", "off"}).code, 0);
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
        for (const auto &m : helpOption.globalMatch(QString::fromUtf8(run(baseEnv(t), {"--help"}).out)))
            inHelp << m.captured(1);
        const QString page = QString::fromUtf8(tool("gzip", {"-dc", out.filePath("root/usr/share/man/man1/kelvoran.1.gz")}));
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
    kel::test::Ran run(const QProcessEnvironment &env, const QStringList &args, const QString &bin = {}) const
    {
        kel::test::Ran ran = kel::test::runProgram(bin.isEmpty() ? program : bin, args, env, {}, 30'000);
        const QByteArrayList lines = ran.err.split('\n');
        ran.err.clear();
        for (const QByteArray &line : lines)
            if (line.startsWith("kelvoran: "))
                ran.err += line + '\n';
        return ran;
    }

    // Every entry under `root`, with its kind and size.
    static QByteArray allIn(const QString &root) { return tool("find", {root, "-printf", "%p %y %s\n"}); }

    static bool copyAll(const QString &from, const QString &to)
    {
        return QDir().mkpath(to) && kel::test::runTool("cp", {"-rT", from, to});
    }

    QTemporaryDir out;
    QString deb;
    QHash<QString, QString> contents; // path -> "mode owner"
    QStringList menuEntry;
    QString program, voices;
};

KEL_TEST(test_package, TestPackage)
#include "test_package.moc"
