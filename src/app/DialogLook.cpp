#include "app/DialogLook.h"

#include <QGuiApplication>
#include <QScreen>

void SetDialogLook(dorv::Form& form, int width, int height, int pointSize)
{
    QFont font = form.font();
    font.setPointSize(pointSize);
    form.setFont(font);
    form.setFixedSize(width, height);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect free = screen->availableGeometry();
        form.move(free.x() + (free.width() - width) / 2, free.y() + (free.height() - height) / 2);
    }
}
