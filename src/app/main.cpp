#include "app/Main.h"
#include "platform/AppInfo.h"
#include "platform/Forms.h"

#include <QApplication>
#include <QScreen>
#include <QSessionManager>
#include <QStringList>

#include <algorithm>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(dorv::AppTitle());
    QApplication::setQuitOnLastWindowClosed(false);
    dorv::SetCommandLine(QApplication::arguments().mid(1).join(QLatin1Char(' ')));
    int result = 0;
    {
        Main main;
        // The desktop session is ending: the save question is still asked,
        // and the program closes whatever the answer.
        QObject::connect(&app, &QGuiApplication::commitDataRequest, &main,
                         [&main](QSessionManager&) { main.Unload(dorv::vbAppWindows); });
        // The tool windows dock inside the main window's right edge, so the
        // program opens as large as the desktop allows (never smaller than
        // its design size), leaving the canvas room beside them.
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry().adjusted(16, 16, -16, -16);
            const int32_t tx = dorv::TwipsPerPixelX(), ty = dorv::TwipsPerPixelY();
            main.Move(area.x() * tx, area.y() * ty, std::max(main.Width(), area.width() * tx),
                      std::max(main.Height(), area.height() * ty));
        }
        main.Show();
        if (!dorv::Ending()) result = QApplication::exec();
        dorv::Form::DestroyAll();
    }
    return result;
}
