// Starting and ending as a user sees it, with the real program: a second
// start brings the running window to the front and ends; a copy that does not
// answer is said on screen; a lock folder that refuses the lock does not stop
// the program; SIGTERM and SIGHUP end it within two seconds, cleanly, even
// while its main thread is stuck.
#include "app/RunningCopy.h"
#include "base/SingleInstance.h"
#include "support/SmallDisk.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLocalServer>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>

using namespace kel;

class TestSingleInstance : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void secondStartBringsTheRunningWindowToTheFront();
    void secondCopyEndsAndKilledLockIsTakenOver();
    void hungCopyIsSaidOnScreen();
    void hungCopyQuestionIsOneLineWithTwoAnswers();
    void unwritableLockFolderStillOpens();
    void endsWhenAsked_data();
    void endsWhenAsked();
    void helpAndVersionNeedNoDisplay_data();
    void helpAndVersionNeedNoDisplay();
    void startsWithoutItsFolders();

private:
    QProcess *start(const QString &program = QStringLiteral(KELVORAN_BINARY));
    // Sends `signal` and returns the milliseconds until the process ended.
    qint64 endWith(QProcess *p, int signal);
    QTemporaryDir dir;
    QProcessEnvironment env;
};

void TestSingleInstance::initTestCase()
{
    env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_RUNTIME_DIR", dir.path());
    env.insert("XDG_CONFIG_HOME", dir.path());
    env.insert("XDG_CACHE_HOME", dir.filePath("cache"));
    env.insert("KELVORAN_HOME", dir.path());
    // This process stands in for a running copy in some tests.
    qputenv("XDG_RUNTIME_DIR", dir.path().toLocal8Bit());
    qputenv("XDG_CACHE_HOME", dir.filePath("cache").toLocal8Bit());
}

QProcess *TestSingleInstance::start(const QString &program)
{
    auto *p = new QProcess(this);
    p->setProcessEnvironment(env);
    p->start(program, {});
    return p;
}

qint64 TestSingleInstance::endWith(QProcess *p, int signal)
{
    QElapsedTimer timer;
    timer.start();
    ::kill(pid_t(p->processId()), signal);
    p->waitForFinished(10'000);
    return timer.elapsed();
}

void TestSingleInstance::secondStartBringsTheRunningWindowToTheFront()
{
    SingleInstance running;
    QCOMPARE(running.acquire(), SingleInstance::Acquired);
    QWidget window;
    RunningCopyServer knock([&window] { bringToFront(&window); });
    QVERIFY(knock.listen(running.socketPath()));
    window.showMinimized();
    QVERIFY(window.isMinimized());

    QProcess *second = start();
    QTRY_VERIFY_WITH_TIMEOUT(second->state() == QProcess::NotRunning, 10'000);
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 0);
    QVERIFY(!window.isMinimized());
    QVERIFY(window.isVisible());
}

void TestSingleInstance::secondCopyEndsAndKilledLockIsTakenOver()
{
    QProcess *first = start();
    QVERIFY(first->waitForStarted());
    QVERIFY(!first->waitForFinished(1500));   // it keeps running

    QProcess *second = start();
    QVERIFY(second->waitForFinished(10000));
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 0);
    QCOMPARE(second->readAllStandardOutput(), QByteArray());
    QCOMPARE(first->state(), QProcess::Running);

    ::kill(pid_t(first->processId()), SIGKILL);
    QVERIFY(first->waitForFinished(5000));

    QProcess *third = start();
    QVERIFY(third->waitForStarted());
    QVERIFY2(!third->waitForFinished(1500), "a lock left by a killed copy kept the program out");
    QVERIFY(endWith(third, SIGTERM) < 2000);
}

void TestSingleInstance::hungCopyIsSaidOnScreen()
{
    // A copy that holds the lock and takes the knock but never answers.
    SingleInstance hung;
    QCOMPARE(hung.acquire(), SingleInstance::Acquired);
    QLocalServer deaf;
    QLocalServer::removeServer(hung.socketPath()); // a killed copy's leftover
    QVERIFY(deaf.listen(hung.socketPath()));

    QProcess *second = start();
    QVERIFY(second->waitForStarted());
    // No silent end: after the two seconds it waits for an answer, it stays
    // on screen with its question (shown in the next test) until answered.
    QVERIFY2(!second->waitForFinished(3500), "the start ended without a word");
    QVERIFY(endWith(second, SIGTERM) < 2000);
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
}

