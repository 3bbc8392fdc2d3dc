#include "voice/FrmStudio.h"

#include "base/Clock.h"
#include "base/FileErrors.h"
#include "base/SettingsStore.h"
#include "speech/VowelOnset.h"
#include "speech/WavCodec.h"
#include "speech/WavePlayer.h"
#include "voice/LevelMeter.h"
#include "voice/SoundInput.h"
#include "voice/TakeHeights.h"
#include "widgets/DialogLook.h"
#include "widgets/Fonts.h"
#include "widgets/TwipsLayout.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QScrollBar>
#include <QTreeWidget>
#include <QtEndian>

namespace kel {
namespace {

constexpr double kRoomSeconds = 1.0;
const QString kGroup = QStringLiteral("VOICE");

QString stateWords(VoiceState s)
{
    switch (s) {
    case VoiceState::Own: return QStringLiteral("自分の声");
    case VoiceState::Unusable: return QStringLiteral("使えない録音");
    case VoiceState::Installed: return QStringLiteral("標準の声");
    case VoiceState::Missing: return QStringLiteral("なし");
    }
    return {};
}

// Through the program's one settings store: a second writer behind its back
// would be overwritten by the store's next save (an option changed later).
QString voiceSetting(const Talk &t, const QString &key)
{
    return t.sv.store->valueIn(kGroup, key).value_or(QString());
}

void setVoiceSetting(const Talk &t, const QString &key, const QString &value)
{
    t.sv.store->saveIn(kGroup, key, value);
}

QPushButton *button(const QString &caption, const QString &name, QWidget *parent, int height = 56)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setMinimumHeight(height);
    return b;
}

} // namespace

FrmStudio::FrmStudio(Talk &t, QWidget *parent) : QDialog(parent), t_(t), folder_(t.st.AppPath, t.st.SoundSetPath)
{
    setObjectName(QStringLiteral("frmStudio"));
    setWindowTitle(QStringLiteral("録音スタジオ"));
    buildControls();
    fillList();
    input_ = makeSoundInput();
    fillInputs();
    // A microphone plugged in (or out) while the studio is open.
    input_->devicesChanged = [this] {
        if (recording())
            return;
        fillInputs();
        showState();
    };
    input_->captured = [this](const QByteArray &bytes) { onAudio(bytes); };
    input_->failed = [this] {
        if (!recording())
            return;
        stopCapture();
        phase_ = Phase::Idle;
        lblTake_->setText(QStringLiteral("マイクが外れました。つなぎ直して、もう一度録音してください。"));
        showState();
    };
    // Back where the last sitting stopped: its character if it still wants
    // a recording, else the next one that does.
    select(voiceSetting(t_, QStringLiteral("Last")));
    if (character().isEmpty() || folder_.state(character()) == VoiceState::Own)
        next();
    showState();
}

FrmStudio::~FrmStudio()
{
    stopCapture();
}

