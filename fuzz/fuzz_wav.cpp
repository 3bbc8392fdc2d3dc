// libFuzzer target for the WAV decoder: any bytes decode or are refused,
// without a crash, an overread or a hang, and what decodes converts, within
// the run's memory limit (-rss_limit_mb).
//
// Inputs are short, but a header may describe a long file: each input is
// also tried stretched, its last chunk filled with zeros up to the size its
// header gives (up to 32 MB), so that a file of many seconds is tried as
// the player would meet it: without the header check, the 16 MB file at
// 1 kHz that once took 4.5 GB to convert is found within seconds.
#include "speech/WavCodec.h"

#include <QtEndian>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

constexpr qsizetype kMaxStretch = qsizetype(32) << 20;

void decodeAndConvert(QByteArrayView bytes)
{
    if (const std::optional<kel::Audio> audio = kel::decodeWav(bytes))
        (void)kel::toPlayback(*audio);
}

// Decodes the input with its last chunk as long as its header says: the
// input is copied over the start of zeros kept for the whole run, so that
// a long file costs no more than its header to make.
void decodeStretched(QByteArrayView in)
{
    static QByteArray zeros(kMaxStretch, '\0');
    for (qsizetype at = 12; at + 8 <= in.size();) {
        const qint64 size = qFromLittleEndian<quint32>(in.data() + at + 4);
        if (at + 8 + size > in.size()) {
            const qsizetype length = at + 8 + size;
            if (length > kMaxStretch)
                return;
            char *p = zeros.data();
            std::memcpy(p, in.data(), size_t(in.size()));
            qToLittleEndian<quint32>(quint32(length - 8), p + 4);
            decodeAndConvert(QByteArrayView(p, length));
            std::memset(p, 0, size_t(in.size()));
            return;
        }
        at += 8 + size + (size & 1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    decodeAndConvert(bytes);
    if (bytes.size() >= 12 && bytes.startsWith("RIFF"))
        decodeStretched(bytes);
    return 0;
}
