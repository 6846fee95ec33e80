#pragma once
// A private temporary folder for one test, removed at its end, with helpers
// to make fixture files in it.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

class TempDir {
public:
    TempDir() { dir_.setAutoRemove(true); }
    QString path() const { return dir_.path(); }
    QString file(const QString& relative) const { return dir_.path() + QLatin1Char('/') + relative; }
    // Writes `data` to `relative` (folders made as needed); returns the full path.
    QString write(const QString& relative, const QByteArray& data) const;
    QString mkdir(const QString& relative) const;

private:
    QTemporaryDir dir_;
};
