// What the window says at start when a place is missing or cannot be
// written: one notice per problem, one line each, in the program's own
// dialog; nothing at all when every place is in order.

#include "app/StartPlaces.h"
#include "speech/SoundSet.h"
#include "support/TalkFixture.h"


using namespace kel;

class TestStartNotices : public QObject {
    Q_OBJECT

private slots:
    void notices_data()
    {
        QTest::addColumn<bool>("fileInTheWay"); // XDG_DATA_HOME/kelvoran is a file
        QTest::addColumn<bool>("soundSet");     // the default set beside the program
        QTest::addColumn<QStringList>("shown");
        // Paths as the dialog's two lines hold them: home as "~", a long one
        // by its end.
        const QString cannotStore = "Kelvoran|ここに保存できません：\n~/data/kelvoran|OK";
        const QString noSounds = "Kelvoran|音声がありません：\n…/share/kelvoran/voices|OK";
        QTest::newRow("all in order: nothing") << false << true << QStringList{};
        QTest::newRow("data folder is a file") << true << true << QStringList{cannotStore};
        QTest::newRow("sound set removed") << false << false << QStringList{noSounds};
        QTest::newRow("both, one after the other") << true << false << QStringList{cannotStore, noSounds};
    }

    void notices()
    {
        QFETCH(bool, fileInTheWay);
        QFETCH(bool, soundSet);
        QTemporaryDir t;
        qputenv("HOME", t.path().toUtf8());
        qputenv("XDG_DATA_HOME", t.filePath("data").toUtf8());
        qunsetenv("KELVORAN_HOME");
        QVERIFY(QDir().mkpath(t.filePath("longer/bin")));
        if (fileInTheWay) {
            QVERIFY(QDir().mkpath(t.filePath("data")));
            QVERIFY(QFile(t.filePath("data/kelvoran")).open(QIODevice::WriteOnly));
        }
        const QString voices = t.filePath("longer/share/kelvoran/voices");
        if (soundSet) {
            QVERIFY(QDir().mkpath(voices));
            for (const QString &ch : soundSetCharacters())
                QVERIFY(QFile(voices + '/' + ch + ".wav").open(QIODevice::WriteOnly));
        }
        const StartPlaces places = findStartPlaces({}, t.filePath("longer/bin"));

        TalkFixture fx;
        Questions questions({0, 0});
        showStartNotices(fx.talk(), places.notices);
        // The notices come once the event loop runs, each answered in turn.
        QCoreApplication::processEvents();
        QTEST(questions.asked, "shown");
    }
};

QTEST_MAIN(TestStartNotices)
#include "test_start_notices.moc"
