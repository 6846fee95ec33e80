// Language sections of dvf files: any bytes must read without a crash, and
// every lookup afterwards must answer.
#include "scene/LangMod.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    LangMod::LanguageTables tables;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    LangMod::ReadLanguageText(bytes, QStringLiteral("msg"), tables);
    for (const auto& slot : tables)
        if (slot) (void)slot->Find(QStringLiteral("msg\\lang_Width"));
    return 0;
}
