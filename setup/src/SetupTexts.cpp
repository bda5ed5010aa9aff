#include "SetupTexts.h"

#include <QFileInfo>

QString TextAboutFile(const char* utf8, const std::string& path)
{
    return Text(utf8).arg(QFileInfo(QString::fromStdString(path)).absoluteFilePath());
}
