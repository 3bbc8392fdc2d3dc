#pragma once
// The main window opens as it was left: its last size, or full screen when
// it was left so. Kept in the settings file's own group "WINDOW", apart from
// the options:
//
//   [WINDOW]
//   Size=1280x800
//   FullScreen=1
//
// With nothing stored the window opens at its design size.

#include <QSize>
#include <optional>

class QWidget;

namespace kel {

class SettingsStore;

struct WindowPlace {
    QSize size;
    bool fullScreen = false;
};

inline constexpr const char *kWindowGroup = "WINDOW";

std::optional<WindowPlace> readWindowPlace(const SettingsStore &store);
bool saveWindowPlace(SettingsStore &store, const WindowPlace &place);

// Notes the size of `w` out of full screen and whether it is full screen.
void keepWindowPlace(SettingsStore &store, const QWidget &w);
// Shows `w` as last kept; `fullScreen` (asked for on the command line)
// opens it full screen whatever was kept. A kept size larger than the
// screen's free area is cut to it.
void showAtLastPlace(QWidget &w, const SettingsStore &store, bool fullScreen);

} // namespace kel
