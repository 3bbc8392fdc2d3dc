#pragma once
// The user's own voice on disk, beside the sound set it replaces:
//
//   <folder>/あ.wav                  the user's own sound, played before the installed one
//   <folder>/あ.high.wav, あ.low.wav  its two heights (speech/MoraHeights.h)
//   <folder>/voice/takes/あ.wav      the raw take a studio recording was made from
//   <folder>/voice/generated/あ.wav  a sound of the folder a recording replaced
//   <installed>/あ.wav               the installed voice ("標準の声")
//
// Every sound file in the user's folder is the user's own, whether the
// studio made it or it was put there by hand. Every write goes
// through a temporary file and a checked rename, so a failure (a full disk,
// a read-only folder) leaves the old file whole and is reported.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace kel {

// Own: a sound in the user's folder; Unusable: a file there that is no
// WAV the program can play (or over the sound limits), so the character
// still wants a recording; Installed: only the installed voice has it;
// Missing: neither, the character plays nothing.
enum class VoiceState { Own, Unusable, Installed, Missing };

// The sound at `path` when it is a regular file within the sound limits
// that decodes; nullopt otherwise, an oversized file judged by its size
// alone, never read.
std::optional<QByteArray> usableSound(const QString &path);

struct VoiceEntry {
    QString character;
    QString group; // the board column it belongs to: "あ行", "英字", "数字", "記号", "顔";
                   // "拗音など" for the pairs read as one mora
    VoiceState state;
};

// boardGroupOf("が") -> "か行", boardGroupOf("ッ") -> "た行",
// boardGroupOf("B") -> "英字", boardGroupOf("(^_^)") -> "顔",
// boardGroupOf("きゃ") -> "拗音など".
QString boardGroupOf(const QString &character);

// True for a text the voice may hold a sound for: one of the sound set's
// texts, or a mora of a kana and a small one ("きゃ", "てぃ", "ふぁ").
// isVoiceName("か") -> true, isVoiceName("か.high") -> true (a height of a
// kana mora), isVoiceName("Talk.txt") -> false,
// isVoiceName(".hidden") -> false.
bool isVoiceName(const QString &ch);

// Writes `bytes` to `path` with the program's checked save, making its
// folder first; false, with the system's reason in `error`, when any step
// fails (the old file is kept).
bool writeWhole(const QString &path, const QByteArray &bytes, QString *error);

class VoiceFolder {
public:
    explicit VoiceFolder(QString folder, QString installed = {})
        : folder_(std::move(folder)), installed_(std::move(installed)) {}

    QString folder() const { return folder_; }
    QString soundPath(const QString &ch) const;
    QString takePath(const QString &ch) const;
    QString backupPath(const QString &ch) const;

    VoiceState state(const QString &ch) const;
    // Every text of the sound set, in the set's order.
    QList<VoiceEntry> entries() const;
    // Every text with a sound file in the folder, whether recorded in the
    // studio or placed there by hand, in the folder's order.
    QStringList ownSounds() const;

    // Keeps `sound` as the character's voice and `raw` as its take; a sound
    // of the folder without a take is put aside first, so that restore()
    // can bring it back.
    bool keep(const QString &ch, const QByteArray &sound, const QByteArray &raw, QString *error);
    // Forgets the own recording and its heights: brings back the sound put
    // aside for it, or none, so that the installed voice plays. For a
    // height ("か.high") forgets that height's take and sound alone.
    bool restore(const QString &ch, QString *error);

private:
    QString folder_;
    QString installed_;
};

} // namespace kel
