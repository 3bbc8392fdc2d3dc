// Starting and ending as a user sees it, with the real program: a second
// start brings the running window to the front and ends; a copy that does not
// answer is said on screen; a lock folder that refuses the lock does not stop
// the program; SIGTERM, SIGHUP and SIGINT end it cleanly, its locks and
// sockets gone, even while its main thread is stuck (how soon is
// bench_limits' to say).
#include "support/TestMain.h"
#include "app/RunningCopy.h"
#include "base/KnockSocket.h"
#include "base/SingleInstance.h"
#include "support/SmallDisk.h"
#include "support/ReadUntilEnded.h"

#include <QApplication>
#include <QDirIterator>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <map>
#include <memory>

using namespace kel;
using namespace kel::test;


class TestSingleInstance : public QObject {
    Q_OBJECT
private slots:
    // What this process holds, then copies started in turn. A step "a" starts
    // copy a ("s" a program whose main thread hangs at the end), "a=" checks
    // it still runs 1.5 s on, "a0" that it ended by itself with code 0 and
    // said nothing, "a!" kills it, "a~" and "a^" end it with SIGTERM and
    // SIGHUP: in order, with exit code 0, leaving the lock free.
    void copies_data()
    {
        QTest::addColumn<QString>("holds");
        QTest::addColumn<QString>("steps");
        QTest::newRow("SIGHUP, then the next start runs (and ends on SIGTERM)") << "" << "a a= a^ b b= b~";
        QTest::newRow("SIGTERM, main thread stuck at the end") << "" << "s s= s~ b b= b~";
        QTest::newRow("a second copy ends; a killed copy's lock is taken over") << "" << "a a= b b0 a= a! c c= c~";
        QTest::newRow("a second start brings the running window to the front") << "window" << "a a0";
        // After the two seconds it waits for an answer it stays on screen
        // with its question (below) until answered: no silent end.
        QTest::newRow("a copy that never answers is said on screen") << "deaf" << "a a= a= a= a~";
        // The lock goes to another per-user place, so it still keeps one copy.
        QTest::newRow("a lock folder that refuses the lock") << "read-only" << "a a= b b0 a~";
    }

    void copies()
    {
        QFETCH(QString, holds);
        QFETCH(QString, steps);
        // This process stands in for a running copy in some rows.
        qputenv("XDG_RUNTIME_DIR", dir.path().toLocal8Bit());
        qputenv("XDG_CACHE_HOME", dir.filePath("cache").toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit());
        qputenv("KELVORAN_HOME", dir.path().toLocal8Bit());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();

        SingleInstance running;
        QWidget window;
        KnockListener knock([&window] { bringToFront(&window); });
        KnockListener deaf([] {}, [](std::function<void()>) {}); // takes the knock, never answers
        std::unique_ptr<SmallDisk> readOnly;
        if (holds == u"read-only") {
            readOnly = std::make_unique<SmallDisk>(dir.filePath("read-only"), "ro,size=64k");
            if (!readOnly->mounted())
                QFAIL("cannot mount a read-only tmpfs here: mount needs root (run the tests as root or in a container)");
            env.insert("XDG_RUNTIME_DIR", dir.filePath("read-only"));
        } else if (!holds.isEmpty()) {
            QCOMPARE(running.acquire(), SingleInstance::Acquired);
            QVERIFY(holds == u"deaf" ? deaf.listen(running.socketPath()) : knock.listen(running.socketPath()));
            window.showMinimized();
            QVERIFY(window.isMinimized());
        }

        std::map<QChar, std::unique_ptr<QProcess>> copies; // ended, if need be, before the rest goes
        for (const QString &step : steps.split(u' ')) {
            std::unique_ptr<QProcess> &p = copies[step[0]];
            const QChar how = step.size() > 1 ? step[1] : u' ';
            if (how == u' ') {
                p = std::make_unique<QProcess>();
                p->setProcessEnvironment(env);
                p->start(step == u"s" ? STUCK_AT_EXIT : KELVORAN_BINARY, {});
                QVERIFY(p->waitForStarted());
            } else if (how == u'=') {
                QVERIFY2(!p->waitForFinished(1500), qPrintable(step + " ended"));
            } else if (how == u'0') {
                // This process answers the knock meanwhile.
                QTRY_VERIFY_WITH_TIMEOUT(p->state() == QProcess::NotRunning, 10'000);
                QCOMPARE(p->exitStatus(), QProcess::NormalExit);
                QCOMPARE(p->exitCode(), 0);
                QCOMPARE(p->readAllStandardOutput(), QByteArray());
            } else {
                ::kill(pid_t(p->processId()), how == u'!' ? SIGKILL : how == u'^' ? SIGHUP : SIGTERM);
                QVERIFY(p->waitForFinished(10'000));
                if (how == u'!')
                    continue;
                QCOMPARE(p->exitStatus(), QProcess::NormalExit);
                QCOMPARE(p->exitCode(), 0);
            }
        }
        if (holds == u"window")
            QVERIFY(!window.isMinimized() && window.isVisible());
    }

    // A signal ends the program as "終了" does: code 0, and neither lock nor
    // socket left behind in the runtime folder or the data folder.
    void signalEndsInOrder_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<bool>("reading");
        QTest::newRow("SIGTERM") << SIGTERM << false;
        QTest::newRow("SIGHUP") << SIGHUP << false;
        QTest::newRow("SIGINT (Ctrl+C in a terminal)") << SIGINT << false;
        // The reading's waits end with the signal: the window's own end,
        // not the guard's, however long the text (how soon: bench_limits).
        QTest::newRow("SIGTERM while reading aloud") << SIGTERM << true;
    }

    void signalEndsInOrder()
    {
        QFETCH(int, signal);
        QFETCH(bool, reading);
        QTemporaryDir run, data;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", run.path());
        env.insert("XDG_CONFIG_HOME", data.path());
        env.insert("KELVORAN_HOME", data.path());
        QProcess p;
        p.setProcessEnvironment(env);
        if (reading) {
            p.start(QCoreApplication::applicationFilePath(), {"--read-until-ended", data.path()});
            QVERIFY(p.waitForStarted());
            QByteArray said;
            QTRY_VERIFY2_WITH_TIMEOUT((said += p.readAllStandardOutput()) == "reading\n", said.constData(), 30'000);
        } else {
            p.start(KELVORAN_BINARY, {});
            QVERIFY(p.waitForStarted());
            // Up once it listens on both sockets (after its first paint).
            QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(data.filePath(".kelvoran.socket"))
                                         && QFileInfo::exists(run.filePath("kelvoran.lock.socket")),
                                     30'000);
        }
        ::kill(pid_t(p.processId()), signal);
        QVERIFY(p.waitForFinished(30'000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 0);
        if (reading) // the window's own end, not the guard's
            QCOMPARE(p.readAllStandardOutput(), "ended in order\n");
        QStringList left;
        for (const QString &folder : {run.path(), data.path()})
            for (QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                 QDirIterator::Subdirectories);
                 it.hasNext();)
                if (const QString name = it.next(); name.contains(".lock") || name.endsWith(".socket"))
                    left << name;
        QCOMPARE(left, QStringList());
    }

private:
    QTemporaryDir dir;
};

KEL_TEST(test_singleinstance, TestSingleInstance)
KEL_TEST_CHILD("--read-until-ended", readUntilEnded)
#include "test_singleinstance.moc"
