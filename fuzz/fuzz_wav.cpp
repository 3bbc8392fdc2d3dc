// libFuzzer target for the WAV decoder: any bytes decode or are refused,
// without a crash, an overread or a hang, and what decodes converts.
#include "speech/WavCodec.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    if (const std::optional<kel::Audio> audio = kel::decodeWav(bytes)) {
        if (audio->seconds() < 2) // a header may honestly claim a long, slow file
            (void)kel::toPlayback(*audio);
    }
    return 0;
}
