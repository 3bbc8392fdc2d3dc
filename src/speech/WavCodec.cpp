#include "speech/WavCodec.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>

namespace kel {
namespace {

constexpr quint16 kFormatPcm = 1;
constexpr quint16 kFormatFloat = 3;
constexpr quint16 kFormatExtensible = 0xFFFE;

quint32 u32At(QByteArrayView b, qsizetype at) { return qFromLittleEndian<quint32>(b.data() + at); }
quint16 u16At(QByteArrayView b, qsizetype at) { return qFromLittleEndian<quint16>(b.data() + at); }

std::optional<Audio> refuse(QString *why, const char *reason)
{
    if (why)
        *why = QString::fromLatin1(reason);
    return std::nullopt;
}

float sampleAt(const char *p, quint16 format, int bytes)
{
    if (format == kFormatFloat) {
        if (bytes == 4)
            return qFromLittleEndian<float>(p);
        return float(qFromLittleEndian<double>(p));
    }
    switch (bytes) {
    case 1: return (quint8(*p) - 128) / 128.0f;              // 8-bit is unsigned
    case 2: return qFromLittleEndian<qint16>(p) / 32768.0f;
    case 3: {
        const qint32 v = qint32(quint32(quint8(p[0])) << 8 | quint32(quint8(p[1])) << 16
                                | quint32(quint8(p[2])) << 24) >> 8;
        return v / 8388608.0f;
    }
    default: return float(qFromLittleEndian<qint32>(p) / 2147483648.0);
    }
}

// Rounded to the nearest step and held at full scale.
qint16 toSample16(float s)
{
    const float v = std::clamp(s * 32768.0f, -32768.0f, 32767.0f);
    return qint16(v >= 0 ? int(v + 0.5f) : -int(-v + 0.5f));
}

} // namespace

std::optional<Audio> decodeWav(QByteArrayView b, QString *why)
{
    if (b.size() < 12 || !b.startsWith("RIFF") || b.sliced(8, 4) != "WAVE")
        return refuse(why, "not a RIFF WAVE file");
    // The RIFF size may be one pad byte short or long; more is a lie.
    if (qint64(u32At(b, 4)) + 8 > b.size() + 1)
        return refuse(why, "the file is shorter than its header says");

    quint16 format = 0, channels = 0, bits = 0;
    quint32 rate = 0;
    bool haveFormat = false;
    for (qsizetype at = 12; at + 8 <= b.size();) {
        const QByteArrayView id = b.sliced(at, 4);
        const qint64 size = u32At(b, at + 4);
        const qsizetype body = at + 8;
        if (size > b.size() - body)
            return refuse(why, "a chunk runs past the end of the file");
        if (id == "fmt ") {
            if (size < 16)
                return refuse(why, "the format chunk is too short");
            format = u16At(b, body);
            channels = u16At(b, body + 2);
            rate = u32At(b, body + 4);
            bits = u16At(b, body + 14);
            if (format == kFormatExtensible) {
                if (size < 40)
                    return refuse(why, "the extensible format chunk is too short");
                format = u16At(b, body + 24); // the sub-format GUID's first two bytes
            }
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat)
                return refuse(why, "no format before the data");
            const bool intOk = format == kFormatPcm && (bits == 8 || bits == 16 || bits == 24 || bits == 32);
            const bool floatOk = format == kFormatFloat && (bits == 32 || bits == 64);
            if (!intOk && !floatOk)
                return refuse(why, "an encoding other than PCM or float");
            if (channels < 1 || channels > 8)
                return refuse(why, "an unusual number of channels");
            if (rate < 1000 || rate > 384000)
                return refuse(why, "an unusual sample rate");
            const int bytes = bits / 8;
            const qsizetype frames = size / (qsizetype(bytes) * channels);
            if (frames > qsizetype(rate) * kMaxSoundSeconds || frames * channels > kMaxDecodedSamples)
                return refuse(why, kTooLongReason);
            Audio audio;
            audio.rate = int(rate);
            audio.channels = channels;
            audio.samples.resize(size_t(frames) * channels);
            const char *p = b.data() + body;
            if (format == kFormatPcm && bytes == 2) { // the common case, without a switch per sample
                for (float &s : audio.samples) {
                    s = qFromLittleEndian<qint16>(p) / 32768.0f;
                    p += 2;
                }
                return audio;
            }
            for (float &s : audio.samples) {
                s = std::clamp(sampleAt(p, format, bytes), -1.0f, 1.0f);
                if (!std::isfinite(s))
                    s = 0.0f;
                p += bytes;
            }
            return audio;
        }
        at = body + size + (size & 1);
    }
    return refuse(why, "no sound data");
}

QString soundRefusal(const QString &fileName, const QString &why)
{
    if (why == QLatin1String(kTooLongReason))
        return QStringLiteral("「%1」は長すぎます（%2 秒まで）").arg(fileName).arg(kMaxSoundSeconds);
    // The decoder's words are for the log; the user is told what to do.
    qWarning("kelvoran: %s: %s", qPrintable(fileName), qPrintable(why));
    return QStringLiteral("「%1」は使える WAV ではありません").arg(fileName);
}

std::vector<float> toMono(const Audio &audio)
{
    if (audio.channels == 1)
        return audio.samples;
    std::vector<float> mono(size_t(audio.frames()));
    for (size_t f = 0; f < mono.size(); ++f) {
        float sum = 0;
        for (int c = 0; c < audio.channels; ++c)
            sum += audio.samples[f * size_t(audio.channels) + size_t(c)];
        mono[f] = sum / float(audio.channels);
    }
    return mono;
}

std::vector<float> resample(const std::vector<float> &mono, int from, int to)
{
    if (from == to || mono.empty())
        return mono;
    const size_t n = size_t(double(mono.size()) * to / from);
    std::vector<float> out(n);
    const double step = double(from) / to;
    for (size_t i = 0; i < n; ++i) {
        const double x = double(i) * step;
        const size_t k = size_t(x);
        const float a = mono[std::min(k, mono.size() - 1)];
        const float c = mono[std::min(k + 1, mono.size() - 1)];
        out[i] = a + float(x - double(k)) * (c - a);
    }
    return out;
}

std::vector<qint16> toPlayback(const Audio &audio)
{
    const std::vector<float> mono = resample(toMono(audio), audio.rate, kPlaybackRate);
    std::vector<qint16> out(mono.size());
    std::transform(mono.begin(), mono.end(), out.begin(), toSample16);
    return out;
}

QByteArray encodeWav16(const std::vector<float> &mono, int rate)
{
    const quint32 dataBytes = quint32(mono.size() * 2);
    QByteArray wav(44 + qsizetype(dataBytes), Qt::Uninitialized);
    char *p = wav.data();
    auto put32 = [&p](quint32 v) { qToLittleEndian(v, p); p += 4; };
    auto put16 = [&p](quint16 v) { qToLittleEndian(v, p); p += 2; };
    auto tag = [&p](const char *t) { std::copy(t, t + 4, p); p += 4; };
    tag("RIFF"); put32(36 + dataBytes); tag("WAVE");
    tag("fmt "); put32(16); put16(kFormatPcm); put16(1);
    put32(quint32(rate)); put32(quint32(rate) * 2); put16(2); put16(16);
    tag("data"); put32(dataBytes);
    for (float s : mono)
        put16(quint16(toSample16(s)));
    return wav;
}

} // namespace kel
