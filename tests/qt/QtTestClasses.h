#pragma once
// The QTest classes of one test binary, registered by name at start-up, and
// the runner its main() calls: with a class name as first argument only that
// class runs, the remaining arguments going to QTest (so CTest can run each
// class as a case of its own, and one function can be run by hand:
// `kvfedit_tests ViewTest penAtZoomEight`).

#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QAbstractButton;
class QObject;
class QWidget;

namespace qttest {

struct TestClass {
    const char* name;
    std::function<std::unique_ptr<QObject>()> make;
};
std::vector<TestClass>& TestClasses();

struct TestClassRegistrar {
    TestClassRegistrar(const char* name, std::function<std::unique_ptr<QObject>()> make)
    {
        TestClasses().push_back({name, std::move(make)});
    }
};

// Runs the registered classes (or the one named by argv[1]) under the
// QApplication the caller made; 2 when no class has that name.
int RunTestClasses(int argc, char** argv);

// A widget's text as it is shown: the mnemonic marks taken out.
QString WithoutMnemonic(const QString& text);

// The one button (push, radio or tool) that shows this text (mnemonics
// aside); null when there is none or more than one.
QAbstractButton* FindButton(QWidget& parent, const QString& text);

} // namespace qttest

#define QT_TEST_CLASS(Class)                                                                                       \
    static const qttest::TestClassRegistrar Class##Registrar(#Class, [] { return std::make_unique<Class>(); })
