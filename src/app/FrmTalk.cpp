#include "app/FrmTalk.h"

#include "access/AccessControl.h"
#include "app/ControlTable.h"
#include "app/EndQuestion.h"
#include "app/WindowPlace.h"
#include "app/FrmOPT.h"
#include "app/PredictWiring.h"
#include "base/SettingsStore.h"
#include "board/Board.h"
#include "compose/Composer.h"
#include "compose/ListNav.h"
#include "diary/DiaryScreens.h"
#include "frame/FrmOK.h"
#include "frame/TextPanel.h"
#include "samples/SampleScreens.h"
#include "speech/Speech.h"
#include "widgets/ColorButton.h"
#include "widgets/FlexGrid.h"
#include "widgets/Platform.h"
#include "widgets/TalkBox.h"
#include "widgets/TouchGuard.h"

#include <QApplication>
#include <QCloseEvent>
#include <QShortcut>
#include <QTimer>

namespace kel {

QSize FrmTalk::designSize()
{
    return {kDesignWidthTwips / 15, kDesignHeightTwips / 15};
}

FrmTalk::FrmTalk(Services services, QWidget *parent)
    : QWidget(parent), sv_(std::move(services)), talk_{st_, ui_, sv_, layout_}
{
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor::fromRgb(kWindowBack));
    setPalette(p);
    setAutoFillBackground(true);

    ui_.frmTalk = this;
    ui_.canvas = new QWidget(this);
    ui_.canvas->setObjectName(QStringLiteral("canvas"));
    buildControls(ui_, layout_);

    talk_.screens = &screens_;
    screens_.start();

    // Each subsystem gets the peers below it; the lists' owners, above the
    // list navigation, are reached through the screens.
    speech_ = std::make_unique<Speech>(talk_);
    compose_ = std::make_unique<Composer>(talk_);
    lists_ = std::make_unique<ListNav>(talk_, *compose_);
    board_ = std::make_unique<Board>(talk_, *compose_, *speech_);
    diary_ = std::make_unique<DiaryScreens>(talk_);
    samples_ = std::make_unique<SampleScreens>(talk_, *diary_);
    talk_.setBoard = [this] { board_->SetBoard(); };
    talk_.playChar = [this](const QString &ch) { return speech_->playChar(ch); };
    talk_.reloadSamples = [this] {
        samples_->LoadSamples();
        samples_->ListSamples();
        predict_->relearn();
    };
    screens_.setListOwner(ListId::Suggestions, compose_.get());
    screens_.setListOwner(ListId::Examples, samples_.get());
    screens_.setListOwner(ListId::Diary, diary_.get());
    access_ = std::make_unique<AccessControl>(talk_);
    predict_ = std::make_unique<PredictWiring>(talk_);
    predict_->setStripTake([this](const QString &text) { board_->takeFromStrip(text); });
    talk_.reloadSettings = [this] {
        access_->readSettings();
        predict_->readSettings();
    };
    // Installed before the scanning's filter, which thus sees a switch
    // press first and keeps it from counting as a touch.
    if (sv_.clock) {
        touchGuard_ = std::make_unique<TouchGuard>(*sv_.clock);
        qApp->installEventFilter(touchGuard_.get());
    }

    quit_ = [] { QCoreApplication::quit(); };
    if (sv_.store)
        sv_.store->setOutsideChangeNotice(
            [this](const QString &message) { AskUser(talk_, message, kAskNotice, QStringLiteral("設定")); });
    connectControls();
    auto *fullScreen = new QShortcut(QKeySequence(Qt::Key_F11), this);
    fullScreen->setContext(Qt::ApplicationShortcut);
    connect(fullScreen, &QShortcut::activated, this, &FrmTalk::toggleFullScreen);
    resize(designSize());
}

FrmTalk::~FrmTalk() = default;

void FrmTalk::Form_Load(const QString &appPath)
{
    st_.AppPath = appPath;
    ReadOptions(st_, *sv_.store);
    access_->readSettings();
    sv_.platform->busyPointer();
    setWindowTitle(QStringLiteral("Kelvoran!  ") + QStringLiteral("Ver 1.3"));
    ui_.txtTalk->setText(QString());
    st_.BoardRow = 0;
    st_.BoardCol = 0;
    layout_.setFontPoints(ui_.txtTalk, st_.option(Moji) == u"1" ? 55 : 34);
    board_->SetBoard();
    samples_->LoadSamples();
    samples_->ListSamples();
    sv_.platform->normalPointer();
    // Prediction learns once the first paint has gone through.
    QTimer::singleShot(0, this, [this] { QTimer::singleShot(0, this, [this] { predict_->readSettings(); }); });
}

