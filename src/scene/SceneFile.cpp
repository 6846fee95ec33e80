#include "scene/SceneFile.h"

#include "platform/AppInfo.h"
#include "platform/Cp1252.h"
#include "platform/FileSystem.h"
#include "platform/Rounding.h"
#include "scene/Environments.h"
#include "scene/FileMod.h"
#include "scene/ItemCatalogue.h"
#include "scene/LangMod.h"
#include "scene/PictureMeasure.h"
#include "scene/PlaceInfo.h"
#include "scene/RecordIO.h"
#include "scene/RoomGeometry.h"
#include "scene/SceneState.h"
#include "scene/Stacking.h"
#include "scene/UnitsMoney.h"
#include "scene/WindowPort.h"

#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <optional>
#include <utility>

namespace FileMod {

namespace {

const QByteArray kMagic = QByteArrayLiteral("DorvFile");

// Old plans were drawn in metres divided by 1.08.
constexpr double kOldSizeToMetres = 1.08;
// The largest side of a place in metres: more would not fit the scene's
// coordinates.
constexpr double kLargestSide = 10000;

constexpr int kExclamation = 48;

void Say(const QString& text, int style = kExclamation) { Windows().MsgBox(text, style, dorv::AppTitle()); }

void SayMessage(const char* key) { Say(LangMod::GetMessage(QLatin1String(key))); }

const char* const kTooLargeToOpen = "lang_SceneTooLargeToOpen";

QLocale NumberLocale()
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return locale;
}

// A size box's text as a number in the user's way of writing numbers (or
// with a decimal point). A text that is no number is written as 0 rather
// than losing the whole scene over a size shown only as a label.
float SizeFromText(const QString& text)
{
    const std::optional<double> v = CommonMod::ReadSizeText(text);
    if (!v || std::fabs(*v) > std::numeric_limits<float>::max()) return 0;
    return static_cast<float>(*v);
}

QString TextFromSize(float v) { return NumberLocale().toString(static_cast<double>(v), 'g', 7); }

// The version text as the header stores it: "2.01A", with the locale's
// decimal separator.
QString VersionText() { return CommonMod::FormatTwoDecimals(static_cast<float>(kSceneVersion)) + QLatin1Char('A'); }

// A version text with a comma for its decimal separator reads like one with
// a point, so that a file saved where a comma separates decimals is judged
// by its real version.
QString PointVersion(const QString& text)
{
    QString v = text;
    return v.replace(QLatin1Char(','), QLatin1Char('.'));
}

// What a file holds, read in full before any of it reaches the scene.
struct LoadedScene {
    std::vector<ItemRecord> items = std::vector<ItemRecord>(1);
    int32_t itemCount = 0;
    ShapeStream words = ShapeStream(1, 0);
    int32_t wordCount = 0;
    RoomRecord room;
    int32_t floorColour = 0, wallColour = 0, backgroundColour = 0xFFFFFF;
    float budget = 0, spent = 0;
    QString currency;
    QString language = QStringLiteral("english");
    int16_t unit = 0;
    std::array<QString, 3> sizeTexts;
    QString environment;
    // The old formats build the room outline as a new place does.
    bool old = false;
    ShapeStream roomShapes;
    int32_t roomShapeCount = 0;
};

// An error of the old-format reader: the text its message shows.
struct OldFormatError {
    QString message;
};

// An old file that breaks off, or holds a number that no scene holds, was
// damaged: the child hears so in the words a damaged file of the current
// format gets.
[[noreturn]] void Damaged() { throw OldFormatError{LangMod::GetMessage(QStringLiteral("lang_ErrorLoadingThisFile"))}; }

// ---- the current format ----

bool InRange(int32_t index, int32_t wordCount) { return index >= 0 && index <= wordCount; }

// What a sound scene holds, with room to spare; a file beyond it was
// damaged. Positions and elevations are in the scene's units, whose
// coordinates are Longs, and an item's sizes in millimetres are its sizes in
// units over 36.288.
constexpr double kLargestCoordinate = 2147483648.0;
constexpr double kLargestItemSizeMm = kLargestCoordinate / 36.288;
// The place's sizes as typed, in any unit: ten times the largest side in
// millimetres.
constexpr double kLargestPlaceSize = 10 * kLargestSide * 1000;
// A price or a budget in the base currency: far beyond what a child may
// type (CommonMod::kLargestAmount) in any currency of the settings, or what
// older versions took, yet small enough that the prices of the largest scene
// a file holds still add up to a number, never to "inf".
constexpr double kLargestPrice = 1e15;
constexpr double kLargestSpent = kLargestPrice * (kLargestSceneFile / kItemRecordSize);

// A NaN or an infinity is no amount, size, position or angle, and neither is
// a number beyond what a scene holds: a file that holds one was damaged, and
// nothing could be priced, placed or drawn from it.
bool Within(double largest, std::initializer_list<double> values)
{
    return std::all_of(values.begin(), values.end(), [largest](double v) { return std::fabs(v) <= largest; });
}

// A budget and a money spent that a sound scene holds.
bool SoundAmounts(double budget, double spent)
{
    return Within(kLargestPrice, {budget}) && Within(kLargestSpent, {spent});
}

// An item's price, sizes, position and angle that a sound scene holds.
bool SoundItem(const ItemRecord& item)
{
    return Within(kLargestPrice, {item.Price}) &&
           Within(kLargestItemSizeMm, {item.HeightMm, item.WidthMm, item.DepthMm}) &&
           Within(kLargestCoordinate, {item.Elevation, item.X, item.Y}) &&
           Within(std::numeric_limits<float>::max(), {item.WallAngle});
}

// A version is written as a number: "2.01A", "2,00A". A text that does not
// begin with a digit ("nan", "-0.0A", blanks) is no version at all.
bool IsVersionNumber(const QString& version)
{
    return !version.isEmpty() && version[0] >= QLatin1Char('0') && version[0] <= QLatin1Char('9');
}

// The picture indexes of every item must lie in the words read, and the
// room's item ranges in the items read. FirstShape and FootprintShape are
// left alone: they point into the catalogue an item came from, not into the
// scene's words.
bool Consistent(const LoadedScene& s)
{
    for (int32_t i = 0; i < s.itemCount; ++i) {
        const ItemRecord& item = s.items[static_cast<size_t>(i)];
        if (!InRange(item.ShapeStart, s.wordCount) || !InRange(item.ShapeEnd, s.wordCount) ||
            item.ShapeEnd < item.ShapeStart || !InRange(item.FloorColourShape, s.wordCount) ||
            !InRange(item.FaceColourShape, s.wordCount))
            return false;
        if (!SoundItem(item)) return false;
    }
    const RoomRecord& r = s.room;
    // A room without a floor is no place.
    if (r.ExtentX <= 0 || r.ExtentY <= 0) return false;
    if (r.FirstRealItem < 0 || r.FirstRealItem > s.itemCount) return false;
    if (r.FirstWallSection < 0 || r.WallSectionCount < 0) return false;
    if (int64_t(r.FirstWallSection) + r.WallSectionCount > s.itemCount) return false;
    return s.unit >= 0 && s.unit < CommonMod::kLengthUnitCount;
}

// Reads a current-format file after its magic was found. False when the
// file was refused (and reported).
bool ReadCurrent(const QByteArray& bytes, LoadedScene& s)
{
    dorv::ByteReader in(bytes);
    SceneHeader h;
    if (!ReadSceneHeader(in, h)) {
        SayMessage("lang_ErrorLoadingThisFile");
        return false;
    }
    // Version 2.00A headers end before the length-unit field: the two bytes
    // just read as the unit are the start of the room record.
    const QString version = h.Version.str();
    if (!IsVersionNumber(version) || !SoundAmounts(h.Budget, h.Spent) ||
        !Within(kLargestPlaceSize, {h.Width, h.Length, h.Height})) {
        SayMessage("lang_ErrorLoadingThisFile");
        return false;
    }
    if (PointVersion(version) == QLatin1String("2.00A")) {
        in.seek(kSceneHeaderSize200);
        h.UnitIndex = 0;
    }
    bool numberOk = true;
    const double number = LeadingNumber(PointVersion(version), &numberOk);
    if (!numberOk || number > kSceneVersion) {
        QString text = LangMod::GetMessage(QStringLiteral("lang_AppCantLoadThisVersion"));
        text.replace(QLatin1Char('%'), dorv::AppTitle());
        Say(text.replace(QLatin1Char('$'), TrimTrailingSpaces(version)));
        return false;
    }

    const int64_t words = h.WordCount, items = h.ItemCount;
    bool ok = ReadRoomRecord(in, s.room) && words >= 0 && items >= 0 &&
              in.remaining() >= words * 4 + items * kItemRecordSize;
    if (ok) {
        s.wordCount = h.WordCount;
        s.itemCount = h.ItemCount;
        // One zero word and one item to spare past the counts. The words,
        // the bulk of a file, are taken in one block (their bytes were
        // counted above).
        s.words.assign(static_cast<size_t>(words) + 1, 0);
        qFromLittleEndian<qint32>(bytes.constData() + in.pos(), static_cast<qsizetype>(words), s.words.data());
        in.seek(in.pos() + words * 4);
        s.items.assign(static_cast<size_t>(items) + 1, ItemRecord());
        for (int64_t i = 0; i < items && ok; ++i) ok = ReadItemRecord(in, s.items[static_cast<size_t>(i)]);
        s.unit = h.UnitIndex;
        ok = ok && in.ok() && Consistent(s);
    }
    if (!ok) {
        SayMessage("lang_ErrorLoadingThisFile");
        return false;
    }

    s.floorColour = h.FloorColour;
    s.wallColour = h.WallColour;
    s.backgroundColour = h.BackgroundColour;
    s.spent = h.Spent;
    s.budget = h.Budget;
    s.currency = h.Currency.trimmed();
    s.language = h.Language.trimmed();
    s.sizeTexts = {TextFromSize(h.Width), TextFromSize(h.Length), TextFromSize(h.Height)};
    s.environment = h.Environment.trimmed();
    return true;
}

// ---- the old formats ----

// Reads a Long that the old formats multiply: the product must stay a Long.
int32_t LongProduct(int64_t a, int64_t b)
{
    const int64_t p = a * b;
    if (p < std::numeric_limits<int32_t>::min() || p > std::numeric_limits<int32_t>::max()) Damaged();
    return static_cast<int32_t>(p);
}

float Position(double v)
{
    if (!std::isfinite(v) || std::fabs(v) > std::numeric_limits<float>::max()) Damaged();
    return static_cast<float>(v);
}

int32_t OldColour(dorv::ByteReader& in)
{
    const int32_t r = in.i16() & 0xFF, g = in.i16() & 0xFF, b = in.i16() & 0xFF;
    return r | (g << 8) | (b << 16);
}

struct OldEntry {
    QString group, name;
    int32_t p = 0, q = 0, h = 0;
    int16_t r = 0;
};

// A section of an old file: its name and its entries.
struct OldSection {
    QString name;
    std::vector<OldEntry> entries;
};

OldEntry ReadOldEntry(dorv::ByteReader& in, bool v002)
{
    OldEntry e;
    e.group = ReadCountedString(in);
    e.name = ReadCountedString(in);
    e.p = in.i32();
    e.q = in.i32();
    e.r = in.i16();
    e.h = in.i32();
    if (v002) in.i32();
    in.i32();  // e
    if (!in.ok()) Damaged();
    return e;
}

// Reads a section: its name, its count and its entries. The plan section
// holds no count or entries unless it is named "plan".
OldSection ReadOldSection(dorv::ByteReader& in, bool v002, bool plan)
{
    OldSection section;
    section.name = ReadCountedString(in);
    if (!in.ok()) Damaged();
    if (plan && section.name != QLatin1String("plan")) return section;
    const int16_t count = in.i16();
    if (!in.ok()) Damaged();
    for (int16_t k = 0; k < count; ++k) section.entries.push_back(ReadOldEntry(in, v002));
    return section;
}

// A name read from the file that would lead out of its folder, that holds
// control characters no file name has, or that is longer than a name on
// disk can be (255 bytes), names no file.
bool PlainName(const QString& n)
{
    if (n.size() > 255) return false;
    for (QChar c : n)
        if (c.unicode() < 32) return false;
    return !n.contains(QLatin1Char('\\')) && !n.contains(QLatin1Char('/')) && n != QLatin1String("..") &&
           n != QLatin1String(".");
}

// The old reader's state: the items so far, their pictures in G.SceneShapes.
struct OldReader {
    QString envFolder;
    double scale;
    std::vector<ItemRecord>& items;
    int32_t& itemCount;

