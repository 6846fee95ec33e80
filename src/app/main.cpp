#include "app/Main.h"
#include "platform/AppInfo.h"
#include "platform/Forms.h"

#include <QApplication>
#include <QSessionManager>
#include <QStringList>

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
        main.Show();
        if (!dorv::Ending()) result = QApplication::exec();
        dorv::Form::DestroyAll();
    }
    return result;
}
