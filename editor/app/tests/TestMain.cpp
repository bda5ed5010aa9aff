// Runs kvfedit's QTest classes headless. With a class name as first argument
// only that class runs, the remaining arguments going to QTest (so CTest can
// run each class as a case of its own, and one function can be run by hand:
// `kvfedit_tests ViewTest penAtZoomEight`).

#include "TestSupport.h"

#include "sprites/CDibPacked.h"

#include <QApplication>
#include <QTest>

#include <cstring>
#include <vector>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    InstallPackedImageLoader();
    QApplication application(argc, argv);

    int status = 0;
    bool matched = false;
    for (const kvtest::TestClass& test : kvtest::TestClasses()) {
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
        std::fprintf(stderr, "kvfedit_tests: no test class %s\n", argv[1]);
        return 2;
    }
    return status;
}
