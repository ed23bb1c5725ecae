#include "drafts/draftstore.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvane::drafts {

namespace {

constexpr char kDraftSuffix[] = ".qvdraft";
constexpr char kHistorySuffix[] = ".qvhistory";
constexpr char kMarkerName[] = "running";

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// <post>_<sequence>_<written><suffix>, or false for anyone else's file.
bool parseName(const QString &name, DraftFile *out)
{
    bool pending = name.endsWith(QLatin1String(kDraftSuffix));
    if (!pending && !name.endsWith(QLatin1String(kHistorySuffix)))
        return false;
    const qsizetype suffix = pending ? sizeof kDraftSuffix - 1 : sizeof kHistorySuffix - 1;
    const QStringList parts = name.chopped(suffix).split(QLatin1Char('_'));
    if (parts.size() != 3 || parts[0].isEmpty())
        return false;
    bool okSeq = false, okTime = false;
    out->postId = parts[0];
    out->sequence = parts[1].toULongLong(&okSeq);
    out->writtenMs = parts[2].toLongLong(&okTime);
    out->pending = pending;
    return okSeq && okTime;
}

QString fileName(const SnapshotHeader &h)
{
    return QStringLiteral("%1_%2_%3%4")
        .arg(h.postId)
        .arg(h.sequence, 12, 10, QLatin1Char('0'))
        .arg(h.writtenMs)
        .arg(QLatin1String(kDraftSuffix));
}

// A rename or a new file is durable only once its folder is synced too.
bool syncFolder(const QString &folder, QString *error)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0 || ::fsync(fd) != 0) {
        const int saved = errno;
        if (fd >= 0)
            ::close(fd);
        *error = QStringLiteral("cannot sync the drafts folder: %1").arg(systemError(saved));
        return false;
    }
    ::close(fd);
    return true;
}

} // namespace

DraftStore::DraftStore(QString folder) : m_folder(std::move(folder)) {}

QString DraftStore::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
           QStringLiteral("/drafts");
}

QList<DraftFile> DraftStore::files() const
{
    QList<DraftFile> result;
    const QFileInfoList entries = QDir(m_folder).entryInfoList(QDir::Files | QDir::Hidden);
    for (const QFileInfo &info : entries) {
        DraftFile file;
        if (!parseName(info.fileName(), &file))
            continue;
        file.path = info.filePath();
        file.size = info.size();
        result.append(file);
    }
    std::sort(result.begin(), result.end(),
              [](const DraftFile &a, const DraftFile &b) { return a.sequence < b.sequence; });
    return result;
}

bool DraftStore::ensureFolder(QString *error)
{
    if (!QDir().mkpath(m_folder)) {
        *error = QStringLiteral("cannot create the folder %1").arg(m_folder);
        return false;
    }
    // Drafts are private whatever the umask made of the folder.
    ::chmod(QFile::encodeName(m_folder).constData(), 0700);
    return true;
}

bool DraftStore::write(SnapshotHeader &header, const QString &text, QString *error)
{
    if (!ensureFolder(error))
        return false;
    if (m_nextSequence == 0) {
        const QList<DraftFile> existing = files();
        m_nextSequence = existing.isEmpty() ? 1 : existing.last().sequence + 1;
    }
    header.sequence = m_nextSequence;
    const QByteArray bytes = encodeSnapshot(header, text);
    const QString path = m_folder + QLatin1Char('/') + fileName(header);

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    ::fchmod(file.handle(), 0600);
    QString why;
    if (const int injected = m_fault ? m_fault(path) : 0)
        why = systemError(injected);
    else if (file.write(bytes) != bytes.size() || !file.flush())
        why = file.errorString();
    else if (::fdatasync(file.handle()) != 0)
        why = systemError(errno);
    if (!why.isEmpty()) {
        file.cancelWriting();
        *error = why;
        return false;
    }
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    ++m_nextSequence;
    return syncFolder(m_folder, error);
}

bool DraftStore::moveToHistory(const QString &postId, QString *error)
{
    QList<DraftFile> all = files();
    bool moved = false;
    // Newest first: cut off half-way, the post already reads as history.
    for (auto it = all.crbegin(); it != all.crend(); ++it) {
        if (it->postId != postId || !it->pending)
            continue;
        QString target = it->path;
        target.replace(target.size() - int(sizeof kDraftSuffix - 1), sizeof kDraftSuffix - 1,
                       QLatin1String(kHistorySuffix));
        if (::rename(QFile::encodeName(it->path).constData(),
                     QFile::encodeName(target).constData()) != 0) {
            *error = QStringLiteral("cannot move a draft to history: %1").arg(systemError(errno));
            return false;
        }
        moved = true;
    }
    return !moved || syncFolder(m_folder, error);
}

int DraftStore::prune(qint64 nowMs, const PruneLimits &limits)
{
    const QList<DraftFile> all = files();
    int removed = 0;
    for (qsizetype i : chooseForDeletion(all, nowMs, limits))
        removed += QFile::remove(all[i].path) ? 1 : 0;
    return removed;
}

bool DraftStore::load(const DraftFile &file, Recoverable *out)
{
    SnapshotRead read = readSnapshot(file.path, true);
    if (!read.ok || read.header.postId != file.postId)
        return false;
    out->header = std::move(read.header);
    out->text = std::move(read.text);
    out->path = file.path;
    out->pending = file.pending;
    return true;
}

bool DraftStore::newestIntact(const QString &postId, Recoverable *out) const
{
    const QList<DraftFile> all = files();
    for (auto it = all.crbegin(); it != all.crend(); ++it) {
        if (it->postId == postId && load(*it, out))
            return true;
    }
    return false;
}

QList<Recoverable> DraftStore::pendingDrafts() const
{
    const QList<DraftFile> all = files();
    QList<Recoverable> result;
    QStringList seen;
    for (auto it = all.crbegin(); it != all.crend(); ++it) {
        if (seen.contains(it->postId))
            continue;
        seen.append(it->postId);
        if (!it->pending)
            continue;
        // The newest file decides the post is live; the newest intact one is offered.
        for (auto older = it; older != all.crend(); ++older) {
            Recoverable found;
            if (older->postId == it->postId && older->pending && load(*older, &found)) {
                result.append(std::move(found));
                break;
            }
        }
    }
    return result;
}

QString DraftStore::markerPath() const
{
    return m_folder + QLatin1Char('/') + QLatin1String(kMarkerName);
}

bool DraftStore::previousRunEndedUncleanly() const
{
    return QFileInfo::exists(markerPath());
}

bool DraftStore::markRunning(QString *error)
{
    if (!ensureFolder(error))
        return false;
    QSaveFile file(markerPath());
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    ::fchmod(file.handle(), 0600);
    file.write(QByteArray::number(::getpid()) + '\n');
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return syncFolder(m_folder, error);
}

void DraftStore::markCleanEnd()
{
    QFile::remove(markerPath());
}

} // namespace quorvane::drafts
