#pragma once
// The reading table behind SoundSet.h, kept as data in its own file.

#include <span>

namespace kel {

struct SoundReading {
    const char16_t *character;
    const char16_t *reading; // what the Japanese synthesiser voice is asked to say
};

std::span<const SoundReading> soundReadings();

} // namespace kel
