#include "voice/VoicePage.h"

#include "base/Clock.h"
#include "speech/WavePlayer.h"
#include "voice/FrmStudio.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kel {
namespace {

constexpr double kCheckPace = 0.5;

QPushButton *bigButton(const QString &caption, const QString &name, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setMinimumHeight(56);
    return b;
}

} // namespace

VoicePage::VoicePage(Talk &t, QWidget *parent) : QGroupBox(QStringLiteral("自分の声"), parent), t_(t)
{
    setObjectName(QStringLiteral("fraVoicePage"));
    auto *layout = new QVBoxLayout(this);
    auto *check = bigButton(QStringLiteral("音の確認（あいうえお）"), QStringLiteral("cmdSoundCheck"), this);
    lblOutput_ = new QLabel(this);
    lblOutput_->setObjectName(QStringLiteral("lblOutput"));
    lblOutput_->setWordWrap(true);
    auto *studio = bigButton(QStringLiteral("録音スタジオを開く"), QStringLiteral("cmdStudio"), this);
    layout->addWidget(check);
    layout->addWidget(lblOutput_);
    layout->addWidget(studio);
    connect(check, &QPushButton::clicked, this, &VoicePage::soundCheck);
    connect(studio, &QPushButton::clicked, this, [this] { showStudio(t_, window()); });
}

void VoicePage::soundCheck()
{
    const QString device = t_.sv.player->outputDevice();
    lblOutput_->setText(device.isEmpty()
                            ? QStringLiteral("音を出す装置が見つかりません。スピーカーをつないでください。")
                            : QStringLiteral("出力：%1").arg(device));
    for (const QChar c : QStringLiteral("あいうえお")) {
        const Nanos started = t_.playChar(QString(c));
        waitMoreThan(*t_.sv.clock, started, kCheckPace);
        t_.doEvents();
        if (t_.st.Quitting)
            break;
    }
}

} // namespace kel
