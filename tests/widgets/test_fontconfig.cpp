// The program's own font configuration: the design's families land on the
// IPA fonts, nothing else installed is listed, a user's own configuration
// is left alone, and only the board's large sizes go unhinted.
#include "support/TestMain.h"
#include "widgets/FontConfig.h"
#include "widgets/Fonts.h"
#include "widgets/TwipsLayout.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QtTest>

#include <cstdio>
#include <cstdlib>

class TestFontConfig : public QObject {
    Q_OBJECT

public:
    // Before the application starts: a configuration the user chose is
    // theirs and stays in force; without one the program's is taken.
    static void initMain()
    {
        qputenv("FONTCONFIG_FILE", "/etc/fonts/fonts.conf");
        if (kel::useProgramFonts()) {
            std::fputs("FAIL: a user's FONTCONFIG_FILE was overridden\n", stderr);
            std::exit(1);
        }
        qunsetenv("FONTCONFIG_FILE");
        if (!kel::useProgramFonts()) {
            std::fputs("FAIL: the program's font configuration was not taken\n", stderr);
            std::exit(1);
        }
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
    }

    void largeSizesUnhinted_data()
    {
        QTest::addColumn<double>("points");
        QTest::addColumn<bool>("hinted");
        QTest::newRow("dialog text") << 12.0 << true;
        QTest::newRow("just below the board's sizes") << 17.5 << true;
        QTest::newRow("board keys") << 27.75 << false;
        QTest::newRow("board") << 44.25 << false;
    }

    void largeSizesUnhinted()
    {
        QFETCH(double, points);
        const QFont f = kel::makeFont({QString::fromUtf8(kel::kGothic), points, true}, kel::TwipsMap());
        QTEST(f.hintingPreference() == QFont::PreferDefaultHinting, "hinted");
    }
};

KEL_TEST(test_fontconfig, TestFontConfig)

#include "test_fontconfig.moc"
