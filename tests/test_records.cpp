// Byte layouts of the item record, the room record and the scene header.
#include "scene/RecordIO.h"

#include <gtest/gtest.h>

#include <cstring>

using dorv::ByteReader;
using dorv::ByteWriter;

namespace {
int32_t LongAt(const QByteArray& b, int off)
{
    ByteReader r(b);
    r.seek(off);
    return r.i32();
}
int16_t IntAt(const QByteArray& b, int off)
{
    ByteReader r(b);
    r.seek(off);
    return r.i16();
}
float SingleAt(const QByteArray& b, int off)
{
    ByteReader r(b);
    r.seek(off);
    return r.f32();
}

// Every byte different, so a field written at the wrong place or a reserved
// byte lost shows up in the round trip.
QByteArray Pattern(int n, int seed)
{
    QByteArray b(n, 0);
    for (int i = 0; i < n; ++i) b[i] = static_cast<char>((i * 7 + seed) & 0xFF);
    return b;
}
}  // namespace

TEST(ItemRecordLayout, FieldsSitAtTheirOffsets)
{
    ItemRecord r;
    r.Name.set(QStringLiteral("Chairs\\red chair"));
    r.ShapeStart = 101;
    r.FirstShape = 102;
    r.FootprintShape = 103;
    r.ShapeEnd = 104;
    r.FloorColourShape = 105;
    r.FaceColourShape = 106;
    r.ViewCount = 4;
    r.Price = 12.5f;
    r.Flags = 0x109;
    r.HeightMm = 1.f;
    r.WidthMm = 2.f;
    r.DepthMm = 3.f;
    r.FootMinX = -7;
    r.FootMinY = -8;
    r.FootWidth = 900;
    r.FootDepth = 800;
    r.Height = 700;
    r.Elevation = 6.5f;
    r.SectionLength = 3300;
    r.ViewIndex = 3;
    r.WallSide = 2;
    r.X = -100.25f;
    r.Y = 200.75f;
    r.WallAngle = 0.25f;
    ByteWriter w;
    WriteItemRecord(w, r);
    const QByteArray& b = w.data();
    ASSERT_EQ(b.size(), kItemRecordSize);
    EXPECT_EQ(b.left(32), QByteArray("Chairs\\red chair                "));
    EXPECT_EQ(LongAt(b, 32), 101);
    EXPECT_EQ(LongAt(b, 36), 102);
    EXPECT_EQ(LongAt(b, 40), 103);
    EXPECT_EQ(LongAt(b, 44), 104);
    EXPECT_EQ(LongAt(b, 48), 105);
    EXPECT_EQ(LongAt(b, 52), 106);
    EXPECT_EQ(IntAt(b, 56), 4);
    EXPECT_EQ(SingleAt(b, 58), 12.5f);
    EXPECT_EQ(LongAt(b, 72), 0x109);
    EXPECT_EQ(SingleAt(b, 76), 1.f);
    EXPECT_EQ(SingleAt(b, 80), 2.f);
    EXPECT_EQ(SingleAt(b, 84), 3.f);
    EXPECT_EQ(LongAt(b, 88), -7);
    EXPECT_EQ(LongAt(b, 92), -8);
    EXPECT_EQ(LongAt(b, 96), 900);
    EXPECT_EQ(LongAt(b, 100), 800);
    EXPECT_EQ(LongAt(b, 104), 700);
    EXPECT_EQ(SingleAt(b, 108), 6.5f);
    EXPECT_EQ(LongAt(b, 112), 3300);
    EXPECT_EQ(IntAt(b, 116), 3);
    EXPECT_EQ(IntAt(b, 118), 2);
    EXPECT_EQ(SingleAt(b, 120), -100.25f);
    EXPECT_EQ(SingleAt(b, 124), 200.75f);
    EXPECT_EQ(SingleAt(b, 136), 0.25f);
    // Reserved fields of a record we make are zero.
    EXPECT_EQ(b.mid(62, 10), QByteArray(10, 0));
    EXPECT_EQ(b.mid(128, 8), QByteArray(8, 0));
    EXPECT_EQ(b.mid(140, 120), QByteArray(120, 0));
}

