#include "import/importformat.h"

#include "import/htmlimport.h"
#include "import/rtfimport.h"

namespace quorvane {

ReadResult importDocumentBytes(const QByteArray &bytes, ImportFormat format,
                               const ImportOptions &options)
{
    ReadResult read;
    switch (format) {
    case ImportFormat::Html:
        read.text = htmlToBBCode(decodeHtml(bytes), options);
        break;
    case ImportFormat::Rtf:
        if (!bytes.startsWith("{\\rtf")) {
            read.error = QStringLiteral("The file is not in rich-text format.");
            return read;
        }
        read.text = rtfToBBCode(bytes, options);
        break;
    }
    read.ok = true;
    return read;
}

DocumentDecoder importDecoder(ImportFormat format, const ImportOptions &options)
{
    return [format, options](const QByteArray &bytes) {
        return importDocumentBytes(bytes, format, options);
    };
}

ReadResult importDocumentFile(const QString &path, ImportFormat format,
                              const ImportOptions &options)
{
    return readDocumentFile(path, importDecoder(format, options));
}

ImportFormat importFormatForFile(const QString &path)
{
    return path.endsWith(QLatin1String(".rtf"), Qt::CaseInsensitive) ? ImportFormat::Rtf
                                                                     : ImportFormat::Html;
}

} // namespace quorvane