void FrmStudio::buildControls()
{
    auto *grid = new QGridLayout(this);
    lstSounds_ = new QTreeWidget(this);
    lstSounds_->setObjectName(QStringLiteral("lstSounds"));
    lstSounds_->setHeaderLabels({QStringLiteral("文字"), QStringLiteral("声")});
    lstSounds_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    lblProgress_ = new QLabel(this);
    lblProgress_->setObjectName(QStringLiteral("lblProgress"));
    grid->addWidget(lblProgress_, 0, 0);
    grid->addWidget(lstSounds_, 1, 0, 9, 1);

    cmbInput_ = new QComboBox(this);
    cmbInput_->setObjectName(QStringLiteral("cmbInput"));
    lblRoom_ = new QLabel(QStringLiteral("最初の録音の前に、部屋の音を１秒測ります。"), this);
    lblRoom_->setObjectName(QStringLiteral("lblRoom"));
    lblRoom_->setWordWrap(true);
    lblCharacter_ = new QLabel(this);
    lblCharacter_->setObjectName(QStringLiteral("lblCharacter"));
    lblCharacter_->setAlignment(Qt::AlignCenter);
    cmdRecord_ = button(QStringLiteral("録音"), QStringLiteral("cmdRecord"), this, 120);
    meter_ = new LevelMeter(this);
    lblTake_ = new QLabel(this);
    lblTake_->setObjectName(QStringLiteral("lblTake"));
    lblTake_->setWordWrap(true);
    cmdSave_ = button(QStringLiteral("保存"), QStringLiteral("cmdSave"), this);
    cmdRetry_ = button(QStringLiteral("やり直し"), QStringLiteral("cmdRetry"), this);
    cmdNext_ = button(QStringLiteral("次へ"), QStringLiteral("cmdNext"), this);
    cmdRestore_ = button(QStringLiteral("元に戻す"), QStringLiteral("cmdRestore"), this);
    txtTest_ = new QLineEdit(QStringLiteral("ありがとう"), this);
    txtTest_->setObjectName(QStringLiteral("txtTest"));
    cmdTest_ = button(QStringLiteral("試しに読む"), QStringLiteral("cmdTest"), this);
    auto *close = button(QStringLiteral("閉じる"), QStringLiteral("cmdClose"), this);
    cmdExport_ = button(QStringLiteral("声を書き出す"), QStringLiteral("cmdExport"), this);
    cmdImport_ = button(QStringLiteral("声を読み込む"), QStringLiteral("cmdImport"), this);

    grid->addWidget(new QLabel(QStringLiteral("マイク"), this), 0, 1);
    grid->addWidget(cmbInput_, 0, 2, 1, 3);
    grid->addWidget(lblRoom_, 1, 1, 1, 4);
    grid->addWidget(lblCharacter_, 2, 1, 1, 2);
    grid->addWidget(cmdRecord_, 2, 3, 1, 2);
    grid->addWidget(meter_, 3, 1, 1, 4);
    grid->addWidget(lblTake_, 4, 1, 1, 4);
    grid->addWidget(cmdSave_, 5, 1);
    grid->addWidget(cmdRetry_, 5, 2);
    grid->addWidget(cmdNext_, 5, 3);
    grid->addWidget(cmdRestore_, 5, 4);
    grid->addWidget(txtTest_, 6, 1, 1, 3);
    grid->addWidget(cmdTest_, 6, 4);
    buildHeightChoice(grid, 7);
    grid->addWidget(cmdExport_, 9, 1);
    grid->addWidget(cmdImport_, 9, 2);
    grid->addWidget(close, 9, 4);
    grid->setRowStretch(8, 1);

    connect(lstSounds_, &QTreeWidget::currentItemChanged, this, [this] {
        if (recording()) {
            // Locked to the prompted character: a touch elsewhere ends the
            // take, which stays the prompted character's.
            {
                const QSignalBlocker keep(lstSounds_);
                select(prompted_);
            }
            finishTake();
            return;
        }
        phase_ = Phase::Idle;
        showState();
    });
    connect(cmdRecord_, &QPushButton::clicked, this, &FrmStudio::record);
    connect(cmdRetry_, &QPushButton::clicked, this, &FrmStudio::record);
    connect(cmdSave_, &QPushButton::clicked, this, &FrmStudio::save);
    connect(cmdNext_, &QPushButton::clicked, this, &FrmStudio::next);
    connect(cmdRestore_, &QPushButton::clicked, this, &FrmStudio::restore);
    connect(cmdTest_, &QPushButton::clicked, this, &FrmStudio::readTestLine);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdExport_, &QPushButton::clicked, this, &FrmStudio::exportBackup);
    connect(cmdImport_, &QPushButton::clicked, this, &FrmStudio::importBackup);
    connect(cmbInput_, &QComboBox::activated, this, [this] {
        setVoiceSetting(t_, QStringLiteral("Input"), cmbInput_->currentData().toString());
        room_.reset(); // another microphone, another room level
    });
}

void FrmStudio::fillList()
{
    const QString current = character();
    lstSounds_->clear();
    QHash<QString, QTreeWidgetItem *> groups;
    for (const VoiceEntry &e : folder_.entries()) {
        QTreeWidgetItem *&group = groups[e.group];
        if (!group) {
            group = new QTreeWidgetItem(lstSounds_, {e.group});
            group->setFlags(Qt::ItemIsEnabled);
            group->setExpanded(true);
        }
        auto *item = new QTreeWidgetItem(group, {e.character, stateWords(e.state)});
        item->setData(0, Qt::UserRole, e.character);
        item->setData(1, Qt::UserRole, int(e.state));
    }
    if (!current.isEmpty())
        select(current);
}

void FrmStudio::fillInputs()
{
    cmbInput_->clear();
    const QByteArray stored = voiceSetting(t_, QStringLiteral("Input")).toUtf8();
    const QByteArray fallback = input_->defaultDevice();
    for (const InputDevice &d : input_->devices()) {
        cmbInput_->addItem(d.name, d.id);
        if (d.id == stored || (stored.isEmpty() && d.id == fallback))
            cmbInput_->setCurrentIndex(cmbInput_->count() - 1);
    }
}

QString FrmStudio::character() const
{
    const QTreeWidgetItem *item = lstSounds_->currentItem();
    return item ? item->data(0, Qt::UserRole).toString() : QString();
}

