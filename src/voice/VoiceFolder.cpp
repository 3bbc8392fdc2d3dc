#include "voice/VoiceFolder.h"

#include "base/SaveFile.h"
#include "reading/Morae.h"
#include "voice/ArchiveFile.h"
#include "speech/MoraHeights.h"
#include "speech/SoundSet.h"
#include "speech/WavCodec.h"
#include "speech/WavName.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>

namespace kel {
namespace {

// The kana of each board column; small, voiced and semi-voiced forms and
// katakana are folded onto these before the lookup.
constexpr const char16_t *kKanaRows[][2] = {
    {u"あ行", u"あいうえおぁぃぅぇぉ"}, {u"か行", u"かきくけこゕゖ"}, {u"さ行", u"さしすせそ"},
    {u"た行", u"たちつてとっ"},        {u"な行", u"なにぬねの"},    {u"は行", u"はひふへほ"},
    {u"ま行", u"まみむめも"},          {u"や行", u"やゆよゃゅょ"},  {u"ら行", u"らりるれろ"},
    {u"わ行", u"わをんゎゐゑ"},
};

QString foldKana(QChar c)
{
    if (c.unicode() >= 0x30A1 && c.unicode() <= 0x30F6) // katakana -> hiragana
        c = QChar(c.unicode() - 0x60);
    if (c == u'ヴ')
        c = u'う';
    return QString(c).normalized(QString::NormalizationForm_D).left(1);
}

} // namespace

QString boardGroupOf(const QString &ch)
{
    if (pairMorae().contains(ch))
        return QStringLiteral("拗音など");
    if (ch.size() > 1 && !ch.at(0).isHighSurrogate())
        return QStringLiteral("顔");
    const QChar c = ch.isEmpty() ? QChar() : ch.at(0);
    const QString base = foldKana(c);
    for (const auto &[group, kana] : kKanaRows)
        if (QStringView(kana).contains(base))
            return QString::fromUtf16(group);
    if (c.isDigit())
        return QStringLiteral("数字");
    if (c.isLetter() && c.script() == QChar::Script_Latin)
        return QStringLiteral("英字");
    return QStringLiteral("記号");
}

bool isVoiceName(const QString &ch)
{
    static const QSet<QString> set = [] {
        const QStringList all = soundSetCharacters() + pairMorae();
        return QSet<QString>(all.begin(), all.end());
    }();
    // Any kana with a small one after it, beyond the table's pairs.
    static const QRegularExpression mora(QStringLiteral("^[\\x{3041}-\\x{3094}][ぁぃぅぇぉゃゅょゎ]$"));
    // The heights of a kana mora ("か.high") travel with it.
    const QString height = heightOf(ch);
    const QString &name = height.isEmpty() ? ch : height;
    if (!height.isEmpty() && !isKana(name.front()))
        return false;
    return set.contains(name) || mora.match(name).hasMatch();
}

std::optional<QByteArray> usableSound(const QString &path)
{
    std::optional<QByteArray> bytes = readRegularFile(path, kMaxSoundFileBytes, nullptr);
    QString bad;
    if (!bytes || !decodeWav(*bytes, &bad))
        return std::nullopt;
    return bytes;
}

bool writeWhole(const QString &path, const QByteArray &bytes, QString *error)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const std::optional<SaveError> failed = saveFileAtomically(path, bytes);
    if (failed && error)
        *error = failed->reason;
    return !failed;
}

QString VoiceFolder::soundPath(const QString &ch) const
{
    return wavPathFor(folder_, ch).value_or(QString());
}

QString VoiceFolder::takePath(const QString &ch) const
{
    return wavPathFor(folder_ + QStringLiteral("/voice/takes"), ch).value_or(QString());
}

QString VoiceFolder::backupPath(const QString &ch) const
{
    return wavPathFor(folder_ + QStringLiteral("/voice/generated"), ch).value_or(QString());
}

VoiceState VoiceFolder::state(const QString &ch) const
{
    if (QFileInfo(soundPath(ch)).isFile())
        return usableSound(soundPath(ch)) ? VoiceState::Own : VoiceState::Unusable;
    if (!installed_.isEmpty() && QFileInfo(wavPathFor(installed_, ch).value_or(QString())).isFile())
        return VoiceState::Installed;
    return VoiceState::Missing;
}

QList<VoiceEntry> VoiceFolder::entries() const
{
    QList<VoiceEntry> out;
    for (const QString &ch : soundSetCharacters())
        out.append({ch, boardGroupOf(ch), state(ch)});
    return out;
}

QStringList VoiceFolder::ownSounds() const
{
    QStringList out;
    const QStringList names = QDir(folder_).entryList({QStringLiteral("*.wav")}, QDir::Files, QDir::Name);
    for (const QString &name : names) {
        const QString ch = name.chopped(4);
        if (isVoiceName(ch) && QFileInfo(soundPath(ch)).isFile())
            out << ch;
    }
    return out;
}

bool VoiceFolder::keep(const QString &ch, const QByteArray &sound, const QByteArray &raw, QString *error)
{
    const QString path = soundPath(ch);
    if (path.isEmpty())
        return false;
    // A height is made again from the recording when its take is undone:
    // nothing to put aside.
    if (heightOf(ch).isEmpty() && QFileInfo(path).isFile() && !QFileInfo(takePath(ch)).isFile()) {
        QFile generated(path);
        if (!generated.open(QIODevice::ReadOnly)
            || !writeWhole(backupPath(ch), generated.readAll(), error))
            return false;
    }
    // Both written out before either replaces anything, so that a full
    // disk leaves the character as it was: a new take beside the old
    // sound would pair the take with a sound not made from it.
    QDir().mkpath(QFileInfo(takePath(ch)).absolutePath());
    QSaveFile take(takePath(ch)), kept(path);
    const auto written = [](QSaveFile &f, const QByteArray &bytes) {
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.flush();
    };
    const bool ok = written(take, raw) && written(kept, sound) && kept.commit() && take.commit();
    if (!ok && error)
        *error = take.error() != QFileDevice::NoError ? take.errorString() : kept.errorString();
    return ok;
}

bool VoiceFolder::restore(const QString &ch, QString *error)
{
    const QString path = soundPath(ch);
    if (path.isEmpty())
        return false;
    QFile backup(backupPath(ch));
    if (backup.exists()) {
        if (!backup.open(QIODevice::ReadOnly) || !writeWhole(path, backup.readAll(), error))
            return false;
        backup.close();
        backup.remove();
    } else if (QFile sound(path); sound.exists() && !sound.remove()) {
        if (error)
            *error = sound.errorString();
        return false;
    }
    QFile::remove(takePath(ch));
    // Its heights were made from the recording forgotten, or recorded
    // beside it in the same voice.
    if (heightOf(ch).isEmpty())
        for (const bool high : {true, false}) {
            QFile::remove(heightPath(path, high));
            QFile::remove(heightPath(takePath(ch), high));
        }
    return true;
}

} // namespace kel
