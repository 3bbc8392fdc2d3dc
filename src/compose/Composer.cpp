#include "compose/Composer.h"

#include "base/AnsiText.h"
#include "base/Twips.h"
#include "compose/BoxText.h"
#include "compose/EditBoxKeys.h"
#include "compose/KeyStrokes.h"
#include "compose/TextOps.h"
#include "predict/Prediction.h"
#include "widgets/Colours.h"
#include "widgets/FlexGrid.h"
#include "widgets/Platform.h"
#include "widgets/TalkBox.h"
#include "widgets/TwipsLayout.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTextDocument>

namespace kel {

namespace {


} // namespace

Composer::Composer(Talk &t) : t_(t)
{
    if (t_.ui.txtTalk)
        EditBoxKeys::install(t_.ui.txtTalk);
}

void Composer::sendKeys(const QString &keys)
{
    TalkBox *box = t_.ui.txtTalk;
    for (const KeyStroke &stroke : parseKeyStrokes(keys)) {
        const Qt::KeyboardModifiers mods = stroke.shift ? Qt::ShiftModifier : Qt::NoModifier;
        QCoreApplication::postEvent(box, new QKeyEvent(QEvent::KeyPress, stroke.key, mods));
        QCoreApplication::postEvent(box, new QKeyEvent(QEvent::KeyRelease, stroke.key, mods));
    }
}

void Composer::PutText()
{
    TalkBox &box = *t_.ui.txtTalk;
    const QString before = box.text();
    const QString inserted = t_.ui.txtHide->text();
    const qsizetype caret = box.selStart();
    const TextEdit edit = putText(before, caret, inserted);
    // The new text differs from the old in two places at most, the insertion
    // and a marker put back at the end; only those are edited, so that a
    // long text is not laid out again for one character.
    const bool markerAdded = edit.text.size() > before.size() + inserted.size();
    insertBoxText(box, caret, inserted, markerAdded ? QString(kEndMarker) : QString());
    box.setSelStart(edit.caret);
}

bool Composer::suggestionsOn() const
{
    // Prediction offers the whole sentences among its candidates; the list
    // over the board would only hide them.
    if (t_.prediction && t_.prediction->active())
        return false;
    // Any spelling of zero ("0", "00", "0.0") turns suggestions off.
    return t_.st.number(Samp) != 0;
}

void Composer::OfferSuggestions(const QString &text)
{
    if (!suggestionsOn() || text.isEmpty())
        return;
    t_.sv.platform->busyPointer();
    // Where the user types is judged on the box itself; the key is cut from
    // the text the caller passed.
    const TalkBox &box = *t_.ui.txtTalk;
    const QTextDocument &doc = *box.document();
    const qsizetype length = qMax(0, doc.characterCount() - 1);
    if (length > 0 && box.selStart() == length - 1) {
        const bool marker = doc.characterAt(int(length - 1)) == kEndMarker;
        ShowSuggestions(suggestionKeyOf(text, marker, t_.st.SampleChars));
    }
    t_.sv.platform->normalPointer();
}

void Composer::ShowSuggestions(const QString &key)
{
    if (key.isEmpty())
        return;
    FlexGrid &sp = *t_.ui.grdSp;
    if (!spRedrawLeftOff_)
        sp.setRedraw(false);
    spRedrawLeftOff_ = true;

    t_.layout.setRect(&sp, t_.layout.rect(t_.ui.grdBoard));
    sp.setRows(0);
    sp.setCols(1);
    sp.setColWidth(0, kDesignWidthTwips);

    const QStringList matches = t_.st.Samples ? matchSamples(*t_.st.Samples, key) : QStringList();
    sp.setRows(1 + int(matches.size()));
    sp.setTextMatrix(0, 0, trimSpaces(key));
    for (int i = 0; i < matches.size(); ++i)
        sp.setTextMatrix(i + 1, 0, matches[i]);

    // A touch taken during the voiced pick may have left the board (the
    // example list opened): that screen stays, and so does its highlight.
    bool shown = false;
    if (matches.isEmpty()) {
        shown = t_.screens->ask(ScreenEvent::NoSuggestions);
    } else {
        sp.setRow(0);
        sp.setCol(0);
        sp.setColSel(sp.Cols() - 1);
        sp.setCellBackColor(kHighlightGreen);
        sp.setTopRow(0);
        sp.setRedraw(true);
        spRedrawLeftOff_ = false;
        shown = t_.screens->ask(ScreenEvent::SuggestionsFound);
    }
    if (shown)
        t_.st.ListRow = sp.Row();
}

bool Composer::decide(int row)
{
    TalkBox &box = *t_.ui.txtTalk;
    const QString chosen = trimSpaces(t_.ui.grdSp->TextMatrix(row, 0));
    t_.st.CellText = chosen;
    const QString before = box.text();
    const TextEdit edit = takeSuggestion(before, box.selStart(), chosen, t_.st.SampleChars);
    replaceBoxText(box, before, edit.text);
    box.setSelStart(edit.caret);
    t_.screens->ask(ScreenEvent::SuggestionTaken);
    return true;
}

} // namespace kel
