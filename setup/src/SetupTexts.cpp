#include "SetupTexts.h"

#include "setup/SetupKeyNames.h"

#include <QFileInfo>

QString TextAboutFile(const char* utf8, const std::string& path)
{
    return Text(utf8).arg(QFileInfo(QString::fromStdString(path)).absoluteFilePath());
}

QString ButtonText(const char* utf8, char letter)
{
    QString text = Text(utf8);
    if (text.contains(QLatin1Char('&')))
        return text;
    // The Italian letter, or in a translation the same letter in either
    // case, else the translation's first letter.
    qsizetype at = text.indexOf(QLatin1Char(letter));
    if (at < 0)
        at = text.indexOf(QLatin1Char(letter), 0, Qt::CaseInsensitive);
    if (at < 0 && !text.isEmpty() && text[0].isLetterOrNumber())
        at = 0;
    if (at >= 0)
        text.insert(at, QLatin1Char('&'));
    return text;
}

QString KeyNameShown(int code)
{
    if (code == 0)
        return Text(texts::kUnbound);
    const char* name = SetupKeyName(code);
    return *name ? Text(name) : Text(texts::kUnnamedKey).arg(code);
}
