#include "scene/SceneExport.h"

#include "platform/AppInfo.h"
#include "platform/FileSystem.h"
#include "platform/NumberFormat.h"
#include "scene/FileMod.h"
#include "scene/SceneState.h"
#include "scene/WindowPort.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace FileMod {

using dorv::FormatFixed;

namespace {

constexpr float kUnitsPerMetre = 36288;
constexpr char q = '"';

QString LocalePoint() { return QLocale().decimalPoint(); }

QString Metres(float units, const QString& point) { return FormatFixed(UnitsToMetres(units), 3, point); }

// The current date and time as the user's locale writes them: the date, a
// blank, the time.
QString Now()
{
    const QLocale locale;
    const QDateTime now = QDateTime::currentDateTime();
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QLatin1Char('t'));
    return locale.toString(now.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           locale.toString(now.time(), timeFormat.trimmed());
}

// A budget-window text as a number with two decimals; a text that does not
// read as a number in the user's locale (its currency symbol aside) is
// written unchanged.
QString MoneyText(const QString& text)
{
    const QLocale locale;
    QString t = text.trimmed();
    const QString symbol = locale.currencySymbol();
    if (!symbol.isEmpty() && t.startsWith(symbol)) t = t.mid(symbol.size()).trimmed();
    bool ok = false;
    const double v = locale.toDouble(t, &ok);
    return ok ? FormatFixed(v, 2, LocalePoint()) : text;
}

// The angle of the item's view in radians. An item of no views stands in
// its only one. A wall item's views but the last (its front picture) face
// the four walls, a quarter turn apart.
double Angle(const ItemRecord& item)
{
    int32_t views = std::max<int32_t>(1, item.ViewCount);
    if ((item.Flags & kItemOnWall) && views > 1) views -= 1;
    return item.ViewIndex * 3.1415928 / (views * 0.5);
}

QString EnvironmentName() { return GetTrimmedFileName(G.EnvFolder); }

// The ordinary items: from the room's first real item to the count.
int32_t FirstItem(int32_t count) { return std::clamp<int32_t>(G.Room.FirstRealItem, 0, std::max(0, count)); }

int32_t UsedCount(const std::vector<ItemRecord>& items, int32_t itemCount)
{
    return std::clamp<int32_t>(itemCount, 0, static_cast<int32_t>(items.size()));
}

// Lines in UTF-8, the text of a Linux desktop (and what a VRML world's
// header declares), each ending in CR LF.
bool WriteLines(const QString& path, const QStringList& lines, QString* error)
{
    QByteArray bytes;
    for (const QString& line : lines) bytes += line.toUtf8() + "\r\n";
    return dorv::WriteWholeFile(path, bytes, error);
}

QString Hex(int32_t colour) { return QString::number(static_cast<uint32_t>(colour), 16).toUpper(); }

// A path inside a VRML string: "/" between names, as URLs have them, and
// the two characters a string escapes.
QString VrmlPath(QString path)
{
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    path.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    return path;
}

// The pictures and models a world refers to are copied from the program's
// own VRML folder to the same place beside the world, unless a file is there
// already. All of them are copied or none: what one export made is taken
// back when a later copy, or the world itself, cannot be written.
class SupportFiles {
public:
    explicit SupportFiles(const QString& worldFolder) : folder_(worldFolder) {}

    // `relative` names a file under both folders, "/" between names.
    bool copy(const QString& relative, QString* error)
    {
        // A name read from a scene file must not lead out of the folders.
        if (relative.split(QLatin1Char('/')).contains(QStringLiteral(".."))) return true;
        if (!QFileInfo(folder_).isDir()) {
            if (error) *error = QStringLiteral("the folder %1 does not exist").arg(folder_);
            return false;
        }
        const QString target = dorv::FindPath(folder_ + QLatin1Char('/') + relative);
        if (QFileInfo::exists(target)) return true;
        const QString source = dorv::FindPath(dorv::AppPath() + QLatin1Char('/') + relative);
        if (!dorv::IsReadableFile(source)) return true;  // nothing ships for it (an add-on item)
        const QString dir = QFileInfo(target).absolutePath();
        if (!makeFolder(dir, error)) return false;
        bool ok = false;
        const QByteArray data = dorv::ReadWholeFile(source, &ok);
        if (!ok) {
            if (error) *error = QStringLiteral("%1 cannot be read").arg(source);
            return false;
        }
        if (!dorv::WriteWholeFile(target, data, error)) return false;
        files_.append(target);
        return true;
    }

    void undo()
    {
        for (const QString& f : files_) QFile::remove(f);
        for (auto it = folders_.rbegin(); it != folders_.rend(); ++it) QDir().rmdir(*it);
        files_.clear();
        folders_.clear();
    }

private:
    bool makeFolder(const QString& dir, QString* error)
    {
        if (QFileInfo(dir).isDir()) return true;
        const QString parent = QFileInfo(dir).absolutePath();
        if (parent != dir && !makeFolder(parent, error)) return false;
        if (!QDir().mkdir(dir)) {
            if (error) *error = QStringLiteral("the folder %1 cannot be made").arg(dir);
            return false;
        }
        folders_.append(dir);
        return true;
    }

    QString folder_;
    QStringList files_, folders_;
};

}  // namespace

float UnitsToMetres(float value) { return value / kUnitsPerMetre; }

