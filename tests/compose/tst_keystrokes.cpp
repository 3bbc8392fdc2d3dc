// The keystroke strings of the editing actions turned into key presses.

#include "compose/KeyStrokes.h"

#include <QTest>

namespace {

// Readable form of a parsed sequence: "Left Backspace Shift+Right".
QString describe(const QList<kel::KeyStroke>& strokes)
{
    QStringList names;
    for (const kel::KeyStroke& stroke : strokes) {
        QString name;
        switch (stroke.key) {
        case Qt::Key_Right: name = QStringLiteral("Right"); break;
        case Qt::Key_Left: name = QStringLiteral("Left"); break;
        case Qt::Key_Up: name = QStringLiteral("Up"); break;
        case Qt::Key_Down: name = QStringLiteral("Down"); break;
        case Qt::Key_Backspace: name = QStringLiteral("Backspace"); break;
        default: name = QStringLiteral("key 0x%1").arg(stroke.key, 0, 16); break;
        }
        names.append(stroke.shift ? QStringLiteral("Shift+") + name : name);
    }
    return names.join(u' ');
}

} // namespace

class TestKeyStrokes : public QObject {
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void parse_keyValues();
};

void TestKeyStrokes::parse_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("strokes");

    // The strings the editing keys, the board and the decision send.
    QTest::newRow("restore the block") << "+{RIGHT}" << "Shift+Right";
    QTest::newRow("block one left") << "+{LEFT}" << "Shift+Left";
    QTest::newRow("plain right") << "{RIGHT}" << "Right";
    QTest::newRow("plain left") << "{LEFT}" << "Left";
    QTest::newRow("back-space") << "{BS}" << "Backspace";
    QTest::newRow("up") << "{UP}" << "Up";
    QTest::newRow("down") << "{DOWN}" << "Down";
    QTest::newRow("back-space on the marker") << "{LEFT}{BS}+{RIGHT}"
                                               << "Left Backspace Shift+Right";
    QTest::newRow("line down") << "{DOWN}{LEFT}+{RIGHT}" << "Down Left Shift+Right";
    QTest::newRow("line up") << "{UP}{RIGHT}+{LEFT}" << "Up Right Shift+Left";

    // Shift holds for the next key only.
    QTest::newRow("shift does not carry over") << "+{RIGHT}{RIGHT}" << "Shift+Right Right";
    QTest::newRow("doubled plus is one shift") << "++{LEFT}" << "Shift+Left";
    QTest::newRow("trailing plus adds nothing") << "{LEFT}+" << "Left";

    // Other spellings of the same keys.
    QTest::newRow("names ignore case") << "+{right}{Bs}" << "Shift+Right Backspace";
    QTest::newRow("BACKSPACE and BKSP") << "{BACKSPACE}{BKSP}" << "Backspace Backspace";

    // Whatever is not understood is skipped.
    QTest::newRow("empty string") << "" << "";
    QTest::newRow("unknown name uses up the shift") << "+{F1}{DOWN}" << "Down";
    QTest::newRow("bare character uses up the shift") << "+a{RIGHT}" << "Right";
    QTest::newRow("empty braces") << "{}{UP}" << "Up";
    QTest::newRow("stray closing brace") << "}{LEFT}" << "Left";
    QTest::newRow("brace left open ends the string") << "{LEFT}{RIGHT" << "Left";
    QTest::newRow("name with spaces is unknown") << "{ LEFT }{UP}" << "Up";
}

void TestKeyStrokes::parse()
{
    QFETCH(QString, keys);
    QFETCH(QString, strokes);

    QCOMPARE(describe(kel::parseKeyStrokes(keys)), strokes);
}

void TestKeyStrokes::parse_keyValues()
{
    // The values are the ones a QKeyEvent carries, so the widget code can
    // post them to the text box unchanged.
    const QList<kel::KeyStroke> expected{
        {Qt::Key_Left, false}, {Qt::Key_Backspace, false}, {Qt::Key_Right, true},
        {Qt::Key_Up, false}, {Qt::Key_Down, true}};
    QCOMPARE(kel::parseKeyStrokes(u"{LEFT}{BS}+{RIGHT}{UP}+{DOWN}"), expected);
}

QTEST_APPLESS_MAIN(TestKeyStrokes)
#include "tst_keystrokes.moc"
