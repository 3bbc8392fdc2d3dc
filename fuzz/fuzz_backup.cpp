// libFuzzer target for the voice backup reader: any bytes are read or
// refused whole, without a crash, an overread or a hang.
#include "voice/VoiceArchive.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    (void)kel::readVoiceBackupBytes(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}
