#include "base/AnsiText.h"

#include "base/StoredFile.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace kel {

namespace {

constexpr const char *kCp932Name = "windows-31j";

// ICU's windows-31j table keeps IBM's arrangement of three control codes:
// byte 1A is U+001C there, 1C is U+007F and 7F is U+001A. Windows maps every
// byte below 0x80 to itself, and so must we. None of the three bytes can be
// the second byte of a double-byte character, so swapping the characters
// before encoding and after decoding is exact.
struct ControlSwap {
    char16_t windows;
    char16_t icu;
};
constexpr ControlSwap kControlSwaps[] = {{0x1A, 0x1C}, {0x1C, 0x7F}, {0x7F, 0x1A}};

enum class Direction { WindowsToIcu, IcuToWindows };

QString swapControlCodes(QString text, Direction direction)
{
    for (QChar &ch : text) {
        for (const ControlSwap &swap : kControlSwaps) {
            const char16_t from = direction == Direction::WindowsToIcu ? swap.windows : swap.icu;
            if (ch.unicode() == from) {
                ch = QChar(direction == Direction::WindowsToIcu ? swap.icu : swap.windows);
                break;
            }
        }
    }
    return text;
}

// Characters that code page 932 holds in another Unicode form than the one
// most programs write today: a file from an editor or another system says
// 〜 where code page 932 has ～. Written as the form it holds, such a text
// keeps its meaning instead of being refused.
struct FormMapping {
    char16_t from;
    char16_t to;
};
constexpr FormMapping kCp932Forms[] = {
    {0x301C, 0xFF5E}, // 〜 -> ～
    {0x2212, 0xFF0D}, // − -> －
    {0x2016, 0x2225}, // ‖ -> ∥
    {0x2014, 0x2015}, // — -> ―
    {0x00A2, 0xFFE0}, // ¢ -> ￠
    {0x00A3, 0xFFE1}, // £ -> ￡
    {0x00AC, 0xFFE2}, // ¬ -> ￢
};

QString toCp932Forms(QString text)
{
    for (QChar &ch : text) {
        for (const FormMapping &m : kCp932Forms) {
            if (ch.unicode() == m.from) {
                ch = QChar(m.to);
                break;
            }
        }
    }
    return text;
}

struct Decoded {
    QString text;
    bool ok;
};

Decoded decodeCp932(const QByteArray &bytes)
{
    // Stateless, so that a lone lead byte at the very end is an error
    // instead of being held back silently.
    QStringDecoder decoder(kCp932Name, QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return {text, false};
    return {swapControlCodes(text, Direction::IcuToWindows), true};
}

Decoded decodeUtf8Strictly(const QByteArray &bytes)
{
    // ConvertInitialBom: a byte-order mark already removed by the caller
    // must not swallow a second one that is content.
    QStringDecoder decoder(QStringConverter::Utf8,
                           QStringConverter::Flag::Stateless
                               | QStringConverter::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    return {text, !decoder.hasError()};
}

bool isAscii(const QByteArray &bytes)
{
    for (char byte : bytes) {
        if (static_cast<unsigned char>(byte) >= 0x80)
            return false;
    }
    return true;
}

} // namespace

std::optional<QByteArray> encodeCp932(const QString &text)
{
    QStringEncoder encoder(kCp932Name, QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder.encode(swapControlCodes(toCp932Forms(text), Direction::WindowsToIcu));
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

QString firstUnencodableCharacter(const QString &text)
{
    for (qsizetype i = 0; i < text.size();) {
        const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size()
                          && text.at(i + 1).isLowSurrogate();
        const QString character = text.mid(i, pair ? 2 : 1);
        if (!encodeCp932(character))
            return character;
        i += character.size();
    }
    return {};
}

QString replaceUnencodable(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size()
                          && text.at(i + 1).isLowSurrogate();
        const QString character = text.mid(i, pair ? 2 : 1);
        out += encodeCp932(character) ? character : QStringLiteral("？");
        i += character.size();
    }
    return out;
}

DecodedText decodeTextFile(const QByteArray &bytes)
{
    static const QByteArray utf8Bom("\xEF\xBB\xBF");
    if (bytes.startsWith(utf8Bom)) {
        const Decoded utf8 = decodeUtf8Strictly(bytes.mid(utf8Bom.size()));
        return {utf8.text, utf8.ok ? DecodedText::Utf8 : DecodedText::Invalid};
    }
    // The cheap check first: a code page 932 file is almost never valid UTF-8.
    if (!isAscii(bytes) && QByteArrayView(bytes).isValidUtf8()) {
        const Decoded utf8 = decodeUtf8Strictly(bytes);
        if (utf8.ok)
            return {utf8.text, DecodedText::Utf8};
    }
    const Decoded cp932 = decodeCp932(bytes);
    return {cp932.text, cp932.ok ? DecodedText::Cp932 : DecodedText::Invalid};
}

QStringList splitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch != u'\r' && ch != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (ch == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

QString trimSpaces(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == u' ')
        ++begin;
    while (end > begin && text.at(end - 1) == u' ')
        --end;
    return text.mid(begin, end - begin);
}

QString oneLine(const QString &text)
{
    QString out = text;
    out.replace(QLatin1String("\r\n"), QLatin1String(" "));
    out.replace(QLatin1Char('\r'), QLatin1Char(' '));
    out.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return out;
}

std::optional<QByteArray> encodeRecord(const QString &text)
{
    const std::optional<QByteArray> body = encodeCp932(oneLine(text));
    if (!body)
        return std::nullopt;
    return '"' + *body + "\"\r\n";
}

LoadedFile loadTextFile(const QString &path)
{
    StoredRead read = readStoredFile(path, storedFileLimit(path));
    switch (read.status) {
    case StoredRead::Missing:
        return {LoadedFile::Missing, {}};
    case StoredRead::Read:
        return {LoadedFile::Read, std::move(read.bytes)};
    case StoredRead::NotRegular:
        return {LoadedFile::NotRegular, {}};
    case StoredRead::TooLarge:
        return {LoadedFile::TooLarge, {}};
    case StoredRead::Unreadable:
        break;
    }
    qWarning("kelvoran: %s: %s", qPrintable(path), qPrintable(read.reason));
    return {LoadedFile::Unreadable, {}};
}

} // namespace kel
