#include "compose/Composer.h"

namespace kel {

void Composer::PutText() {}
void Composer::OfferSuggestions(const QString &) {}
void Composer::ShowSuggestions(const QString &) {}
void Composer::sendKeys(const QString &) {}
void Composer::cmdRes_MouseDown(int) {}
void Composer::cmdRes_MouseUp(int) {}
void Composer::EditKey(int) {}
void Composer::cmdCopy_MouseDown() {}
void Composer::cmdCopy_MouseUp() {}
void Composer::cmdCopy_Click() {}
void Composer::cmdPaste_MouseDown() {}
void Composer::cmdPaste_MouseUp() {}
void Composer::cmdPaste_Click() {}

} // namespace kel
