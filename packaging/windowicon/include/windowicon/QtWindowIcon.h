#pragma once
// A program's window icon for Qt: every size in one QIcon, so each place the
// desktop shows it takes the nearest. Set on the application, it is the
// icon of every window the program opens.

#include "windowicon/WindowIcon.h"

#include <QIcon>
#include <QImage>
#include <QPixmap>

inline QIcon MakeWindowIcon(WindowIconOf program)
{
    QIcon icon;
    for (const WindowIconImage& image : WindowIconImages(program))
        icon.addPixmap(QPixmap::fromImage(
            QImage(image.rgba, image.size, image.size, image.size * 4, QImage::Format_RGBA8888)));
    return icon;
}
