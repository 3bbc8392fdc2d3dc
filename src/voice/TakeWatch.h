#pragma once
// Follows a take as it is recorded, block by block: the level for the
// meter, a clipping warning, and when to stop by itself (about 0.6 s of
// silence after the voice, or 5 s in all).

#include <cstddef>
#include <vector>

namespace kel {

class TakeWatch {
public:
    static constexpr double kSilenceAfterVoice = 0.6;
    static constexpr double kLongest = 5.0;

    TakeWatch(int rate, double roomDb);

    // Adds samples; true once the take should end.
    bool feed(const float *samples, size_t count);

    const std::vector<float> &take() const { return take_; }
    double levelDb() const { return levelDb_; }     // of the last 10 ms
    bool clipping() const { return clipping_; }    // some sample reached full scale
    bool heardVoice() const { return voiced_; }

private:
    int rate_;
    double thresholdDb_;
    size_t block_;
    std::vector<float> take_;
    size_t analysed_ = 0;
    size_t quietSince_ = 0;
    double levelDb_ = -120;
    bool clipping_ = false;
    bool voiced_ = false;
};

} // namespace kel
