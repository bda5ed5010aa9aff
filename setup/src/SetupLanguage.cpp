#include "setup/SetupLanguage.h"

#include <QCoreApplication>
#include <QLocale>
#include <QString>
#include <QTranslator>

namespace {

// Where the build puts the English translation among the program's
// resources.
constexpr const char* kEnglishTranslation = ":/i18n/setup_en.qm";

} // namespace

bool ParseSetupLanguage(const QString& code, SetupLanguage& language)
{
    if (code == QLatin1String("it")) {
        language = SetupLanguage::Italian;
        return true;
    }
    if (code == QLatin1String("en")) {
        language = SetupLanguage::English;
        return true;
    }
    return false;
}

SetupLanguage LanguageOfLocale(const QLocale& locale)
{
    // Interface languages are BCP 47 names ("it-IT", "en", "de-CH"), the
    // user's preference first.
    for (const QString& name : locale.uiLanguages()) {
        const QString language = name.section(QLatin1Char('-'), 0, 0).toLower();
        if (language == QLatin1String("it"))
            return SetupLanguage::Italian;
        if (language == QLatin1String("en"))
            return SetupLanguage::English;
    }
    return SetupLanguage::English;
}

bool UseSetupLanguage(SetupLanguage language, QTranslator& translator)
{
    QCoreApplication::removeTranslator(&translator);
    if (language == SetupLanguage::Italian)
        return true;
    if (!translator.load(QString::fromLatin1(kEnglishTranslation)))
        return false;
    return QCoreApplication::installTranslator(&translator);
}
