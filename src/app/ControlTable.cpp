#include "app/ControlTable.h"

#include "widgets/ColorButton.h"
#include "widgets/FlexGrid.h"
#include "widgets/Fonts.h"
#include "widgets/TalkBox.h"

#include <QFrame>
#include <QHash>
#include <QLabel>

namespace kel {
namespace {

constexpr QRgb rgb(int r, int g, int b) { return qRgb(r, g, b); }
constexpr QRgb kWhite = 0xffffffff;
constexpr QRgb kBlueBack = 0xff8080ff;   // RGB(128,128,255), the window's own colour
// List grids have no size of their own in the design; this keeps their
// rows large enough for a finger.
constexpr double kListPoints = 21.75;

} // namespace

const ControlDef kControlTable[] = {
    // name        kind          inside     caption      left   top   width height back                 family    pt     bold   visible
    {"fraRes",     Kind::Panel,  nullptr,   "",          3300, 6420,  6375, 1695, kBlueBack,            nullptr,  9,     false, true},
    {"cmdRes2",    Kind::Button, "fraRes",  "←",          120,  240,   915, 1395, kWhite,               nullptr,  36,    true,  true},
    {"cmdRes0",    Kind::Button, "fraRes",  "→",         2340,  240,   915, 1395, kWhite,               nullptr,  36,    true,  true},
    {"cmdRes4",    Kind::Button, "fraRes",  "↑",         1140,  240,  1065,  675, rgb(192, 255, 192),   nullptr,  27.75, true,  true},
    {"cmdRes3",    Kind::Button, "fraRes",  "↓",         1140, 1020,  1065,  615, rgb(128, 255, 128),   nullptr,  27.75, true,  true},
    {"cmdRes1",    Kind::Button, "fraRes",  "ＢＳ",       3420,  240,  2865,  645, rgb(255, 224, 192),   nullptr,  26.25, true,  true},
    {"cmdStart",   Kind::Button, "fraRes",  "始め",       3420, 1020,  2865,  615, rgb(255, 192, 192),   nullptr,  26.25, false, true},
    {"fraTalk",    Kind::Panel,  nullptr,   "",          3300, 6420,  6375, 1695, kBlueBack,            nullptr,  9,     false, false},
    {"cmdUp",      Kind::Button, "fraTalk", "△",          180,  240,  1935, 1335, rgb(192, 255, 192),   nullptr,  48,    true,  true},
    {"cmdDown",    Kind::Button, "fraTalk", "▽",         2220,  240,  1935, 1335, rgb(128, 255, 128),   nullptr,  48,    true,  true},
    {"cmdDec",     Kind::Button, "fraTalk", "決定",       4500,  240,  1695, 1335, rgb(192, 192, 255),   nullptr,  36,    false, true},
    {"fraSet",     Kind::Panel,  nullptr,   "",         10320, 1740, 11820, 6645, kBlueBack,            nullptr,  9,     false, false},
    {"grdBoard2",  Kind::BoardGrid, "fraSet", "",           0,   60, 11865, 4455, 0,                    kGothic,  72,    false, true},
    {"cmdEnd2",    Kind::Button, "fraSet",  "戻る",       5940, 4800,  5715, 1560, rgb(255, 192, 192),   nullptr,  48,    true,  true},
    {"cmdspace",   Kind::Button, "fraSet",  "スペース",    180, 4800,  5595, 1560, kWhite,               nullptr,  48,    false, true},
    {"grdSp",      Kind::Grid,   nullptr,   "",          4560, 2040,  4425, 2025, 0,                    kGothic,  kListPoints, false, false},
    {"grdEx",      Kind::Grid,   nullptr,   "",          5460, 3600,  4425, 2025, 0,                    kGothic,  kListPoints, false, false},
    {"fraText",    Kind::Panel,  nullptr,   "",             0,    0, 11790, 1515, kBlueBack,            nullptr,  9,     false, true},
    {"txtTalk",    Kind::TextBox, "fraText", "",            60,   60, 10785, 1455, 0,                    kGothic,  34,    true,  true},
    {"cmdWide",    Kind::Button, "fraText", "広げる",    10920,    0,   855, 1515, rgb(192, 192, 255),   nullptr,  24,    false, true},
    {"cmdCopy",    Kind::Button, "fraText", "コピ｜",    10920, 1680,   855, 1515, rgb(145, 131, 201),   nullptr,  21.75, true,  true},
    {"cmdPaste",   Kind::Button, "fraText", "貼る",     10920, 3540,   855, 1575, rgb(145, 131, 201),   nullptr,  24,    true,  true},
    {"cmdSamp",    Kind::Button, nullptr,   "例文表示",    480, 7380,  2745,  705, rgb(192, 192, 255),   nullptr,  24,    false, true},
    {"cmdSampADD", Kind::Button, nullptr,   "例文追加",    480, 6540,  2745,  720, rgb(192, 255, 192),   nullptr,  24,    false, true},
    {"grdDay",     Kind::Grid,   nullptr,   "",          3840, 3060,  4425, 2025, 0,                    kGothic,  kListPoints, false, false},
    {"cmdKey",     Kind::Button, nullptr,   "英数",       9840, 7440,  1875,  660, rgb(192, 255, 192),   nullptr,  27.75, false, true},
    {"cmdRead",    Kind::Button, nullptr,   "読む",       9840, 6540,  1875,  720, rgb(192, 192, 255),   nullptr,  27.75, false, true},
    {"cmdEnd",     Kind::Button, nullptr,   "終了",          0, 7380,   405,  705, rgb(128, 128, 255),   nullptr,  12,    true,  true},
    {"cmdOpt",     Kind::Button, nullptr,   "設定",          0, 6540,   405,  705, rgb(128, 128, 255),   nullptr,  12,    true,  true},
    {"fraDay",     Kind::Panel,  nullptr,   "",          3300, 6420,  6375, 1695, kBlueBack,            nullptr,  9,     false, false},
    {"cmdRevise",  Kind::Button, "fraDay",  "修正する",    300,  240,  2715, 1215, rgb(192, 192, 255),   nullptr,  27.75, false, true},
    {"cmdBack",    Kind::Button, "fraDay",  "戻る",       3300,  240,  2715, 1215, rgb(255, 192, 192),   nullptr,  27.75, false, true},
    // The delete button shares the place of "例文追加", which is always hidden
    // while it shows, so that "例文終了" below it stays reachable.
    {"cmdSampDel", Kind::Button, nullptr,   "例文削除",    480, 6540,  2745,  720, rgb(255, 192, 192),   nullptr,  24,    false, false},
    {"grdBoard",   Kind::BoardGrid, nullptr, "",           60, 1620, 11685, 4695, 0,                    kGothic,  44.25, false, true},
    {"txtHide",    Kind::Label,  nullptr,   "",             0,    0,  1215, 1575, rgb(255, 128, 128),   nullptr,  9,     false, false},
};
const int kControlCount = int(std::size(kControlTable));

namespace {

void paintBackground(QWidget *w, QRgb back)
{
    if (!back)
        return;
    QPalette p = w->palette();
    p.setColor(QPalette::Window, QColor::fromRgb(back));
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

QWidget *create(const ControlDef &d, QWidget *parent, const TwipsMap &map)
{
    const QString caption = QString::fromUtf8(d.caption);
    switch (d.kind) {
    case Kind::Panel: {
        auto *f = new QFrame(parent);
        paintBackground(f, d.back);
        return f;
    }
    case Kind::Button:
        return new ColorButton(caption, QColor::fromRgb(d.back), parent);
    case Kind::Grid:
        return new FlexGrid(map, FlexGrid::RowHeights::FromFont, parent);
    case Kind::BoardGrid:
        return new FlexGrid(map, FlexGrid::RowHeights::Stretch, parent);
    case Kind::TextBox:
        return new TalkBox(parent);
    case Kind::Label: {
        auto *l = new QLabel(caption, parent);
        paintBackground(l, d.back);
        return l;
    }
    }
    return nullptr;
}

template <typename T>
T *take(const QHash<QString, QWidget *> &made, const char *name)
{
    return static_cast<T *>(made.value(QString::fromLatin1(name)));
}

} // namespace

void buildControls(Controls &ui, TwipsLayout &layout)
{
    QHash<QString, QWidget *> made;
    for (const ControlDef &d : kControlTable) {
        QWidget *parent = d.inside ? made.value(QString::fromLatin1(d.inside)) : ui.canvas;
        QWidget *w = create(d, parent, layout.map());
        w->setObjectName(QString::fromLatin1(d.name));
        layout.add(w, QRect(d.left, d.top, d.width, d.height),
                   DesignFont{QString::fromUtf8(d.family ? d.family : kPGothic), d.points, d.bold});
        w->setVisible(d.visible);
        made.insert(w->objectName(), w);
    }

    ui.fraRes = take<QFrame>(made, "fraRes");
    for (int i = 0; i < 5; ++i)
        ui.cmdRes[i] = static_cast<ColorButton *>(made.value(QStringLiteral("cmdRes%1").arg(i)));
    ui.cmdStart = take<ColorButton>(made, "cmdStart");
    ui.fraTalk = take<QFrame>(made, "fraTalk");
    ui.cmdUp = take<ColorButton>(made, "cmdUp");
    ui.cmdDown = take<ColorButton>(made, "cmdDown");
    ui.cmdDec = take<ColorButton>(made, "cmdDec");
    ui.fraSet = take<QFrame>(made, "fraSet");
    ui.grdBoard2 = take<FlexGrid>(made, "grdBoard2");
    ui.cmdEnd2 = take<ColorButton>(made, "cmdEnd2");
    ui.cmdspace = take<ColorButton>(made, "cmdspace");
    ui.grdSp = take<FlexGrid>(made, "grdSp");
    ui.grdEx = take<FlexGrid>(made, "grdEx");
    ui.grdDay = take<FlexGrid>(made, "grdDay");
    ui.grdBoard = take<FlexGrid>(made, "grdBoard");
    ui.fraText = take<QFrame>(made, "fraText");
    ui.txtTalk = take<TalkBox>(made, "txtTalk");
    ui.cmdWide = take<ColorButton>(made, "cmdWide");
    ui.cmdCopy = take<ColorButton>(made, "cmdCopy");
    ui.cmdPaste = take<ColorButton>(made, "cmdPaste");
    ui.cmdSamp = take<ColorButton>(made, "cmdSamp");
    ui.cmdSampADD = take<ColorButton>(made, "cmdSampADD");
    ui.cmdSampDel = take<ColorButton>(made, "cmdSampDel");
    ui.cmdKey = take<ColorButton>(made, "cmdKey");
    ui.cmdRead = take<ColorButton>(made, "cmdRead");
    ui.cmdEnd = take<ColorButton>(made, "cmdEnd");
    ui.cmdOpt = take<ColorButton>(made, "cmdOpt");
    ui.fraDay = take<QFrame>(made, "fraDay");
    ui.cmdRevise = take<ColorButton>(made, "cmdRevise");
    ui.cmdBack = take<ColorButton>(made, "cmdBack");
    ui.txtHide = take<QLabel>(made, "txtHide");
}

} // namespace kel
