// Renders the screens the README shows to OUTDIR/use-<name>.png, from a
// window on a fresh program folder with a few sentences, reached by touches
// as a user makes them. Run through tools/screenshot --docs.
#include "samples/SampleDriving.h"

#include <QApplication>

using namespace kel;

namespace {

void shoot(TalkFixture &fx, const QString &dir, const char *name)
{
    TalkFixture::settle();
    const QString file = dir + QStringLiteral("/use-%1.png").arg(QLatin1String(name));
    if (!fx.win->grab().save(file))
        qFatal("cannot write %s", qPrintable(file));
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs");
    const QStringList sentences{kPlaceholder, "ありがとう", "ありがとうございました", "くすりをください", "まどをあけて", "みずをください"};
    TalkFixture fx({}, {{QStringLiteral("Talk.txt"), records(sentences)}});

    fx.setText(QStringLiteral("まどをあけて_"), 6, 1);
    shoot(fx, dir, "board");

    // く on the board: the enlarged screen with す く ぐ.
    fx.setText(QStringLiteral("_"), 0, 1);
    TalkFixture::touchCell(fx.ui().grdBoard, 2, 8);
    shoot(fx, dir, "enlarged");
    TalkFixture::click(fx.ui().cmdEnd2);

    // あ, then り: the sentences that begin with あり.
    for (auto [row, col] : {std::pair{0, 9}, {1, 1}}) {
        TalkFixture::touchCell(fx.ui().grdBoard, row, col);
        fx.clock.sleepFor(std::chrono::seconds(1));
        TalkFixture::touchCell(fx.ui().grdBoard2, 1, 1);
        fx.clock.sleepFor(std::chrono::seconds(1));
    }
    shoot(fx, dir, "suggestions");
    return 0;
}
