#pragma once
// The user's own voice on disk, beside the sound set it replaces:
//
//   <folder>/あ.wav                  the sound the board plays (own or generated)
//   <folder>/voice/takes/あ.wav      the raw take an own recording was made from
//   <folder>/voice/generated/あ.wav  the generated sound it replaced
//
// A character's sound is "own" while its raw take is kept. Every write goes
// through a temporary file and a checked rename, so a failure (a full disk,
// a read-only folder) leaves the old file whole and is reported.

#include <QByteArray>
#include <QList>
#include <QString>

namespace kel {

enum class VoiceState { Own, Generated, Missing };

struct VoiceEntry {
    QString character;
    QString group; // the board column it belongs to: "あ行", "英字", "数字", "記号", "顔"
    VoiceState state;
};

// boardGroupOf("が") -> "か行", boardGroupOf("ッ") -> "た行",
// boardGroupOf("B") -> "英字", boardGroupOf("(^_^)") -> "顔".
QString boardGroupOf(const QString &character);

// Writes `bytes` to `path` with the program's checked save, making its
// folder first; false, with the system's reason in `error`, when any step
// fails (the old file is kept).
bool writeWhole(const QString &path, const QByteArray &bytes, QString *error);

class VoiceFolder {
public:
    explicit VoiceFolder(QString folder) : folder_(std::move(folder)) {}

    QString folder() const { return folder_; }
    QString soundPath(const QString &ch) const;
    QString takePath(const QString &ch) const;
    QString backupPath(const QString &ch) const;

    VoiceState state(const QString &ch) const;
    // Every text of the sound set, in the set's order.
    QList<VoiceEntry> entries() const;

    // Keeps `sound` as the character's voice and `raw` as its take; a
    // generated sound is put aside first, so that restore() can bring it back.
    bool keep(const QString &ch, const QByteArray &sound, const QByteArray &raw, QString *error);
    // Brings back the generated sound (or none, if there was none) and
    // forgets the own recording.
    bool restore(const QString &ch, QString *error);

private:
    QString folder_;
};

} // namespace kel