    QString itemPath(const OldEntry& e) const
    {
        return envFolder + e.group + QLatin1Char('\\') + e.name + QStringLiteral(".dvo");
    }

    bool itemFileThere(const OldEntry& e, const QString& path) const
    {
        return !envFolder.isEmpty() && PlainName(e.group) && PlainName(e.name) && FileExists(path);
    }

    // The size of the file the scene would make with every entry whose item
    // file is there loaded: each brings its record and the words of its file.
    qint64 builtFileSize(const std::array<OldSection, 5>& sections) const
    {
        QHash<QString, qint64> words;  // by item file, each looked at once
        int64_t itemsMore = 0, wordsMore = 0;
        for (const OldSection& section : sections)
            for (const OldEntry& e : section.entries) {
                const QString path = itemPath(e);
                auto it = words.constFind(path);
                if (it == words.constEnd())
                    it = words.insert(path, itemFileThere(e, path)
                                                ? QFileInfo(dorv::FindPath(path)).size() / 4 + 1
                                                : -1);
                if (*it < 0) continue;
                ++itemsMore;
                wordsMore += *it;
            }
        return SceneFileSize(itemCount + itemsMore, G.SceneShapeCount + wordsMore);
    }

    // Loads the entry's item file as the next item; false when it is missing
    // or fails (the loader reports a failing file itself).
    bool loadItem(const OldEntry& e, bool reportMissing)
    {
        const QString path = itemPath(e);
        if (!itemFileThere(e, path)) {
            if (reportMissing) {
                QString text = LangMod::GetMessage(QStringLiteral("lang_CantLoad"));
                Say(text.replace(QLatin1Char('%'), path), 0);
            }
            return false;
        }
        if (static_cast<int32_t>(items.size()) <= itemCount + 1) items.resize(static_cast<size_t>(itemCount) + 2);
        ItemRecord& item = items[static_cast<size_t>(itemCount)];
        item = ItemRecord();
        return LoadItemDefinition(G.SceneShapes, G.SceneShapeCount, path, item);
    }

