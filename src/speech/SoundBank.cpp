#include "speech/SoundBank.h"

#include "speech/VowelOnset.h"
#include "speech/WavCodec.h"
#include "speech/WavName.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>

namespace kel {

bool SoundBank::stampOf(const QString &path, Stamp *stamp)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    *stamp = {qint64(st.st_size), qint64(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec,
              qint64(st.st_ino)};
    return true;
}

SoundBank::Sound SoundBank::sound(const QString &path)
{
    Stamp stamp;
    if (!stampOf(path, &stamp)) {
        QMutexLocker lock(&mutex_);
        entries_.remove(path);
        return {};
    }
    {
        QMutexLocker lock(&mutex_);
        const auto it = entries_.constFind(path);
        if (it != entries_.cend() && it->stamp == stamp)
            return it->sound;
    }
    // Decoded without the lock, so that a long file on one thread never
    // holds up a touch on another.
    Sound sound;
    QString why;
    QFile file(path);
    if (stamp.size > kMaxSoundFileBytes)
        why = QString::fromLatin1(kTooLongReason);
    else if (!file.open(QIODevice::ReadOnly))
        why = file.errorString();
    else if (const std::optional<Audio> audio = decodeWav(file.read(kMaxSoundFileBytes), &why))
        sound.samples = std::make_shared<const std::vector<qint16>>(toPlayback(*audio));
    if (sound.samples)
        sound.onset = vowelOnset(std::span<const qint16>(*sound.samples), kPlaybackRate);
    else
        qWarning("kelvoran: %s", qPrintable(soundRefusal(printable(path), why)));
    QMutexLocker lock(&mutex_);
    entries_.insert(path, {stamp, sound});
    return sound;
}

int SoundBank::preload(const QString &folder, const std::atomic<bool> &cancelled)
{
    int decoded = 0;
    const QStringList names = QDir(folder).entryList({QStringLiteral("*.wav")}, QDir::Files);
    for (const QString &name : names) {
        if (cancelled.load())
            break;
        const QString path = folder + QLatin1Char('/') + name;
        bool held;
        {
            QMutexLocker lock(&mutex_);
            held = entries_.contains(path);
        }
        if (!held) {
            get(path);
            ++decoded;
        }
    }
    return decoded;
}

qint64 SoundBank::bytesHeld() const
{
    QMutexLocker lock(&mutex_);
    qint64 bytes = 0;
    for (const Entry &e : entries_)
        if (e.sound.samples)
            bytes += qint64(e.sound.samples->size() * sizeof(qint16));
    return bytes;
}

} // namespace kel
