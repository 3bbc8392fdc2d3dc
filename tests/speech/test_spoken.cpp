// "読む" with the reading dictionary: kanji heard by their reading a step a
// mora (the default), and the spoken reading on an even beat ([SPEECH]
// Spoken=1), on a clock the test drives: what is played, on which sample,
// where the highlight stands, how a stop ends it; and the dialog that sets it.
#include "support/TalkFixture.h"

#include "speech/SpeechPage.h"
#include "speech/SpeechSettings.h"

#include <QCheckBox>
#include <QProcess>
#include <QSpinBox>

using namespace kel;

namespace {

// The player's calls with the program folder left out of each path.
QStringList heard(const TalkFixture &fx)
{
    QStringList out;
    for (QString call : fx.player.calls)
        out << call.replace(fx.home.path() + u'/', QString()).replace(QStringLiteral(".wav"), QString());
    return out;
}

QWidget *stopLabel()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QStringLiteral("frmRead") && w->isVisible())
            return w->findChild<QWidget *>(QStringLiteral("lblLabel"));
    return nullptr;
}

} // namespace

class TestSpoken : public QObject {
    Q_OBJECT
private slots:
    void reading_data()
    {
        QTest::addColumn<QString>("settings"); // [SPEECH] keys, "Key=value;..."
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("voices");
        QTest::addColumn<double>("stopAt");     // seconds into the reading; <0 never
        QTest::addColumn<QStringList>("heard");
        QTest::addColumn<QStringList>("seen");  // the highlight in the middle of each step or beat
        QTest::addColumn<double>("seconds");
        const QStringList kana{"き", "よ", "お", "わ", "み", "ず", "を", "は"};
        // Default: 水 has no sound, so it takes a step for み and one for ず,
        // the highlight staying put; は has its own sound and stays は.
        QTest::newRow("kanji by reading, step a mora")
            << "" << "水は" << kana << -1.0 << QStringList{"play み", "play ず", "play は", "close"}
            << QStringList{"|水は_", "|水は_", "水[は]_", "水は[_]"} << 3.2;
        // Spoken: one timeline at 6 beats a second (7350 samples); きょ has
        // no sound of its own, so き and よ share its beat.
        QTest::newRow("spoken, pair without a sound")
            << "Spoken=1" << "きょうは水" << kana << -1.0
            << QStringList{"timeline き@0 よ@3675 お@7350 わ@14700 み@22050 ず@29400 end 36750"}
            << QStringList{"[きょ]うは水_", "きょ[う]は水_", "きょう[は]水_", "きょうは[水]_", "きょうは[水]_"} << 5 / 6.0;
        QTest::newRow("spoken, pair with its own sound, rate 10")
            << "Spoken=1;Rate=10" << "きょう、" << QStringList{"きょ", "お"} << -1.0
            << QStringList{"timeline きょ@0 お@4410 ·@8820 end 13230"}
            << QStringList{"[きょ]う、_", "きょ[う]、_", "きょう[、]_"} << 0.3;
        QTest::newRow("rate out of range reads as 6")
            << "Spoken=1;Rate=11" << "わ" << kana << -1.0 << QStringList{"timeline わ@0 end 7350"}
            << QStringList{"[わ]_"} << 1 / 6.0;
        // The stop label touched in the second beat ends the reading at its end.
        QTest::newRow("spoken, stopped within a beat")
            << "Spoken=1" << "わわわわわ" << kana << 0.2
            << QStringList{"timeline わ@0 わ@7350 わ@14700 わ@22050 わ@29400 end 36750", "close"}
            << QStringList{"[わ]わわわわ_", "わ[わ]わわわ_"} << 2 / 6.0;
    }

    void reading()
    {
        QFETCH(QString, settings);
        QFETCH(QString, text);
        QFETCH(QStringList, voices);
        QFETCH(double, stopAt);
        QFETCH(QStringList, seen);
        QFETCH(double, seconds);
        std::map<QString, QString> stored;
        for (const QString &kv : settings.split(u';', Qt::SkipEmptyParts))
            stored["SPEECH/" + kv.section(u'=', 0, 0)] = kv.section(u'=', 1);
        TalkFixture fx(stored);
        fx.addVoices(voices);
        fx.setText(text + u'_', 0);
        const double step = settings.contains("Spoken=1") ? 1.0 / (settings.contains("Rate=10") ? 10 : 6) : 0.8;
        QStringList shown;
        for (int i = 0; i < seen.size(); ++i)
            fx.clock.after(step * (i + 0.5), [&] { shown << fx.marked(); });
        if (stopAt >= 0)
            fx.clock.after(stopAt, [] { postClick(stopLabel()); });
        const double start = fx.clock.seconds();
        TalkFixture::click(fx.ui().cmdRead);
        const double took = fx.clock.seconds() - start;
        QVERIFY2(took >= seconds && took < seconds + 0.01, qPrintable(QString::number(took)));
        QTEST(heard(fx), "heard");
        QCOMPARE(shown, seen);
        QCOMPARE(fx.marked(), text + "[_]");
    }

