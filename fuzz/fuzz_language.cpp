// Language sections of dvf files: any bytes must read without a crash, and
// the rules that end every read hold.
#include "FuzzEntries.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (!FuzzEntries::Language(bytes)) __builtin_trap();
    return 0;
}
