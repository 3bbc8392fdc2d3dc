#include "compose/KeyStrokes.h"

#include <array>

namespace kel {

namespace {

struct KeyName {
    const char16_t* name;
    Qt::Key key;
};

constexpr std::array<KeyName, 7> kKeyNames{{
    {u"RIGHT", Qt::Key_Right},
    {u"LEFT", Qt::Key_Left},
    {u"UP", Qt::Key_Up},
    {u"DOWN", Qt::Key_Down},
    {u"BS", Qt::Key_Backspace},
    {u"BACKSPACE", Qt::Key_Backspace},
    {u"BKSP", Qt::Key_Backspace},
}};

// The key a braced name stands for, or 0 when the name is not known.
int keyForName(QStringView name)
{
    for (const KeyName& entry : kKeyNames) {
        if (name.compare(QStringView(entry.name), Qt::CaseInsensitive) == 0)
            return entry.key;
    }
    return 0;
}

} // namespace

QList<KeyStroke> parseKeyStrokes(QStringView keys)
{
    QList<KeyStroke> strokes;
    bool shift = false;
    qsizetype pos = 0;
    while (pos < keys.size()) {
        const QChar ch = keys[pos];
        if (ch == u'+') {
            shift = true;
            ++pos;
            continue;
        }
        int key = 0;
        if (ch == u'{') {
            const qsizetype close = keys.indexOf(u'}', pos + 1);
            if (close < 0)
                break;  // a brace left open ends the string
            key = keyForName(keys.sliced(pos + 1, close - pos - 1));
            pos = close + 1;
        } else {
            ++pos;  // a bare character names no key we send
        }
        if (key != 0)
            strokes.append({key, shift});
        shift = false;
    }
    return strokes;
}

} // namespace kel