void FrmStudio::select(const QString &ch)
{
    for (int g = 0; g < lstSounds_->topLevelItemCount(); ++g)
        for (int i = 0; i < lstSounds_->topLevelItem(g)->childCount(); ++i)
            if (QTreeWidgetItem *item = lstSounds_->topLevelItem(g)->child(i); item->data(0, Qt::UserRole) == ch) {
                lstSounds_->setCurrentItem(item);
                return;
            }
}

void FrmStudio::showState()
{
    int own = 0, all = 0;
    for (const VoiceEntry &e : folder_.entries()) {
        ++all;
        own += e.state == VoiceState::Own;
    }
    lblProgress_->setText(QStringLiteral("%1 / %2 録音済み").arg(own).arg(all));
    const QString ch = character();
    lblCharacter_->setText(ch);
    const bool idle = !recording();
    cmdRecord_->setText(recording() ? QStringLiteral("止める") : QStringLiteral("録音"));
    cmdRecord_->setEnabled(!ch.isEmpty() && phase_ != Phase::Room);
    cmdSave_->setEnabled(phase_ == Phase::Review && shaped_.ok);
    cmdRetry_->setEnabled(phase_ == Phase::Review);
    cmdNext_->setEnabled(idle);
    // Only a studio recording: a sound put in the folder by hand has
    // nothing to go back to and is not the studio's to remove.
    cmdRestore_->setEnabled(idle && QFileInfo(folder_.takePath(heightName(ch, chosenStep()))).isFile());
    showHeightChoice();
    cmdTest_->setEnabled(idle);
    cmdExport_->setEnabled(idle);
    cmdImport_->setEnabled(idle);
    const QString noMicrophone = QStringLiteral("マイクが見つかりません。マイクをつないでください。");
    if (cmbInput_->count() == 0)
        lblTake_->setText(noMicrophone);
    else if (lblTake_->text() == noMicrophone)
        lblTake_->clear();
}

void FrmStudio::record()
{
    if (recording()) { // the second press ends the take
        finishTake();
        return;
    }
    if (cmbInput_->count() == 0) {
        showState();
        return;
    }
    t_.sv.player->close();
    raw_.clear();
    shaped_ = {};
    prompted_ = character();
    promptedStep_ = chosenStep();
    meter_->setLevel(LevelMeter::kFloorDb, false);   // the last take's warning is not this one's
    if (!room_) {
        phase_ = Phase::Room;
        roomSamples_.clear();
        lblRoom_->setText(QStringLiteral("静かにしてください。部屋の音を測っています…"));
    } else {
        phase_ = Phase::Take;
        watch_.emplace(kRate, room_->rmsDb);
        lblTake_->setText(takePrompt());
    }
    startCapture();
    showState();
}

void FrmStudio::startCapture()
{
    if (capturing_)
        return;
    if (!input_->start(cmbInput_->currentData().toByteArray(), kRate)) {
        phase_ = Phase::Idle;
        lblTake_->setText(QStringLiteral("このマイクは使えません。別のマイクを選んでください。"));
        return;
    }
    capturing_ = true;
    pending_.clear();
}

void FrmStudio::stopCapture()
{
    if (!capturing_)
        return;
    input_->stop();
    capturing_ = false;
}

void FrmStudio::onAudio(const QByteArray &bytes)
{
    if (!capturing_)
        return;
    pending_ += bytes;
    std::vector<float> block(size_t(pending_.size() / 2));
    for (size_t i = 0; i < block.size(); ++i)
        block[i] = qFromLittleEndian<qint16>(pending_.constData() + 2 * i) / 32768.0f;
    pending_.remove(0, qsizetype(block.size() * 2));

    if (phase_ == Phase::Room) {
        roomSamples_.insert(roomSamples_.end(), block.begin(), block.end());
        if (roomSamples_.size() >= size_t(kRoomSeconds * kRate)) {
            room_ = measureRoom(roomSamples_, kRate);
            lblRoom_->setText(room_->words);
            phase_ = Phase::Take;
            watch_.emplace(kRate, room_->rmsDb);
            lblTake_->setText(takePrompt());
            showState();
        }
        return;
    }
    if (phase_ != Phase::Take || !watch_)
        return;
    const bool done = watch_->feed(block.data(), block.size());
    meter_->setLevel(watch_->levelDb(), watch_->clipping());
    if (done)
        finishTake();
}

void FrmStudio::finishTake()
{
    stopCapture();
    if (phase_ != Phase::Take || !watch_) {
        phase_ = Phase::Idle;
        showState();
        return;
    }
    raw_ = watch_->take();
    watch_.reset();
    shaped_ = shapeTake(raw_, kRate, room_ ? room_->rmsDb : -120);
    phase_ = Phase::Review;
    if (shaped_.ok) {
        lblTake_->setText(QStringLiteral("よければ「保存」、もう一度なら「やり直し」。"));
        const QString preview = preview_.filePath(QStringLiteral("preview.wav"));
        if (writeWhole(preview, encodeWav16(shaped_.samples, kRate), nullptr))
            t_.sv.player->play(preview);
    } else {
        lblTake_->setText(shaped_.reason);
    }
    showState();
}

