// libFuzzer target for the backup readers: any bytes are read or refused
// whole, as a voice backup and as a backup of everything, without a crash,
// an overread or a hang.
#include "voice/FullBackup.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    (void)kel::readVoiceBackupBytes(bytes);
    (void)kel::readFullBackupBytes(bytes);
    return 0;
}
