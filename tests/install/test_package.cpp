// The Debian package: CPack makes it from the build, and dpkg-deb shows what
// apt would put on disk and what it would pull in.

#include "support/TestMain.h"
#include "speech/MoraHeights.h"
#include "speech/SoundSet.h"
#include "support/Files.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A tool's standard output, or a failed check with what it said.
QByteArray run(const QString &program, const QStringList &args)
{
    // cpack strips, asks dpkg-shlibdeps and compresses: however long a busy
    // machine takes, ctest's timeout is the only bound.
    const kel::test::Ran ran = kel::test::runProgram(program, args, QProcessEnvironment::systemEnvironment(), {}, -1);
    if (ran.code == 0)
        return ran.out;
    qWarning("%s %s: %s", qPrintable(program), qPrintable(args.join(' ')), ran.err.constData());
    return QByteArray("FAILED");
}

} // namespace

class TestPackage : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(out.isValid());
        const QByteArray made = run("cpack", {"--config", QStringLiteral(KEL_BUILD_DIR "/CPackConfig.cmake"),
                                              "-B", out.path()});
        QVERIFY2(made != "FAILED", "cpack failed");
        const QStringList debs = QDir(out.path()).entryList({"*.deb"});
        // The name is made of the Package, Version and Architecture fields.
        QCOMPARE(debs, QStringList{"kelvoran_1.3_amd64.deb"});
        deb = out.filePath(debs.first());
        // "-rw-r--r-- root/root  1234 2026-12-07 01:00 ./usr/bin/kelvoran"
        static const QRegularExpression line(R"(^(\S+) (\S+)\s+\d+ \S+ \S+ \.(/.*)$)");
        for (const QString &row : QString::fromUtf8(run("dpkg-deb", {"--contents", deb})).split('\n')) {
            const auto m = line.match(row);
            if (m.hasMatch())
                contents.insert(m.captured(3), m.captured(1) + ' ' + m.captured(2));
        }
        QVERIFY(run("dpkg-deb", {"-x", deb, out.filePath("root")}) != "FAILED");
        QFile file(out.filePath("root/usr/share/applications/kelvoran.desktop"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        menuEntry = QString::fromUtf8(file.readAll()).split('\n');
    }

    // A path in the package and its mode and owner, a control field and a
    // pattern its value matches, or a line of the menu entry.
    void holds_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("what");
        const QString program = "-rwxr-xr-x root/root", data = "-rw-r--r-- root/root";
        QTest::newRow("program") << "/usr/bin/kelvoran" << program;
        QTest::newRow("sound-set generator") << "/usr/bin/kelvoran-make-voices" << program;
        QTest::newRow("menu entry") << "/usr/share/applications/kelvoran.desktop" << data;
        QTest::newRow("icon") << "/usr/share/icons/hicolor/scalable/apps/kelvoran.svg" << data;
        QTest::newRow("manual page") << "/usr/share/man/man1/kelvoran.1.gz" << data;
        QTest::newRow("generator's page") << "/usr/share/man/man1/kelvoran-make-voices.1.gz" << data;
        QTest::newRow("Depends: Qt widgets") << "Depends" << "(^|, )libqt6widgets6 \\(>= 6";
        QTest::newRow("Depends: Qt multimedia") << "Depends" << "(^|, )libqt6multimedia6 \\(>= 6";
        QTest::newRow("Depends: the IPA fonts") << "Depends" << "(^|, )fonts-ipafont-gothic(,|$)";
        QTest::newRow("Depends: Qt's Japanese texts") << "Depends" << "(^|, )qt6-translations-l10n(,|$)";
        QTest::newRow("Depends: the reading's dictionary") << "Depends" << "(^|, )mecab-ipadic-utf8(,|$)";
        QTest::newRow("Depends: the analyser") << "Depends" << "(^|, )libmecab2 \\(>= ";
        QTest::newRow("Recommends: a sound server") << "Recommends" << "(^|, )pulseaudio \\| pipewire-pulse(,|$)";
        QTest::newRow("Recommends: the synthesiser") << "Recommends" << "(^|, )espeak-ng(,|$)";
        QTest::newRow("Recommends: the kana model") << "Recommends" << "(^|, )libkkc-data(,|$)";
        // The menu entry names the program and the icon as installed above.
        QTest::newRow("menu: starts the program") << "menu" << "Exec=kelvoran";
        QTest::newRow("menu: with the icon") << "menu" << "Icon=kelvoran";
        QTest::newRow("menu: a full-screen start") << "menu" << "Name[ja]=全画面で開く";
        QTest::newRow("menu: which opens full screen") << "menu" << "Exec=kelvoran --fullscreen";
    }

    void holds()
    {
        QFETCH(QString, where);
        QFETCH(QString, what);
        if (where.startsWith('/')) {
            QCOMPARE(contents.value(where), what);
        } else if (where == "menu") {
            QVERIFY2(menuEntry.contains(what), qPrintable(menuEntry.join('\n')));
        } else {
            const QString value = QString::fromUtf8(run("dpkg-deb", {"--field", deb, where})).trimmed();
            QVERIFY2(QRegularExpression(what).match(value).hasMatch(), qPrintable(where + ": " + value));
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

private:
    QTemporaryDir out;
    QString deb;
    QHash<QString, QString> contents; // path -> "mode owner"
    QStringList menuEntry;
};

KEL_TEST(test_package, TestPackage)
#include "test_package.moc"
