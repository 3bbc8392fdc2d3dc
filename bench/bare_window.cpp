// A bare Qt window built like the program, for comparing start-up times.
// With --label it shows one line of Japanese text in the program's font, so
// that it pays the font database's start-up as the program does.
#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QTimer>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget w;
    w.resize(786, 544);
    if (QCoreApplication::arguments().contains(QStringLiteral("--label"))) {
        QFont::insertSubstitution(QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"));
        auto *label = new QLabel(QStringLiteral("かきくけこ"), &w);
        label->setFont(QFont(QStringLiteral("ＭＳ ゴシック"), 44));
    }
    w.show();
    QTimer::singleShot(0, &w, [] { QCoreApplication::exit(0); });
    return app.exec();
}
