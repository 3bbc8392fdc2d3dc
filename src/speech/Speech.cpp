#include "speech/Speech.h"

namespace kel {

void Speech::SpeakChar(const QString &, double, const QString &) {}
void Speech::cmdRead_Click() {}

} // namespace kel
