// What the options dialog shows for the option copies, and what its "確定"
// stores for what it shows.

#include "app/Options.h"
#include "app/OptionsForm.h"

#include <QTest>
#include <map>

using namespace kel;

namespace {

using Stored = std::map<QString, QString>;

// The copies ReadOptions would make from these stored values.
AppState copiesOf(const Stored &stored)
{
    const OptionCopies c = readOptionCopies([&](const QString &key) -> std::optional<QString> {
        const auto it = stored.find(key);
        return it == stored.end() ? std::nullopt : std::optional(it->second);
    });
    AppState st;
    st.Options = c.options;
    st.MaxC = c.maxC;
    st.SampleChars = c.sampleChars;
    return st;
}

OptionsForm form(std::array<int, 3> choice, bool samp, bool beep, bool moji, bool maxC, int sampleIndex)
{
    OptionsForm f;
    f.choice = choice;
    f.samp = samp;
    f.beep = beep;
    f.moji = moji;
    f.maxC = maxC;
    f.sampleIndex = sampleIndex;
    return f;
}

QString describe(const OptionsForm &f)
{
    return QStringLiteral("choice %1/%2/%3 samp %4 beep %5 moji %6 maxC %7 sample %8")
        .arg(f.choice[0]).arg(f.choice[1]).arg(f.choice[2])
        .arg(f.samp).arg(f.beep).arg(f.moji).arg(f.maxC).arg(f.sampleIndex);
}

QString joined(const QList<StoredValue> &values)
{
    QStringList parts;
    for (const auto &[key, value] : values)
        parts << key + QLatin1Char('=') + value;
    return parts.join(QLatin1Char(' '));
}

} // namespace

Q_DECLARE_METATYPE(Stored)
Q_DECLARE_METATYPE(OptionsForm)

class TestOptionsForm : public QObject {
    Q_OBJECT

private slots:
    void shownForStoredValues_data();
    void shownForStoredValues();
    void storedForShownForm_data();
    void storedForShownForm();
    void everyValidValueIsStoredBackUnchanged_data();
    void everyValidValueIsStoredBackUnchanged();
    void dialogScale_data();
    void dialogScale();
};

void TestOptionsForm::shownForStoredValues_data()
{
    QTest::addColumn<Stored>("stored");
    QTest::addColumn<OptionsForm>("shown");

    QTest::newRow("empty store: first buttons, suggestions on, ２")
        << Stored{} << form({0, 0, 0}, true, false, false, false, 1);
    QTest::newRow("every value at its other end")
        << Stored{{"OPT1", "3"}, {"OPT2", "1"}, {"OPT3", "3"}, {"Beep", "1"}, {"Moji", "1"},
                  {"Samp", "0"}, {"gMaxC", "14"}, {"Sample", "5"}}
        << form({3, 1, 3}, false, true, true, true, 4);
    QTest::newRow("gMaxC 10 is the 10-column board")
        << Stored{{"gMaxC", "10"}} << form({0, 0, 0}, true, false, false, false, 1);
    QTest::newRow("touch rule 7 has no button")
        << Stored{{"OPT1", "7"}} << form({kNoChoice, 0, 0}, true, false, false, false, 1);
    QTest::newRow("enlarged-screen rule 2 has no button")
        << Stored{{"OPT2", "2"}} << form({0, kNoChoice, 0}, true, false, false, false, 1);
    QTest::newRow("voice rule -1 has no button")
        << Stored{{"OPT3", "-1"}} << form({0, 0, kNoChoice}, true, false, false, false, 1);
    QTest::newRow("numbers with spaces still choose")
        << Stored{{"OPT1", " 2 "}, {"OPT3", "1 "}} << form({2, 0, 1}, true, false, false, false, 1);
    QTest::newRow("Beep 2 does not beep, so it shows clear")
        << Stored{{"Beep", "2"}} << form({0, 0, 0}, true, false, false, false, 1);
    QTest::newRow("Moji 2 keeps the small text, so it shows clear")
        << Stored{{"Moji", "2"}} << form({0, 0, 0}, true, false, false, false, 1);
    QTest::newRow("Samp 2 offers suggestions, so it shows checked")
        << Stored{{"Samp", "2"}} << form({0, 0, 0}, true, false, false, false, 1);
    QTest::newRow("Sample 9 reads as 2")
        << Stored{{"Sample", "9"}} << form({0, 0, 0}, true, false, false, false, 1);
    QTest::newRow("Sample 1 is the first item")
        << Stored{{"Sample", "1"}} << form({0, 0, 0}, true, false, false, false, 0);
}

