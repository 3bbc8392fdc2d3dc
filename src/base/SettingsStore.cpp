#include "base/SettingsStore.h"

#include "base/Options.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace kel {

QString SettingsStore::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/"
           + QLatin1String(kSettingsApplication) + ".ini";
}

std::optional<QString> SettingsStore::value(const QString &key) const
{
    return value(QLatin1String(kSettingsSection), key);
}

bool SettingsStore::save(const QString &key, const QString &value)
{
    return save(QLatin1String(kSettingsSection), key, value);
}

std::optional<QString> SettingsStore::value(const QString &group, const QString &key) const
{
    QSettings s(path_, QSettings::IniFormat);
    s.beginGroup(group);
    if (!s.contains(key))
        return std::nullopt;
    return s.value(key).toString();
}

bool SettingsStore::save(const QString &group, const QString &key, const QString &value)
{
    QSettings s(path_, QSettings::IniFormat);
    if (!s.isWritable())
        return false;
    s.beginGroup(group);
    s.setValue(key, value);
    s.endGroup();
    s.sync();
    return s.status() == QSettings::NoError;
}

void ReadOptions(AppState &st, const SettingsStore &store)
{
    const OptionCopies c = readOptionCopies([&](const QString &key) { return store.value(key); });
    st.Options = c.options;
    st.MaxC = c.maxC;
    st.SampleChars = c.sampleChars;
}

} // namespace kel
