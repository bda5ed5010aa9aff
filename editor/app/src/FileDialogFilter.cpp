#include "kvfedit/IEditorHost.h"

#include <QRegularExpression>
#include <QStringList>

QString FileDialogFilter(const char* filter)
{
    const QStringList parts = QString::fromUtf8(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;
        // The dialog takes its patterns from the parentheses of the name,
        // so the name's own are replaced by the filter's patterns.
        QString name = parts[i];
        name.remove(QRegularExpression(QStringLiteral("\\s*\\([^)]*\\)")));
        QStringList patterns = parts[i + 1].split(QRegularExpression(QStringLiteral("[;,\\s]+")), Qt::SkipEmptyParts);
        for (QString& pattern : patterns)
            if (pattern == QLatin1String("*.*"))
                pattern = QStringLiteral("*");
        filters << name + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}