void TestSingleInstance::hungCopyQuestionIsOneLineWithTwoAnswers()
{
    for (const int answer : {0, 1}) {
        QStringList seen;
        // Reads the box and answers it; checks come after, so that a
        // failure can never leave the box waiting.
        QTimer::singleShot(0, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            seen << box->text();
            for (QAbstractButton *b : box->buttons())
                seen << b->text();
            QTest::mouseClick(box->buttons().at(answer), Qt::LeftButton);
        });
        QCOMPARE(askToEndHungCopy(), answer == 0);
        QCOMPARE(seen, (QStringList{QString::fromUtf8(kHungQuestion), "終了させる", "やめる"}));
        QVERIFY(!seen.first().contains(u'\n'));
    }
}

void TestSingleInstance::unwritableLockFolderStillOpens()
{
    const QString readOnly = dir.filePath("read-only-runtime");
    QVERIFY(QDir().mkpath(readOnly));
    if (QProcess::execute("mount", {"-t", "tmpfs", "-o", "ro,size=64k", "tmpfs", readOnly}) != 0)
        QSKIP("cannot mount a read-only tmpfs here (needs root)");
    const QProcessEnvironment saved = env;
    env.insert("XDG_RUNTIME_DIR", readOnly);

    QProcess *first = start();
    QVERIFY(first->waitForStarted());
    const bool opened = !first->waitForFinished(2000);
    // The lock went to another per-user place, so it still keeps one copy.
    QProcess *second = start();
    const bool secondEnded = second->waitForFinished(10'000);
    if (opened)
        endWith(first, SIGTERM);
    env = saved;
    QProcess::execute("umount", {"-l", readOnly});
    QVERIFY2(opened, "an unwritable runtime folder stopped the program");
    QVERIFY(secondEnded);
    QCOMPARE(second->exitCode(), 0);
}

void TestSingleInstance::endsWhenAsked_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << KELVORAN_BINARY << SIGTERM;
    QTest::newRow("SIGHUP") << KELVORAN_BINARY << SIGHUP;
    QTest::newRow("SIGTERM, main thread stuck at the end") << STUCK_AT_EXIT << SIGTERM;
}

void TestSingleInstance::endsWhenAsked()
{
    QFETCH(QString, program);
    QFETCH(int, signal);
    QProcess *p = start(program);
    QVERIFY(p->waitForStarted());
    QVERIFY(!p->waitForFinished(1500)); // on screen (or stuck) by now
    const qint64 ms = endWith(p, signal);
    QVERIFY2(ms < 2000, qPrintable(QString::number(ms)));
    // An orderly end: the lock and the socket are free for the next start.
    QCOMPARE(p->exitStatus(), QProcess::NormalExit);
    QCOMPARE(p->exitCode(), 0);
    QProcess *next = start();
    QVERIFY(!next->waitForFinished(1500));
    endWith(next, SIGTERM);
}

void TestSingleInstance::helpAndVersionNeedNoDisplay_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QByteArray>("says");
    QTest::newRow("--version") << "--version" << QByteArray("Kelvoran 1.3\n");
    QTest::newRow("--help names the program and its options")
        << "--help" << QByteArray("Usage: kelvoran [options]\nKelvoran: a Japanese talking board.");
}

void TestSingleInstance::helpAndVersionNeedNoDisplay()
{
    QFETCH(QString, option);
    QFETCH(QByteArray, says);
    QProcess p;
    QProcessEnvironment bare = env;
    bare.insert("QT_QPA_PLATFORM", "xcb");
    bare.remove("DISPLAY");
    p.setProcessEnvironment(bare);
    p.start(QStringLiteral(KELVORAN_BINARY), {option});
    QVERIFY(p.waitForFinished(5000));
    QCOMPARE(p.exitCode(), 0);
    const QByteArray out = p.readAllStandardOutput();
    QVERIFY2(out.startsWith(says), out.constData());
    if (option == u"--help")
        QVERIFY(out.contains("--fullscreen") && out.contains("--home <DIR>"));
}

void TestSingleInstance::startsWithoutItsFolders()
{
    // No program folder, and a settings folder that cannot be made (its
    // path runs through a file): the window still comes up, silently.
    QFile blocker(dir.filePath("not-a-folder"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QProcess p;
    QProcessEnvironment bad = env;
    bad.insert("XDG_CONFIG_HOME", dir.filePath("not-a-folder/config"));
    bad.insert("KELVORAN_HOME", dir.filePath("missing/home"));
    p.setProcessEnvironment(bad);
    p.start(QStringLiteral(KELVORAN_BINARY), {QStringLiteral("--quit-when-shown")});
    QVERIFY(p.waitForFinished(15000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 0);
}

QTEST_MAIN(TestSingleInstance)
#include "test_singleinstance.moc"
