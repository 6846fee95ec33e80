#include "platform/AppInfo.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(dorv::AppTitle());
    return 0;
}
