#include "scene/RecordIO.h"

using dorv::ByteReader;
using dorv::ByteWriter;

namespace {
template <int N>
void Put(ByteWriter& w, const FixedText<N>& t)
{
    w.bytes(t.bytes.data(), N);
}
template <int N>
void Get(ByteReader& in, FixedText<N>& t)
{
    in.bytes(t.bytes.data(), N);
}
template <std::size_t N>
void PutRaw(ByteWriter& w, const std::array<uint8_t, N>& a)
{
    w.bytes(a.data(), static_cast<int>(N));
}
template <std::size_t N>
void GetRaw(ByteReader& in, std::array<uint8_t, N>& a)
{
    in.bytes(a.data(), static_cast<int>(N));
}
template <std::size_t N>
void PutLongs(ByteWriter& w, const std::array<int32_t, N>& a)
{
    for (int32_t v : a) w.i32(v);
}
template <std::size_t N>
void GetLongs(ByteReader& in, std::array<int32_t, N>& a)
{
    for (int32_t& v : a) v = in.i32();
}
}  // namespace

void WriteItemRecord(ByteWriter& w, const ItemRecord& r)
{
    Put(w, r.Name);
    w.i32(r.ShapeStart);
    w.i32(r.FirstShape);
    w.i32(r.FootprintShape);
    w.i32(r.ShapeEnd);
    w.i32(r.FloorColourShape);
    w.i32(r.FaceColourShape);
    w.i16(r.ViewCount);
    w.f32(r.Price);
    w.i16(r.Reserved16);
    PutLongs(w, r.Reserved32);
    w.i32(r.Flags);
    w.f32(r.HeightMm);
    w.f32(r.WidthMm);
    w.f32(r.DepthMm);
    w.i32(r.FootMinX);
    w.i32(r.FootMinY);
    w.i32(r.FootWidth);
    w.i32(r.FootDepth);
    w.i32(r.Height);
    w.f32(r.Elevation);
    w.i32(r.SectionLength);
    w.i16(r.ViewIndex);
    w.i16(r.WallSide);
    w.f32(r.X);
    w.f32(r.Y);
    PutRaw(w, r.ReservedAfterPosition);
    w.f32(r.WallAngle);
    PutRaw(w, r.SubRecords);
}

bool ReadItemRecord(ByteReader& in, ItemRecord& r)
{
    if (in.remaining() < kItemRecordSize) {
        in.skip(kItemRecordSize);  // marks the reader failed
        return false;
    }
    Get(in, r.Name);
    r.ShapeStart = in.i32();
    r.FirstShape = in.i32();
    r.FootprintShape = in.i32();
    r.ShapeEnd = in.i32();
    r.FloorColourShape = in.i32();
    r.FaceColourShape = in.i32();
    r.ViewCount = in.i16();
    r.Price = in.f32();
    r.Reserved16 = in.i16();
    GetLongs(in, r.Reserved32);
    r.Flags = in.i32();
    r.HeightMm = in.f32();
    r.WidthMm = in.f32();
    r.DepthMm = in.f32();
    r.FootMinX = in.i32();
    r.FootMinY = in.i32();
    r.FootWidth = in.i32();
    r.FootDepth = in.i32();
    r.Height = in.i32();
    r.Elevation = in.f32();
    r.SectionLength = in.i32();
    r.ViewIndex = in.i16();
    r.WallSide = in.i16();
    r.X = in.f32();
    r.Y = in.f32();
    GetRaw(in, r.ReservedAfterPosition);
    r.WallAngle = in.f32();
    GetRaw(in, r.SubRecords);
    return in.ok();
}

void WriteRoomRecord(ByteWriter& w, const RoomRecord& r)
{
    w.i16(static_cast<int16_t>(r.FirstText.size()));
    w.bytes(r.FirstText);
    w.i32(r.RoomListStart);
    PutLongs(w, r.Reserved1);
    w.i32(r.FloorGroupStart);
    w.i32(r.WallPathStart);
    w.i32(r.RoomListEnd);
    w.i32(r.Reserved2);
    w.i16(r.RoomKind);
    PutLongs(w, r.Reserved3);
    w.i32(r.ExtentX);
    w.i32(r.ExtentY);
    w.i32(r.ExtentZ);
    w.i16(r.Reserved4);
    PutLongs(w, r.Reserved5);
    w.i32(r.FirstWallSection);
    w.i32(r.WallSectionCount);
    w.i32(r.FirstRealItem);
}

bool ReadRoomRecord(ByteReader& in, RoomRecord& r)
{
    // The record opens with a counted text that the program always leaves
    // empty; a file may still hold one, which is kept and written back.
    int16_t textLength = in.i16();
    if (!in.ok() || textLength < 0 || in.remaining() < textLength + kRoomRecordSize - 2) {
        in.skip(kRoomRecordSize);
        return false;
    }
    r.FirstText = in.bytes(textLength);
    r.RoomListStart = in.i32();
    GetLongs(in, r.Reserved1);
    r.FloorGroupStart = in.i32();
    r.WallPathStart = in.i32();
    r.RoomListEnd = in.i32();
    r.Reserved2 = in.i32();
    r.RoomKind = in.i16();
    GetLongs(in, r.Reserved3);
    r.ExtentX = in.i32();
    r.ExtentY = in.i32();
    r.ExtentZ = in.i32();
    r.Reserved4 = in.i16();
    GetLongs(in, r.Reserved5);
    r.FirstWallSection = in.i32();
    r.WallSectionCount = in.i32();
    r.FirstRealItem = in.i32();
    return in.ok();
}

void WriteSceneHeader(ByteWriter& w, const SceneHeader& h)
{
    w.i32(h.MagicLength);
    Put(w, h.Magic);
    w.i32(h.VersionLength);
    Put(w, h.Version);
    Put(w, h.Environment);
    Put(w, h.Place);
    Put(w, h.PlanName);
    PutRaw(w, h.Reserved);
    w.i32(h.WordCount);
    w.i32(h.ItemCount);
    Put(w, h.Currency);
    w.f32(h.Budget);
    w.f32(h.Spent);
    w.f32(h.Width);
    w.f32(h.Length);
    w.f32(h.Height);
    w.i32(h.FloorColour);
    w.i32(h.WallColour);
    w.i32(h.BackgroundColour);
    Put(w, h.Language);
    w.i16(h.UnitIndex);
}

bool ReadSceneHeader(ByteReader& in, SceneHeader& h)
{
    if (in.remaining() < kSceneHeaderSize) {
        in.skip(kSceneHeaderSize);
        return false;
    }
    h.MagicLength = in.i32();
    Get(in, h.Magic);
    h.VersionLength = in.i32();
    Get(in, h.Version);
    Get(in, h.Environment);
    Get(in, h.Place);
    Get(in, h.PlanName);
    GetRaw(in, h.Reserved);
    h.WordCount = in.i32();
    h.ItemCount = in.i32();
    Get(in, h.Currency);
    h.Budget = in.f32();
    h.Spent = in.f32();
    h.Width = in.f32();
    h.Length = in.f32();
    h.Height = in.f32();
    h.FloorColour = in.i32();
    h.WallColour = in.i32();
    h.BackgroundColour = in.i32();
    Get(in, h.Language);
    h.UnitIndex = in.i16();
    return in.ok();
}
