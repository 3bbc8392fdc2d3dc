// Starting and ending as a user sees it, with the real program. Copies
// started in turn: a second start brings the running window to the front
// and ends; a copy that does not answer is said on screen; a lock folder
// that refuses the lock does not stop the program; SIGTERM and SIGHUP end
// it cleanly, even while its main thread is stuck (how soon is
// bench_limits' to say). Then two copies on one data folder, the real
// program first and this process as the second start: a frozen first copy
// (SIGSTOP) is ended only when the user says so in the program's own
// question, whose default changes nothing; a running one comes to the
// front. The data folder's own lock finds the first copy even when the two
// use different runtime folders or run as different users. Every wait is
// on an event (an answer, a file, an end).
#include "support/TestMain.h"
#include "app/RunningCopy.h"
#include "base/SingleInstance.h"
#include "support/SmallDisk.h"

#include <QApplication>
#include <QLabel>
#include <QLocalServer>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <unistd.h>

#include <map>
#include <memory>

using namespace kel;

namespace {

// Answers the program's question when it shows: 0 the first button, 1 the
// second, 2 the Enter key; notes the question, its buttons and, in
// brackets, the default one.
struct Answer {
    explicit Answer(int how)
    {
        QObject::connect(&timer, &QTimer::timeout, [this, how] {
            QWidget *w = QApplication::activeModalWidget();
            if (!w || w->objectName() != u"frmOK" || !w->isVisible())
                return;
            QStringList seen{w->findChild<QLabel *>("lblOK")->text()};
            for (auto *b : {w->findChild<QPushButton *>("cmdOK0"), w->findChild<QPushButton *>("cmdOK1")})
                if (b->isVisible())
                    seen << (b->isDefault() ? '[' + b->text() + ']' : b->text());
            asked << seen.join(u'|');
            if (how == 2)
                QTest::keyClick(w, Qt::Key_Return);
            else
                QTest::mouseClick(w->findChild<QPushButton *>(QStringLiteral("cmdOK%1").arg(how)), Qt::LeftButton);
        });
        timer.start(0);
    }
    QStringList asked;
    QTimer timer;
    test::ExpectsDialogs expects{[](const QWidget *w) { return w->objectName() == u"frmOK"; }};
};

// The question about a copy that does not answer: its buttons, the default last.
const QString kHung = QString::fromUtf8(kHungQuestion) + "|終了させる|[やめる]";

} // namespace

