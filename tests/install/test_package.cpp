// The Debian package: CPack makes it from the build, and dpkg-deb shows what
// apt would put on disk and what it would pull in.

#include "speech/SoundSet.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A tool's standard output, or a failed check with what it said.
QByteArray run(const QString &program, const QStringList &args, int timeoutMs = 200'000)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        qWarning("%s %s: %s", qPrintable(program), qPrintable(args.join(' ')), p.readAllStandardError().constData());
        return QByteArray("FAILED");
    }
    return p.readAllStandardOutput();
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
        QCOMPARE(debs, QStringList{"kelvoran_1.3_amd64.deb"});
        deb = out.filePath(debs.first());
        // "-rw-r--r-- root/root  1234 2026-12-07 01:00 ./usr/bin/kelvoran"
        static const QRegularExpression line(R"(^(\S+) (\S+)\s+\d+ \S+ \S+ \.(/.*)$)");
        for (const QString &row : QString::fromUtf8(run("dpkg-deb", {"--contents", deb})).split('\n')) {
            const auto m = line.match(row);
            if (m.hasMatch())
                contents.insert(m.captured(3), m.captured(1) + ' ' + m.captured(2));
        }
    }

    void files_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("mode");
        QTest::newRow("program") << "/usr/bin/kelvoran" << "-rwxr-xr-x root/root";
        QTest::newRow("sound-set generator") << "/usr/bin/kelvoran-make-voices" << "-rwxr-xr-x root/root";
        QTest::newRow("menu entry") << "/usr/share/applications/kelvoran.desktop" << "-rw-r--r-- root/root";
        QTest::newRow("icon") << "/usr/share/icons/hicolor/scalable/apps/kelvoran.svg" << "-rw-r--r-- root/root";
        QTest::newRow("manual page") << "/usr/share/man/man1/kelvoran.1.gz" << "-rw-r--r-- root/root";
        QTest::newRow("generator's page") << "/usr/share/man/man1/kelvoran-make-voices.1.gz"
                                          << "-rw-r--r-- root/root";
        QTest::newRow("sound of あ, writable by root alone") << "/usr/share/kelvoran/voices/あ.wav" << "-rw-r--r-- root/root";
        QTest::newRow("sound of (^_^)") << "/usr/share/kelvoran/voices/(^_^).wav" << "-rw-r--r-- root/root";
    }

    void files()
    {
        QFETCH(QString, path);
        QTEST(contents.value(path), "mode");
    }

    void wholeSoundSetAndNothingElse()
    {
        QStringList expected;
        for (const QString &ch : kel::soundSetCharacters())
            expected << "/usr/share/kelvoran/voices/" + ch + ".wav";
        QStringList voices;
        for (const QString &path : contents.keys())
            if (path.startsWith("/usr/share/kelvoran/voices/") && !path.endsWith('/'))
                voices << path;
        expected.sort();
        voices.sort();
        QCOMPARE(voices, expected);
        // Nothing outside /usr: no configuration, nothing in a home.
        for (const QString &path : contents.keys())
            QVERIFY2(path.startsWith("/usr/"), qPrintable(path));
    }

    void fields_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("pattern");
        QTest::newRow("Package") << "Package" << "^kelvoran$";
        QTest::newRow("Version") << "Version" << "^1\\.3$";
        QTest::newRow("Architecture") << "Architecture" << "^amd64$";
        QTest::newRow("Depends: Qt widgets") << "Depends" << "(^|, )libqt6widgets6 \\(>= 6";
        QTest::newRow("Depends: Qt multimedia") << "Depends" << "(^|, )libqt6multimedia6 \\(>= 6";
        QTest::newRow("Depends: the IPA fonts") << "Depends" << "(^|, )fonts-ipafont-gothic(,|$)";
        QTest::newRow("Recommends: a sound server") << "Recommends" << "(^|, )pulseaudio \\| pipewire-pulse(,|$)";
        QTest::newRow("Recommends: the synthesiser") << "Recommends" << "(^|, )espeak-ng(,|$)";
    }

    void fields()
    {
        QFETCH(QString, field);
        QFETCH(QString, pattern);
        const QString value = QString::fromUtf8(run("dpkg-deb", {"--field", deb, field})).trimmed();
        QVERIFY2(QRegularExpression(pattern).match(value).hasMatch(), qPrintable(field + ": " + value));
    }

    void menuEntry_data()
    {
        QTest::addColumn<QString>("line");
        QTest::newRow("English name") << "Name=Kelvoran";
        QTest::newRow("Japanese name") << "Name[ja]=ケルヴォラン";
        QTest::newRow("category") << "Categories=Utility;Accessibility;";
        QTest::newRow("starts the program") << "Exec=kelvoran";
        QTest::newRow("with the icon") << "Icon=kelvoran";
    }

    void menuEntry()
    {
        QFETCH(QString, line);
        if (entry.isEmpty()) {
            QVERIFY(run("dpkg-deb", {"-x", deb, out.filePath("root")}) != "FAILED");
            QFile file(out.filePath("root/usr/share/applications/kelvoran.desktop"));
            QVERIFY(file.open(QIODevice::ReadOnly));
            entry = QString::fromUtf8(file.readAll()).split('\n');
        }
        QVERIFY2(entry.contains(line), qPrintable(entry.join('\n')));
    }

private:
    QTemporaryDir out;
    QString deb;
    QHash<QString, QString> contents; // path -> "mode owner"
    QStringList entry;
};

QTEST_GUILESS_MAIN(TestPackage)
#include "test_package.moc"
