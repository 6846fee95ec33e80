// Scene files of every version: any bytes are loaded or refused without
// reading outside them, and a refused file leaves the scene as it was.
#include "FuzzEntries.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (!FuzzEntries::SceneFile(bytes)) __builtin_trap();
    return 0;
}
