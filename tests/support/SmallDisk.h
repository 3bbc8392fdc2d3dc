#pragma once
// A real, tiny file system for tests of a full disk: a 128 KB tmpfs mounted
// over a folder (needs root), and a filler file that takes every free block.

#include <QFile>
#include <QProcess>
#include <QString>

namespace kel {

class SmallDisk {
public:
    // Mounts over `folder`, hiding what it held until unmounted.
    explicit SmallDisk(QString folder) : folder_(std::move(folder))
    {
        mounted_ = QProcess::execute(QStringLiteral("mount"),
                                     {"-t", "tmpfs", "-o", "size=128k", "tmpfs", folder_})
                   == 0;
    }
    ~SmallDisk()
    {
        if (mounted_)
            QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), folder_});
    }
    bool mounted() const { return mounted_; }

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
