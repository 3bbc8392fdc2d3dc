#include "frame/TextPanel.h"

#include "frame/Screens.h"
#include "widgets/Platform.h"
#include "widgets/TalkBox.h"

namespace kel {

void cmdWide_Click(Talk &t)
{
    t.screens->ask(ScreenEvent::WideToggled);
    t.ui.txtTalk->setFocus();
}

void cmdEnd2_Click(Talk &t)
{
    if (t.st.beepOn())
        t.sv.platform->beep();
    t.ui.txtTalk->setFocus();
    t.screens->ask(ScreenEvent::EnlargedLeft);
}

} // namespace kel
