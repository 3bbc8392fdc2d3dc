#include "voice/SoundInput.h"

#include "base/LateModule.h"

namespace kel {
namespace {

class NoInput final : public SoundInput {
public:
    QList<InputDevice> devices() const override { return {}; }
    QByteArray defaultDevice() const override { return {}; }
    bool start(const QByteArray &, int) override { return false; }
    void stop() override {}
};

} // namespace

std::unique_ptr<SoundInput> makeSoundInput()
{
    if (auto make = lateFunction<MakeSoundInput>("make_sound_input"))
        return std::unique_ptr<SoundInput>(make());
    return std::make_unique<NoInput>();
}

} // namespace kel