    void pictureSize(const ItemRecord& item, float& w, float& d) const
    {
        w = d = 0;
        DrawMod::GetItemPictureSize(item, kPictureFromAbove, G.SceneShapes, G.SceneShapeCount, 1.0f, w, d);
    }

    // One wall section: entries placed along the wall named by the section.
    void wallSection(const OldSection& wallEntries, const std::array<int32_t, 4>& offsets)
    {
        const QString& section = wallEntries.name;
        for (const OldEntry& e : wallEntries.entries) {
            if (!loadItem(e, false)) continue;
            ItemRecord& item = items[static_cast<size_t>(itemCount)];
            item.ViewIndex = dorv::RoundHalfEven16(e.r / 2.0);
            item.Flags |= kItemOnWall;
            float w = 0, d = 0;
            pictureSize(item, w, d);
            const double along = LongProduct(int64_t(e.p) - 1000, 840);
            const double back = LongProduct(int64_t(e.p) - 1000, -840);
            auto wall = [&](int side) { return scale * LongProduct(offsets[static_cast<size_t>(side)], 3300); };
            double x = 0, y = 0;
            if (section == QLatin1String("north")) {
                x = along + w / 2;
                y = wall(1) - d / 2;
            } else if (section == QLatin1String("west")) {
                x = wall(0) - w / 2;
                y = back - d / 2;
            } else if (section == QLatin1String("south")) {
                x = back - w / 2;
                y = wall(3) + d / 2;
            } else if (section == QLatin1String("east")) {
                x = wall(2) + w / 2;
                y = along + d / 2;
            }
            item.X = Position(x);
            item.Y = Position(y);
            item.Elevation = Position(scale * LongProduct(e.h, 3300));
            ++itemCount;
        }
    }

