#include "voice/TakeWatch.h"

#include "voice/TakeShaper.h"

#include <cmath>

namespace kel {

TakeWatch::TakeWatch(int rate, double roomDb)
    : rate_(rate), thresholdDb_(voiceThresholdDb(roomDb)), block_(size_t(rate / 100))
{
    take_.reserve(size_t(kLongest * rate));
}

bool TakeWatch::feed(const float *samples, size_t count)
{
    const size_t room = size_t(kLongest * rate_) - take_.size();
    take_.insert(take_.end(), samples, samples + std::min(count, room));
    for (; analysed_ + block_ <= take_.size(); analysed_ += block_) {
        double sum = 0;
        for (size_t i = analysed_; i < analysed_ + block_; ++i) {
            sum += double(take_[i]) * take_[i];
            clipping_ = clipping_ || std::abs(take_[i]) >= 0.995f;
        }
        const double rms = std::sqrt(sum / double(block_));
        levelDb_ = rms > 1e-6 ? 20 * std::log10(rms) : -120;
        if (levelDb_ >= thresholdDb_) {
            voiced_ = true;
            quietSince_ = analysed_ + block_;
        }
    }
    const bool silentAfterVoice = voiced_ && double(analysed_ - quietSince_) >= kSilenceAfterVoice * rate_;
    return silentAfterVoice || take_.size() >= size_t(kLongest * rate_);
}

} // namespace kel
