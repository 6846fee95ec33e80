// Scene files of every version: any bytes are loaded or refused without
// reading outside them, and a refused file leaves the scene as it was.
#include "FuzzEntries.h"
#include "platform/AppInfo.h"

#include <cstddef>
#include <cstdint>

// Old-format scenes name item files of the installed environments: those the
// build assembled, whatever folder the fuzzer runs in, unless
// DORV_CONTENT_DIR names others.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (qEnvironmentVariableIsEmpty("DORV_CONTENT_DIR")) dorv::SetAppPath(QStringLiteral(DORV_CONTENT_BUILD_DIR));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (!FuzzEntries::SceneFile(bytes)) __builtin_trap();
    return 0;
}
