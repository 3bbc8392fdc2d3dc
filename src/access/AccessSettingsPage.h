#pragma once
// A page of the settings for switch scanning, dwell selection and the
// reading pace, to sit in a dialog of settings of their own: it shows the
// stored values and writes them back to the "ACCESS" group.

#include "access/AccessSettings.h"

#include <QWidget>

class QComboBox;
class QDoubleSpinBox;
class QSpinBox;

namespace kel {

class SecondsBox;
class SettingsStore;

class AccessSettingsPage : public QWidget {
    Q_OBJECT
public:
    explicit AccessSettingsPage(QWidget *parent = nullptr);

    void setValues(const AccessSettings &s);
    AccessSettings values() const;
    // Shows what `store` holds; writes the page's values into it (false
    // when the store could not be written).
    void load(const SettingsStore &store);
    bool save(SettingsStore &store) const;

private:
    QComboBox *scan_, *order_, *voice_, *mouse_, *settings_;
    QSpinBox *rounds_;
    SecondsBox *step_, *accept_, *lock_, *dwell_, *pace_;
    QDoubleSpinBox *first_;
};

} // namespace kel
