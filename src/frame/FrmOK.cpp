#include "frame/FrmOK.h"

#include "widgets/ColorButton.h"
#include "widgets/Fonts.h"
#include "widgets/LineBreaks.h"
#include "widgets/Platform.h"
#include "widgets/TwipsLayout.h"

#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

#include <algorithm>

namespace kel {
namespace {

constexpr QRgb kDialogBack = 0xff8080ff;
constexpr QSize kClientTwips(10020, 3990);
constexpr double kPoints = 36;

// The dialog is made afresh for every question, so the captions and
// positions set for one call never carry over to the next.
class FrmOKDialog : public QDialog {
public:
    FrmOKDialog(double scale, bool &answer, QWidget *parent) : QDialog(parent), answer_(answer), layout_(map_)
    {
        setObjectName(QStringLiteral("frmOK"));
        setWindowTitle(QStringLiteral("問い合わせ？"));
        map_.setScale(scale);
        QPalette p = palette();
        p.setColor(QPalette::Window, QColor::fromRgb(kDialogBack));
        setPalette(p);
        setAutoFillBackground(true);
        setFixedSize(map_.px(kClientTwips.width()), map_.px(kClientTwips.height()));

        const DesignFont font{QString::fromUtf8(kPGothic), kPoints, true};
        label = new QLabel(QStringLiteral("Label1"), this);
        label->setObjectName(QStringLiteral("lblOK"));
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        layout_.add(label, QRect(240, 120, 9645, 1965), font);

        buttons[0] = new ColorButton(QStringLiteral("OK"), QColor(192, 192, 255), this);
        buttons[1] = new ColorButton(QStringLiteral("キャンセル"), QColor(255, 192, 192), this);
        layout_.add(buttons[0], QRect(300, 2280, 4365, 1635), font);
        layout_.add(buttons[1], QRect(5460, 2280, 4365, 1635), font);
        for (int k = 0; k < 2; ++k) {
            buttons[k]->setObjectName(QStringLiteral("cmdOK%1").arg(k));
            connect(buttons[k], &QPushButton::clicked, this, [this, k] { cmdOK_Click(k); });
        }
    }

    void arrange(int code)
    {
        switch (code) {
        case kAskNotice:
            buttons[1]->hide();
            layout_.setLeftTop(buttons[0], 3500, 2280);
            break;
        case kAskYesNo:
            buttons[1]->setText(QStringLiteral("ＮＯ"));
            buttons[1]->show();
            buttons[0]->setText(QStringLiteral("ＹＥＳ"));
            layout_.setLeftTop(buttons[0], 300, 2280);
            break;
        case kAskOkCancel:
            buttons[1]->setText(QStringLiteral("キャンセル"));
            buttons[1]->show();
            buttons[0]->setText(QStringLiteral("ＯＫ"));
            layout_.setLeftTop(buttons[0], 300, 2280);
            break;
        default:
            break;
        }
    }

    // The design holds three lines of text. A longer message grows the
    // dialog downwards as far as the screen allows, then scrolls: a line cut
    // off is a line the user never learns of.
    void setMessage(const QString &message)
    {
        label->setText(message);
        const int extra = label->heightForWidth(label->width()) - label->height();
        if (extra <= 0)
            return;
        const QScreen *screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
        // Room for the window's title bar and frame, which the screen also holds.
        constexpr int kFrameAllowance = 64;
        const int room = screen ? screen->availableGeometry().height() - height() - kFrameAllowance : extra;
        const int grow = std::clamp(room, 0, extra);
        label->resize(label->width(), label->height() + grow);
        for (ColorButton *b : buttons)
            b->move(b->x(), b->y() + grow);
        setFixedSize(width(), height() + grow);
        if (grow == extra)
            return;
        auto *scroll = new QScrollArea(this);
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setGeometry(label->geometry());
        scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        scroll->viewport()->setAutoFillBackground(false);
        const int width = label->width() - scroll->verticalScrollBar()->sizeHint().width();
        label->resize(width, label->heightForWidth(width));
        scroll->setWidget(label);
        scroll->show();
    }

    // Enter or a stray key press takes `k`.
    void makeDefault(int k)
    {
        for (QPushButton *b : buttons)
            b->setAutoDefault(false);
        buttons[k]->setDefault(true);
        buttons[k]->setFocus();
    }

    QLabel *label = nullptr;
    ColorButton *buttons[2] = {};

private:
    void cmdOK_Click(int k)
    {
        answer_ = (k == 0);
        accept();
    }

    bool &answer_;
    TwipsMap map_;
    TwipsLayout layout_;
};

} // namespace

void AskUser(Talk &t, const QString &message, int code, const QString &title, bool safeDefault)
{
    t.sv.platform->normalPointer();
    t.st.AskAnswer = false;
    FrmOKDialog dialog(t.layout.map().scale(), t.st.AskAnswer, t.ui.frmTalk);
    dialog.arrange(code);
    if (safeDefault && code != kAskNotice)
        dialog.makeDefault(1);
    dialog.setWindowTitle(title);
    dialog.setMessage(keepSentenceEndsTogether(message));
    dialog.exec();
}

bool askBeforeWindow(const QString &message, const QString &title, const QString &yes, const QString &no)
{
    bool answer = false;
    FrmOKDialog dialog(1.0, answer, nullptr);
    dialog.arrange(no.isEmpty() ? kAskNotice : kAskOkCancel);
    dialog.buttons[0]->setText(yes);
    dialog.buttons[1]->setText(no);
    // Enter or a stray key press takes the answer that changes nothing.
    dialog.makeDefault(no.isEmpty() ? 0 : 1);
    dialog.setWindowTitle(title);
    dialog.setMessage(message);
    dialog.exec();
    return answer;
}

} // namespace kel
