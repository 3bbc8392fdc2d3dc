#pragma once
// The live level of a take: a bar over a green band where a voice should
// sit, turning red with a warning once the sound reaches full scale.

#include <QWidget>

namespace kel {

class LevelMeter : public QWidget {
public:
    static constexpr double kFloorDb = -60, kBandLowDb = -30, kBandHighDb = -8;

    explicit LevelMeter(QWidget *parent = nullptr);
    void setLevel(double db, bool clipping);
    bool clipping() const { return clipping_; }
    double level() const { return db_; }

protected:
    void paintEvent(QPaintEvent *) override;

private:
    double db_ = kFloorDb;
    bool clipping_ = false;
};

} // namespace kel
