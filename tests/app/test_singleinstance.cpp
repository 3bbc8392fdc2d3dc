// Starting and ending as a user sees it, with the real program: a second
// start brings the running window to the front and ends; a frozen first
// copy (SIGSTOP) is ended only when the user says so in the program's own
// question, whose default changes nothing; a killed copy's locks are taken
// over unasked; the data folder's own lock finds the first copy even across
// runtime folders; a copy that cannot be knocked on (one whose socket
// failed, a command at work; another user's: test_knock) is never offered
// to be ended; a lock folder that refuses the lock does not stop a start;
// SIGTERM, SIGHUP and SIGINT end it cleanly, its locks and sockets gone,
// even while its main thread is stuck (how soon is bench_limits' to say).
// Every wait is on an event (an answer, a file, a line, an end).
#include "support/TestMain.h"
#include "app/RunningCopy.h"
#include "base/KnockSocket.h"
#include "base/SingleInstance.h"
#include "support/Files.h"
#include "support/SmallDisk.h"
#include "support/ReadUntilEnded.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <csignal>
#include <memory>
#include <unistd.h>

using namespace kel;
using namespace kel::test;

namespace {

// The questions a second start asks, as Questions keeps them with the
// default button marked: it is always the answer that changes nothing.
const QString kHung = "Kelvoran|" + QString::fromUtf8(kHungQuestion) + "|終了させる|[やめる]";
const QString kUnreached = "Kelvoran|" + QString::fromUtf8(kNotReached) + "|[OK]";
const QString kCouldNotEnd = "Kelvoran|" + QString::fromUtf8(kNotEnded) + "|[OK]";
const QString kCommand = "Kelvoran|" + QString::fromUtf8(kCommandRunning) + "|[OK]";

// "kelvoran --restore FILE" at work, standing in: a shell under the
// program's file name, with those arguments, holding the data folder's lock
// as the command's lock file records it.
bool startCommandAtWork(QProcess &command, const QTemporaryDir &dir, const QString &data)
{
    const QString program = dir.filePath("bin/kelvoran");
    if (!QDir().mkpath(dir.filePath("bin")) || !QFile::copy("/bin/bash", program))
        return false;
    command.start(program, {"-c", "sleep 60; true", "kelvoran", "--restore", dir.filePath("backup.tar.gz")});
    if (!command.waitForStarted())
        return false;
    return writeFile(data + "/.kelvoran.lock", QByteArray::number(command.processId()) + "\nkelvoran\n"
                                                   + QSysInfo::machineHostName().toUtf8() + '\n' + QSysInfo::bootUniqueId() + '\n');
}

// Whether every thread of process `pid` is stopped, as /proc tells.
bool allStopped(qint64 pid)
{
    const QString tasks = QStringLiteral("/proc/%1/task").arg(pid);
    const QStringList threads = QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    return !threads.isEmpty() && std::ranges::all_of(threads, [&](const QString &t) {
        const QByteArray stat = readFile(tasks + '/' + t + "/stat"); // "pid (name) T ..."
        return stat.mid(stat.lastIndexOf(')') + 2, 1) == "T";
    });
}

// Starts `binary` as the program starts: its runtime folder `run`, its
// files and settings in `data`.
void startIn(QProcess &p, const QString &run, const QString &data, const QString &binary = KELVORAN_BINARY,
             const QStringList &args = {})
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", run);
    env.insert("XDG_CONFIG_HOME", data);
    env.insert("KELVORAN_HOME", data);
    p.setProcessEnvironment(env);
    p.start(binary, args);
}

} // namespace

