#pragma once
// A real, tiny file system for tests of a full or read-only disk: a tmpfs
// mounted over a folder (needs root), and a filler file that takes every
// free block.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>

namespace kel {

class SmallDisk {
public:
    // Mounts over `folder` (made when missing), hiding what it held until
    // unmounted; `options` as mount's -o takes them.
    explicit SmallDisk(QString folder, const QString &options = QStringLiteral("size=128k"))
        : folder_(std::move(folder))
    {
        QDir().mkpath(folder_);
        mounted_ = QProcess::execute(QStringLiteral("mount"), {"-t", "tmpfs", "-o", options, "tmpfs", folder_}) == 0;
    }
    ~SmallDisk()
    {
        if (mounted_)
            QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), folder_});
    }
    bool mounted() const { return mounted_; }
    // A write-protected stick from here on.
    bool makeReadOnly() const
    {
        return QProcess::execute(QStringLiteral("mount"), {"-o", "remount,ro", folder_}) == 0;
    }

    // Writes a filler until the disk refuses; true when it is full.
    bool fill() const
    {
        QFile f(folder_ + QStringLiteral("/.filler"));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return false;
        const QByteArray block(512, 'x');
        while (f.write(block) == block.size()) {
        }
        return true;
    }
    // Makes room again.
    void free() const { QFile::remove(folder_ + QStringLiteral("/.filler")); }

private:
    QString folder_;
    bool mounted_ = false;
};

} // namespace kel
