#include "access/AccessControl.h"

#include "access/AccessOverlay.h"
#include "base/SettingsStore.h"
#include "speech/WavName.h"
#include "speech/WavePlayer.h"

#include <QApplication>
#include <algorithm>
#include <QKeyEvent>
#include <QMouseEvent>

namespace kel {
namespace {

using std::chrono::milliseconds;

// Buttons whose touch cannot be taken back lightly need a longer rest.
bool needsLongDwell(const QString &caption)
{
    const QString c = caption.trimmed();
    return c == u"始め" || c == u"例文削除" || c == u"終了";
}

} // namespace

AccessControl::AccessControl(Talk &t) : t_(t)
{
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setSingleShot(true);
    timer_.setInterval(10);
    connect(&timer_, &QTimer::timeout, this, &AccessControl::poll);
}

AccessControl::~AccessControl()
{
    if (overlay_)
        delete overlay_.data();
}

AccessOverlay *AccessControl::overlay() const
{
    return overlay_.data();
}

void AccessControl::readSettings()
{
    const SettingsStore *store = t_.sv.store;
    apply(readAccessSettings([store](const QString &key) -> std::optional<QString> {
        if (!store)
            return std::nullopt;
        return store->valueIn(QLatin1String(kAccessGroup), key);
    }));
}

void AccessControl::apply(const AccessSettings &s)
{
    set_ = s;
    t_.st.ReadingPace = s.Pace / 1000.0;
    scanner_.reset();
    dwell_.reset();
    if (s.Scan != 0)
        scanner_ = std::make_unique<Scanner>(s.Scan == 1, ScanTiming{milliseconds(s.ScanStep), s.ScanFirst, s.ScanRounds});
    switches_ = std::make_unique<SwitchFilter>(milliseconds(s.SwitchAccept), milliseconds(s.SwitchLock));
    if (s.Dwell > 0)
        dwell_ = std::make_unique<DwellTracker>(milliseconds(s.Dwell));
    signature_.clear();
    shownChanges_ = -1;
    kept_.clear();
    editing_.clear();
    spokenSeen_ = t_.st.SpeechEnded;
    qApp->removeEventFilter(this);
    if (scanner_ || dwell_) {
        qApp->installEventFilter(this);
        timer_.start();
        if (scanner_)
            refreshScreen();
    } else {
        timer_.stop();
        if (overlay_)
            delete overlay_.data();
    }
}

bool AccessControl::eventFilter(QObject *, QEvent *e)
{
    switch (e->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return scanner_ && keyEvent(e);
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        // Only the user's own buttons: the touches made here are not
        // spontaneous. The release of a touch made here is on its way.
        if (!e->spontaneous()) {
            if (e->type() == QEvent::MouseButtonRelease)
                touchUnderway_ = false;
            return false;
        }
        if (scanner_ && set_.ScanMouse == 1)
            return mouseButtonEvent(e);
        // A click where the pointer rests is that rest's touch; no second one follows.
        if (dwell_ && e->type() == QEvent::MouseButtonPress)
            dwell_->touched();
        return false;
    case QEvent::MouseMove:
        if (dwell_)
            dwellAt(static_cast<QMouseEvent *>(e)->globalPosition().toPoint());
        return false;
    default:
        return false;
    }
}

bool AccessControl::keyEvent(QEvent *e)
{
    auto *k = static_cast<QKeyEvent *>(e);
    Switch s;
    if (k->key() == Qt::Key_Space)
        s = set_.Scan == 2 ? Switch::Move : Switch::Select;
    else if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter)
        s = Switch::Select;
    else
        return false;
    if (k->isAutoRepeat())
        return true;
    const Nanos now = t_.sv.clock->now();
    if (e->type() == QEvent::KeyPress) {
        if (const auto counted = switches_->down(s, now))
            switchPressed(*counted);
    } else {
        switches_->up(s, now);
    }
    return true;
}

