#pragma once
// Reads 16-bit PCM WAV files for the sound tests, and measures them.
// Header-only test helper; Qt Core only.

#include <QByteArray>
#include <QList>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <optional>

namespace kel::test {

struct Pcm {
    int channels = 0;
    int sampleRate = 0;
    QList<qint16> samples; // interleaved frames

    qsizetype frames() const { return channels > 0 ? samples.size() / channels : 0; }
    double seconds() const { return sampleRate > 0 ? double(frames()) / sampleRate : 0.0; }
};

// RIFF/WAVE with a "fmt " chunk of PCM (or WAVE_FORMAT_EXTENSIBLE) at 16 bits
// and a "data" chunk; nullopt for anything else. A data chunk whose stated
// size runs past the end of the file (a recorder that was stopped before it
// could finish its header) is read up to the end.
inline std::optional<Pcm> parseWav16(const QByteArray &bytes)
{
    const auto u16 = [&](qsizetype at) { return qFromLittleEndian<quint16>(bytes.constData() + at); };
    const auto u32 = [&](qsizetype at) { return qFromLittleEndian<quint32>(bytes.constData() + at); };
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return std::nullopt;
    Pcm pcm;
    bool haveFormat = false;
    for (qsizetype at = 12; at + 8 <= bytes.size();) {
        const QByteArray id = bytes.mid(at, 4);
        const qsizetype size = u32(at + 4);
        const qsizetype body = at + 8;
        if (id == "fmt ") {
            if (size < 16 || body + 16 > bytes.size())
                return std::nullopt;
            const quint16 tag = u16(body);
            if ((tag != 1 && tag != 0xFFFE) || u16(body + 14) != 16)
                return std::nullopt;
            pcm.channels = u16(body + 2);
            pcm.sampleRate = int(u32(body + 4));
            haveFormat = pcm.channels > 0 && pcm.sampleRate > 0;
        } else if (id == "data") {
            if (!haveFormat)
                return std::nullopt;
            const qsizetype end = std::min<qsizetype>(bytes.size(), body + size);
            const qsizetype count = (end - body) / 2;
            pcm.samples.resize(count - count % pcm.channels);
            for (qsizetype i = 0; i < pcm.samples.size(); ++i)
                pcm.samples[i] = qFromLittleEndian<qint16>(bytes.constData() + body + 2 * i);
            return pcm;
        }
        at = body + size + (size & 1); // chunks are padded to even length
    }
    return std::nullopt;
}

// Loudest sample of all channels, as a fraction of full scale.
inline double peakOf(const Pcm &pcm, qsizetype fromFrame = 0, qsizetype toFrame = -1)
{
    if (toFrame < 0 || toFrame > pcm.frames())
        toFrame = pcm.frames();
    int peak = 0;
    for (qsizetype i = fromFrame * pcm.channels; i < toFrame * pcm.channels; ++i)
        peak = std::max(peak, std::abs(int(pcm.samples.at(i))));
    return peak / 32768.0;
}

// Root mean square of all samples, as a fraction of full scale.
inline double rmsOf(const Pcm &pcm)
{
    if (pcm.samples.isEmpty())
        return 0.0;
    double sum = 0.0;
    for (qint16 s : pcm.samples)
        sum += double(s) * s;
    return std::sqrt(sum / pcm.samples.size()) / 32768.0;
}

// A mono 16-bit WAV file of `samples`, for tests that need a sound of their own.
inline QByteArray wav16(int sampleRate, const QList<qint16> &samples)
{
    QByteArray out;
    const auto put16 = [&](quint16 v) { out.append(char(v & 0xFF)).append(char(v >> 8)); };
    const auto put32 = [&](quint32 v) { put16(quint16(v & 0xFFFF)); put16(quint16(v >> 16)); };
    const quint32 dataBytes = quint32(samples.size() * 2);
    out.append("RIFF");
    put32(36 + dataBytes);
    out.append("WAVEfmt ");
    put32(16);
    put16(1);                          // PCM
    put16(1);                          // mono
    put32(quint32(sampleRate));
    put32(quint32(sampleRate) * 2);    // bytes per second
    put16(2);                          // bytes per frame
    put16(16);                         // bits per sample
    out.append("data");
    put32(dataBytes);
    for (qint16 s : samples)
        put16(quint16(s));
    return out;
}

} // namespace kel::test
