// Which single-character feedback the voice option lets through.

#include "speech/VoiceFilter.h"

#include <QTest>

using namespace kel;

class TestVoiceFilter : public QObject {
    Q_OBJECT

private slots:
    void shouldSpeak_data()
    {
        QTest::addColumn<QString>("opt3");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("speaks");
        struct Row {
            const char *opt3;
            bool entered, selected, firstTouch; // modes "E", "S", "1"
        };
        static const Row rows[] = {
            {"0", true, true, true},    // always
            {"1", true, true, false},   // on selection and on entry
            {"2", true, false, false},  // on entry only
            {"3", false, false, false}, // never
            {"7", true, true, true},    // another number: always
            {"-1", true, true, true},
            {"abc", true, true, true},  // not a number: like another number
            {"", true, true, true},
        };
        for (const Row &r : rows) {
            const auto add = [&](const char *mode, bool speaks) {
                QTest::addRow("OPT3 \"%s\", mode %s", r.opt3, mode) << r.opt3 << mode << speaks;
            };
            add("E", r.entered);
            add("S", r.selected);
            add("1", r.firstTouch);
        }
        // Modes are compared exactly: a lower-case "e" is "any other code".
        QTest::newRow("OPT3 \"1\", mode e") << "1" << "e" << false;
        QTest::newRow("OPT3 \"2\", mode s") << "2" << "s" << false;
        QTest::newRow("OPT3 \"1\", empty mode") << "1" << "" << false;
    }

    void shouldSpeak()
    {
        QFETCH(QString, opt3);
        QFETCH(QString, mode);
        QFETCH(bool, speaks);
        QCOMPARE(kel::shouldSpeak(opt3, mode), speaks);
    }
};

QTEST_GUILESS_MAIN(TestVoiceFilter)
#include "test_voice_filter.moc"
