#include "DialogLayout.h"

#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QLayout>
#include <QPushButton>
#include <QSize>
#include <QWidget>

QSize DialogUnitsToPixels(const QWidget& dialog, int width, int height)
{
    const QFontMetricsF metrics(dialog.font());
    const double average =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 52.0;
    return QSize(qRound(width * average / 4.0), qRound(height * metrics.height() / 8.0));
}

void FixDialogSize(QWidget& dialog, int width, int height)
{
    QSize size = DialogUnitsToPixels(dialog, width, height);
    if (dialog.layout())
        size = size.expandedTo(dialog.layout()->totalMinimumSize()).expandedTo(dialog.layout()->sizeHint());
    dialog.setFixedSize(size);
}

QHBoxLayout* BottomButtonRow(std::initializer_list<QPushButton*> buttons)
{
    auto* row = new QHBoxLayout;
    bool first = true;
    for (QPushButton* button : buttons) {
        if (!first)
            row->addStretch();
        button->setDefault(first);
        row->addWidget(button);
        first = false;
    }
    return row;
}
