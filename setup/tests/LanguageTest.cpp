// The tool's two languages: the locale's choice, --lang's codes, and the
// built-in English translation covering every text while Italian stays the
// texts' own.

#include "SetupTexts.h"
#include "TestSupport.h"
#include "setup/SetupLanguage.h"

#include <QLocale>
#include <QTest>
#include <QTranslator>

#include <vector>

namespace {

std::vector<const char*> AllTexts()
{
    std::vector<const char*> all = {texts::kMainCaption,   texts::kDisplayButton,  texts::kControlsButton,
                                    texts::kResetTrophiesButton, texts::kLeave,    texts::kDisplayCaption,
                                    texts::kHighColour,    texts::kEightBit,       texts::kControlsCaption,
                                    texts::kDefault,       texts::kOk,             texts::kCancel,
                                    texts::kYes,           texts::kNo,             texts::kPressKey,
                                    texts::kKeyInUse,      texts::kErrorCaption,   texts::kCreateFailed,
                                    texts::kSaveFailed,    texts::kResetQuestion,  texts::kResetFailed};
    for (const char* button : texts::kControlButtons)
        all.push_back(button);
    return all;
}

} // namespace

class LanguageTest : public QObject {
    Q_OBJECT
private slots:
    void theLocaleChoosesItalianOnlyForItalian()
    {
        QCOMPARE(LanguageOfLocale(QLocale(QStringLiteral("it_IT"))), SetupLanguage::Italian);
        QCOMPARE(LanguageOfLocale(QLocale(QStringLiteral("it_CH"))), SetupLanguage::Italian);
        QCOMPARE(LanguageOfLocale(QLocale(QStringLiteral("en_GB"))), SetupLanguage::English);
        QCOMPARE(LanguageOfLocale(QLocale(QStringLiteral("en_US"))), SetupLanguage::English);
        QCOMPARE(LanguageOfLocale(QLocale(QStringLiteral("de_DE"))), SetupLanguage::English);
        QCOMPARE(LanguageOfLocale(QLocale::c()), SetupLanguage::English);
    }

    void langTakesTwoCodes()
    {
        SetupLanguage language = SetupLanguage::English;
        QVERIFY(ParseSetupLanguage(QStringLiteral("it"), language));
        QCOMPARE(language, SetupLanguage::Italian);
        QVERIFY(ParseSetupLanguage(QStringLiteral("en"), language));
        QCOMPARE(language, SetupLanguage::English);
        for (const char* bad : {"", "IT", "fr", "italian", "en_GB"}) {
            language = SetupLanguage::Italian;
            QVERIFY2(!ParseSetupLanguage(QString::fromLatin1(bad), language), bad);
            QCOMPARE(language, SetupLanguage::Italian);
        }
    }

    void englishTranslatesEveryTextAndItalianIsTheSource()
    {
        QTranslator translator;
        QVERIFY(UseSetupLanguage(SetupLanguage::English, translator));
        int differ = 0;
        for (const char* text : AllTexts()) {
            const QString english = translator.translate("setup", text);
            QVERIFY2(!english.isEmpty(), text);
            QCOMPARE(Text(text), english);
            differ += english != QString::fromUtf8(text);
        }
        QVERIFY(differ >= 20); // "OK", "Jeep", "High Colour" and a few more read the same
        QCOMPARE(Text(texts::kMainCaption), QStringLiteral("Game Setup"));
        QCOMPARE(Text(texts::kControlButtons[6]), QStringLiteral("Binoculars"));
        QCOMPARE(TextAboutFile(texts::kResetFailed, "/tmp/trophy.bin"),
                 QStringLiteral("Cannot delete \"/tmp/trophy.bin\": the trophies were not reset."));
        // A key name is no text of the tool's: it reads the same in both.
        QCOMPARE(Text("R Control"), QStringLiteral("R Control"));

        QVERIFY(UseSetupLanguage(SetupLanguage::Italian, translator));
        for (const char* text : AllTexts())
            QCOMPARE(Text(text), QString::fromUtf8(text));
        QCOMPARE(Text(texts::kKeyInUse),
                 QString::fromUtf8("Il pulsante selezionato è già in uso, per favore scegliete ancora…"));
    }
};

QT_TEST_CLASS(LanguageTest);
#include "LanguageTest.moc"
