// Runs the setup tool's QTest classes. With a class name as first argument
// only that class runs, with the remaining arguments passed to QTest (so
// CTest can run each class as its own case, and a single function can be run
// by hand: `setup_tests DialogsTest snapshots`).

#include "TestSupport.h"

#include <QApplication>
#include <QTest>

#include <cstring>
#include <vector>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    int status = 0;
    bool matched = false;
    for (const TestClass& test : TestClasses()) {
        if (argc > 1 && std::strcmp(argv[1], test.name) != 0)
            continue;
        matched = true;
        std::vector<char*> arguments{argv[0]};
        for (int i = 2; i < argc; ++i)
            arguments.push_back(argv[i]);
        std::unique_ptr<QObject> object = test.make();
        status |= QTest::qExec(object.get(), int(arguments.size()), arguments.data());
    }
    if (!matched) {
        std::fprintf(stderr, "setup_tests: no test class %s\n", argv[1]);
        return 2;
    }
    return status;
}