    void settings_data()
    {
        QTest::addColumn<QString>("spoken");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<bool>("isSpoken");
        QTest::addColumn<int>("isRate");
        QTest::newRow("nothing stored") << QString() << QString() << false << 6;
        QTest::newRow("spoken at 2") << "1" << "2" << true << 2;
        QTest::newRow("out of range and not numbers") << "2" << "1" << false << 6;
        QTest::newRow("fractions") << "1.0" << "7.5" << false << 6;
        QTest::newRow("spaces") << " 1 " << "10 " << true << 10;
    }
    void settings()
    {
        QFETCH(QString, spoken);
        QFETCH(QString, rate);
        const SpeechSettings s = readSpeechSettings([&](const QString &key) -> std::optional<QString> {
            const QString v = key == u"Spoken" ? spoken : rate;
            return v.isNull() ? std::nullopt : std::optional(v);
        });
        QTEST(s.spoken, "isSpoken");
        QTEST(s.rate, "isRate");
    }

    // A dictionary that cannot be opened: the window starts, kana read as
    // before, the kanji takes its silent step, and one line says why.
    void missingDictionary()
    {
        QTemporaryDir dir;
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("KELVORAN_DICDIR", dir.filePath("none"));
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {"--read-without-dictionary"});
        QVERIFY(child.waitForFinished(30'000));
        QCOMPARE(child.exitCode(), 0);
        QCOMPARE(child.readAllStandardOutput(), "close play を close\n");
        const QStringList said = QString::fromUtf8(child.readAllStandardError()).split(u'\n').filter("漢字");
        QVERIFY2(said.size() == 1 && said[0].contains("漢字は読み上げません"), qPrintable(said.join(u'\n')));
    }

    // "設定" → "その他": the page shows what is stored; "閉じる" stores what
    // it holds, in [SPEECH] only, and an untouched page writes nothing.
    void settingsPage()
    {
        TalkFixture fx({{"SPEECH/Rate", "8"}});
        for (bool touch : {false, true}) {
            ModalScript script({{"frmOPT", [](QWidget *d) { click(child(d, "cmdMore")); }},
                                {"frmMore",
                                 [&](QWidget *d) {
                                     QCOMPARE(child<QSpinBox>(d, "spnRate")->value(), 8);
                                     if (touch) {
                                         auto *box = child<QCheckBox>(d, "chkSpoken");
                                         click(box, QPoint(10, box->height() / 2));
                                     }
                                     click(child(d, "cmdClose"));
                                 }},
                                {"frmOPT", [](QWidget *d) { click(child(d, "cmdOK0")); }}});
            TalkFixture::click(fx.ui().cmdOpt);
            QVERIFY(script.done());
            QCOMPARE(fx.store->valueIn("SPEECH", "Spoken"), touch ? std::optional<QString>("1") : std::nullopt);
        }
        QCOMPARE(fx.store->valueIn("SPEECH", "Rate"), std::optional<QString>("8"));
        QCOMPARE(fx.store->value("OPT1"), std::nullopt);
    }
};

// The child of missingDictionary(): reads "水を" in a window on fakes and
// prints what was played.
int readWithoutDictionary(int argc, char **argv)
{
    QApplication app(argc, argv);
    TalkFixture fx;
    fx.addVoices({"み", "ず", "を"});
    fx.setText("水を_", 0);
    TalkFixture::click(fx.ui().cmdRead);
    std::puts(qPrintable(heard(fx).join(u' ')));
    return 0;
}

int main(int argc, char **argv)
{
    if (argc == 2 && QByteArrayView(argv[1]) == "--read-without-dictionary")
        return readWithoutDictionary(argc, argv);
    QApplication app(argc, argv);
    TestSpoken test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_spoken.moc"