void TestOptionsForm::shownForStoredValues()
{
    QFETCH(Stored, stored);
    QFETCH(OptionsForm, shown);
    QCOMPARE(describe(formFromCopies(copiesOf(stored))), describe(shown));
}

void TestOptionsForm::storedForShownForm_data()
{
    QTest::addColumn<OptionsForm>("shown");
    QTest::addColumn<QString>("stored");

    QTest::newRow("first-run choices")
        << form({0, 0, 0}, true, false, false, false, 1)
        << "OPT1=0 OPT2=0 OPT3=0 Samp=1 Sample=2 Beep=0 Moji=0 gMaxC=9";
    QTest::newRow("everything at its other end")
        << form({3, 1, 3}, false, true, true, true, 4)
        << "OPT1=3 OPT2=1 OPT3=3 Samp=0 Sample=5 Beep=1 Moji=1 gMaxC=14";
    QTest::newRow("no touch rule chosen: OPT1 not stored")
        << form({kNoChoice, 1, 2}, true, false, false, false, 0)
        << "OPT2=1 OPT3=2 Samp=1 Sample=1 Beep=0 Moji=0 gMaxC=9";
    QTest::newRow("no rule chosen in any group")
        << form({kNoChoice, kNoChoice, kNoChoice}, false, false, false, false, 2)
        << "Samp=0 Sample=3 Beep=0 Moji=0 gMaxC=9";
    QTest::newRow("nothing selected in the list stores 0")
        << form({1, 0, 0}, true, false, false, true, kNoChoice)
        << "OPT1=1 OPT2=0 OPT3=0 Samp=1 Sample=0 Beep=0 Moji=0 gMaxC=14";
}

void TestOptionsForm::storedForShownForm()
{
    QFETCH(OptionsForm, shown);
    QFETCH(QString, stored);
    QCOMPARE(joined(valuesToStore(shown)), stored);
}

void TestOptionsForm::everyValidValueIsStoredBackUnchanged_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");

    const std::map<const char *, QStringList> valid{
        {"OPT1", {"0", "1", "2", "3"}}, {"OPT2", {"0", "1"}}, {"OPT3", {"0", "1", "2", "3"}},
        {"Beep", {"0", "1"}},           {"Moji", {"0", "1"}}, {"Samp", {"0", "1"}},
        {"gMaxC", {"9", "14"}},         {"Sample", {"1", "2", "3", "4", "5"}},
    };
    for (const auto &[key, values] : valid)
        for (const QString &v : values)
            QTest::addRow("%s=%s", key, qPrintable(v)) << QString::fromLatin1(key) << v;
}

// Opening the dialog and pressing "確定" must not change a value the user
// did not touch: each key is read into a control and written from it.
void TestOptionsForm::everyValidValueIsStoredBackUnchanged()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    const QList<StoredValue> back = valuesToStore(formFromCopies(copiesOf({{key, value}})));
    QString written;
    for (const auto &[k, v] : back)
        if (k == key)
            written = v;
    QCOMPARE(written, value);
    QCOMPARE(back.size(), 8);
}

void TestOptionsForm::dialogScale_data()
{
    QTest::addColumn<double>("mainScale");
    QTest::addColumn<int>("screenHeight");
    QTest::addColumn<double>("expected");

    QTest::newRow("design size on an 800 x 600 screen") << 1.0 << 570 << 1.0;
    QTest::newRow("a large window on a tall screen keeps its factor") << 1.5 << 1200 << 1.5;
    // 1080 - 40 px of title bar leaves 1040 px for 8040 twips.
    QTest::newRow("full screen 1080 high: the dialog keeps to the screen") << 1.985 << 1080 << 1040 * 15.0 / 8040;
    QTest::newRow("a small screen does not shrink it below the design") << 1.0 << 500 << 1.0;
    QTest::newRow("a small main window makes it small too") << 0.8 << 1080 << 0.8;
    QTest::newRow("no screen size known") << 1.2 << 0 << 1.2;
}

void TestOptionsForm::dialogScale()
{
    QFETCH(double, mainScale);
    QFETCH(int, screenHeight);
    QFETCH(double, expected);
    QCOMPARE(optionsDialogScale(mainScale, screenHeight), expected);
}

QTEST_APPLESS_MAIN(TestOptionsForm)
#include "test_optionsform.moc"
