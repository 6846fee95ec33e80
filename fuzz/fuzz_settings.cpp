// The settings file AdminSetup.txt: whatever it says, the program starts
// with sane folders, currencies and languages.
#include "FuzzEntries.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (!FuzzEntries::Settings(bytes)) __builtin_trap();
    return 0;
}