    // The plan section: entries placed on the floor, each settled on the
    // items before it.
    void planSection(const OldSection& plan, int32_t cx, int32_t cy)
    {
        if (plan.name != QLatin1String("plan")) {
            SayMessage("lang_PlanNotFoundInDorvFile");
            return;
        }
        for (const OldEntry& e : plan.entries) {
            if (!loadItem(e, true)) continue;
            ItemRecord& item = items[static_cast<size_t>(itemCount)];
            item.ViewIndex = dorv::RoundHalfEven16(e.r / 2.0);
            item.Flags &= ~kItemOnWall;
            float w = 0, d = 0;
            pictureSize(item, w, d);
            item.X = Position(scale * LongProduct(int64_t(e.p) - cx, 3300) + w / 2);
            item.Y = Position(scale * LongProduct(int64_t(e.q) - cy, 3300) + d / 2);
            SettleItemElevation(items, itemCount + 1, itemCount, G.SceneShapes, G.SceneShapeCount);
            ++itemCount;
        }
    }
};

// Keeps the scene's and the room's picture tables aside while the old
// reader builds new ones in their place, and puts them back at its end.
class TablesAside {
public:
    TablesAside()
    {
        std::swap(scene_, G.SceneShapes);
        std::swap(sceneCount_, G.SceneShapeCount);
        room_ = G.RoomShapes;
        roomCount_ = G.RoomShapeCount;
        G.SceneShapes.assign(1, 0);
    }
    ~TablesAside()
    {
        std::swap(scene_, G.SceneShapes);
        std::swap(sceneCount_, G.SceneShapeCount);
        std::swap(room_, G.RoomShapes);
        std::swap(roomCount_, G.RoomShapeCount);
    }
    TablesAside(const TablesAside&) = delete;
    TablesAside& operator=(const TablesAside&) = delete;

private:
    ShapeStream scene_, room_;
    int32_t sceneCount_ = 0, roomCount_ = 0;
};

bool ReadOld(const QByteArray& bytes, LoadedScene& s)
{
    // The entries name their item files folder by folder: each folder of
    // the environment is listed once for the whole file.
    const dorv::FolderLookupScope folders;
    dorv::ByteReader in(bytes);
    if (ReadCountedString(in) != QLatin1String(kMagic)) {
        SayMessage("lang_ThisIsNotADorvFile");
        return false;
    }
    try {
        const bool v002 = ReadCountedString(in) == QLatin1String("0.02B");
        const QString envName = ReadCountedString(in);
        ReadCountedString(in);  // the place's name
        const double scale = in.f64() / 256;
        in.i32();
        in.i32();
        const int32_t x1 = in.i32(), y1 = in.i32(), x2 = in.i32(), y2 = in.i32();
        const double budget = in.f64();
        in.f64();
        const double spent = in.f64();
        const QString currency = v002 ? ReadCountedString(in) : dorv::DecodeCp1252(in.bytes(1));
        ReadCountedString(in);
        in.i16();
        const int32_t wallColour = OldColour(in);
        const int32_t floorColour = OldColour(in);
        std::array<double, 3> sizes{};
        for (double& v : sizes) v = in.f64() * kOldSizeToMetres;
        for (int k = 0; k < 3; ++k) in.f64();
        if (!in.ok()) Damaged();
        if (!std::isfinite(scale)) Damaged();
        for (double v : sizes)
            if (!std::isfinite(v) || v < 0 || v > kLargestSide) Damaged();
        if (!SoundAmounts(budget, spent)) Damaged();

        const int32_t cx = dorv::RoundHalfEven((double(x1) + x2) * 0.5);
        const int32_t cy = dorv::RoundHalfEven((double(y1) + y2) * 0.5);
        // West, north, east, south.
        const std::array<int32_t, 4> offsets = {LongProduct(1, int64_t(x1) - cx), LongProduct(1, int64_t(y1) - cy),
                                                LongProduct(1, int64_t(x2) - cx), LongProduct(1, int64_t(y2) - cy)};

        TablesAside aside;
        CommonMod::BuildRoomGeometry(s.room, s.items, s.itemCount, static_cast<float>(sizes[0]),
                                     static_cast<float>(sizes[1]), static_cast<float>(sizes[2]), floorColour,
                                     wallColour);
        // A room without a floor is no place, here as in a file of the
        // current format, which refuses it: whatever a child did in it could
        // be saved but never opened again.
        if (s.room.ExtentX <= 0 || s.room.ExtentY <= 0) Damaged();
        // An environment name that is no plain folder name has no item files.
        const QString envFolder = PlainName(TrimTrailingSpaces(envName))
                                      ? dorv::AppPath() + QStringLiteral("\\Environments\\") +
                                            TrimTrailingSpaces(envName) + QLatin1Char('\\')
                                      : QString();
        OldReader reader{envFolder, scale, s.items, s.itemCount};
        // The four walls and the plan, read whole before any item is built:
        // a scene larger than a scene file can hold is not built at all.
        std::array<OldSection, 5> sections;
        for (size_t k = 0; k < sections.size(); ++k) sections[k] = ReadOldSection(in, v002, k == 4);
        if (reader.builtFileSize(sections) > kLargestSceneFile)
            throw OldFormatError{LangMod::GetMessage(QLatin1String(kTooLargeToOpen))};
        for (size_t k = 0; k < 4; ++k) reader.wallSection(sections[k], offsets);
        reader.planSection(sections[4], cx, cy);
        // A scale or positions that place items beyond what a scene holds.
        for (int32_t i = 0; i < s.itemCount; ++i)
            if (!SoundItem(s.items[static_cast<size_t>(i)])) Damaged();

        // One zero word and one item to spare past the counts, as a file of
        // the current version loads.
        if (static_cast<int32_t>(G.SceneShapes.size()) <= G.SceneShapeCount)
            G.SceneShapes.resize(static_cast<size_t>(G.SceneShapeCount) + 1, 0);
        if (static_cast<int32_t>(s.items.size()) <= s.itemCount) s.items.resize(static_cast<size_t>(s.itemCount) + 1);
        s.words = std::move(G.SceneShapes);
        s.wordCount = G.SceneShapeCount;
        s.roomShapes = std::move(G.RoomShapes);
        s.roomShapeCount = G.RoomShapeCount;
        s.old = true;
        s.floorColour = floorColour;
        s.wallColour = wallColour;
        s.backgroundColour = 0xFFFFFF;
        s.language = QStringLiteral("english");
        s.currency = currency;
        s.budget = static_cast<float>(budget);
        s.spent = static_cast<float>(spent);
        s.environment = envName;
        // The room stands in metres; the size boxes say so, rather than
        // keeping the sizes of the scene before.
        s.unit = 0;
        for (size_t k = 0; k < 3; ++k) s.sizeTexts[k] = TextFromSize(static_cast<float>(sizes[k]));
    } catch (const OldFormatError& e) {
        Say(e.message);
        return false;
    }
    return true;
}

// The money spent that a file's Single holds, as a total. A Single keeps
// some seven digits, so what a class spends comes back cents off: when the
// prices of the placed items add up to a sum whose Single is the one stored,
// that sum is what was spent, to the cent. Otherwise (a price was changed
// after its items were bought) the stored amount as it shows.
double SpentTotalOf(float stored, const std::vector<ItemRecord>& items, int32_t itemCount, const RoomRecord& room)
{
    const int32_t last = static_cast<int32_t>(std::min<int64_t>(itemCount, static_cast<int64_t>(items.size())));
    double sum = 0;
    for (int32_t i = std::max<int32_t>(0, room.FirstRealItem); i < last; ++i)
        sum = CommonMod::AddMoney(sum, items[static_cast<size_t>(i)].Price);
    return static_cast<float>(sum) == stored ? sum : CommonMod::AddMoney(0, stored);
}

}  // namespace