void FrmTalk::connectControls()
{
    Controls &u = ui_;
    connect(u.cmdEnd, &QPushButton::clicked, this, [this] {
        // A small button beside "例文表示": one stray touch must not throw
        // away words not yet said or kept. A resting pointer touches whatever
        // it rests on, and a user who can only point cannot start the program
        // again: with dwell, ending always asks.
        const bool entryAsStored = screens_.current() == Screen::EntryOpen;
        const bool losesText = !entryAsStored && endLosesText(ui_.txtTalk->text(), settled_, st_.Samples.value_or(QStringList()));
        if (losesText || access_->settings().Dwell > 0) {
            AskUser(talk_, QStringLiteral("終了してもよろしいですか？"), kAskOkCancel, QStringLiteral("終了"), true);
            if (!st_.AskAnswer)
                return;
        }
        close();
    });
    connect(u.cmdOpt, &QPushButton::clicked, this, [this] { showOptions(talk_); });
    connect(u.cmdEnd2, &QPushButton::clicked, this, [this] { cmdEnd2_Click(talk_); });
    connect(u.cmdWide, &QPushButton::clicked, this, [this] { cmdWide_Click(talk_); });

    Board *b = board_.get();
    connect(u.cmdKey, &QPushButton::clicked, this, [b] { b->cmdKey_Click(); });
    connect(u.grdBoard, &FlexGrid::pressed, this, [b] { b->grdBoard_MouseDown(); });
    connect(u.grdBoard, &FlexGrid::clicked, this, [b] { b->grdBoard_Click(); });
    connect(u.grdBoard2, &FlexGrid::pressed, this, [b] { b->grdBoard2_MouseDown(); });
    connect(u.grdBoard2, &FlexGrid::clicked, this, [b] { b->grdBoard2_Click(); });

    Composer *c = compose_.get();
    for (int i = 0; i < 5; ++i) {
        connect(u.cmdRes[i], &QPushButton::pressed, this, [c, i] { c->cmdRes_MouseDown(i); });
        connect(u.cmdRes[i], &QPushButton::released, this, [c, i] { c->cmdRes_MouseUp(i); });
    }
    connect(u.cmdCopy, &QPushButton::pressed, this, [c] { c->cmdCopy_MouseDown(); });
    connect(u.cmdCopy, &QPushButton::released, this, [c] { c->cmdCopy_MouseUp(); });
    connect(u.cmdCopy, &QPushButton::clicked, this, [c] { c->cmdCopy_Click(); });
    connect(u.cmdPaste, &QPushButton::pressed, this, [c] { c->cmdPaste_MouseDown(); });
    connect(u.cmdPaste, &QPushButton::released, this, [c] { c->cmdPaste_MouseUp(); });
    connect(u.cmdPaste, &QPushButton::clicked, this, [c] { c->cmdPaste_Click(); });

    ListNav *l = lists_.get();
    connect(u.cmdUp, &QPushButton::pressed, this, [l] { l->cmdUp_MouseDown(); });
    connect(u.cmdUp, &QPushButton::released, this, [l] { l->cmdUp_MouseUp(); });
    connect(u.cmdDown, &QPushButton::pressed, this, [l] { l->cmdDown_MouseDown(); });
    connect(u.cmdDown, &QPushButton::released, this, [l] { l->cmdDown_MouseUp(); });
    connect(u.cmdDec, &QPushButton::clicked, this, [l] { l->cmdDec_Click(); });
    for (FlexGrid *g : {u.grdSp, u.grdEx, u.grdDay})
        connect(g, &FlexGrid::clicked, this, [l, g] { l->list_Click(g); });

    Speech *s = speech_.get();
    connect(u.cmdRead, &QPushButton::clicked, this, [this, s] {
        s->cmdRead_Click();
        settled_ = messageOf(ui_.txtTalk->text());
    });

    SampleScreens *x = samples_.get();
    connect(u.cmdSamp, &QPushButton::pressed, this, [x] { x->cmdSamp_MouseDown(); });
    connect(u.cmdSamp, &QPushButton::released, this, [x] { x->cmdSamp_MouseUp(); });
    connect(u.cmdSamp, &QPushButton::clicked, this, [this, x] {
        // Leaving a revised diary entry with "ＹＥＳ" stores it.
        const bool revising = screens_.current() != Screen::DiaryList && ui_.cmdSamp->text() == kCaptionDiary;
        x->cmdSamp_Click();
        if (revising && st_.AskAnswer && screens_.current() == Screen::Board)
            settled_ = messageOf(ui_.txtTalk->text());
    });
    connect(u.cmdSampADD, &QPushButton::clicked, this, [x] { x->cmdSampADD_Click(); });
    connect(u.cmdSampDel, &QPushButton::clicked, this, [x] { x->cmdSampDel_Click(); });
    connect(u.cmdStart, &QPushButton::clicked, this, [x] { x->cmdStart_Click(); });

    DiaryScreens *d = diary_.get();
    connect(u.cmdRevise, &QPushButton::clicked, this, [d] { d->cmdRevise_Click(); });
    connect(u.cmdBack, &QPushButton::clicked, this, [d] { d->cmdBack_Click(); });
}

void FrmTalk::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    const double scale = TwipsMap::fitScale(width(), height(), kDesignWidthTwips, kDesignHeightTwips);
    const QSize canvas(qRound(kDesignWidthTwips * scale / 15), qRound(kDesignHeightTwips * scale / 15));
    ui_.canvas->setGeometry((width() - canvas.width()) / 2, (height() - canvas.height()) / 2,
                            canvas.width(), canvas.height());
    layout_.setScale(scale);
}

void FrmTalk::changeEvent(QEvent *e)
{
    QWidget::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow())
        ui_.txtTalk->setFocus();
}

void FrmTalk::closeEvent(QCloseEvent *e)
{
    // The next start opens the window as it is left now.
    if (sv_.store && isVisible())
        keepWindowPlace(*sv_.store, *this);
    // Ending is immediate: every waiting loop sees the flag and gives up.
    st_.Quitting = true;
    st_.StopRead = true;
    st_.ButtonHeld = false;
    e->accept();
    if (quit_)
        quit_();
}

void FrmTalk::toggleFullScreen()
{
    if (isFullScreen())
        showNormal();
    else
        showFullScreen();
}

} // namespace kel
