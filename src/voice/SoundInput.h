#pragma once
// The microphones, for the studio: which there are, and the sound of one of
// them as it comes in. Made when the studio opens, never at start-up.

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

namespace kel {

struct InputDevice {
    QByteArray id;
    QString name;
};

class SoundInput {
public:
    virtual ~SoundInput() = default;
    virtual QList<InputDevice> devices() const = 0;
    virtual QByteArray defaultDevice() const = 0;
    // Starts taking mono 16-bit sound at `rate` from the device `id`;
    // false when that device cannot give it.
    virtual bool start(const QByteArray &id, int rate) = 0;
    // Stops taking sound; nothing is reported after this.
    virtual void stop() = 0;

    // A microphone plugged in or out.
    std::function<void()> devicesChanged;
    // Sound as it comes in: little-endian 16-bit samples (possibly an odd byte).
    std::function<void(const QByteArray &)> captured;
    // The device stopped with an error while taking sound.
    std::function<void()> failed;
};

// The microphones of this machine.
std::unique_ptr<SoundInput> makeSoundInput();

} // namespace kel
