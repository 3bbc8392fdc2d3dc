#pragma once
// The main window: owns the controls and the shared state, runs the
// start-up sequence and routes each control's events to the subsystem that
// handles them.

#include "base/AppState.h"
#include "base/Twips.h"
#include "frame/Controls.h"
#include "frame/Screens.h"
#include "frame/Talk.h"
#include "widgets/TwipsLayout.h"

#include <QWidget>
#include <functional>
#include <memory>

namespace kel {

class AccessControl;
class Board;
class Composer;
class ListNav;
class PredictWiring;
class Speech;
class SampleScreens;
class DiaryScreens;
class TouchGuard;

class FrmTalk : public QWidget {
    Q_OBJECT
public:
    explicit FrmTalk(Services services, QWidget *parent = nullptr);
    ~FrmTalk() override;

    // The start-up sequence after the single-instance check.
    void Form_Load(const QString &appPath);

    AppState &state() { return st_; }
    Controls &controls() { return ui_; }
    Talk &talk() { return talk_; }
    Composer &composer() { return *compose_; }
    SampleScreens &samples() { return *samples_; }
    DiaryScreens &diary() { return *diary_; }
    TwipsLayout &layout() { return layout_; }
    AccessControl &access() { return *access_; }
    const TwipsMap &twips() const { return map_; }

    // What ending the program does; the default quits the application.
    void setQuitAction(std::function<void()> quit) { quit_ = std::move(quit); }

    // The window's design size at scale 1.
    static QSize designSize();

protected:
    void resizeEvent(QResizeEvent *e) override;
    void changeEvent(QEvent *e) override;
    void closeEvent(QCloseEvent *e) override;

private:
    void connectControls();
    void toggleFullScreen();

    AppState st_;
    Controls ui_;
    Services sv_;
    TwipsMap map_;
    TwipsLayout layout_{map_};
    Screens screens_{ui_, layout_};
    Talk talk_;
    std::unique_ptr<Board> board_;
    std::unique_ptr<Composer> compose_;
    std::unique_ptr<ListNav> lists_;
    std::unique_ptr<Speech> speech_;
    std::unique_ptr<SampleScreens> samples_;
    std::unique_ptr<DiaryScreens> diary_;
    std::unique_ptr<AccessControl> access_;
    std::unique_ptr<TouchGuard> touchGuard_;
    std::unique_ptr<PredictWiring> predict_;
    std::function<void()> quit_;
    // The message last read aloud or stored in the diary.
    QString settled_;
};

} // namespace kel
