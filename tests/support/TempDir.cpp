#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString TempDir::write(const QString& relative, const QByteArray& data) const
{
    const QString p = file(relative);
    QDir().mkpath(QFileInfo(p).path());
    QFile f(p);
    if (f.open(QIODevice::WriteOnly)) f.write(data);
    return p;
}

QString TempDir::mkdir(const QString& relative) const
{
    const QString p = file(relative);
    QDir().mkpath(p);
    return p;
}