QString ReadCountedString(dorv::ByteReader& in)
{
    const int32_t n = in.i32();
    if (!in.ok() || n < 1 || n > kMaxCountedString) return QString();
    return dorv::DecodeCp1252(in.bytes(n));
}

QByteArray SceneFileBytes(const std::vector<ItemRecord>& items, int32_t itemCount, const ShapeStream& words,
                          int32_t wordCount, const RoomRecord& room)
{
    const int32_t items_ = std::clamp<int32_t>(itemCount, 0, static_cast<int32_t>(items.size()));
    const int32_t words_ = std::clamp<int32_t>(wordCount, 0, static_cast<int32_t>(words.size()));

    SceneHeader h;
    h.MagicLength = kMagic.size();
    h.Magic.setBytes(kMagic);
    h.VersionLength = 5;
    h.Version.set(VersionText());
    h.Environment.set(GetTrimmedFileName(G.EnvFolder));
    h.Place.set(G.PlanInfo.place);
    h.PlanName.set(G.PlanInfo.name);
    h.WordCount = words_;
    h.ItemCount = items_;
    h.Currency.set(G.CurrencySymbol);
    h.Budget = CommonMod::ParseMoneyText(Windows().BudgetText(1));
    h.Spent = CommonMod::ParseMoneyText(Windows().BudgetText(2));
    h.Width = SizeFromText(Windows().PlaceSizeText(1));
    h.Length = SizeFromText(Windows().PlaceSizeText(2));
    h.Height = SizeFromText(Windows().PlaceSizeText(3));
    h.FloorColour = G.FloorColour;
    h.WallColour = G.WallColour;
    h.BackgroundColour = G.BackgroundColour;
    h.Language.set(G.LanguageName);
    h.UnitIndex = G.UnitIndex;

    dorv::ByteWriter w;
    w.data().reserve(kSceneHeaderSize + kRoomRecordSize + qsizetype(words_) * 4 + qsizetype(items_) * kItemRecordSize);
    WriteSceneHeader(w, h);
    WriteRoomRecord(w, room);
    // The words in one block.
    QByteArray& out = w.data();
    const qsizetype at = out.size();
    out.resize(at + qsizetype(words_) * 4);
    qToLittleEndian<qint32>(words.data(), words_, out.data() + at);
    for (int32_t i = 0; i < items_; ++i) WriteItemRecord(w, items[static_cast<size_t>(i)]);
    return w.data();
}

