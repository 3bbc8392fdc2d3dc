#include "voice/LevelMeter.h"

#include <QPainter>

namespace kel {
namespace {

double fraction(double db) { return std::clamp((db - LevelMeter::kFloorDb) / -LevelMeter::kFloorDb, 0.0, 1.0); }

} // namespace

LevelMeter::LevelMeter(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("meter"));
    setMinimumHeight(40);
}

void LevelMeter::setLevel(double db, bool clipping)
{
    db_ = db;
    clipping_ = clipping;
    update();
}

void LevelMeter::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRect r = rect();
    p.fillRect(r, Qt::white);
    const int bandFrom = int(r.width() * fraction(kBandLowDb));
    const int bandTo = int(r.width() * fraction(kBandHighDb));
    p.fillRect(QRect(bandFrom, 0, bandTo - bandFrom, r.height()), QColor(160, 230, 160));
    p.fillRect(QRect(0, r.height() / 4, int(r.width() * fraction(db_)), r.height() / 2),
               clipping_ ? QColor(220, 40, 40) : QColor(40, 80, 200));
    if (clipping_) {
        p.setPen(Qt::black);
        p.drawText(r, Qt::AlignCenter, QStringLiteral("音が大きすぎます"));
    }
}

} // namespace kel
