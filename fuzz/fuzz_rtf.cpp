// libFuzzer entry for the document readers: any bytes must give a result
// without a crash, a hang or undefined behaviour.
#include "documents/documentfile.h"
#include "documents/rtfreader.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView view(reinterpret_cast<const char *>(data), qsizetype(size));

    // Most inputs should reach the rich-text reader, not the plain-text path.
    QByteArray rtf("{\\rtf1 ");
    rtf.append(view);
    const quorvane::RtfResult result = quorvane::readRtf(rtf);
    if (!result.ok) {
        __builtin_trap();
    }
    // The text must stay well-formed UTF-16.
    const QString &text = result.text;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isHighSurrogate()) {
            if (i + 1 >= text.size() || !text.at(i + 1).isLowSurrogate()) {
                __builtin_trap();
            }
            ++i;
        } else if (text.at(i).isLowSurrogate()) {
            __builtin_trap();
        }
    }

    quorvane::readRtf(view);
    quorvane::readDocumentBytes(view.toByteArray());
    return 0;
}