qint64 SceneFileSize(int64_t itemCount, int64_t wordCount)
{
    return kSceneHeaderSize + kRoomRecordSize + wordCount * 4 + itemCount * kItemRecordSize;
}

bool SceneTooLarge(const std::vector<ItemRecord>& items, int32_t itemCount, const ShapeStream& words,
                   int32_t wordCount)
{
    return SceneFileSize(std::clamp<int64_t>(itemCount, 0, static_cast<int64_t>(items.size())),
                         std::clamp<int64_t>(wordCount, 0, static_cast<int64_t>(words.size()))) >
           kLargestSceneFile;
}

QString SceneFilePath(const QString& path)
{
    return path.right(4).toLower() == QLatin1String(".dvp") ? path : path + QStringLiteral(".dvp");
}

bool SaveSceneFile(QString& path, const std::vector<ItemRecord>& items, int32_t itemCount, const ShapeStream& words,
                   int32_t wordCount, const RoomRecord& room, QString* error)
{
    path = SceneFilePath(path);
    if (SceneTooLarge(items, itemCount, words, wordCount)) {
        if (error) *error = QStringLiteral("The scene is larger than a scene file can hold");
        return false;
    }
    return dorv::WriteWholeFile(path, SceneFileBytes(items, itemCount, words, wordCount, room), error);
}

