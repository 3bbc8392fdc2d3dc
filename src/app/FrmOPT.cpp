#include "app/FrmOPT.h"

#include "app/FrmMore.h"

#include "base/SettingsStore.h"
#include "frame/FrmOK.h"
#include "widgets/ColorButton.h"
#include "widgets/DialogLook.h"
#include "widgets/Fonts.h"
#include "widgets/TalkBox.h"
#include "widgets/WholeAreaTouch.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QRadioButton>
#include <QScreen>

namespace kel {
namespace {

constexpr QRgb kDialogBack = 0xffc0c0ff;   // RGB(192,192,255), every control but the list

enum class OptKind { Panel, Option, Check, List, Label, Button };

struct OptControlDef {
    const char *name;
    int element;          // element of a control array; -1 for a single control
    OptKind kind;
    const char *inside;   // nullptr: the dialog
    const char *caption;
    int left, top, width, height;
    double points;
    bool bold;
};

// The element number of an option button is the value it stores, so the
// elements of Option1 do not follow their order on screen. Option1's rows
// sit 30 twips lower than drawn at first, so that the panel's caption,
// a line of its type high, ends above the first of them at every scale.
constexpr OptControlDef kOptionsTable[] = {
    // name        el kind             inside       caption                              left  top   width height  pt    bold
    {"frmOPT1",   -1, OptKind::Panel,  nullptr,     "１画面目の設定",                      480,   60, 6135, 1875, 15.75, true},
    {"Option1",    2, OptKind::Option, "frmOPT1",   "１回クリックで文字入力",               360,  345, 5655,  315, 14.25, true},
    {"Option1",    3, OptKind::Option, "frmOPT1",   "２回クリックで文字入力",               360,  720, 5655,  315, 14.25, true},
    {"Option1",    0, OptKind::Option, "frmOPT1",   "１回クリックで文字選択画面へ",         360, 1080, 5655,  315, 14.25, true},
    {"Option1",    1, OptKind::Option, "frmOPT1",   "２回クリックで文字選択画面へ",         360, 1455, 5655,  315, 14.25, true},
    {"frmOPT2",   -1, OptKind::Panel,  nullptr,     "文字選択画面の設定（拡大画面）",       480, 1860, 6135, 1095, 15.75, true},
    {"Option2",    0, OptKind::Option, "frmOPT2",   "１回クリックで文字入力",               360,  360, 5535,  315, 14.25, true},
    {"Option2",    1, OptKind::Option, "frmOPT2",   "２回クリックで文字入力",               360,  705, 5535,  315, 14.25, true},
    {"frmVoice",  -1, OptKind::Panel,  nullptr,     "声の設定",                            480, 3000, 6135, 2055, 15.75, true},
    {"Option3",    0, OptKind::Option, "frmVoice",  "毎回声を出す",                        360,  360, 5535,  360, 14.25, true},
    {"Option3",    1, OptKind::Option, "frmVoice",  "文字選択での時に声を出す　（毎回）",   360,  780, 5535,  360, 14.25, true},
    {"Option3",    2, OptKind::Option, "frmVoice",  "文字入力の時に声を出す　　（最後）",   360, 1200, 5535,  360, 14.25, true},
    {"Option3",    3, OptKind::Option, "frmVoice",  "声を出さない",                        360, 1620, 5535,  360, 14.25, true},
    {"frmSample", -1, OptKind::Panel,  nullptr,     "例文の設定",                          480, 5100, 6135, 1275, 15.75, true},
    {"chkSamp",   -1, OptKind::Check,  "frmSample", "例文を自動で表示する。",               360,  360, 4845,  360, 14.25, true},
    {"cmbSample", -1, OptKind::List,   "frmSample", "",                                    360,  720,  615,  360, 12,    true},
    {"lblSample", -1, OptKind::Label,  "frmSample", "文字で例文を表示する。",              1140,  840, 3315,  375, 14.25, true},
    {"chkMaxC",   -1, OptKind::Check,  nullptr,     "濁点表示文字",                        240, 6480, 3015,  375, 15.75, true},
    {"chkBeep",   -1, OptKind::Check,  nullptr,     "キー確認音を出す。",                  3360, 6480, 3345,  375, 15.75, true},
    {"chkMoji",   -1, OptKind::Check,  nullptr,     "文字を拡大する。",                    240, 6900, 5505,  315, 15.75, true},
    {"cmdOK",      0, OptKind::Button, nullptr,     "キャンセル",                          480, 7380, 2475,  615, 18,    false},
    {"cmdOK",      1, OptKind::Button, nullptr,     "確定",                               4080, 7380, 2475,  615, 18,    false},
};

constexpr int kCancel = 0;
constexpr int kConfirm = 1;

// Text sizes of txtTalk with "文字を拡大する。" on and off.
constexpr double kLargeTextPoints = 55;
constexpr double kNormalTextPoints = 34;

QString objectNameOf(const OptControlDef &d)
{
    QString name = QString::fromLatin1(d.name);
    if (d.element >= 0)
        name += QString::number(d.element);
    return name;
}

// "Option1" .. "Option3" -> 0 .. 2
int groupOf(const OptControlDef &d)
{
    return QString::fromLatin1(d.name).back().digitValue() - 1;
}

QWidget *makeControl(const OptControlDef &d, QWidget *parent)
{
    const QString caption = QString::fromUtf8(d.caption);
    switch (d.kind) {
    case OptKind::Panel:
        return new QGroupBox(caption, parent);
    case OptKind::Option:
        return new QRadioButton(caption, parent);
    case OptKind::Check:
        return new QCheckBox(caption, parent);
    case OptKind::List: {
        auto *list = new QComboBox(parent);
        for (const char *item : kSampleItems)
            list->addItem(QString::fromUtf8(item));
        // The list keeps the system's colours, not the dialog's.
        list->setPalette(QApplication::palette(list));
        return list;
    }
    case OptKind::Label:
        return new QLabel(caption, parent);
    case OptKind::Button:
        return new ColorButton(caption, QColor::fromRgb(kDialogBack), parent);
    }
    return nullptr;
}

} // namespace

FrmOPT::FrmOPT(Talk &t, double scale, QWidget *parent) : QDialog(parent), t_(t)
{
    setObjectName(QStringLiteral("frmOPT"));
    setWindowTitle(QStringLiteral("オプション"));
    setModal(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor::fromRgb(kDialogBack));
    setPalette(p);
    setAutoFillBackground(true);

    map_.setScale(scale);
    setFixedSize(map_.px(kOptionsWidthTwips), map_.px(kOptionsHeightTwips));
    setStyleSheet(panelAndMarkStyle(map_, kDialogBack));
    buildControls();
}

void FrmOPT::buildControls()
{
    QHash<QString, QWidget *> made;
    for (int g = 0; g < kOptionGroups; ++g) {
        option_[g] = new QButtonGroup(this);
        option_[g]->setExclusive(true);
    }
    auto *cmdOK = new QButtonGroup(this);

    for (const OptControlDef &d : kOptionsTable) {
        QWidget *parent = d.inside ? made.value(QString::fromLatin1(d.inside)) : this;
        QWidget *w = makeControl(d, parent);
        w->setObjectName(objectNameOf(d));
        layout_.add(w, QRect(d.left, d.top, d.width, d.height),
                    DesignFont{QString::fromUtf8(kPGothic), d.points, d.bold});
        made.insert(w->objectName(), w);

        auto *button = qobject_cast<QAbstractButton *>(w);
        if (d.kind == OptKind::Option)
            option_[groupOf(d)]->addButton(button, d.element);
        else if (d.kind == OptKind::Button)
            cmdOK->addButton(button, d.element);
    }
    chkSamp_ = static_cast<QCheckBox *>(made.value(QStringLiteral("chkSamp")));
    chkMaxC_ = static_cast<QCheckBox *>(made.value(QStringLiteral("chkMaxC")));
    chkBeep_ = static_cast<QCheckBox *>(made.value(QStringLiteral("chkBeep")));
    chkMoji_ = static_cast<QCheckBox *>(made.value(QStringLiteral("chkMoji")));
    cmbSample_ = static_cast<QComboBox *>(made.value(QStringLiteral("cmbSample")));

    connect(cmdOK, &QButtonGroup::idClicked, this, &FrmOPT::cmdOK_Click);
    takeTouchesOnWholeArea(this);

    // Between "キャンセル" and "確定", the one free place: the settings
    // beyond this dialog's own, which keep to their own group of Talk.ini.
    auto *more = new ColorButton(QStringLiteral("その他"), QColor::fromRgb(kDialogBack), this);
    more->setObjectName(QStringLiteral("cmdMore"));
    layout_.add(more, QRect(3060, 7380, 960, 615), DesignFont{QString::fromUtf8(kPGothic), 12, true});
    connect(more, &QPushButton::clicked, this, [this] {
        if (showMore(t_, this, [this] { return form() != formFromCopies(t_.st); }))
            Form_Load(); // the restored options, not the ones shown before
    });
}

void FrmOPT::Form_Load()
{
    ReadOptions(t_.st, *t_.sv.store);
    showForm(formFromCopies(t_.st));
}

void FrmOPT::showForm(const OptionsForm &f)
{
    for (int g = 0; g < kOptionGroups; ++g) {
        // An exclusive group refuses to uncheck its last button; lift the
        // rule while clearing so that a value no button stands for shows
        // no choice at all.
        option_[g]->setExclusive(false);
        for (QAbstractButton *b : option_[g]->buttons())
            b->setChecked(option_[g]->id(b) == f.choice[g]);
        option_[g]->setExclusive(true);
    }
    chkSamp_->setChecked(f.samp);
    chkBeep_->setChecked(f.beep);
    chkMoji_->setChecked(f.moji);
    chkMaxC_->setChecked(f.maxC);
    cmbSample_->setCurrentIndex(f.sampleIndex);
}

OptionsForm FrmOPT::form() const
{
    OptionsForm f;
    for (int g = 0; g < kOptionGroups; ++g)
        f.choice[g] = option_[g]->checkedId();
    f.samp = chkSamp_->isChecked();
    f.beep = chkBeep_->isChecked();
    f.moji = chkMoji_->isChecked();
    f.maxC = chkMaxC_->isChecked();
    f.sampleIndex = cmbSample_->currentIndex();
    return f;
}

void FrmOPT::cmdOK_Click(int index)
{
    if (index == kCancel) {
        reject();
        return;
    }
    if (index != kConfirm)
        return;
    saveFailed_ = false;
    for (const auto &[key, value] : valuesToStore(form()))
        if (!t_.sv.store->save(key, value))
            saveFailed_ = true;
    ReadOptions(t_.st, *t_.sv.store);
    t_.layout.setFontPoints(t_.ui.txtTalk,
                            t_.st.option(Moji) == QLatin1String("1") ? kLargeTextPoints : kNormalTextPoints);
    accept();
}

void showOptions(Talk &t)
{
    double scale = t.layout.map().scale();
    if (const QScreen *screen = t.ui.frmTalk ? t.ui.frmTalk->screen() : nullptr)
        scale = optionsDialogScale(scale, screen->availableGeometry().height());

    bool confirmed = false;
    bool saveFailed = false;
    {
        FrmOPT dialog(t, scale, t.ui.frmTalk);
        dialog.Form_Load();
        confirmed = dialog.exec() == QDialog::Accepted;
        saveFailed = dialog.saveFailed();
    }
    if (!confirmed)
        return;

    // Every "確定" brings the board back in hiragana, so that a changed
    // width shows at once.
    t.ui.cmdKey->setText(QStringLiteral("英数"));
    t.setBoard();

    // Otherwise the old options would come back unannounced at the next start.
    if (saveFailed)
        AskUser(t, kNoticeSettingsNotSaved, kAskNotice, QStringLiteral("オプション"));
}

} // namespace kel