TEST(ItemRecordLayout, RoundTripKeepsEveryByte)
{
    for (int seed : {0, 3, 200}) {
        const QByteArray original = Pattern(kItemRecordSize, seed);
        ByteReader in(original);
        ItemRecord r;
        ASSERT_TRUE(ReadItemRecord(in, r));
        EXPECT_EQ(in.pos(), kItemRecordSize);
        ByteWriter w;
        WriteItemRecord(w, r);
        EXPECT_EQ(w.data(), original) << "seed " << seed;
    }
}

TEST(ItemRecordLayout, ShortDataFailsWithoutReadingPastIt)
{
    const QByteArray shortData = Pattern(kItemRecordSize - 1, 1);
    ByteReader in(shortData);
    ItemRecord r;
    EXPECT_FALSE(ReadItemRecord(in, r));
    EXPECT_FALSE(in.ok());
}

TEST(RoomRecordLayout, FieldsSitAtTheirOffsets)
{
    RoomRecord r;
    r.RoomListStart = 11;
    r.FloorGroupStart = 18;
    r.WallPathStart = 22;
    r.RoomListEnd = 26;
    r.RoomKind = 1;
    r.ExtentX = 181440;
    r.ExtentY = 108864;
    r.ExtentZ = 90720;
    r.FirstWallSection = 1;
    r.WallSectionCount = 4;
    r.FirstRealItem = 5;
    ByteWriter w;
    WriteRoomRecord(w, r);
    const QByteArray& b = w.data();
    ASSERT_EQ(b.size(), kRoomRecordSize);
    EXPECT_EQ(IntAt(b, 0), 0);
    EXPECT_EQ(LongAt(b, 2), 11);
    EXPECT_EQ(LongAt(b, 18), 18);
    EXPECT_EQ(LongAt(b, 22), 22);
    EXPECT_EQ(LongAt(b, 26), 26);
    EXPECT_EQ(IntAt(b, 34), 1);
    EXPECT_EQ(LongAt(b, 48), 181440);
    EXPECT_EQ(LongAt(b, 52), 108864);
    EXPECT_EQ(LongAt(b, 56), 90720);
    EXPECT_EQ(LongAt(b, 78), 1);
    EXPECT_EQ(LongAt(b, 82), 4);
    EXPECT_EQ(LongAt(b, 86), 5);
}

TEST(RoomRecordLayout, RoundTripKeepsEveryByte)
{
    QByteArray original = Pattern(kRoomRecordSize, 5);
    original[0] = 0;  // the text field's length
    original[1] = 0;
    ByteReader in(original);
    RoomRecord r;
    ASSERT_TRUE(ReadRoomRecord(in, r));
    ByteWriter w;
    WriteRoomRecord(w, r);
    EXPECT_EQ(w.data(), original);
}

TEST(RoomRecordLayout, TextFieldIsCarriedAndBadLengthsFail)
{
    QByteArray withText = QByteArray("\x03\x00" "abc", 5) + Pattern(kRoomRecordSize - 2, 9);
    ByteReader in(withText);
    RoomRecord r;
    ASSERT_TRUE(ReadRoomRecord(in, r));
    EXPECT_EQ(r.FirstText, QByteArray("abc"));
    ByteWriter w;
    WriteRoomRecord(w, r);
    EXPECT_EQ(w.data(), withText);

    QByteArray negative = Pattern(kRoomRecordSize, 1);
    negative[0] = '\xFF';
    negative[1] = '\xFF';
    ByteReader in2(negative);
    EXPECT_FALSE(ReadRoomRecord(in2, r));

    QByteArray tooLong = Pattern(kRoomRecordSize, 1);
    tooLong[0] = 0x10;
    tooLong[1] = 0x00;  // 16 text bytes would leave the record short
    ByteReader in3(tooLong);
    EXPECT_FALSE(ReadRoomRecord(in3, r));
}