void FrmStudio::save()
{
    const QString ch = prompted_, name = heightName(ch, promptedStep_);
    if (phase_ != Phase::Review || !shaped_.ok || ch.isEmpty())
        return;
    QString error;
    // Kept without its silences and with no more than a consonant before its
    // vowel, since the player places it on the beat by its vowel.
    const QByteArray sound = encodeWav16(trimmedToVoice(shaped_.samples, kRate), kRate);
    if (!folder_.keep(name, sound, encodeWav16(raw_, kRate), &error)) {
        lblTake_->setText(QStringLiteral("保存できませんでした（前の音はそのままです）。%1").arg(japaneseReason(error)));
        return;
    }
    setVoiceSetting(t_, QStringLiteral("Last"), ch);
    phase_ = Phase::Idle;
    lblTake_->setText(QStringLiteral("「%1」%2を保存しました。").arg(ch, heightWords(promptedStep_))
                      + (promptedStep_ == 0 ? takeHeightsNote(keepTakeHeights(folder_, ch, sound, &error)) : QString()));
    fillList();
    // On to the next character still wanting a recording, unless the
    // [VOICE] group asks to stay ("SaveStays=1"); a height stays with its
    // character.
    if (promptedStep_ == 0 && voiceSetting(t_, QStringLiteral("SaveStays")) != u"1")
        next();
    showState();
}

// The next character, in the set's order, without an own recording.
void FrmStudio::next()
{
    const QList<VoiceEntry> entries = folder_.entries();
    const QString ch = character();
    qsizetype at = 0;
    for (qsizetype i = 0; i < entries.size(); ++i)
        if (entries[i].character == ch)
            at = i + 1;
    for (qsizetype k = 0; k < entries.size(); ++k) {
        const VoiceEntry &e = entries[(at + k) % entries.size()];
        if (e.state != VoiceState::Own) {
            select(e.character);
            setVoiceSetting(t_, QStringLiteral("Last"), e.character);
            return;
        }
    }
}

void FrmStudio::readTestLine()
{
    say(txtTest_->text());
}

// At the reading's pace, as "読む" says it.
void FrmStudio::say(const QString &text)
{
    for (const QChar c : text) {
        const Nanos started = t_.playChar(QString(c));
        waitMoreThan(*t_.sv.clock, started, t_.st.ReadingPace);
        t_.doEvents();
        if (t_.st.Quitting)
            break;
    }
    t_.sv.player->close();
}

void FrmStudio::fitOver(const QWidget *over)
{
    constexpr QRgb kStudioBack = 0xffc0c0ff; // the options dialog's colour
    fitDialogLook(this, over, t_.layout.map().scale(), map_, kStudioBack, [this] {
        // The character to say and the button to start, larger still.
        lblCharacter_->setFont(makeFont(DesignFont{QString::fromUtf8(kPGothic), 48, true}, map_));
        lblCharacter_->setMinimumHeight(lblCharacter_->sizeHint().height()); // never squeezed by the rows below
        cmdRecord_->setFont(makeFont(DesignFont{QString::fromUtf8(kPGothic), 28, true}, map_));
        // The list as wide as its columns in this type, so that no state is
        // cut short ("標…").
        int columns = 2 * lstSounds_->frameWidth() + lstSounds_->verticalScrollBar()->sizeHint().width();
        const QAbstractItemView *view = lstSounds_;
        for (int c = 0; c < lstSounds_->columnCount(); ++c)
            columns += std::max(view->sizeHintForColumn(c), lstSounds_->header()->sectionSizeHint(c));
        lstSounds_->setMinimumWidth(columns);
    });
}

void showStudio(Talk &t, QWidget *parent)
{
    FrmStudio studio(t, parent);
    studio.fitOver(parent);
    fitStudio(studio);
    studio.exec();
}

void fitStudio(QWidget &studio)
{
    // Its design size where there is room; else the screen's free area
    // less the window frame, so that every button stays on screen.
    QSize size(900, 640);
    if (const QScreen *screen = studio.screen()) {
        constexpr int kFrame = 48;
        size = size.boundedTo(screen->availableGeometry().size() - QSize(kFrame / 2, kFrame));
    }
    studio.resize(size.expandedTo(studio.minimumSizeHint()));
    if (const QScreen *screen = studio.screen()) {
        const QRect free = screen->availableGeometry();
        studio.move(free.left() + std::max(0, (free.width() - studio.width()) / 2),
                    free.top() + std::max(0, (free.height() - studio.height() - 24) / 2));
    }
}

} // namespace kel