class TestSingleInstance : public QObject {
    Q_OBJECT
private slots:
    // A second start, made in this process, meets the first copy the row
    // names. "program": the real program, "frozen" by SIGSTOP or "killed"
    // (its locks left behind), its data socket "blocked" by a folder, and in
    // the second start's runtime folder only when "shared" (else only the
    // data folder's lock finds it); "deaf": this process holds the lock and
    // takes the knock but never answers (and cannot be ended: it is not the
    // program); "lockOnly": it holds the lock with no socket; "command": a
    // restore at work on the command line; "readOnly": no first copy, and a
    // runtime folder that refuses the lock (it goes to another per-user
    // place). The user answers each question with `answer` (Questions: 0
    // the first button, kEnter the Enter key).
    void secondStart_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<QStringList>("asked");
        const QStringList hung{kHung}, unreached{kUnreached};
        // Enter takes やめる, which leaves it and opens nothing.
        QTest::newRow("frozen: Enter takes やめる") << "program frozen shared" << int(Questions::kEnter) << false << hung;
        QTest::newRow("frozen: 終了させる ends it, this start opens") << "program frozen shared" << 0 << true << hung;
        QTest::newRow("frozen, another runtime folder: the data folder's lock finds it") << "program frozen" << 0 << true << hung;
        QTest::newRow("a killed copy's locks are taken over unasked") << "program killed shared" << 0 << true << QStringList();
        QTest::newRow("a healthy copy whose socket failed: the lock alone decides") << "program blocked" << 0 << false << unreached;
        // Not ended, so this start says so and ends rather than open beside it.
        QTest::newRow("takes the knock, never answers, cannot be ended") << "deaf" << 0 << false << QStringList{kHung, kCouldNotEnd};
        QTest::newRow("no socket: the lock alone decides") << "lockOnly" << 0 << false << unreached;
        // An import or a restore answers no knock, yet it is not hung.
        QTest::newRow("a command at work is not offered to be ended") << "command" << 0 << false << QStringList{kCommand};
        QTest::newRow("a runtime folder that refuses the lock does not stop a start") << "readOnly" << 0 << true << QStringList();
    }

    void secondStart()
    {
        QFETCH(QString, first);
        QFETCH(int, answer);
        QFETCH(bool, opens);
        const QStringList how = first.split(u' ');
        QTemporaryDir dir;
        const QString data = dir.filePath("data"), runA = dir.filePath("runA"), runB = dir.filePath("runB");
        for (const QString &d : {data, runA, runB, dir.filePath("cache")})
            QVERIFY(QDir().mkpath(d));
        qputenv("XDG_RUNTIME_DIR", (how.contains("program") && !how.contains("shared") ? runB : runA).toLocal8Bit());
        qputenv("XDG_CACHE_HOME", dir.filePath("cache").toLocal8Bit());

        QProcess program, command;
        std::unique_ptr<SmallDisk> readOnly;
        SingleInstance held;
        KnockListener deaf([] {}, [](std::function<void()>) {}); // takes the knock, never answers
        if (how.contains("program")) {
            if (how.contains("blocked"))
                QVERIFY(QDir().mkpath(data + "/.kelvoran.socket"));
            startIn(program, runA, data);
            QVERIFY(program.waitForStarted());
            // Up once its lock is taken and it answers a knock on the data folder.
            QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(data + "/.kelvoran.lock"), 30'000);
            SingleInstance probe;
            QCOMPARE(probe.acquireDataFolder(data), SingleInstance::HeldByAnother);
            QByteArray log;
            const QByteArray why = "窓口を作れません（" + data.toUtf8() + "/.kelvoran.socket: ";
            if (how.contains("blocked")) // it says so in the log, naming the place
                QTRY_VERIFY_WITH_TIMEOUT((log += program.readAllStandardError()).contains(why), 30'000);
            else
                QTRY_VERIFY_WITH_TIMEOUT(knockOn(probe.socketPath(), 100) == Knock::Answered, 30'000);
            QCOMPARE(probe.holder(), program.processId());
            if (how.contains("frozen")) {
                // A stop takes effect a moment after the signal: the second
                // start knocks only once no thread of it can answer.
                ::kill(pid_t(program.processId()), SIGSTOP);
                QTRY_VERIFY_WITH_TIMEOUT(allStopped(program.processId()), 30'000);
            }
            if (how.contains("killed")) {
                ::kill(pid_t(program.processId()), SIGKILL);
                QVERIFY(program.waitForFinished(30'000));
            }
        } else if (how.contains("command")) {
            QVERIFY(startCommandAtWork(command, dir, data));
        } else if (how.contains("readOnly")) {
            readOnly = std::make_unique<SmallDisk>(runA, "ro,size=64k");
            if (!readOnly->mounted())
                QFAIL("cannot mount a read-only tmpfs here: mount needs root (run the tests as root or in a container)");
        } else {
            QCOMPARE(held.acquire(), SingleInstance::Acquired);
            QVERIFY(how.contains("lockOnly") || deaf.listen(held.socketPath()));
        }

        SingleInstance runtime, folder;
        const Questions user({answer, answer}, true);
        QCOMPARE(startAsOnlyCopy(runtime, folder, data), opens);
        QTEST(user.asked, "asked");
        QVERIFY(!user.asked.join(u'|').contains(u'\n')); // each said in one line
        QCOMPARE(runtime.held() && folder.held(), opens);
        if (opens) { // ended for real
            QVERIFY(program.state() == QProcess::NotRunning || program.waitForFinished(30'000));
            QCOMPARE(program.exitStatus(), how.contains("program") ? QProcess::CrashExit : QProcess::NormalExit);
            return;
        }
        QVERIFY(!folder.held() && !(held.held() && runtime.held())); // never two holders of one lock
        if (how.contains("program") || how.contains("command")) // left alone (and killed on leaving)
            QCOMPARE((how.contains("command") ? command : program).state(), QProcess::Running);
    }

    // A second start of the program itself, while this process holds the
    // lock and answers the knock: the minimised window comes to the front,
    // and the start ends by itself, with code 0 and nothing said.
    void secondStartBringsTheWindowForward()
    {
        QTemporaryDir dir;
        qputenv("XDG_RUNTIME_DIR", dir.path().toLocal8Bit());
        SingleInstance running;
        QWidget window;
        KnockListener knock([&window] { bringToFront(&window); });
        QCOMPARE(running.acquire(), SingleInstance::Acquired);
        QVERIFY(knock.listen(running.socketPath()));
        window.showMinimized();
        QVERIFY(window.isMinimized());
        QProcess second;
        startIn(second, dir.path(), dir.path());
        // This process answers the knock meanwhile.
        QTRY_VERIFY_WITH_TIMEOUT(second.state() == QProcess::NotRunning, 30'000);
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(second.readAllStandardOutput(), QByteArray());
        QVERIFY(!window.isMinimized() && window.isVisible());
    }

    // A signal ends the program as "終了" does: code 0, and neither lock nor
    // socket left behind in the runtime folder or the data folder; even a
    // program whose main thread hangs at its end ends so.
    void signalEndsInOrder_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<QString>("program"); // the window, reading aloud, or stuck at its end
        QTest::newRow("SIGTERM") << SIGTERM << "window";
        QTest::newRow("SIGHUP") << SIGHUP << "window";
        QTest::newRow("SIGINT (Ctrl+C in a terminal)") << SIGINT << "window";
        // The reading's waits end with the signal: the window's own end,
        // not the guard's, however long the text (how soon: bench_limits).
        QTest::newRow("SIGTERM while reading aloud") << SIGTERM << "reading";
        QTest::newRow("SIGTERM, main thread stuck at the end") << SIGTERM << "stuck";
    }

    void signalEndsInOrder()
    {
        QFETCH(int, signal);
        QFETCH(QString, program);
        const bool reading = program == u"reading";
        QTemporaryDir run, data;
        QProcess p;
        const QString binary = program == u"window" ? QStringLiteral(KELVORAN_BINARY)
                               : reading            ? QCoreApplication::applicationFilePath()
                                                    : QStringLiteral(STUCK_AT_EXIT);
        startIn(p, run.path(), data.path(), binary, reading ? QStringList{"--read-until-ended", data.path()} : QStringList());
        QVERIFY(p.waitForStarted());
        if (program != u"window") { // up once it says so
            QByteArray said;
            QTRY_VERIFY2_WITH_TIMEOUT((said += p.readAllStandardOutput()) == (reading ? "reading\n" : "up\n"), said.constData(), 30'000);
        } else {
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

};

KEL_TEST(test_singleinstance, TestSingleInstance)
KEL_TEST_CHILD("--read-until-ended", readUntilEnded)
#include "test_singleinstance.moc"
