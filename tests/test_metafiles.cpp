// The metafile writers: enhanced and Windows metafiles made from recorded
// device calls, read back record by record.
#include "platform/ByteIO.h"
#include "platform/Metafiles.h"
#include "platform/RecordingDc.h"

#include "support/QtPrint.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

using namespace dorv;

namespace {

struct EmfRecord {
    uint32_t type = 0;
    int32_t offset = 0;
    int32_t size = 0;
};

// Walks an enhanced metafile's records, checking that they tile the file.
std::vector<EmfRecord> EmfRecords(const QByteArray& data)
{
    std::vector<EmfRecord> out;
    int32_t at = 0;
    while (at + 8 <= data.size()) {
        QByteArray head = data.mid(at, 8);
        ByteReader r(head);
        EmfRecord rec;
        rec.type = uint32_t(r.i32());
        rec.size = r.i32();
        rec.offset = at;
        EXPECT_GE(rec.size, 8);
        EXPECT_EQ(rec.size % 4, 0) << "record " << rec.type;
        if (rec.size < 8) break;
        out.push_back(rec);
        at += rec.size;
    }
    EXPECT_EQ(at, data.size());
    return out;
}

int32_t I32(const QByteArray& data, int offset)
{
    QByteArray part = data.mid(offset, 4);
    ByteReader r(part);
    return r.i32();
}

int16_t I16(const QByteArray& data, int offset)
{
    QByteArray part = data.mid(offset, 2);
    ByteReader r(part);
    return r.i16();
}

struct WmfRecord {
    uint16_t function = 0;
    int32_t offset = 0;  // bytes
    int32_t words = 0;
};

std::vector<WmfRecord> WmfRecords(const QByteArray& data)
{
    std::vector<WmfRecord> out;
    int32_t at = 18;
    while (at + 6 <= data.size()) {
        WmfRecord rec;
        rec.words = I32(data, at);
        rec.function = uint16_t(I16(data, at + 4));
        rec.offset = at;
        EXPECT_GE(rec.words, 3);
        if (rec.words < 3) break;
        out.push_back(rec);
        at += rec.words * 2;
        if (rec.function == meta::Eof) break;
    }
    EXPECT_EQ(at, data.size());
    return out;
}

// A small drawing: a filled rectangle, a polygon with a hole, a line and a text.
void DrawSample(RecordingDc& dc)
{
    GdiObject pen = CreatePen(PS_GEOMETRIC, 3, RGB(200, 100, 50));  // every byte of the colour
    GdiObject brush = CreateSolidBrush(RGB(0, 0, 255));
    GdiObject oldPen = dc.SelectObject(pen);
    GdiObject oldBrush = dc.SelectObject(brush);
    dc.Rectangle(10, 20, 110, 70);
    const QPoint rings[] = {{200, 10}, {260, 10}, {260, 60}, {200, 60}, {210, 20}, {250, 20}, {230, 50}};
    const int32_t counts[] = {4, 3};
    dc.PolyPolygon(rings, counts, 2);
    dc.MoveToEx(5, 5);
    dc.LineTo(300, 100);
    GdiObject font = CreateFontA(-16, 0, 0, FW_NORMAL, QStringLiteral("Arial"));
    GdiObject oldFont = dc.SelectObject(font);
    dc.SetBkMode(TRANSPARENT);
    dc.TextOutA(40, 80, QStringLiteral("Sala \u00e9"));
    dc.SelectObject(oldFont);
    DeleteObject(font);
    dc.SelectObject(oldBrush);
    dc.SelectObject(oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
}

}  // namespace

TEST(Metafiles, EnhancedMetafileHeaderAndRecordsReadBack)
{
    RecordingDc dc;
    DrawSample(dc);
    const QString description = QStringLiteral("Dorv") + QChar(0) + QStringLiteral("Drawing") + QChar(0) + QChar(0);
    const QByteArray emf = EnhancedMetafileBytes(dc.Calls(), {640, 480, 96, 96}, description);

    std::vector<EmfRecord> records = EmfRecords(emf);
    ASSERT_GE(records.size(), 3u);
    EXPECT_EQ(records.front().type, emr::Header);
    EXPECT_EQ(records.back().type, emr::Eof);
    EXPECT_EQ(records.back().size, 20);
    EXPECT_EQ(I32(emf, records.back().offset + 16), 20);  // the size repeated last

    // Header: signature, version, the file's size and record count.
    EXPECT_EQ(uint32_t(I32(emf, 40)), emr::Signature);
    EXPECT_EQ(I32(emf, 44), 0x10000);
    EXPECT_EQ(I32(emf, 48), emf.size());
    EXPECT_EQ(I32(emf, 52), int32_t(records.size()));
    // Bounds: the pen's half width round the rectangle's left, the line's
    // far end; the text below reaches lower than the line's end.
    const int left = I32(emf, 8), top = I32(emf, 12), right = I32(emf, 16), bottom = I32(emf, 20);
    EXPECT_EQ(left, 4);
    EXPECT_EQ(top, 4);
    EXPECT_EQ(right, 301);
    EXPECT_GT(bottom, 95);
    // Frame in hundredths of a millimetre at 96 dpi.
    EXPECT_EQ(I32(emf, 24), 4 * 2540 / 96);
    EXPECT_EQ(I32(emf, 32), (right + 1) * 2540 / 96 - 1);
    // Device size and its millimetres.
    EXPECT_EQ(I32(emf, 72), 640);
    EXPECT_EQ(I32(emf, 76), 480);
    EXPECT_EQ(I32(emf, 80), 169);
    EXPECT_EQ(I32(emf, 84), 127);
    // Description with its NULs, UTF-16.
    const int chars = I32(emf, 60), where = I32(emf, 64);
    EXPECT_EQ(chars, description.size());
    QString read;
    for (int i = 0; i < chars; ++i) read.append(QChar(uint16_t(I16(emf, where + 2 * i))));
    EXPECT_EQ(read, description);
    EXPECT_LE(where + 2 * chars, records.front().size);

    // Each kind of record where the drawing put it.
    std::map<uint32_t, std::vector<EmfRecord>> byType;
    for (const EmfRecord& r : records) byType[r.type].push_back(r);
    ASSERT_EQ(byType[emr::CreatePen].size(), 1u);
    const int pen = byType[emr::CreatePen][0].offset;
    EXPECT_EQ(byType[emr::CreatePen][0].size, 28);
    EXPECT_EQ(I32(emf, pen + 12), PS_SOLID);
    EXPECT_EQ(I32(emf, pen + 16), 3);
    EXPECT_EQ(I32(emf, pen + 24), RGB(200, 100, 50));
    ASSERT_EQ(byType[emr::Rectangle].size(), 1u);
    const int rect = byType[emr::Rectangle][0].offset;
    EXPECT_EQ(I32(emf, rect + 8), 10);
    EXPECT_EQ(I32(emf, rect + 12), 20);
    EXPECT_EQ(I32(emf, rect + 16), 110);
    EXPECT_EQ(I32(emf, rect + 20), 70);
    ASSERT_EQ(byType[emr::PolyPolygon].size(), 1u);
    const EmfRecord& pp = byType[emr::PolyPolygon][0];
    EXPECT_EQ(pp.size, 32 + 4 * 2 + 8 * 7);
    EXPECT_EQ(I32(emf, pp.offset + 24), 2);
    EXPECT_EQ(I32(emf, pp.offset + 28), 7);
    EXPECT_EQ(I32(emf, pp.offset + 32), 4);
    EXPECT_EQ(I32(emf, pp.offset + 36), 3);
    ASSERT_EQ(byType[emr::ExtTextOutW].size(), 1u);
    const EmfRecord& text = byType[emr::ExtTextOutW][0];
    EXPECT_EQ(I32(emf, text.offset + 36), 40);  // reference point
    EXPECT_EQ(I32(emf, text.offset + 40), 80);
    EXPECT_EQ(I32(emf, text.offset + 44), 6);   // characters
    const int stringAt = I32(emf, text.offset + 48), dxAt = I32(emf, text.offset + 72);
    EXPECT_EQ(QChar(uint16_t(I16(emf, text.offset + stringAt + 10))), QChar(0xE9));
    int advances = 0;
    for (int i = 0; i < 6; ++i) advances += I32(emf, text.offset + dxAt + 4 * i);
    EXPECT_GT(advances, 30);
    EXPECT_EQ(dxAt + 24, text.size);
    // Every object made is deleted again. Selecting back the context's first
    // pen and brush selects the stock objects; its first font is made anew.
    EXPECT_EQ(byType[emr::DeleteObject].size(), 3u);
    EXPECT_EQ(byType[emr::ExtCreateFontIndirectW].size(), 2u);
    int stock = 0;
    for (const EmfRecord& r : byType[emr::SelectObject]) stock += uint32_t(I32(emf, r.offset + 8)) >= 0x80000000u;
    EXPECT_EQ(stock, 2);
    EXPECT_EQ(I16(emf, 56), 5);  // at most four objects at once and the metafile's own slot
    EXPECT_EQ(byType[emr::SetBkMode].size(), 1u);
}

TEST(Metafiles, ObjectsMadeBeforeTheRecordingAndDeletionsWhileSelected)
{
    // An object that existed before the recording began is made in the
    // metafile when first selected, and never deleted there.
    GdiObject early = CreateSolidBrush(RGB(1, 2, 3));
    RecordingDc dc;
    GdiObject stockBrush = dc.SelectObject(early);
    dc.Rectangle(0, 0, 10, 10);
    // A pen deleted while still selected goes once it is deselected.
    GdiObject pen = CreatePen(PS_GEOMETRIC, 1, 0);
    GdiObject stockPen = dc.SelectObject(pen);
    DeleteObject(pen);
    dc.LineTo(5, 5);
    dc.SelectObject(stockPen);
    dc.SelectObject(stockBrush);
    DeleteObject(early);

    const QByteArray emf = EnhancedMetafileBytes(dc.Calls(), {}, QString());
    std::vector<EmfRecord> records = EmfRecords(emf);
    std::vector<uint32_t> types;
    for (const EmfRecord& r : records) types.push_back(r.type);
    const std::vector<uint32_t> expected = {
        emr::Header,       emr::CreateBrushIndirect, emr::SelectObject, emr::Rectangle,
        emr::CreatePen,    emr::SelectObject,        emr::LineTo,       emr::SelectObject,
        emr::DeleteObject, emr::SelectObject,        emr::DeleteObject, emr::Eof};
    EXPECT_EQ(types, expected);
    // The early brush keeps its colour; the deferred deletion is of the pen's
    // slot (2) once the stock pen is selected; the early brush goes last.
    EXPECT_EQ(I32(emf, records[1].offset + 16), RGB(1, 2, 3));
    EXPECT_EQ(uint32_t(I32(emf, records[7].offset + 8)), 0x80000007u);
    EXPECT_EQ(I32(emf, records[8].offset + 8), 2);
    EXPECT_EQ(uint32_t(I32(emf, records[9].offset + 8)), 0x80000000u);
    EXPECT_EQ(I32(emf, records[10].offset + 8), 1);
    // Without a description the header says so.
    EXPECT_EQ(I32(emf, 60), 0);
    EXPECT_EQ(I32(emf, 64), 0);
}

TEST(Metafiles, WindowsMetafileRecordsReadBack)
{
    RecordingDc dc;
    DrawSample(dc);
    const QByteArray wmf = WindowsMetafileBits(dc.Calls());
    ASSERT_FALSE(wmf.isEmpty());
    // Header: memory metafile, 9 words, version 3, the size in words.
    EXPECT_EQ(I16(wmf, 0), 1);
    EXPECT_EQ(I16(wmf, 2), 9);
    EXPECT_EQ(I16(wmf, 4), 0x0300);
    EXPECT_EQ((uint16_t(I16(wmf, 6)) | (int32_t(uint16_t(I16(wmf, 8))) << 16)) * 2, wmf.size());

    std::vector<WmfRecord> records = WmfRecords(wmf);
    ASSERT_GE(records.size(), 4u);
    EXPECT_EQ(records.back().function, meta::Eof);
    EXPECT_EQ(records.back().words, 3);
    int largest = 0;
    for (const WmfRecord& r : records) largest = std::max(largest, r.words);
    EXPECT_EQ(I32(wmf, 12), largest);

    // The anisotropic window is the drawing's bounds, given y first.
    const QRect bounds = RecordedBounds(dc.Calls());
    ASSERT_EQ(records[0].function, meta::SetMapMode);
    EXPECT_EQ(I16(wmf, records[0].offset + 6), 8);
    ASSERT_EQ(records[1].function, meta::SetWindowOrg);
    EXPECT_EQ(I16(wmf, records[1].offset + 6), bounds.top());
    EXPECT_EQ(I16(wmf, records[1].offset + 8), bounds.left());
    ASSERT_EQ(records[2].function, meta::SetWindowExt);
    EXPECT_EQ(I16(wmf, records[2].offset + 6), bounds.height());
    EXPECT_EQ(I16(wmf, records[2].offset + 8), bounds.width());

    std::map<uint16_t, std::vector<WmfRecord>> byFunction;
    for (const WmfRecord& r : records) byFunction[r.function].push_back(r);
    // Rectangle parameters run bottom, right, top, left.
    ASSERT_EQ(byFunction[meta::Rectangle].size(), 1u);
    const int rect = byFunction[meta::Rectangle][0].offset;
    EXPECT_EQ(I16(wmf, rect + 6), 70);
    EXPECT_EQ(I16(wmf, rect + 8), 110);
    EXPECT_EQ(I16(wmf, rect + 10), 20);
    EXPECT_EQ(I16(wmf, rect + 12), 10);
    ASSERT_EQ(byFunction[meta::PolyPolygon].size(), 1u);
    EXPECT_EQ(byFunction[meta::PolyPolygon][0].words, 3 + 1 + 2 + 14);
    // The text in Windows-1252, its length in bytes, then y and x.
    ASSERT_EQ(byFunction[meta::TextOut].size(), 1u);
    const WmfRecord& text = byFunction[meta::TextOut][0];
    EXPECT_EQ(I16(wmf, text.offset + 6), 6);
    EXPECT_EQ(uint8_t(wmf[text.offset + 8 + 5]), 0xE9);
    EXPECT_EQ(I16(wmf, text.offset + 8 + 6), 80);
    EXPECT_EQ(I16(wmf, text.offset + 8 + 8), 40);
    // Objects: the table is reused once a slot is freed; the header counts
    // the largest table the metafile needs.
    // The context's first objects, selected back, are made as objects (a
    // Windows metafile has no stock objects).
    ASSERT_EQ(byFunction[meta::CreatePenIndirect].size(), 2u);
    EXPECT_EQ(I32(wmf, byFunction[meta::CreatePenIndirect][0].offset + 12), RGB(200, 100, 50));
    ASSERT_EQ(byFunction[meta::CreateFontIndirect].size(), 2u);
    EXPECT_EQ(byFunction[meta::CreateFontIndirect][0].words, 3 + 25);
    EXPECT_EQ(byFunction[meta::DeleteObject].size(), 3u);
    EXPECT_EQ(I16(wmf, 10), 5);
    EXPECT_EQ(QByteArray(wmf.constData() + byFunction[meta::CreateFontIndirect][0].offset + 24), "Arial");
}

TEST(Metafiles, ViewportOriginNothingDrawnAndBadCalls)
{
    RecordingDc dc;
    dc.SetViewportOrgEx(100, 50);
    dc.Rectangle(0, 0, 10, 10);
    // Calls that draw nothing on a device leave nothing in a metafile.
    const QPoint one[] = {{1, 1}};
    const int32_t bad[] = {1};
    dc.Polygon(one, 1);
    dc.PolyPolygon(one, bad, 1);
    QRect bounds = RecordedBounds(dc.Calls());
    EXPECT_EQ(bounds, QRect(QPoint(100, 50), QPoint(109, 59)));
    const QByteArray emf = EnhancedMetafileBytes(dc.Calls(), {}, QString());
    std::vector<EmfRecord> records = EmfRecords(emf);
    ASSERT_EQ(records.size(), 3u);  // header, rectangle, end
    EXPECT_EQ(I32(emf, records[1].offset + 8), 100);
    // Coordinates beyond 16 bits are clamped in the Windows metafile.
    RecordingDc far;
    far.Rectangle(-40000, 0, 40000, 10);
    const QByteArray wmf = WindowsMetafileBits(far.Calls());
    std::vector<WmfRecord> w = WmfRecords(wmf);
    ASSERT_EQ(w[3].function, meta::Rectangle);
    EXPECT_EQ(I16(wmf, w[3].offset + 8), 32767);
    EXPECT_EQ(I16(wmf, w[3].offset + 12), -32768);

    RecordingDc empty;
    EXPECT_TRUE(RecordedBounds(empty.Calls()).isNull());
    EXPECT_TRUE(WindowsMetafileBits(empty.Calls()).isEmpty());
    const QByteArray none = EnhancedMetafileBytes(empty.Calls(), {}, QString());
    EXPECT_EQ(EmfRecords(none).size(), 2u);
    EXPECT_EQ(I32(none, 16), -1);  // an empty picture's bounds
}
