// Outside programs the tests read the program's output with (metafile and
// PDF readers, a VRML viewer). The README's test command installs every one
// of them, so a build configured by it (DORV_REQUIRE_OUTSIDE_PROGRAMS) fails
// a test whose program is missing, showing a broken install step, where any
// other build skips that test.
#pragma once

#include <QStandardPaths>
#include <QString>
#include <gtest/gtest.h>

#ifdef DORV_REQUIRE_OUTSIDE_PROGRAMS
#define DORV_MISSING_PROGRAM FAIL
#else
#define DORV_MISSING_PROGRAM GTEST_SKIP
#endif

// Ends the current test (or its SetUp) unless `program` is on the PATH.
#define NEED_OUTSIDE_PROGRAM(program)                                            \
    if (QStandardPaths::findExecutable(QStringLiteral(program)).isEmpty())       \
    DORV_MISSING_PROGRAM() << program << " is not installed (see build.sh)"
