// libFuzzer entry for the preview conversion: the one-pass converter must give
// exactly what the literal substitution passes give, for any post and any
// data folder, and the page bytes must be pure ASCII.
#include "conversion/bbcode.h"
#include "conversion/previewpage.h"

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte says how much of the rest names the data folder, so odd
    // folders ("]", ":p", "[*]" in them) are tried as well.
    const size_t dirLength = std::min<size_t>(data[0] % 24, size - 1);
    const auto *bytes = reinterpret_cast<const char *>(data + 1);
    const QString dataDir = QString::fromUtf8(bytes, qsizetype(dirLength));
    const QString text = QString::fromUtf8(bytes + dirLength, qsizetype(size - 1 - dirLength));

    const quorvane::BlockHeaders headers = quorvane::BlockHeaders::standard();
    const QString fast = quorvane::convertBBCode(text, dataDir, headers);
    const QString reference = quorvane::convertBBCodeReference(text, dataDir, headers);
    if (fast != reference)
        __builtin_trap();

    const QByteArray page = quorvane::previewPageBytes(fast);
    for (char c : page) {
        if (static_cast<unsigned char>(c) >= 0x80)
            __builtin_trap();
    }
    return 0;
}
