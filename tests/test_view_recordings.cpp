// The drawing of a furnished room in every view, held against a recording:
// the calls each view makes (as the recorder and the metafile writers see
// them) and the pixels it paints on a picture. Faster drawing must leave both
// exactly as they are.
//
// When a view's drawing is changed on purpose, run this test: each view whose
// calls or pixels moved prints its new digest and leaves its call list in a
// file beside the test's output, to be compared with the old one (git stash)
// before the digest in the table below is replaced.
#include "platform/PainterDc.h"
#include "platform/RecordingDc.h"
#include "scene/Environments.h"
#include "scene/SceneFile.h"
#include "scene/SceneState.h"
#include "scene/Stacking.h"
#include "scene/WindowPort.h"
#include "views/ViewRender.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLocale>
#include <gtest/gtest.h>

namespace {

const QString kContent = QStringLiteral(DORV_CONTENT_BUILD_DIR);
constexpr int kWidth = 900, kHeight = 640;

struct Port : WindowPort {
    bool dims = false;
    QSizeF CanvasSize() override { return {kWidth, kHeight}; }
    bool ShowDimensions() override { return dims; }
    QString PlaceSizeText(int box) override
    {
        static const char* sizes[] = {"", "4", "5.5", "2.5"};
        return box >= 1 && box <= 3 ? QLatin1String(sizes[box]) : QString();
    }
    int32_t SpreadsheetPage() override { return 1; }
    bool SpreadsheetShowsItems() override { return true; }
};

struct ViewCase {
    const char* name;
    int16_t mode;
    int16_t wallOrGraph;  // the wall index in the wall view, the graph kind in the report view
    bool dims;
    bool threeD;
    const char* calls;   // SHA-1 of the recorded calls, one line each
    const char* pixels;  // SHA-1 of the picture's pixels
};

// Recorded from the drawing as it stood when the view code last changed.
const ViewCase kCases[] = {
    {"plan", 0, 0, false, false, "76067289624f9ab53c280ee815ac120266c0b549",
     "54f1d0adcc17546d9343462ab29f07547c119507"},
    {"plan_dimensions", 0, 0, true, false, "9f92c53c3dcc47690a1b6e0b69c96bf883757568",
     "08908ff529b9389b54217f366b05f425acfc0248"},
    {"iso", 1, 0, false, false, "46cd75a9fbf252b03a6859296ec61de7fb0743a3",
     "834425979ed2c64fc514517f72aa4d56b6f8a1db"},
    {"iso_dimensions", 1, 0, true, false, "7971d3c58153c7397b4060d5a44116731d39a66e",
     "119c81c995a7ca7a19e41bcfaa48ab9ea2c1d746"},
    {"wall_north", 2, 0, false, false, "8d1dd0c96b4b12f96a7dc83fb3a62b04091ac37c",
     "0a9baeb409aa8ca8a4a33a68f84285f6539c70a5"},
    {"wall_west", 2, 1, true, false, "b06ebc7dcec82cb3c109ef6caf02b0963dea62c9",
     "05b9ee2f414f4e73a66ea1a55d7c4a8c03d45bc1"},
    {"wall_south", 2, 2, false, false, "08965a042a4bf9e73b693fcb56eec4522454484f",
     "19adaa51200f34bae289922952e760a3275336aa"},
    {"wall_east", 2, 3, false, false, "adb99f471885aec52f87a787b235a10f92d3b693",
     "c955303a17b32cfedb81935c7206d31caac7daba"},
    {"spreadsheet", 3, 0, false, false, "ac551dac3d8368d874a500c3d5c0a6735e6f0d9c",
     "ffff415c6e730914f0907f91a3d71fca5a510898"},
    {"pie", 3, 1, false, true, "11b19a7ce3de10460554621828d638c7aa50018b",
     "dd4f116514f39bd74aa520b750d94ad8677e20e9"},
    {"bars", 3, 2, false, true, "2e0aa0760a6010dbaf91ca0e1ca0aebd8b112fc8",
     "4b9765b577f41b101657df51811bfb689dddb53c"},
    {"pictogram", 3, 3, false, false, "5138cee9b65cea67765914701d4d2656c02bd445",
     "914ae7d1ce6436e5e0a1dbff3fb8180ad703dc79"},
    {"line", 3, 4, false, true, "9a28fe4580a33ae950b0ed315e5948d151b8eff6",
     "c5f43495e312679fca9ca53d6a3f478133e322b5"},
};

void PrintTo(const ViewCase& c, std::ostream* os) { *os << c.name; }

QByteArray Sha1(const QByteArray& bytes) { return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex(); }

class ViewRecordings : public ::testing::TestWithParam<ViewCase> {
protected:
    Port port;
    QLocale locale;

    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        SetWindows(&port);
        G = SceneState();
        FileMod::BuildEnvironmentList(kContent + QStringLiteral("/Environments"));
        int16_t env = 0;
        ASSERT_TRUE(FileMod::LoadSceneFile(kContent + QStringLiteral("/Examples/Living room.dvp"), G.PlacedItems,
                                           G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount, G.Room, env));
        ASSERT_GT(G.PlacedItemCount - G.Room.FirstRealItem, 5);
        FileMod::BuildOrderedItemList(G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount, G.ViewList,
                                      G.ViewListCount);
        G.PlanScale = 1.0f / 450;
        G.IsoScale = G.WallScale = 1.0f / 300;
        G.CanvasCentreX = kWidth / 2.0f;
        G.CanvasCentreY = kHeight / 2.0f;
        G.SelectedItem = G.Room.FirstRealItem + 1;
    }
    void TearDown() override
    {
        SetWindows(nullptr);
        QLocale::setDefault(locale);
    }
    void Show(const ViewCase& c)
    {
        port.dims = c.dims;
        G.ViewMode = c.mode;
        G.WallIndex = c.mode == 2 ? c.wallOrGraph : 0;
        G.GraphKind = c.mode == 3 ? c.wallOrGraph : 0;
        G.Graph3D.fill(c.threeD);
    }
};

TEST_P(ViewRecordings, CallsAndPixelsAreAsRecorded)
{
    const ViewCase& c = GetParam();
    Show(c);

    dorv::RecordingDc recorder;
    DrawMod::RenderView(c.mode, recorder);
    const QStringList lines = recorder.Lines();
    ASSERT_GT(lines.size(), 20);
    const QByteArray callText = lines.join(QLatin1Char('\n')).toUtf8();

    QImage picture(kWidth, kHeight, QImage::Format_RGB32);
    picture.fill(Qt::black);
    {
        dorv::ImageDc dc(&picture, 96);
        DrawMod::RenderView(c.mode, dc);
    }
    const QByteArray pixels(reinterpret_cast<const char*>(picture.constBits()), picture.sizeInBytes());

    const QByteArray calls = Sha1(callText), painted = Sha1(pixels);
    if (calls != c.calls || painted != c.pixels) {
        const QString dump = QDir::currentPath() + QStringLiteral("/view-recording-%1.txt").arg(QLatin1String(c.name));
        QFile f(dump);
        if (f.open(QIODevice::WriteOnly)) f.write(callText);
        picture.save(QString(dump).replace(QStringLiteral(".txt"), QStringLiteral(".png")));
        ADD_FAILURE() << c.name << ": calls " << calls.constData() << ", pixels " << painted.constData()
                      << " (calls and picture in " << dump.toStdString() << " and .png)";
    }
}

INSTANTIATE_TEST_SUITE_P(FurnishedRoom, ViewRecordings, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<ViewCase>& p) { return std::string(p.param.name); });

}  // namespace
