// libFuzzer target for the WAV decoder: any bytes decode or are refused,
// without a crash, an overread or a hang, and what decodes converts, within
// the run's memory limit (-rss_limit_mb).
//
// Inputs are short, but a header may describe a long file: each input is
// also tried stretched, its last chunk filled with zeros up to the size its
// header gives (up to 64 MB), so that a file of many seconds is tried as
// the player would meet it.
#include "speech/WavCodec.h"

#include <QtEndian>

#include <cstddef>
#include <cstdint>

namespace {

constexpr qsizetype kMaxStretch = qsizetype(64) << 20;

void decodeAndConvert(QByteArrayView bytes)
{
    if (const std::optional<kel::Audio> audio = kel::decodeWav(bytes))
        (void)kel::toPlayback(*audio);
}

// The input with its last chunk as long as its header says, or empty.
QByteArray stretched(QByteArrayView in)
{
    qsizetype at = 12;
    while (at + 8 <= in.size()) {
        const qint64 size = qFromLittleEndian<quint32>(in.data() + at + 4);
        if (at + 8 + size > in.size()) {
            if (at + 8 + size > kMaxStretch)
                return {};
            QByteArray out(in.data(), in.size());
            out.append(QByteArray(qsizetype(at + 8 + size - in.size()), '\0'));
            qToLittleEndian<quint32>(quint32(out.size() - 8), out.data() + 4);
            return out;
        }
        at += 8 + size + (size & 1);
    }
    return {};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    decodeAndConvert(bytes);
    if (bytes.size() >= 12 && bytes.startsWith("RIFF"))
        if (const QByteArray longer = stretched(bytes); !longer.isEmpty())
            decodeAndConvert(longer);
    return 0;
}
