// Runs the widget test class named on the command line (all without one).
#include <QApplication>
#include <QTest>

#include "tests/shell/qt/qt_test_registry.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QString only = argc > 1 ? QString(argv[1]) : QString();
    int failed = 0, ran = 0;
    for (const auto& [name, make] : vx::test::qtTestRegistry()) {
        if (!only.isEmpty() && only != name) continue;
        std::unique_ptr<QObject> test = make();
        char* args[] = {argv[0]};
        failed += QTest::qExec(test.get(), 1, args);
        ++ran;
    }
    if (ran == 0) {
        qWarning("no test class named %s", qPrintable(only));
        return 2;
    }
    return failed == 0 ? 0 : 1;
}