TEST(SceneHeaderLayout, FieldsSitAtTheirOffsets)
{
    SceneHeader h;
    h.MagicLength = 8;
    h.Magic.set(QStringLiteral("DorvFile"));
    h.VersionLength = 5;
    h.Version.set(QStringLiteral("2.01A"));
    h.Environment.set(QStringLiteral("Classroom"));
    h.Place.set(QStringLiteral("Room"));
    h.PlanName.set(QStringLiteral("Plan"));
    h.WordCount = 1234;
    h.ItemCount = 56;
    h.Currency.set(QStringLiteral("\u20AC"));
    h.Budget = 100.f;
    h.Spent = 25.5f;
    h.Width = 3.f;
    h.Length = 5.f;
    h.Height = 2.5f;
    h.FloorColour = 0x112233;
    h.WallColour = 0x445566;
    h.BackgroundColour = 0xFFFFFF;
    h.Language.set(QStringLiteral("english"));
    h.UnitIndex = 4;
    ByteWriter w;
    WriteSceneHeader(w, h);
    const QByteArray& b = w.data();
    ASSERT_EQ(b.size(), kSceneHeaderSize);
    EXPECT_EQ(LongAt(b, 0), 8);
    EXPECT_EQ(b.mid(4, 8), QByteArray("DorvFile"));
    EXPECT_EQ(LongAt(b, 12), 5);
    EXPECT_EQ(b.mid(16, 5), QByteArray("2.01A"));
    EXPECT_EQ(b.mid(21, 32).trimmed(), QByteArray("Classroom"));
    EXPECT_EQ(b.mid(53, 32).trimmed(), QByteArray("Room"));
    EXPECT_EQ(b.mid(85, 32).trimmed(), QByteArray("Plan"));
    EXPECT_EQ(b.mid(117, 24), QByteArray(24, 0));
    EXPECT_EQ(LongAt(b, 141), 1234);
    EXPECT_EQ(LongAt(b, 145), 56);
    EXPECT_EQ(b.mid(149, 8), QByteArray("\x80       "));  // the euro sign is byte 0x80
    EXPECT_EQ(SingleAt(b, 157), 100.f);
    EXPECT_EQ(SingleAt(b, 161), 25.5f);
    EXPECT_EQ(SingleAt(b, 165), 3.f);
    EXPECT_EQ(SingleAt(b, 169), 5.f);
    EXPECT_EQ(SingleAt(b, 173), 2.5f);
    EXPECT_EQ(LongAt(b, 177), 0x112233);
    EXPECT_EQ(LongAt(b, 181), 0x445566);
    EXPECT_EQ(LongAt(b, 185), 0xFFFFFF);
    EXPECT_EQ(b.mid(189, 32).trimmed(), QByteArray("english"));
    EXPECT_EQ(IntAt(b, 221), 4);
}

TEST(SceneHeaderLayout, RoundTripKeepsEveryByte)
{
    const QByteArray original = Pattern(kSceneHeaderSize, 11);
    ByteReader in(original);
    SceneHeader h;
    ASSERT_TRUE(ReadSceneHeader(in, h));
    ByteWriter w;
    WriteSceneHeader(w, h);
    EXPECT_EQ(w.data(), original);
}

TEST(FixedText, CutsPadsAndTrims)
{
    FixedText<8> t;
    EXPECT_EQ(t.raw(), QByteArray(8, ' '));
    t.set(QStringLiteral("a b"));
    EXPECT_EQ(t.str(), QStringLiteral("a b     "));
    EXPECT_EQ(t.trimmed(), QStringLiteral("a b"));
    t.set(QStringLiteral("0123456789"));
    EXPECT_EQ(t.str(), QStringLiteral("01234567"));
    t.set(QStringLiteral("Ma\u00E7\u00E3"));
    EXPECT_EQ(t.raw(), QByteArray("Ma\xE7\xE3    "));
}
