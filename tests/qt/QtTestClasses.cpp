#include "QtTestClasses.h"

#include <QAbstractButton>
#include <QTest>
#include <QWidget>

#include <cstdio>
#include <cstring>

namespace qttest {

std::vector<TestClass>& TestClasses()
{
    static std::vector<TestClass> classes;
    return classes;
}

int RunTestClasses(int argc, char** argv)
{
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
        std::fprintf(stderr, "%s: no test class %s\n", argv[0], argc > 1 ? argv[1] : "");
        return 2;
    }
    return status;
}

QString WithoutMnemonic(const QString& text)
{
    QString shown;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size())
            ++i; // "&x" shows x underlined, "&&" one ampersand
        shown += text[i];
    }
    return shown;
}

QAbstractButton* FindButton(QWidget& parent, const QString& text)
{
    QAbstractButton* found = nullptr;
    for (QAbstractButton* button : parent.findChildren<QAbstractButton*>()) {
        if (WithoutMnemonic(button->text()) != text)
            continue;
        if (found)
            return nullptr;
        found = button;
    }
    return found;
}

} // namespace qttest
