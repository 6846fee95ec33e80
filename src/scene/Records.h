#pragma once
// The records every part of the program shares: one item, the room, the place
// information, the current wall, a name with an amount. Their on-disk forms
// are written and read field by field in RecordIO.

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

// A text of exactly N single-byte (Windows-1252) characters, blank-padded, as
// stored in records and files. Kept as bytes so that a record read from a file
// is written back byte for byte.
template <int N>
struct FixedText {
    std::array<char, N> bytes;

    FixedText() { bytes.fill(' '); }
    explicit FixedText(const QString& text) { set(text); }

    // Cuts the text to N characters or pads it with blanks.
    void set(const QString& text);
    void setBytes(const QByteArray& b)
    {
        bytes.fill(' ');
        std::memcpy(bytes.data(), b.constData(), static_cast<size_t>(std::min<qsizetype>(b.size(), N)));
    }
    // All N characters, trailing blanks included.
    QString str() const;
    // The text without its trailing blanks.
    QString trimmed() const;
    QByteArray raw() const { return QByteArray(bytes.data(), N); }

    bool operator==(const FixedText& o) const { return bytes == o.bytes; }
    bool operator!=(const FixedText& o) const { return bytes != o.bytes; }
    static constexpr int size() { return N; }
};

// Bits of ItemRecord::Flags.
enum ItemFlag : int32_t {
    kItemStacks = 0x1,       // rests on the highest item beneath it
    kItemFromFile = 0x2,     // set in item files, not interpreted
    kItemOnWall = 0x4,       // placed on walls in the wall view
    kItemInFront = 0x8,      // added in front of the other real items
    kItemSection = 0x100,    // a floor or wall section of the room
    kItemSectionBack = 0x200 // set by the room builder on some wall sections
};

struct ItemRecord {
    FixedText<32> Name;
    int32_t ShapeStart = 0;
    int32_t FirstShape = 0;
    int32_t FootprintShape = 0;
    int32_t ShapeEnd = 0;
    int32_t FloorColourShape = 0;
    int32_t FaceColourShape = 0;
    int16_t ViewCount = 0;
    float Price = 0;
    int16_t Reserved16 = 0;
    std::array<int32_t, 2> Reserved32 = {0, 0};
    int32_t Flags = 0;
    float HeightMm = 0, WidthMm = 0, DepthMm = 0;
    int32_t FootMinX = 0, FootMinY = 0;
    int32_t FootWidth = 0, FootDepth = 0;
    int32_t Height = 0;
    float Elevation = 0;
    int32_t SectionLength = 0;
    int16_t ViewIndex = 0;
    int16_t WallSide = 0;
    float X = 0, Y = 0;
    std::array<uint8_t, 8> ReservedAfterPosition = {};
    float WallAngle = 0;
    // Five sub-records of a 16-character text and an 8-byte value.
    std::array<uint8_t, 120> SubRecords = {};
};

struct RoomRecord {
    QByteArray FirstText;  // always empty in the rooms the program makes
    int32_t RoomListStart = 0;
    std::array<int32_t, 3> Reserved1 = {0, 0, 0};
    int32_t FloorGroupStart = 0;
    int32_t WallPathStart = 0;
    int32_t RoomListEnd = 0;
    int32_t Reserved2 = 0;
    int16_t RoomKind = 0;
    std::array<int32_t, 3> Reserved3 = {0, 0, 0};
    int32_t ExtentX = 0;
    int32_t ExtentY = 0;
    int32_t ExtentZ = 0;
    int16_t Reserved4 = 0;
    std::array<int32_t, 4> Reserved5 = {0, 0, 0, 0};
    int32_t FirstWallSection = 0;
    int32_t WallSectionCount = 0;
    int32_t FirstRealItem = 0;
};

// Filled from a place information file; each field is named after its key.
struct PlanInfoRecord {
    QString name, envir, place, class_, usage;
    float max_width = 0, max_height = 0, max_depth = 0;
    float min_width = 0, min_height = 0, min_depth = 0;
    float default_height = 0, default_depth = 0, default_width = 0;
    float scale1 = 0, min_scale1 = 0, max_scale1 = 0;
    int32_t wall_colour = 0, floor_colour = 0, background_colour = 0;
    float gridsize_m = 0;
    float budget = 0;
    bool useprices = false;
    bool noprices = false;
};

// The wall shown in the wall view.
struct WallViewRecord {
    int32_t CentreX = 0, CentreY = 0;
    int32_t Elevation = 0;
    int32_t Height = 0;
    int32_t Length = 0;
    int16_t Side = 0;  // 0 north, 1 west, 2 south, 3 east
};

struct NamedAmount {
    QString Name;
    float Amount = 0;
};

// The header of a scene file, field for field.
struct SceneHeader {
    int32_t MagicLength = 0;
    FixedText<8> Magic;
    int32_t VersionLength = 0;
    FixedText<5> Version;
    FixedText<32> Environment;
    FixedText<32> Place;
    FixedText<32> PlanName;
    std::array<uint8_t, 24> Reserved = {};
    int32_t WordCount = 0;
    int32_t ItemCount = 0;
    FixedText<8> Currency;
    float Budget = 0;
    float Spent = 0;
    float Width = 0, Length = 0, Height = 0;
    int32_t FloorColour = 0, WallColour = 0, BackgroundColour = 0;
    FixedText<32> Language;
    int16_t UnitIndex = 0;
};

#include "scene/FixedText.inl"
