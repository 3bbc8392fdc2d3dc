// The main of the test programs (see TestMain.h): as QTEST_MAIN, but for
// the class named first on the command line.
#include "support/TestMain.h"

#ifdef KEL_TEST_UI
#include "support/DialogWatch.h"
#include <QApplication>
using App = QApplication;
#else
#include <QCoreApplication>
using App = QCoreApplication;
#endif

#include <cstdio>

int main(int argc, char **argv)
{
    using namespace kel::test;
    if (argc >= 2 && childMains().contains(argv[1]))
        return childMains().at(argv[1])(argc, argv);
    if (argc < 2 || !testClasses().contains(argv[1])) {
        std::fprintf(stderr, "usage: %s TEST [QTest options]; TEST one of:", argv[0]);
        for (const auto &entry : testClasses())
            std::fprintf(stderr, " %s", entry.first.c_str());
        std::fputc('\n', stderr);
        return 2;
    }
    const kel::test::TestClass &chosen = testClasses().at(argv[1]);
    chosen.initMain();
    App app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
#ifdef KEL_TEST_UI
    DialogWatchdog watchdog;
    app.installEventFilter(&watchdog);
#endif
    const std::unique_ptr<QObject> test = chosen.make();
    argv[1] = argv[0]; // QTest reads the options after the program's name
    return QTest::qExec(test.get(), argc - 1, argv + 1);
}
