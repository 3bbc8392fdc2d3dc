#include "frame/TextPanel.h"

#include "base/Twips.h"
#include "frame/Screens.h"
#include "widgets/ColorButton.h"
#include "widgets/Platform.h"
#include "widgets/TalkBox.h"
#include "widgets/TwipsLayout.h"

#include <QFrame>

namespace kel {

bool textPanelIsWide(const Talk &t)
{
    return t.layout.rect(t.ui.txtTalk).height() > kWideThresholdTwips;
}

void setTextPanelNarrow(Talk &t)
{
    t.ui.cmdWide->setText(QStringLiteral("広げる"));
    t.layout.setHeight(t.ui.fraText, kNarrowPanelTwips);
    t.layout.setHeight(t.ui.txtTalk, kNarrowTextTwips);
}

void setTextPanelWide(Talk &t, bool caption)
{
    if (caption)
        t.ui.cmdWide->setText(QStringLiteral("狭める"));
    t.layout.setHeight(t.ui.fraText, kOuterHeightTwips - 2230);
    t.layout.setHeight(t.ui.txtTalk, kOuterHeightTwips - 2380);
}

void cmdWide_Click(Talk &t)
{
    if (textPanelIsWide(t))
        setTextPanelNarrow(t);
    else
        setTextPanelWide(t, true);
    t.ui.txtTalk->setFocus();
}

void cmdEnd2_Click(Talk &t)
{
    if (t.st.beepOn())
        t.sv.platform->beep();
    t.ui.txtTalk->setFocus();
    t.screens->showBase();
}

} // namespace kel
