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

    // Places the panel's client area at `topLeft` (screen pixels), kept
    // within the owner's width and on the owner's screen.
    void placeAt(const QPoint &topLeft);

    // Where a panel wanted at `wanted` goes (screen pixels): no wider than
    // `window` and moved into it across, then moved (and if need be cut)
    // into `screen`. An empty window or screen leaves it be.
    //   placed({0,550,800,128}, window {0,0,786,570}, screen {0,0,1024,768}) -> {0,550,786,128}
    //   placed({900,700,300,128}, window {800,0,224,768}, ...)              -> {800,640,224,128}
    static QRect placed(QRect wanted, const QRect &window, const QRect &screen);
    // Closes the panel (the only way it closes).
    void closeByProgram();

protected:
    void closeEvent(QCloseEvent *e) override;

private:
    bool closing_ = false;
};

} // namespace kel
