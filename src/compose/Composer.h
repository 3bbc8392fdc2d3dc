#pragma once
// Entering picked text at the caret, the suggestions offered while typing,
// the editing keys and copy and paste.

#include "app/Talk.h"

namespace kel {

class Composer {
public:
    explicit Composer(Talk &t) : t_(t) {}

    // Inserts the caption of txtHide at the caret of txtTalk.
    void PutText();
    void OfferSuggestions(const QString &text);
    void ShowSuggestions(const QString &key);

    // Queues keystrokes such as "+{RIGHT}" for txtTalk; they act at the next
    // event pass, not now.
    void sendKeys(const QString &keys);

    void cmdRes_MouseDown(int index);
    void cmdRes_MouseUp(int index);
    void EditKey(int index);
    void cmdCopy_MouseDown();
    void cmdCopy_MouseUp();
    void cmdCopy_Click();
    void cmdPaste_MouseDown();
    void cmdPaste_MouseUp();
    void cmdPaste_Click();

private:
    Talk &t_;
};

} // namespace kel
