#pragma once
// The language of the setup tool's texts. Italian is the tool's own: its
// texts are written in it (SetupTexts.h) and need no translation. English
// comes from the translation file built into the program from
// setup/translations/setup_en.ts. The user's locale chooses; the command
// line (--lang it|en) may choose instead.

class QLocale;
class QString;
class QTranslator;

enum class SetupLanguage { Italian, English };

// "it" or "en" (the codes --lang takes); false for anything else.
bool ParseSetupLanguage(const QString& code, SetupLanguage& language);

// The language `locale` asks for: the first of its interface languages that
// is Italian or English decides; a locale that asks for neither (another
// language, or the plain "C" locale) gets English.
SetupLanguage LanguageOfLocale(const QLocale& locale);

// Makes `language` the language of the texts the program shows from now on:
// for English, loads the built-in translation into `translator` (which must
// outlive its use) and installs it in the application; for Italian, removes
// `translator` if it was installed. False when the translation is missing
// from the program (the texts then stay Italian).
bool UseSetupLanguage(SetupLanguage language, QTranslator& translator);
