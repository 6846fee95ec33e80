// Opening scenes again and again, as the Open command does: a refused
// old-format scene that looks up a great many missing item files, and a
// scene of the current version. The program must not grow with each load,
// and a load must not get slower the more loads came before it.
#include "app/Main.h"
#include "platform/AppInfo.h"
#include "platform/Forms.h"
#include "scene/SceneState.h"

#include "support/NewPlaceScript.h"
#include "support/TestDialogs.h"

#include <QElapsedTimer>
#include <QFile>
#include <gtest/gtest.h>

#include <malloc.h>

#include <algorithm>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define DORV_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define DORV_ASAN 1
#endif
#endif
#ifdef DORV_ASAN
// The sanitizer's allocator statistics (its interface header is not
// installed with every compiler).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

// Bytes the program holds allocated now.
double LiveHeap()
{
#ifdef DORV_ASAN
    return double(__sanitizer_get_current_allocated_bytes());
#else
    return double(mallinfo2().uordblks);
#endif
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

class RepeatedOpens : public ::testing::Test {
protected:
    void SetUp() override
    {
        dorv::SetAppPath(DORV_CONTENT_BUILD_DIR);
        dorv::SetCommandLine(QString());
        ExpectNewPlace(3);
        main = std::make_unique<Main>();
        StartProgram(*main);
        ASSERT_EQ(TestDialogs().Pending(), 0);
        TestDialogs().Reset();
    }
    void TearDown() override { CloseProgram(main); }

    // Opens `path` `times` times; the seconds each open took.
    std::vector<double> open(const QString& path, int times, bool accepted, int boxes)
    {
        std::vector<double> seconds;
        for (int i = 0; i < times; ++i) {
            for (int b = 0; b < boxes; ++b) TestDialogs().ExpectMsgBox(1);
            QElapsedTimer t;
            t.start();
            const bool opened = main->OpenSceneFile(path);
            seconds.push_back(t.nsecsElapsed() / 1e9);
            EXPECT_EQ(opened, accepted) << i;
            EXPECT_EQ(TestDialogs().Pending(), 0) << i;
            TestDialogs().Reset();  // the list of questions asked would grow
            if (HasFailure()) break;
        }
        return seconds;
    }

    std::unique_ptr<Main> main;
};

TEST_F(RepeatedOpens, MemoryAndTimePerLoadStayFlat)
{
    struct Scene {
        QString path;
        bool accepted;
        int boxes;
    };
    const Scene scenes[] = {
        // Refused at its end, after every entry was looked for in Home.
        {QStringLiteral(DORV_SOURCE_DIR "/fuzz/corpus/fuzz_scene_file/old-scene-memory-growth"), false, 1},
        {QStringLiteral(DORV_CONTENT_BUILD_DIR "/Examples/Living room.dvp"), true, 0},
    };
    std::vector<double> perLoad;
    for (const Scene& s : scenes) {
        SCOPED_TRACE(s.path.toStdString());
        ASSERT_TRUE(QFile::exists(s.path));
        open(s.path, 20, s.accepted, s.boxes);  // what a first load sets up for good
        ASSERT_FALSE(HasFailure());
        const double live = LiveHeap();
        const std::vector<double> first = open(s.path, 50, s.accepted, s.boxes);
        open(s.path, 100, s.accepted, s.boxes);
        const std::vector<double> last = open(s.path, 50, s.accepted, s.boxes);
        ASSERT_FALSE(HasFailure());
        const double loads = 200;
        EXPECT_LT((LiveHeap() - live) / loads, 1024) << "bytes kept per load";
        EXPECT_LT(Median(last), 2 * Median(first) + 0.002)
            << "seconds per load: " << Median(first) << " at first, " << Median(last) << " at the end";
        // The fastest load is what the work itself costs; the others also
        // hold whatever else the machine was doing at the time.
        perLoad.push_back(*std::min_element(last.begin(), last.end()));
    }
    // Looking for the item files that an old scene names, missing ones
    // included, costs a small part of what opening and showing a furnished
    // room does.
    EXPECT_LT(perLoad[0], perLoad[1] / 3) << "seconds per load of the old scene and of the current one";
}

}  // namespace