class TestTwoCopies : public QObject {
    Q_OBJECT
    QTemporaryDir runtime_; // this process stands in for a running copy in some rows of copies()
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
        qputenv("XDG_RUNTIME_DIR", runtime_.path().toLocal8Bit());
        qputenv("XDG_CACHE_HOME", runtime_.filePath("cache").toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", runtime_.path().toLocal8Bit());
        qputenv("KELVORAN_HOME", runtime_.path().toLocal8Bit());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();

        SingleInstance running;
        QWidget window;
        RunningCopyServer knock([&window] { bringToFront(&window); });
        QLocalServer deaf;   // takes the knock, never answers
        std::unique_ptr<SmallDisk> readOnly;
        if (holds == u"read-only") {
            readOnly = std::make_unique<SmallDisk>(runtime_.filePath("read-only"), "ro,size=64k");
            if (!readOnly->mounted())
                QFAIL("cannot mount a read-only tmpfs here: mount needs root (run the tests as root or in a container)");
            env.insert("XDG_RUNTIME_DIR", runtime_.filePath("read-only"));
        } else if (!holds.isEmpty()) {
            QCOMPARE(running.acquire(), SingleInstance::Acquired);
            QLocalServer::removeServer(running.socketPath()); // a killed copy's leftover
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

    void secondStart_data()
    {
        QTest::addColumn<bool>("frozen");
        QTest::addColumn<bool>("sameRuntime");   // false: the second start has a runtime folder of its own
        QTest::addColumn<int>("answer");          // see Answer; -1: no question expected
        QTest::addColumn<bool>("opens");
        QTest::addColumn<bool>("otherUser");      // the first copy runs as "nobody"
        QTest::newRow("frozen: やめる leaves it, nothing opens") << true << true << 1 << false << false;
        QTest::newRow("frozen: Enter takes やめる") << true << true << 2 << false << false;
        QTest::newRow("frozen: 終了させる ends it, this start opens") << true << true << 0 << true << false;
        QTest::newRow("frozen, another runtime folder: the data folder's lock finds it")
            << true << false << 0 << true << false;
        QTest::newRow("running, another runtime folder: it comes to the front") << false << false << -1 << false << false;
        QTest::newRow("another user's running copy comes to the front") << false << false << -1 << false << true;
        QTest::newRow("another user's frozen copy: 終了させる ends it") << true << false << 0 << true << true;
    }

    void secondStart()
    {
        QFETCH(bool, frozen);
        QFETCH(bool, sameRuntime);
        QFETCH(int, answer);
        QFETCH(bool, opens);
        QFETCH(bool, otherUser);
        if (otherUser && ::geteuid() != 0)
            QFAIL("cannot start a copy as another user here: that needs root (run the tests as root or in a container)");
        QTemporaryDir dir;
        const QString data = dir.filePath("data"), runA = dir.filePath("runA"), runB = dir.filePath("runB");
        for (const QString &d : {data, runA, runB, dir.filePath("cache"), dir.filePath("home")})
            QVERIFY(QDir().mkpath(d) && (!otherUser || QFile::setPermissions(d, QFileDevice::Permissions(0x7777))));
        if (otherUser)
            QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7755)));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", runA);
        env.insert("XDG_CACHE_HOME", dir.filePath("cache"));
        env.insert("XDG_CONFIG_HOME", dir.path());
        env.insert("KELVORAN_HOME", data);
        env.insert("HOME", dir.filePath("home"));
        QProcess first;
        first.setProcessEnvironment(env);
        if (otherUser)
            first.start("setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups", KELVORAN_BINARY});
        else
            first.start(KELVORAN_BINARY, {});
        QVERIFY(first.waitForStarted());
        // Up once its lock is taken and it answers a knock on the data folder.
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(data + "/.kelvoran.lock"), 30'000);
        SingleInstance probe;
        QCOMPARE(probe.acquireDataFolder(data), SingleInstance::HeldByAnother);
        QTRY_VERIFY_WITH_TIMEOUT(askRunningCopyToRaise(probe.socketPath(), 100, true), 30'000);
        QCOMPARE(probe.holder(), first.processId());
        if (frozen)
            ::kill(pid_t(first.processId()), SIGSTOP);

        qputenv("XDG_RUNTIME_DIR", (sameRuntime ? runA : runB).toLocal8Bit());
        qputenv("XDG_CACHE_HOME", dir.filePath("cache").toLocal8Bit());
        SingleInstance runtime, folder;
        const Answer user(std::max(answer, 0));
        QCOMPARE(startAsOnlyCopy(runtime, folder, data), opens);
        QCOMPARE(user.asked, answer < 0 ? QStringList() : QStringList{kHung});
        if (opens) {
            // Ended for real, and both locks are this start's now.
            QVERIFY(first.waitForFinished(30'000));
            QCOMPARE(first.exitStatus(), QProcess::CrashExit);
            QVERIFY(runtime.held() && folder.held());
        } else {
            QCOMPARE(first.state(), QProcess::Running);
            QVERIFY(!folder.held());
            ::kill(pid_t(first.processId()), SIGKILL);
            QVERIFY(first.waitForFinished(30'000));
        }
    }

    // A holder that cannot be ended (here: not this program, so it is never
    // killed): the start says so and ends rather than open beside it.
    void holderNotEndedMeansThisStartEnds()
    {
        QTemporaryDir dir;
        qputenv("XDG_RUNTIME_DIR", dir.path().toLocal8Bit());
        SingleInstance held;
        QCOMPARE(held.acquire(), SingleInstance::Acquired);
        SingleInstance runtime, folder;
        const Answer user(0);
        QVERIFY(!startAsOnlyCopy(runtime, folder, dir.path()));
        QCOMPARE(user.asked, (QStringList{kHung, QString::fromUtf8(kNotEnded) + "|[OK]"}));
        QVERIFY(!user.asked.join(u'|').contains(u'\n')); // each said in one line
        QVERIFY(held.held() && !runtime.held());
    }

    // An import or a restore run from the command line holds the data
    // folder while it works. It answers no knock, yet it is not hung: a start
    // meanwhile says so and ends, and never offers to end it.
    void commandAtWorkIsNotOfferedToBeEnded()
    {
        QTemporaryDir dir;
        qputenv("XDG_RUNTIME_DIR", dir.filePath("run").toLocal8Bit());
        const QString data = dir.filePath("data"), program = dir.filePath("bin/kelvoran");
        QVERIFY(QDir().mkpath(data) && QDir().mkpath(dir.filePath("bin")) && QDir().mkpath(dir.filePath("run")));
        // "kelvoran --restore FILE" at work, standing in: a shell under the
        // program's file name, with those arguments.
        QVERIFY(QFile::copy("/bin/bash", program));
        QProcess command;
        command.start(program, {"-c", "sleep 60; true", "kelvoran", "--restore", dir.filePath("backup.tar.gz")});
        QVERIFY(command.waitForStarted());
        QFile lock(data + "/.kelvoran.lock"); // as the command's lock file records it
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write(QByteArray::number(command.processId()) + "\nkelvoran\n" + QSysInfo::machineHostName().toUtf8() + '\n'
                   + QSysInfo::bootUniqueId() + '\n');
        lock.close();

        SingleInstance runtime, folder;
        const Answer user(0);
        QVERIFY(!startAsOnlyCopy(runtime, folder, data));
        QCOMPARE(user.asked, QStringList{QString::fromUtf8(kCommandRunning) + "|[OK]"});
        QCOMPARE(command.state(), QProcess::Running);
        command.kill();
        QVERIFY(command.waitForFinished(30'000));
    }
};

KEL_TEST(test_twocopies, TestTwoCopies)
#include "test_twocopies.moc"
