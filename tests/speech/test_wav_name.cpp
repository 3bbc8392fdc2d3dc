// WAV file names: the character unchanged after the program folder, or no
// file at all when the text cannot be one file name.

#include "speech/WavName.h"

#include <QTest>

using namespace kel;

class TestWavName : public QObject {
    Q_OBJECT

private slots:
    void wavPath_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("playable");
        QTest::addColumn<QString>("path");
        const auto ok = [](const char *row, const QString &text, const QString &path) {
            QTest::newRow(row) << text << true << path;
        };
        const auto none = [](const char *row, const QString &text) {
            QTest::newRow(row) << text << false << QString();
        };
        ok("hiragana", u"あ"_qs, u"/opt/talk/あ.wav"_qs);
        ok("katakana is its own file", u"ア"_qs, u"/opt/talk/ア.wav"_qs);
        ok("capital A", u"A"_qs, u"/opt/talk/A.wav"_qs);
        ok("small a is not folded to A", u"a"_qs, u"/opt/talk/a.wav"_qs);
        ok("face text of five characters", u"(^_^)"_qs, u"/opt/talk/(^_^).wav"_qs);
        ok("full-width space", u"\u3000"_qs, u"/opt/talk/\u3000.wav"_qs);
        ok("half-width space", u" "_qs, u"/opt/talk/ .wav"_qs);
        ok("period", u"."_qs, u"/opt/talk/..wav"_qs);
        ok("backslash is an ordinary character here", u"\\"_qs, u"/opt/talk/\\.wav"_qs);
        ok("character beyond the BMP as a surrogate pair", u"\U00020BB7"_qs, u"/opt/talk/\U00020BB7.wav"_qs);
        none("empty text", QString());
        none("slash would name the folder's .wav", u"/"_qs);
        none("slash inside a text", u"a/b"_qs);
        none("NUL", QString(QChar(u'\0')));
        none("line feed", u"\n"_qs);
        none("carriage return", u"\r"_qs);
        none("CR LF", u"\r\n"_qs);
        none("lone high surrogate", QString(QChar(0xD842)));
        none("lone low surrogate", QString(QChar(0xDFB7)));
        none("high surrogate before a letter", QString(QChar(0xD842)) + u'a');
        none("surrogates in the wrong order", QString(QChar(0xDFB7)) + QChar(0xD842));
    }

    void wavPath()
    {
        QFETCH(QString, text);
        QFETCH(bool, playable);
        QFETCH(QString, path);
        const auto result = wavPathFor(u"/opt/talk"_qs, text);
        QCOMPARE(result.has_value(), playable);
        if (playable)
            QCOMPARE(*result, path);
    }
};

QTEST_GUILESS_MAIN(TestWavName)
#include "test_wav_name.moc"
