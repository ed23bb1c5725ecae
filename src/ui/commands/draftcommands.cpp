#include "commands/draftcommands.h"

#include "commands/documentcommands.h"
#include "commands/previewcommands.h"
#include "documents/documentfile.h"
#include "shell/mainform.h"
#include "shell/typer.h"
#include "windows/comparewindow.h"
#include "windows/draftoffer.h"
#include "windows/recoverdraftswindow.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSessionManager>
#include <QUuid>

namespace quorvane {

namespace {

constexpr int kPauseMs = 1000;
constexpr int kLongestMs = 3000;

QString newPostId()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

// "Quorvane closed before this post was saved: 1,234 characters, 10:42"
QString offerText(const drafts::SnapshotHeader &h)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QDateTime when = QDateTime::fromMSecsSinceEpoch(h.writtenMs);
    const QString time = when.date() == QDate::currentDate()
                             ? english.toString(when.time(), QStringLiteral("HH:mm"))
                             : english.toString(when, QStringLiteral("d MMM HH:mm"));
    QString text = QStringLiteral("Quorvane closed before this post was saved: %1 characters, %2")
                       .arg(english.toString(h.length), time);
    if (!h.sourcePath.isEmpty())
        text += QStringLiteral(" (%1)").arg(QDir::toNativeSeparators(h.sourcePath));
    return text;
}

} // namespace

DraftCommands::DraftCommands(MainForm &form, DocumentCommands &documents)
    : QObject(&form), m_form(form), m_documents(documents),
      m_folder(drafts::DraftStore::defaultFolder())
{
    m_pause.setSingleShot(true);
    m_pause.setInterval(kPauseMs);
    m_longest.setSingleShot(true);
    m_longest.setInterval(kLongestMs);
    connect(&m_pause, &QTimer::timeout, this, &DraftCommands::writeNow);
    connect(&m_longest, &QTimer::timeout, this, &DraftCommands::writeNow);

    startPost(QString());
    connect(form.typer(), &Typer::changed, this, &DraftCommands::textChanged);
    connect(&documents, &DocumentCommands::postStarted, this, &DraftCommands::startPost);
    connect(&documents, &DocumentCommands::changesDropped, this, &DraftCommands::toHistory);
    connect(&documents, &DocumentCommands::saved, this, [this](const QString &path) {
        toHistory();
        // Later snapshots belong to the file it now lives in.
        const QFileInfo info(path);
        m_post.sourcePath = info.absoluteFilePath();
        m_post.sourceSize = info.size();
        m_post.sourceModifiedMs = info.lastModified().toMSecsSinceEpoch();
    });
    connect(&form, &MainForm::aboutToAsk, this, &DraftCommands::writeNow);
    if (auto *preview = form.findChild<PreviewCommands *>())
        connect(preview, &PreviewCommands::aboutToPreview, this, &DraftCommands::writeNow);
    // A clean end: whatever was not saved was let go by "No".
    connect(&form, &MainForm::closed, this, [this] {
        toHistory();
        if (m_running && m_writer)
            m_writer->markCleanEnd();
        m_running = false;
    });
    connect(form.command("RecoverDrafts"), &QAction::triggered, this,
            &DraftCommands::openRecoverWindow);
    if (qApp)
        connect(qApp, &QGuiApplication::commitDataRequest, this, &DraftCommands::commitData);
    form.installEventFilter(this);

    m_failure = new QLabel;
    m_failure->setObjectName(QStringLiteral("DraftsFailure"));
    m_failure->setWordWrap(true);
    m_failure->setStyleSheet(QStringLiteral("background: #fde2e1; padding: 3px;"));
    m_failure->hide();
    form.addAboveEditor(m_failure);
}

DraftCommands::~DraftCommands()
{
    m_form.removeEventFilter(this);
    // The writer finishes what it was given before it goes.
    m_writer.reset();
}

DraftCommands *DraftCommands::of(MainForm &form)
{
    return form.findChild<DraftCommands *>(QString(), Qt::FindDirectChildrenOnly);
}

void DraftCommands::makeWriter(const QString &folder)
{
    m_writer = std::make_unique<drafts::DraftWriter>(folder);
    connect(m_writer.get(), &drafts::DraftWriter::failing, this, [this](const QString &why) {
        m_failure->setText(QStringLiteral("Drafts cannot be kept in %1: %2. Typing and saving "
                                          "go on; drafts resume by themselves when they can.")
                               .arg(QDir::toNativeSeparators(m_folder), why));
        m_failure->show();
    });
    connect(m_writer.get(), &drafts::DraftWriter::resumed, this, [this] { m_failure->hide(); });
}

void DraftCommands::setFolder(const QString &folder)
{
    m_writer.reset();
    m_folder = folder;
    makeWriter(folder);
    m_recover.reset();
}

void DraftCommands::startPost(const QString &source)
{
    m_pause.stop();
    m_longest.stop();
    m_dirty = false;
    m_post = {};
    m_post.postId = newPostId();
    if (!source.isEmpty()) {
        const QFileInfo info(source);
        m_post.sourcePath = info.absoluteFilePath();
        m_post.sourceSize = info.size();
        m_post.sourceModifiedMs = info.lastModified().toMSecsSinceEpoch();
    }
}

void DraftCommands::textChanged()
{
    if (!m_writer)
        return;
    m_dirty = true;
    m_pause.start();
    if (!m_longest.isActive())
        m_longest.start();
}

