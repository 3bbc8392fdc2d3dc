#include "samples/SampleScreens.h"

namespace kel {

void SampleScreens::LoadSamples() {}
bool SampleScreens::SaveSamples() { return true; }
void SampleScreens::ListSamples() {}
void SampleScreens::cmdSamp_MouseDown() {}
void SampleScreens::cmdSamp_MouseUp() {}
void SampleScreens::cmdSamp_Click() {}
void SampleScreens::cmdSampADD_Click() {}
void SampleScreens::cmdSampDel_Click() {}
void SampleScreens::cmdStart_Click() {}

} // namespace kel
