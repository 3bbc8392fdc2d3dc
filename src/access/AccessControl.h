#pragma once
// Switch scanning and dwell selection on the live windows. Space and Enter
// (and, when asked, the mouse buttons) become switch presses while scanning
// is on and never reach the text box; the pointer's rest selects under
// dwell. Every selection is a touch at the target's centre: a press and a
// release delivered to whatever widget is on top there, so the screens'
// own handlers do the rest.

#include "access/AccessSettings.h"
#include "access/DwellTracker.h"
#include "access/ScanScreen.h"
#include "access/Scanner.h"
#include "access/SwitchFilter.h"
#include "frame/Talk.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <deque>
#include <memory>
#include <optional>

namespace kel {

class AccessOverlay;

class AccessControl : public QObject {
    Q_OBJECT
public:
    explicit AccessControl(Talk &t);
    ~AccessControl() override;

    // Reads the "ACCESS" group and applies it (the reading pace included).
    void readSettings();
    void apply(const AccessSettings &s);
    const AccessSettings &settings() const { return set_; }

    // What the timer does every few milliseconds: steps the scan, counts a
    // held switch, runs the dwell. Tests that drive the clock call it.
    void poll();

    // For tests and the benchmark: what is shown now.
    const Scanner *scanner() const { return scanner_.get(); }
    const ScanScreen &screen() const { return screen_; }
    AccessOverlay *overlay() const;
    // The highlighted target's or group's rectangle in its window.
    QRect highlightRect() const;
    // How many touches scanning and dwell have made (values taken included).
    int selections() const { return selections_; }
    // Switch presses made while something was being said, not yet acted on.
    int keptPresses() const { return int(kept_.size()); }
    // A touch made by a choice whose release has not gone through yet.
    bool touchUnderway() const { return touchUnderway_; }
    // The drop-down or number box whose values are being stepped through.
    QWidget *editing() const { return editing_.data(); }

protected:
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    bool keyEvent(QEvent *e);
    bool mouseButtonEvent(QEvent *e);
    void switchPressed(Switch s, const QString &seen = {});
    void act(const ScanTarget &target);
    void actOnKeptPress();
    void leaveValues(bool keep);
    void refreshScreen();
    void showHighlight();
    void sayHighlighted();
    void dwellAt(QPoint global);
    void placeOverlay(QWidget *window);

    Talk &t_;
    AccessSettings set_;
    std::unique_ptr<Scanner> scanner_;
    std::unique_ptr<SwitchFilter> switches_;
    std::unique_ptr<DwellTracker> dwell_;
    ScanScreen screen_;
    QString signature_;
    QPointer<AccessOverlay> overlay_;
    QTimer timer_;
    int spokenSeen_ = 0;
    int shownChanges_ = -1;
    std::optional<QPoint> pointer_;
    int selections_ = 0;
    // Presses during speech, acted on in turn once it has ended (each after
    // the touch the one before made has gone through), with the screen the
    // user saw when pressing.
    std::deque<std::pair<Switch, QString>> kept_;
    bool touchUnderway_ = false;
    // Stepping through a box's values: the box and the value it had.
    QPointer<QWidget> editing_;
    double editingWas_ = 0;
    int previewed_ = -1;
};

} // namespace kel