void DraftCommands::writeNow()
{
    if (!m_dirty || !m_writer)
        return;
    m_pause.stop();
    m_longest.stop();
    m_dirty = false;
    // An implicitly shared copy: the worker encodes and writes it while the
    // editor goes on changing its own.
    m_writer->submit(m_post, m_form.typer()->text());
}

bool DraftCommands::writeAndWait(std::chrono::milliseconds timeout)
{
    writeNow();
    return m_writer && m_writer->waitUntilIdle(timeout) && !m_writer->isFailing();
}

void DraftCommands::toHistory()
{
    writeNow();
    if (m_writer)
        m_writer->moveToHistory(m_post.postId);
}

bool DraftCommands::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_form && event->type() == QEvent::WindowDeactivate)
        writeNow();
    return QObject::eventFilter(watched, event);
}

void DraftCommands::checkAtStart()
{
    if (!m_writer)
        makeWriter(m_folder);
    drafts::DraftStore store(m_folder);
    const bool unclean = store.previousRunEndedUncleanly();
    m_writer->markRunning();
    m_running = true;
    if (!unclean)
        return;
    const QList<drafts::Recoverable> pending = store.pendingDrafts();
    if (!pending.isEmpty())
        showOffer(pending.first());
}

void DraftCommands::showOffer(const drafts::Recoverable &draft)
{
    closeOffer();
    m_offered = draft;
    m_offer = new DraftOffer(offerText(draft.header), !draft.header.sourcePath.isEmpty());
    connect(m_offer, &DraftOffer::restoreChosen, this, [this] { restore(m_offered); });
    connect(m_offer, &DraftOffer::compareChosen, this, [this] { compare(m_offered); });
    connect(m_offer, &DraftOffer::discardChosen, this, [this] {
        m_writer->moveToHistory(m_offered.header.postId);
        closeOffer();
        m_form.typer()->setFocus(Qt::OtherFocusReason);
    });
    m_form.addAboveEditor(m_offer);
    m_offer->show();
    m_offer->restoreButton()->setFocus(Qt::OtherFocusReason);
}

void DraftCommands::closeOffer()
{
    if (m_offer)
        m_offer->deleteLater();
    m_offer = nullptr;
}

void DraftCommands::restore(const drafts::Recoverable &draft)
{
    const drafts::Recoverable chosen = draft; // the offer may go meanwhile
    if (!m_documents.restore(chosen.text, chosen.header.sourcePath))
        return;
    // It goes on as the post it was. Its snapshot holds this very text, so
    // nothing is written until it changes: a copy would list it twice. Taken
    // from history, the post's live drafts (other texts) step aside.
    if (m_writer && !chosen.pending)
        m_writer->moveToHistory(chosen.header.postId);
    m_post.postId = chosen.header.postId;
    m_pause.stop();
    m_longest.stop();
    m_dirty = false;
    if (m_offer && m_offered.header.postId == chosen.header.postId)
        closeOffer();
    m_form.typer()->setFocus(Qt::OtherFocusReason);
}

void DraftCommands::wireClosing(AuxiliaryWindow *window)
{
    connect(window, &AuxiliaryWindow::closing, this,
            [this, window] { m_form.closeAuxiliary(window); });
}

void DraftCommands::compare(const drafts::Recoverable &draft, AuxiliaryWindow *returnTo)
{
    const QString source = draft.header.sourcePath;
    const ReadResult file = readDocumentFile(source);
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QString when = english.toString(QDateTime::fromMSecsSinceEpoch(draft.header.writtenMs),
                                          QStringLiteral("d MMM yyyy HH:mm"));
    m_compare = std::make_unique<CompareWindow>(
        QStringLiteral("Draft of %1").arg(when), draft.text,
        QStringLiteral("File %1").arg(QDir::toNativeSeparators(source)),
        file.ok ? file.text : QStringLiteral("(cannot be read: %1)").arg(file.error),
        m_form.windowIcon());
    if (returnTo) {
        connect(m_compare.get(), &AuxiliaryWindow::closing, returnTo, [returnTo] {
            returnTo->raise();
            returnTo->activateWindow();
        });
    } else {
        wireClosing(m_compare.get());
    }
    connect(m_compare.get(), &CompareWindow::restoreChosen, this, [this, draft] {
        if (m_recover)
            m_recover->hide();
        m_form.closeAuxiliary(m_compare.get());
        restore(draft);
    });
    m_form.openAuxiliary(m_compare.get());
}

void DraftCommands::openRecoverWindow()
{
    writeNow();
    // What was just handed to the writer should be in the list.
    if (m_writer)
        m_writer->waitUntilIdle(std::chrono::seconds(2));
    if (!m_recover) {
        m_recover = std::make_unique<RecoverDraftsWindow>(m_folder, m_form.windowIcon());
        connect(m_recover.get(), &RecoverDraftsWindow::restoreChosen, this,
                [this](const drafts::Recoverable &draft) {
                    m_form.closeAuxiliary(m_recover.get());
                    restore(draft);
                });
        connect(m_recover.get(), &RecoverDraftsWindow::compareChosen, this,
                [this](const drafts::Recoverable &draft) { compare(draft, m_recover.get()); });
        wireClosing(m_recover.get());
    }
    m_recover->refresh();
    m_form.openAuxiliary(m_recover.get());
}

void DraftCommands::commitData(QSessionManager &manager)
{
    // Logout: the draft first, whatever follows.
    writeAndWait(std::chrono::seconds(5));
    if (manager.allowsInteraction()) {
        // As the window's close asks; Cancel cancels the logout.
        if (!m_form.mayClose())
            manager.cancel();
        manager.release();
    }
}

} // namespace quorvane
