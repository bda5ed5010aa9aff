// Runs kvfedit's QTest classes headless (see QtTestClasses.h for choosing a
// class or a function).

#include "QtTestClasses.h"

#include <QApplication>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    return qttest::RunTestClasses(argc, argv);
}