bool LoadSceneFile(const QString& path, std::vector<ItemRecord>& items, int32_t& itemCount, ShapeStream& words,
                   int32_t& wordCount, RoomRecord& room, int16_t& environmentNumber)
{
    if (QFileInfo(path).size() > kLargestSceneFile) {
        SayMessage(kTooLargeToOpen);
        return false;
    }
    bool ok = false;
    const QByteArray bytes = dorv::ReadWholeFile(path, &ok, kLargestSceneFile);
    if (!ok) {
        SayMessage("lang_ErrorLoadingThisFile");
        return false;
    }
    return LoadSceneData(bytes, items, itemCount, words, wordCount, room, environmentNumber);
}

bool LoadSceneData(const QByteArray& bytes, std::vector<ItemRecord>& items, int32_t& itemCount, ShapeStream& words,
                   int32_t& wordCount, RoomRecord& room, int16_t& environmentNumber)
{
    // Every version opens with two counted strings: the magic and the
    // version.
    dorv::ByteReader probe(bytes);
    const QString magic = ReadCountedString(probe);
    const QString version = ReadCountedString(probe);

    LoadedScene s;
    if (version == QLatin1String("0.02B") || (version == QLatin1String("0.01B") && magic == QLatin1String(kMagic))) {
        if (!ReadOld(bytes, s)) return false;
    } else {
        if (bytes.mid(4, kMagic.size()) != kMagic) {
            QString text = LangMod::GetMessage(QStringLiteral("lang_AppDoesntRecogniseThisFile"));
            Say(text.replace(QLatin1Char('%'), dorv::AppTitle()));
            return false;
        }
        if (!ReadCurrent(bytes, s)) return false;
    }

    // Everything was read: the scene takes it.
    G.ViewListCount = 0;
    items = std::move(s.items);
    itemCount = s.itemCount;
    words = std::move(s.words);
    wordCount = s.wordCount;
    room = s.room;
    if (s.old) {
        G.RoomShapes = std::move(s.roomShapes);
        G.RoomShapeCount = s.roomShapeCount;
    }
    G.FloorColour = s.floorColour;
    G.WallColour = s.wallColour;
    G.BackgroundColour = s.backgroundColour;
    CommonMod::SetCurrency(s.currency);
    G.SpentTotal = SpentTotalOf(s.spent, items, itemCount, room);
    G.LanguageName = s.language;
    Windows().SetBudgetText(1, CommonMod::FormatMoney(s.budget, 1));
    Windows().SetBudgetText(2, CommonMod::FormatTotal(G.SpentTotal, 1));
    G.UnitIndex = s.unit;
    G.UnitText = CommonMod::SetLengthUnit(s.unit);
    for (int k = 0; k < 3; ++k) Windows().SetPlaceSizeText(k + 1, s.sizeTexts[static_cast<size_t>(k)]);
    environmentNumber = static_cast<int16_t>(FindEnvironmentIndex(TrimTrailingSpaces(s.environment)) + 1);
    return true;
}

}  // namespace FileMod
