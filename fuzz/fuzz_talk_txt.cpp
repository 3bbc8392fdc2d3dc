// Any bytes as Talk.txt: decoded, split into sentences, and written back.
#include "samples/SampleFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const kel::DecodedText decoded = kel::decodeTextFile(bytes);
    const QStringList sentences = kel::parseSamples(decoded.text);
    // What is read can always be stored again, with "？" where it must be.
    QStringList cells;
    for (const QString &s : sentences)
        cells << kel::replaceUnencodable(s);
    const kel::EncodedFile file = kel::encodeSamples(cells);
    if (!file.ok())
        __builtin_trap();
    return 0;
}
