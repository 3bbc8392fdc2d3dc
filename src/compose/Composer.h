#pragma once
// Entering picked text at the caret, the suggestions offered while typing,
// the editing keys and copy and paste.

#include "frame/Screens.h"
#include "frame/Talk.h"

namespace kel {

// Also the owner of the suggestion list.
class Composer : public ListOwner {
public:
    // Makes txtTalk's cursor keys and back-space act as in a Windows edit box
    // (see EditBoxKeys.h); the editing actions depend on it.
    explicit Composer(Talk &t);

    // Inserts the caption of txtHide at the caret of txtTalk, keeps the end
    // marker "_" and puts the caret after the insertion (selection empty).
    void PutText();
    // Offers the sentences that begin with the last typed characters when
    // the user is typing at the end of `text` (txtTalk's text).
    void OfferSuggestions(const QString &text);
    // Lists the sentences beginning with `key` in grdSp over the board, or
    // shows the board when none does.
    void ShowSuggestions(const QString &key);

    // "決定" on the suggestion list: the typed key is replaced by the
    // sentence of `row`, and the board (or the revising screen) returns.
    bool decide(int row) override;

    // Queues keystrokes such as "+{RIGHT}" for txtTalk; they act at the next
    // event pass, not now.
    void sendKeys(const QString &keys);

    void cmdRes_MouseDown(int index);
    void cmdRes_MouseUp(int index);
    // Performs the editing key `index` (0 →, 1 ＢＳ, 2 ←, 3 ↓, 4 ↑) and repeats
    // it every 0.23 s while ButtonHeld stays set.
    void EditKey(int index);
    void cmdCopy_MouseDown();
    void cmdCopy_MouseUp();
    void cmdCopy_Click();
    void cmdPaste_MouseDown();
    void cmdPaste_MouseUp();
    void cmdPaste_Click();

private:
    bool suggestionsOn() const;
    // One step of EditKey; false when the key has reached its limit and the
    // repeat must end.
    bool editStep(int index);

    Talk &t_;
    // grdSp's repainting is left off after a search without a match; the
    // next search that shows the list turns it on again.
    bool spRedrawLeftOff_ = false;
};

} // namespace kel
