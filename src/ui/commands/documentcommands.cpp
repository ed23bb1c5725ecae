#include "commands/documentcommands.h"

#include "documents/documentfile.h"
#include "shell/busyindicator.h"
#include "shell/mainform.h"
#include "shell/typer.h"
#include "windows/userdialogs.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QtConcurrent/QtConcurrentRun>

namespace quorvane {

namespace {

const QString kTitle = QStringLiteral("Quorvane");

// The editor takes in about this many characters a millisecond (measured
// with the lifecycle benchmark, with room for slower machines).
constexpr qint64 kCharactersPerMillisecond = 10000;

// Marks a routine as running for as long as it waits in its dialogs.
class BusyScope
{
public:
    explicit BusyScope(bool &flag) : m_flag(flag) { m_flag = true; }
    ~BusyScope() { m_flag = false; }
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

private:
    bool &m_flag;
};

} // namespace

DocumentCommands::DocumentCommands(MainForm &form)
    : QObject(&form), m_form(form), m_baseline(form.typer()->text())
{
    const auto wire = [this](const char *name, void (DocumentCommands::*routine)()) {
        connect(m_form.command(name), &QAction::triggered, this, routine);
    };
    wire("NewFile", &DocumentCommands::Start_New_File);
    wire("NewCommand", &DocumentCommands::Start_New_File);
    wire("OpenFile", &DocumentCommands::Open_File);
    wire("OpenCommand", &DocumentCommands::Open_File);
    wire("SaveFile", &DocumentCommands::Save_File);
    wire("SaveCommand", &DocumentCommands::Save_File);
    wire("QuitPro", &DocumentCommands::Save_Before_Exit);
    // After the drop has ended: the file manager is not kept waiting while
    // the writer answers the save question.
    connect(&m_form, &MainForm::fileDropped, this, &DocumentCommands::openFile,
            Qt::QueuedConnection);

    // Every other close of the window (title bar, Alt+F4, the strip's close
    // box) asks the same question Exit does.
    m_form.setCloseGuard([this] {
        if (m_closeApproved)
            return true;
        if (m_busy)
            return false;
        // The post has not been replaced yet: it is the one asked about.
        giveUpRead();
        BusyScope busy(m_busy);
        return mayClose();
    });
}

DocumentCommands::~DocumentCommands() = default;

const QString &DocumentCommands::openFilter()
{
    static const QString filter =
        QStringLiteral("Rich Text Format (*.rtf);;Text File (*.txt);;Word for Windows (*.doc);;"
                       "Windows Write (*.wri);;All Documents (*.*)");
    return filter;
}

const QString &DocumentCommands::openStartFilter()
{
    // Save writes plain text whatever the name, often without an extension:
    // only every file shows every post saved.
    static const QString filter = QStringLiteral("All Documents (*.*)");
    return filter;
}

const QString &DocumentCommands::saveFilter()
{
    static const QString filter =
        QStringLiteral("Rich Text Format (*.rtf);;Text File (*.txt);;Word for Windows (*.doc);;"
                       "Windows Write (*.wri)");
    return filter;
}

bool DocumentCommands::isModified() const
{
    return m_form.typer()->text() != m_baseline;
}

void DocumentCommands::Start_New_File()
{
    replaceDocument([this] { clearDocument(); });
}

void DocumentCommands::Optional_Save()
{
    if (saveToChosenFile())
        clearDocument();
}

void DocumentCommands::Open_File()
{
    // Yes saves and clears; the user opens again to load a file.
    replaceDocument([this] {
        openSequence(
            openFilter(), openStartFilter(),
            [](const QString &path) { return readDocumentFile(path); }, Landing::AsTheFile);
    });
}

void DocumentCommands::importThrough(const QString &filter, const QString &startFilter,
                                     const FileReader &read)
{
    replaceDocument([&] { openSequence(filter, startFilter, read, Landing::AsNewPost); });
}

void DocumentCommands::openFile(const QString &path)
{
    const auto load = [&] {
        loadFile(
            path, [](const QString &file) { return readDocumentFile(file); }, Landing::AsTheFile);
    };
    // "Yes" saves and clears as for Open; with the file already named there
    // is no dialog to answer again, so a post that is clean now gets it.
    if (m_busy || isReading() || replaceDocument(load) || isModified())
        return;
    BusyScope busy(m_busy);
    load();
}

bool DocumentCommands::replaceDocument(const std::function<void()> &replace)
{
    if (m_busy || isReading())
        return false;
    BusyScope busy(m_busy);
    if (!isModified()) {
        replace();
        return true;
    }
    switch (askToSave()) {
    case QMessageBox::No:
        emit changesDropped();
        replace();
        return true;
    case QMessageBox::Yes:
        Optional_Save();
        break;
    default:
        break;
    }
    return false;
}

bool DocumentCommands::restore(const QString &text, const QString &source)
{
    bool done = false;
    // Yes saves and clears, as for Open; the user restores again.
    replaceDocument([&] {
        putRestored(text, source);
        done = true;
    });
    return done;
}

bool DocumentCommands::restoreOver(const QString &text, const QString &source)
{
    if (m_busy || isReading())
        return false;
    putRestored(text, source);
    return true;
}

void DocumentCommands::putRestored(const QString &text, const QString &source)
{
    m_form.typer()->setText(text);
    m_baseline.clear();
    emit postStarted(source);
}

void DocumentCommands::openSequence(const QString &filter, const QString &startFilter,
                                    const FileReader &reader, Landing landing)
{
    const QString path = m_form.dialogs().openFileName(&m_form, filter, startFilter);
    if (!path.isEmpty())
        loadFile(path, reader, landing);
}

void DocumentCommands::loadFile(const QString &path, const FileReader &reader, Landing landing)
{
    // One too large is refused without being read.
    const QFileInfo file(path);
    if (file.isFile() && file.size() >= kReadInPlace && file.size() <= kMaxDocumentBytes)
        readOnWorker(path, reader, landing);
    else
        showRead(path, reader(path), landing);
}

void DocumentCommands::readOnWorker(const QString &path, const FileReader &reader, Landing landing)
{
    m_reading = std::make_unique<QFutureWatcher<ReadResult>>();
    connect(m_reading.get(), &QFutureWatcherBase::finished, this, [this, path, landing] {
        const ReadResult read = m_reading->result();
        // Not deleted inside its own signal.
        m_reading.release()->deleteLater();
        m_form.holdInput(false);
        // No question under a busy cursor; the text goes into the editor
        // under it, on the same clock.
        if (!read.ok || read.looksBinary)
            m_form.busyIndicator().end();
        {
            BusyScope busy(m_busy);
            showRead(path, read, landing);
        }
        m_form.busyIndicator().end();
        emit readEnded();
    });
    m_form.holdInput(true);
    m_form.busyIndicator().begin(
        QStringLiteral("Opening \u201c%1\u201d (%2)\u2026")
            .arg(QFileInfo(path).fileName(), QLocale().formattedDataSize(QFileInfo(path).size())));
    // The reader owns nothing of the window's: a result nobody waits for any
    // more is simply dropped.
    m_reading->setFuture(QtConcurrent::run([path, reader] { return reader(path); }));
}

void DocumentCommands::releaseWindow()
{
    m_form.busyIndicator().end();
    m_form.holdInput(false);
}

void DocumentCommands::giveUpRead()
{
    if (!m_reading)
        return;
    // The worker finishes on its own; no one is told of its result.
    m_reading.reset();
    releaseWindow();
    emit readEnded();
}

void DocumentCommands::showRead(const QString &path, const ReadResult &read, Landing landing)
{
    if (!read.ok) {
        // Nothing was discarded yet: the post stays as it was.
        m_form.dialogs().message(&m_form, QMessageBox::Warning, kTitle,
                                 QStringLiteral("The document \"%1\" could not be opened.\n%2")
                                     .arg(QDir::toNativeSeparators(path), read.error),
                                 QMessageBox::Ok, QMessageBox::Ok);
        return;
    }
    // A picture or a program would fill the editor with pages of garbage.
    if (read.looksBinary &&
        m_form.dialogs().message(&m_form, QMessageBox::Question, kTitle,
                                 QStringLiteral("This does not look like a text file. Open it "
                                                "anyway?"),
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) != QMessageBox::Yes)
        return;
    Typer *typer = m_form.typer();
    {
        // Laying out megabytes holds the event loop: say so first.
        const BlockingStep step(m_form.busyIndicator(),
                                QStringLiteral("Putting \u201c%1\u201d in the editor\u2026")
                                    .arg(QFileInfo(path).fileName()),
                                read.text.size() / kCharactersPerMillisecond);
        typer->setText(read.text);
        // An imported post is saved nowhere yet: it is asked about before it
        // is replaced, and journalled, as a typed one is.
        if (landing == Landing::AsNewPost)
            m_baseline.clear();
        else
            m_baseline = typer->text();
    }
    emit postStarted(landing == Landing::AsNewPost ? QString() : path);
    if (landing == Landing::AsTheFile)
        emit opened(path);
    // Said once, now, while closing without saving still loses nothing. Not
    // after the writer chose to open data that is no text.
    if (!read.notice.isEmpty() && !read.looksBinary) {
        m_form.dialogs().message(&m_form, QMessageBox::Information, kTitle,
                                 QStringLiteral("The document \"%1\" is open.\n%2")
                                     .arg(QDir::toNativeSeparators(path), read.notice),
                                 QMessageBox::Ok, QMessageBox::Ok);
    }
}

void DocumentCommands::Save_File()
{
    if (m_busy || isReading())
        return;
    BusyScope busy(m_busy);
    if (saveToChosenFile())
        m_baseline = m_form.typer()->text();
}

void DocumentCommands::Save_Before_Exit()
{
    if (m_busy)
        return;
    giveUpRead();
    BusyScope busy(m_busy);
    if (!mayClose())
        return;
    m_closeApproved = true;
    m_form.close();
    m_closeApproved = false;
}

bool DocumentCommands::mayClose()
{
    if (!isModified())
        return true;
    switch (askToSave()) {
    case QMessageBox::No:
        emit changesDropped();
        return true;
    case QMessageBox::Yes:
        return saveToChosenFile();
    default:
        return false;
    }
}

void DocumentCommands::clearDocument()
{
    m_form.typer()->setText(QString());
    m_baseline.clear();
    emit postStarted(QString());
}

bool DocumentCommands::saveToChosenFile()
{
    const QString path = m_form.dialogs().saveFileName(&m_form, saveFilter());
    if (path.isEmpty())
        return false;
    const WriteResult written = writeDocumentFile(path, m_form.typer()->text());
    if (!written.ok) {
        m_form.dialogs().message(&m_form, QMessageBox::Critical, kTitle,
                                 QStringLiteral("The document could not be saved as \"%1\".\n%2")
                                     .arg(QDir::toNativeSeparators(path), written.error),
                                 QMessageBox::Ok, QMessageBox::Ok);
        return false;
    }
    emit saved(path);
    return true;
}

QMessageBox::StandardButton DocumentCommands::askToSave()
{
    return m_form.dialogs().message(
        &m_form, QMessageBox::Warning, kTitle, QStringLiteral("Save changes to your document?"),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
}

} // namespace quorvane
