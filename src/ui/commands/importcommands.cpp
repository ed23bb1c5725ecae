#include "commands/importcommands.h"

#include "commands/documentcommands.h"
#include "import/htmlimport.h"
#include "import/importformat.h"
#include "import/rtfimport.h"
#include "settings/editorformat.h"
#include "shell/busyindicator.h"
#include "shell/mainform.h"
#include "shell/typer.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLocale>
#include <QMimeData>
#include <QtConcurrent/QtConcurrentRun>

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

ClipboardContent ClipboardContent::of(const QMimeData &mime)
{
    ClipboardContent content;
    if (mime.hasHtml()) {
        content.html = mime.html();
        return content;
    }
    for (const char *type : {"text/rtf", "application/rtf", "text/richtext"}) {
        const QByteArray rtf = mime.data(QLatin1String(type));
        if (rtf.startsWith("{\\rtf")) {
            content.rtf = rtf;
            return content;
        }
    }
    content.text = mime.text();
    return content;
}

QString ClipboardContent::toBBCode(const ImportOptions &options) const
{
    if (!html.isEmpty())
        return htmlToBBCode(html, options);
    if (!rtf.isEmpty())
        return rtfToBBCode(rtf, options);
    return text;
}

QString ImportCommands::clipboardBBCode(const QMimeData &mime, const ImportOptions &options)
{
    return ClipboardContent::of(mime).toBBCode(options);
}

void ImportCommands::pasteAsBBCode()
{
    const QMimeData *mime = QGuiApplication::clipboard()->mimeData();
    if (!mime || isPasting() || m_form.isHoldingInput())
        return;
    ClipboardContent content = ClipboardContent::of(*mime);
    if (content.size() >= kPasteInPlace) {
        pasteOnWorker(std::move(content));
        return;
    }
    // An empty or unreadable clipboard leaves the post alone, as Paste does.
    const QString post = content.toBBCode(storedOptions());
    if (post.isEmpty())
        return;
    m_form.typer()->setSelText(post);
}

void ImportCommands::pasteOnWorker(ClipboardContent content)
{
    m_pasting = std::make_unique<QFutureWatcher<QString>>();
    connect(m_pasting.get(), &QFutureWatcherBase::finished, this, [this] {
        const QString post = m_pasting->result();
        // Not deleted inside its own signal.
        m_pasting.release()->deleteLater();
        releaseWindow();
        if (!post.isEmpty())
            m_form.typer()->setSelText(post);
        emit pasteEnded();
    });
    m_form.holdInput(true);
    qApp->installEventFilter(this);
    m_form.busyIndicator().begin(QStringLiteral("Pasting %1 as BBCode (Esc to stop)\u2026")
                                     .arg(QLocale().formattedDataSize(content.size())));
    // The worker owns its copy of the clipboard: a result nobody waits for
    // any more is simply dropped.
    m_pasting->setFuture(
        QtConcurrent::run([content = std::move(content), options = storedOptions()] {
            return content.toBBCode(options);
        }));
}

void ImportCommands::cancelPaste()
{
    if (!m_pasting)
        return;
    // The worker finishes on its own; no one is told of its result.
    m_pasting.reset();
    releaseWindow();
    emit pasteEnded();
}

void ImportCommands::releaseWindow()
{
    qApp->removeEventFilter(this);
    m_form.busyIndicator().end();
    m_form.holdInput(false);
}

bool ImportCommands::eventFilter(QObject *watched, QEvent *event)
{
    // Esc anywhere in the window while a paste runs; the window takes no
    // other input meanwhile.
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        const auto *widget = qobject_cast<QWidget *>(watched);
        if (isPasting() && widget && widget->window() == &m_form) {
            cancelPaste();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
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
