// Two copies on one data folder, with the real program as the first copy
// and this process as the second start: a frozen first copy (SIGSTOP) is
// ended only when the user says so in the program's own question, whose
// default changes nothing; a running one comes to the front. The data
// folder's own lock finds the first copy even when the two use different
// runtime folders or run as different users; a copy that cannot be knocked
// on (another user's, or one whose socket failed) is never offered to be
// ended: the lock alone decides. Every wait is on an event (an answer, a
// file, an end).
#include "support/TestMain.h"
#include "app/RunningCopy.h"
#include "base/KnockSocket.h"
#include "base/SingleInstance.h"

#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <unistd.h>

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
// What a start says of a copy it cannot knock on.
const QString kUnreached = QString::fromUtf8(kNotReached) + "|[OK]";

} // namespace

class TestTwoCopies : public QObject {
    Q_OBJECT
private slots:
    void secondStart_data()
    {
        QTest::addColumn<bool>("frozen");
        QTest::addColumn<bool>("sameRuntime");   // false: the second start has a runtime folder of its own
        QTest::addColumn<int>("answer");          // see Answer; -1: no question expected
        QTest::addColumn<bool>("opens");
        QTest::addColumn<bool>("otherUser");      // the first copy runs as "nobody"
        QTest::addColumn<bool>("noSocket");       // something else in the way of the first copy's data socket
        QTest::addColumn<QStringList>("asked");
        QTest::newRow("frozen: やめる leaves it, nothing opens") << true << true << 1 << false << false << false << QStringList{kHung};
        QTest::newRow("frozen: Enter takes やめる") << true << true << 2 << false << false << false << QStringList{kHung};
        QTest::newRow("frozen: 終了させる ends it, this start opens") << true << true << 0 << true << false << false << QStringList{kHung};
        QTest::newRow("frozen, another runtime folder: the data folder's lock finds it")
            << true << false << 0 << true << false << false << QStringList{kHung};
        QTest::newRow("running, another runtime folder: it comes to the front")
            << false << false << 0 << false << false << false << QStringList();
        // Another user's socket is neither reached nor believed.
        QTest::newRow("another user's running copy: said, not knocked on")
            << false << false << 0 << false << true << false << QStringList{kUnreached};
        QTest::newRow("another user's frozen copy is never offered to be ended")
            << true << false << 0 << false << true << false << QStringList{kUnreached};
        QTest::newRow("a healthy copy whose socket failed: the lock alone decides")
            << false << false << 0 << false << false << true << QStringList{kUnreached};
    }

    void secondStart()
    {
        QFETCH(bool, frozen);
        QFETCH(bool, sameRuntime);
        QFETCH(int, answer);
        QFETCH(bool, opens);
        QFETCH(bool, otherUser);
        QFETCH(bool, noSocket);
        QFETCH(QStringList, asked);
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
        if (noSocket)
            QVERIFY(QDir().mkpath(data + "/.kelvoran.socket"));
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
        QByteArray log;
        if (noSocket) // it says so, in the log
            QTRY_VERIFY_WITH_TIMEOUT((log += first.readAllStandardError()).contains("窓口を作れません"), 30'000);
        else if (otherUser) // up once its data socket is there
            QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(probe.socketPath()).exists(), 30'000);
        else
            QTRY_VERIFY_WITH_TIMEOUT(knockOn(probe.socketPath(), 100) == Knock::Answered, 30'000);
        QCOMPARE(probe.holder(), first.processId());
        if (frozen)
            ::kill(pid_t(first.processId()), SIGSTOP);

        qputenv("XDG_RUNTIME_DIR", (sameRuntime ? runA : runB).toLocal8Bit());
        qputenv("XDG_CACHE_HOME", dir.filePath("cache").toLocal8Bit());
        SingleInstance runtime, folder;
        const Answer user(answer);
        QCOMPARE(startAsOnlyCopy(runtime, folder, data), opens);
        QCOMPARE(user.asked, asked);
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

    // A holder that takes the knock but cannot be ended (here: not this
    // program, so it is never killed): the start says so and ends rather
    // than open beside it. One with no socket at all is not even asked about.
    void holderNotEndedMeansThisStartEnds_data()
    {
        QTest::addColumn<bool>("listens");
        QTest::addColumn<QStringList>("asked");
        QTest::newRow("takes the knock, never answers") << true << QStringList{kHung, QString::fromUtf8(kNotEnded) + "|[OK]"};
        QTest::newRow("no socket: the lock alone decides") << false << QStringList{kUnreached};
    }

    void holderNotEndedMeansThisStartEnds()
    {
        QFETCH(bool, listens);
        QTemporaryDir dir;
        qputenv("XDG_RUNTIME_DIR", dir.path().toLocal8Bit());
        SingleInstance held;
        QCOMPARE(held.acquire(), SingleInstance::Acquired);
        KnockListener deaf([] {}, [](std::function<void()>) {});
        QVERIFY(!listens || deaf.listen(held.socketPath()));
        SingleInstance runtime, folder;
        const Answer user(0);
        QVERIFY(!startAsOnlyCopy(runtime, folder, dir.path()));
        QTEST(user.asked, "asked");
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
