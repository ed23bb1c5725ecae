// libFuzzer entry for Remove Text Formatting: the fast stripper must give
// exactly what the 80 literal deletion passes give.
#include "conversion/stripper.h"

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    if (quorvane::stripFormatting(text) != quorvane::stripFormattingReference(text))
        __builtin_trap();
    return 0;
}