bool AccessControl::mouseButtonEvent(QEvent *e)
{
    auto *m = static_cast<QMouseEvent *>(e);
    const Switch s = m->button() == Qt::RightButton ? Switch::Move : Switch::Select;
    const Nanos now = t_.sv.clock->now();
    if (e->type() == QEvent::MouseButtonRelease)
        switches_->up(s, now);
    else if (e->type() == QEvent::MouseButtonPress)
        if (const auto counted = switches_->down(s, now))
            switchPressed(*counted);
    return true;
}

void AccessControl::switchPressed(Switch s, const QString &seen)
{
    refreshScreen();
    const QPointer<QWidget> window = screen_.window;
    if (window && window->objectName() == u"frmRead") {
        // During a reading any switch stops it.
        if (!screen_.groups.empty())
            touchAt(window, screen_.groups[0].items[0].centre());
        return;
    }
    // The echo of a pick is not talked over, but the press is the user's:
    // it waits for the echo's end (a few are kept, as many as a hurried
    // user could mean).
    if (t_.st.Speaking > 0 || touchUnderway_) {
        constexpr size_t kMostKept = 8;
        if (kept_.size() < kMostKept)
            kept_.emplace_back(s, signature_);
        return;
    }
    // A Select kept while the screen changed (the enlarged screen opening
    // after the echo) would take something the user never saw: it only
    // shows where the scan stands.
    if (!seen.isEmpty() && seen != signature_ && s == Switch::Select) {
        if (scanner_->level() == Scanner::Level::Idle)
            scanner_->restartTop(t_.sv.clock->now());
        showHighlight();
        return;
    }
    const Scanner::Chosen c = scanner_->press(s, t_.sv.clock->now());
    showHighlight();
    if (!c.valid() || !window)
        return;
    ++selections_;
    act(screen_.groups[c.group].items[c.item]);
    if (scanner_) {
        refreshScreen();
        showHighlight();
    }
}

void AccessControl::act(const ScanTarget &target)
{
    switch (target.act) {
    case ScanAct::Touch:
        touchAt(screen_.window, target.centre());
        // Its release is still queued: a press waits until it is delivered
        // (and, should it never be, until the events queued behind it ran).
        touchUnderway_ = true;
        QMetaObject::invokeMethod(this, [this] { touchUnderway_ = false; }, Qt::QueuedConnection);
        return;
    case ScanAct::Open:
        if (!target.widget)
            return;
        editing_ = target.widget;
        editingWas_ = boxValue(editing_);
        previewed_ = -1;
        refreshScreen();
        scanner_->restartTop(t_.sv.clock->now());
        return;
    case ScanAct::Take:
        if (editing_ && target.widget == editing_) {
            setBoxValue(editing_, editingWas_, true);
            setBoxValue(editing_, target.value, false);
        }
        leaveValues(true);
        return;
    }
}

// Back to the dialog from a box's values; its old value unless one was taken.
void AccessControl::leaveValues(bool keep)
{
    if (editing_ && !keep)
        setBoxValue(editing_, editingWas_, true);
    editing_.clear();
    previewed_ = -1;
    refreshScreen();
    if (scanner_->level() != Scanner::Level::Idle)
        scanner_->restartTop(t_.sv.clock->now());
}

void AccessControl::actOnKeptPress()
{
    if (kept_.empty() || t_.st.Speaking > 0 || touchUnderway_)
        return;
    const auto [s, seen] = kept_.front();
    kept_.pop_front();
    switchPressed(s, seen);
}

void AccessControl::refreshScreen()
{
    if (editing_ && !reachableIn(editing_->window(), editing_)) {
        editing_.clear();   // its dialog went away under it
        previewed_ = -1;
    }
    screen_ = editing_ ? valueScreen(editing_->window(), editing_, editingWas_)
                       : currentScanScreen(t_, set_.ScanOrder == 1, set_.ScanSettings == 1);
    const QString sig = screen_.signature();
    if (sig == signature_)
        return;
    signature_ = sig;
    scanner_->setShape(screen_.shape(), t_.sv.clock->now());
}

