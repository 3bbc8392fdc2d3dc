#pragma once
// The stop panel shown on top while the text is read aloud. A touch on its
// label stops the reading after the character being spoken; the window's
// own close command is refused, only the program closes it. It belongs to
// the main window (a transient of it), so that a window manager keeps it
// above that window even when the main window fills the screen.

#include <QWidget>
#include <functional>

namespace kel {

class TwipsMap;

class FrmRead : public QWidget {
    Q_OBJECT
public:
    // `onStop` runs when the label is touched; `map` gives the main window's
    // scale; `owner` is the main window.
    FrmRead(const TwipsMap &map, std::function<void()> onStop, QWidget *owner);

    // Places the panel's client area at `topLeft` (screen pixels).
    void placeAt(const QPoint &topLeft) { move(topLeft); }
    // Closes the panel (the only way it closes).
    void closeByProgram();

protected:
    void closeEvent(QCloseEvent *e) override;

private:
    bool closing_ = false;
};

} // namespace kel
