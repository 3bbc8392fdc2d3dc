#include "base/SettingsStore.h"

#include "base/Options.h"
#include "base/SaveFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace kel {

QString SettingsStore::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/"
           + QLatin1String(kSettingsApplication) + ".ini";
}

std::optional<QString> SettingsStore::value(const QString &key) const
{
    return valueIn(QLatin1String(kSettingsSection), key);
}

namespace {

// The groups `bytes` hold, read through a file of their own (QSettings
// reads only files).
IniGroups iniGroupsOf(const QByteArray &bytes)
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("merged.ini")));
    if (!dir.isValid() || !file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    file.close();
    return readIniGroups(file.fileName());
}

} // namespace

const IniGroups &SettingsStore::groups() const
{
    if (!groups_) {
        seen_ = readSeenFile(path_);
        groups_ = readIniGroups(path_);
    }
    return *groups_;
}

std::optional<QString> SettingsStore::valueIn(const QString &group, const QString &key) const
{
    const IniGroups &all = groups();
    const auto g = all.find(group);
    if (g == all.end())
        return std::nullopt;
    const auto v = g->second.find(key);
    return v == g->second.end() ? std::nullopt : std::optional<QString>(v->second);
}

bool SettingsStore::save(const QString &key, const QString &value)
{
    return saveIn(QLatin1String(kSettingsSection), key, value);
}

bool SettingsStore::saveIn(const QString &group, const QString &key, const QString &value)
{
    // QSettings writes through a save file of its own that does not check
    // its flush: on a full disk it empties Talk.ini and reports success. So
    // QSettings only reads; the file is written here like every other file.
    IniGroups changed = groups();
    changed[group][key] = value;
    if (!QDir().mkpath(QFileInfo(path_).absolutePath()))
        return false;
    OutsideChange outside;
    if (saveCheckingOutside(path_, seen_, iniText(changed), &outside))
        return false;
    // Merged lines of another program are in force at once, like ours.
    groups_ = outside.kind == OutsideChange::Merged ? iniGroupsOf(seen_.bytes) : std::move(changed);
    if (outside.kind != OutsideChange::None && notice_)
        notice_(outsideChangeNotice(QFileInfo(path_).fileName(), outside));
    return true;
}

IniGroups readIniGroups(const QString &path)
{
    IniGroups read;
    QSettings s(path, QSettings::IniFormat);
    for (const QString &full : s.allKeys()) {
        if (full.isEmpty())
            continue;
        const qsizetype slash = full.indexOf(u'/');
        const QString g = slash < 0 ? QStringLiteral("General") : full.left(slash);
        read[g][slash < 0 ? full : full.mid(slash + 1)] = s.value(full).toString();
    }
    return read;
}

QByteArray iniText(const IniGroups &groups)
{
    // Plain words stay plain; anything else is quoted, which QSettings reads
    // back as exactly that text (never as a list, whatever commas it holds).
    auto valueText = [](const QString &v) {
        static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9._-]*$"));
        if (plain.match(v).hasMatch())
            return v.toUtf8();
        QByteArray out("\"");
        for (const char c : v.toUtf8()) {
            switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default: out += c;
            }
        }
        return out + '"';
    };
    QByteArray out;
    for (const auto &[group, keys] : groups) {
        if (!out.isEmpty())
            out += '\n';
        out += '[' + group.toUtf8() + "]\n";
        for (const auto &[key, value] : keys)
            out += QString(key).replace(u'/', u'\\').toUtf8() + '=' + valueText(value) + '\n';
    }
    return out;
}

void ReadOptions(AppState &st, const SettingsStore &store)
{
    const OptionCopies c = readOptionCopies([&](const QString &key) { return store.value(key); });
    st.Options = c.options;
    st.MaxC = c.maxC;
    st.SampleChars = c.sampleChars;
}

} // namespace kel
