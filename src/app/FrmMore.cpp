#include "app/FrmMore.h"

#include "voice/VoicePage.h"
#include "widgets/ColorButton.h"
#include "widgets/Fonts.h"

#include <QVBoxLayout>

namespace kel {
namespace {

constexpr QRgb kDialogBack = 0xffc0c0ff; // the options dialog's colour

} // namespace

FrmMore::FrmMore(Talk &, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmMore"));
    setWindowTitle(QStringLiteral("その他の設定"));
    setModal(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor::fromRgb(kDialogBack));
    setPalette(p);
    setAutoFillBackground(true);
    QFont f(QString::fromUtf8(kPGothic));
    f.setPointSizeF(14.25);
    f.setBold(true);
    setFont(f);
    setMinimumWidth(480);

    auto *layout = new QVBoxLayout(this);
    pages_ = new QVBoxLayout;
    layout->addLayout(pages_);
    auto *close = new ColorButton(QStringLiteral("閉じる"), QColor::fromRgb(kDialogBack), this);
    close->setObjectName(QStringLiteral("cmdClose"));
    close->setMinimumHeight(56);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(close);
}

void FrmMore::addPage(QWidget *page)
{
    page->setParent(this);
    pages_->addWidget(page);
}

void showMore(Talk &t, QWidget *parent)
{
    FrmMore dialog(t, parent);
    dialog.addPage(new VoicePage(t));
    dialog.exec();
}

} // namespace kel
