// Renders the screens the README shows to OUTDIR/use-<name>.png, from a
// window on a fresh program folder with a few sentences and a diary entry,
// reached by touches as a user makes them. Run through tools/screenshot --docs.
#include "samples/SampleDriving.h"

#include <QApplication>
#include <QKeyEvent>

using namespace kel;

namespace {

// `w` (the window by default) in 256 colours: a third of the bytes, and
// the few colours of the screens kept.
void shoot(TalkFixture &fx, const QString &dir, const char *name, QWidget *w = nullptr)
{
    TalkFixture::settle();
    const QString file = dir + QStringLiteral("/use-%1.png").arg(QLatin1String(name));
    const QImage image = (w ? w : fx.win.get())->grab().toImage().convertToFormat(QImage::Format_Indexed8);
    if (!image.save(file, "PNG", 0))
        qFatal("cannot write %s", qPrintable(file));
}

// Opens the dialogs `path` names from `opener` on, each by the button
// `via` names in the one before, pictures the last, and closes them all.
void shootDialog(TalkFixture &fx, const QString &dir, const char *name, QWidget *opener, const QStringList &path,
                 const char *via = nullptr)
{
    std::vector<ModalScript::Step> steps;
    for (qsizetype i = 0; i < path.size(); ++i)
        steps.push_back({path[i], [&, last = i + 1 == path.size()](QWidget *d) {
                             if (!last)
                                 return TalkFixture::click(child(d, via));
                             shoot(fx, dir, name, d);
                             d->close();
                         }});
    for (qsizetype i = path.size() - 2; i >= 0; --i)
        steps.push_back({path[i], [](QWidget *d) { d->close(); }});
    ModalScript script(steps);
    TalkFixture::click(opener);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs");
    const QStringList sentences{kPlaceholder, "ありがとう", "ありがとうございました", "くすりをください", "まどをあけて", "みずをください"};
    // A diary entry of the day before, "04.09.24 朝ごはん".
    const std::map<QString, QByteArray> files{
        {QStringLiteral("Talk.txt"), records(sentences)},
        {QStringLiteral("day.txt"), QByteArray::fromHex("22 30 34 2E 30 39 2E 32 34 20 92 A9 82 B2 82 CD 82 F1 22 0D 0A")}};
    TalkFixture fx({}, files);

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
    drive(fx, QStringLiteral("決定"));
    shoot(fx, dir, "decided");

    // 始め asks before clearing.
    shootDialog(fx, dir, "start", fx.ui().cmdStart, {QStringLiteral("frmOK")});

    // The diary's path: 例文表示 → 日記 → 決定 → 決定 → 修正する.
    drive(fx, QStringLiteral("例文表示"));
    shoot(fx, dir, "list");
    drive(fx, QStringLiteral("決定"));
    shoot(fx, dir, "dates");
    drive(fx, QStringLiteral("決定"));
    shoot(fx, dir, "entry");
    drive(fx, QStringLiteral("修正する"));
    shoot(fx, dir, "revising");
    drive(fx, QStringLiteral("日記終了"), {1});

    // The boards: katakana, then letters and digits.
    TalkFixture::click(fx.ui().cmdKey);
    shoot(fx, dir, "katakana");
    TalkFixture::click(fx.ui().cmdKey);
    shoot(fx, dir, "letters");
    TalkFixture::click(fx.ui().cmdKey);

    // "設定" → "その他": the spoken reading, switches and dwell, backups.
    shootDialog(fx, dir, "more", fx.ui().cmdOpt, {QStringLiteral("frmOPT"), QStringLiteral("frmMore")}, "cmdMore");

    // One switch: the first press starts the scan, on the board's first group.
    TalkFixture scan({{QStringLiteral("ACCESS/Scan"), QStringLiteral("1")}}, files);
    for (auto type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent space(type, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        QApplication::sendEvent(scan.win.get(), &space);
    }
    shoot(scan, dir, "scan");
    return 0;
}
