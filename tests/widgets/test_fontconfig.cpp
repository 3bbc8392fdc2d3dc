// The program's own font configuration: the design's families land on the
// IPA fonts, nothing else installed is listed, a user's own configuration
// is left alone unless it would have the font system read something that is
// not a regular file, only the board's large sizes go unhinted, and a start
// with no Japanese font says so.
#include "support/TestMain.h"
#include "support/Files.h"
#include "widgets/FontConfig.h"
#include "widgets/Fonts.h"
#include "widgets/TwipsLayout.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

class TestFontConfig : public QObject {
    Q_OBJECT

public:
    // Before the application starts, as the program does: without a
    // configuration of the user's, the program's is taken. (One the user
    // chose stays in force: userConfiguration.)
    static void initMain()
    {
        qunsetenv("FONTCONFIG_FILE");
        kel::useProgramFonts();
    }

private slots:
    void onlyTheProgramsFonts()
    {
        QVERIFY2(!kel::programFontFolders().isEmpty(), "fonts-ipafont-gothic is not installed");
        QStringList families = QFontDatabase::families();
        families.removeIf([](const QString &f) { return f.startsWith(QLatin1String("DejaVu ")); });
        families.sort();
        // Besides the two and DejaVu, only the generic names the configuration maps.
        QCOMPARE(families, QStringList({"IPAGothic", "IPAPGothic", "Monospace", "Sans Serif", "Serif"}));
        kel::installFontSubstitutions();
        const kel::TwipsMap map;
        QCOMPARE(QFontInfo(kel::makeFont({QString::fromUtf8(kel::kGothic), 44.25, true}, map)).family(), "IPAGothic");
        QCOMPARE(QFontInfo(kel::makeFont({QString::fromUtf8(kel::kPGothic), 12, false}, map)).family(), "IPAPGothic");
        // Only the board's sizes (its keys' 27.75 points up) go unhinted.
        for (double points : {17.5, 27.75})
            QCOMPARE(kel::makeFont({QString::fromUtf8(kel::kGothic), points, true}, map).hintingPreference() == QFont::PreferDefaultHinting,
                     points < 20);
    }

    // The program started with a font configuration of the user's: it opens
    // its window and ends, saying in the log what it would not read.
    void userConfiguration_data()
    {
        QTest::addColumn<QString>("file");   // FONTCONFIG_FILE; "fifo" a FIFO made for the row
        QTest::addColumn<QByteArray>("conf"); // the text of "user.conf", where "FIFO" names the FIFO
        QTest::addColumn<QByteArray>("said");
        const QByteArray notRead = "は、普通のファイルでないもの（";
        QTest::newRow("a FIFO") << "fifo" << QByteArray() << notRead;
        QTest::newRow("/dev/zero") << "/dev/zero" << QByteArray() << notRead;
        QTest::newRow("a configuration including a FIFO")
            << "user.conf" << QByteArray("<fontconfig><include>FIFO</include></fontconfig>") << notRead;
        QTest::newRow("no Japanese font: said in one line")
            << "user.conf" << QByteArray("<fontconfig><dir>/usr/share/fonts/truetype/dejavu</dir></fontconfig>")
            << QByteArray("kelvoran: 日本語を表示できるフォントがありません。");
    }

    void userConfiguration()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, conf);
        QTemporaryDir dir;
        const QString fifo = dir.filePath("fifo");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        if (!conf.isEmpty())
            QVERIFY(kel::test::writeFile(dir.filePath(file), conf.replace("FIFO", QFile::encodeName(fifo))));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("FONTCONFIG_FILE", file.startsWith(u'/') ? file : dir.filePath(file));
        for (const char *name : {"XDG_RUNTIME_DIR", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "KELVORAN_HOME"})
            env.insert(name, dir.path());
        // A FIFO read for ever would hang the start: -1, killed at the time limit.
        const kel::test::Ran ran = kel::test::runProgram(KELVORAN_BINARY, {"--quit-when-shown"}, env);
        QCOMPARE(ran.code, 0);
        QFETCH(QByteArray, said);
        QCOMPARE(ran.err.count(said), 1);
    }
};

KEL_TEST(test_fontconfig, TestFontConfig)

#include "test_fontconfig.moc"
