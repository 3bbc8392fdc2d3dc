#pragma once
// Files and programs for the tests: bytes read and written whole, the
// copies kept beside a file another program changed, and programs run to
// their end.

#include <QDir>
#include <QFile>
#include <QProcess>

#include <cstdio>
#include <optional>

namespace kel::test {

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The copies kept beside `path` ("Talk（ほかのプログラムの変更 …）.txt").
inline QStringList keptBeside(const QString &path)
{
    const QFileInfo info(path);
    return QDir(info.path()).entryList({info.completeBaseName() + "（ほかのプログラムの変更 *"}, QDir::Files);
}

// What a program run to its end did: its exit code (-1 when it could not
// start, crashed or ran over its time, and then was killed), what it wrote.
struct Ran {
    int code = -1;
    QByteArray out, err;
};
inline Ran runProgram(const QString &program, const QStringList &args,
                      const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment(),
                      const QByteArray &input = {}, int timeoutMs = 60'000)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    p.write(input);
    p.closeWriteChannel();
    const bool ended = p.waitForFinished(timeoutMs) && p.exitStatus() == QProcess::NormalExit;
    return {ended ? p.exitCode() : -1, p.readAllStandardOutput(), p.readAllStandardError()};
}

// A tool's standard output, or nullopt when it cannot be started, times out
// or fails. What it says on standard error goes to the log.
inline std::optional<QByteArray> runTool(const QString &program, const QStringList &args, int timeoutMs = 10'000)
{
    const Ran ran = runProgram(program, args, QProcessEnvironment::systemEnvironment(), {}, timeoutMs);
    std::fputs(ran.err.constData(), stderr);
    return ran.code == 0 ? std::optional(ran.out) : std::nullopt;
}

} // namespace kel::test
