#pragma once
// The sound set held in memory, ready to play: each WAV file decoded once
// into the player's format, with the start of its vowel found (VowelOnset)
// at the same time, and decoded again as soon as the file on disk
// is a different one (a new recording, or a file replaced by hand), which a
// stat at each use notices for the price of a few microseconds.
//
// Safe to use from several threads: the start-up preload runs on a worker
// while the window plays.

#include <QHash>
#include <QMutex>
#include <QString>

#include <atomic>
#include <memory>
#include <vector>

namespace kel {

class SoundBank {
public:
    using Samples = std::shared_ptr<const std::vector<qint16>>;

    // The sound of `path`, or null when the file is missing or refused
    // (see decodeWav; a file larger than kMaxSoundFileBytes is not read at
    // all); a refused file is not read again until it changes, and is
    // named once in the log with the reason.
    Samples get(const QString &path) { return sound(path).samples; }

    struct Sound {
        Samples samples;
        qsizetype onset = 0; // the sample its vowel begins at
    };
    Sound sound(const QString &path);

    // Decodes every "*.wav" in `folder` not yet held, stopping early once
    // `cancelled` turns true. Returns the number of files decoded.
    int preload(const QString &folder, const std::atomic<bool> &cancelled);

    // Bytes of decoded sound held.
    qint64 bytesHeld() const;

private:
    struct Stamp {
        qint64 size = -1, mtimeNs = 0, inode = 0;
        bool operator==(const Stamp &) const = default;
    };
    struct Entry {
        Stamp stamp;
        Sound sound;
    };
    static bool stampOf(const QString &path, Stamp *stamp);

    mutable QMutex mutex_;
    QHash<QString, Entry> entries_;
};

} // namespace kel
