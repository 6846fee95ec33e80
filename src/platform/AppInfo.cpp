#include "platform/AppInfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace dorv {

namespace {
QString& OverridePath()
{
    static QString path;
    return path;
}
}  // namespace

QString AppPath()
{
    if (!OverridePath().isEmpty()) return OverridePath();
    const QString env = qEnvironmentVariable("DORV_CONTENT_DIR");
    if (!env.isEmpty()) return QDir::cleanPath(env);
    QString exeDir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    return QDir::cleanPath(exeDir + QStringLiteral("/../share/dorv"));
}

void SetAppPath(const QString& path) { OverridePath() = path; }

QString AppTitle() { return QStringLiteral("Dorv Zorazev"); }
int AppMajor() { return DORV_VERSION_MAJOR; }
int AppMinor() { return DORV_VERSION_MINOR; }
int AppRevision() { return DORV_VERSION_PATCH; }

}  // namespace dorv
