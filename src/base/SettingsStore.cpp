#include "base/SettingsStore.h"

#include "base/Options.h"
#include "base/SaveFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

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

const IniGroups &SettingsStore::groups() const
{
    if (!groups_) {
        seen_ = readSeenFile(path_);
        groups_ = iniGroupsOf(seen_.bytes);
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
    // No regular file at the name (a link, a FIFO, a folder): ours lies
    // beside it, but the next start would not read it, so the setting is
    // not stored; the caller says so.
    if (outside.kind == OutsideChange::SavedBeside)
        return false;
    // Merged lines of another program are in force at once, like ours.
    groups_ = outside.kind == OutsideChange::Merged ? iniGroupsOf(seen_.bytes) : std::move(changed);
    if (outside.kind != OutsideChange::None && notice_)
        notice_(outsideChangeNotice(QFileInfo(path_).fileName(), outside));
    return true;
}

IniGroups readIniGroups(const QString &path)
{
    return iniGroupsOf(readSeenFile(path).bytes);
}

IniGroups iniGroupsOf(const QByteArray &bytes)
{
    IniGroups read;
    if (bytes.isEmpty())
        return read;
    // QSettings reads only named files: the bytes are given one in memory,
    // which needs no room in TMPDIR and leaves nothing behind.
    const int fd = ::memfd_create("Talk.ini", MFD_CLOEXEC);
    if (fd < 0) {
        qWarning("kelvoran: memfd_create: %s", std::strerror(errno));
        return read;
    }
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    // QSettings keeps what it read of a file name and reads it again only
    // when the size or the time differs; every fd here gets a time of its
    // own, so bytes of the same size are never answered from that memory.
    static std::atomic<time_t> stamp{1};
    const time_t own = stamp++;
    const struct timespec times[2] = {{own, 0}, {own, 0}};
    if (done == bytes.size() && ::futimens(fd, times) == 0) {
        QSettings s(QStringLiteral("/proc/self/fd/%1").arg(fd), QSettings::IniFormat);
        for (const QString &full : s.allKeys()) {
            if (full.isEmpty())
                continue;
            const qsizetype slash = full.indexOf(u'/');
            const QString g = slash < 0 ? QStringLiteral("General") : full.left(slash);
            read[g][slash < 0 ? full : full.mid(slash + 1)] = s.value(full).toString();
        }
    }
    ::close(fd);
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
