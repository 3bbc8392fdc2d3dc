#pragma once
// Talk.txt contents for the screen tests, and reading the example list back.

#include "app/AnsiText.h"
#include "app/FlexGrid.h"
#include "samples/SampleFile.h"

#include <QByteArray>
#include <QStringList>

namespace kel {

// "ああああ日記ダミー消さないでね！" as the program writes it: 36 bytes.
inline const QByteArray kPlaceholderRecord = QByteArray::fromHex(
    "2282A082A082A082A093FA8B4C835F837E815B8FC182B382C882A282C582CB814922" "0D0A");

// The records of `sentences` in order, each as the program writes one.
inline QByteArray records(const QStringList &sentences)
{
    QByteArray bytes;
    for (const QString &s : sentences)
        bytes += encodeRecord(s).value();
    return bytes;
}

inline QStringList column(const FlexGrid *g, int col)
{
    QStringList cells;
    for (int r = 0; r < g->Rows(); ++r)
        cells << g->TextMatrix(r, col);
    return cells;
}

} // namespace kel
