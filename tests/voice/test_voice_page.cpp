// The voice page without a sound device: the sound check still steps
// through "あいうえお" at its pace and says in words that nothing can sound.
#include "support/TalkFixture.h"
#include "voice/VoicePage.h"

#include <QLabel>

using namespace kel;

class TestVoicePage : public QObject {
    Q_OBJECT
private slots:
    void soundCheckWithoutAnOutput()
    {
        TalkFixture fx;
        fx.addVoices({"あ", "い", "う", "え", "お"});
        VoicePage page(fx.talk());
        page.show();
        const double before = fx.clock.seconds();
        TalkFixture::click(page.findChild<QWidget *>("cmdSoundCheck"));
        QCOMPARE(fx.voiced(), QStringList({"あ", "い", "う", "え", "お"}));
        QVERIFY(fx.clock.seconds() - before > 2.5);
        QVERIFY(page.findChild<QLabel *>("lblOutput")->text().contains("見つかりません"));
    }
};

QTEST_MAIN(TestVoicePage)
#include "test_voice_page.moc"
