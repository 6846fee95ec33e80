#pragma once
// On-disk forms of the records: little-endian, field after field, no gaps.
// Readers take a bounds-checked ByteReader and report failure instead of
// reading past the data; reserved fields are carried byte for byte.

#include "platform/ByteIO.h"
#include "scene/Records.h"

constexpr int kItemRecordSize = 260;
constexpr int kRoomRecordSize = 90;  // with an empty text field
constexpr int kSceneHeaderSize = 223;
// Version 2.00A headers end before the length-unit field.
constexpr int kSceneHeaderSize200 = 221;

void WriteItemRecord(dorv::ByteWriter& w, const ItemRecord& r);
bool ReadItemRecord(dorv::ByteReader& in, ItemRecord& r);

void WriteRoomRecord(dorv::ByteWriter& w, const RoomRecord& r);
bool ReadRoomRecord(dorv::ByteReader& in, RoomRecord& r);

void WriteSceneHeader(dorv::ByteWriter& w, const SceneHeader& h);
bool ReadSceneHeader(dorv::ByteReader& in, SceneHeader& h);
