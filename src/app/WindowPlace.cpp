#include "app/WindowPlace.h"

#include "base/SettingsStore.h"

#include <QScreen>
#include <QWidget>

namespace kel {
namespace {

const QString kGroup = QString::fromLatin1(kWindowGroup);

} // namespace

std::optional<WindowPlace> readWindowPlace(const SettingsStore &store)
{
    const std::optional<QString> size = store.valueIn(kGroup, QStringLiteral("Size"));
    const std::optional<QString> full = store.valueIn(kGroup, QStringLiteral("FullScreen"));
    if (!size && !full)
        return std::nullopt;
    WindowPlace p;
    const QStringList wh = size.value_or(QString()).split(QLatin1Char('x'));
    if (wh.size() == 2)
        p.size = QSize(wh[0].toInt(), wh[1].toInt());
    if (!p.size.isValid() || p.size.isEmpty())
        p.size = QSize();
    p.fullScreen = full.value_or(QString()) == QLatin1String("1");
    return p;
}

bool saveWindowPlace(SettingsStore &store, const WindowPlace &place)
{
    const bool size = !place.size.isValid()
        || store.saveIn(kGroup, QStringLiteral("Size"),
                        QStringLiteral("%1x%2").arg(place.size.width()).arg(place.size.height()));
    return store.saveIn(kGroup, QStringLiteral("FullScreen"), place.fullScreen ? QStringLiteral("1") : QStringLiteral("0"))
        && size;
}

void keepWindowPlace(SettingsStore &store, const QWidget &w)
{
    // Full screen, the size to come back to is the one before it.
    const QSize normal = w.isFullScreen() || w.isMaximized() ? w.normalGeometry().size() : w.size();
    saveWindowPlace(store, {normal, w.isFullScreen()});
}

void showAtLastPlace(QWidget &w, const SettingsStore &store, bool fullScreen)
{
    const std::optional<WindowPlace> kept = readWindowPlace(store);
    if (kept && kept->size.isValid()) {
        QSize size = kept->size;
        if (const QScreen *s = w.screen())
            size = size.boundedTo(s->availableGeometry().size());
        w.resize(size);
    }
    if (fullScreen || (kept && kept->fullScreen))
        w.showFullScreen();
    else
        w.show();
}

} // namespace kel