bool ExportTextFile(const QString& path, const std::vector<ItemRecord>& items, int32_t itemCount, QString* error)
{
    const QString point = LocalePoint();
    const int32_t count = UsedCount(items, itemCount);
    const int32_t first = FirstItem(count);
    QStringList lines;
    lines << QStringLiteral("DorvText file") << QStringLiteral("Version 1.00")
          << QStringLiteral("Generated by Dorv+v2 on ") + Now() << QString();
    lines << QStringLiteral("FloorCol:&H") + Hex(G.FloorColour) << QStringLiteral("WallCol:&H") + Hex(G.WallColour)
          << QStringLiteral("BackCol:&H") + Hex(G.BackgroundColour);
    lines << QStringLiteral("FloorWidth:") + Metres(static_cast<float>(G.Room.ExtentX), point)
          << QStringLiteral("FloorLength:") + Metres(static_cast<float>(G.Room.ExtentY), point)
          << QStringLiteral("FloorHeight:") + Metres(static_cast<float>(G.Room.ExtentZ), point) << QString();
    lines << QStringLiteral("Currency:") + G.CurrencySymbol
          << QStringLiteral("Budget:") + MoneyText(Windows().BudgetText(1))
          << QStringLiteral("Spent:") + MoneyText(Windows().BudgetText(2))
          << QStringLiteral("LastItemPrice:") + MoneyText(Windows().BudgetText(4)) << QString();
    lines << QStringLiteral("NoOfItems:") + QString::number(count - first);
    const QString env = EnvironmentName();
    for (int32_t i = first; i < count; ++i) {
        const ItemRecord& item = items[static_cast<size_t>(i)];
        lines << QStringLiteral("Item:") + q + env + QLatin1Char('\\') + item.Name.trimmed() + q +
                     QStringLiteral(", XYZ ") + Metres(item.X, point) + QStringLiteral(", ") +
                     Metres(item.Elevation, point) + QStringLiteral(", ") + Metres(item.Y, point) +
                     QStringLiteral(" , rotation ") + FormatFixed(Angle(item), 3, point) + QStringLiteral(" , value ") +
                     FormatFixed(item.Price, 2, point);
    }
    return WriteLines(path, lines, error);
}

bool ExportVrmlFile(const QString& path, const std::vector<ItemRecord>& items, int32_t itemCount, QString* error)
{
    const QString point = QStringLiteral(".");
    const int32_t count = UsedCount(items, itemCount);
    const QString m = QStringLiteral("VRML/") + VrmlPath(EnvironmentName()) + QLatin1Char('/');
    QStringList referred;
    const float width = UnitsToMetres(static_cast<float>(G.Room.ExtentX));
    const float length = UnitsToMetres(static_cast<float>(G.Room.ExtentY));
    auto channel = [&](int shift) { return FormatFixed(((G.FloorColour >> shift) & 0xFF) / 255.0, 2, point); };

    QStringList lines;
    lines << QStringLiteral("#VRML V2.0 utf8") << QStringLiteral("#Generated by Dorv+v2 on ") + Now()
          << QStringLiteral("#") << QStringLiteral("#Note - units in 'metres' with mm accuracy") << QString();
    lines << QStringLiteral("NavigationInfo { headlight FALSE }")
          << QStringLiteral("DirectionalLight { direction 0 -.7 -.7, color 1 1 1 }") << QString();
    lines << QStringLiteral("Viewpoint { position 0 1.8 ") + FormatFixed(1.5 * length, 2, point) +
                 QStringLiteral(", orientation 0 1 0 0, description ") + q + QStringLiteral("Initial View") + q +
                 QStringLiteral(" }")
          << QString();
    lines << QStringLiteral("Background {");
    for (const char* side : {"front", "back", "left", "right", "top", "bottom"}) {
        referred << m + QStringLiteral("Bkg_") + QLatin1String(side) + QStringLiteral(".jpg");
        lines << QStringLiteral("     %1Url ").arg(QLatin1String(side)) + q + referred.last() + q;
    }
    lines << QStringLiteral("}") << QString();
    lines << QStringLiteral("#Floor") << QStringLiteral("Shape { appearance")
          << QStringLiteral("        Appearance { material Material { diffuseColor ") + channel(0) +
                 QLatin1Char(' ') + channel(8) + QLatin1Char(' ') + channel(16) + QStringLiteral(" } }")
          << QStringLiteral("        geometry Box { size ") + FormatFixed(width, 3, point) + QStringLiteral(" 0.01 ") +
                 FormatFixed(length, 3, point) + QStringLiteral(" }")
          << QStringLiteral("}") << QString();
    for (int32_t i = FirstItem(count); i < count; ++i) {
        const ItemRecord& item = items[static_cast<size_t>(i)];
        const QString model = m + VrmlPath(item.Name.trimmed()) + QStringLiteral(".wrl");
        if (!referred.contains(model)) referred << model;
        lines << QStringLiteral("Transform { translation ") + Metres(item.X, point) + QLatin1Char(' ') +
                     Metres(item.Elevation, point) + QLatin1Char(' ') + Metres(item.Y, point) +
                     QStringLiteral(", rotation 0 1 0 ") + FormatFixed(Angle(item), 3, point) +
                     QStringLiteral(", scale 1 1 1, children [")
              << QStringLiteral("     Inline { url ") + q + model + q + QStringLiteral(" }") << QStringLiteral("] }")
              << QString();
    }
    SupportFiles support(QFileInfo(dorv::FindPath(path)).absolutePath());
    for (const QString& file : referred)
        if (!support.copy(file, error)) {
            support.undo();
            return false;
        }
    if (!WriteLines(path, lines, error)) {
        support.undo();
        return false;
    }
    return true;
}

}  // namespace FileMod
