// One running copy per user: a second start ends silently, and a lock left
// by a killed copy does not lock the user out.
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

class TestSingleInstance : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void secondCopyEndsAndKilledLockIsTakenOver();
    void helpAndVersionNeedNoDisplay();
    void startsWithoutItsFolders();

private:
    QProcess *start();
    QTemporaryDir dir;
    QProcessEnvironment env;
};

void TestSingleInstance::initTestCase()
{
    env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_RUNTIME_DIR", dir.path());
    env.insert("XDG_CONFIG_HOME", dir.path());
    env.insert("KELVORAN_HOME", dir.path());
}

QProcess *TestSingleInstance::start()
{
    auto *p = new QProcess(this);
    p->setProcessEnvironment(env);
    p->start(QStringLiteral(KELVORAN_BINARY), {});
    return p;
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
    third->kill();
    third->waitForFinished(5000);
}

void TestSingleInstance::helpAndVersionNeedNoDisplay()
{
    QProcess p;
    QProcessEnvironment bare = env;
    bare.insert("QT_QPA_PLATFORM", "xcb");
    bare.remove("DISPLAY");
    p.setProcessEnvironment(bare);
    p.start(QStringLiteral(KELVORAN_BINARY), {QStringLiteral("--version")});
    QVERIFY(p.waitForFinished(5000));
    QCOMPARE(p.exitCode(), 0);
    QCOMPARE(p.readAllStandardOutput(), QByteArray("Kelvoran 1.3\n"));
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

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "test_singleinstance.moc"
