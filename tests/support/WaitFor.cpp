#include "support/WaitFor.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {
// Generous: a wait ends as soon as its condition holds, so only a fault
// waits this long.
constexpr int kPatienceMs = 20000;
}  // namespace

bool WaitFor(const std::function<bool()>& done, const char* what, const char* file, int line)
{
    if (QTest::qWaitFor(done, kPatienceMs)) return true;
    [&] { GTEST_FAIL_AT(file, line) << "waited " << kPatienceMs / 1000 << " s for: " << what; }();
    return false;
}
