#include "commands/importcommands.h"

#include "commands/documentcommands.h"
#include "import/htmlimport.h"
#include "import/importformat.h"
#include "import/rtfimport.h"
#include "settings/editorformat.h"
#include "shell/mainform.h"
#include "shell/typer.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace quorvane {

ImportCommands::ImportCommands(MainForm &form, DocumentCommands &documents)
    : QObject(&form), m_form(form), m_documents(documents)
{
    connect(form.command("PasteBBCode"), &QAction::triggered, this, &ImportCommands::pasteAsBBCode);
    connect(form.command("ImportBBCode"), &QAction::triggered, this,
            &ImportCommands::importAsBBCode);

    QAction *keep = form.command("KeepColoursSizes");
    keep->setChecked(storedOptions().keepColoursAndSizes);
    connect(keep, &QAction::toggled, this, [](bool checked) {
        editorformat::writeStored(editorformat::keepColoursKey,
                                  checked ? QStringLiteral("true") : QStringLiteral("false"));
    });
}

ImportOptions ImportCommands::storedOptions()
{
    const QString stored = editorformat::readStored(editorformat::keepColoursKey);
    ImportOptions options;
    options.keepColoursAndSizes =
        stored.isEmpty() ? editorformat::defaultKeepColours : stored == QLatin1String("true");
    return options;
}

QString ImportCommands::clipboardBBCode(const QMimeData &mime, const ImportOptions &options)
{
    if (mime.hasHtml())
        return htmlToBBCode(mime.html(), options);
    for (const char *type : {"text/rtf", "application/rtf", "text/richtext"}) {
        const QByteArray rtf = mime.data(QLatin1String(type));
        if (rtf.startsWith("{\\rtf"))
            return rtfToBBCode(rtf, options);
    }
    return mime.text();
}

void ImportCommands::pasteAsBBCode()
{
    const QMimeData *mime = QGuiApplication::clipboard()->mimeData();
    if (!mime)
        return;
    // An empty or unreadable clipboard leaves the post alone, as Paste does.
    const QString post = clipboardBBCode(*mime, storedOptions());
    if (post.isEmpty())
        return;
    m_form.typer()->setSelText(post);
}

void ImportCommands::importAsBBCode()
{
    static const QString filter =
        QStringLiteral("Web Page (*.html *.htm);;Rich Text Format (*.rtf);;All Documents (*.*)");
    static const QString startFilter = QStringLiteral("Web Page (*.html *.htm)");
    const ImportOptions options = storedOptions();
    m_documents.importThrough(filter, startFilter, [options](const QString &path) {
        return importDocumentFile(path, importFormatForFile(path), options);
    });
}

} // namespace quorvane
