#pragma once
// Walks to a screen of the window as a user does, by captions and by the
// text of board cells.
#include "samples/SampleDriving.h"
#include "support/ScreenNames.h"

namespace kel {

// Talk.txt with sentences that か offers; day.txt with 04.09.24 朝ごはん,
// so that today, 04.09.25, heads the diary list with an empty entry.
inline std::map<QString, QByteArray> screenFolder()
{
    return {{kSampleFileName, records({kPlaceholder, "かさ", "かばん"})},
            {"day.txt", QByteArray::fromHex("22 30 34 2E 30 39 2E 32 34 20 92 A9 82 B2 82 CD 82 F1 22 0D 0A")}};
}

// Steps by caption; "@か" touches the cell showing か on the board, or on the
// enlarged screen when that shows.
inline void touchText(TalkFixture &f, const QString &text)
{
    FlexGrid *g = f.ui().fraSet->isVisible() ? f.ui().grdBoard2 : f.ui().grdBoard;
    for (int r = 0; r < g->Rows(); ++r)
        for (int c = 0; c < g->Cols(); ++c)
            if (g->TextMatrix(r, c) == text)
                return touchCell(g, r, c);
    QFAIL(qPrintable("no cell " + text));
}

// "1920x1080" resizes the window, as full screen on such a display does.
inline void walk(TalkFixture &f, const QString &steps)
{
    for (const QString &step : steps.split(u' ', Qt::SkipEmptyParts)) {
        if (step.startsWith(u'@'))
            touchText(f, step.mid(1));
        else if (step == u"1920x1080")
            f.win->resize(1920, 1080);
        else
            drive(f, step);
    }
}

} // namespace kel
