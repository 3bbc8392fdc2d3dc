#pragma once
// The example-sentence list: loading and saving Talk.txt through the list
// grid, opening and closing the list, adding, deleting, and "始め".

#include "app/Talk.h"

namespace kel {

class SampleScreens {
public:
    explicit SampleScreens(Talk &t) : t_(t) {}

    void LoadSamples();
    // False when the file could not be written (the user has been told).
    bool SaveSamples();
    void ListSamples();

    void cmdSamp_MouseDown();
    void cmdSamp_MouseUp();
    void cmdSamp_Click();
    void cmdSampADD_Click();
    void cmdSampDel_Click();
    void cmdStart_Click();

private:
    Talk &t_;
};

} // namespace kel
