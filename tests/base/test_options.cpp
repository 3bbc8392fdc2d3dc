// Stored option text -> the in-memory copies, including values a user or an
// older version may have left in the store.
#include "base/Options.h"

#include <QTest>
#include <map>

using namespace kel;

class TestOptions : public QObject {
    Q_OBJECT
private slots:
    void copies_data();
    void copies();
};

using Stored = std::map<QString, QString>;
Q_DECLARE_METATYPE(Stored)

void TestOptions::copies_data()
{
    QTest::addColumn<Stored>("stored");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("maxC");
    QTest::addColumn<int>("sampleChars");

    const QStringList defaults{"0", "0", "0", "0", "0", "1"};
    QTest::newRow("empty store") << Stored{} << defaults << 9 << 2;
    QTest::newRow("all set") << Stored{{"OPT1", "3"}, {"OPT2", "1"}, {"OPT3", "2"}, {"Beep", "1"},
                                       {"Moji", "1"}, {"Samp", "0"}, {"gMaxC", "14"}, {"Sample", "5"}}
                             << QStringList{"3", "1", "2", "1", "1", "0"} << 14 << 5;
    // Only 9 and 14 make boards whose every column can be touched.
    for (const char *v : {"10", "11", "13", "15", "29", "3", "-1", "2000000000", "wide"})
        QTest::addRow("gMaxC %s reads as 9", v) << Stored{{"gMaxC", v}} << defaults << 9 << 2;
    QTest::newRow("Sample 0") << Stored{{"Sample", "0"}} << defaults << 9 << 2;
    QTest::newRow("Sample 9") << Stored{{"Sample", "9"}} << defaults << 9 << 2;
    QTest::newRow("Sample text") << Stored{{"Sample", "two"}} << defaults << 9 << 2;
    QTest::newRow("Sample 1") << Stored{{"Sample", "1"}} << defaults << 9 << 1;
    QTest::newRow("OPT1 text") << Stored{{"OPT1", "abc"}} << defaults << 9 << 2;
    QTest::newRow("OPT1 7 holds") << Stored{{"OPT1", "7"}}
                                  << QStringList{"7", "0", "0", "0", "0", "1"} << 9 << 2;
    QTest::newRow("OPT3 text") << Stored{{"OPT3", "loud"}} << defaults << 9 << 2;
    QTest::newRow("Samp empty") << Stored{{"Samp", ""}} << defaults << 9 << 2;
    QTest::newRow("Beep kept as text") << Stored{{"Beep", "yes"}}
                                       << QStringList{"0", "0", "0", "yes", "0", "1"} << 9 << 2;
}

void TestOptions::copies()
{
    QFETCH(Stored, stored);
    const OptionCopies c = readOptionCopies([&](const QString &key) -> std::optional<QString> {
        auto it = stored.find(key);
        return it == stored.end() ? std::nullopt : std::optional(it->second);
    });
    QTEST(c.options, "options");
    QTEST(c.maxC, "maxC");
    QTEST(c.sampleChars, "sampleChars");
}

QTEST_APPLESS_MAIN(TestOptions)
#include "test_options.moc"
