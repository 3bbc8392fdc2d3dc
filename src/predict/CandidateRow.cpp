#include "predict/CandidateRow.h"

#include "widgets/ColorButton.h"
#include "predict/KanaFold.h"
#include "widgets/FitText.h"

#include <QHBoxLayout>

namespace kel {
namespace {

const QColor kCandidateBack(255, 255, 192);

} // namespace

TakeEdit takeEdit(QStringView before, const QString &candidate)
{
    qsizetype same = 0;
    while (same < before.size() && same < candidate.size() && before[same] == candidate[same])
        ++same;
    return {same, candidate.mid(same)};
}

StripPlaces stripPlaces(const QRect &area, int boardRows)
{
    const int row = area.height() / boardRows;
    return {QRect(area.left(), area.top(), area.width(), row),
            QRect(area.left(), area.top() + row, area.width(), area.height() - row)};
}

qsizetype stripCaptionStart(QStringView before)
{
    return std::max(sentenceStart(before), before.size() - 1);
}

CandidateRow::CandidateRow(QWidget *parent, const QString &name) : QWidget(parent)
{
    setObjectName(QStringLiteral("row") + name);
    font_ = font();
    font_.setPixelSize(40);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    for (size_t i = 0; i < buttons_.size(); ++i) {
        auto *b = new ColorButton(QString(), kCandidateBack, this);
        b->setObjectName(QStringLiteral("cmd%1%2").arg(name).arg(i));
        b->setFont(font_);
        b->hide();
        layout->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, i] {
            if (take_ && qsizetype(i) < shown_.size())
                take_(shown_[qsizetype(i)].text);
        });
        buttons_[i] = b;
    }
}

void CandidateRow::fill(const QList<Candidate> &candidates, qsizetype from)
{
    shown_ = candidates.mid(0, qsizetype(buttons_.size()));
    for (size_t i = 0; i < buttons_.size(); ++i) {
        ColorButton *b = buttons_[i];
        if (qsizetype(i) < shown_.size()) {
            // A long phrase gets a smaller type rather than a cut caption.
            const QString caption = shown_[qsizetype(i)].text.mid(from);
            const QSize room(width() / int(shown_.size()) - 10, height() - 10);
            b->setFont(fittedFont(font_, caption, room));
            b->setText(caption);
            b->show();
        } else {
            b->setText(QString());
            b->hide();
        }
    }
}

} // namespace kel
