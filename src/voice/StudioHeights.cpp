// The studio's choice of height: a kana mora's high and low sounds are made
// from its take when it is saved, and either can be recorded in the user's
// own voice instead, said a little higher or lower than the character's own
// take. "元に戻す" on a recorded height makes it again from the take.
#include "voice/FrmStudio.h"

#include "base/FileErrors.h"
#include "voice/TakeHeights.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>

#include <utility>

namespace kel {
namespace {

// Each choice with its step: the character's own sound, high, low.
constexpr struct {
    const char16_t *caption, *name;
    int step;
} kHeights[] = {
    {u"ふつう", u"optHeightOwn", 0},
    {u"高い音", u"optHeightHigh", 1},
    {u"低い音", u"optHeightLow", -1},
};

bool hasHeights(const QString &ch)
{
    return !ch.isEmpty() && isVoiceName(heightName(ch, 1));
}

} // namespace

void FrmStudio::buildHeightChoice(QGridLayout *grid, int row)
{
    auto *group = new QButtonGroup(this);
    auto *line = new QHBoxLayout;
    for (const auto &h : kHeights) {
        auto *option = new QRadioButton(QString::fromUtf16(h.caption), this);
        option->setObjectName(QString::fromUtf16(h.name));
        option->setMinimumHeight(40);
        group->addButton(option);
        line->addWidget(option);
        optHeights_ << option;
    }
    optHeights_.front()->setChecked(true);
    connect(group, &QButtonGroup::buttonToggled, this, [this](QAbstractButton *, bool checked) {
        if (!checked)
            return;
        // A take heard back was said at the height chosen before.
        if (phase_ == Phase::Review)
            phase_ = Phase::Idle;
        showState();
    });
    grid->addWidget(new QLabel(QStringLiteral("録音する高さ"), this), row, 1);
    grid->addLayout(line, row, 2, 1, 3);
}

int FrmStudio::chosenStep() const
{
    for (qsizetype i = 0; i < optHeights_.size(); ++i)
        if (optHeights_[i]->isChecked())
            return kHeights[i].step;
    return 0;
}

void FrmStudio::chooseStep(int step)
{
    for (qsizetype i = 0; i < optHeights_.size(); ++i)
        if (kHeights[i].step == step)
            optHeights_[i]->setChecked(true);
}

void FrmStudio::showHeightChoice()
{
    // Each character starts at its own height; a letter or a sign is said
    // at no height. (The list is emptied and filled again after a save:
    // no character in between.)
    const QString ch = character();
    if (ch.isEmpty())
        return;
    const bool heights = hasHeights(ch);
    if (ch != std::exchange(choiceFor_, ch) || !heights)
        chooseStep(0);
    for (QRadioButton *option : optHeights_)
        option->setEnabled(heights && !recording());
}

QString FrmStudio::takePrompt() const
{
    switch (promptedStep_) {
    case 1: return QStringLiteral("「%1」を、いつもより少し高い声で言ってください。").arg(prompted_);
    case -1: return QStringLiteral("「%1」を、いつもより少し低い声で言ってください。").arg(prompted_);
    default: return QStringLiteral("「%1」と言ってください。").arg(prompted_);
    }
}

void FrmStudio::restore()
{
    const QString ch = character();
    const int step = chosenStep();
    QString error;
    if (!folder_.restore(heightName(ch, step), &error)) {
        lblTake_->setText(QStringLiteral("元に戻せませんでした。%1").arg(japaneseReason(error)));
    } else {
        // A height back to the one made from the character's own sound.
        if (step != 0)
            if (const std::optional<QByteArray> sound = usableSound(folder_.soundPath(ch)))
                keepTakeHeights(folder_, ch, *sound, &error);
        lblTake_->setText(QStringLiteral("「%1」%2を元の音に戻しました。").arg(ch, heightWords(step)));
    }
    fillList();
    showState();
}

} // namespace kel