QRect AccessControl::highlightRect() const
{
    if (!scanner_ || scanner_->level() == Scanner::Level::Idle)
        return {};
    const int g = scanner_->group();
    if (g < 0 || g >= int(screen_.groups.size()))
        return {};
    const ScanGroup &group = screen_.groups[g];
    if (scanner_->level() == Scanner::Level::Groups || scanner_->onUp())
        return group.rect;
    const int i = scanner_->item();
    return i < int(group.items.size()) ? group.items[i].rect : QRect();
}

void AccessControl::placeOverlay(QWidget *window)
{
    if (overlay_ && overlay_->parentWidget() == window)
        return;
    if (overlay_)
        delete overlay_.data();
    if (window)
        overlay_ = new AccessOverlay(window);
}

void AccessControl::showHighlight()
{
    if (!scanner_)
        return;
    placeOverlay(screen_.window);
    if (overlay_)
        overlay_->setHighlight(highlightRect(), scanner_->onUp());
    if (scanner_->changes() == shownChanges_)
        return;
    shownChanges_ = scanner_->changes();
    if (editing_) {
        // The box shows the highlighted value; left unanswered, its own.
        if (scanner_->level() == Scanner::Level::Idle) {
            leaveValues(false);
            return;
        }
        const int g = scanner_->group();
        if (g != previewed_ && g >= 0 && g < int(screen_.groups.size())) {
            previewed_ = g;
            setBoxValue(editing_, screen_.groups[g].items[0].value, true);
        }
    }
    if (set_.ScanVoice == 1)
        sayHighlighted();
}

void AccessControl::sayHighlighted()
{
    if (scanner_->level() == Scanner::Level::Idle || scanner_->onUp())
        return;
    const int g = scanner_->group();
    if (g < 0 || g >= int(screen_.groups.size()))
        return;
    const ScanGroup &group = screen_.groups[g];
    const int i = scanner_->level() == Scanner::Level::Items ? scanner_->item() : 0;
    if (i >= int(group.items.size()))
        return;
    // From the same places as a touch's voice: the user's own recording,
    // else the installed set.
    const std::optional<QString> path = soundFileFor(t_.st.AppPath, t_.st.SoundSetPath, group.items[i].text);
    if (path)
        t_.sv.player->play(*path);
}

void AccessControl::dwellAt(QPoint global)
{
    pointer_ = global;
    const ScanTarget target = targetAt(global);
    const DwellKey key{quintptr(target.widget.data()), target.row, target.col};
    const Nanos now = t_.sv.clock->now();
    const bool selects = dwell_->sample(global, key, needsLongDwell(target.text), now);
    QWidget *window = target.widget ? target.widget->window() : nullptr;
    if (!scanner_) {
        if (window)
            placeOverlay(window);
        if (overlay_)
            overlay_->setRing(target.rect, window == overlay_->parentWidget() ? dwell_->progress(now) : -1);
    }
    if (selects && window) {
        ++selections_;
        touchAt(window, target.centre());
    }
}

void AccessControl::poll()
{
    const Nanos now = t_.sv.clock->now();
    if (switches_ && scanner_)
        if (const auto counted = switches_->tick(now))
            switchPressed(*counted);
    if (scanner_) {
        // Hold still while anything is spoken; afterwards the highlighted
        // item gets its full time again.
        if (t_.st.Speaking > 0 || spokenSeen_ != t_.st.SpeechEnded) {
            spokenSeen_ = t_.st.SpeechEnded;
            scanner_->pause();
        }
        if (t_.st.Speaking == 0) {
            scanner_->resume(now);
            actOnKeptPress();
        }
        if (scanner_->level() != Scanner::Level::Idle)
            refreshScreen();
        scanner_->tick(now);
        showHighlight();
    }
    if (dwell_ && pointer_)
        dwellAt(*pointer_);
    // Wake every 10 ms, and right on time for the next automatic step.
    Nanos wait = milliseconds(10);
    if (scanner_ && scanner_->running())
        wait = std::clamp(scanner_->deadline() - t_.sv.clock->now(), Nanos(0), wait);
    if (scanner_ || dwell_)
        timer_.start(int(wait / milliseconds(1)));
}

} // namespace kel
